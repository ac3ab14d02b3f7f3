#include "hydraulics/friction.h"

#include <algorithm>

namespace vt {

namespace {

// Laminar Fanning factor, Hagen-Poiseuille: fF = 16 / Re.
double FanningLaminar(double re) { return 16.0 / re; }

// Zigrang & Sylvester (1982), AIChE J. 28(3) 514, explicit approximation to
// Colebrook, Fanning form; used across the laminar-turbulent transition.
double FanningZigrangSylvester(double re, double r) {
    const double a = r / 3.7;
    const double inner = GuardedLog10(a + 13.0 / re);
    const double mid = GuardedLog10(a - (5.02 / re) * inner);
    const double x = -4.0 * GuardedLog10(a - (5.02 / re) * mid);
    return 1.0 / (x * x);
}

// Round (1980), Can. J. Chem. Eng. 58, 122, explicit turbulent Fanning factor.
double FanningRound(double re, double r) {
    const double x = 3.6 * GuardedLog10(re / (0.135 * re * r + 6.5));
    return 1.0 / (x * x);
}

// Chen (1979), Ind. Eng. Chem. Fundam. 18(3) 296, explicit turbulent Fanning
// factor (logarithms unguarded, as published).
double FanningChen(double re, double r) {
    const double inner = std::log10(std::pow(r, 1.1098) / 2.8257 + 5.8506 / std::pow(re, 0.8981));
    const double x = -4.0 * std::log10(r / 3.7065 - (5.0452 / re) * inner);
    return 1.0 / (x * x);
}

}  // namespace

int32_t FrictionFactor(int32_t method, double re, double d, double eps, double* f) {
    const double r = eps / d;
    double ff;
    if (re < 2100.0) {
        ff = FanningLaminar(re);
    } else if (re < 4000.0) {
        ff = FanningZigrangSylvester(re, r);
    } else if (method == kFrictionRound) {  // also reached by a NaN Reynolds number
        ff = FanningRound(re, r);
    } else if (method == kFrictionChen) {
        ff = FanningChen(re, r);
    } else {
        ff = 0.0;
    }
    *f = 4.0 * std::min(ff, 1.0);
    return 1;
}

int32_t TurbulentFriction(int32_t method, double d, double eps, double* f) {
    return FrictionFactor(method, 1e10, d, eps, f);
}

double FittingLossCoefficient(int32_t method, double k, double ld, double dia, double epsft) {
    double ft = 0.0;
    TurbulentFriction(method, dia, epsft, &ft);
    return k + ft * ld;  // standard fittings: K = ft L/D
}

double EquivalentLength(double ktot, double dia, double fline) {
    return ktot * (dia * 0.0254) / fline;
}

int32_t FittingEquivalentLength(int32_t method, double k, double ld, double dia, double epsft,
                                double fline, double* leq) {
    *leq = EquivalentLength(FittingLossCoefficient(method, k, ld, dia, epsft), dia, fline);
    return 1;
}

}  // namespace vt
