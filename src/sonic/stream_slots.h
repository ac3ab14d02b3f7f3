// One full set of Prop3 outputs on the stack, for the sonic and choke
// routines. The phase compositions go to the workspace's stream scratch;
// nothing reads them afterwards.
#pragma once
#include <cmath>
#include <cstdint>

#include "props/prop3.h"
#include "workspace/workspace.h"

namespace vt {

struct StreamSlots {
    explicit StreamSlots(const Workspace& w) : ws(w) {}

    const Workspace& ws;
    int32_t ph[3];
    double frac[5], h[5], s[5], cp[5], v[5], mw[5];
    double t = MISSING;  // temperature of the last evaluation
    int32_t status = kProp3Invalid;

    // Every slot MISSING: a call that Prop3 refuses leaves them so.
    void Reset() {
        ph[0] = ph[1] = ph[2] = 0;
        for (int k = 0; k < 5; ++k) frac[k] = h[k] = s[k] = cp[k] = v[k] = mw[k] = MISSING;
    }

    int32_t Evaluate(int32_t method, int32_t hmethod, double tt, double p, const double* z,
                     double tguess, const double* tol) {
        const StreamScratch& w = ws.stream;
        t = tt;
        status = Prop3(ws, method, hmethod, &t, &p, z, w.y, w.x, w.xw, w.xl, ph, frac, h, s, cp, v,
                       mw, tguess, tol);
        return status;
    }

    int32_t EvaluateTP(int32_t method, int32_t hmethod, double tt, double p, const double* z,
                       double tguess, const double* tol) {
        Reset();
        return Evaluate(method, hmethod, tt, p, z, tguess, tol);
    }

    // Temperature sought at p for the overall molar enthalpy hin.
    int32_t EvaluatePH(int32_t method, int32_t hmethod, double p, double hin, const double* z,
                       double tguess, const double* tol) {
        Reset();
        h[3] = hin;
        return Evaluate(method, hmethod, MISSING, p, z, tguess, tol);
    }

    // Temperature sought at p for the overall molar entropy s0.
    int32_t EvaluatePS(int32_t method, int32_t hmethod, double p, double s0, const double* z,
                       double tguess, const double* tol) {
        Reset();
        s[3] = s0;
        return Evaluate(method, hmethod, MISSING, p, z, tguess, tol);
    }
};

// A molar volume that gives a density: finite and positive (MISSING is not).
inline bool UsableVolume(double v) { return std::isfinite(v) && v > 0.0; }

}  // namespace vt
