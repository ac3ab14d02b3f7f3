/* Compiled as C: the public header is plain C, and the shared library
 * exports what it declares. Exits non-zero on a failed check. */
#include <stdio.h>
#include <string.h>

#include "vantaro/vantaro.h"

static int failures = 0;
#define CHECK(cond)                                                    \
    do {                                                               \
        if (!(cond)) {                                                 \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
            ++failures;                                                \
        }                                                              \
    } while (0)

int main(void) {
    CompRecord rec[2];
    double kij[4] = {0, 0, 0, 0};
    double x[2] = {0.25, 0.75};
    double r = 0;

    memset(rec, 0, sizeof rec);
    rec[0].code = 1; rec[0].mw = 16.043; rec[0].pc = 4599.0; rec[0].tc = 190.56;
    rec[1].code = 2; rec[1].mw = 30.07;  rec[1].pc = 4872.0; rec[1].tc = 305.32;
    OpenProps(2, rec, kij, kij);
    CHECK(MolWeight(x, &r) == 1);
    CHECK(r > 26.0 && r < 26.7);
    x[0] = MISSING;
    CHECK(PseudoTc(x, &r) == 0 && r == MISSING);
    CloseProps();
    CloseProps();
    return failures ? 1 : 0;
}
