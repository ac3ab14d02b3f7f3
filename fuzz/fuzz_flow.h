// The exports that march or search over stream states: the two-phase line
// (NewTwoPhaseDp), the sonic velocity (SonicVelocity, FastSonicVelocity) and
// the choke pressure (PressureChoke). Each reads its arguments from the
// input, taking a stream value from a hint (a state the caller knows) three
// times in four and a fuzzed one (special values included) otherwise, and
// checks the header's promises. fuzz_workspace calls them on whatever table
// is open (corrupted rows, none at all), fuzz_prop3 on the states it found.
#pragma once

#include <algorithm>

#include "fuzz_common.h"

namespace vantaro_fuzz {

// A stream state: K, kPa, kJ/kmol, vapour fraction, kJ/(kmol K), kg/m3,
// kg/kmol, kJ/(kmol K).
struct StreamHint {
    double t, p, h, vf, s, rho, mw, cp;
};

inline constexpr StreamHint kGasHint = {300, 1000, -5000, 1, 150, 8, 18.85, 37};

// Bounds of the targets, not of the engine. A choke search makes up to about
// 150 property evaluations of three flashes each, and a two-phase call
// 1 + segments x (passes + 1) flashes. Under the sanitizers and the coverage
// instrumentation a flash runs some 40 times slower than in the optimised
// build: a choke search of four real components (methane to propane and
// water) that takes 21 ms there takes 0.8 to 1.2 s here, one of 24 components
// about 10 s, a flash of those four components at 300 bar some 10 ms (48
// of them took half a second), and a corrupted row (an acentric factor of 600) slows each
// flash of even two components about fifty-fold; choke searches on tables of
// two real rows reached 0.8 s in a 600 s run. So the choke runs only on
// tables of kMaxChokeComponents real row, the sonic velocities (up
// to three flashes) on corrupted tables of at most
// kMaxCorruptedSonicComponents rows, and the two-phase flashes stay within
// FlashBudget, which keeps every call well within the one-second limit.
inline constexpr int kMaxSegments = 6;
inline constexpr int kMaxChokeComponents = 1;
inline constexpr int kMaxCorruptedSonicComponents = 4;
inline int FlashBudget(int ncomp, bool corrupted) {
    return std::min(corrupted ? 6 : 32, 1200 / std::max(1, ncomp * ncomp));
}

inline double Near(Input& in, double hint, double lo, double hi) {
    return in.Byte() % 4 ? hint : in.Double(lo, hi);
}

inline int Method(Input& in) { return in.Byte() % 8 == 0 ? in.Int(-1, 5) : in.Int(0, 3); }

// Prop3's tolerance block: typical, or fuzzed (zero, negative and special
// values included).
inline void Tolerances(Input& in, double tol[4]) {
    const bool typical = in.Byte() % 4 != 0;
    tol[0] = typical ? 0.01 : in.Double(1e-12, 10);
    tol[1] = typical ? 0.1 : in.Double(1e-12, 100);
    tol[2] = typical ? 0.001 : in.Double(1e-12, 1);
    tol[3] = typical ? 1e-4 : in.Double(0, 0.1);
}

// VANTARO_FUZZ_TRACE=1 prints each call with its result.
inline void Trace(const char* detail) {
    static const bool trace = std::getenv("VANTARO_FUZZ_TRACE") != nullptr;
    if (trace) std::fprintf(stderr, "%s\n", detail);
}

inline bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

inline void SonicCall(Input& in, const StreamHint& s, const double* z, int ncomp, bool corrupted) {
    if (corrupted && ncomp > kMaxCorruptedSonicComponents) return;
    const bool fast = in.Byte() % 2;
    const int method = Method(in), hmethod = Method(in);
    double tol[4];
    Tolerances(in, tol);
    const double p = Near(in, s.p, 1, 50000), mw = Near(in, s.mw, 2, 200),
                 rho = Near(in, s.rho, 0.01, 1000), cp = Near(in, s.cp, 0, 400);
    double t = Near(in, s.t, 20, 1500);
    const double hin = Near(in, s.h, -300000, 300000), vf = Near(in, s.vf, 0, 1),
                 sin = Near(in, s.s, -400, 400);
    if (!fast && in.Byte() % 4 == 0) t = kMissing;  // the state from hin
    const bool nullZ = in.Byte() % 32 == 0;
    const double* zz = nullZ ? nullptr : z;
    double c = 7.0;
    const char* name = fast ? "FastSonicVelocity" : "SonicVelocity";
    const int32_t st = Timed(name, PickMode(in), [&] {
        return fast ? FastSonicVelocity(method, hmethod, p, t, vf, sin, zz, mw, rho, cp, &c, tol)
                    : SonicVelocity(method, hmethod, p, t, hin, zz, mw, rho, cp, &c, tol);
    });
    char detail[320];
    std::snprintf(detail, sizeof detail,
                  "%s(%d, %d, p %.17g, t %.17g, hin %.17g, vf %.17g, s %.17g, mw %.17g, rho %.17g, "
                  "cp %.17g) = %d, c %.17g",
                  name, method, hmethod, p, t, hin, vf, sin, mw, rho, cp, st, c);
    Trace(detail);
    FUZZ_PROMISE(st == 1 ? std::isfinite(c) && c >= 0.0 : st == 0 && c == kMissing, detail);
    // The ideal-gas formula needs a pressure and a density, nothing else.
    if (st == 1 && (method == 0 || hmethod == 0))
        FUZZ_PROMISE(std::isfinite(p) && p > 0 && std::isfinite(rho) && rho > 0, detail);
}

inline void ChokeCall(Input& in, const StreamHint& s, const double* z, int ncomp, bool corrupted) {
    if (ncomp > kMaxChokeComponents || corrupted) return;
    const int method = Method(in), hmethod = Method(in);
    double tol[4];
    Tolerances(in, tol);
    const double area = in.Double(1e-4, 1), w = in.Double(1, 200000),
                 hin = Near(in, s.h, -300000, 300000), t = Near(in, s.t, 20, 1500);
    const double p0 = Near(in, s.p * in.Double(0.01, 2), 1, 50000);
    const int precise = in.Int(-1, 2), dir = in.Int(-1, 2);
    double p = p0, rho = 7.0, vel = 7.0, mach = 7.0;
    char detail[320];
    std::snprintf(detail, sizeof detail,
                  "PressureChoke(%d, %d, area %.17g, w %.17g, hin %.17g, p %.17g, t %.17g, %d, %d) "
                  "on the feed",
                  method, hmethod, area, w, hin, p0, t, precise, dir);
    for (int i = 0; i < ncomp; ++i) std::snprintf(detail + std::strlen(detail), 24, " %.6g", z[i]);
    Trace(detail);
    const int32_t st = Timed("PressureChoke", PickMode(in), [&] {
        return PressureChoke(method, hmethod, area, w, hin, &p, &t, z, tol, &rho, &vel, &mach,
                             precise, dir);
    });
    std::snprintf(detail, sizeof detail,
                  "PressureChoke(%d, %d, area %.17g, w %.17g, hin %.17g, p %.17g, t %.17g, %d, %d) "
                  "= %d, p %.17g, rho %.17g, vel %.17g, mach %.17g",
                  method, hmethod, area, w, hin, p0, t, precise, dir, st, p, rho, vel, mach);
    Trace(detail);
    FUZZ_PROMISE(st == 0 || st == 1, detail);
    FUZZ_PROMISE(std::isfinite(rho) && std::isfinite(vel) && std::isfinite(mach), detail);
    if (st == 1) FUZZ_PROMISE(std::isfinite(p) && p > 0.0 && mach > 0.0, detail);
    else FUZZ_PROMISE(SameBits(p, p0), detail);
}

inline void TwoPhaseCall(Input& in, const StreamHint& s, const double* z, int ncomp,
                         bool corrupted) {
    const int budget = FlashBudget(ncomp, corrupted);
    const int n = std::min(in.Int(-1, kMaxSegments), budget - 1), friction = in.Int(-1, 2), method2p = in.Int(1, 9),
              method = Method(in), hmethod = Method(in), elevation = in.Int(-1, 3),
              holdup = in.Int(0, 1);
    int passes = in.Byte() % 4 ? in.Int(-2, 2) : in.Int(-2, 200);
    if (n > 0) passes = std::min(passes, (budget - 1) / n - 1);
    double tol[4];
    Tolerances(in, tol);
    const PipeSegment pipe{in.Double(0, 2000),  in.Double(0.5, 48),  in.Double(-100, 100),
                           in.Double(0, 20),    in.Double(0, 500),   in.Double(0, 0.1),
                           in.Double(0, 0.1),   in.Double(0, 3)};
    const double w = in.Double(0, 200000);
    // Exactly n + 1 nodes: downstream pressure, estimates, node enthalpies.
    const size_t nodes = n >= 0 ? static_cast<size_t>(n) + 1 : 1;
    std::vector<double> p(nodes), h(nodes), t(nodes, 7.0), v(nodes, 7.0);
    p[nodes - 1] = Near(in, s.p / 100.0, 0.5, 100);
    for (size_t i = 0; i + 1 < nodes; ++i) p[i] = in.Byte() % 2 ? 0.0 : in.Double(0.5, 200);
    const double hAll = Near(in, s.h, -300000, 300000);
    for (double& e : h) e = in.Byte() % 8 ? hAll : in.Double(-300000, 300000);
    double unused = 7.0;
    FlowResult r;
    r.vin = r.vout = 7.0;
    const int32_t st = Timed("NewTwoPhaseDp", PickMode(in), [&] {
        return NewTwoPhaseDp(friction, method2p, n, 0, method, hmethod, &pipe, &r, w, p.data(),
                             h.data(), z, t.data(), v.data(), &unused, tol, 0, elevation, passes,
                             holdup);
    });
    char detail[480];
    std::snprintf(detail, sizeof detail,
                  "NewTwoPhaseDp(friction %d, method %d, n %d, %d/%d, w %.17g, passes %d) = %d, "
                  "p %.17g, regime %d",
                  friction, method2p, n, method, hmethod, w, passes, st, r.p, r.regime);
    for (size_t i = 0; i < nodes && i < 7; ++i)
        std::snprintf(detail + std::strlen(detail), 32, " p%zu %.6g", i, p[i]);
    Trace(detail);
    FUZZ_PROMISE(unused == 7.0, detail);
    if (st == 0) {
        for (double e : {r.p, r.dpacc, r.dpfric, r.dpelev, r.holdup, r.leq, r.re, r.fric, r.vin,
                         r.vout})
            FUZZ_PROMISE(e == kMissing, detail);
        FUZZ_PROMISE(r.regime == -32767, detail);
        return;
    }
    FUZZ_PROMISE(st == -1 && r.vin == 7.0 && r.vout == 7.0 && r.p == p[0], detail);
    for (size_t i = 0; i < nodes; ++i) FUZZ_PROMISE(std::isfinite(t[i]), detail);
    // Upstream pressures: the downstream one everywhere without flow; else
    // from a method within [0.01, 1000] bar, or the node's downstream
    // neighbour's where the segment carries no flow (its phase flows vanish);
    // as estimates (method codes outside 2-8) positive and at most 1000 bar.
    const bool computed = method2p >= 2 && method2p <= 8;
    for (size_t i = 0; i + 1 < nodes; ++i) {
        const bool within = p[i] >= (computed ? 0.01 : 0.0) && p[i] > 0.0 && p[i] <= 1000.0;
        FUZZ_PROMISE(w == 0.0 ? p[i] == p[nodes - 1] : within || (computed && p[i] == p[i + 1]),
                     detail);
    }
}

}  // namespace vantaro_fuzz
