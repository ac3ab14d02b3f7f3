#include "heat/htc.h"

#include <algorithm>
#include <cmath>

#include "heat/groups.h"

namespace vt {

namespace {

double LogOrFloor(double x) { return x <= 0.0 ? -1000.0 : std::log(x); }
double ClampedExp(double x) { return std::exp(std::clamp(x, -50.0, 50.0)); }

// Dittus & Boelter (1930), Univ. Calif. Publ. Eng. 2, 443, with the original
// constants (Winterton, Int. J. Heat Mass Transfer 41 (1998) 809): 0.0243 and
// Pr^0.4 for a heated fluid, 0.0265 and Pr^0.3 for a cooled one.
double NusseltDittusBoelter(double re, double pr, bool heated) {
    return heated ? 0.0243 * std::pow(re, 0.8) * std::pow(pr, 0.4)
                  : 0.0265 * std::pow(re, 0.8) * std::pow(pr, 0.3);
}

// Natural convection around a horizontal cylinder, fitted in ln Nu against ln Pr
// and ln Ra (orientation 0).
double LnNusseltNaturalPrRa(double pr, double ra) {
    const double lp = LogOrFloor(pr);
    const double lr = LogOrFloor(ra);
    return 0.0545 + 0.0922 * lp - 0.0147 * lp * lp + 0.118 * lr + 0.00485 * lr * lr;
}

// Natural convection, fitted in ln Ra only (any other orientation).
double LnNusseltNaturalRa(double ra) {
    const double lr = LogOrFloor(ra);
    return -2.95 + 1.02 * lr - 0.0829 * lr * lr + 0.00267 * lr * lr * lr;
}

// Forced convection across a cylinder, fitted in ln Re.
double NusseltCrossflow(double re) {
    const double l = std::log(re);
    return ClampedExp(-0.179 + 0.252 * l + 0.0528 * l * l - 0.00666 * l * l * l +
                      0.000335 * l * l * l * l);
}

// Exponent of the wall-to-ambient temperature-ratio correction in cross flow:
// -0.12 for a much colder wall, 0.175 for a much hotter one, linear ramps
// between.
double CrossflowRatioExponent(double r) {
    if (r < 0.505) return -0.12;
    if (r <= 0.51) return 23.99999999999998 * r - 12.239999999999988;
    if (r < 1.115) return 0.0;
    if (r <= 1.12) return 34.99999999999919 * r - 39.024999999999096;
    return 0.175;
}

}  // namespace

// Air at atmospheric pressure, polynomial fits in T (K).
MediumProps AirProps(double t) {
    const double tk = std::clamp(t, 200.0, 1000.0);
    MediumProps m;
    m.density = 28.0 * (0.17075 - 0.00088 * t + 2.0108e-06 * t * t - 1.6949e-09 * t * t * t);
    m.heatCapacity = (31.36611 - 0.02237 * t + 7e-05 * t * t - 9.0773e-08 * t * t * t +
                      4.2173e-11 * t * t * t * t) /
                     28.0;
    m.conductivity = -0.00212094 + 0.000125457 * tk - 1.48904e-07 * tk * tk +
                     1.55746e-10 * tk * tk * tk - 6.2946e-14 * tk * tk * tk * tk;
    m.viscosity = -0.00508 + 0.00013 * t - 2.181e-07 * t * t + 1.1835e-10 * t * t * t;
    return m;
}

// Liquid water, polynomial fits in T (K).
MediumProps WaterProps(double t) {
    MediumProps m;
    m.density = 246.777349122006 + 7.08365142062779 * t - 0.0198585423198115 * t * t +
                1.68931789562515e-05 * t * t * t;
    m.heatCapacity = 42.5981503197455 - 0.466157633372301 * t + 0.00210086025557337 * t * t -
                     4.21221753247741e-06 * t * t * t + 3.17280769417947e-09 * t * t * t * t;
    m.conductivity = -0.448153512149651 + 0.00612287676414293 * t - 9.53588432973223e-06 * t * t +
                     3.48922058862458e-09 * t * t * t;
    m.viscosity = 648.49211724319 - 7.40079079861583 * t + 0.0319151789562189 * t * t -
                  6.14914831226557e-05 * t * t * t + 4.45973874134046e-08 * t * t * t * t;
    return m;
}

int32_t HtcInternal(double velocity, double viscosity, double conductivity, double heatCapacity,
                    double density, double tFluid, double tWall, double diameter, double* h) {
    if (density <= 0.0) density = 0.001;
    const double re = velocity * diameter * density / (viscosity * 0.001);
    const double pr = heatCapacity * 1000.0 * (viscosity * 0.001) / conductivity;
    const double nu = NusseltDittusBoelter(re, pr, tWall > tFluid);
    *h = nu * conductivity / diameter;
    return -1;
}

int32_t HtcExternal(double velocity, double tAmbient, double tSurface, double diameter,
                    int orientation, int medium, double* h) {
    if (medium != kMediumAir && medium != kMediumWater) return 0;
    if (std::fabs(tSurface - tAmbient) < 0.001) tSurface += 0.001;
    const auto props = medium == kMediumAir ? AirProps : WaterProps;
    const MediumProps amb = props(tAmbient);
    const double rhoSurface = props(tSurface).density;

    const double re = amb.density * diameter * velocity / (amb.viscosity * 0.001);
    const double pr = amb.heatCapacity * 1000.0 * amb.viscosity * 0.001 / amb.conductivity;
    const double r = tSurface / tAmbient;
    double nu, n;
    if (re <= 0.08) {
        double gr = 0.0;
        Grashof(tAmbient, tSurface, diameter, amb.viscosity, amb.density, rhoSurface, &gr);
        const double ra = gr * pr;
        double threshold;
        if (orientation == 0) {
            nu = ClampedExp(LnNusseltNaturalPrRa(pr, ra));
            threshold = 1.01;
        } else {
            nu = ClampedExp(LnNusseltNaturalRa(ra));
            threshold = 1.04;
        }
        n = r > threshold ? 0.175 : 0.0;
    } else {
        nu = NusseltCrossflow(re);
        n = CrossflowRatioExponent(r);
    }
    *h = std::pow(r, n) * nu * amb.conductivity / diameter;
    return -1;
}

}  // namespace vt
