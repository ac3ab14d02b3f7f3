// Fitting of the liquid-viscosity coefficients visca, viscb of one component:
// eight viscosities along the liquid range from an estimation method, each
// inverted through the corresponding-states model for its energy-ratio
// factor s, then ln s = visca + viscb ln Tr fitted by least squares.
#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "correlations/liquid_density.h"
#include "platform/constants.h"
#include "platform/fpenv.h"
#include "transport/transport.h"
#include "transport/transport_util.h"

namespace vt {
namespace {

constexpr double kMethTc = 190.555;   // methane, K
constexpr double kMethZc = 0.283742;
constexpr double kMethM = 16.043;
constexpr int kPoints = 8;

// Letsou and Stiel, AIChE J. 19 (1973) 409: liquid viscosity (cP) from Tr
// and the acentric factor.
double LetsouStiel(double T, double mw, double tc, double pcKPa, double omega) {
    const double Tr = T / tc;
    const double pbar = pcKPa / 100.0;
    const double xi = 0.176 * std::pow(tc / (pbar * pbar * pbar * pbar * mw * mw * mw), 0.16667);
    return (0.001 * (2.648 - 3.725 * Tr + 1.309 * Tr * Tr) +
            omega * 0.001 * (7.425 - 13.39 * Tr + 5.933 * Tr * Tr)) /
           xi;
}

double LnLn(double v) {
    const double l = SafeLn(v);
    return SafeLn(l);
}

// Kinematic viscosities (cSt) at 100 and 210 degF of a petroleum fraction
// from its boiling point and specific gravity: Twu, Ind. Eng. Chem. Process
// Des. Dev. 24 (1985) 1287.
void TwuViscosities(double tbK, double liqden, double* nu1, double* nu2) {
    const double tb = std::min(tbK * 1.8, 1800.0);  // degR
    const double sg = std::min(liqden / 997.9879, 1.394);
    const double tb2 = tb * tb;
    const double tco = tb / (0.533272 + 1.91017e-4 * tb + 7.79681e-8 * tb2 - 2.84376e-11 * tb2 * tb +
                             9.59468e27 / std::pow(tb, 13.0));
    const double a = 1.0 - tb / tco;
    const double a2 = a * a;
    const double sgo = 0.843593 - 0.128624 * a - 3.36159 * a2 * a - 13749.5 * std::pow(a, 12.0);
    const double nu2o = std::exp(4.73227 - 27.0975 * a + 49.4491 * a2 - 50.4706 * a2 * a2) - 1.5;
    const double lnNu2o = SafeLn(nu2o);
    const double nu1o = std::exp(0.801621 + 1.37179 * std::min(lnNu2o, 2.5));
    const double sqtb = std::sqrt(tb);
    const double x = std::fabs(1.99873 - 56.7394 / sqtb);
    const double dsg = sg - sgo;
    const double f2 = x * dsg - 21.1141 * dsg * dsg / sqtb;
    const double f1 = f2 + 0.33932 * x * dsg;
    const double c = 450.0 / tb;
    auto correct = [&](double nuo, double f) {
        const double r = (1.0 + 2.0 * f) / (1.0 - 2.0 * f);
        return std::exp(SafeLn(nuo + c) * r * r) - c;
    };
    *nu1 = correct(nu1o, f1);
    *nu2 = correct(nu2o, f2);
}

// ASTM D341 (Walther) temperature relation through the two kinematic
// viscosities at 559.67 and 669.67 degR; dynamic viscosity (cP) at T from
// the molar density rho (kmol/m3).
double WaltherViscosity(double T, double nu1, double nu2, double rho, double mw) {
    auto zOf = [](double nu) { return nu + 0.7 + ClippedExp(-1.47 - 1.84 * nu - 0.51 * nu * nu); };
    const double l1 = LnLn(zOf(nu1)), l2 = LnLn(zOf(nu2));
    const double B = (l2 - l1) / 0.1794377;
    const double A = l2 - 6.506785 * B;
    const double y = Clip(A + B * SafeLn(1.8 * T), -50.0, 50.0);
    const double Z = std::exp(std::min(std::exp(y), 50.0));
    const double z = Z - 0.7;
    const double nu = z - ClippedExp(-0.7487 - 3.295 * z + 0.6119 * z * z - 0.3193 * z * z * z);
    return nu * rho * mw / 1000.0;
}

// Ely and Hanley (Ind. Eng. Chem. Fundam. 20 (1981) 323) with their
// acentric-factor shape factors: viscosity (cP) of a pure liquid at T and
// molar density rho.
double ElyHanley(double T, double rho, double mw, double tc, double pcKPa, double vc, double omega) {
    const double trp = Clip(T / tc, 0.2, 2.0);
    const double vrp = Clip(1.0 / (vc * rho), 0.5, 2.0);
    const double dw = omega - 0.01131;
    const double zc = pcKPa * vc / (tc * kRgasTransport);
    double f = 0.0, h = 0.0, g = 0.0;
    for (int it = 0; it < 50; ++it) {
        const double theta = std::max(
            1.0 + dw * (0.090569 - 0.862762 * SafeLn(trp) + (0.316636 - 0.46568 / trp) * (vrp - 0.5)),
            1e-10);
        const double phi = std::max(
            1.0 + dw * (0.394901 * (vrp - 1.023545) - 0.932813 * (vrp - 0.754639) * SafeLn(trp)),
            1e-10);
        const double fn = theta * tc / kMethTc;
        const double hn = phi * 10.23 * kMethZc / (pcKPa / (tc * kRgasTransport));
        g = (-0.862762 - (-0.46568) * (vrp - 0.5) / trp) * dw / (fn * kMethTc / tc);
        const bool done = it > 0 && std::fabs(fn / f - 1.0) < 1e-5 && std::fabs(hn / h - 1.0) < 1e-5;
        f = fn;
        h = hn;
        if (done) break;
    }
    const double G = g * f / T;
    const double T0 = T / f;
    const double rho0 = rho * 0.001 * h * kMethM;
    const double X = std::sqrt(std::fabs((1.0 - 1.5 * std::min(G, 0.0) * T0) * zc / kMethZc));
    const double F = std::sqrt(std::fabs(f * mw / kMethM)) / std::pow(h * h, 0.33333);
    return std::min(MethaneViscosity(T0, rho0, X, F), 1e6) / 10000.0;
}

// Energy-ratio factor s that makes the corresponding-states model give muUP
// (micropoise) at Tk, given the current fit (A, B).
double InvertPoint(double Tk, double muUP, double rhok, double A, double B, double mw, double tc,
                   double zc) {
    const double Tr = Tk / tc;
    const double theta = tc / kMethTc;
    double s = ClippedExp(A + B * SafeLn(Tr));
    double sPrev = s, rPrev = 0.0;
    for (int ev = 1; ev <= 15; ++ev) {
        const double f = s * theta;
        const double G = f * B / Tk;
        const double h = ReferenceLiquidDensity(Tr / s) / rhok;
        const double T0 = Tk / f;
        const double rho0 = h * 0.001 * rhok * kMethM;
        const double X = std::sqrt(std::fabs((1.0 - 1.5 * std::min(G, 0.0) * T0) * zc / kMethZc));
        const double F = std::sqrt(std::fabs(f * mw / kMethM)) / std::pow(h, 0.6666667);
        const double R = muUP - MethaneViscosity(T0, rho0, X, F);
        if (ev == 1) {
            sPrev = s;
            rPrev = R;
            s += 0.001;
            continue;
        }
        if (std::fabs(R) < 0.1 || std::fabs(s - sPrev) < 1e-5) break;
        const double d = (R - rPrev) / (s - sPrev);
        const double step = std::fabs(d) <= 1e-50 ? 0.1 : Clip(R / d, -1.0, 1.0);
        sPrev = s;
        rPrev = R;
        s -= step;
        if (s < Tr) s = Tr;
    }
    return s;
}

}  // namespace

int32_t ViscParam(int32_t kind, double mw, double tc, double pc, double vc, double vstar,
                  double omega, double omegasrk, double tb, double liqden, double* outA,
                  double* outB) {
    for (double v : {mw, tc, pc, vc, vstar, omega, omegasrk, tb, liqden})
        if (!std::isfinite(v)) {
            *outA = *outB = MISSING;
            platform::ClearFpFlags();
            return -1;
        }
    const double pcKPa = pc * 100.0;
    const bool petroleum = static_cast<int16_t>(kind & 0xFFFF) == 1;
    const double zc = pcKPa * vc / (tc * kRgasTransport);
    double T[kPoints], mu[kPoints], rho[kPoints];
    double nu1 = 0.0, nu2 = 0.0;
    const bool letsou = !petroleum || tb < 270.0;
    const bool twu = !letsou && tb > 335.0;
    if (twu) TwuViscosities(tb, liqden, &nu1, &nu2);
    for (int k = 0; k < kPoints; ++k) {
        T[k] = tc * (0.35 + k * (tb / tc - 0.35) / 8.0);
        CompressedLiquidDensity(T[k], kAtmKPa, tc, pcKPa, vstar, omegasrk, omega, &rho[k]);
        double cp;
        if (letsou)
            cp = LetsouStiel(T[k], mw, tc, pcKPa, omega);
        else if (twu)
            cp = WaltherViscosity(T[k], nu1, nu2, rho[k], mw);
        else
            cp = ElyHanley(T[k], rho[k], mw, tc, pcKPa, vc, omega);
        mu[k] = cp * 10000.0;  // uP
    }
    double A = 0.1, B = -0.08, An = A, Bn = B;
    for (int pass = 0; pass < 10; ++pass) {
        double sx = 0, sy = 0, sxy = 0, sxx = 0;
        for (int k = 0; k < kPoints; ++k) {
            const double s = InvertPoint(T[k], mu[k], rho[k], A, B, mw, tc, zc);
            if (!(s > 0.0) || !std::isfinite(s)) sy = NAN;  // no usable factor
            const double x = SafeLn(T[k] / tc), y = SafeLn(s);
            sx += x;
            sy += y;
            sxy += x * y;
            sxx += x * x;
        }
        const double n = kPoints;
        Bn = (n * sxy - sy * sx) / (n * sxx - sx * sx);
        An = (sy - Bn * sx) / n;
        const bool done = std::fabs(Bn - B) + std::fabs(An - A) < 1e-6;
        A = An;
        B = Bn;
        if (done || !std::isfinite(A) || !std::isfinite(B)) break;
    }
    // A degenerate temperature range (tb = 0.35 tc) or unusable constants
    // leave nothing to fit.
    const bool ok = std::isfinite(An) && std::isfinite(Bn);
    *outA = ok ? An : MISSING;
    *outB = ok ? Bn : MISSING;
    platform::ClearFpFlags();
    return -1;
}

}  // namespace vt
