#include "correlations/liquid_density.h"

#include <cmath>

#include "numerics/guards.h"
#include "platform/constants.h"
#include "platform/fpenv.h"
#include "workspace/workspace.h"

namespace vt {

namespace {

constexpr double kMinFraction = 1e-5;   // smallest fraction entering the mixing rules
constexpr double kLnPrLimit = 10.0;     // ln Pr limit of the table vapour pressure

// Lee-Kesler simple-fluid and correction functions f0(Tr), f1(Tr)
// (Lee & Kesler, AIChE J. 21 (1975) 510, vapour-pressure equation).
void LeeKeslerF(double tr, double* f0, double* f1) {
    const double lntr = tr > 0.0 ? std::log(tr) : kLnFloor;
    const double tr6 = std::pow(tr, 6);
    *f0 = 5.92714 - 6.09648 / tr - 1.28862 * lntr + 0.169347 * tr6;
    *f1 = 15.2518 - 15.6875 / tr - 13.4721 * lntr + 0.43577 * tr6;
}

// COSTALD characteristic volume and acentric factor of a component at
// liquid fraction xi: ethylene and triethylene glycol take constants fitted
// as a function of their own fraction, the others their table values.
double MixtureVstar(const CompRecord& c, double xi) {
    if (c.code == kCodeTriethyleneGlycol) return 0.4329 - 0.0629 * xi;
    if (c.code == kCodeEthyleneGlycol) return 0.15246 - 0.01386 * xi;
    return c.vstar;
}

}  // namespace

// Chueh-Prausnitz compressed-liquid coefficient N(Tr) (Chueh & Prausnitz,
// AIChE J. 13 (1967) 1099), exponent clipped.
double ChuehPrausnitzN(double tr) {
    const double tr2 = tr * tr;
    return ClippedExp(6.9547 - 76.2853 * tr + 191.306 * tr2 - 203.5427 * tr2 * tr +
                      82.7631 * tr2 * tr2);
}

double CompressionFactor(double c, double exponent) { return std::pow(1.0 + c, exponent); }

// COSTALD acentric factor of a record; a component without one (MISSING)
// uses its ordinary acentric factor.
double CostaldOmega(const CompRecord& c) { return c.omegasrk == MISSING ? c.omega : c.omegasrk; }

namespace {

double MixtureOmega(const CompRecord& c) {
    if (c.code == kCodeTriethyleneGlycol) return -0.212;
    if (c.code == kCodeEthyleneGlycol) return -0.65;
    return CostaldOmega(c);
}

}  // namespace

void CostaldReducedVolumes(double tr, double* vr0, double* vrdelta) {
    const double tau = 1.0 - tr;
    const double t13 = std::cbrt(tau);
    const double t23 = t13 * t13;
    *vr0 = 1.0 - 1.52816 * t13 + 1.43907 * t23 - 0.81446 * tau + 0.190454 * t23 * t23;
    *vrdelta = (-0.296123 + 0.386914 * tr - 0.0427258 * tr * tr - 0.04806458 * tr * tr * tr) /
               (tr - 1.00001);
}

double LeeKeslerReducedPsat(double tr, double omega) {
    double f0, f1;
    LeeKeslerF(tr, &f0, &f1);
    double pr = ClippedExp(f0 + omega * f1);
    if (pr > 5.0) pr = 5.0;
    platform::ClearFpFlags();
    return pr;
}

double LeeKeslerLnPsat(const CompRecord& c, double t) {
    double f0, f1;
    LeeKeslerF(t / c.tc, &f0, &f1);
    const double pr = ClippedExp(f0 + c.omega * f1, kLnPrLimit);
    return SafeLn(pr * c.pc);
}

double ReferenceLiquidDensity(double tr) {
    double vr0, vrdelta;
    CostaldReducedVolumes(Clip(tr, 0.251, 0.9999), &vr0, &vrdelta);
    return 1.0 / (0.0994 * vr0 * (1.0 - 0.0074 * vrdelta));
}

void SplitWaterAt(const Workspace& ws, int iw, const double* x, double* w, double* xdry) {
    const int n = ws.ncomp;
    const bool haveWater = iw >= 0 && iw < n;
    *w = haveWater ? x[iw] : 0.0;
    const double dry = 1.0 - *w;
    if (dry <= 1e-30) {
        for (int i = 0; i < n; ++i) xdry[i] = 0.0;
        return;
    }
    for (int i = 0; i < n; ++i) xdry[i] = x[i] / dry;
    if (haveWater) xdry[iw] = 0.0;
}

double LiquidDensity(const Workspace& ws, int32_t method, double t, double p, const double* x) {
    if (method < 1 || method > 3) return MISSING;
    const int n = ws.ncomp;
    const CompRecord* cd = ws.cd;

    // Hankinson-Brobst-Thomson mixing rules (decimal exponents as used here).
    double s1 = 0.0, s2 = 0.0, s3 = 0.0, om = 0.0;
    for (int i = 0; i < n; ++i) {
        if (!(x[i] >= kMinFraction)) continue;
        const double v = MixtureVstar(cd[i], x[i]);
        s1 += x[i] * v;
        s2 += x[i] * std::pow(v, 0.66667);
        s3 += x[i] * std::pow(v, 0.33333);
        om += x[i] * MixtureOmega(cd[i]);
    }
    const double vm = (s1 + 3.0 * s2 * s3) / 4.0;

    double q = 0.0;
    for (int i = 0; i < n; ++i) {
        if (!(x[i] >= kMinFraction)) continue;
        const double vti = MixtureVstar(cd[i], x[i]) * cd[i].tc;
        q += x[i] * x[i] * vti;
        for (int j = i + 1; j < n; ++j) {
            if (!(x[j] >= kMinFraction)) continue;
            const bool waterDeg = (cd[i].code == kCodeWater && cd[j].code == kCodeDiethyleneGlycol) ||
                                  (cd[i].code == kCodeDiethyleneGlycol && cd[j].code == kCodeWater);
            const double kij = waterDeg ? 2.06603 - 0.00212142 * t : 1.0;
            q += 2.0 * x[i] * x[j] * kij *
                 std::sqrt(std::fabs(vti * MixtureVstar(cd[j], x[j]) * cd[j].tc));
        }
    }
    const double tcm = q / vm;

    // At or above the pseudo-critical temperature there is no liquid density;
    // an empty composition (0/0) ends here as well.
    double tr = t / tcm;
    if (!(tr < 1.0)) return 0.0;
    if (tr < 0.251) tr = 0.251;
    double vr0, vrdelta;
    CostaldReducedVolumes(tr, &vr0, &vrdelta);

    double ps = 0.0;  // mixture vapour pressure, atm
    for (int i = 0; i < n; ++i) {
        if (!(x[i] > kMinFraction)) continue;
        ps += x[i] * LeeKeslerReducedPsat(t / cd[i].tc, SrkAcentric(ws, method, i)) * cd[i].pc /
              kAtmKPa;
    }

    double c = 9.0 * ChuehPrausnitzN(tr) * (1.0 - 0.89 * om) * vm * (p / kAtmKPa - ps) / (kRgasAtm * tcm);
    if (c < 0.0) c = 0.0;
    return CompressionFactor(c, kCompressionExpMixture) / (vm * vr0 * (1.0 - om * vrdelta));
}

int32_t PureVchar(double liqden, double omegasrk, double mw, double tc, double pc, double tref,
                  double omega, double* vstar) {
    const double z = 1.0 / (3.41 + 1.28 * omegasrk);
    double v = z * kRgasEos * tc / pc / kAtmKPa;
    const double tmeas = tc >= kStdTempLimit ? kStdTemp : tref;
    const double tr = Clip(tmeas / tc, 0.251, 0.9999);
    double vr0, vrdelta;
    CostaldReducedVolumes(tr, &vr0, &vrdelta);
    const double a = ChuehPrausnitzN(tr) * (1.0 - 0.89 * omegasrk);
    const double target = liqden / mw;
    for (int k = 1;; ++k) {
        const double rhos = 1.0 / ((1.0 - omegasrk * vrdelta) * v * vr0);
        const double ps = LeeKeslerReducedPsat(tr, omega) * pc;
        double c = (kAtmKPa - ps) * v * 9.0 * a / tc / kRgasEos;
        if (!(c > 0.0)) c = 0.0;
        const double rho = rhos * CompressionFactor(c, kCompressionExpVchar);
        v = v * rho / target;
        if (k > 100) {
            // No convergence: the critical-compressibility estimate of the
            // volume, z R Tc / Pc in m3/kmol.
            v = z * kRgasTransport * tc / pc;
            break;
        }
        if (std::fabs(rho - target) <= 0.01) break;
    }
    // An iteration thrown out of the positive numbers by extreme constants
    // has not converged either: the estimate, or MISSING when even that is
    // not a positive number.
    if (!(std::isfinite(v) && v > 0.0)) v = z * kRgasTransport * tc / pc;
    if (!(std::isfinite(v) && v > 0.0)) v = MISSING;
    *vstar = v;
    return -1;
}

}  // namespace vt
