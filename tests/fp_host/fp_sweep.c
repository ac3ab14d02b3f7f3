/* The floating-point host sweep (see fp_sweep.h). */
#include "fp_sweep.h"

#include <float.h>
#include <signal.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>
#include <xmmintrin.h>

#include "vantaro/vantaro.h"

#if !defined(_WIN32)
#define __cdecl
#endif

/* --- the two units' registers ------------------------------------------- */

/* Exception bits, the same in MXCSR (flags; masks 7 bits higher), the x87
 * status word (flags) and the x87 control word (masks). */
enum {
    kInvalid = 0x01,
    kZeroDivide = 0x04,
    kOverflow = 0x08,
    kUnderflow = 0x10,
    kInexact = 0x20,
    kAllBits = 0x3f,
    kHostUnmasks = kInvalid | kZeroDivide | kOverflow,
    kEntryFlags = kUnderflow | kInexact /* masked in every mode */
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
static void ClearX87Flags(void) { __asm__ __volatile__("fnclex"); }

/* The harness's own state between calls: everything masked, no flags. */
static unsigned int quietMxcsr;
static unsigned short quietX87;

static void Quiet(void) {
    ClearX87Flags();
    SetX87Control(quietX87);
    _mm_setcsr(quietMxcsr);
}

/* --- unmasking modes ------------------------------------------------------ */

static FpSweepUnmask platformUnmask;

static void UnmaskMxcsr(void) { _mm_setcsr(_mm_getcsr() & ~(unsigned)(kHostUnmasks << 7)); }
static void UnmaskX87(void) { SetX87Control((unsigned short)(X87Control() & ~kHostUnmasks)); }
static void UnmaskPlatform(void) { platformUnmask(); }

typedef struct Mode {
    const char *name;
    void (*unmask)(void);
} Mode;

static Mode modes[3] = {
    {NULL, UnmaskPlatform},
    {"MXCSR only", UnmaskMxcsr},
    {"x87 only", UnmaskX87},
};

/* --- failure reporting ------------------------------------------------------ */

static int failures;
static char current[256]; /* the call under way, for the trap handler */

static void OnTrap(int sig) {
    (void)sig;
    /* Only async-signal-safe calls here. */
    static const char head[] = "floating-point trap in ";
    if (write(2, head, sizeof head - 1) < 0 || write(2, current, strlen(current)) < 0 ||
        write(2, "\n", 1) < 0) {
    }
    _exit(3);
}

/* --- special values ---------------------------------------------------------- */

static double FromBits(uint64_t bits) {
    double d;
    memcpy(&d, &bits, sizeof d);
    return d;
}

typedef struct Special {
    const char *name;
    uint64_t bits; /* built from bits: no arithmetic touches a signalling NaN */
} Special;

static const Special specials[] = {
    {"qNaN", 0x7ff8000000000000ull},   {"sNaN", 0x7ff4000000000000ull},
    {"-sNaN", 0xfff0000000000001ull},  {"+inf", 0x7ff0000000000000ull},
    {"-inf", 0xfff0000000000000ull},   {"0", 0x0000000000000000ull},
    {"-0", 0x8000000000000000ull},     {"DBL_MAX", 0x7fefffffffffffffull},
    {"-DBL_MAX", 0xffefffffffffffffull}, {"denormal", 0x0000000000000001ull},
};
enum { kSpecials = sizeof specials / sizeof specials[0] };

/* --- the export table ------------------------------------------------------------ */

static FpSweepLookup lookup;

typedef void(__cdecl *SetMessageCallbackFn)(VantaroMessageFn, void *);
typedef void(__cdecl *OpenPropsFn)(int32_t, const CompRecord *, const double *, const double *);
typedef void(__cdecl *ClosePropsFn)(void);
typedef int32_t(__cdecl *EstimateKijFn)(int32_t, int32_t, int32_t, double *);
typedef void(__cdecl *GetKijHardWiredFn)(int32_t, int32_t, int32_t, int32_t, int32_t, double *);
typedef int32_t(__cdecl *MixtureFn)(const double *, double *);
typedef int32_t(__cdecl *Prop3Fn)(int32_t, int32_t, double *, double *, const double *, double *,
                                  double *, double *, double *, int32_t *, double *, double *,
                                  double *, double *, double *, double *, double, const double *);
typedef int32_t(__cdecl *PureVcharFn)(double, double, double, double, double, double, double,
                                      double *);
typedef int32_t(__cdecl *Transport1Fn)(const double *, double, double *);
typedef int32_t(__cdecl *Transport2Fn)(const double *, double, double, double *);
typedef int32_t(__cdecl *ViscLiquidFn)(const double *, double, double, double, double *);
typedef int32_t(__cdecl *ViscParamFn)(int32_t, double, double, double, double, double, double,
                                      double, double, double, double *, double *);
typedef int32_t(__cdecl *FrictionFn)(int32_t, double, double, double *);
typedef int32_t(__cdecl *VapourFn)(int32_t, double, double, const StreamState *,
                                   const StreamState *, const PipeSegment *, FlowResult *, int32_t,
                                   double, double);
typedef int32_t(__cdecl *MandhaneFn)(double, double, double *);
typedef int32_t(__cdecl *TeeFn)(double, double, int32_t, int32_t, double *, int32_t, int32_t,
                                int32_t *, double *, double *);
typedef int32_t(__cdecl *ContractionFn)(double, double, double *);
typedef int32_t(__cdecl *ReynoldsFn)(double, double, double, double, double *);
typedef int32_t(__cdecl *PrandtlFn)(double, double, double, double *);
typedef int32_t(__cdecl *GrashofFn)(double, double, double, double, double, double, double *);
typedef int32_t(__cdecl *HtcInternalFn)(double, double, double, double, double, double, double,
                                        double, double, double *);
typedef int32_t(__cdecl *HtcExternalFn)(double, double, double, double, int16_t, double *, int16_t);
typedef double(__cdecl *SuperheatFn)(double, double);
typedef int32_t(__cdecl *SolveFn)(int32_t, int32_t, const SparseEntry *, double *, double *,
                                  int32_t);
typedef void(__cdecl *FreeHostStringFn)(VantaroString);
typedef uint32_t(__cdecl *HostStringByteLenFn)(VantaroString);
typedef VantaroString(__cdecl *ExtFormatFn)(double, double, double, const char *);
typedef int32_t(__cdecl *FormatSigFigsFn)(VantaroString *, double, int32_t);

/* How the export leaves the flags: the host's (masked) flags kept, or all
 * cleared. */
enum Exit { kKeep, kClear };

/* --- the workspace: methane, ethane, propane, water ------------------------------- */

enum { N = 4, kRecordDoubles = 19 };

/* The 19 doubles of each record in header order, from data/components.csv. */
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

static CompRecord table[N];
static double kijpr[N * N], kijsrk[N * N];

static void BuildRecord(CompRecord *r, int i, const double *d) {
    memset(r, 0, sizeof *r);
    r->code = kCodes[i][0];
    r->family = kCodes[i][1];
    memcpy(&r->mw, d, kRecordDoubles * sizeof(double));
}

static void OpenTable(void) {
    ((OpenPropsFn)lookup("OpenProps"))(N, table, kijpr, kijsrk);
}

/* The table with kij from the built-in rules and visca/viscb fitted. */
static int PrepareTable(void) {
    GetKijHardWiredFn kij = (GetKijHardWiredFn)lookup("GetKijHardWired");
    ViscParamFn fit = (ViscParamFn)lookup("ViscParam");
    if (!kij || !fit) return 0;
    for (int i = 0; i < N; ++i) {
        BuildRecord(&table[i], i, kRecords[i]);
        CompRecord *r = &table[i];
        fit(0, r->mw, r->tc, r->pc / 100.0, r->vc, r->vstar, r->omega, r->omegasrk, r->tb,
            r->liqden, &r->visca, &r->viscb);
    }
    for (int i = 0; i < N; ++i)
        for (int j = 0; j < N; ++j) {
            kij(1, kCodes[i][0], kCodes[i][1], kCodes[j][0], kCodes[j][1], &kijpr[i * N + j]);
            kij(2, kCodes[i][0], kCodes[i][1], kCodes[j][0], kCodes[j][1], &kijsrk[i * N + j]);
        }
    return 1;
}

/* --- callers: one per export, taking the doubles it reads from a[] ------------ */

typedef enum Exit (*Caller)(FpSweepFn fn, const double *a, int variant);

#define NO_DOUBLES 0

/* The workspace messages of corrupted records go nowhere. */
static void __cdecl Silent(const char *caption, const char *text, void *user) {
    (void)caption, (void)text, (void)user;
}

static enum Exit CallSetMessageCallback(FpSweepFn fn, const double *a, int v) {
    (void)a, (void)v;
    ((SetMessageCallbackFn)fn)(Silent, NULL);
    return kKeep;
}

static enum Exit CallOpenProps(FpSweepFn fn, const double *a, int v) {
    (void)v;
    CompRecord recs[N];
    for (int i = 0; i < N; ++i) BuildRecord(&recs[i], i, a + i * kRecordDoubles);
    const double *pr = a + N * kRecordDoubles, *srk = pr + N * N;
    ((OpenPropsFn)fn)(N, recs, pr, srk);
    return kKeep;
}

static enum Exit CallCloseProps(FpSweepFn fn, const double *a, int v) {
    (void)a, (void)v;
    ((ClosePropsFn)fn)();
    return kKeep;
}

static enum Exit CallEstimateKij(FpSweepFn fn, const double *a, int v) {
    (void)a;
    double kij = 0;
    ((EstimateKijFn)fn)(1 + v % 2, 0, 2 + v / 2, &kij);
    return kKeep;
}

static enum Exit CallGetKijHardWired(FpSweepFn fn, const double *a, int v) {
    (void)a, (void)v;
    double kij = 0;
    ((GetKijHardWiredFn)fn)(1, 1, 0, 61, 11, &kij);
    return kKeep;
}

static enum Exit CallMixture(FpSweepFn fn, const double *a, int v) {
    (void)v;
    double r = 0;
    ((MixtureFn)fn)(a, &r);
    return kKeep;
}

/* a: t, p, z[4], frac[0], h[3], s[3], tguess, tol[4] */
static enum Exit CallProp3(FpSweepFn fn, const double *a, int v) {
    (void)v;
    double t = a[0], p = a[1], z[N], y[N], x[N], xw[N], xl[N];
    double frac[5], h[5], s[5], cp[5], vol[5], mw[5], tol[4];
    int32_t ph[3];
    memcpy(z, a + 2, sizeof z);
    frac[0] = a[6];
    h[3] = a[7];
    s[3] = a[8];
    memcpy(tol, a + 10, sizeof tol);
    ((Prop3Fn)fn)(1, 1, &t, &p, z, y, x, xw, xl, ph, frac, h, s, cp, vol, mw, a[9], tol);
    return kClear;
}

static enum Exit CallPureVchar(FpSweepFn fn, const double *a, int v) {
    (void)v;
    double vstar = 0;
    ((PureVcharFn)fn)(a[0], a[1], a[2], a[3], a[4], a[5], a[6], &vstar);
    return kKeep;
}

/* a: composition[4], then the export's scalars */
static enum Exit CallTransport1(FpSweepFn fn, const double *a, int v) {
    (void)v;
    double r = 0;
    ((Transport1Fn)fn)(a, a[N], &r);
    return kClear;
}
static enum Exit CallTransport2(FpSweepFn fn, const double *a, int v) {
    (void)v;
    double r = 0;
    ((Transport2Fn)fn)(a, a[N], a[N + 1], &r);
    return kClear;
}
static enum Exit CallViscLiquid(FpSweepFn fn, const double *a, int v) {
    (void)v;
    double r = 0;
    ((ViscLiquidFn)fn)(a, a[N], a[N + 1], a[N + 2], &r);
    return kClear;
}

static enum Exit CallViscParam(FpSweepFn fn, const double *a, int v) {
    double va = 0, vb = 0;
    ((ViscParamFn)fn)(v, a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], &va, &vb);
    return kClear;
}

static enum Exit CallFriction(FpSweepFn fn, const double *a, int v) {
    double f = 0;
    ((FrictionFn)fn)(v, a[0], a[1], &f);
    return kKeep;
}

/* a: p2, w, p1 estimate, tolerance, upstream (17), downstream (17), pipe (8) */
static enum Exit CallVapour(FpSweepFn fn, const double *a, int v) {
    StreamState up, down;
    PipeSegment pipe;
    FlowResult res;
    memcpy(&up, a + 4, sizeof up);
    memcpy(&down, a + 21, sizeof down);
    memcpy(&pipe, a + 38, sizeof pipe);
    const int32_t st = ((VapourFn)fn)(v % 2, a[0], a[1], &up, &down, &pipe, &res, v / 2, a[2], a[3]);
    /* The flags are cleared except on the zero-length exit. */
    return st == -1 && res.regime == -32767 ? kKeep : kClear;
}

static enum Exit CallMandhane(FpSweepFn fn, const double *a, int v) {
    (void)v;
    double scores[6];
    ((MandhaneFn)fn)(a[0], a[1], scores);
    return kKeep;
}

/* variant: type + 8 * pattern + 16 * mode */
static enum Exit CallTee(FpSweepFn fn, const double *a, int v) {
    double k = 0, hi = 0, lo = 0;
    int32_t status = 0;
    ((TeeFn)fn)(a[0], a[1], v % 8, (v / 8) % 2, &k, v / 16, 1, &status, &hi, &lo);
    return kKeep;
}

static enum Exit CallContraction(FpSweepFn fn, const double *a, int v) {
    (void)v;
    double k = 0;
    ((ContractionFn)fn)(a[0], a[1], &k);
    return kClear;
}

static enum Exit CallReynolds(FpSweepFn fn, const double *a, int v) {
    (void)v;
    double r = 0;
    ((ReynoldsFn)fn)(a[0], a[1], a[2], a[3], &r);
    return kKeep;
}
static enum Exit CallPrandtl(FpSweepFn fn, const double *a, int v) {
    (void)v;
    double r = 0;
    ((PrandtlFn)fn)(a[0], a[1], a[2], &r);
    return kKeep;
}
static enum Exit CallGrashof(FpSweepFn fn, const double *a, int v) {
    (void)v;
    double r = 0;
    ((GrashofFn)fn)(a[0], a[1], a[2], a[3], a[4], a[5], &r);
    return kKeep;
}
static enum Exit CallHtcInternal(FpSweepFn fn, const double *a, int v) {
    (void)v;
    double h = 0;
    ((HtcInternalFn)fn)(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], &h);
    return kKeep;
}
/* variant: orientation + 2 * medium */
static enum Exit CallHtcExternal(FpSweepFn fn, const double *a, int v) {
    double h = 0;
    ((HtcExternalFn)fn)(a[0], a[1], a[2], a[3], (int16_t)(v % 2), &h, (int16_t)(v / 2));
    return kKeep;
}
static enum Exit CallSuperheat(FpSweepFn fn, const double *a, int v) {
    (void)v;
    volatile double r = ((SuperheatFn)fn)(a[0], a[1]);
    (void)r;
    return kKeep;
}

/* a: the five entry values of a 3 x 3 system, then b[3] */
static enum Exit CallSolve(FpSweepFn fn, const double *a, int v) {
    SparseEntry e[5] = {{0, 0, a[0]}, {1, 1, a[1]}, {2, 2, a[2]}, {0, 2, a[3]}, {2, 0, a[4]}};
    double b[3], x[3] = {0, 0, 0};
    memcpy(b, a + 5, sizeof b);
    ((SolveFn)fn)(5, 3, e, b, x, v);
    return kKeep;
}

static enum Exit CallHostString(FpSweepFn fn, const double *a, int v) {
    (void)a, (void)v;
    if (fn == lookup("FreeHostString")) ((FreeHostStringFn)fn)(NULL);
    else ((HostStringByteLenFn)fn)(NULL);
    return kKeep;
}

static const char *const kFormats[] = {"%.3f", "%10.4e", "%g", "%.2f%%"};

static enum Exit CallExtFormat(FpSweepFn fn, const double *a, int v) {
    VantaroString s = ((ExtFormatFn)fn)(a[0], a[1], a[2], kFormats[v]);
    ((FreeHostStringFn)lookup("FreeHostString"))(s);
    return kKeep;
}

static enum Exit CallFormatSigFigs(FpSweepFn fn, const double *a, int v) {
    VantaroString s = NULL;
    ((FormatSigFigsFn)fn)(&s, a[0], 1 + v);
    ((FreeHostStringFn)lookup("FreeHostString"))(s);
    return kKeep;
}

/* --- baselines ---------------------------------------------------------------- */

enum { kMaxDoubles = N * kRecordDoubles + 2 * N * N };

typedef struct Baseline {
    const char *name;   /* export */
    const char *label;  /* what this baseline is */
    Caller call;
    int variant;        /* integer arguments, coded per caller */
    int n;              /* doubles in a[] */
    double a[kMaxDoubles];
    int reopen;         /* the call changes the workspace: reopen the table after it */
} Baseline;

#define M VANTARO_MISSING
#define GAS 0.90, 0.07, 0.03, 0.0
#define LIQ 0.0, 0.2, 0.8, 0.0

/* A vapour stream record: pref, vfrac, mixture, vapour, liquid blocks. */
#define STATE 5, 1, 20, 5, 0.011, 40, 0, 20, 5, 0.011, 40, 0, 20, 500, 0.2, 100, 0
#define PIPE 100, 6, 0, 0.5, 10, 0.0018, 0.0018, 1

static Baseline baselines[] = {
    {"SetMessageCallback", "", CallSetMessageCallback, 0, NO_DOUBLES, {0}, 0},
    {"EstimateKij", "PR", CallEstimateKij, 0, NO_DOUBLES, {0}, 0},
    {"EstimateKij", "SRK", CallEstimateKij, 1, NO_DOUBLES, {0}, 0},
    {"GetKijHardWired", "", CallGetKijHardWired, 0, NO_DOUBLES, {0}, 0},
    {"MolWeight", "", CallMixture, 0, N, {GAS}, 0},
    {"PseudoPc", "", CallMixture, 0, N, {GAS}, 0},
    {"PseudoTc", "", CallMixture, 0, N, {GAS}, 0},
    {"Prop3", "TP", CallProp3, 0, 14, {300, 5000, GAS, M, M, M, M, 0.01, 0.1, 0.001, 1e-4}, 0},
    {"Prop3", "bubble T", CallProp3, 0, 14, {M, 1000, LIQ, 0, M, M, M, 0.01, 0.1, 0.001, 1e-4}, 0},
    {"Prop3", "PH", CallProp3, 0, 14, {M, 1000, GAS, M, -5000, M, 250, 0.01, 0.1, 0.001, 1e-4}, 0},
    {"Prop3", "TS", CallProp3, 0, 14, {250, M, GAS, M, M, 150, M, 0.01, 0.1, 0.001, 1e-4}, 0},
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
    {"Mandhane", "", CallMandhane, 0, 2, {22.75, 1.5}, 0},
    {"getK13", "combining 90", CallTee, 3 + 8 + 16, 2, {0.5, 0.4}, 0},
    {"getK13", "combining blend", CallTee, 0 + 8, 2, {0.5, 0.4}, 0},
    {"getK13", "dividing", CallTee, 2 + 16, 2, {0.5, 0.4}, 0},
    {"getK23", "combining blend", CallTee, 0 + 8, 2, {0.5, 0.4}, 0},
    {"getK23", "combining obtuse", CallTee, 4 + 8 + 16, 2, {0.5, 0.4}, 0},
    {"getK23", "dividing", CallTee, 3 + 16, 2, {0.5, 0.4}, 0},
    {"ContractionLossCoefficientBenedict", "", CallContraction, 0, 2, {0.5, 30}, 0},
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
    {"FreeHostString", "", CallHostString, 0, NO_DOUBLES, {0}, 0},
    {"HostStringByteLen", "", CallHostString, 0, NO_DOUBLES, {0}, 0},
    {"ExtFormat", "%.3f", CallExtFormat, 0, 3, {300, 1.8, -459.67}, 0},
    {"ExtFormat", "%10.4e", CallExtFormat, 1, 3, {300, 1.8, -459.67}, 0},
    {"ExtFormat", "%g", CallExtFormat, 2, 3, {300, 1.8, -459.67}, 0},
    {"FormatSigFigs", "3 digits", CallFormatSigFigs, 2, 1, {1.5}, 0},
    {"FormatSigFigs", "9 digits", CallFormatSigFigs, 8, 1, {1.5}, 0},
    /* OpenProps and CloseProps last: they change the workspace. */
    {"OpenProps", "", CallOpenProps, 0, kMaxDoubles, {0}, 1},
    {"CloseProps", "", CallCloseProps, 0, NO_DOUBLES, {0}, 1},
};
enum { kBaselines = sizeof baselines / sizeof baselines[0] };

/* --- one call ----------------------------------------------------------------- */

static int calls;

static void Fail(const char *what) {
    fprintf(stderr, "%s: %s\n", current, what);
    ++failures;
}

static void CallOnce(const Mode *mode, const Baseline *b, FpSweepFn fn, const double *a) {
    /* The host: exceptions unmasked, then its masked flags set (changing the
     * masks through _controlfp_s clears the flags under Wine). */
    Quiet();
    mode->unmask();
    _mm_setcsr(_mm_getcsr() | kEntryFlags);
    const unsigned int mxcsrBefore = _mm_getcsr();
    const unsigned short x87Before = X87Control();

    const enum Exit exit = b->call(fn, a, b->variant);

    const unsigned int mxcsr = _mm_getcsr();
    const unsigned short x87 = X87Control(), status = X87Status();
    Quiet();
    ++calls;

    if ((mxcsr & ~(unsigned)kAllBits) != (mxcsrBefore & ~(unsigned)kAllBits))
        Fail("MXCSR control bits changed");
    if (x87 != x87Before) Fail("x87 control word changed");
    const unsigned int flags = (mxcsr | status) & kAllBits;
    const unsigned int unmasked = (~(mxcsrBefore >> 7) | ~x87Before) & kAllBits;
    if (flags & unmasked) Fail("a flag the host unmasked is set");
    if (exit == kKeep && (flags & kEntryFlags) != kEntryFlags) Fail("the host's flags were lost");
    if (exit == kClear && flags != 0) Fail("flags left set by an export that clears them");
}

static void Describe(const Mode *mode, const Baseline *b, int arg, const char *value) {
    if (arg < 0)
        snprintf(current, sizeof current, "%s [%s] baseline (%s)", b->name, b->label, mode->name);
    else
        snprintf(current, sizeof current, "%s [%s] double #%d = %s (%s)", b->name, b->label, arg,
                 value, mode->name);
}

static void Sweep(const Mode *mode, const Baseline *b) {
    FpSweepFn fn = lookup(b->name);
    if (!fn) {
        snprintf(current, sizeof current, "%s", b->name);
        Fail("export not found");
        return;
    }
    double a[kMaxDoubles];
    Describe(mode, b, -1, "");
    CallOnce(mode, b, fn, b->a);
    if (b->reopen) OpenTable();
    for (int i = 0; i < b->n; ++i)
        for (int k = 0; k < kSpecials; ++k) {
            memcpy(a, b->a, sizeof a);
            a[i] = FromBits(specials[k].bits);
            Describe(mode, b, i, specials[k].name);
            CallOnce(mode, b, fn, a);
            if (b->reopen) OpenTable();
        }
}

/* --- the reproductions ----------------------------------------------------------- */

static int Same(double a, double b) { return memcmp(&a, &b, sizeof a) == 0; }

/* The calls that trapped, each in every mode, with its documented result. */
static void Reproductions(const Mode *mode) {
    double r = 0, k = 0, hi = 0, lo = 0, scores[6];
    int32_t status = -1, st;
    const double qnan = FromBits(0x7ff8000000000000ull), snan = FromBits(0x7ff4000000000000ull);
    const double inf = FromBits(0x7ff0000000000000ull);
#define REPRO(text, call, ok)                                                   \
    do {                                                                        \
        snprintf(current, sizeof current, "%s (%s)", text, mode->name);         \
        Quiet();                                                                \
        mode->unmask();                                                         \
        call;                                                                   \
        Quiet();                                                                \
        if (!(ok)) Fail("unexpected result");                                   \
    } while (0)
    REPRO("ContractionLossCoefficientBenedict(NaN, 30)",
          st = ((ContractionFn)lookup("ContractionLossCoefficientBenedict"))(qnan, 30, &k),
          st == 0 && k == M);
    REPRO("Mandhane(22.75, sNaN)", st = ((MandhaneFn)lookup("Mandhane"))(22.75, snan, scores),
          st == 0 && scores[0] == M && scores[5] == M);
    REPRO("TurbulentFrictionFactor(0, sNaN, 0.0018)",
          st = ((FrictionFn)lookup("TurbulentFrictionFactor"))(0, snan, 0.0018, &r),
          st == 0 && r == M);
    REPRO("Reynolds(2, 0.1, 1000, 0)", st = ((ReynoldsFn)lookup("Reynolds"))(2, 0.1, 1000, 0, &r),
          st == -1 && Same(r, inf));
    REPRO("Prandtl(4.18, 1, 0)", st = ((PrandtlFn)lookup("Prandtl"))(4.18, 1, 0, &r),
          st == -1 && Same(r, inf));
    REPRO("Grashof(300, 350, 1, 0, 1.16, 0.99)",
          st = ((GrashofFn)lookup("Grashof"))(300, 350, 1, 0, 1.16, 0.99, &r), st == -1);
    REPRO("getK13(NaN, 0.5, 3, 1)",
          ((TeeFn)lookup("getK13"))(qnan, 0.5, 3, 1, &k, 1, 1, &status, &hi, &lo),
          k == 9e99 && status == 0);
    REPRO("getK23(NaN, 0.5, 0, 1, blend)",
          ((TeeFn)lookup("getK23"))(qnan, 0.5, 0, 1, &k, 0, 0, &status, &hi, &lo),
          k == 9e99 && status == 0);
    REPRO("SuperheatCoefficient(NaN, 700)",
          r = ((SuperheatFn)lookup("SuperheatCoefficient"))(qnan, 700), r == 9.99);
    REPRO("ViscVapour(sNaN composition)",
          st = ((Transport1Fn)lookup("ViscVapour"))((double[N]){snan, 0.5, 0.5, 0}, 300, &r),
          st == -1 && r == M);
    REPRO("PureVchar(sNaN liqden)",
          st = ((PureVcharFn)lookup("PureVchar"))(snan, 0.15, 44, 370, 4250, 288.7, 0.15, &r),
          st == -1 && r == M);
#undef REPRO
}

/* --- entry point --------------------------------------------------------------------- */

int FpSweepRun(FpSweepLookup lookupFn, FpSweepUnmask unmask, const char *platformName) {
    lookup = lookupFn;
    platformUnmask = unmask;
    modes[0].name = platformName;
    failures = 0;
    calls = 0;
    signal(SIGFPE, OnTrap);
    _mm_setcsr((_mm_getcsr() | (kAllBits << 7)) & ~(unsigned)kAllBits);
    SetX87Control((unsigned short)(X87Control() | kAllBits));
    ClearX87Flags();
    quietMxcsr = _mm_getcsr();
    quietX87 = X87Control();

    ((SetMessageCallbackFn)lookup("SetMessageCallback"))(Silent, NULL);
    if (!PrepareTable()) {
        fprintf(stderr, "fp sweep: GetKijHardWired or ViscParam not found\n");
        return 1;
    }
    /* OpenProps sweeps the table's own doubles. */
    for (int b = 0; b < kBaselines; ++b)
        if (strcmp(baselines[b].name, "OpenProps") == 0) {
            for (int i = 0; i < N; ++i)
                memcpy(baselines[b].a + i * kRecordDoubles, &table[i].mw,
                       kRecordDoubles * sizeof(double));
            memcpy(baselines[b].a + N * kRecordDoubles, kijpr, sizeof kijpr);
            memcpy(baselines[b].a + N * kRecordDoubles + N * N, kijsrk, sizeof kijsrk);
        }
    OpenTable();
    for (int m = 0; m < 3; ++m) {
        for (int b = 0; b < kBaselines; ++b) Sweep(&modes[m], &baselines[b]);
        Reproductions(&modes[m]);
    }
    ((ClosePropsFn)lookup("CloseProps"))();
    signal(SIGFPE, SIG_DFL);
    printf("fp sweep: %d calls in %d modes, %d failure(s)\n", calls, 3, failures);
    return failures;
}
