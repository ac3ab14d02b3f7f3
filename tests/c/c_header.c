// Compiled as C: the public header is plain C, and the shared library
// exports what it declares. Exits with the number of the first failed check.
#include <string.h>

#include "vantaro/vantaro.h"

int main(void) {
    CompRecord rec[2];
    double kij[4] = {0, 0, 0, 0};
    double x[2] = {0.25, 0.75};
    double r = 0;

    memset(rec, 0, sizeof rec);
    rec[0].code = 1; rec[0].mw = 16.043; rec[0].pc = 4599.0; rec[0].tc = 190.56;
    rec[1].code = 2; rec[1].mw = 30.07;  rec[1].pc = 4872.0; rec[1].tc = 305.32;
    OpenProps(2, rec, kij, kij);
    if (MolWeight(x, &r) != 1 || !(r > 26.0 && r < 26.7)) return 1;
    x[0] = MISSING;
    if (PseudoTc(x, &r) != 0 || r != MISSING) return 2;
    CloseProps();
    CloseProps();
    return 0;
}
