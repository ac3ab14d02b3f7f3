#include "thermo/lnk_at.h"

#include "platform/constants.h"
#include "props/liquid_density.h"
#include "thermo/eos.h"
#include "thermo/flash.h"
#include "thermo/guards.h"
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

void LnKPair(int method, double t, double p, const double* xa, const double* xb, double* out) {
    const int n = g_ws.ncomp;
    if (method == 1 || method == 2) {
        EosSetState(method, t, p);
        double* par = EosPar(method);
        double* s = g_ws.work4[8];
        double* phiA = g_ws.work4[9];
        double* phiB = g_ws.work1[19];
        double z;
        EosPhaseLnPhi(method, xa, 1, &par[kAmix + 1], &par[kBmix + 1], &par[kVmol + 1], &z, s, phiA);
        EosPhaseLnPhi(method, xb, 0, &par[kAmix], &par[kBmix], &par[kVmol], &z, s, phiB);
        for (int i = 0; i < n; ++i) out[i] = PairValue(xa[i], xb[i], phiA[i] - phiB[i]);
        return;
    }
    if (method == 3) {
        g_ws.vp_parm[3] = kRgasTransport * t / p;
        g_ws.vp_parm[0] = 1.0;
        for (int i = 0; i < n; ++i) {
            const double psat = ClippedExp(LeeKeslerLnPsat(i, t));
            out[i] = PairValue(xa[i], xb[i], SafeLn(psat / p));
        }
    }
}

void LnKAt(int method, double t, double p, const double* xa, const double* xb, double* out,
           double* dout, int mode) {
    const int n = g_ws.ncomp;
    const int w = g_ws.iwater >= 0 && g_ws.iwater < n ? g_ws.iwater : -1;
    const double* a = xa;
    const double* b = xb;
    double keepOut = 0.0, keepDout = 0.0;
    bool evaluate = true;
    if (w >= 0) {
        keepOut = out[w];
        if (mode > 2) keepDout = dout[w];
        double wa, wb;
        SplitWater(xa, &wa, g_ws.work1[11]);
        SplitWater(xb, &wb, g_ws.work1[12]);
        a = g_ws.work1[11];
        b = g_ws.work1[12];
        evaluate = !(wa + wb > 0.999999);
    }
    if (evaluate) {
        if (mode > 2) LnKPair(method, t + kDt, p, a, b, dout);
        LnKPair(method, t, p, a, b, out);
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
