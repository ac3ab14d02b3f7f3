// Water in the Lee-Kesler phases: IFC-67 enthalpy and heat capacity at the
// water's partial (vapour) or saturation (liquid) pressure, and empirical
// steam-table fits for the liquid enthalpy, the heat capacities where IFC-67
// gives none, and the entropies. The fits are in reduced temperature
// tau = (647.3 - T)/647.3 about the critical point or in the saturation
// temperature of the water's pressure; enthalpies are on the ideal-gas
// scale of the component table (steam-table value less 36537 kJ/kmol),
// entropies on the steam-table scale (zero for the liquid at the triple
// point), both per kmol of 18.02 kg.
#include <algorithm>
#include <cmath>

#include "numerics/guards.h"
#include "steam/ifc67.h"
#include "thermo/flash.h"
#include "thermo/lee_kesler.h"
#include "thermo/phase_props.h"
#include "workspace/workspace.h"

namespace vt {
namespace {

constexpr double kMw = 18.02;
constexpr double kTcw = 647.3;
constexpr double kTauIce = 0.5780163757145064;  // tau at 273.15 K
constexpr double kLowT = 275.0, kHighT = 1070.0;

// Coefficients c0..c10 of c0 + c1 tau^(1/3) + c2 tau^(5/6) + c3 tau^(7/8) +
// c4 tau + c5 tau^2 + ... + c10 tau^7, by temperature range.
constexpr double kEnthalpyBelow300[11] = {0, 0, 0, 0, 624.69883, -2343.85369, -9508.12101,
                                          71628.7928, -163535.221, 166531.093, -64785.4585};
constexpr double kEnthalpyBelow600[11] = {0.8839230108, 0, 0, 0, -2.67172935, 6.22640035,
                                          -13.1789573, -1.91322436, 68.7937653, -124.819906,
                                          72.1435404};
constexpr double kEnthalpyBelow646[11] = {1, -0.441057805, -5.5225517, 6.43994847, -1.64578795,
                                          -1.30574143, 0, 0, 0, 0, 0};
constexpr double kEntropyBelow300[11] = {0, 0, 0, 0, -1836.92956, 14706.6352, -43146.6046,
                                         48606.6733, 7997.5096, -58333.9887, 33140.0718};
constexpr double kEntropyBelow600[11] = {0.91276291, 0, 0, 0, -1.75702956, 1.68754095,
                                         5.82215341, -63.3354786, 188.076546, -252.344531,
                                         128.058531};
constexpr double kEntropyBelow646[11] = {1, -0.32481765, -2.990556709, 3.23419, -0.678067859,
                                         -1.91910364, 0, 0, 0, 0, 0};

double Series(const double* c, double tau) {
    double poly = 0.0;
    for (int k = 10; k >= 4; --k) poly = (poly + c[k]) * tau;
    return c[0] + c[1] * std::cbrt(tau) + c[2] * std::pow(tau, 5.0 / 6.0) +
           c[3] * std::pow(tau, 7.0 / 8.0) + poly;
}

const double* ByRange(double t, const double* below300, const double* below600,
                      const double* below646) {
    return t < 300.0 ? below300 : (t < 600.0 ? below600 : below646);
}

// Liquid heat capacity below the normal boiling point, kJ/(kmol K).
double ColdLiquidCp(double t) { return 75.4458 + 0.152 * (t - 288.16) / 84.0; }

// Saturation-temperature term of the near-critical and vapour fits.
double SaturationTerm(double ts) {
    return 1707.82 +
           ts * (-16.99419 + ts * (0.062746295 + ts * (-0.00010284259 + ts * 6.4561298e-8)));
}

// The water's pressure for the vapour fits (at most saturation), its
// saturation temperature and the pressure in MPa.
struct VapourState {
    double p, ts, pm;
};
VapourState VapourAt(double t, double p) {
    const double pv = std::min(p, WaterPsat(t));
    return {pv, WaterTsat(pv), pv / 1000.0};
}

double Reduced(double t) { return (kTcw - t) / kTcw; }

double PartialCap(double xwp, double t) { return std::min(xwp, 22120.0 * SaturationPressure(t)); }

}  // namespace

double WaterLiquidEnthalpy(double t, double p) {
    if (t < 646.0) {
        const double tau = t < 273.15 ? kTauIce : Reduced(t);
        const double* c = ByRange(t, kEnthalpyBelow300, kEnthalpyBelow600, kEnthalpyBelow646);
        double h = Series(c, tau) * 2099.3 * kMw - kSteamEnthalpyOffset;
        // Compressed liquid: dH/dP = v - T dv/dT.
        const double ps = WaterPsat(t);
        if (p > ps) {
            const double dv = WaterMolarVolume(t + 0.5, p) - WaterMolarVolume(t - 0.5, p);
            h += (WaterMolarVolume(t, p) - dv * t) * (p - ps);
        }
        if (t < 273.15) h -= ColdLiquidCp(t) * (273.15 - t);
        return h;
    }
    const VapourState v = VapourAt(t, p);
    const double pm = v.pm;
    const double k = 0.0003383117 - 1.975736e-5 * pm - 2.87409e-7 * pm * pm;
    return ((0.0007517537 * pm * pm + 0.05472051 * pm + 1.610693) * t + 2041.21 - 40.40021 * pm -
            0.048095 * pm * pm + k * t * t -
            ClippedExp((v.ts - t) / 45.0) * SaturationTerm(v.ts)) *
               kMw -
           kSteamEnthalpyOffset;
}

double WaterLiquidCp(double t, double p) {
    if (t < 372.15) return ColdLiquidCp(t);
    return WaterLiquidEnthalpy(t + 0.5, p) - WaterLiquidEnthalpy(t - 0.5, p);
}

double WaterVapourCp(double t, double p) {
    const VapourState v = VapourAt(t, p);
    const double pm = v.pm;
    const double k = 0.0003383117 - 1.975736e-5 * pm - 2.87409e-7 * pm * pm;
    return (ClippedExp((v.ts - t) / 45.0) * SaturationTerm(v.ts) / 45.0 + 2.0 * k * t +
            0.0007517537 * pm * pm + 0.05472051 * pm + 1.610693) *
           kMw;
}

double WaterVapourEntropy(double t, double p) {
    const VapourState v = VapourAt(t, p);
    const double ts = v.ts;
    const double ideal =
        4.6162961 + t * (0.01039008 + t * (-9.873085e-6 + t * (5.43411e-9 - t * 1.170465e-12)));
    const double sat =
        1.777804 +
        ts * (-0.01802468 + ts * (6.854459e-5 + ts * (-1.184424e-7 + ts * 8.142201e-11)));
    return (ideal - 0.4650306 * SafeLn(v.p / 100.0 + 0.001) - sat * ClippedExp((ts - t) / 85.0)) *
           kMw;
}

double WaterLiquidEntropy(double t, double p) {
    if (t >= 646.0) return WaterVapourEntropy(t, p);
    // Below the ice point the liquid is carried down from 273.15 K with its
    // heat capacity, as its enthalpy is.
    if (t < 273.15) return WaterLiquidEntropy(273.15, p) - ColdLiquidCp(t) * std::log(273.15 / t);
    const double* c = ByRange(t, kEntropyBelow300, kEntropyBelow600, kEntropyBelow646);
    double s = Series(c, Reduced(t)) * 79.808778;
    // Compressed liquid: dS/dP = -dv/dT.
    const double ps = WaterPsat(t + 0.5);
    if (p > ps) s -= (WaterMolarVolume(t + 0.5, p) - WaterMolarVolume(t - 0.5, p)) * (p - ps);
    return s;
}

WaterBlendValues WaterBlend(double t, double p, double xw, bool liquid) {
    const int phase = liquid ? 1 : 0;
    const double xwp = xw * p;
    auto cpFallback = [&](double tt, double pp) {
        return liquid ? WaterLiquidCp(tt, pp) : WaterVapourCp(tt, pp);
    };
    WaterBlendValues w;
    if (liquid) {
        w.s = WaterLiquidEntropy(t, p);
    } else {
        // Steam at water's partial pressure carries water's ideal mixing
        // entropy, which the ideal-gas part of the phase already counts:
        // refer it back to the phase pressure.
        const double pw = PartialCap(xwp, t);
        w.s = WaterVapourEntropy(t, pw) + kRgasEos * std::log(pw / p);
    }
    if (t >= kLowT && t <= kHighT) {
        const double pw = liquid ? (t <= kTcw ? 22120.0 * SaturationPressure(t) : p)
                                 : PartialCap(xwp, t);
        w.h = WaterEnthalpy(t, pw, phase);
        const double c = WaterHeatCapacity(t, pw, phase);
        w.cp = c != MISSING ? c : cpFallback(t, pw);
    } else {
        // Linear extrapolation from the end of the range and 1 K inside it.
        const bool hot = t > kHighT;
        const double ta = hot ? kHighT : kLowT, tb = ta - 1.0;
        auto pressure = [&](double tk) {
            if (hot) return liquid ? p : xwp;
            // The vapour stays at or below saturation so that IFC-67 reads it
            // as steam, not as compressed water.
            return liquid ? 22120.0 * SaturationPressure(kLowT)
                          : std::min(PartialCap(xwp, tk), 101.325);
        };
        const double ha = WaterEnthalpy(ta, pressure(ta), phase);
        const double hb = WaterEnthalpy(tb, pressure(tb), phase);
        w.h = ha - (ha - hb) * (ta - t);
        const double ca = WaterHeatCapacity(ta, pressure(ta), phase);
        const double cb = WaterHeatCapacity(tb, pressure(tb), phase);
        w.cp = (ca == MISSING || cb == MISSING) ? cpFallback(t, xwp) : ca - (ca - cb) * (ta - t);
    }
    w.h -= kSteamEnthalpyOffset;
    return w;
}

}  // namespace vt
