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
 * estimate when the iteration does not converge, MISSING for non-finite or
 * non-positive liqden, mw, tc or pc). */
VANTARO_API int32_t PureVchar(double liqden, double omegasrk, double mw, double tc,
                              double pc, double tref, double omega, double *vstar);

/* ------------------------------------------------------------------------ */
/* Transport properties                                                     */
/* ------------------------------------------------------------------------ */

/* ------------------------------------------------------------------------ */
/* Water and steam                                                          */
/* ------------------------------------------------------------------------ */

/* ------------------------------------------------------------------------ */
/* Pipe hydraulics: friction and vapour pressure drop                       */
/* ------------------------------------------------------------------------ */

/* ------------------------------------------------------------------------ */
/* Pipe hydraulics: two-phase pressure drop                                 */
/* ------------------------------------------------------------------------ */

/* ------------------------------------------------------------------------ */
/* Pipe hydraulics: flow-regime map                                         */
/* ------------------------------------------------------------------------ */

/* ------------------------------------------------------------------------ */
/* Fitting loss coefficients: tees                                          */
/* ------------------------------------------------------------------------ */

/* ------------------------------------------------------------------------ */
/* Fitting loss coefficients: contraction                                   */
/* ------------------------------------------------------------------------ */

/* ------------------------------------------------------------------------ */
/* Sonic flow                                                               */
/* ------------------------------------------------------------------------ */

/* ------------------------------------------------------------------------ */
/* Heat transfer                                                            */
/* ------------------------------------------------------------------------ */

/* ------------------------------------------------------------------------ */
/* Numerics: sparse linear equations                                        */
/* ------------------------------------------------------------------------ */

/* ------------------------------------------------------------------------ */
/* Number formatting and host strings                                       */
/* ------------------------------------------------------------------------ */

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* VANTARO_VANTARO_H */
