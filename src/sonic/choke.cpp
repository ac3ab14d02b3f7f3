#include "sonic/choke.h"

#include <cmath>

#include "sonic/sonic.h"
#include "sonic/stream_slots.h"
#include "workspace/workspace.h"

namespace vt {

namespace {

constexpr int kSecantSteps = 50;
constexpr int kScanIntervals = 9;
constexpr int kBisections = 50;
constexpr double kPmin = 0.01;      // kPa: secant steps stay above it
constexpr double kPmax = 100000.0;  // kPa: and below this
constexpr double kStall = 1e-5;     // kPa: a step this small has stalled

// One evaluated trial state.
struct Trial {
    double p = MISSING, rho = MISSING, vel = MISSING, mach = MISSING, c = MISSING;
    double f = 0.0;

    bool Complete() const {
        return p != MISSING && rho != MISSING && vel != MISSING && mach != MISSING &&
               c != MISSING;
    }
};

struct Search {
    const Workspace& ws;
    int32_t method, hmethod;
    double g, hin, tguess;
    const double* z;
    const double* tol;
    double eps;
    double* rhoout;
    double* vel;
    double* mach;
    Trial fallback;  // the last sonic-or-supersonic state of a secant or bisection step

    // Evaluates p and leaves its state in the outputs; false when it fails.
    bool Eval(double p, Trial& tr) {
        tr = Trial{};
        tr.p = p;
        if (!ChokeResidual(ws, &tr.f, method, hmethod, g, hin, p, tguess, z, tol, &tr.rho, &tr.c,
                           &tr.vel, &tr.mach))
            return false;
        *rhoout = tr.rho;
        *vel = tr.vel;
        *mach = tr.mach;
        return true;
    }

    void Remember(const Trial& tr) {
        if (tr.f <= 0.0) fallback = tr;
    }

    // Exactly sonic flow at the remembered state.
    int32_t TakeFallback(double* p) const {
        *p = fallback.p;
        *rhoout = fallback.rho;
        *vel = fallback.vel / fallback.mach;
        *mach = 1.0;
        return kChokeFound;
    }
};

enum class Outcome { Found, Failed, NotFound };

// Interval scan k = 1..9 in direction dir (1 up, anything else down), with
// bisection inside the first interval whose ends bracket Mach 1.
Outcome Scan(Search& s, double p0, int32_t dir, double* p, int32_t* status) {
    for (int k = 1; k <= kScanIntervals; ++k) {
        const double lo = dir == 1 ? p0 * std::ldexp(1.0, k - 1) : p0 / std::ldexp(1.0, k);
        const double hi = dir == 1 ? p0 * std::ldexp(1.0, k) : p0 / std::ldexp(1.0, k - 1);
        Trial tlo, thi;
        if (!s.Eval(lo, tlo)) return Outcome::Failed;
        if (tlo.f == 0.0) {
            *p = lo;
            *status = kChokeFound;
            return Outcome::Found;
        }
        if (!s.Eval(hi, thi)) return Outcome::Failed;
        if (tlo.f * thi.f > 0.0) continue;
        // The anchor is the supersonic end; steps that stay supersonic move
        // it. It seeds the fallback memory, so that a collapse next to the
        // anchor returns a state of this bracket.
        const Trial& anchorState = tlo.f < 0.0 ? tlo : thi;
        double anchor = anchorState.p;
        double width = tlo.f < 0.0 ? hi - lo : lo - hi;
        s.fallback = anchorState;
        for (int j = 0; j < kBisections; ++j) {
            width *= 0.5;
            const double pm = anchor + width;
            Trial tm;
            if (!s.Eval(pm, tm)) return Outcome::Failed;
            if (tm.f <= 0.0) {
                anchor = pm;
                s.Remember(tm);
            }
            if (std::fabs(tm.f) <= s.eps) {
                *p = pm;
                *status = kChokeFound;
                return Outcome::Found;
            }
            if (std::fabs(width) < kStall) {
                *status = s.TakeFallback(p);
                return Outcome::Found;
            }
        }
    }
    return Outcome::NotFound;
}

}  // namespace

bool ChokeResidual(const Workspace& ws, double* f, int32_t method, int32_t hmethod, double g,
                   double hin, double p, double tguess, const double* z, const double* tol,
                   double* rhoout, double* c, double* vel, double* mach) {
    StreamSlots st(ws);
    if (st.EvaluatePH(method, hmethod, p, hin, z, tguess, tol) != kProp3Ok ||
        !UsableVolume(st.v[3])) {
        *f = 0.0;
        return false;
    }
    // A state whose molecular weight is not positive (a corrupted component
    // row) has no usable density either.
    const double rho = st.mw[3] / st.v[3];
    if (!(std::isfinite(rho) && rho > 0.0)) {
        *f = 0.0;
        return false;
    }
    double cs = MISSING;
    if (FastSonicVelocity(ws, method, hmethod, p, st.t, st.frac[0], st.s[3], z, st.mw[3], rho,
                          st.cp[3], &cs, tol) != kSonicOk) {
        *f = 0.0;
        return false;
    }
    // An overflowing mass flux (a vanishing area) gives no usable state.
    const double v = g / rho, m = v / cs;
    if (!std::isfinite(v) || !std::isfinite(m)) {
        *f = 0.0;
        return false;
    }
    *rhoout = rho;
    *c = cs;
    *vel = v;
    *mach = m;
    *f = 1.0 - m;
    return true;
}

int32_t PressureChoke(const Workspace& ws, int32_t method, int32_t hmethod, double area,
                      double massflow, double hin, double* p, const double* t, const double* z,
                      const double* tol, double* rhoout, double* vel, double* mach, int32_t precise,
                      int32_t dir) {
    const double p0 = *p;
    Search s{ws,  method, hmethod, massflow / (area * 3600.0), hin,
             *t,  z,      tol,     precise == 1 ? 1e-6 : 1e-4, rhoout,
             vel, mach,   Trial{}};

    // The outputs describe the starting state (MISSING if it has none).
    const auto failure = [&] {
        Trial tr;
        if (!s.Eval(p0, tr)) *rhoout = *vel = *mach = MISSING;
        return kChokeFailed;
    };

    // Start pair: [P0, 5 P0] upwards, [0.8 P0, P0] downwards.
    Trial ta, tb;
    if (!s.Eval(dir == 1 ? p0 : 0.8 * p0, ta)) return failure();
    if (ta.f == 0.0) {
        *p = ta.p;
        return kChokeFound;
    }
    if (!s.Eval(dir == 1 ? 5.0 * p0 : p0, tb)) return failure();
    if (tb.f == 0.0) {
        *p = tb.p;
        return kChokeFound;
    }
    Trial cur = std::fabs(ta.f) < std::fabs(tb.f) ? ta : tb;
    Trial prev = std::fabs(ta.f) < std::fabs(tb.f) ? tb : ta;

    // Secant phase.
    for (int k = 0; k < kSecantSteps; ++k) {
        const double step = (prev.p - cur.p) * cur.f / (cur.f - prev.f);
        // Equal residuals give no secant: the scans take over.
        if (!std::isfinite(step)) break;
        double pn = cur.p + step;
        if (pn < kPmin) pn = 0.5 * (cur.p + kPmin);
        else if (pn > kPmax) pn = 0.5 * (cur.p + kPmax);
        Trial tn;
        if (!s.Eval(pn, tn)) return failure();
        s.Remember(tn);
        if (std::fabs(tn.f) <= s.eps) {
            *p = pn;
            return kChokeFound;
        }
        if (std::fabs(step) < kStall && s.fallback.Complete()) return s.TakeFallback(p);
        prev = cur;
        cur = tn;
    }

    // Direction check: does the residual grow in the direction sought?
    Trial tdown, tmid, tup;
    if (!s.Eval(0.9 * p0, tdown) || !s.Eval(p0, tmid) || !s.Eval(1.1 * p0, tup))
        return failure();
    if (dir == 1) {
        if (std::fabs(tup.f) > std::fabs(tmid.f)) dir = -1;
    } else if (dir == -1) {
        if (std::fabs(tdown.f) > std::fabs(tmid.f)) dir = 1;
    }

    // Interval scans, in that direction and then in the other.
    for (int pass = 0; pass < 2; ++pass) {
        int32_t status = kChokeFailed;
        switch (Scan(s, p0, dir, p, &status)) {
            case Outcome::Found: return status;
            case Outcome::Failed: return failure();
            case Outcome::NotFound: break;
        }
        dir = dir == 1 ? -1 : 1;
    }
    return failure();
}

}  // namespace vt
