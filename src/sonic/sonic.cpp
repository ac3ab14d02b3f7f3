#include "sonic/sonic.h"

#include <cmath>

#include "platform/constants.h"
#include "sonic/stream_slots.h"
#include "workspace/workspace.h"

namespace vt {

namespace {

// The perturbation by phase of the base state: the pressure factor of the
// first and of the second try, and the phase slot whose molar volume gives
// the perturbed density. A vapour is expanded by 1 % (compressed instead
// when that condenses it); a two-phase mixture expanded by 0.5 % (compressed
// by 0.1 % when that leaves the two-phase region); a liquid compressed to
// twice its pressure (expanded to 0.8 of it when vapour appears).
enum class BasePhase { Vapour, TwoPhase, Liquid };

struct Perturbation {
    double first, second;
    int slot;
};

BasePhase Classify(double vf) {
    if (vf > 0.99999) return BasePhase::Vapour;
    if (vf >= 1e-5) return BasePhase::TwoPhase;
    return BasePhase::Liquid;
}

Perturbation PerturbationOf(BasePhase b) {
    switch (b) {
        case BasePhase::Vapour: return {0.99, 1.01, 0};
        case BasePhase::TwoPhase: return {0.995, 1.001, 3};
        case BasePhase::Liquid: break;
    }
    return {2.0, 0.8, 4};
}

// The first perturbed state left the base state's phase region.
bool NeedsSecondTry(BasePhase b, const StreamSlots& s) {
    switch (b) {
        case BasePhase::Vapour: return s.frac[0] <= 0.99999;
        case BasePhase::TwoPhase: return s.frac[0] == 1.0 || s.frac[4] == 1.0;
        case BasePhase::Liquid: break;
    }
    return s.frac[0] >= 1e-5;
}

int32_t Fail(double* c) {
    *c = MISSING;
    return kSonicFailed;
}

// c from the base state (p, rho0, vf0, s0) and one or two isentropic
// perturbations. The Prop3 status is not inspected: the finishing steps
// leave consistent volumes even when a search misses its tolerance; only a
// missing volume (nothing evaluated) fails.
int32_t FromBaseState(const Workspace& ws, int32_t method, int32_t hmethod, double p, double tguess,
                      double vf0, double s0, const double* z, double mwin, double rho0, double* c,
                      const double* tol) {
    const BasePhase phase = Classify(vf0);
    const Perturbation pert = PerturbationOf(phase);
    StreamSlots st(ws);
    double pp = pert.first * p;
    st.EvaluatePS(method, hmethod, pp, s0, z, tguess, tol);
    if (NeedsSecondTry(phase, st)) {
        pp = pert.second * p;
        st.EvaluatePS(method, hmethod, pp, s0, z, tguess, tol);
    }
    const double v = st.v[pert.slot];
    if (!UsableVolume(v)) return Fail(c);
    const double rho = mwin / v;
    if (rho == rho0) {
        *c = kSonicUnbounded;
        return kSonicOk;
    }
    const double c2 = std::fabs((pp - p) * 1000.0 / (rho - rho0));
    if (!std::isfinite(c2)) return Fail(c);
    *c = std::sqrt(c2);
    return kSonicOk;
}

}  // namespace

double IdealGasSonicVelocity(double p, double rho, double cp) {
    const double gamma = cp / (cp - kRgasCpRatio);
    return std::sqrt(std::fabs(gamma * p * 1000.0 / rho));
}

int32_t SonicVelocity(const Workspace& ws, int32_t method, int32_t hmethod, double p, double t,
                      double hin, const double* z, double mwin, double rho, double cpin, double* c,
                      const double* tol) {
    if (method == 0 || hmethod == 0) {
        *c = IdealGasSonicVelocity(p, rho, cpin);
        return std::isfinite(*c) ? kSonicOk : Fail(c);
    }
    StreamSlots base(ws);
    if (t != MISSING) base.EvaluateTP(method, hmethod, t, p, z, t, tol);
    else base.EvaluatePH(method, hmethod, p, hin, z, t, tol);
    if (!UsableVolume(base.v[3])) return Fail(c);
    return FromBaseState(ws, method, hmethod, p, t, base.frac[0], base.s[3], z, mwin,
                         mwin / base.v[3], c, tol);
}

int32_t FastSonicVelocity(const Workspace& ws, int32_t method, int32_t hmethod, double p, double t,
                          double vf, double sin, const double* z, double mwin, double rho,
                          double cpin, double* c, const double* tol) {
    if (method == 0 || hmethod == 0) {
        *c = IdealGasSonicVelocity(p, rho, cpin);
        return std::isfinite(*c) ? kSonicOk : Fail(c);
    }
    return FromBaseState(ws, method, hmethod, p, t, vf, sin, z, mwin, rho, c, tol);
}

}  // namespace vt
