// libFuzzer target: stateful sequences on the workspace, as a hostile host
// would run them. OpenProps with real component rows, corrupted rows,
// fuzzed interaction matrices, null pointers and injected allocation
// failures; CloseProps (twice, or with nothing open); EstimateKij, the
// mixture averages, the five transport exports, the sonic velocities, the
// choke pressure and the two-phase line on the open table (or none); the
// message callback. Every
// call is timed, runs in a host floating-point mode from the input and has
// its promised results checked; the workspace must not leak.
#include <cmath>
#include <cstdio>
#include <vector>

#include "fuzz_common.h"
#include "fuzz_flow.h"
#include "platform/alloc.h"
#include "workspace/workspace.h"

using namespace vantaro_fuzz;

namespace {

int g_n = 0;  // components of the open table (0: none), as the engine reports it
bool g_corrupted = false;  // the open table has a corrupted row or fuzzed kij

// Rows from the library, some fields corrupted; kij built in or fuzzed.
void Open(Input& in) {
    const Library& lib = Components();
    const int choice = in.Int(0, 9);
    int n = in.Int(0, 24);
    if (choice == 9) n = -in.Int(1, 3);  // refused: the workspace stays
    std::vector<CompRecord> rows(n > 0 ? n : 0);
    bool corrupted = false;
    for (CompRecord& r : rows) {
        r = lib.rows[in.Byte() % lib.rows.size()];
        if (in.Byte() % 4 == 0) {
            double* d = &r.mw;
            d[in.Int(0, 18)] = in.Double(-1000, 1000);
            corrupted = true;
        }
        if (in.Byte() % 16 == 0) r.code = in.Int(0, 255), r.family = in.Int(-1, 12), corrupted = true;
    }
    std::vector<double> pr, srk;
    BuiltinKij(rows, pr, srk);
    if (in.Byte() % 4 == 0) {
        for (double& k : pr) k = in.Double(-1, 1);
        corrupted = corrupted || !pr.empty();
    }
    if (in.Byte() % 4 == 0 && !srk.empty()) {
        srk[in.Byte() % srk.size()] = in.Double(-1, 1);
        corrupted = true;
    }
    const long failAt = in.Byte() % 8 == 0 ? in.Int(1, 120) : 0;
    const bool nullRows = choice == 8;
    // Pointers to exactly-sized storage (an empty table gets a valid pointer).
    pr.reserve(1), srk.reserve(1), rows.reserve(1);
    vt::platform::FailAllocationAt(failAt);
    Timed("OpenProps", PickMode(in), [&] {
        OpenProps(n, nullRows ? nullptr : rows.data(), pr.data(), srk.data());
        return 0;
    });
    vt::platform::FailAllocationAt(0);
    static const bool trace = std::getenv("VANTARO_FUZZ_TRACE") != nullptr;
    if (trace) {
        std::fprintf(stderr, "OpenProps(%d)%s:", n, nullRows ? " null rows" : "");
        for (const CompRecord& r : rows)
            std::fprintf(stderr, " [%d/%d mw %g tc %g pc %g omega %g]", r.code, r.family, r.mw,
                         r.tc, r.pc, r.omega);
        std::fprintf(stderr, "\n");
    }
    // The table as the engine holds it: the rows, nothing after a failed
    // allocation, the old table after a refused call.
    g_n = vt::g_ws.ncomp;
    if (n >= 0 && !(n > 0 && nullRows)) g_corrupted = corrupted;
    if (n >= 0 && !(n > 0 && nullRows) && !failAt) FUZZ_PROMISE(g_n == n, "OpenProps opens n rows");
}

void Close(Input& in) {
    Timed("CloseProps", PickMode(in), [] {
        CloseProps();
        return 0;
    });
    g_n = 0;
    g_corrupted = false;
    FUZZ_PROMISE(vt::platform::LiveAllocations() == 0, "CloseProps releases everything");
}

std::vector<double> Composition(Input& in, double lo, double hi) {
    std::vector<double> x(g_n > 0 ? g_n : 1, 0.0);
    for (double& v : x) v = in.Double(lo, hi);
    return x;
}

void Kij(Input& in) {
    const int method = in.Int(-1, 3), i = in.Int(-1, g_n), j = in.Int(-1, g_n);
    double k = 7.0;
    const int32_t st =
        Timed("EstimateKij", PickMode(in), [&] { return EstimateKij(method, i, j, &k); });
    const bool inRange = i >= 0 && j >= 0 && i < g_n && j < g_n;
    FUZZ_PROMISE(st == (inRange ? -1 : 0), "EstimateKij: -1 in range, 0 outside");
    if (!inRange) FUZZ_PROMISE(k == 0.0, "EstimateKij out of range: kij = 0");
}

void Mixture(Input& in) {
    std::vector<double> x = Composition(in, 0, 1);
    if (in.Byte() % 8 == 0) x[0] = kMissing;
    const bool absent = x[0] == kMissing;
    double r = 0;
    using Fn = int32_t (*)(const double*, double*);
    const Fn fns[3] = {MolWeight, PseudoPc, PseudoTc};
    const Fn fn = fns[in.Int(0, 2)];
    const int32_t st = Timed("mixture average", PickMode(in), [&] { return fn(x.data(), &r); });
    if (absent) FUZZ_PROMISE(st == 0 && r == kMissing, "absent composition: 0, MISSING");
    else FUZZ_PROMISE(st == 1, "mixture average: 1");
}

void Transport(Input& in) {
    std::vector<double> x = Composition(in, 0, 1);
    if (in.Byte() % 8 == 0) x[0] = kMissing;
    const bool absent = x[0] == kMissing;
    const double t = in.Double(50, 1000), p = in.Double(1, 50000), rho = in.Double(0.1, 1200);
    double r = 7.0;
    const FpMode m = PickMode(in);
    int32_t st = 0;
    const char* name = "";
    switch (in.Int(0, 4)) {
        case 0: name = "ViscVapour", st = Timed(name, m, [&] { return ViscVapour(x.data(), t, &r); }); break;
        case 1: name = "ViscLiquid", st = Timed(name, m, [&] { return ViscLiquid(x.data(), p, t, rho, &r); }); break;
        case 2: name = "SurfTenLiquid", st = Timed(name, m, [&] { return SurfTenLiquid(x.data(), t, &r); }); break;
        case 3: name = "ThermCondLiquid", st = Timed(name, m, [&] { return ThermCondLiquid(x.data(), t, &r); }); break;
        default: name = "ThermCondVapour", st = Timed(name, m, [&] { return ThermCondVapour(x.data(), t, rho, &r); });
    }
    char detail[128];
    std::snprintf(detail, sizeof detail, "%s(T %.17g, P %.17g, rho %.17g) = %d, %.17g", name, t, p,
                  rho, st, r);
    if (absent) {
        FUZZ_PROMISE(st == 0 && r == kMissing, detail);
    } else {
        FUZZ_PROMISE(st == -1, detail);
        FUZZ_PROMISE(std::isfinite(r), detail);  // a number, or MISSING
    }
}

int g_messages = 0;
void Counting(const char*, const char*, void* user) { ++*static_cast<int*>(user); }

// The message callback: a counting one, the silent one, or none (messages
// then go to standard error).
// The exports that flash the stream, with a feed of the open table's size.
void Flow(Input& in, int which) {
    const std::vector<double> z = Composition(in, 0, 1);
    if (which == 0) SonicCall(in, kGasHint, z.data(), g_n, g_corrupted);
    else if (which == 1) ChokeCall(in, kGasHint, z.data(), g_n, g_corrupted);
    else TwoPhaseCall(in, kGasHint, z.data(), g_n, g_corrupted);
}

void Messages(Input& in) {
    const int which = in.Int(0, 3);
    Timed("SetMessageCallback", PickMode(in), [&] {
        if (which == 0) SetMessageCallback(Counting, &g_messages);
        else if (which == 1) SetMessageCallback(nullptr, nullptr);
        else SetMessageCallback(Silent, nullptr);
        return 0;
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SilenceMessagesOnce();
    Input in(data, size);
    // The flashing exports take up to a few hundred milliseconds each under
    // the sanitizers: at most four per input, within libFuzzer's timeout.
    int flows = 0;
    for (int calls = 0; in.More() && calls < 32; ++calls) {
        const int op = in.Byte() % 10;
        switch (op) {
            case 0: Open(in); break;
            case 1: Close(in); break;
            case 2: Kij(in); break;
            case 3: Mixture(in); break;
            case 6: Messages(in); break;
            case 7:
            case 8:
            case 9:
                if (flows++ < 4) Flow(in, op - 7);
                break;
            default: Transport(in); break;
        }
    }
    CloseProps();
    SetMessageCallback(Silent, nullptr);
    g_n = 0;
    g_corrupted = false;
    FUZZ_PROMISE(vt::platform::LiveAllocations() == 0, "no workspace storage outlives CloseProps");
    return 0;
}
