#include "workspace/mixture.h"

#include "workspace/workspace.h"

namespace vt {

namespace {
template <class Field>
int32_t WeightedSum(const Workspace& ws, const double* x, double* result, Field field) {
    if (x[0] == MISSING) {
        *result = MISSING;
        return 0;
    }
    *result = 0.0;
    for (int i = 0; i < ws.ncomp; ++i)
        if (x[i] != 0.0) *result += x[i] * field(ws.cd[i]);
    return 1;
}
}  // namespace

int32_t MolWeight(const Workspace& ws, const double* x, double* r) {
    return WeightedSum(ws, x, r, [](const CompRecord& c) { return c.mw; });
}
int32_t PseudoPc(const Workspace& ws, const double* x, double* r) {
    return WeightedSum(ws, x, r, [](const CompRecord& c) { return c.pc; });
}
int32_t PseudoTc(const Workspace& ws, const double* x, double* r) {
    return WeightedSum(ws, x, r, [](const CompRecord& c) { return c.tc; });
}
int32_t MixVc(const Workspace& ws, const double* x, double* r) {
    return WeightedSum(ws, x, r, [](const CompRecord& c) { return c.vc; });
}

double MixMw(const Workspace& ws, const double* x) {
    double s = 0.0;
    for (int i = 0; i < ws.ncomp; ++i) {
        if (x[i] == MISSING) return MISSING;
        s += x[i] * ws.cd[i].mw;
    }
    return s;
}

double CompositionMolWeight(const Workspace& ws, const double* x) {
    double m = 0.0;
    for (int i = 0; i < ws.ncomp; ++i) m += x[i] * ws.cd[i].mw;
    return m;
}

double Interp2(double x, double y, int nx, int ny, const double* xs, const double* ys,
               const double* z) {
    if (nx < 1 || ny < 1 || ny > 3) return MISSING;
    if (x < xs[0] || y < ys[0] || x > xs[nx - 1] || y > ys[ny - 1]) return MISSING;
    // First grid index above the point; the last node itself at the upper edge.
    int i = 0;
    while (i < nx && xs[i] <= x) ++i;
    if (i >= nx) i = nx - 1;
    int j = 0;
    while (j < ny && ys[j] <= y) ++j;
    if (j >= ny) j = ny - 1;
    const int i0 = i > 0 ? i - 1 : 0;
    const int j0 = j > 0 ? j - 1 : 0;

    auto column = [&](int jj) {
        const double lo = z[3 * i0 + jj], hi = z[3 * i + jj];
        if (xs[i0] < x && x < xs[i]) return lo + (hi - lo) * (x - xs[i0]) / (xs[i] - xs[i0]);
        return x <= xs[i0] ? lo : hi;
    };
    const double c0 = column(j0), c1 = column(j);
    if (ys[j0] < y && y < ys[j]) return c0 + (c1 - c0) * (y - ys[j0]) / (ys[j] - ys[j0]);
    return y <= ys[j0] ? c0 : c1;
}

}  // namespace vt
