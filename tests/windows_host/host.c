// A Windows host in miniature: loads vantaro.dll with LoadLibrary, finds the
// exports with GetProcAddress and calls them the way a real host does, with
// the floating-point exceptions invalid, zero-divide and overflow unmasked
// (as many Windows hosts run). Checks results for plausibility and that
// every call hands back the host's control word untouched. Each export is
// called through the type the public header gives it.
//
//   vantaro_host [path-to-vantaro.dll]   runs the checks; exit 0 = all passed
//   vantaro_host --crash                 dies of an access violation (the
//                                        test harness must report a failure)
//
// Last, it runs the floating-point sweep shared with the Linux host
// (tests/fp_host/fp_sweep.h).
#include <windows.h>
#include <oleauto.h>

#include <float.h>
#include <math.h>
#include <stdio.h>
#include <string.h>
#include <wchar.h>

#include "fp_sweep.h"

// Status-word bits of _statusfp (MinGW's <float.h> lacks the _SW_ names).
#define SW_OVERFLOW 0x4u
#define SW_INEXACT 0x1u

static HMODULE dll;
static int failures = 0;
static unsigned int hostControl;

static unsigned int ControlWord(void) {
    unsigned int cw = 0;
    _controlfp_s(&cw, 0, 0);
    return cw & (_MCW_EM | _MCW_RC);
}

// A failed check, and after every export call (the checks make them) a
// control word that is not the host's, count as failures.
static void Check(int ok, const char *what, int line) {
    const unsigned int cw = ControlWord();
    if (!ok) fprintf(stderr, "host.c:%d: check failed: %s\n", line, what);
    if (cw != hostControl)
        fprintf(stderr, "host.c:%d: the control word changed: %#x -> %#x\n", line, hostControl, cw);
    failures += !ok + (cw != hostControl);
}
#define CHECK(cond) Check((cond) != 0, #cond, __LINE__)
#define CLOSE(a, b, tol) (fabs((a) - (b)) <= (tol))

// GetProcAddress's result as a generic function pointer, which converts to
// every export's own type; FN gives the export the header's type (main
// checks first that each exists).
static FpSweepFn Lookup(const char *name) { return (FpSweepFn)GetProcAddress(dll, name); }
#define FN(name) ((__typeof__(&name))Lookup(#name))

enum { N = FP_SWEEP_COMPONENTS };
static CompRecord table[N];
static double kijpr[N * N], kijsrk[N * N];
static const double kGas[N] = {0.90, 0.07, 0.03, 0.0};
static const double kGasMw = 0.90 * 16.04246 + 0.07 * 30.06904 + 0.03 * 44.09562;
static const double kTol[4] = {0.01, 0.1, 0.001, 1e-6};

static int messages = 0;
static void __cdecl OnMessage(const char *caption, const char *text, void *user) {
    (void)text, (void)user;
    ++messages;
    if (strcmp(caption, "Vantaro") != 0) ++failures;
}

// --- version, workspace and mixture averages ----------------------------------

static void CheckVersion(void) {
    int32_t major = -1, minor = -1, patch = -1;
    FN(VantaroVersion)(&major, &minor, &patch);
    FN(VantaroVersion)(NULL, NULL, NULL);
    // The DLL reports the version of the header this host was compiled with.
    CHECK(major == VANTARO_VERSION_MAJOR && minor == VANTARO_VERSION_MINOR &&
          patch == VANTARO_VERSION_PATCH);
    printf("VantaroVersion %d.%d.%d\n", (int)major, (int)minor, (int)patch);
}

static void CheckWorkspace(void) {
    FN(SetMessageCallback)(OnMessage, NULL);
    CHECK(FpSweepTable(Lookup, table, kijpr, kijsrk));
    FN(OpenProps)(N, table, kijpr, kijsrk);
    CHECK(messages == 0);

    double r = 0, kij = 0;
    CHECK(FN(MolWeight)(kGas, &r) == 1 && CLOSE(r, kGasMw, 1e-9));
    printf("MolWeight      %.6f kg/kmol\n", r);
    CHECK(FN(PseudoPc)(kGas, &r) == 1 && CLOSE(r, 0.90 * 4599.2 + 0.07 * 4872.2 + 0.03 * 4251.2, 1e-6));
    CHECK(FN(PseudoTc)(kGas, &r) == 1 && CLOSE(r, 0.90 * 190.564 + 0.07 * 305.322 + 0.03 * 369.89, 1e-9));
    // An absent composition, and null results, come back as failures.
    const double absent[N] = {VANTARO_MISSING, 0, 0, 0};
    CHECK(FN(MolWeight)(absent, &r) == 0 && r == VANTARO_MISSING);
    CHECK(FN(MolWeight)(NULL, &r) == 0 && r == VANTARO_MISSING);
    CHECK(FN(MolWeight)(kGas, NULL) == 0);

    // Overflow inside the engine while the host has overflow unmasked: no
    // trap, and the unmasked flag is not handed back (it would trap later);
    // a masked flag (inexact) raised inside is.
    const double huge[N] = {1e308, 1e308, 0, 0};
    _clearfp();
    CHECK(FN(MolWeight)(huge, &r) == 1 && isinf(r) && (_statusfp() & SW_OVERFLOW) == 0);
    _clearfp();
    CHECK(FN(MolWeight)(kGas, &r) == 1 && (_statusfp() & SW_INEXACT) != 0);
    _clearfp();

    CHECK(FN(EstimateKij)(1, 0, 2, &kij) == -1 && isfinite(kij) && fabs(kij) < 0.5);
    printf("EstimateKij    PR methane/propane %.5f\n", kij);
    CHECK(FN(EstimateKij)(1, 0, N, &kij) == 0 && kij == 0);
}

// --- stream flash ------------------------------------------------------------------

typedef struct Flash {
    double t, p, y[N], x[N], xw[N], xl[N], frac[5], h[5], s[5], cp[5], v[5], mw[5];
    int32_t phases[3];
} Flash;

// Prop3 (Peng-Robinson) at t and p, either MISSING, with vapour fraction vf.
static int32_t Prop3At(Flash *f, double t, double p, double vf, const double *z) {
    f->t = t, f->p = p, f->frac[0] = vf;
    f->h[3] = f->s[3] = VANTARO_MISSING;
    return FN(Prop3)(1, 1, &f->t, &f->p, z, f->y, f->x, f->xw, f->xl, f->phases, f->frac, f->h,
                     f->s, f->cp, f->v, f->mw, VANTARO_MISSING, kTol);
}

static void CheckProp3(void) {
    // Natural gas at 300 K and 5000 kPa: all vapour, molar volume near
    // Z R T / P with Z about 0.9 (0.45 m3/kmol).
    Flash f;
    CHECK(Prop3At(&f, 300, 5000, VANTARO_MISSING, kGas) == 0);
    printf("Prop3 TP       vapour fraction %.4f, v %.4f m3/kmol, MW %.4f\n", f.frac[0], f.v[3], f.mw[3]);
    CHECK(f.phases[0] != 0 && CLOSE(f.frac[0], 1.0, 1e-9) && f.v[0] > 0.38 && f.v[0] < 0.50);
    CHECK(CLOSE(f.mw[3], kGasMw, 1e-6) && isfinite(f.h[3]) && isfinite(f.s[3]) && f.cp[3] > 0);
    // Bubble point of propane at 101.325 kPa: about 231 K.
    const double c3[N] = {0, 0, 1, 0};
    CHECK(Prop3At(&f, VANTARO_MISSING, 101.325, 0.0, c3) == 0 && f.t > 228 && f.t < 234);
    printf("Prop3 bubble   propane boils at %.2f K\n", f.t);
    // Both state variables missing is an invalid specification.
    CHECK(Prop3At(&f, VANTARO_MISSING, VANTARO_MISSING, VANTARO_MISSING, kGas) == 4);
}

// --- pipe lines -------------------------------------------------------------------------

static void CheckIsoVapDp(void) {
    // 10 t/h of gas (5 kg/m3, 0.011 cP) through 100 m of 6 in pipe into 5 bar.
    StreamState gas = {5, 1, 20, 5, 0.011, 40, 0, 20, 5, 0.011, 40, 0, 20, 500, 0, 0, 0};
    PipeSegment pipe = {100, 6, 0, 0, 0, 0.0018, 0.0018, 1};
    FlowResult out;
    const double p2 = 5, w = 10000;
    CHECK(FN(IsoVapDp)(1, p2, w, &gas, &gas, &pipe, &out, 0, VANTARO_MISSING, 1e-8) == -1);
    printf("IsoVapDp       upstream %.5f bar, Re %.0f, f %.5f\n", out.p, out.re, out.fric);
    CHECK(out.regime == 0 && out.p > 5.1 && out.p < 5.5);
    CHECK(out.fric > 0.01 && out.fric < 0.03 && out.re > 1e5 && out.re < 1e8);
    // The result satisfies the isothermal flow equation at constant density.
    const double d = 0.0254 * pipe.dia, area = 0.0005067075 * pipe.dia * pipe.dia;
    const double g = w / 3600 / area, p1 = out.p * 1e5, p2pa = p2 * 1e5;
    const double rhs = p2pa + g * g / gas.mixden *
                                  (2 * out.fric / 4 * (pipe.len * pipe.lenmult + out.leq) / d +
                                   log(p1 / p2pa));
    CHECK(fabs(rhs - p1) / p1 < 1e-6);
    // A pipe with nothing in it: the downstream pressure and the marker.
    pipe.len = 0;
    CHECK(FN(IsoVapDp)(1, p2, w, &gas, &gas, &pipe, &out, 0, VANTARO_MISSING, 1e-8) == -1);
    CHECK(out.p == p2 && out.regime == -32767);
}

static void CheckNewTwoPhaseDp(void) {
    // Gas with 5 % propane and 5 % water relieved at 300 K and 10 bar into
    // 2 bar through 50 m of 4 in pipe: water condenses, the line carries
    // gas and liquid.
    const double feed[N] = {0.82, 0.08, 0.05, 0.05};
    Flash f;
    CHECK(Prop3At(&f, 300, 1000, VANTARO_MISSING, feed) == 0);
    enum { SEG = 4 };
    double p[SEG + 1] = {0, 0, 0, 0, 2.0}, h[SEG + 1], t[SEG + 1], v[SEG + 1];
    for (int i = 0; i <= SEG; ++i) h[i] = f.h[3];
    PipeSegment pipe = {50, 4.026, 0, 0, 0, 0.0018, 0.0018, 1};
    FlowResult out;
    CHECK(FN(NewTwoPhaseDp)(1, VANTARO_TWOPHASE_BEGGS_BRILL, SEG, 0, 1, 1, &pipe, &out, 3000.0, p,
                            h, feed, t, v, NULL, kTol, 0, 0, 2, 0) == -1);
    printf("NewTwoPhaseDp  upstream %.5f bar, %.2f C to %.2f C, regime %d\n", out.p, t[0], t[SEG],
           out.regime);
    CHECK(out.p > 2.0 && out.p < 3.0 && out.p == p[0] && t[0] > t[SEG] && v[0] < v[SEG]);
    CHECK(out.dpfric > 0 && out.holdup > 0 && out.holdup < 1);
    // A NaN mass flow is refused without trapping in this host.
    CHECK(FN(NewTwoPhaseDp)(1, VANTARO_TWOPHASE_BEGGS_BRILL, SEG, 0, 1, 1, &pipe, &out, NAN, p, h,
                            feed, t, v, NULL, kTol, 0, 0, 2, 0) == 0);
    CHECK(out.p == VANTARO_MISSING && out.regime == -32767);
}

// --- sonic velocity and choke pressure -----------------------------------------------------

static void CheckSonic(void) {
    // The natural gas at 300 K and 1000 kPa: about 420 m/s.
    double c = 0;
    CHECK(FN(SonicVelocity)(1, 1, 1000, 300, VANTARO_MISSING, kGas, kGasMw, 0, 0, &c, kTol) == 1);
    printf("SonicVelocity  gas at 300 K, 1000 kPa: %.2f m/s\n", c);
    CHECK(c > 400 && c < 440);
    // The ideal-gas formula: air-like values give 343.8 m/s.
    CHECK(FN(SonicVelocity)(0, 0, 101.325, 300, VANTARO_MISSING, NULL, 29, 1.2, 29.1, &c, NULL) == 1);
    CHECK(CLOSE(c, 343.8, 0.05));
    // NaN and negative pressures are refused without a trap.
    CHECK(FN(SonicVelocity)(1, 1, NAN, 300, VANTARO_MISSING, kGas, kGasMw, 0, 0, &c, kTol) == 0);
    CHECK(c == VANTARO_MISSING);
    CHECK(FN(SonicVelocity)(1, 1, -1, 300, VANTARO_MISSING, kGas, kGasMw, 0, 0, &c, kTol) == 0);

    // Choke pressure of 10 t/h of that gas (relieved at 300 K, 1000 kPa)
    // through 0.01 m2: about G sqrt(R T/(gamma M)), some 90 kPa.
    Flash f;
    CHECK(Prop3At(&f, 300, 1000, VANTARO_MISSING, kGas) == 0);
    double pc = 101.325, t = 300, rho = 0, vel = 0, mach = 0;
    CHECK(FN(PressureChoke)(1, 1, 0.01, 10000, f.h[3], &pc, &t, kGas, kTol, &rho, &vel, &mach, 0, 1) == 1);
    printf("PressureChoke  %.3f kPa, %.3f kg/m3, %.2f m/s, Mach %.6f\n", pc, rho, vel, mach);
    CHECK(pc > 70 && pc < 110 && CLOSE(mach, 1.0, 1e-4) && CLOSE(rho * vel, 10000 / 3600.0 / 0.01, 1e-6));
    // A NaN area is refused: the pressure stays.
    pc = 101.325;
    CHECK(FN(PressureChoke)(1, 1, NAN, 10000, f.h[3], &pc, &t, kGas, kTol, &rho, &vel, &mach, 0, 1) == 0);
    CHECK(pc == 101.325 && mach == VANTARO_MISSING);
}

// --- number formatting into host strings --------------------------------------------------

static int Equals(BSTR s, const wchar_t *expected) {
    return s && SysStringLen(s) == wcslen(expected) && wcscmp(s, expected) == 0;
}

static void CheckFormatting(void) {
    BSTR s = SysAllocString(L"old text");
    CHECK(FN(FormatSigFigs)(&s, 1.5, 4) == 1 && Equals(s, L"1.500"));
    CHECK(FN(FormatSigFigs)(&s, 7, 2) == 1 && Equals(s, L"7.0"));
    CHECK(FN(FormatSigFigs)(&s, 0.00012, 3) == 1 && Equals(s, L"0.000120"));
    // The exponent: three digits with the Windows C run-time.
    CHECK(FN(FormatSigFigs)(&s, 1.5e-10, 3) == 1 && (Equals(s, L"1.50e-010") || Equals(s, L"1.50e-10")));
    printf("FormatSigFigs  1.5e-10 to 3 digits: %ls\n", s ? s : L"(null)");
    CHECK(FN(FormatSigFigs)(&s, 1.5, 0) == 0 && FN(FormatSigFigs)(&s, 1.5, 10) == 0);
    SysFreeString(s);
    // A byte string: the formatted bytes, not widened.
    s = FN(ExtFormat)(300, 1.8, -459.67, "%.1f");
    CHECK(s && SysStringByteLen(s) == 4 && memcmp(s, "80.3", 4) == 0);
    SysFreeString(s);
    s = FN(ExtFormat)(VANTARO_MISSING, 1, 0, "%.1f");
    CHECK(s && SysStringByteLen(s) == 0);
    SysFreeString(s);
}

// The exports this host calls itself; the sweep looks up the rest.
static const char *const kCalled[] = {
    "VantaroVersion", "SetMessageCallback", "OpenProps", "CloseProps", "MolWeight", "PseudoPc",
    "PseudoTc", "EstimateKij", "GetKijHardWired", "ViscParam", "Prop3", "IsoVapDp",
    "NewTwoPhaseDp", "SonicVelocity", "PressureChoke", "FormatSigFigs", "ExtFormat"};

// As this host runs: invalid, zero-divide and overflow unmasked.
static void Unmask(void) {
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
    for (size_t k = 0; k < sizeof kCalled / sizeof kCalled[0]; ++k)
        if (!Lookup(kCalled[k])) {
            fprintf(stderr, "export %s not found\n", kCalled[k]);
            ++failures;
        }
    if (failures) return 1;

    Unmask();
    hostControl = ControlWord();
    CheckVersion();
    CheckWorkspace();
    CheckProp3();
    CheckIsoVapDp();
    CheckNewTwoPhaseDp();
    CheckSonic();
    CheckFormatting();
    FN(CloseProps)();
    FN(CloseProps)();
    CHECK(1);  // closing twice is harmless: only the control word to check
    // Every export with special values in each double it reads, exceptions
    // unmasked through _controlfp_s, in MXCSR only and in the x87 unit only.
    failures += FpSweepRun(Lookup, Unmask, "_controlfp_s");
    unsigned int unused = 0;
    _controlfp_s(&unused, _MCW_EM, _MCW_EM);
    FreeLibrary(dll);
    if (failures) {
        fprintf(stderr, "%d check(s) failed\n", failures);
        return 1;
    }
    printf("all host checks passed\n");
    return 0;
}
