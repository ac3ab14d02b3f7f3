#include <cmath>

#include "platform/fpenv.h"
#include "transport/transport.h"
#include "transport/transport_util.h"
#include "workspace/mixture.h"
#include "workspace/workspace.h"

namespace vt {

// Low-pressure gas viscosity from the pseudo-critical constants (Stiel and
// Thodos, AIChE J. 7 (1961) 611, with the reduced-temperature law of the
// API Technical Data Book for hydrocarbon gases).
int32_t ViscVapour(const Workspace& ws, const double* x, double T, double* out) {
    if (x[0] == MISSING) {
        *out = MISSING;
        return 0;
    }
    double M = 0, Pc = 0, Tc = 0;
    MolWeight(ws, x, &M);
    PseudoPc(ws, x, &Pc);
    PseudoTc(ws, x, &Tc);
    const double Tr = T / Tc;
    const double mu = std::pow(Pc / 101.325, 0.66667) * std::sqrt(std::fabs(M)) * 0.00035 /
                      std::pow(Tc, 0.1667);
    const double f = Tr <= 1.0 ? std::pow(Tr, 0.965) : std::pow(Tr, 0.29 / Tr + 0.71);
    *out = FiniteOrMissing(mu * f);
    platform::ClearFpFlags();
    return -1;
}

}  // namespace vt
