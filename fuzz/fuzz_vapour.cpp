// libFuzzer target: the vapour-line pressure drops IsoVapDp and AdiaVapDp
// with fuzzed stream states, pipes, flows, estimates and tolerances. Every
// call is timed and runs in a host floating-point mode from the input; the
// result must be what the header promises.
#include <cmath>
#include <cstdio>

#include "fuzz_common.h"

using namespace vantaro_fuzz;

namespace {

void State(Input& in, StreamState& s) {
    s.pref = in.Double(0.5, 200);
    s.vfrac = in.Double(0, 1);
    s.mixmw = in.Double(2, 200);
    s.mixden = in.Double(0.05, 1000);
    s.mixvisc = in.Double(0.005, 10);
    s.mixcp = in.Double(8, 400);
    s.mixspare = in.Double(0, 1);
    s.vapmw = in.Double(2, 200);
    s.vapden = in.Double(0.05, 300);
    s.vapvisc = in.Double(0.005, 0.1);
    s.vapcp = in.Double(8, 400);
    s.vapspare = in.Double(0, 1);
    s.liqmw = in.Double(2, 600);
    s.liqden = in.Double(300, 1500);
    s.liqvisc = in.Double(0.05, 100);
    s.liqcp = in.Double(50, 600);
    s.liqspare = in.Double(0, 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    for (int calls = 0; in.More() && calls < 16; ++calls) {
        const bool adiabatic = in.Byte() % 2;
        const int method = in.Int(-1, 2), rescale = in.Int(-1, 2);
        const double p2 = in.Double(0.5, 100), w = in.Double(0, 200000), p1 = in.Double(0.5, 200),
                     tol = in.Double(1e-10, 1e-3);
        StreamState up{}, down{};
        State(in, up);
        State(in, down);
        PipeSegment pipe{in.Double(0, 2000), in.Double(0.5, 48), in.Double(-100, 100),
                         in.Double(-1, 20),  in.Double(0, 500),  in.Double(0, 0.1),
                         in.Double(0, 0.1),  in.Double(0, 3)};
        FlowResult r;
        std::memset(&r, 0x5a, sizeof r);
        const char* name = adiabatic ? "AdiaVapDp" : "IsoVapDp";
        const int32_t st = Timed(name, PickMode(in), [&] {
            return (adiabatic ? AdiaVapDp : IsoVapDp)(method, p2, w, &up, &down, &pipe, &r,
                                                      rescale, p1, tol);
        });
        // The call, described only when a promise is broken.
        const auto describe = [&] {
            char head[256];
            std::snprintf(head, sizeof head,
                          "%s(method %d, p2 %.17g, w %.17g, p1 %.17g, tol %.17g, rescale %d) = %d, "
                          "p %.17g, regime %d",
                          name, method, p2, w, p1, tol, rescale, st, r.p, r.regime);
            std::string text = head;
            const char* labels[3] = {"\n  pipe", "\n  up", "\n  down"};
            const double* fields[3] = {&pipe.len, &up.pref, &down.pref};
            const int counts[3] = {8, 17, 17};
            for (int b = 0; b < 3; ++b) {
                text += labels[b];
                for (int k = 0; k < counts[b]; ++k) {
                    std::snprintf(head, sizeof head, " %.17g", fields[b][k]);
                    text += head;
                }
            }
            return text;
        };
#define detail describe().c_str()
        FUZZ_PROMISE(st == -1 || st == 0, detail);
        FUZZ_PROMISE(std::isfinite(r.p), detail);
        if (st == 0 && r.regime == -32767) {
            // Not computed: every slot MISSING.
            for (double v : {r.p, r.dpacc, r.dpfric, r.dpelev, r.holdup, r.leq, r.re, r.fric,
                             r.vin, r.vout})
                FUZZ_PROMISE(v == kMissing, detail);
            continue;
        }
        FUZZ_PROMISE(r.regime == 0 || r.regime == -32767, detail);
        // An upstream pressure, at least the downstream one; the isothermal
        // one at most 1000 bar unless P2 itself lies above (the adiabatic
        // search has no such cap).
        FUZZ_PROMISE(r.p >= p2, detail);
        if (!adiabatic) FUZZ_PROMISE(r.p <= 1000.0 || r.p == p2, detail);
#undef detail
    }
    return 0;
}
