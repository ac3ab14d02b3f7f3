/* A host built against an installed engine: the library it loads reports the
 * version of the header it was compiled with, and computes. */
#include <math.h>
#include <stdio.h>

#include "vantaro/vantaro.h"

int main(void) {
    int32_t major = -1, minor = -1, patch = -1;
    VantaroVersion(&major, &minor, &patch);
    if (major != VANTARO_VERSION_MAJOR || minor != VANTARO_VERSION_MINOR || patch != VANTARO_VERSION_PATCH) {
        fprintf(stderr, "library %d.%d.%d, header %s\n", (int)major, (int)minor, (int)patch, VANTARO_VERSION_STRING);
        return 1;
    }
    /* Re = 1 * 0.1 * 1000 / (100 * 0.001) */
    double re = 0.0;
    Reynolds(1.0, 0.1, 1000.0, 100.0, &re); /* 1 m/s, 0.1 m, 1000 kg/m3, 100 cP */
    if (!(fabs(re - 1000.0) < 1e-9)) {
        fprintf(stderr, "Reynolds %g\n", re);
        return 1;
    }
    printf("vantaro %s from the installed tree\n", VANTARO_VERSION_STRING);
    return 0;
}
