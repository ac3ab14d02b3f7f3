// The floating-point host test on Linux: loads libvantaro.so with dlopen,
// finds the exports with dlsym and runs the sweep of fp_sweep.h, the
// platform's own unmasking being glibc's feenableexcept.
//
//   vantaro_fp_host path/to/libvantaro.so     exit 0 = all checks passed
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fenv.h>
#include <stdio.h>

#include "fp_sweep.h"

static void *library;

static FpSweepFn Lookup(const char *name) {
    FpSweepFn fn;
    void *sym = dlsym(library, name);
    *(void **)&fn = sym;  // POSIX: a function's address travels through void*
    return fn;
}

static void Unmask(void) { feenableexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW); }

int main(int argc, char **argv) {
    const char *path = argc > 1 ? argv[1] : "libvantaro.so";
    library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        fprintf(stderr, "cannot load %s: %s\n", path, dlerror());
        return 1;
    }
    const int failures = FpSweepRun(Lookup, Unmask, "feenableexcept");
    dlclose(library);
    return failures ? 1 : 0;
}
