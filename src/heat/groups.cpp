#include "heat/groups.h"

#include <cmath>

namespace vt {

int32_t Reynolds(double velocity, double diameter, double density, double viscosity, double* re) {
    *re = velocity * diameter * density / (viscosity * 0.001);
    return -1;
}

int32_t Prandtl(double heatCapacity, double viscosity, double conductivity, double* pr) {
    *pr = (viscosity * 0.001) * (heatCapacity * 1000.0) / conductivity;
    return -1;
}

int32_t Grashof(double t1, double t2, double length, double viscosity, double rho1, double rho2,
                double* gr) {
    const double w1 = 1.0 / rho1;
    const double w2 = 1.0 / rho2;
    const double beta = std::fabs((w1 - w2) / ((t1 - t2) * w1));
    const double mu = viscosity / 1000.0;
    const double l3 = length * length * length;
    const double rho1sq = rho1 * rho1;
    *gr = beta * 9.81 * l3 * rho1sq * std::fabs(t2 - t1) / (mu * mu);
    return -1;
}

}  // namespace vt
