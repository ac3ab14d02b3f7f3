// Liquid viscosity by extended corresponding states with methane as the
// reference fluid (Ely and Hanley, Ind. Eng. Chem. Fundam. 20 (1981) 323;
// the two-coefficient energy-ratio form of Baltatu, Ely, Hanley, Graboski,
// Perkins and Sloan, Ind. Eng. Chem. Process Des. Dev. 24 (1985) 325).
// Reference-fluid correlation of methane: Hanley, McCarty and Haynes,
// J. Phys. Chem. Ref. Data 4 (1975) 979.
#include <algorithm>
#include <cmath>

#include "correlations/liquid_density.h"
#include "platform/constants.h"
#include "platform/fpenv.h"
#include "transport/transport.h"
#include "transport/transport_util.h"
#include "transport/water_viscosity.h"
#include "workspace/mixture.h"
#include "workspace/workspace.h"

namespace vt {
namespace {

// Methane reference constants.
constexpr double kMethTc = 190.555;      // K
constexpr double kMethZc = 0.283742;
constexpr double kMethM = 16.043;        // kg/kmol
constexpr double kMethRhoC = 0.1628;     // g/cm3
constexpr double kB[4] = {1.69698592, -0.133372346, 1.4, 168.0};
constexpr double kJ[7] = {-10.2391604, 17.4605456, -2847.63282, 174.227229,
                          0.133685021, 142.072397,  5002.06697};
constexpr double kC[9] = {2907741.3,  -3312874.0, 1608101.8, -433190.48, 70624.813,
                          -7116.6207, 432.51744,  -14.459112, 0.20371194};

// Thresholds on the mole fraction for the first and second member of a pair.
constexpr double kFirst = 1e-10, kSecond = 1e-7;

}  // namespace

void CompressedLiquidDensity(double T, double P, double tc, double pc, double vstar,
                             double omegasrk, double omega, double* out) {
    const double Tr = Clip(T / tc, 0.251, 0.9999);
    double vr0 = 0, vrd = 0;
    CostaldReducedVolumes(Tr, &vr0, &vrd);
    const double N = ChuehPrausnitzN(Tr);
    const double psat = LeeKeslerReducedPsat(Tr, omega) * pc;
    double y = (P - psat) * N * (1.0 - 0.89 * omegasrk) * vstar * 9.0 / (tc * kRgasTransport);
    if (y < 0.0) y = 0.0;
    *out = CompressionFactor(y, kCompressionExpViscosity) / ((1.0 - vrd * omegasrk) * vr0 * vstar);
}

double MethaneViscosity(double T0, double rho0, double X, double F) {
    // dilute gas: sum Cn T0^((n-4)/3)
    const double tau = std::pow(T0, 0.333333);
    double eta0 = 0.0, p = 1.0 / T0;
    for (int n = 0; n < 9; ++n) {
        eta0 += kC[n] * p;
        p *= tau;
    }
    // first density coefficient
    const double r = T0 / kB[3];
    const double l = kB[2] - SafeLn(r);
    const double eta1 = kB[0] + kB[1] * l * l;
    // dense-fluid excess
    const double a = kJ[0] + kJ[3] / T0;
    const double e1 = ClippedExp(a);
    const double E = std::min(a, 50.0) + std::pow(rho0, 0.1) * (kJ[1] + kJ[2] / (T0 * std::sqrt(T0))) +
                     std::sqrt(rho0) * (kJ[4] + kJ[5] / T0 + kJ[6] / (T0 * T0)) * (rho0 / kMethRhoC - 1.0);
    const double e2 = ClippedExp(E);
    return (eta0 + eta1 * rho0 + X * (e2 - e1)) * F;
}

double ReferenceViscosity(const CsState& s, double rhom, double T) {
    const double T0 = T / s.f;
    const double rho0 = rhom * 0.001 * s.h * kMethM;
    const double X = std::sqrt(std::fabs((1.0 - 1.5 * std::min(s.g, 0.0) * T0) * s.zx / kMethZc));
    const double F = std::sqrt(std::fabs(s.mx * s.f / kMethM)) / std::pow(s.h * s.h, 0.333333);
    return MethaneViscosity(T0, rho0, X, F);
}

namespace {

// Corresponding-states viscosity (cP) of liquid x; g and c are scratch of
// one component count (sqrt f_i and h_i^(1/3)).
double CsViscosity(const Workspace& ws, const double* x, double P, double T, double rhom, double* g,
                   double* c) {
    const int n = ws.ncomp;
    const CompRecord* cd = ws.cd;
    for (int i = 0; i < n; ++i) {
        if (!(x[i] > kFirst)) continue;
        const CompRecord& k = cd[i];
        const double Tr = T / k.tc;
        double rhoi = 0;
        CompressedLiquidDensity(T, P, k.tc, k.pc, k.vstar, CostaldOmega(k), k.omega, &rhoi);
        const double s = ClippedExp(k.visca + k.viscb * SafeLn(Tr));
        g[i] = std::sqrt(std::fabs(s * k.tc / kMethTc));
        c[i] = std::pow(ReferenceLiquidDensity(Tr / s) / rhoi, 0.333333);
    }
    // One-fluid mixing rules, made consistent with the given density.
    double f = 1.0, h = 1.0;
    for (int pass = 1; pass <= 15; ++pass) {
        double sh = 0.0, sfh = 0.0;
        for (int i = 0; i < n; ++i) {
            if (!(x[i] > kFirst)) continue;
            for (int j = 0; j < n; ++j) {
                if (!(x[j] > kSecond)) continue;
                const double cij = c[i] + c[j];
                const double hij = cij * cij * cij / 8.0;
                const double xx = x[i] * x[j];
                sh += xx * hij;
                sfh += xx * g[i] * g[j] * hij;
            }
        }
        const double fPrev = f, hPrev = h;
        h = sh;
        f = sfh / sh;
        const double r = ReferenceLiquidDensity((T / f) / kMethTc) / rhom;
        const double scale = std::pow(r / h, 0.333333);
        for (int i = 0; i < n; ++i)
            if (x[i] > kFirst) c[i] *= scale;
        if (std::fabs(f / fPrev - 1.0) <= 1e-5 && std::fabs(h / hPrev - 1.0) <= 1e-5) break;
    }
    // Mass scaling and the temperature correction of f.
    double S = 0.0, D = 0.0, zx = 0.0;
    for (int i = 0; i < n; ++i) {
        if (!(x[i] > kSecond)) continue;
        const CompRecord& ki = cd[i];
        double si = 0.0, di = 0.0;
        for (int j = 0; j < n; ++j) {
            if (!(x[j] > kFirst)) continue;
            const double cij = (c[i] + c[j]) / 2.0;
            const double hij = cij * cij * cij;
            const double fij = g[i] * g[j];
            const double mij = ki.mw * cd[j].mw / (ki.mw + cd[j].mw);
            si += x[j] * fij * hij * std::sqrt(std::fabs(mij / fij)) * std::pow(hij, 0.333333);
            di += x[j] * fij * hij;
        }
        S += x[i] * si;
        D += x[i] * di / ((1.0 - ki.viscb) * h * f);
        zx += x[i] * ki.pc * ki.vc / (ki.tc * kRgasTransport);
    }
    CsState st{};
    st.f = f;
    st.h = h;
    st.mx = 2.0 * S * S / (std::pow(h, 2.66667) * f);
    st.g = (1.0 - 1.0 / D) * f / T;
    st.zx = zx;
    return ReferenceViscosity(st, rhom, T) * 0.0001;
}

}  // namespace

int32_t ViscLiquid(const Workspace& ws, const double* x, double P, double T, double density,
                   double* out) {
    if (x[0] == MISSING) {
        *out = MISSING;
        return 0;
    }
    // Non-finite input or a negative density: no physical state to map.
    if (!std::isfinite(P) || !std::isfinite(T) || !std::isfinite(density) || density < 0.0) {
        *out = MISSING;
        platform::ClearFpFlags();
        return -1;
    }
    double M = 0;
    MolWeight(ws, x, &M);
    const double rhom = density / M;
    double mu = MISSING;
    bool water = false;
    for (int i = 0; i < ws.ncomp; ++i)
        if (x[i] > kFirst && std::fabs(x[i] - 1.0) < 0.001 && ws.cd[i].code == kCodeWater)
            water = true;
    if (water)
        mu = WaterViscosity(std::max(T, 273.15), P, 1.0 / rhom);
    else
        mu = CsViscosity(ws, x, P, T, rhom, ws.transport.csA, ws.transport.csB);
    *out = FiniteOrMissing(mu);
    platform::ClearFpFlags();
    return -1;
}

}  // namespace vt
