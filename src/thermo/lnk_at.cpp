#include "thermo/lnk_at.h"

#include "correlations/liquid_density.h"
#include "numerics/guards.h"
#include "platform/constants.h"
#include "thermo/eos.h"
#include "thermo/flash.h"
#include "workspace/workspace.h"

namespace vt {

namespace {

constexpr double kTrace = 1e-30;
constexpr double kDt = 0.0001;  // K, temperature step of the derivative

// The equilibrium ratio of a component present in both compositions is the
// phase term alone (ln phiA - ln phiB, or ln(Psat/P)): adding ln(xb/xa) to it
// would give 2 ln K at equilibrium. A component missing from one side gets
// the composition floor, and one missing from both gets 0.
double PairValue(double xa, double xb, double term) {
    const bool noA = xa < kTrace, noB = xb < kTrace;
    if (noA && noB) return 0.0;
    if (noB) return SafeLn(kTrace / xa);
    if (noA) return SafeLn(xb / kTrace);
    return term;
}

}  // namespace

void LnKPair(const Workspace& ws, int method, double t, double p, const double* xa,
             const double* xb, double* out) {
    const int n = ws.ncomp;
    if (method == 1 || method == 2) {
        EosSetState(ws, method, t, p);
        double* par = EosPar(ws, method);
        double* s = ws.eos.sumax;
        double* phiA = ws.eos.lnphiA;
        double* phiB = ws.eos.lnphiB;
        double z;
        EosPhaseLnPhi(ws, method, xa, 1, &par[kAmix + 1], &par[kBmix + 1], &par[kVmol + 1], &z, s,
                      phiA);
        EosPhaseLnPhi(ws, method, xb, 0, &par[kAmix], &par[kBmix], &par[kVmol], &z, s, phiB);
        for (int i = 0; i < n; ++i) out[i] = PairValue(xa[i], xb[i], phiA[i] - phiB[i]);
        return;
    }
    if (method == 3) {
        ws.vp_parm[3] = kRgasTransport * t / p;
        ws.vp_parm[0] = 1.0;
        for (int i = 0; i < n; ++i) {
            const double psat = ClippedExp(LeeKeslerLnPsat(ws, i, t));
            out[i] = PairValue(xa[i], xb[i], SafeLn(psat / p));
        }
    }
}

void LnKAt(const Workspace& ws, int method, int32_t freeWater, double t, double p, const double* xa,
           const double* xb, double* out, double* dout, int mode) {
    const int n = ws.ncomp;
    const int w = freeWater >= 0 && freeWater < n ? freeWater : -1;
    const double* a = xa;
    const double* b = xb;
    double keepOut = 0.0, keepDout = 0.0;
    bool evaluate = true;
    if (w >= 0) {
        keepOut = out[w];
        if (mode > 2) keepDout = dout[w];
        double wa, wb;
        SplitWaterAt(ws, w, xa, &wa, ws.phase.dryA);
        SplitWaterAt(ws, w, xb, &wb, ws.phase.dryB);
        a = ws.phase.dryA;
        b = ws.phase.dryB;
        evaluate = !(wa + wb > 0.999999);
    }
    if (evaluate) {
        if (mode > 2) LnKPair(ws, method, t + kDt, p, a, b, dout);
        LnKPair(ws, method, t, p, a, b, out);
        if (mode > 2)
            for (int i = 0; i < n; ++i) dout[i] = (out[i] - dout[i]) * t * t / kDt;
    }
    if (w < 0) return;
    if (xa[w] <= 1e-100) {
        out[w] = keepOut;
        if (mode > 2) dout[w] = keepDout;
        return;
    }
    out[w] = WaterLnK(t, p, xa[w], xb[w]);
    if (mode > 2) dout[w] = (out[w] - WaterLnK(t + kDt, p, xa[w], xb[w])) * t * t / kDt;
    out[w] += SafeLn(xb[w] / xa[w]);
}

}  // namespace vt
