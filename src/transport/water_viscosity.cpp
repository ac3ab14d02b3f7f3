// Viscosity of water and steam, region by region, in micropoise.
//
// Liquid: the Vogel-type correlation 241.4 * 10^(247.8 / (T - 140)) uP with
// the linear pressure correction 1 + 1.0467e-11 (T - 305 K)(P - Psat), the
// pressures in Pa, as given with the ASME Steam Tables (Meyer et al., 1967)
// and used by geothermal reservoir simulators. Steam: the low-density law
// 0.407 t + 80.4 uP (t in degC) with density corrections below and above
// 350 degC from the same source. Between 300 and 375 degC: a table of
// skeleton-table values. At the ice point: a fixed value.
#include "transport/water_viscosity.h"

#include <cmath>

#include "platform/fpenv.h"
#include "steam/ifc67.h"
#include "workspace/mixture.h"
#include "workspace/workspace.h"

namespace vt {
namespace {

constexpr double kPcWater = 22120.0;

// 25 pressures (bar) x 3 temperatures (degC), uP.
constexpr double kTableP[25] = {1,   5,   10,  25,  50,  75,  100, 125, 150, 175, 200, 225, 250,
                                275, 300, 350, 400, 450, 500, 550, 600, 650, 700, 750, 800};
constexpr double kTableT[3] = {300, 350, 375};
constexpr double kTable[25 * 3] = {
    202.5, 223, 233, 202.3, 230, 234, 202.2, 230, 234, 201.6, 224, 236, 200.6, 229, 240,
    199.2, 229, 244, 905,   468, 249, 911,   473, 254, 917,   480, 262, 924,   489, 273,
    930,   735, 291, 936,   747, 491, 943,   760, 597, 949,   772, 633, 955,   785, 657,
    968,   805, 693, 981,   825, 721, 993,   837, 743, 1010,  850, 762, 1020,  860, 780,
    1030,  870, 795, 1040,  882, 809, 1060,  895, 822, 1070,  905, 835, 1080,  915, 846};

double LiquidBase(double T) { return 241.4 * std::pow(10.0, 247.8 / (T - 140.0)); }

// Steam density in g/cm3 from the IFC-67 molar volume, MISSING if none.
double SteamDensity(double T, double P, bool liquidLike) {
    const double vs = SteamMolarVolume(T, P, liquidLike ? 1 : 0);
    if (vs == MISSING) return MISSING;
    return 1.0 / (vs / 18.02) / 1000.0;
}

}  // namespace

int WaterViscosityRegion(double T, double P, double v) {
    if (!(T >= 273.15 && T <= 973.15 && P >= 0.0 && P <= 80000.0)) return 0;  // also NaN
    const double ps = SaturationPressure(T) * kPcWater;
    const bool liquidLike = v < 0.0571234 && T < 647.3;
    if (647.0 <= T && T <= 647.6 && 22100.0 <= P && P <= 22140.0) return 6;
    if (273.15 <= T && T <= 273.17 && 100.0 <= P) return 8;
    if (liquidLike) {
        if (T < 273.17 || T > 573.15) return 7;
        return P >= ps ? 3 : 2;
    }
    const bool nearSat = 0.995 * ps <= P && P <= 1.005 * ps && 273.17 <= T;
    if (nearSat && 0.0 < P && P <= 101.325 && T <= 373.15) return 4;
    if (nearSat && P > 101.325 && 373.15 <= T && T <= 613.15) return 5;
    if (P <= 100.0 && 273.17 <= T) return 4;
    if (P > 100.0 && P <= 1.005 * ps && 373.15 <= T && T <= 613.15) return 5;
    if (P > 100.0 && 638.15 <= T) return 6;
    return 7;
}

double WaterViscosity(double T, double P, double v) {
    const int region = WaterViscosityRegion(T, P, v);
    const double t = T - 273.15;
    double mu = MISSING;  // uP
    switch (region) {
        case 2:
            mu = LiquidBase(T);
            break;
        case 3: {
            // Pressure above saturation, in Pa, as the correlation is written.
            const double dp = (P - SaturationPressure(T) * kPcWater) * 1000.0;
            mu = LiquidBase(T) * (1.0 + dp * 1.0467 * (T - 305.0) / 1e11);
            break;
        }
        case 4:
            mu = 0.407 * t + 80.4;
            break;
        case 5:
        case 6: {
            const bool liquidLike = v < 0.0571234 && T < 647.3;
            const double rho = SteamDensity(T, P, liquidLike);
            if (rho == MISSING) break;
            mu = region == 5 ? 0.407 * t + 80.4 - rho * (1858.0 - 5.9 * t)
                             : 0.407 * t + 80.4 + 353.0 * rho + 676.5 * rho * rho + 102.1 * rho * rho * rho;
            break;
        }
        case 7:
            mu = Interp2(P / 100.0, t, 25, 3, kTableP, kTableT, kTable);
            break;
        case 8:
            mu = 17500.0 - 0.5 * P / 100.0;
            break;
        default:
            break;
    }
    platform::ClearFpFlags();
    return mu == MISSING ? MISSING : mu * 0.0001;
}

}  // namespace vt
