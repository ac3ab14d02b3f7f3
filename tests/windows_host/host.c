/* A Windows host in miniature: loads vantaro.dll with LoadLibrary, finds the
 * exports with GetProcAddress and calls them the way a real host does, with
 * the floating-point exceptions invalid, zero-divide and overflow unmasked
 * (as many Windows hosts run). Checks results for plausibility and that
 * every call hands back the host's control word untouched.
 *
 *   vantaro_host [path-to-vantaro.dll]   runs the checks; exit 0 = all passed
 *   vantaro_host --crash                 dies of an access violation (the
 *                                        test harness must report a failure)
 *
 * Last, it runs the floating-point sweep shared with the Linux host
 * (tests/fp_host/fp_sweep.h).
 *
 * Exports of subsystems that are not in every build yet (Prop3, IsoVapDp,
 * NewTwoPhaseDp, SonicVelocity, PressureChoke, FormatSigFigs, ExtFormat)
 * are optional: when GetProcAddress does not find one, the host says so and skips its checks. Each one becomes required,
 * and its type is checked against the header, once the public header
 * declares it (the build defines VANTARO_HOST_DECLARES_<name>);
 * VANTARO_HOST_REQUIRE_ALL requires all of them. */
#include <windows.h>
#include <oleauto.h>

#include <float.h>
#include <math.h>
#include <stdio.h>
#include <string.h>
#include <wchar.h>

#include "fp_sweep.h"
#include "vantaro/vantaro.h"

/* VANTARO_HOST_DECLARES_<name>: the public header declares the export (set
 * by the build), so the DLL must have it and its type is checked. */
#if defined(VANTARO_HOST_DECLARES_Prop3) || defined(VANTARO_HOST_REQUIRE_ALL)
#  define PROP3_REQUIRED 1
#else
#  define PROP3_REQUIRED 0
#endif
#if defined(VANTARO_HOST_DECLARES_IsoVapDp) || defined(VANTARO_HOST_REQUIRE_ALL)
#  define ISOVAPDP_REQUIRED 1
#else
#  define ISOVAPDP_REQUIRED 0
#endif
#if defined(VANTARO_HOST_DECLARES_NewTwoPhaseDp) || defined(VANTARO_HOST_REQUIRE_ALL)
#  define NEWTWOPHASEDP_REQUIRED 1
#else
#  define NEWTWOPHASEDP_REQUIRED 0
#endif
#if defined(VANTARO_HOST_DECLARES_SonicVelocity) || defined(VANTARO_HOST_REQUIRE_ALL)
#  define SONICVELOCITY_REQUIRED 1
#else
#  define SONICVELOCITY_REQUIRED 0
#endif
#if defined(VANTARO_HOST_DECLARES_PressureChoke) || defined(VANTARO_HOST_REQUIRE_ALL)
#  define PRESSURECHOKE_REQUIRED 1
#else
#  define PRESSURECHOKE_REQUIRED 0
#endif
#if defined(VANTARO_HOST_DECLARES_FormatSigFigs) || defined(VANTARO_HOST_REQUIRE_ALL)
#  define FORMATSIGFIGS_REQUIRED 1
#else
#  define FORMATSIGFIGS_REQUIRED 0
#endif
#if defined(VANTARO_HOST_DECLARES_ExtFormat) || defined(VANTARO_HOST_REQUIRE_ALL)
#  define EXTFORMAT_REQUIRED 1
#else
#  define EXTFORMAT_REQUIRED 0
#endif

/* Status-word bits of _statusfp (MinGW's <float.h> lacks the _SW_ names). */
#define SW_OVERFLOW 0x4u
#define SW_ZERODIVIDE 0x8u
#define SW_INVALID 0x10u
#define SW_INEXACT 0x1u

static int failures = 0;
#define CHECK(cond)                                                              \
    do {                                                                         \
        if (!(cond)) {                                                           \
            fprintf(stderr, "host.c:%d: check failed: %s\n", __LINE__, #cond);   \
            ++failures;                                                          \
        }                                                                        \
    } while (0)
#define CLOSE(a, b, tol) (fabs((a) - (b)) <= (tol))

/* --- the control word the host runs with -------------------------------- */

static const unsigned int kHostFields = _MCW_EM | _MCW_RC;
static unsigned int hostControl;

static unsigned int ControlWord(void) {
    unsigned int cw = 0;
    _controlfp_s(&cw, 0, 0);
    return cw & kHostFields;
}

/* After every export: the host's control word must be as it was. */
static void AfterCall(const char *what) {
    unsigned int cw = ControlWord();
    if (cw != hostControl) {
        fprintf(stderr, "%s changed the host's control word: %#x -> %#x\n", what, hostControl, cw);
        ++failures;
    }
}

/* --- export table ---------------------------------------------------------- */

typedef void(__cdecl *SetMessageCallbackFn)(VantaroMessageFn, void *);
typedef void(__cdecl *OpenPropsFn)(int32_t, const CompRecord *, const double *, const double *);
typedef void(__cdecl *ClosePropsFn)(void);
typedef int32_t(__cdecl *MixtureFn)(const double *, double *);
typedef int32_t(__cdecl *EstimateKijFn)(int32_t, int32_t, int32_t, double *);
typedef void(__cdecl *GetKijHardWiredFn)(int32_t, int32_t, int32_t, int32_t, int32_t, double *);
typedef int32_t(__cdecl *Prop3Fn)(int32_t method, int32_t hmethod, double *t, double *p,
                                  const double *z, double *y, double *x, double *xw, double *xl,
                                  int32_t *phases, double *frac, double *h, double *s, double *cp,
                                  double *v, double *molwt, double tguess, const double *tol);
typedef int32_t(__cdecl *IsoVapDpFn)(int32_t method, double p2, double w, const StreamState *up,
                                     const StreamState *down, const PipeSegment *pipe,
                                     FlowResult *out, int32_t rescale, double guess, double tol);
typedef int32_t(__cdecl *NewTwoPhaseDpFn)(int32_t friction, int32_t method2p, int32_t n,
                                          int32_t unused4, int32_t method, int32_t hmethod,
                                          const PipeSegment *pipe, FlowResult *out, double w,
                                          double *p, const double *h, const double *z, double *t,
                                          double *v, double *unused15, const double *tol,
                                          int32_t unused17, int32_t elevation, int32_t passes,
                                          int32_t correction);
typedef int32_t(__cdecl *SonicVelocityFn)(int32_t method, int32_t hmethod, double p, double t,
                                          double hin, const double *z, double mwin, double rho,
                                          double cpin, double *c, const double *tol);
typedef int32_t(__cdecl *PressureChokeFn)(int32_t method, int32_t hmethod, double area,
                                          double massflow, double hin, double *p, const double *t,
                                          const double *z, const double *tol, double *rhoout,
                                          double *vel, double *mach, int32_t precise, int32_t dir);
typedef int32_t(__cdecl *FormatSigFigsFn)(BSTR *out, double value, int32_t digits);
typedef BSTR(__cdecl *ExtFormatFn)(double value, double scale, double offset, const char *format);

/* Once the header declares an export, its type there must be the one the
 * host calls it through. */
#define SAME_TYPE_AS_HEADER(fn, type) \
    _Static_assert(__builtin_types_compatible_p(__typeof__(&fn), type), #fn ": host type differs from the header")
SAME_TYPE_AS_HEADER(SetMessageCallback, SetMessageCallbackFn);
SAME_TYPE_AS_HEADER(OpenProps, OpenPropsFn);
SAME_TYPE_AS_HEADER(CloseProps, ClosePropsFn);
SAME_TYPE_AS_HEADER(MolWeight, MixtureFn);
SAME_TYPE_AS_HEADER(PseudoPc, MixtureFn);
SAME_TYPE_AS_HEADER(PseudoTc, MixtureFn);
SAME_TYPE_AS_HEADER(EstimateKij, EstimateKijFn);
SAME_TYPE_AS_HEADER(GetKijHardWired, GetKijHardWiredFn);
#ifdef VANTARO_HOST_DECLARES_Prop3
SAME_TYPE_AS_HEADER(Prop3, Prop3Fn);
#endif
#ifdef VANTARO_HOST_DECLARES_IsoVapDp
SAME_TYPE_AS_HEADER(IsoVapDp, IsoVapDpFn);
#endif
#ifdef VANTARO_HOST_DECLARES_NewTwoPhaseDp
SAME_TYPE_AS_HEADER(NewTwoPhaseDp, NewTwoPhaseDpFn);
#endif
#ifdef VANTARO_HOST_DECLARES_SonicVelocity
SAME_TYPE_AS_HEADER(SonicVelocity, SonicVelocityFn);
#endif
#ifdef VANTARO_HOST_DECLARES_PressureChoke
SAME_TYPE_AS_HEADER(PressureChoke, PressureChokeFn);
#endif
#ifdef VANTARO_HOST_DECLARES_FormatSigFigs
SAME_TYPE_AS_HEADER(FormatSigFigs, FormatSigFigsFn);
#endif
#ifdef VANTARO_HOST_DECLARES_ExtFormat
SAME_TYPE_AS_HEADER(ExtFormat, ExtFormatFn);
#endif

static HMODULE dll;

/* GetProcAddress's result as a generic function pointer, which converts to
 * every export's own type. */
typedef void (*AnyFn)(void);
static AnyFn Lookup(const char *name) { return (AnyFn)GetProcAddress(dll, name); }

static AnyFn Required(const char *name) {
    AnyFn f = Lookup(name);
    if (!f) {
        fprintf(stderr, "export %s not found\n", name);
        ++failures;
    }
    return f;
}

static AnyFn Optional(const char *name, int required) {
    AnyFn f = Lookup(name);
    if (!f) {
        if (required) {
            fprintf(stderr, "export %s not found\n", name);
            ++failures;
        } else {
            printf("%-14s not present yet: skipped\n", name);
        }
    }
    return f;
}

/* --- messages --------------------------------------------------------------- */

static int messages = 0;
static void __cdecl OnMessage(const char *caption, const char *text, void *user) {
    (void)text;
    (void)user;
    ++messages;
    CHECK(strcmp(caption, "Vantaro") == 0);
}

/* --- the component table: methane, ethane, propane, water ------------------ */

static CompRecord Component(int32_t code, int32_t family, double mw, double liqden, double tb,
                            double pc, double tc, double vc, double vstar, double omega,
                            double omegasrk, const double ig[7]) {
    CompRecord r;
    memset(&r, 0, sizeof r);
    r.code = code;
    r.family = family;
    r.mw = mw;
    r.liqden = liqden;
    r.tb = tb;
    r.classnum = 1;
    r.pc = pc;
    r.tc = tc;
    r.vc = vc;
    r.vstar = vstar;
    r.omega = omega;
    r.omegasrk = omegasrk;
    r.iga = ig[0];
    r.igb = ig[1];
    r.igc = ig[2];
    r.igd = ig[3];
    r.ige = ig[4];
    r.igf = ig[5];
    r.igg = ig[6];
    r.visca = VANTARO_MISSING;
    r.viscb = VANTARO_MISSING;
    return r;
}

enum { N = 4 };
static CompRecord table[N];
static double kijpr[N * N], kijsrk[N * N];

static void BuildTable(GetKijHardWiredFn getKij) {
    static const double igMethane[7] = {0, 37.97981376, -0.037310511, 0.0001006309864,
                                        -7.08172206e-08, 1.814184624e-11, -1.161929324};
    static const double igEthane[7] = {0, 34.73722896, -0.01840374732, 0.000156863504,
                                       -1.382463558e-07, 4.135542768e-11, 0.866875208};
    static const double igPropane[7] = {0, 31.98518904, 0.02133038796, 0.0001665912584,
                                        -1.640623194e-07, 5.119958256e-11, 1.324408295};
    static const double igWater[7] = {-767, 36.5414364, -0.01740187176, 3.8938732e-05,
                                      -3.25089912e-08, 1.050930048e-11, -0.7287551362};
    table[0] = Component(1, 0, 16.04246, 299.5649197, 111.6672055, 4599.2, 190.564,
                         0.09862781099, 0.09939, 0.01142, 0.0074, igMethane);
    table[1] = Component(2, 0, 30.06904, 355.9291273, 184.5685878, 4872.2, 305.322,
                         0.1458387816, 0.1458, 0.0995, 0.0983, igEthane);
    table[2] = Component(3, 0, 44.09562, 506.6890509, 231.0362479, 4251.2, 369.89, 0.2,
                         0.2001, 0.1521, 0.1532, igPropane);
    table[3] = Component(61, 11, 18.01528, 998.9707019, 373.1242958, 22064, 647.096,
                         0.05594803727, 0.04357, 0.3443, 0.3852, igWater);
    for (int i = 0; i < N; ++i) {
        for (int j = 0; j < N; ++j) {
            getKij(1, table[i].code, table[i].family, table[j].code, table[j].family,
                   &kijpr[i * N + j]);
            AfterCall("GetKijHardWired");
            getKij(2, table[i].code, table[i].family, table[j].code, table[j].family,
                   &kijsrk[i * N + j]);
            AfterCall("GetKijHardWired");
        }
    }
}

/* --- workspace and mixture averages ---------------------------------------- */

static void CheckWorkspace(void) {
    SetMessageCallbackFn setCallback = (SetMessageCallbackFn)Required("SetMessageCallback");
    OpenPropsFn openProps = (OpenPropsFn)Required("OpenProps");
    ClosePropsFn closeProps = (ClosePropsFn)Required("CloseProps");
    MixtureFn molWeight = (MixtureFn)Required("MolWeight");
    MixtureFn pseudoPc = (MixtureFn)Required("PseudoPc");
    MixtureFn pseudoTc = (MixtureFn)Required("PseudoTc");
    EstimateKijFn estimateKij = (EstimateKijFn)Required("EstimateKij");
    GetKijHardWiredFn getKij = (GetKijHardWiredFn)Required("GetKijHardWired");
    if (!setCallback || !openProps || !closeProps || !molWeight || !pseudoPc || !pseudoTc ||
        !estimateKij || !getKij)
        return;

    setCallback(OnMessage, NULL);
    AfterCall("SetMessageCallback");
    BuildTable(getKij);
    openProps(N, table, kijpr, kijsrk);
    AfterCall("OpenProps");
    CHECK(messages == 0);

    /* 90 % methane, 7 % ethane, 3 % propane: 18.85 kg/kmol. */
    double gas[N] = {0.90, 0.07, 0.03, 0.0};
    double r = 0;
    CHECK(molWeight(gas, &r) == 1);
    AfterCall("MolWeight");
    CHECK(CLOSE(r, 0.90 * 16.04246 + 0.07 * 30.06904 + 0.03 * 44.09562, 1e-9));
    printf("MolWeight      %.6f kg/kmol\n", r);
    CHECK(pseudoPc(gas, &r) == 1);
    AfterCall("PseudoPc");
    CHECK(CLOSE(r, 0.90 * 4599.2 + 0.07 * 4872.2 + 0.03 * 4251.2, 1e-6));
    CHECK(pseudoTc(gas, &r) == 1);
    AfterCall("PseudoTc");
    CHECK(CLOSE(r, 0.90 * 190.564 + 0.07 * 305.322 + 0.03 * 369.89, 1e-9));

    /* An absent composition, and null results, come back as failures. */
    double absent[N] = {VANTARO_MISSING, 0, 0, 0};
    CHECK(molWeight(absent, &r) == 0 && r == VANTARO_MISSING);
    CHECK(molWeight(NULL, &r) == 0 && r == VANTARO_MISSING);
    CHECK(molWeight(gas, NULL) == 0);
    AfterCall("MolWeight");

    /* Overflow inside the engine while the host has overflow unmasked: no
     * trap, and the unmasked flag is not handed back (it would trap later). */
    double huge[N] = {1e308, 1e308, 0, 0};
    _clearfp();
    CHECK(molWeight(huge, &r) == 1);
    AfterCall("MolWeight (overflow)");
    CHECK(isinf(r));
    CHECK((_statusfp() & SW_OVERFLOW) == 0);
    /* A masked flag (inexact) raised inside is handed back. */
    _clearfp();
    CHECK(molWeight(gas, &r) == 1);
    CHECK((_statusfp() & SW_INEXACT) != 0);
    _clearfp();

    double kij = 0;
    CHECK(estimateKij(1, 0, 2, &kij) == -1);
    AfterCall("EstimateKij");
    printf("EstimateKij    PR methane/propane %.5f\n", kij);
    CHECK(isfinite(kij) && fabs(kij) < 0.5);
    CHECK(estimateKij(1, 0, N, &kij) == 0 && kij == 0);
}

/* --- optional: stream flash ------------------------------------------------- */

static void CheckProp3(void) {
    Prop3Fn prop3 = (Prop3Fn)Optional("Prop3", PROP3_REQUIRED);
    if (!prop3) return;
    double tol[4] = {0.01, 0.1, 0.001, 1e-6};
    double y[N], x[N], xw[N], xl[N];
    int32_t phases[3];
    double frac[5], h[5], s[5], cp[5], v[5], mw[5];

    /* Natural gas at 300 K and 5000 kPa, Peng-Robinson: all vapour, molar
     * volume near Z R T / P with Z about 0.9 (0.45 m3/kmol). */
    double gas[N] = {0.90, 0.07, 0.03, 0.0};
    double t = 300, p = 5000;
    frac[0] = h[3] = s[3] = VANTARO_MISSING;
    int32_t st = prop3(1, 1, &t, &p, gas, y, x, xw, xl, phases, frac, h, s, cp, v, mw,
                       VANTARO_MISSING, tol);
    AfterCall("Prop3");
    printf("Prop3 TP       status %d, vapour fraction %.4f, v %.4f m3/kmol, MW %.4f\n", st,
           frac[0], v[3], mw[3]);
    CHECK(st == 0);
    CHECK(phases[0] != 0 && CLOSE(frac[0], 1.0, 1e-9));
    CHECK(v[0] > 0.38 && v[0] < 0.50);
    CHECK(CLOSE(mw[3], 0.90 * 16.04246 + 0.07 * 30.06904 + 0.03 * 44.09562, 1e-6));
    CHECK(isfinite(h[3]) && isfinite(s[3]) && cp[3] > 0);

    /* Bubble point of propane at 101.325 kPa: about 231 K. */
    double c3[N] = {0, 0, 1, 0};
    t = VANTARO_MISSING;
    p = 101.325;
    frac[0] = 0.0;
    h[3] = s[3] = VANTARO_MISSING;
    st = prop3(1, 1, &t, &p, c3, y, x, xw, xl, phases, frac, h, s, cp, v, mw, VANTARO_MISSING,
               tol);
    AfterCall("Prop3");
    printf("Prop3 bubble   status %d, propane boils at %.2f K\n", st, t);
    CHECK(st == 0);
    CHECK(t > 228 && t < 234);

    /* Both state variables missing is an invalid specification. */
    t = p = VANTARO_MISSING;
    frac[0] = h[3] = s[3] = VANTARO_MISSING;
    CHECK(prop3(1, 1, &t, &p, gas, y, x, xw, xl, phases, frac, h, s, cp, v, mw,
                VANTARO_MISSING, tol) == 4);
    AfterCall("Prop3");
}

/* --- optional: isothermal vapour line ---------------------------------------- */

static void CheckIsoVapDp(void) {
    IsoVapDpFn isoVapDp = (IsoVapDpFn)Optional("IsoVapDp", ISOVAPDP_REQUIRED);
    if (!isoVapDp) return;
    /* 10 t/h of gas (5 kg/m3, 0.011 cP) through 100 m of 6 in pipe into 5 bar. */
    StreamState gas;
    memset(&gas, 0, sizeof gas);
    gas.pref = 5;
    gas.vfrac = 1;
    gas.mixmw = gas.vapmw = 20;
    gas.mixden = gas.vapden = 5;
    gas.mixvisc = gas.vapvisc = 0.011;
    gas.mixcp = gas.vapcp = 40;
    gas.liqmw = 20;
    gas.liqden = 500;
    PipeSegment pipe = {100, 6, 0, 0, 0, 0.0018, 0.0018, 1};
    FlowResult out;
    memset(&out, 0, sizeof out);
    const double p2 = 5, w = 10000;
    CHECK(isoVapDp(1, p2, w, &gas, &gas, &pipe, &out, 0, VANTARO_MISSING, 1e-8) == -1);
    AfterCall("IsoVapDp");
    printf("IsoVapDp       upstream %.5f bar, Re %.0f, f %.5f\n", out.p, out.re, out.fric);
    CHECK(out.regime == 0);
    CHECK(out.p > 5.1 && out.p < 5.5);
    CHECK(out.fric > 0.01 && out.fric < 0.03);
    CHECK(out.re > 1e5 && out.re < 1e8);
    /* The result satisfies the isothermal flow equation at constant density. */
    const double d = 0.0254 * pipe.dia, area = 0.0005067075 * pipe.dia * pipe.dia;
    const double g = w / 3600 / area, p1 = out.p * 1e5, p2pa = p2 * 1e5;
    const double rhs = p2pa + g * g / gas.mixden *
                                  (2 * out.fric / 4 * (pipe.len * pipe.lenmult + out.leq) / d +
                                   log(p1 / p2pa));
    CHECK(fabs(rhs - p1) / p1 < 1e-6);

    /* A pipe with nothing in it: the downstream pressure and the marker. */
    PipeSegment none = {0, 6, 0, 0, 0, 0.0018, 0.0018, 1};
    CHECK(isoVapDp(1, p2, w, &gas, &gas, &none, &out, 0, VANTARO_MISSING, 1e-8) == -1);
    AfterCall("IsoVapDp");
    CHECK(out.p == p2 && out.regime == -32767);
}

/* --- optional: two-phase line ------------------------------------------------- */

static void CheckNewTwoPhaseDp(void) {
    NewTwoPhaseDpFn twoPhase = (NewTwoPhaseDpFn)Optional("NewTwoPhaseDp", NEWTWOPHASEDP_REQUIRED);
    Prop3Fn prop3 = (Prop3Fn)Lookup("Prop3");
    if (!twoPhase || !prop3) return;
    double tol[4] = {0.01, 0.1, 0.001, 1e-6};
    double y[N], x[N], xw[N], xl[N];
    int32_t phases[3];
    double frac[5], h[5], s[5], cp[5], v[5], mw[5];
    /* Gas with 5 % propane and 5 % water relieved at 300 K and 10 bar into
     * 2 bar through 50 m of 4 in pipe: water condenses, the line carries
     * gas and liquid. */
    double feed[N] = {0.82, 0.08, 0.05, 0.05};
    double t = 300, pk = 1000;
    frac[0] = h[3] = s[3] = VANTARO_MISSING;
    CHECK(prop3(1, 1, &t, &pk, feed, y, x, xw, xl, phases, frac, h, s, cp, v, mw,
                VANTARO_MISSING, tol) == 0);
    enum { SEG = 4 };
    double p[SEG + 1] = {0, 0, 0, 0, 2.0}, hn[SEG + 1], tn[SEG + 1], vn[SEG + 1];
    for (int i = 0; i <= SEG; ++i) hn[i] = h[3];
    PipeSegment pipe = {50, 4.026, 0, 0, 0, 0.0018, 0.0018, 1};
    FlowResult out;
    memset(&out, 0, sizeof out);
    int32_t st = twoPhase(1, VANTARO_TWOPHASE_BEGGS_BRILL, SEG, 0, 1, 1, &pipe, &out, 3000.0, p,
                          hn, feed, tn, vn, NULL, tol, 0, 0, 2, 0);
    AfterCall("NewTwoPhaseDp");
    printf("NewTwoPhaseDp  upstream %.5f bar, %.2f C to %.2f C, regime %d\n", out.p, tn[0],
           tn[SEG], out.regime);
    CHECK(st == -1);
    CHECK(out.p > 2.0 && out.p < 3.0 && out.p == p[0]);
    CHECK(tn[0] > tn[SEG] && vn[0] < vn[SEG]);
    CHECK(out.dpfric > 0 && out.holdup > 0 && out.holdup < 1);
    /* A NaN mass flow is refused without trapping in this host. */
    st = twoPhase(1, VANTARO_TWOPHASE_BEGGS_BRILL, SEG, 0, 1, 1, &pipe, &out, NAN, p, hn, feed,
                  tn, vn, NULL, tol, 0, 0, 2, 0);
    AfterCall("NewTwoPhaseDp");
    CHECK(st == 0 && out.p == VANTARO_MISSING && out.regime == -32767);
}

/* --- optional: sonic velocity and choke pressure ----------------------------- */

static void CheckSonic(void) {
    SonicVelocityFn sonic = (SonicVelocityFn)Optional("SonicVelocity", SONICVELOCITY_REQUIRED);
    PressureChokeFn choke = (PressureChokeFn)Optional("PressureChoke", PRESSURECHOKE_REQUIRED);
    Prop3Fn prop3 = (Prop3Fn)Lookup("Prop3");
    if (!sonic || !choke || !prop3) return;
    double tol[4] = {0.01, 0.1, 0.001, 1e-4};
    double gas[N] = {0.90, 0.07, 0.03, 0.0};
    const double mw = 0.90 * 16.04246 + 0.07 * 30.06904 + 0.03 * 44.09562;

    /* The natural gas at 300 K and 1000 kPa: about 420 m/s. */
    double c = 0;
    CHECK(sonic(1, 1, 1000, 300, VANTARO_MISSING, gas, mw, 0, 0, &c, tol) == 1);
    AfterCall("SonicVelocity");
    printf("SonicVelocity  gas at 300 K, 1000 kPa: %.2f m/s\n", c);
    CHECK(c > 400 && c < 440);
    /* The ideal-gas formula: air-like values give 343.8 m/s. */
    CHECK(sonic(0, 0, 101.325, 300, VANTARO_MISSING, NULL, 29, 1.2, 29.1, &c, NULL) == 1);
    CHECK(CLOSE(c, 343.8, 0.05));
    /* NaN and negative pressures are refused without a trap. */
    CHECK(sonic(1, 1, NAN, 300, VANTARO_MISSING, gas, mw, 0, 0, &c, tol) == 0);
    CHECK(c == VANTARO_MISSING);
    CHECK(sonic(1, 1, -1, 300, VANTARO_MISSING, gas, mw, 0, 0, &c, tol) == 0);
    AfterCall("SonicVelocity");

    /* Choke pressure of 10 t/h of that gas (relieved at 300 K, 1000 kPa)
     * through 0.01 m2: about G sqrt(R T/(gamma M)), some 90 kPa. */
    double y[N], x[N], xw[N], xl[N], frac[5], h[5], s[5], cp[5], v[5], molwt[5];
    int32_t phases[3];
    double t = 300, p = 1000;
    frac[0] = h[3] = s[3] = VANTARO_MISSING;
    CHECK(prop3(1, 1, &t, &p, gas, y, x, xw, xl, phases, frac, h, s, cp, v, molwt,
                VANTARO_MISSING, tol) == 0);
    double pc = 101.325, rho = 0, vel = 0, mach = 0;
    CHECK(choke(1, 1, 0.01, 10000, h[3], &pc, &t, gas, tol, &rho, &vel, &mach, 0, 1) == 1);
    AfterCall("PressureChoke");
    printf("PressureChoke  %.3f kPa, %.3f kg/m3, %.2f m/s, Mach %.6f\n", pc, rho, vel, mach);
    CHECK(pc > 70 && pc < 110);
    CHECK(CLOSE(mach, 1.0, 1e-4));
    CHECK(CLOSE(rho * vel, 10000 / 3600.0 / 0.01, 1e-6));
    /* A NaN area is refused: the pressure stays. */
    pc = 101.325;
    CHECK(choke(1, 1, NAN, 10000, h[3], &pc, &t, gas, tol, &rho, &vel, &mach, 0, 1) == 0);
    CHECK(pc == 101.325 && mach == VANTARO_MISSING);
    AfterCall("PressureChoke");
}

/* --- optional: number formatting into host strings -------------------------- */

static int Equals(BSTR s, const wchar_t *expected) {
    return s && SysStringLen(s) == wcslen(expected) && wcscmp(s, expected) == 0;
}

static void CheckFormatting(void) {
    FormatSigFigsFn formatSigFigs = (FormatSigFigsFn)Optional("FormatSigFigs", FORMATSIGFIGS_REQUIRED);
    if (formatSigFigs) {
        BSTR s = SysAllocString(L"old text");
        CHECK(formatSigFigs(&s, 1.5, 4) == 1);
        AfterCall("FormatSigFigs");
        CHECK(Equals(s, L"1.500"));
        CHECK(formatSigFigs(&s, 7, 2) == 1 && Equals(s, L"7.0"));
        CHECK(formatSigFigs(&s, 0.00012, 3) == 1 && Equals(s, L"0.000120"));
        /* The exponent: three digits with the Windows C run-time. */
        CHECK(formatSigFigs(&s, 1.5e-10, 3) == 1);
        printf("FormatSigFigs  1.5e-10 to 3 digits: %ls\n", s ? s : L"(null)");
        CHECK(Equals(s, L"1.50e-010") || Equals(s, L"1.50e-10"));
        CHECK(formatSigFigs(&s, 1.5, 0) == 0);
        CHECK(formatSigFigs(&s, 1.5, 10) == 0);
        AfterCall("FormatSigFigs");
        SysFreeString(s);
    }
    ExtFormatFn extFormat = (ExtFormatFn)Optional("ExtFormat", EXTFORMAT_REQUIRED);
    if (extFormat) {
        /* A byte string: the formatted bytes, not widened. */
        BSTR s = extFormat(300, 1.8, -459.67, "%.1f");
        AfterCall("ExtFormat");
        CHECK(s && SysStringByteLen(s) == 4 && memcmp(s, "80.3", 4) == 0);
        SysFreeString(s);
        s = extFormat(VANTARO_MISSING, 1, 0, "%.1f");
        CHECK(s && SysStringByteLen(s) == 0);
        SysFreeString(s);
    }
}

/* --- version ---------------------------------------------------------------- */

typedef void(__cdecl *VantaroVersionFn)(int32_t *major, int32_t *minor, int32_t *patch);
SAME_TYPE_AS_HEADER(VantaroVersion, VantaroVersionFn);

/* The DLL reports the version of the header this host was compiled with. */
static void CheckVersion(void) {
    VantaroVersionFn version = (VantaroVersionFn)Required("VantaroVersion");
    if (!version)
        return;
    int32_t major = -1, minor = -1, patch = -1;
    version(&major, &minor, &patch);
    version(NULL, NULL, NULL);
    AfterCall("VantaroVersion");
    CHECK(major == VANTARO_VERSION_MAJOR && minor == VANTARO_VERSION_MINOR &&
          patch == VANTARO_VERSION_PATCH);
    printf("VantaroVersion %d.%d.%d\n", (int)major, (int)minor, (int)patch);
}

/* --- the floating-point sweep (tests/fp_host/fp_sweep.h) ------------------ */

static FpSweepFn SweepLookup(const char *name) { return (FpSweepFn)GetProcAddress(dll, name); }

/* As this host runs: invalid, zero-divide and overflow unmasked. */
static void SweepUnmask(void) {
    unsigned int unused = 0;
    _controlfp_s(&unused, _EM_INEXACT | _EM_UNDERFLOW | _EM_DENORMAL, _MCW_EM);
}

int main(int argc, char **argv) {
    if (argc > 1 && strcmp(argv[1], "--crash") == 0) {
        volatile int *nowhere = NULL;
        *nowhere = 1;
        return 0;
    }
    const char *path = argc > 1 ? argv[1] : "vantaro.dll";
    dll = LoadLibraryA(path);
    if (!dll) {
        fprintf(stderr, "cannot load %s (error %lu)\n", path, (unsigned long)GetLastError());
        return 1;
    }
    /* Run like a host that wants to hear about invalid operations, division
     * by zero and overflow: those three unmasked. */
    unsigned int unused = 0;
    _controlfp_s(&unused, _EM_INEXACT | _EM_UNDERFLOW | _EM_DENORMAL, _MCW_EM);
    hostControl = ControlWord();

    CheckVersion();
    CheckWorkspace();
    CheckProp3();
    CheckIsoVapDp();
    CheckNewTwoPhaseDp();
    CheckSonic();
    CheckFormatting();

    ClosePropsFn closeProps = (ClosePropsFn)Lookup("CloseProps");
    if (closeProps) {
        closeProps();
        closeProps();
        AfterCall("CloseProps");
    }
    /* Every export with special values in each double it reads, exceptions
     * unmasked through _controlfp_s, in MXCSR only and in the x87 unit only. */
    failures += FpSweepRun(SweepLookup, SweepUnmask, "_controlfp_s");
    _controlfp_s(&unused, _MCW_EM, _MCW_EM);
    FreeLibrary(dll);
    if (failures) {
        fprintf(stderr, "%d check(s) failed\n", failures);
        return 1;
    }
    printf("all host checks passed\n");
    return 0;
}
