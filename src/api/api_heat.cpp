// Exports of the heat-transfer family: dimensionless groups, film
// coefficients and the superheat correction factor.
#include <cmath>

#include "api/guard.h"
#include "heat/groups.h"
#include "heat/htc.h"
#include "heat/superheat.h"
#include "vantaro/vantaro.h"

using vt::api::FpExit;
using vt::api::Guarded;

namespace {
bool Finite(double x) { return std::isfinite(x); }
bool Positive(double x) { return std::isfinite(x) && x > 0.0; }

// A film coefficient is only an answer when it is a positive number.
int32_t CheckedH(int32_t st, double* h) {
    if (st == -1 && Positive(*h)) return st;
    *h = VANTARO_MISSING;
    return 0;
}
}  // namespace

extern "C" {

VANTARO_API int32_t Reynolds(double velocity, double diameter, double density, double viscosity,
                             double* re) {
    if (!re) return 0;
    return Guarded(__func__, FpExit::Keep, int32_t{0},
                   [&] { return vt::Reynolds(velocity, diameter, density, viscosity, re); });
}

VANTARO_API int32_t Prandtl(double heatCapacity, double viscosity, double conductivity,
                            double* pr) {
    if (!pr) return 0;
    return Guarded(__func__, FpExit::Keep, int32_t{0},
                   [&] { return vt::Prandtl(heatCapacity, viscosity, conductivity, pr); });
}

VANTARO_API int32_t Grashof(double t1, double t2, double length, double viscosity, double density1,
                            double density2, double* gr) {
    if (!gr) return 0;
    return Guarded(__func__, FpExit::Keep, int32_t{0},
                   [&] { return vt::Grashof(t1, t2, length, viscosity, density1, density2, gr); });
}

VANTARO_API int32_t HtcInternal(double velocity, double viscosity, double conductivity,
                                double heatCapacity, double density, double tFluid, double tWall,
                                double diameter, double /*reserved*/, double* h) {
    if (!h) return 0;
    return Guarded(__func__, FpExit::Keep, int32_t{0}, [&] {
        if (!Finite(velocity) || velocity < 0.0 || !Positive(viscosity) ||
            !Positive(conductivity) || !Positive(heatCapacity) || !Finite(density) ||
            !Finite(tFluid) || !Finite(tWall) || !Positive(diameter)) {
            *h = VANTARO_MISSING;
            return int32_t{0};
        }
        return CheckedH(vt::HtcInternal(velocity, viscosity, conductivity, heatCapacity, density,
                                        tFluid, tWall, diameter, h),
                        h);
    });
}

VANTARO_API int32_t HtcExternal(double velocity, double tAmbient, double tSurface, double diameter,
                                int16_t orientation, double* h, int16_t medium) {
    if (!h) return 0;
    return Guarded(__func__, FpExit::Keep, int32_t{0}, [&] {
        if (!Finite(velocity) || velocity < 0.0 || !Positive(tAmbient) || !Positive(tSurface) ||
            !Positive(diameter) || (medium != vt::kMediumAir && medium != vt::kMediumWater)) {
            *h = VANTARO_MISSING;
            return int32_t{0};
        }
        return CheckedH(
            vt::HtcExternal(velocity, tAmbient, tSurface, diameter, orientation, medium, h), h);
    });
}

VANTARO_API double SuperheatCoefficient(double temperatureF, double pressurePsig) {
    return Guarded(__func__, FpExit::Keep, vt::kSuperheatNotFound,
                   [&] { return vt::SuperheatCoefficient(temperatureF, pressurePsig); });
}

}  // extern "C"
