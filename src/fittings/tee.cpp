// Tee loss coefficients: case selection, the blend of two charts and the
// range status. Each chart is a fitted network whose output is a position in
// the chart's level list (tee_model.h); network N maps q to K directly.
#include "fittings/tee.h"

#include <cmath>

#include "fittings/tee_model.h"
#include "fittings/tee_networks.h"

namespace vt {
namespace {

// Network N: the run coefficient of dividing flow, K = b + sum v tanh(c + w q).
constexpr double kNb = 2.32211989;
constexpr double kNc[15] = {-0.230916955, -1.02343973,  0.116259888,  0.00536175185, 0.724063779,
                            0.0383498141, -0.14749878,  -0.435801084, 0.205777979,   0.0793286403,
                            -0.392002202, -0.376809071, 0.220332549,  0.225079533,   -0.635122684};
constexpr double kNw[15] = {-0.11400018,   -0.959509222,  0.0727433045, -0.062168605, -0.0651529831,
                            -0.0264084666, -0.112615738,  -0.128345808, 0.0585789757, -0.194744619,
                            -0.141038406,  -0.122356569,  0.0657346406, 0.0550394772, -0.103672975};
constexpr double kNv[15] = {-1.10017859, 5.17269534,  0.767136786, -0.695733535, -2.13553185,
                            -0.348931212, -1.09675485, -1.36047952, 0.672919956,  -1.56823748,
                            -1.42264678, -1.05748752, 0.725587629, 0.57632598,   -1.39210046};
constexpr double kNHi = 0.4, kNLo = 0.03;

// A case-table row: the single chart and, for rows that have one, the blend's
// second chart (-1 when the row has no blend).
struct Row {
    int first, second;
};

constexpr int Ix(char c) { return TeeChartIndex(c); }

bool RowK13(int32_t type, int32_t pattern, Row& row) {
    if (pattern != 0) {
        switch (type) {
            case 0: row = {Ix('A'), Ix('B')}; return true;
            case 1: row = {Ix('C'), Ix('D')}; return true;
            case 2: row = {Ix('E'), Ix('F')}; return true;
            case 3: row = {Ix('G'), Ix('H')}; return true;
            case 4: case 5: case 6: row = {Ix('I'), -1}; return true;
            default: return false;
        }
    }
    switch (type) {
        case 0: case 1: row = {Ix('J'), -1}; return true;
        case 2: row = {Ix('K'), -1}; return true;
        case 3: row = {Ix('L'), -1}; return true;
        case 4: case 5: case 6: row = {Ix('M'), -1}; return true;
        default: return false;
    }
}

bool RowK23(int32_t type, int32_t pattern, Row& row) {
    if (pattern == 0) return false;  // network N, handled before the table
    switch (type) {
        case 0: row = {Ix('O'), Ix('P')}; return true;
        case 1: row = {Ix('Q'), Ix('R')}; return true;
        case 2: row = {Ix('S'), Ix('T')}; return true;
        case 3: row = {Ix('U'), -1}; return true;
        case 4: case 5: case 6: row = {Ix('V'), -1}; return true;
        default: return false;
    }
}

double Clamp(double v, double lo, double hi) { return v < lo ? lo : (v > hi ? hi : v); }

void SetStatus(TeeResult& r) { r.status = (r.k >= r.hi || r.k <= r.lo) ? 0 : 1; }

double ChartK(int index, double q, double a, double shift) {
    const TeeNetwork* net = FittedTeeNetwork(index);
    const KLevels* t = TeeLevels(index);
    return LevelLookup(*t, EvalTeeNetwork(*net, q, a) - shift);
}

TeeResult Evaluate(bool found, const Row& row, double a, double q, int32_t mode, int32_t areaFloor) {
    TeeResult r;
    if (!found) {
        r.k = kTeeNoCoefficient;  // no chart for this junction type
        return r;
    }
    const bool blend = mode != 1 && row.second >= 0;
    const KLevels* last = TeeLevels(blend ? row.second : row.first);
    r.boundsSet = true;
    r.hi = last->hi;
    r.lo = last->lo;
    // Non-finite ratios have no coefficient (checked before the area floor,
    // which would turn -inf into 0.1).
    if (!std::isfinite(a) || !std::isfinite(q)) {
        r.k = kTeeNoCoefficient;
        r.status = 0;
        return r;
    }
    if (areaFloor == 1 && a < 0.1) a = 0.1;
    if (blend) {
        // Each chart's K lies within the row's bounds; a weight confined to
        // [0, 1] keeps the blend between them (a flow ratio outside 0..1
        // would extrapolate it without limit), and the bounds catch the
        // rounding of the sum.
        const double k1 = ChartK(row.first, q, a, 0.0);
        const double k2 = ChartK(row.second, q, a, 1.0);
        const double w = Clamp(q, 0.0, 1.0);
        r.k = Clamp(w * k1 + (1.0 - w) * k2, r.lo, r.hi);
    } else {
        r.k = ChartK(row.first, q, a, 0.0);
    }
    SetStatus(r);
    return r;
}

}  // namespace

double TeeDividingRunK(double q) {
    double k = kNb;
    for (int i = 0; i < 15; ++i) k += kNv[i] * std::tanh(kNc[i] + kNw[i] * q);
    return k;
}

TeeResult TeeK13(double a, double q, int32_t type, int32_t pattern, int32_t mode, int32_t areaFloor) {
    Row row{};
    const bool found = RowK13(type, pattern, row);
    return Evaluate(found, row, a, q, mode, areaFloor);
}

TeeResult TeeK23(double a, double q, int32_t type, int32_t pattern, int32_t mode, int32_t areaFloor) {
    if (pattern == 0) {
        TeeResult r;
        if (type < 0 || type > 6) {
            r.k = kTeeNoCoefficient;  // no chart for this junction type
            return r;
        }
        r.boundsSet = true;
        r.hi = kNHi;
        r.lo = kNLo;
        if (!std::isfinite(q)) {
            r.k = kTeeNoCoefficient;
            r.status = 0;
            return r;
        }
        // Inside the chart's flow range network N is returned as fitted (its
        // dip below the lowest contour, to -0.034 near q = 0.25, is flagged
        // by the status); outside it the network extrapolates without limit
        // and K is confined to the chart's bounds.
        r.k = TeeDividingRunK(q);
        if (!(q >= 0.0 && q <= 1.0)) r.k = Clamp(r.k, kNLo, kNHi);
        SetStatus(r);
        return r;
    }
    Row row{};
    const bool found = RowK23(type, pattern, row);
    return Evaluate(found, row, a, q, mode, areaFloor);
}

}  // namespace vt
