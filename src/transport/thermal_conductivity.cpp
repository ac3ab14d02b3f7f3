#include <algorithm>
#include <cmath>

#include "platform/constants.h"
#include "platform/fpenv.h"
#include "transport/transport.h"
#include "transport/transport_util.h"
#include "workspace/mixture.h"
#include "workspace/workspace.h"

namespace vt {
namespace {


// Heavy saturated hydrocarbon liquids (mw > 140, Tr < 0.8): the API Technical
// Data Book value at 528 degR (68 degF), 0.001676 mw^1.001 / V (V in
// ft3/lbmol, result Btu/(h ft F) converted to W/(m K)), carried to T with the
// Riedel temperature factor (3 + 20 (1 - Tr)^(2/3)).
double HeavyLiquid(const CompRecord& c, double Tr) {
    const double num = 3.0 + 20.0 * std::pow(1.0 - Tr, 0.6667);
    const double den = 3.0 + 20.0 * std::pow(1.0 - 528.0 / (1.8 * c.tc), 0.6667);
    return num / den * 0.001676 * std::pow(c.mw, 1.001) / (c.mw / (c.liqden / 1000.0 * 62.4)) /
           0.577789;
}

// Latini's correlation (Baroncini, Di Filippo, Latini and Pacetti, Int. J.
// Thermophys. 2 (1981) 21) with class constants a, e.
double Latini(const CompRecord& c, double Tr, double a, double e) {
    return a * std::pow(c.tb, 1.2) / (std::pow(c.mw, e) * std::pow(c.tc, 0.167)) *
           std::pow(1.0 - Tr, 0.38) / std::pow(Tr, 0.1667);
}

// Sato-Riedel (Reid, Prausnitz and Poling, The Properties of Gases and
// Liquids, 4th ed., eq. 10-9.4).
double SatoRiedel(const CompRecord& c, double Tr) {
    return 1.105368 / std::sqrt(c.mw) * (3.0 + 20.0 * std::pow(1.0 - Tr, 0.6667)) /
           (3.0 + 20.0 * std::pow(1.0 - c.tb / c.tc, 0.6667));
}

// Pure liquid conductivity, W/(m K): polynomials fitted to data for a few
// components, class correlations otherwise.
double PureLiquid(const CompRecord& c, double T) {
    const double Tr = std::min(T / c.tc, 0.99999);
    const double T2 = T * T;
    switch (c.code) {
        case 61: return 0.005245 * T - 0.3838 - 6.396e-06 * T2;
        case 1: return 0.3026 - 0.0006047 * T - 3.197e-06 * T2;
        case 2: return 0.2928 - 0.0006945 * T - 2.039e-07 * T2;
        case 3: return 0.2611 - 0.00053094 * T - 8.876e-08 * T2;
        case 32: return 0.2906 - 0.0006053 * T - 1.256e-08 * T2;
        case 130: return 0.49159 - 0.00069868 * T;
        case 132: return 0.42161 - 0.000608924 * T;
        case 131: return 0.35925 - 0.000428808 * T;
        default: break;
    }
    if (c.code == kCodeHelium && T < 50.0) return 0.649 * T - 0.3995 - 0.2094 * T2;
    if (c.code == kCodeHydrogen && T < 50.0) return 0.01036 * T - 0.008546 - 0.0002239 * T2;
    if (c.family == 0 && c.mw > 140.0 && Tr < 0.8) return HeavyLiquid(c, Tr);
    if (c.family == 0) return Latini(c, Tr, 0.0035, 0.5);
    if (c.family == 3) return Latini(c, Tr, 0.00339, 0.5);
    if (c.family == 6) return Latini(c, Tr, 0.0415, 1.0);
    return SatoRiedel(c, Tr);
}

// Low-pressure gas conductivity of component i, W/(m K): polynomials for a
// few gases; otherwise the Chung et al. viscosity (Ind. Eng. Chem. Res. 27
// (1988) 671) times a modified Eucken factor (non-hydrocarbons) or the Chung
// et al. (Ind. Eng. Chem. Fundam. 23 (1984) 8) conductivity factor.
double PureVapour(const Workspace& ws, int i, double T) {
    const CompRecord& c = ws.cd[i];
    const double T2 = T * T, T3 = T2 * T;
    switch (c.code) {
        case 61: return 0.007341 - 1.013e-05 * T + 1.801e-07 * T2 - 9.1e-11 * T3;
        case 1: return 8.727e-05 * T - 0.001869 + 1.179e-07 * T2 - 3.614e-11 * T3;
        case 57: return 0.008099 + 0.0006689 * T - 4.158e-07 * T2 + 1.562e-10 * T3;
        case 53: return 8.015e-05 * T - 0.007215 + 5.477e-09 * T2 - 1.053e-11 * T3;
        case 56: return 5.389e-05 * T + 0.0003811 + 1.227e-07 * T2 - 3.635e-11 * T3;
        default: break;
    }
    const double cv = (c.igb + 2.0 * c.igc * T + 3.0 * c.igd * T2 + 4.0 * c.ige * T3 +
                       5.0 * c.igf * T2 * T2) -
                      kRgasTransport;
    const double Tr = T / c.tc;
    const double ts = Clip(1.2593 * Tr, 0.3, 100.0);
    const double w = TransportOmega(ws, i);
    const double fc = std::max(1.0 - 0.2536 * w, 0.0);
    const double omegaV = 1.16145 * std::pow(ts, -0.14874) + 0.52487 * ClippedExp(-0.7732 * ts) +
                          2.16178 * ClippedExp(-2.43787 * ts);
    double eta = 40.875 * fc * std::sqrt(c.mw * T) / (std::pow(c.vc * 1000.0, 0.66667) * omegaV);
    eta = std::max(eta, 1e-10);  // uP
    double E;
    if (c.family != 0 || c.classnum >= 9.0) {
        E = 1.15 + 16.8781102 / cv;
    } else {
        const double alpha = cv / kRgasTransport - 2.5;
        const double beta = 0.7862 - 0.7109 * w + 1.3168 * w * w;
        const double Z = 2.0 + 10.5 * Tr * Tr;
        E = 3.75 * (1.0 + alpha * (0.215 + 0.28288 * alpha - 1.061 * beta + 0.26665 * Z) /
                              (0.6366 + beta * Z + 1.061 * alpha * beta)) /
            (cv / kRgasTransport - 1.0);
    }
    return E * 0.0001 * eta * cv / c.mw;
}

bool IsPolynomialGas(int code) {
    return code == kCodeWater || code == kCodeMethane || code == kCodeHydrogen ||
           code == kCodeCarbonDioxide || code == kCodeOxygen;
}

}  // namespace

// Liquid mixture: cube-root mole-fraction mean of the positive pure values
// (the power-law rule of Reid, Prausnitz and Poling with exponent 1/3).
int32_t ThermCondLiquid(const Workspace& ws, const double* x, double T, double* out) {
    if (x[0] == MISSING) {
        *out = MISSING;
        return 0;
    }
    if (!std::isfinite(T)) {
        *out = MISSING;
        platform::ClearFpFlags();
        return -1;
    }
    double sk = 0.0, sx = 0.0;
    for (int i = 0; i < ws.ncomp; ++i) {
        const double k = PureLiquid(ws.cd[i], T);
        if (!(k > 0.0)) continue;
        sk += x[i] * std::pow(k, 0.3333);
        sx += x[i];
    }
    const double m = sk / sx;
    *out = FiniteOrMissing(m * m * m);
    platform::ClearFpFlags();
    return -1;
}

// Vapour mixture: mw^(1/3)-weighted mean of the low-pressure values plus the
// dense-gas excess of Stiel and Thodos (AIChE J. 10 (1964) 26).
int32_t ThermCondVapour(const Workspace& ws, const double* x, double T, double density,
                        double* out) {
    if (x[0] == MISSING) {
        *out = MISSING;
        return 0;
    }
    if (!std::isfinite(T) || !std::isfinite(density) || density < 0.0) {
        *out = MISSING;
        platform::ClearFpFlags();
        return -1;
    }
    double M = 0, Tcm = 0, Vcm = 0;
    MolWeight(ws, x, &M);
    PseudoTc(ws, x, &Tcm);
    MixVc(ws, x, &Vcm);
    const double rhom = density / M;
    double sw = 0.0, zcm = 0.0;
    for (int i = 0; i < ws.ncomp; ++i) {
        sw += x[i] * ws.mw13[i];
        zcm += x[i] / (3.41 + 1.28 * TransportOmega(ws, i));
    }
    double l0 = 0.0;
    for (int i = 0; i < ws.ncomp; ++i) {
        if (!(x[i] > 0.0)) continue;
        const double li = PureVapour(ws, i, T);
        if (!IsPolynomialGas(ws.cd[i].code) && !(li > 0.0)) continue;
        l0 += x[i] * li * ws.mw13[i];
    }
    l0 /= sw;
    const double rr = rhom * Vcm;
    const double pcm = zcm * 0.0831434 * Tcm / Vcm;  // bar
    const double gamma = 210.0 * std::pow(Tcm, 0.16667) * std::sqrt(M) / std::pow(pcm, 0.66667);
    double delta;
    if (rr < 0.5)
        delta = 0.0122 * (ClippedExp(0.535 * rr) - 1.0);
    else if (rr < 2.0)
        delta = 0.0114 * (ClippedExp(0.67 * rr) - 1.069);
    else
        delta = 0.0026 * (ClippedExp(1.155 * rr) + 2.016);
    const double z2 = zcm * zcm;
    *out = FiniteOrMissing(delta / (gamma * z2 * z2 * zcm) + l0);
    platform::ClearFpFlags();
    return -1;
}

}  // namespace vt
