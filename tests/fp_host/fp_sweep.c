// The floating-point host sweep (see fp_sweep.h): one descriptor per export
// and case (name, the doubles it reads with their baseline values, a call
// thunk, how it leaves the flags), each double in turn replaced by every
// special value, in every unmasking mode.
#include "fp_sweep.h"

#include <signal.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>
#include <xmmintrin.h>

#if !defined(_WIN32)
#define __cdecl
#endif

// --- the two units' registers -----------------------------------------------

// Exception bits, the same in MXCSR (flags; masks 7 bits higher), the x87
// status word (flags) and the x87 control word (masks).
enum {
    kInvalid = 0x01,
    kZeroDivide = 0x04,
    kOverflow = 0x08,
    kAllBits = 0x3f,
    kHostUnmasks = kInvalid | kZeroDivide | kOverflow,
    kEntryFlags = 0x10 | 0x20  // underflow, inexact: masked in every mode
};

static unsigned short X87Control(void) {
    unsigned short cw;
    __asm__ __volatile__("fnstcw %0" : "=m"(cw));
    return cw;
}
static void SetX87Control(unsigned short cw) { __asm__ __volatile__("fldcw %0" : : "m"(cw)); }
static unsigned short X87Status(void) {
    unsigned short sw;
    __asm__ __volatile__("fnstsw %0" : "=m"(sw));
    return sw;
}

// The harness's own state between calls: everything masked, no flags.
static unsigned int quietMxcsr;
static unsigned short quietX87;

static void Quiet(void) {
    __asm__ __volatile__("fnclex");
    SetX87Control(quietX87);
    _mm_setcsr(quietMxcsr);
}

// --- unmasking modes ----------------------------------------------------------

static FpSweepUnmask platformUnmask;
static void UnmaskPlatform(void) { platformUnmask(); }
static void UnmaskMxcsr(void) { _mm_setcsr(_mm_getcsr() & ~(unsigned)(kHostUnmasks << 7)); }
static void UnmaskX87(void) { SetX87Control((unsigned short)(X87Control() & ~kHostUnmasks)); }

typedef struct Mode {
    const char *name;
    void (*unmask)(void);
} Mode;
static Mode modes[3] = {{NULL, UnmaskPlatform}, {"MXCSR only", UnmaskMxcsr}, {"x87 only", UnmaskX87}};

// --- failure reporting ----------------------------------------------------------

static int failures, calls;
static char current[256];  // the call under way, for the trap handler

static void OnTrap(int sig) {
    (void)sig;  // only async-signal-safe calls here
    static const char head[] = "floating-point trap in ";
    if (write(2, head, sizeof head - 1) < 0 || write(2, current, strlen(current)) < 0 ||
        write(2, "\n", 1) < 0) {
    }
    _exit(3);
}

static void Fail(const char *what) {
    fprintf(stderr, "%s: %s\n", current, what);
    ++failures;
}

// --- special values (built from bits: no arithmetic touches a signalling NaN) -----

static double FromBits(uint64_t bits) {
    double d;
    memcpy(&d, &bits, sizeof d);
    return d;
}

static const struct {
    const char *name;
    uint64_t bits;
} specials[] = {
    {"qNaN", 0x7ff8000000000000ull},     {"sNaN", 0x7ff4000000000000ull},
    {"-sNaN", 0xfff0000000000001ull},    {"+inf", 0x7ff0000000000000ull},
    {"-inf", 0xfff0000000000000ull},     {"0", 0},
    {"-0", 0x8000000000000000ull},       {"DBL_MAX", 0x7fefffffffffffffull},
    {"-DBL_MAX", 0xffefffffffffffffull}, {"denormal", 1},
};
enum { kSpecials = sizeof specials / sizeof specials[0] };

// --- the component table ----------------------------------------------------------

enum { N = FP_SWEEP_COMPONENTS, kRecordDoubles = 19 };

// The 19 doubles of each record in header order, from data/components.csv.
static const double kRecords[N][kRecordDoubles] = {
    {16.04246, 299.5649197, 111.6672055, 1, 4599.2, 190.564, 0.09862781099, 0.09939, 0.01142,
     0.0074, 0, 37.97981376, -0.037310511, 0.0001006309864, -7.08172206e-08, 1.814184624e-11,
     -1.161929324, -32767, -32767},
    {30.06904, 355.9291273, 184.5685878, 1, 4872.2, 305.322, 0.1458387816, 0.1458, 0.0995,
     0.0983, 0, 34.73722896, -0.01840374732, 0.000156863504, -1.382463558e-07, 4.135542768e-11,
     0.866875208, -32767, -32767},
    {44.09562, 506.6890509, 231.0362479, 1, 4251.2, 369.89, 0.2, 0.2001, 0.1521, 0.1532, 0,
     31.98518904, 0.02133038796, 0.0001665912584, -1.640623194e-07, 5.119958256e-11,
     1.324408295, -32767, -32767},
    {18.01528, 998.9707019, 373.1242958, 1, 22064, 647.096, 0.05594803727, 0.04357, 0.3443,
     0.3852, -767, 36.5414364, -0.01740187176, 3.8938732e-05, -3.25089912e-08, 1.050930048e-11,
     -0.7287551362, -32767, -32767},
};
static const int32_t kCodes[N][2] = {{1, 0}, {2, 0}, {3, 0}, {61, 11}};

static void Records(CompRecord *r, const double *d) {
    for (int i = 0; i < N; ++i) {
        memset(&r[i], 0, sizeof r[i]);
        r[i].code = kCodes[i][0];
        r[i].family = kCodes[i][1];
        memcpy(&r[i].mw, d + i * kRecordDoubles, kRecordDoubles * sizeof(double));
    }
}

int FpSweepTable(FpSweepLookup find, CompRecord *t, double *kijpr, double *kijsrk) {
    __typeof__(&GetKijHardWired) kij = (__typeof__(&GetKijHardWired))find("GetKijHardWired");
    __typeof__(&ViscParam) fit = (__typeof__(&ViscParam))find("ViscParam");
    if (!kij || !fit) return 0;
    Records(t, &kRecords[0][0]);
    for (int i = 0; i < N; ++i) {
        fit(0, t[i].mw, t[i].tc, t[i].pc / 100.0, t[i].vc, t[i].vstar, t[i].omega, t[i].omegasrk,
            t[i].tb, t[i].liqden, &t[i].visca, &t[i].viscb);
        for (int j = 0; j < N; ++j) {
            kij(1, kCodes[i][0], kCodes[i][1], kCodes[j][0], kCodes[j][1], &kijpr[i * N + j]);
            kij(2, kCodes[i][0], kCodes[i][1], kCodes[j][0], kCodes[j][1], &kijsrk[i * N + j]);
        }
    }
    return 1;
}

// --- call thunks: one per export shape, reading the export's doubles from a[] ---------

static FpSweepLookup lookup;
static CompRecord table[N];
static double kijpr[N * N], kijsrk[N * N];

// How the export leaves the flags: the host's (masked) flags kept, or all cleared.
enum Exit { kKeep, kClear };
typedef enum Exit (*Thunk)(FpSweepFn fn, const double *a, int variant);

// The export called through the header's own type.
#define F(name) ((__typeof__(&name))fn)
#define THUNK(id, exit, ...)                                              \
    static enum Exit id(FpSweepFn fn, const double *a, int v) {           \
        (void)fn, (void)a, (void)v;                                       \
        __VA_ARGS__;                                                      \
        return exit;                                                      \
    }

static double o[8];  // outputs nobody reads
static int32_t io[3];
static const char *const kFormats[] = {"%.3f", "%10.4e", "%g"};

static void __cdecl Silent(const char *caption, const char *text, void *user) {
    (void)caption, (void)text, (void)user;
}

THUNK(CallSetMessageCallback, kKeep, F(SetMessageCallback)(Silent, NULL))
THUNK(CallOpenProps, kKeep, CompRecord r[N]; Records(r, a);
      F(OpenProps)(N, r, a + N * kRecordDoubles, a + N * kRecordDoubles + N * N))
THUNK(CallCloseProps, kKeep, F(CloseProps)())
THUNK(CallEstimateKij, kKeep, F(EstimateKij)(1 + v % 2, 0, 2 + v / 2, o))
THUNK(CallGetKijHardWired, kKeep, F(GetKijHardWired)(1, 1, 0, 61, 11, o))
THUNK(CallMixture, kKeep, F(MolWeight)(a, o))
THUNK(CallVersion, kKeep, F(VantaroVersion)(io, v ? NULL : io + 1, io + 2))
// a: t, p, z[4], frac[0], h[3], s[3], tguess, tol[4]
THUNK(CallProp3, kClear, double t = a[0], p = a[1], y[4][N], f[5] = {a[6]}, h[5], s[5], rest[3][5];
      h[3] = a[7]; s[3] = a[8];
      F(Prop3)(1, 1, &t, &p, a + 2, y[0], y[1], y[2], y[3], io, f, h, s, rest[0], rest[1], rest[2],
               a[9], a + 10))
THUNK(CallPureVchar, kKeep, F(PureVchar)(a[0], a[1], a[2], a[3], a[4], a[5], a[6], o))
// a: composition[4], then the export's scalars
THUNK(CallTransport1, kClear, F(ViscVapour)(a, a[N], o))
THUNK(CallTransport2, kClear, F(ThermCondVapour)(a, a[N], a[N + 1], o))
THUNK(CallViscLiquid, kClear, F(ViscLiquid)(a, a[N], a[N + 1], a[N + 2], o))
THUNK(CallViscParam, kClear, F(ViscParam)(v, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], o, o + 1))
THUNK(CallFriction, kKeep, F(TurbulentFrictionFactor)(v, a[0], a[1], o))
THUNK(CallMandhane, kKeep, F(Mandhane)(a[0], a[1], o))
// variant: type + 8 * pattern + 16 * mode
THUNK(CallTee, kKeep, F(getK13)(a[0], a[1], v % 8, (v / 8) % 2, o, v / 16, 1, io, o + 1, o + 2))
THUNK(CallContraction, kClear, F(ContractionLossCoefficientBenedict)(a[0], a[1], o))
THUNK(CallReynolds, kKeep, F(Reynolds)(a[0], a[1], a[2], a[3], o))
THUNK(CallPrandtl, kKeep, F(Prandtl)(a[0], a[1], a[2], o))
THUNK(CallGrashof, kKeep, F(Grashof)(a[0], a[1], a[2], a[3], a[4], a[5], o))
THUNK(CallHtcInternal, kKeep, F(HtcInternal)(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], o))
// variant: orientation + 2 * medium
THUNK(CallHtcExternal, kKeep, F(HtcExternal)(a[0], a[1], a[2], a[3], (int16_t)(v % 2), o, (int16_t)(v / 2)))
THUNK(CallSuperheat, kKeep, o[0] = F(SuperheatCoefficient)(a[0], a[1]))
// a: the five entry values of a 3 x 3 system, then b[3]
THUNK(CallSolve, kKeep, SparseEntry e[5] = {{0, 0, a[0]}, {1, 1, a[1]}, {2, 2, a[2]}, {0, 2, a[3]}, {2, 0, a[4]}};
      double b[3] = {a[5], a[6], a[7]}; F(SolveLinearEquations)(5, 3, e, b, o, v))
THUNK(CallFreeHostString, kKeep, F(FreeHostString)(NULL))
THUNK(CallHostStringByteLen, kKeep, F(HostStringByteLen)(NULL))
THUNK(CallExtFormat, kKeep, VantaroString s = F(ExtFormat)(a[0], a[1], a[2], kFormats[v]);
      ((__typeof__(&FreeHostString))lookup("FreeHostString"))(s))
THUNK(CallFormatSigFigs, kKeep, VantaroString s = NULL; F(FormatSigFigs)(&s, a[0], 1 + v);
      ((__typeof__(&FreeHostString))lookup("FreeHostString"))(s))
// a: p, t, hin, mw, rho, cp, z[4], tol[4]; variant: method and hmethod (0: ideal gas)
THUNK(CallSonic, kClear, F(SonicVelocity)(v, v, a[0], a[1], a[2], a + 6, a[3], a[4], a[5], o, a + 10))
// a: p, t, vf, s, mw, rho, cp, z[4], tol[4]
THUNK(CallFastSonic, kClear,
      F(FastSonicVelocity)(v, v, a[0], a[1], a[2], a[3], a + 7, a[4], a[5], a[6], o, a + 11))
// a: area, flow, hin, p, t, z[4], tol[4]; variant: direction
THUNK(CallChoke, kClear, double p = a[3];
      F(PressureChoke)(1, 1, a[0], a[1], a[2], &p, a + 4, a + 5, a + 9, o, o + 1, o + 2, 0, v))
// a: flow, p[3], h[3], z[4], tol[4], pipe (8); variant: two-phase method; two segments
THUNK(CallTwoPhase, kClear, double p[3] = {a[1], a[2], a[3]}, t[3], vel[3]; PipeSegment pipe; FlowResult r;
      memcpy(&pipe, a + 15, sizeof pipe);
      F(NewTwoPhaseDp)(1, v, 2, 0, 1, 1, &pipe, &r, a[0], p, a + 4, a + 7, t, vel, NULL, a + 11, 0, 0, 1, 0))

// a: p2, w, p1 estimate, tolerance, upstream (17), downstream (17), pipe (8).
// The flags are cleared except on the zero-length exit.
static enum Exit CallVapour(FpSweepFn fn, const double *a, int v) {
    StreamState s[2];
    PipeSegment pipe;
    FlowResult r;
    memcpy(s, a + 4, sizeof s);
    memcpy(&pipe, a + 38, sizeof pipe);
    const int32_t st = F(IsoVapDp)(v % 2, a[0], a[1], s, s + 1, &pipe, &r, v / 2, a[2], a[3]);
    return st == -1 && r.regime == -32767 ? kKeep : kClear;
}

// --- the descriptors -----------------------------------------------------------------

enum { kMaxDoubles = N * kRecordDoubles + 2 * N * N };

typedef struct Export {
    const char *name, *label;
    Thunk call;
    int variant;  // integer arguments, coded per thunk
    int n;        // doubles in a[]
    double a[kMaxDoubles];
    int reopen;   // the call changes the workspace: reopen the table after it
} Export;

#define M VANTARO_MISSING
#define GAS 0.90, 0.07, 0.03, 0.0
#define LIQ 0.0, 0.2, 0.8, 0.0
#define WET 0.82, 0.08, 0.05, 0.05
#define TOL 0.01, 0.1, 0.001, 1e-4
// A vapour stream record: pref, vfrac, mixture, vapour, liquid blocks.
#define STATE 5, 1, 20, 5, 0.011, 40, 0, 20, 5, 0.011, 40, 0, 20, 500, 0.2, 100, 0
#define PIPE 100, 6, 0, 0.5, 10, 0.0018, 0.0018, 1
#define LINE 50, 4.026, 0, 0, 0, 0.0018, 0.0018, 1

static Export exports[] = {
    {"SetMessageCallback", "", CallSetMessageCallback, 0, 0, {0}, 0},
    {"VantaroVersion", "", CallVersion, 0, 0, {0}, 0},
    {"VantaroVersion", "a null pointer", CallVersion, 1, 0, {0}, 0},
    {"EstimateKij", "PR", CallEstimateKij, 0, 0, {0}, 0},
    {"EstimateKij", "SRK", CallEstimateKij, 1, 0, {0}, 0},
    {"GetKijHardWired", "", CallGetKijHardWired, 0, 0, {0}, 0},
    {"MolWeight", "", CallMixture, 0, N, {GAS}, 0},
    {"PseudoPc", "", CallMixture, 0, N, {GAS}, 0},
    {"PseudoTc", "", CallMixture, 0, N, {GAS}, 0},
    {"Prop3", "TP", CallProp3, 0, 14, {300, 5000, GAS, M, M, M, M, TOL}, 0},
    {"Prop3", "bubble T", CallProp3, 0, 14, {M, 1000, LIQ, 0, M, M, M, TOL}, 0},
    {"Prop3", "PH", CallProp3, 0, 14, {M, 1000, GAS, M, -5000, M, 250, TOL}, 0},
    {"Prop3", "TS", CallProp3, 0, 14, {250, M, GAS, M, M, 150, M, TOL}, 0},
    {"PureVchar", "", CallPureVchar, 0, 7, {506.69, 0.1532, 44.09562, 369.89, 4251.2, 288.7, 0.1521}, 0},
    {"PureVchar", "tref used", CallPureVchar, 0, 7, {299.56, 0.0074, 16.04246, 190.564, 4599.2, 111.7, 0.01142}, 0},
    {"ViscVapour", "", CallTransport1, 0, N + 1, {GAS, 300}, 0},
    {"ViscLiquid", "", CallViscLiquid, 0, N + 3, {LIQ, 1000, 250, 550}, 0},
    {"SurfTenLiquid", "", CallTransport1, 0, N + 1, {LIQ, 250}, 0},
    {"ThermCondLiquid", "", CallTransport1, 0, N + 1, {LIQ, 250}, 0},
    {"ThermCondVapour", "", CallTransport2, 0, N + 2, {GAS, 300, 40}, 0},
    {"ViscParam", "", CallViscParam, 0, 9, {44.09562, 369.89, 42.512, 0.2, 0.2001, 0.1521, 0.1532, 231.04, 506.69}, 0},
    {"ViscParam", "petroleum", CallViscParam, 1, 9, {142.3, 617.7, 21.1, 0.6, 0.6, 0.49, 0.49, 447.3, 730.0}, 0},
    {"TurbulentFrictionFactor", "Round", CallFriction, 0, 2, {6, 0.0018}, 0},
    {"TurbulentFrictionFactor", "Chen", CallFriction, 1, 2, {6, 0.0018}, 0},
    {"IsoVapDp", "", CallVapour, 1, 42, {5, 10000, M, 1e-8, STATE, STATE, PIPE}, 0},
    {"IsoVapDp", "rescaled", CallVapour, 2, 42, {5, 10000, 6, 1e-8, STATE, STATE, PIPE}, 0},
    {"AdiaVapDp", "", CallVapour, 1, 42, {5, 10000, M, 1e-8, STATE, STATE, PIPE}, 0},
    {"NewTwoPhaseDp", "Beggs-Brill", CallTwoPhase, 2, 23, {3000, 0, 0, 2, 8266.27, 8266.27, 8266.27, WET, TOL, LINE}, 0},
    {"NewTwoPhaseDp", "Orkiszewski, uphill", CallTwoPhase, 4, 23, {3000, 0, 0, 2, 8266.27, 8266.27, 8266.27, WET, TOL, 50, 4.026, 10, 0, 0, 0.0018, 0.0018, 1}, 0},
    {"NewTwoPhaseDp", "Lockhart-Martinelli", CallTwoPhase, 5, 23, {3000, 0, 0, 2, 8266.27, 8266.27, 8266.27, WET, TOL, LINE}, 0},
    {"Mandhane", "", CallMandhane, 0, 2, {22.75, 1.5}, 0},
    {"getK13", "combining 90", CallTee, 3 + 8 + 16, 2, {0.5, 0.4}, 0},
    {"getK13", "combining blend", CallTee, 0 + 8, 2, {0.5, 0.4}, 0},
    {"getK13", "dividing", CallTee, 2 + 16, 2, {0.5, 0.4}, 0},
    {"getK23", "combining blend", CallTee, 0 + 8, 2, {0.5, 0.4}, 0},
    {"getK23", "combining obtuse", CallTee, 4 + 8 + 16, 2, {0.5, 0.4}, 0},
    {"getK23", "dividing", CallTee, 3 + 16, 2, {0.5, 0.4}, 0},
    {"ContractionLossCoefficientBenedict", "", CallContraction, 0, 2, {0.5, 30}, 0},
    {"SonicVelocity", "TP", CallSonic, 1, 14, {1000, 300, M, 17.866, 0, 0, GAS, TOL}, 0},
    {"SonicVelocity", "PH", CallSonic, 1, 14, {1000, M, 10265.0, 17.866, 0, 0, GAS, TOL}, 0},
    {"SonicVelocity", "ideal gas", CallSonic, 0, 14, {101.325, 300, M, 29, 1.2, 29.1, GAS, TOL}, 0},
    {"FastSonicVelocity", "", CallFastSonic, 1, 15, {1000, 300, 1, 137.62, 17.866, 7.3618, 39.38, GAS, TOL}, 0},
    {"FastSonicVelocity", "ideal gas", CallFastSonic, 0, 15, {101.325, 300, 1, 150, 29, 1.2, 29.1, GAS, TOL}, 0},
    {"PressureChoke", "up", CallChoke, 1, 13, {0.01, 10000, 10265.0, 100, 300, GAS, TOL}, 0},
    {"PressureChoke", "down", CallChoke, 0, 13, {0.01, 10000, 10265.0, 100, 300, GAS, TOL}, 0},
    {"Reynolds", "", CallReynolds, 0, 4, {2, 0.1, 1000, 1}, 0},
    {"Prandtl", "", CallPrandtl, 0, 3, {4.18, 1, 0.6}, 0},
    {"Grashof", "", CallGrashof, 0, 6, {300, 350, 1, 1, 1.16, 0.99}, 0},
    {"HtcInternal", "", CallHtcInternal, 0, 9, {2, 1, 0.6, 4.18, 1000, 300, 350, 0.1, 0}, 0},
    {"HtcExternal", "air, forced", CallHtcExternal, 0, 4, {5, 290, 350, 0.2}, 0},
    {"HtcExternal", "air, still", CallHtcExternal, 1, 4, {0, 290, 350, 0.2}, 0},
    {"HtcExternal", "water", CallHtcExternal, 2, 4, {1, 290, 310, 0.2}, 0},
    {"SuperheatCoefficient", "", CallSuperheat, 0, 2, {700, 500}, 0},
    {"SolveLinearEquations", "", CallSolve, 0, 8, {4, 3, 2, 1, 1, 1, 2, 3}, 0},
    {"SolveLinearEquations", "transposed", CallSolve, 1, 8, {4, 3, 2, 1, 1, 1, 2, 3}, 0},
    {"FreeHostString", "", CallFreeHostString, 0, 0, {0}, 0},
    {"HostStringByteLen", "", CallHostStringByteLen, 0, 0, {0}, 0},
    {"ExtFormat", "%.3f", CallExtFormat, 0, 3, {300, 1.8, -459.67}, 0},
    {"ExtFormat", "%10.4e", CallExtFormat, 1, 3, {300, 1.8, -459.67}, 0},
    {"ExtFormat", "%g", CallExtFormat, 2, 3, {300, 1.8, -459.67}, 0},
    {"FormatSigFigs", "3 digits", CallFormatSigFigs, 2, 1, {1.5}, 0},
    {"FormatSigFigs", "9 digits", CallFormatSigFigs, 8, 1, {1.5}, 0},
    // OpenProps (its doubles: the table's, filled in at run time) and
    // CloseProps last: they change the workspace.
    {"OpenProps", "", CallOpenProps, 0, kMaxDoubles, {0}, 1},
    {"CloseProps", "", CallCloseProps, 0, 0, {0}, 1},
};
enum { kExports = sizeof exports / sizeof exports[0] };

// --- one call ------------------------------------------------------------------------

static void OpenTable(void) { ((__typeof__(&OpenProps))lookup("OpenProps"))(N, table, kijpr, kijsrk); }

static void CallOnce(const Mode *mode, const Export *e, FpSweepFn fn, const double *a) {
    // The host: exceptions unmasked, then its masked flags set (changing the
    // masks through _controlfp_s clears the flags under Wine).
    Quiet();
    mode->unmask();
    _mm_setcsr(_mm_getcsr() | kEntryFlags);
    const unsigned int mxcsrBefore = _mm_getcsr();
    const unsigned short x87Before = X87Control();

    const enum Exit exit = e->call(fn, a, e->variant);

    const unsigned int mxcsr = _mm_getcsr();
    const unsigned short x87 = X87Control(), status = X87Status();
    Quiet();
    ++calls;
    if (e->reopen) OpenTable();

    if ((mxcsr & ~(unsigned)kAllBits) != (mxcsrBefore & ~(unsigned)kAllBits))
        Fail("MXCSR control bits changed");
    if (x87 != x87Before) Fail("x87 control word changed");
    const unsigned int flags = (mxcsr | status) & kAllBits;
    const unsigned int unmasked = (~(mxcsrBefore >> 7) | ~x87Before) & kAllBits;
    if (flags & unmasked) Fail("a flag the host unmasked is set");
    if (exit == kKeep && (flags & kEntryFlags) != kEntryFlags) Fail("the host's flags were lost");
    if (exit == kClear && flags != 0) Fail("flags left set by an export that clears them");
}

static void Sweep(const Mode *mode, const Export *e) {
    FpSweepFn fn = lookup(e->name);
    snprintf(current, sizeof current, "%s [%s] baseline (%s)", e->name, e->label, mode->name);
    if (!fn) {
        Fail("export not found");
        return;
    }
    CallOnce(mode, e, fn, e->a);
    double a[kMaxDoubles];
    for (int i = 0; i < e->n; ++i)
        for (int k = 0; k < kSpecials; ++k) {
            memcpy(a, e->a, sizeof a);
            a[i] = FromBits(specials[k].bits);
            snprintf(current, sizeof current, "%s [%s] double #%d = %s (%s)", e->name, e->label, i,
                     specials[k].name, mode->name);
            CallOnce(mode, e, fn, a);
        }
}

// --- the reproductions -------------------------------------------------------------------

static int Same(double a, double b) { return memcmp(&a, &b, sizeof a) == 0; }

// The calls that trapped, each in every mode, with its documented result.
static void Reproductions(const Mode *mode) {
    double r = 0, k = 0, s[6];
    int32_t st = -1;
    const double qnan = FromBits(0x7ff8000000000000ull), snan = FromBits(0x7ff4000000000000ull);
    const double inf = FromBits(0x7ff0000000000000ull);
#define G(name) ((__typeof__(&name))lookup(#name))
#define REPRO(call, ok)                                                   \
    do {                                                                  \
        snprintf(current, sizeof current, "%s (%s)", #call, mode->name);  \
        Quiet();                                                          \
        mode->unmask();                                                   \
        call;                                                             \
        Quiet();                                                          \
        if (!(ok)) Fail("unexpected result");                             \
    } while (0)
    REPRO(st = G(ContractionLossCoefficientBenedict)(qnan, 30, &k), st == 0 && k == M);
    REPRO(st = G(Mandhane)(22.75, snan, s), st == 0 && s[0] == M && s[5] == M);
    REPRO(st = G(TurbulentFrictionFactor)(0, snan, 0.0018, &r), st == 0 && r == M);
    REPRO(st = G(Reynolds)(2, 0.1, 1000, 0, &r), st == -1 && Same(r, inf));
    REPRO(st = G(Prandtl)(4.18, 1, 0, &r), st == -1 && Same(r, inf));
    REPRO(st = G(Grashof)(300, 350, 1, 0, 1.16, 0.99, &r), st == -1);
    REPRO(G(getK13)(qnan, 0.5, 3, 1, &k, 1, 1, &st, o, o + 1), k == 9e99 && st == 0);
    REPRO(G(getK23)(qnan, 0.5, 0, 1, &k, 0, 0, &st, o, o + 1), k == 9e99 && st == 0);
    REPRO(r = G(SuperheatCoefficient)(qnan, 700), r == 9.99);
    REPRO(st = G(ViscVapour)((double[N]){snan, 0.5, 0.5, 0}, 300, &r), st == -1 && r == M);
    REPRO(st = G(PureVchar)(snan, 0.15, 44, 370, 4250, 288.7, 0.15, &r), st == -1 && r == M);
    REPRO(st = G(SonicVelocity)(1, 1, qnan, 300, M, (double[N]){GAS}, 17.866, 0, 0, &r,
                                (double[4]){TOL}), st == 0 && r == M);
#undef REPRO
}

// --- entry point -------------------------------------------------------------------------

int FpSweepRun(FpSweepLookup lookupFn, FpSweepUnmask unmask, const char *platformName) {
    lookup = lookupFn;
    platformUnmask = unmask;
    modes[0].name = platformName;
    failures = calls = 0;
    signal(SIGFPE, OnTrap);
    _mm_setcsr((_mm_getcsr() | (kAllBits << 7)) & ~(unsigned)kAllBits);
    SetX87Control((unsigned short)(X87Control() | kAllBits));
    __asm__ __volatile__("fnclex");
    quietMxcsr = _mm_getcsr();
    quietX87 = X87Control();

    G(SetMessageCallback)(Silent, NULL);
    if (!FpSweepTable(lookup, table, kijpr, kijsrk)) {
        fprintf(stderr, "fp sweep: GetKijHardWired or ViscParam not found\n");
        return 1;
    }
    // OpenProps sweeps the table's own doubles.
    Export *open = &exports[kExports - 2];
    for (int i = 0; i < N; ++i)
        memcpy(open->a + i * kRecordDoubles, &table[i].mw, kRecordDoubles * sizeof(double));
    memcpy(open->a + N * kRecordDoubles, kijpr, sizeof kijpr);
    memcpy(open->a + N * kRecordDoubles + N * N, kijsrk, sizeof kijsrk);
    OpenTable();
    for (int m = 0; m < 3; ++m) {
        for (int e = 0; e < kExports; ++e) Sweep(&modes[m], &exports[e]);
        Reproductions(&modes[m]);
    }
    G(CloseProps)();
    signal(SIGFPE, SIG_DFL);
    printf("fp sweep: %d calls in %d modes, %d failure(s)\n", calls, 3, failures);
    return failures;
}
