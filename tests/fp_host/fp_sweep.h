// The floating-point host sweep: every export of the public header called
// through the library's export table with a quiet and a signalling NaN,
// +-infinity, +-0, +-DBL_MAX and the smallest denormal in each double it
// reads (by value, or in the arrays and records it is given), while the host
// has invalid, zero-divide and overflow unmasked: through the platform's own
// interface, in MXCSR only, and in the x87 control word only.
//
// After every call: no trap (a trap ends the program), the host's control
// words as they were, no flag raised that the host unmasked in either unit,
// and the flags as the export documents: the host's masked flags kept by the
// exports that leave the flags alone, every flag clear after those that
// clear them.
//
// Shared by the Linux host (fp_host.c, dlopen) and the Windows host
// (tests/windows_host/host.c, LoadLibrary). x86-64 only.
#ifndef VANTARO_TESTS_FP_SWEEP_H
#define VANTARO_TESTS_FP_SWEEP_H

#include "vantaro/vantaro.h"

#ifdef __cplusplus
extern "C" {
#endif

// Any export, as GetProcAddress and dlsym return it.
typedef void (*FpSweepFn)(void);
// Finds an export by name; NULL when the library lacks it.
typedef FpSweepFn (*FpSweepLookup)(const char *name);
// Unmasks invalid, zero-divide and overflow the way the platform's hosts do.
typedef void (*FpSweepUnmask)(void);

// The sweep's component table, for the hosts' own checks too: methane,
// ethane, propane and water from data/components.csv, the viscosity
// parameters fitted with ViscParam, kij from GetKijHardWired. 0 when either
// export is missing.
enum { FP_SWEEP_COMPONENTS = 4 };
// table: FP_SWEEP_COMPONENTS records; kijpr, kijsrk: the square of it.
int FpSweepTable(FpSweepLookup lookup, CompRecord *table, double *kijpr, double *kijsrk);

// Runs the sweep and the reproductions of the traps it guards against.
// Returns the number of failed checks (0 = passed).
int FpSweepRun(FpSweepLookup lookup, FpSweepUnmask platformUnmask, const char *platformName);

#ifdef __cplusplus
}
#endif

#endif
