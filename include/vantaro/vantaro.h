/*
 * Vantaro: calculation engine for relief and flare header network analysis.
 *
 * The public C interface. Plain C, usable from C and C++. The host passes
 * numbers by value and arrays of doubles / 32-bit integers by pointer; almost
 * every export returns a 32-bit status. Units: K, kPa, kJ/kmol, m3/kmol,
 * kg/kmol unless an export says otherwise (the hydraulics work in bar, kg/h,
 * m and inches).
 *
 * Component data live in one process-wide workspace opened with OpenProps and
 * released with CloseProps. Every composition is an array of mole fractions
 * in the order of that workspace's component table. The engine is not
 * thread-safe: the host serialises all calls.
 */
#ifndef VANTARO_VANTARO_H
#define VANTARO_VANTARO_H

#include <stddef.h>
#include <stdint.h>

#include "vantaro/version.h" /* VANTARO_VERSION_MAJOR, _MINOR, _PATCH, _STRING */

#if defined(_WIN32)
#  if defined(VANTARO_BUILDING)
#    define VANTARO_API __declspec(dllexport)
#  else
#    define VANTARO_API __declspec(dllimport)
#  endif
#else
#  if defined(VANTARO_BUILDING)
#    define VANTARO_API __attribute__((visibility("default")))
#  else
#    define VANTARO_API
#  endif
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The missing-value sentinel: an absent input or an unavailable result.
 * Compared exactly. A composition whose first element equals it is absent. */
#define VANTARO_MISSING (-32767.0)
#ifndef __cplusplus
#  define MISSING VANTARO_MISSING
#endif

/* ------------------------------------------------------------------------ */
/* Records                                                                  */
/* ------------------------------------------------------------------------ */

/* One pure component: 20 slots of 8 bytes, copied byte for byte by OpenProps. */
typedef struct CompRecord {
    int32_t code;     /* component code of the host's library                 */
    int32_t family;   /* class code: 0 = saturated hydrocarbons, ...          */
    double mw;        /* molecular weight, kg/kmol                            */
    double liqden;    /* standard liquid density, kg/m3                       */
    double tb;        /* normal boiling point, K                              */
    double classnum;  /* numeric class value                                  */
    double pc;        /* critical pressure, kPa                               */
    double tc;        /* critical temperature, K                              */
    double vc;        /* critical volume, m3/kmol                             */
    double vstar;     /* COSTALD characteristic volume, m3/kmol               */
    double omega;     /* acentric factor                                      */
    double omegasrk;  /* SRK / COSTALD acentric factor, MISSING if not given  */
    double iga, igb, igc, igd, ige, igf; /* H_ig = A + B T + ... + F T^5     */
    double igg;       /* ideal-gas entropy constant, kJ/(kg K)                */
    double visca;     /* liquid viscosity: exp(visca + viscb ln(T/tc))        */
    double viscb;
} CompRecord;

/* A pipe, read only. Lengths in m, diameter and roughness in inches. */
typedef struct PipeSegment {
    double len;      /* pipe length, m                                      */
    double dia;      /* internal diameter, in                               */
    double rise;     /* outlet elevation minus inlet elevation, m           */
    double kfit;     /* fixed loss coefficient of the fittings              */
    double ldfit;    /* fittings L/D (times the fully turbulent friction)   */
    double rough;    /* absolute wall roughness, in                         */
    double roughft;  /* roughness for the fittings' turbulent factor, in    */
    double lenmult;  /* multiplier applied to len                           */
} PipeSegment;

/* Properties of the flowing stream at one end of a pipe, at pressure pref.
 * Each block holds {molecular weight, density kg/m3, viscosity cP,
 * molar heat capacity kJ/(kmol K), spare}. */
typedef struct StreamState {
    double pref;    /* pressure at which the densities hold, bar */
    double vfrac;   /* vapour mole fraction                      */
    double mixmw, mixden, mixvisc, mixcp, mixspare;
    double vapmw, vapden, vapvisc, vapcp, vapspare;
    double liqmw, liqden, liqvisc, liqcp, liqspare;
} StreamState;

/* Result of a pipe pressure-drop export. */
typedef struct FlowResult {
    double p;       /* upstream pressure, bar                               */
    double dpacc;   /* acceleration part, bar (MISSING from vapour routines) */
    double dpfric;  /* friction part, bar                                   */
    double dpelev;  /* static-head part, bar                                */
    double holdup;  /* liquid holdup                                        */
    double leq;     /* equivalent length of the fittings, m                 */
    double re;      /* Reynolds number                                      */
    double fric;    /* Darcy friction factor                                */
    double vin;     /* upstream velocity, m/s                               */
    double vout;    /* downstream velocity, m/s                             */
    int32_t regime; /* 0 computed; -32767 nothing to compute; flow regime   */
} FlowResult;

#ifdef __cplusplus
#  define VANTARO_STATIC_ASSERT static_assert
#else
#  define VANTARO_STATIC_ASSERT _Static_assert
#endif
VANTARO_STATIC_ASSERT(sizeof(CompRecord) == 160, "CompRecord is 160 bytes");
VANTARO_STATIC_ASSERT(offsetof(CompRecord, family) == 4, "CompRecord.family");
VANTARO_STATIC_ASSERT(offsetof(CompRecord, mw) == 8, "CompRecord.mw");
VANTARO_STATIC_ASSERT(offsetof(CompRecord, pc) == 40, "CompRecord.pc");
VANTARO_STATIC_ASSERT(offsetof(CompRecord, omegasrk) == 80, "CompRecord.omegasrk");
VANTARO_STATIC_ASSERT(offsetof(CompRecord, iga) == 88, "CompRecord.iga");
VANTARO_STATIC_ASSERT(offsetof(CompRecord, igg) == 136, "CompRecord.igg");
VANTARO_STATIC_ASSERT(offsetof(CompRecord, viscb) == 152, "CompRecord.viscb");
VANTARO_STATIC_ASSERT(sizeof(PipeSegment) == 8 * sizeof(double), "PipeSegment is 8 doubles");
VANTARO_STATIC_ASSERT(offsetof(PipeSegment, lenmult) == 56, "PipeSegment.lenmult");
VANTARO_STATIC_ASSERT(sizeof(StreamState) == 17 * sizeof(double), "StreamState is 17 doubles");
VANTARO_STATIC_ASSERT(offsetof(StreamState, mixmw) == 16, "StreamState.mixmw");
VANTARO_STATIC_ASSERT(offsetof(StreamState, vapmw) == 56, "StreamState.vapmw");
VANTARO_STATIC_ASSERT(offsetof(StreamState, liqmw) == 96, "StreamState.liqmw");
VANTARO_STATIC_ASSERT(offsetof(FlowResult, vout) == 72, "FlowResult.vout");
VANTARO_STATIC_ASSERT(offsetof(FlowResult, regime) == 80, "FlowResult.regime");
VANTARO_STATIC_ASSERT(sizeof(FlowResult) == 88, "FlowResult: 10 doubles, int32, padding");

/* ------------------------------------------------------------------------ */
/* Version                                                                  */
/* ------------------------------------------------------------------------ */

/* The version the library was built as (the VANTARO_VERSION_* numbers of
 * its own header): a host compares it with the header it was compiled
 * against. Null pointers are skipped. */
VANTARO_API void VantaroVersion(int32_t *major, int32_t *minor, int32_t *patch);

/* ------------------------------------------------------------------------ */
/* Platform services                                                        */
/* ------------------------------------------------------------------------ */

/* Receives the engine's user-visible messages (the three workspace failure
 * messages). Without a callback a message goes to standard error here, and
 * to a modal message box on Windows. */
typedef void (*VantaroMessageFn)(const char *caption, const char *text, void *user);

/* Installs (or, with fn = NULL, removes) the message callback. */
VANTARO_API void SetMessageCallback(VantaroMessageFn fn, void *user);

/* ------------------------------------------------------------------------ */
/* Workspace and component data                                             */
/* ------------------------------------------------------------------------ */

/* Copies n component records and the two n x n row-major interaction
 * matrices (Peng-Robinson, Soave-Redlich-Kwong), allocates the workspace and
 * precomputes both equations of state. An open workspace is closed first.
 * n < 0, or a null pointer with n > 0, leaves the workspace as it was. */
VANTARO_API void OpenProps(int32_t n, const CompRecord *records,
                           const double *kijpr, const double *kijsrk);

/* Releases the workspace. Harmless when nothing is open. */
VANTARO_API void CloseProps(void);

/* kij estimate for components i and j of the open table (method 1 PR, 2 SRK).
 * 0 when i or j is out of range (kij = 0); -1 otherwise (i = j leaves kij). */
VANTARO_API int32_t EstimateKij(int32_t method, int32_t i, int32_t j, double *kij);

/* Built-in kij for a pair given by component and class codes (0 when no
 * rule applies). Needs no workspace. Not symmetric in its two components. */
VANTARO_API void GetKijHardWired(int32_t method, int32_t code1, int32_t family1,
                                 int32_t code2, int32_t family2, double *kij);

/* Mole-fraction-weighted sums over the table (not normalised): 1 on
 * success; 0 when composition[0] is MISSING (result = MISSING). */
VANTARO_API int32_t MolWeight(const double *composition, double *result);
VANTARO_API int32_t PseudoPc(const double *composition, double *result);
VANTARO_API int32_t PseudoTc(const double *composition, double *result);

/* ------------------------------------------------------------------------ */
/* Stream properties                                                        */
/* ------------------------------------------------------------------------ */

/* Phase split and properties of a stream. Give T and P (*t, *p), or one of
 * them (the other MISSING) and exactly one of frac[0] (vapour fraction),
 * h[3] (enthalpy, kJ/kmol) or s[3] (entropy, kJ/(kmol K)); the unknown is
 * searched and written back. method: 0 none, 1 Peng-Robinson, 2
 * Soave-Redlich-Kwong, 3 vapour pressure with free water; hmethod: 0 ideal
 * gas, 1-2 equation-of-state departures, 3 Lee-Kesler. Phase arrays have
 * five slots (vapour, liquid, aqueous, overall, combined liquid); phases[3]
 * flags; y, x, xw, xl are the vapour, liquid, aqueous and combined-liquid
 * compositions; tol = {T bracket K, enthalpy, entropy, lever-rule slack}.
 * Returns 0 success; 1 temperature not found; 2 pressure not found; 3 no
 * solution (trivial split, critical); 4 invalid specification or argument
 * (nothing written); -32767 lever-rule fraction rejected. */
VANTARO_API int32_t Prop3(int32_t method, int32_t hmethod, double *t, double *p,
                          const double *z, double *y, double *x, double *xw, double *xl,
                          int32_t *phases, double *frac, double *h, double *s, double *cp,
                          double *v, double *molwt, double tguess, const double *tol);

/* ------------------------------------------------------------------------ */
/* Liquid characteristic volume                                             */
/* ------------------------------------------------------------------------ */

/* COSTALD characteristic volume V* (m3/kmol) of a pure component, back-
 * calculated from its liquid density liqden (kg/m3) measured at 288.70555 K
 * (at tref, K, when tc < 288.7055 K). omegasrk is the COSTALD acentric
 * factor, omega that of the vapour pressure; mw kg/kmol, tc K, pc kPa.
 * Always returns -1; *vstar receives the volume (the critical-compressibility
 * estimate when the iteration does not converge or leaves the positive
 * numbers, MISSING for non-finite or non-positive liqden, mw, tc or pc and
 * when even the estimate is not a positive number). */
VANTARO_API int32_t PureVchar(double liqden, double omegasrk, double mw, double tc,
                              double pc, double tref, double omega, double *vstar);

/* ------------------------------------------------------------------------ */
/* Transport properties                                                     */
/* ------------------------------------------------------------------------ */

/* Transport exports: -1 after a computation, 0 when composition[0] is MISSING
 * (or composition is null), the result then MISSING. A result that is not a
 * finite number (zero critical constants, an all-zero composition,
 * non-finite input, a negative density) is MISSING with -1. A null result
 * pointer returns 0. After a computation the floating-point flags are clear. */

/* Low-pressure vapour viscosity, cP. */
VANTARO_API int32_t ViscVapour(const double *composition, double temperature, double *out);

/* Liquid viscosity, cP, at pressure (kPa), temperature (K) and liquid mass
 * density (kg/m3). Needs visca/viscb of the components (see ViscParam). */
VANTARO_API int32_t ViscLiquid(const double *composition, double pressure, double temperature,
                               double density, double *out);

/* Liquid surface tension, dyn/cm; MISSING (with -1) when no component lies
 * below its critical temperature. */
VANTARO_API int32_t SurfTenLiquid(const double *composition, double temperature, double *out);

/* Liquid thermal conductivity, W/(m K). */
VANTARO_API int32_t ThermCondLiquid(const double *composition, double temperature, double *out);

/* Vapour thermal conductivity, W/(m K), at the vapour mass density (kg/m3). */
VANTARO_API int32_t ThermCondVapour(const double *composition, double temperature,
                                    double density, double *out);

/* Fits visca (outA) and viscb (outB) of one component for ViscLiquid; needs
 * no workspace. kind 1 (low 16 bits) = petroleum pseudo-component; pc in
 * bar. Always -1; outputs MISSING when nothing can be fitted; a null output
 * pointer writes nothing. */
VANTARO_API int32_t ViscParam(int32_t kind, double mw, double tc, double pc, double vc,
                              double vstar, double omega, double omegasrk, double tb,
                              double liqden, double *outA, double *outB);

/* ------------------------------------------------------------------------ */
/* Pipe hydraulics: friction and vapour pressure drop                       */
/* ------------------------------------------------------------------------ */

/* Friction-factor method codes: 0 = Round, 1 = Chen (fully turbulent zone). */
#define VANTARO_FRICTION_ROUND 0
#define VANTARO_FRICTION_CHEN 1

/* Darcy friction factor in the zone of complete turbulence (Re = 1e10) of a
 * pipe with diameter and absolute roughness in the same unit. Returns 1;
 * 0 with *f = MISSING for an unknown method code, a diameter that is not
 * positive, or a negative or non-finite roughness; 0 for a null f. Leaves
 * the floating-point flags alone. */
VANTARO_API int32_t TurbulentFrictionFactor(int32_t method, double diameter, double roughness,
                                            double *f);

/* Upstream pressure of a gas line in isothermal flow. p2 downstream pressure
 * (bar), w mass flow (kg/h), upstream and downstream stream states, the pipe,
 * the result; rescale 1 rescales the densities to the actual pressures;
 * p1estimate in bar or MISSING (1.5 p2); tolerance relative on the upstream
 * pressure. Returns -1 when computed. Returns 0 when the call cannot be
 * computed (null pointer, unknown method, p2 <= 0, negative flow, negative
 * lengths, non-positive diameter, viscosity or density, tolerance <= 0,
 * non-finite input: result all MISSING, regime -32767) or when the answer
 * lies above 1000 bar (p = 1000 is written). Without convergence in 50 steps
 * the last iterate is returned (-1). At p2 >= 1000 bar nothing is computed
 * but vin: p = p2 (-1). A zero-length pipe gives p = p2 and regime -32767
 * (-1). Clears the floating-point flags except on the zero-length exit. */
VANTARO_API int32_t IsoVapDp(int32_t method, double p2, double w, const StreamState *upstream,
                             const StreamState *downstream, const PipeSegment *pipe,
                             FlowResult *result, int32_t rescale, double p1estimate,
                             double tolerance);

/* The same for adiabatic flow of an ideal gas (ratio of specific heats from
 * the states' molar heat capacities, which must exceed 8.3142). Also returns
 * 0, with p = p2 written, when the isothermal bracket holds no adiabatic
 * answer although the line has a pressure drop. */
VANTARO_API int32_t AdiaVapDp(int32_t method, double p2, double w, const StreamState *upstream,
                              const StreamState *downstream, const PipeSegment *pipe,
                              FlowResult *result, int32_t rescale, double p1estimate,
                              double tolerance);

/* ------------------------------------------------------------------------ */
/* Pipe hydraulics: two-phase pressure drop                                 */
/* ------------------------------------------------------------------------ */

/* Two-phase method codes of NewTwoPhaseDp. */
#define VANTARO_TWOPHASE_BEGGS_BRILL 2            /* acceleration by the kinetic-energy factor */
#define VANTARO_TWOPHASE_DUKLER 3                 /* Flanigan static head                      */
#define VANTARO_TWOPHASE_ORKISZEWSKI 4            /* Dukler (Flanigan) on downhill pipes       */
#define VANTARO_TWOPHASE_LOCKHART_MARTINELLI 5    /* friction only                             */
#define VANTARO_TWOPHASE_BEGGS_BRILL_NO_ACCEL 6   /* no acceleration term                      */
#define VANTARO_TWOPHASE_BEGGS_BRILL_DENSITY 7    /* acceleration from the density change     */
#define VANTARO_TWOPHASE_DUKLER_DENSITY 8         /* static head of the two-phase density      */

/* Pressure profile of a pipe carrying a gas-liquid stream. The pipe is cut
 * into n equal segments (n + 1 nodes, node n downstream); from the known
 * pressure at node n the engine marches upstream, flashing each node with
 * Prop3 at its pressure and enthalpy (method, hmethod, tol) and handing each
 * segment to the chosen two-phase method. Each segment is evaluated
 * extraPasses + 1 times, each pass flashing its upstream node at the mean of
 * the previous estimate and the method's last answer.
 *   pressures[n+1]     bar: [n] given; [0..n-1] estimates in (unusable
 *                      ones start from the downstream node), results out
 *   enthalpies[n+1]    node molar enthalpies, kJ/kmol
 *   composition        feed mole fractions
 *   temperatures[n+1]  out: degC;  velocities[n+1] out: mixture m/s
 *   massFlow kg/h; elevation 0 static head both ways, 1 no recovery
 *   downhill, 2 none (Orkiszewski always takes the full column);
 *   holdupCorrection non-zero: Beggs-Brill uphill/downhill factors.
 *   unused4, unused15 and unused17 are not read.
 * result: p = pressures[0]; dpacc, dpfric, dpelev, leq summed over the
 * segments; holdup (MISSING from Orkiszewski), re, fric averaged; regime
 * of the last segment (left as it was by Lockhart-Martinelli); vin, vout
 * not written.
 * Returns -1 when computed; 0 when not (see the README's guard table). A
 * method code outside 2-8 only flashes the nodes (pressures stay at their
 * estimates). Needs an open workspace. Clears the floating-point flags. */
VANTARO_API int32_t NewTwoPhaseDp(int32_t frictionMethod, int32_t twoPhaseMethod, int32_t n,
                                  int32_t unused4, int32_t method, int32_t hmethod,
                                  const PipeSegment *pipe, FlowResult *result, double massFlow,
                                  double *pressures, const double *enthalpies,
                                  const double *composition, double *temperatures,
                                  double *velocities, double *unused15, const double *tol,
                                  int32_t unused17, int32_t elevation, int32_t extraPasses,
                                  int32_t holdupCorrection);

/* ------------------------------------------------------------------------ */
/* Pipe hydraulics: flow-regime map                                         */
/* ------------------------------------------------------------------------ */

/* Scores (summing to 1) of the six horizontal gas-liquid flow regimes
 * {dispersed bubble, elongated bubble, slug, stratified, wave, annular} at
 * superficial gas and liquid velocities in ft/s; the largest marks the
 * regime. Returns 0. Velocities that are not positive and finite give six
 * MISSING scores (null scores: nothing written). */
VANTARO_API int32_t Mandhane(double gasVelocity, double liquidVelocity, double *scores);

/* ------------------------------------------------------------------------ */
/* Fitting loss coefficients: tees                                          */
/* ------------------------------------------------------------------------ */

/* Loss coefficients of a tee from fitted design charts. Leg 3 is the common
 * leg (it carries the total flow), leg 2 the straight run, leg 1 the branch;
 * K13 is the coefficient of the path branch-common, K23 of run-common, both
 * on the velocity head of the common leg.
 *   a        area ratio A_branch / A_common (charts cover 0.1 to 1)
 *   q        flow ratio Q_branch / Q_common (0 to 1)
 *   type     junction: branch angle 0 = 30 deg, 1 = 45 deg, 2 = 60 deg,
 *            3 = 90 deg, 4, 5, 6 = obtuse branch (135 deg); other: no chart
 *   pattern  0 = dividing flow (leg 3 in), non-zero = combining (leg 3 out)
 *   mode     1 = single chart; other = q-weighted blend of two charts where
 *            the case has one (combining flow: K13 types 0 to 3, K23 types
 *            0 to 2)
 *   areaFloor 1 = raise a below 0.1 to 0.1
 * Out: K, status (1 = K strictly inside (lo, hi), 0 = at or beyond a bound),
 * hi and lo of the chart used. Type outside 0..6: K = 9e99, status 1, hi and
 * lo not written. Non-finite a or q: K = 9e99, status 0. Any finite input
 * gives K within [lo, hi] (a blend weights its charts by q confined to
 * [0, 1]), except the dividing-flow K23 for 0 <= q <= 1: the chart's fitted
 * network as it stands, below lo = 0.03 for q between 0.02 and 0.51
 * (-0.034 at q = 0.25, status 0). Null output pointers are skipped. Both
 * return 0; no workspace is needed. */
VANTARO_API int32_t getK13(double a, double q, int32_t type, int32_t pattern, double *K,
                           int32_t mode, int32_t areaFloor, int32_t *status, double *hi,
                           double *lo);
VANTARO_API int32_t getK23(double a, double q, int32_t type, int32_t pattern, double *K,
                           int32_t mode, int32_t areaFloor, int32_t *status, double *hi,
                           double *lo);

/* ------------------------------------------------------------------------ */
/* Fitting loss coefficients: contraction                                   */
/* ------------------------------------------------------------------------ */

/* Loss coefficient of a contraction with area ratio 0 <= ratio <= 1 and
 * included angle 0 <= angle <= 180 degrees. Returns -1; 0 with *k = MISSING
 * outside those ranges or for non-finite input (null k: 0). Clears the
 * floating-point flags. */
VANTARO_API int32_t ContractionLossCoefficientBenedict(double ratio, double angle, double *k);

/* ------------------------------------------------------------------------ */
/* Sonic flow                                                               */
/* ------------------------------------------------------------------------ */

/* Sonic velocity *c (m/s) of the stream z at p (kPa) and t (K), or at the
 * overall molar enthalpy hin (kJ/kmol) when t is MISSING: the isentropic
 * dP/drho from one finite difference of two Prop3 states (the second at a
 * perturbed pressure and the same entropy). mwin is the stream's molecular
 * weight (kg/kmol). With method or hmethod 0 the ideal-gas formula
 * sqrt(|gamma p / rho|), gamma = cpin/(cpin - 8.3142), from rho (kg/m3) and
 * cpin (kJ/(kmol K)) instead, with no property call. tol is Prop3's block.
 * Returns 1; *c = 1e20 when the two densities are equal. Returns 0 with
 * *c = MISSING when nothing can be computed (see the README's guard table).
 * Clears the floating-point flags, like FastSonicVelocity and PressureChoke
 * (except on a null-pointer refusal). */
VANTARO_API int32_t SonicVelocity(int32_t method, int32_t hmethod, double p, double t,
                                  double hin, const double *z, double mwin, double rho,
                                  double cpin, double *c, const double *tol);

/* The same from a base state the caller has already evaluated: vapour
 * fraction vf, overall molar entropy sin (kJ/(kmol K)) and density rho at p;
 * t is only the temperature estimate of the perturbed state (MISSING
 * allowed). Saves one flash. */
VANTARO_API int32_t FastSonicVelocity(int32_t method, int32_t hmethod, double p, double t,
                                      double vf, double sin, const double *z, double mwin,
                                      double rho, double cpin, double *c, const double *tol);

/* Choke pressure: the pressure (kPa) at which massflow (kg/h) through area
 * (m2), expanded at constant overall molar enthalpy hin (kJ/kmol), flows at
 * its sonic velocity. *p in: the starting pressure; dir = 1 seeks above it,
 * any other value below it (both directions are scanned before giving up).
 * *t: temperature estimate of every trial state (K). precise = 1: Mach
 * tolerance 1e-6, otherwise 1e-4.
 * Returns 1 with *p the choke pressure and *rhoout (kg/m3), *vel (m/s) and
 * *mach at it; where the Mach number jumps across a phase boundary, the last
 * supersonic state with *mach = 1 and *vel its sonic velocity. Returns 0 with
 * *p unchanged and the outputs at the starting pressure (MISSING if that
 * state cannot be evaluated) when no pressure is found or a property
 * evaluation fails. */
VANTARO_API int32_t PressureChoke(int32_t method, int32_t hmethod, double area, double massflow,
                                  double hin, double *p, const double *t, const double *z,
                                  const double *tol, double *rhoout, double *vel, double *mach,
                                  int32_t precise, int32_t dir);

/* ------------------------------------------------------------------------ */
/* Heat transfer                                                            */
/* ------------------------------------------------------------------------ */

/* Re = velocity (m/s) * diameter (m) * density (kg/m3) / (viscosity cP * 0.001).
 * Pure arithmetic: a zero divisor gives infinity or NaN. Returns -1 (0 for a
 * null result pointer). */
VANTARO_API int32_t Reynolds(double velocity, double diameter, double density, double viscosity,
                             double *re);

/* Pr from heat capacity kJ/(kg K), viscosity cP, conductivity W/(m K). */
VANTARO_API int32_t Prandtl(double heatCapacity, double viscosity, double conductivity, double *pr);

/* Grashof number; the expansion coefficient comes from the densities at the
 * two temperatures (equal temperatures give NaN). Length m, viscosity cP. */
VANTARO_API int32_t Grashof(double t1, double t2, double length, double viscosity, double density1,
                            double density2, double *gr);

/* Inside film coefficient W/(m2 K), Dittus-Boelter (heating when the wall is
 * hotter). Velocity m/s, viscosity cP, conductivity W/(m K), heat capacity
 * kJ/(kg K), density kg/m3 (<= 0 taken as 0.001), temperatures K, diameter m;
 * `reserved` is not read. Returns -1; 0 with *h = MISSING for a negative
 * velocity, a viscosity, conductivity, heat capacity or diameter that is
 * not positive, or non-finite input. */
VANTARO_API int32_t HtcInternal(double velocity, double viscosity, double conductivity,
                                double heatCapacity, double density, double tFluid, double tWall,
                                double diameter, double reserved, double *h);

/* Outside film coefficient W/(m2 K) in air (medium 0) or water (medium 1) at
 * the ambient temperature (K), forced or natural convection; orientation 0
 * or other selects the natural-convection fit. Returns -1; 0 with
 * *h = MISSING for another medium, a negative velocity, non-positive
 * temperatures or diameter, non-finite input or a non-physical result. */
VANTARO_API int32_t HtcExternal(double velocity, double tAmbient, double tSurface, double diameter,
                                int16_t orientation, double *h, int16_t medium);

/* Steam superheat correction factor KSH at the relieving temperature (degF)
 * and set pressure (psig), clamped to 300-1200 degF and 15-3000 psig; 9.99
 * for a NaN input. */
VANTARO_API double SuperheatCoefficient(double temperatureF, double pressurePsig);

/* ------------------------------------------------------------------------ */
/* Numerics: sparse linear equations                                        */
/* ------------------------------------------------------------------------ */

/* One non-zero of a sparse matrix: 0-based row and column, and the value. */
typedef struct SparseEntry {
    int32_t row;
    int32_t column;
    double value;
} SparseEntry;
VANTARO_STATIC_ASSERT(sizeof(SparseEntry) == 16, "SparseEntry is 16 bytes");
VANTARO_STATIC_ASSERT(offsetof(SparseEntry, column) == 4, "SparseEntry.column");
VANTARO_STATIC_ASSERT(offsetof(SparseEntry, value) == 8, "SparseEntry.value");

/* Solves the n x n sparse system A x = b whose matrix is given by nnz
 * entries (repeated row-column pairs add up) by LU factorisation with
 * partial pivoting. vectorA holds the right-hand side b (n doubles, only
 * read); vectorB (n doubles) receives the solution x. They may be the same
 * array. option 1 solves the transposed system A^T x = b instead; any other
 * value solves A x = b.
 * Returns 1 when solved. Returns 0, leaving vectorB untouched, when n <= 0,
 * nnz < 0, a pointer is null (entries may be null when nnz is 0), an entry
 * lies outside the matrix or is not finite, b is not finite, the matrix is
 * structurally or numerically singular (a pivot of the equilibrated matrix
 * below n * DBL_EPSILON times the largest), or an element (the sum of its
 * entries) or the solution overflows.
 * C++ hosts find the matrix classes behind it in vantaro/tnx/matrix.h. */
VANTARO_API int32_t SolveLinearEquations(int32_t nnz, int32_t n, const SparseEntry *entries,
                                         double *vectorA, double *vectorB, int32_t option);

/* ------------------------------------------------------------------------ */
/* Number formatting and host strings                                       */
/* ------------------------------------------------------------------------ */

/* Host strings: a 32-bit byte length followed by 16-bit characters and a
 * 16-bit NUL; the pointer addresses the first character. On Windows these
 * are OLE Automation strings (BSTR). The engine allocates them; the host
 * frees them with FreeHostString (SysFreeString works as well on Windows).
 * A null string is the empty string. */
#if defined(_WIN32)
typedef wchar_t VantaroChar;
#else
typedef uint16_t VantaroChar;
#endif
typedef VantaroChar *VantaroString;

/* Frees a string the engine returned; null is ignored. */
VANTARO_API void FreeHostString(VantaroString s);

/* Length of a host string in bytes (0 for null). */
VANTARO_API uint32_t HostStringByteLen(VantaroString s);

/* value * scale + offset formatted with a printf format holding exactly one
 * floating-point conversion (flags, width and precision of up to three
 * digits, optional 'l'), returned as a new byte string (the bytes of the
 * text, not widened); e/E/g/G exponents have at least three digits
 * ("1.234e+003"). MISSING gives "", -32768 gives "1"; a null format or any
 * other format gives "". Null only when out of memory. */
VANTARO_API VantaroString ExtFormat(double value, double scale, double offset, const char *format);

/* Replaces *out with value rendered with exactly `digits` (1-9) significant
 * digits, keeping trailing zeros (exponents written e+NNN). Returns 1; 0 with
 * *out unchanged for digits outside 1-9 or a null out, 0 when out of memory. */
VANTARO_API int32_t FormatSigFigs(VantaroString *out, double value, int32_t digits);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* VANTARO_VANTARO_H */
