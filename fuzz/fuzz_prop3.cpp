// libFuzzer target: the stream-property driver as the host and the engine's
// own routines call it. Each input opens a table of up to 24 real
// component rows (now and then one field corrupted), then runs Prop3 calls
// with every kind of specification (TP; T or P with a vapour fraction,
// enthalpy or entropy; invalid combinations), fuzzed tolerances and
// estimates, followed by the transport exports and mixture averages on the
// phases found, then one of the sonic velocities, the choke pressure or the
// two-phase line from the state found, and closes the table. Every call is timed (over a second is
// a failure), runs in a host floating-point mode from the input, writes
// into exactly-sized buffers, and its outputs are checked against the
// header's promises.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "fuzz_common.h"
#include "fuzz_flow.h"
#include "platform/alloc.h"

using namespace vantaro_fuzz;

namespace {

constexpr double kCanary = 7.25;

struct Call {
    int method, hmethod;
    double t, p, vf, h, s, tguess;
    double tol[4];
};

std::string Describe(const Call& c, int32_t st, const std::vector<std::string>& names,
                     const std::vector<double>& z) {
    char head[512];
    std::snprintf(head, sizeof head,
                  "Prop3(method %d, hmethod %d, t %.17g, p %.17g, vf %.17g, h %.17g, s %.17g, "
                  "tguess %.17g, tol {%.17g, %.17g, %.17g, %.17g}) = %d\n  feed",
                  c.method, c.hmethod, c.t, c.p, c.vf, c.h, c.s, c.tguess, c.tol[0], c.tol[1],
                  c.tol[2], c.tol[3], st);
    std::string text = head;
    for (size_t i = 0; i < z.size(); ++i) {
        std::snprintf(head, sizeof head, " %s=%.17g", names[i].c_str(), z[i]);
        text += head;
    }
    return text;
}

// One specification: TP, T or P with one of vapour fraction, enthalpy and
// entropy, or (rarely) an invalid combination.
Call Specification(Input& in) {
    Call c{};
    c.method = in.Byte() % 16 == 0 ? in.Int(-1, 5) : in.Int(0, 3);
    c.hmethod = in.Byte() % 16 == 0 ? in.Int(-1, 5) : in.Int(0, 3);
    c.t = c.p = c.vf = c.h = c.s = kMissing;
    const double t = in.Double(20, 1500), p = in.Double(1, 50000);
    const int kind = in.Int(0, 8);
    switch (kind) {
        case 0: c.t = t, c.p = p; break;
        case 1: c.p = p, c.vf = in.Byte() % 2 ? in.Int(-1, 1) : in.Double(-1, 1); break;
        case 2: c.t = t, c.vf = in.Byte() % 2 ? in.Int(-1, 1) : in.Double(-1, 1); break;
        case 3: c.p = p, c.h = in.Double(-300000, 300000); break;
        case 4: c.p = p, c.s = in.Double(-400, 400); break;
        case 5: c.t = t, c.h = in.Double(-300000, 300000); break;
        case 6: c.t = t, c.s = in.Double(-400, 400); break;
        case 7: c.t = t, c.p = p, c.h = in.Double(-300000, 300000); break;  // invalid
        default: c.vf = in.Double(0, 1); break;                             // invalid
    }
    c.tguess = in.Byte() % 2 ? kMissing : in.Double(-50, 3100);
    const bool typical = in.Byte() % 4 != 0;
    c.tol[0] = typical ? 0.01 : in.Double(1e-12, 10);
    c.tol[1] = typical ? 0.1 : in.Double(1e-12, 100);
    c.tol[2] = typical ? 0.001 : in.Double(1e-12, 1);
    c.tol[3] = typical ? 1e-4 : in.Double(0, 0.1);
    return c;
}

bool AllCanary(const std::vector<double>& v) {
    for (double x : v)
        if (x != kCanary) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SilenceMessagesOnce();
    Input in(data, size);
    const Library& lib = Components();

    // The table: n rows of the library, kij built in or zero.
    const int n = in.Int(1, 24);
    std::vector<CompRecord> rows(n);
    std::vector<std::string> names(n);
    for (int i = 0; i < n; ++i) {
        const size_t k = in.Byte() % lib.rows.size();
        rows[i] = lib.rows[k];
        names[i] = lib.names[k];
    }
    const bool corrupted = in.Byte() % 16 == 0;
    if (corrupted) {
        const int row = in.Byte() % n;
        const double value = in.Double(-1000, 1000);
        const int field = in.Int(0, 18);
        double* d = &rows[row].mw;
        d[field] = value;
        char text[96];
        std::snprintf(text, sizeof text, "[field %d of row %d set to %.17g]", field, row, d[field]);
        names[row] += text;
    }
    std::vector<double> pr, srk;
    BuiltinKij(rows, pr, srk);
    if (in.Byte() % 4 == 0) pr.assign(pr.size(), 0.0), srk.assign(srk.size(), 0.0);
    OpenProps(n, rows.data(), pr.data(), srk.data());

    // The feed.
    std::vector<double> z(n);
    for (double& v : z) v = in.Byte() % 4 == 0 ? 0.0 : in.Double(0, 1);

    std::vector<double> y(n), x(n), xw(n), xl(n);
    std::vector<double> frac(5), h(5), s(5), cp(5), v(5), mw(5), tol(4);
    std::vector<int32_t> phases(3);
    for (int calls = 0; calls < 4 && in.More(); ++calls) {
        Call c = Specification(in);
        for (auto* a : {&y, &x, &xw, &xl, &frac, &h, &s, &cp, &v, &mw}) a->assign(a->size(), kCanary);
        double t = c.t, p = c.p;
        frac[0] = c.vf;
        h[3] = c.h;
        s[3] = c.s;
        tol.assign(c.tol, c.tol + 4);
        static const bool trace = std::getenv("VANTARO_FUZZ_TRACE") != nullptr;
        if (trace) std::fprintf(stderr, "%s\n", Describe(c, -99, names, z).c_str());
        const int32_t st = Timed("Prop3", PickMode(in), [&] {
            return Prop3(c.method, c.hmethod, &t, &p, z.data(), y.data(), x.data(), xw.data(),
                         xl.data(), phases.data(), frac.data(), h.data(), s.data(), cp.data(),
                         v.data(), mw.data(), c.tguess, tol.data());
        });
        const auto detail = [&] {
            std::string text = Describe(c, st, names, z);
            char item[64];
            const char* labels[4] = {"\n  y", "\n  x", "\n  xw", "\n  xl"};
            const std::vector<double>* outs[4] = {&y, &x, &xw, &xl};
            for (int k = 0; k < 4; ++k) {
                text += labels[k];
                for (double e : *outs[k]) {
                    std::snprintf(item, sizeof item, " %.17g", e);
                    text += item;
                }
            }
            std::snprintf(item, sizeof item, "\n  T %.17g P %.17g", t, p);
            return text + item;
        };
        FUZZ_PROMISE(st == 0 || st == 1 || st == 2 || st == 3 || st == 4 || st == -32767,
                     detail().c_str());
        if (st == 4) {
            // Nothing written.
            FUZZ_PROMISE(AllCanary(y) && AllCanary(x) && AllCanary(cp), detail().c_str());
            FUZZ_PROMISE(t == c.t || (std::isnan(t) && std::isnan(c.t)), detail().c_str());
            continue;
        }
        FUZZ_PROMISE(frac[3] == 1.0, detail().c_str());
        FUZZ_PROMISE(std::isfinite(t) && std::isfinite(p), detail().c_str());
        for (const auto* a : {&y, &x, &xw, &xl})
            for (double e : *a) FUZZ_PROMISE(e != kCanary, detail().c_str());
        // Within the engine's range (the searches' 1 to 3000 K, pressures a
        // host can meet) and with real component data every composition is
        // a number or MISSING; far outside it (T of 1e100 K, P of 1e-300
        // kPa, an acentric factor or a feed fraction of 1e308) the equations
        // of state overflow and nothing is promised.
        bool inRange = !corrupted && t >= 1.0 && t <= 3000.0 && p >= 1e-3 && p <= 1e6;
        for (double f : z) inRange = inRange && f >= 0.0 && f <= 1.0;  // mole fractions
        if (inRange)
            for (const auto* a : {&y, &x, &xw, &xl})
                for (double e : *a) FUZZ_PROMISE(std::isfinite(e), detail().c_str());

        // The phases found go on to the transport exports and the averages.
        const FpMode m = PickMode(in);
        double r = 0.0;
        if (y[0] != kMissing) {
            Timed("ViscVapour", m, [&] { return ViscVapour(y.data(), t, &r); });
            FUZZ_PROMISE(std::isfinite(r), "ViscVapour of the vapour found");
            const double rho = v[0] > 0.0 ? mw[0] / v[0] : 1.0;
            Timed("ThermCondVapour", m, [&] { return ThermCondVapour(y.data(), t, rho, &r); });
            FUZZ_PROMISE(std::isfinite(r), "ThermCondVapour of the vapour found");
        }
        if (x[0] != kMissing) {
            const double rho = v[1] > 0.0 ? mw[1] / v[1] : 600.0;
            Timed("ViscLiquid", m, [&] { return ViscLiquid(x.data(), p, t, rho, &r); });
            FUZZ_PROMISE(std::isfinite(r), "ViscLiquid of the liquid found");
            Timed("SurfTenLiquid", m, [&] { return SurfTenLiquid(x.data(), t, &r); });
            FUZZ_PROMISE(std::isfinite(r), "SurfTenLiquid of the liquid found");
            Timed("ThermCondLiquid", m, [&] { return ThermCondLiquid(x.data(), t, &r); });
            FUZZ_PROMISE(std::isfinite(r), "ThermCondLiquid of the liquid found");
        }
        Timed("MolWeight", m, [&] { return MolWeight(xl.data(), &r); });
        Timed("PseudoTc", m, [&] { return PseudoTc(z.data(), &r); });

        // The state found as the start of a sonic, choke or two-phase call.
        const StreamHint found{t, p, h[3], frac[0], s[3], v[3] > 0.0 ? mw[3] / v[3] : 1.0, mw[3],
                               cp[3]};
        switch (in.Byte() % 4) {
            case 0: SonicCall(in, found, z.data(), n, corrupted); break;
            case 1: ChokeCall(in, found, z.data(), n, corrupted); break;
            case 2: TwoPhaseCall(in, found, z.data(), n, corrupted); break;
            default: break;
        }
    }
    CloseProps();
    FUZZ_PROMISE(vt::platform::LiveAllocations() == 0, "no workspace storage outlives CloseProps");
    return 0;
}
