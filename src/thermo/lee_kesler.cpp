// Lee-Kesler departures (B. I. Lee and M. G. Kesler, "A generalized
// thermodynamic correlation based on three-parameter corresponding states",
// AIChE J. 21 (1975) 510-527): the modified Benedict-Webb-Rubin equation of
// the simple and reference fluids, its departure functions, the mixing rules
// of the paper (critical volumes from Zc = 0.2905 - 0.085 omega) and the
// per-phase driver of enthalpy method 3.
#include "thermo/lee_kesler.h"

#include <cmath>

#include "correlations/liquid_density.h"
#include "numerics/guards.h"
#include "thermo/eos.h"
#include "thermo/phase_props.h"
#include "workspace/workspace.h"

namespace vt {

namespace lk {
namespace {

constexpr int kMaxIterations = 50;
constexpr int kMaxHalvings = 50;
constexpr double kMinVr = 1e-4;
// Below this reduced volume the exponential term (exp(-gamma/Vr^2) < 1e-10)
// is dropped from the volume solve.
constexpr double kExpTermVr = 0.05;

struct Coefficients {
    double B, C, D;
};

Coefficients Virial(const Fluid& f, double tr) {
    const double t2 = tr * tr, t3 = t2 * tr;
    return {f.b1 - f.b2 / tr - f.b3 / t2 - f.b4 / t3, f.c1 - f.c2 / tr + f.c3 / t3,
            f.d1 + f.d2 / tr};
}

// Residual Pr Vr/Tr - Z(Tr, Vr) of the volume solve and its derivative.
double Residual(const Fluid& f, const Coefficients& k, double tr, double pr, double v,
                double* slope) {
    const double v2 = v * v, v3 = v2 * v, v5 = v3 * v2;
    const double t3 = tr * tr * tr;
    const double g = f.gamma / v2;
    const double e = v < kExpTermVr ? 0.0 : std::exp(-g);
    const double z = 1.0 + k.B / v + k.C / v2 + k.D / v5 + f.c4 / (t3 * v2) * (f.beta + g) * e;
    const double dexp = f.c4 / t3 * e / v3 * (2.0 * f.beta * (g - 1.0) + 2.0 * g * (g - 2.0));
    const double dz = -k.B / v2 - 2.0 * k.C / v3 - 5.0 * k.D / (v5 * v) + dexp;
    *slope = pr / tr - dz;
    return pr * v / tr - z;
}

// Damped Newton from v: steps limited to half the volume and halved while
// the residual does not decrease. Converged when, from the second iteration
// on, the residual squared is at most 1e-9 or the Newton step is at most
// 1e-5 of the volume; one more Newton step then polishes the root.
double Newton(const Fluid& f, double tr, double pr, double v, bool* converged) {
    const Coefficients k = Virial(f, tr);
    v = std::fmax(v, kMinVr);
    double slope;
    double r = Residual(f, k, tr, pr, v, &slope);
    *converged = false;
    for (int it = 1; it <= kMaxIterations; ++it) {
        double step = -r / slope;
        const double cap = 0.5 * v;
        if (!(std::fabs(step) <= cap)) step = r > 0.0 ? -cap : cap;  // also a zero slope
        const double newton = step;
        double vn = v, rn = r, sn = slope;
        for (int h = 0; h <= kMaxHalvings; ++h) {
            vn = std::fmax(v + step, kMinVr);
            rn = Residual(f, k, tr, pr, vn, &sn);
            if (std::fabs(rn) < std::fabs(r)) break;
            step *= 0.5;
        }
        const double vold = v;
        v = vn, r = rn, slope = sn;
        if (it >= 2 && (r * r <= 1e-9 || std::fabs(newton / vold) <= 1e-5)) {
            *converged = true;
            break;
        }
    }
    if (*converged && slope != 0.0) {
        const double vp = std::fmax(v - r / slope, kMinVr);
        double sp;
        if (std::fabs(Residual(f, k, tr, pr, vp, &sp)) < std::fabs(r)) v = vp;
    }
    return v;
}

}  // namespace

double ReducedVolume(const Fluid& f, double tr, double pr, bool liquid, double vrRetry,
                     bool* converged) {
    const double vapourStart = 10.0 * tr / pr, liquidStart = 0.05;
    bool ok = false;
    double v = Newton(f, tr, pr, liquid ? liquidStart : vapourStart, &ok);
    if (!ok && vrRetry > 0.0) {
        const double w = Newton(f, tr, pr, liquid ? vrRetry : 2.0 * vrRetry, &ok);
        if (ok) v = w;
    }
    // No root of the requested kind: take the fluid's other root rather than
    // a volume that satisfies no equation of state.
    if (!ok) {
        const double w = Newton(f, tr, pr, liquid ? vapourStart : liquidStart, &ok);
        if (ok) v = w;
    }
    *converged = ok;
    return v;
}

Departures FluidDepartures(const Fluid& f, double tr, double pr, double vr) {
    const Coefficients k = Virial(f, tr);
    const double t2 = tr * tr, t3 = t2 * tr;
    const double v = vr, v2 = v * v, v5 = v2 * v2 * v;
    const double z = pr * v / tr;
    const double g = f.gamma / v2;
    const double e = std::exp(-g);
    const double E = f.c4 / (2.0 * t3 * f.gamma) * (f.beta + 1.0 - (f.beta + 1.0 + g) * e);
    Departures d;
    d.z = z;
    d.h = tr * (z - 1.0 - (f.b2 + 2.0 * f.b3 / tr + 3.0 * f.b4 / t2) / (tr * v) -
                (f.c2 - 3.0 * f.c3 / t2) / (2.0 * tr * v2) + f.d2 / (5.0 * tr * v5) + 3.0 * E);
    const double bt = f.b1 + f.b3 / t2 + 2.0 * f.b4 / t3;
    const double ct = f.c1 - 2.0 * f.c3 / t3;
    d.s = SafeLn(z) - bt / v - ct / (2.0 * v2) - f.d1 / (5.0 * v5) + 2.0 * E;
    const double cv = 2.0 * (f.b3 + 3.0 * f.b4 / tr) / (t2 * v) - 3.0 * f.c3 / (t3 * v2) - 6.0 * E;
    const double dpdt = (1.0 + bt / v + ct / v2 + f.d1 / v5 -
                         2.0 * f.c4 / (t3 * v2) * (f.beta + g) * e) / v;
    const double dpdv = -tr / v2 *
                        (1.0 + 2.0 * k.B / v + 3.0 * k.C / v2 + 6.0 * k.D / v5 +
                         f.c4 / (t3 * v2) * (3.0 * f.beta + (5.0 - 2.0 * (f.beta + g)) * g) * e);
    d.cp = cv - 1.0 - tr * dpdt * dpdt / dpdv;
    return d;
}

}  // namespace lk

namespace {

constexpr int kCodeExcluded = 19;  // left out of the pseudo-critical constants

// Critical compressibility of the mixing rules, Zc = 0.2905 - 0.085 omega.
double ZcOf(double omega) { return 0.2905 - 0.085 * omega; }

// H within 1 of the MISSING sentinel (but not equal to it) is moved away so
// that a computed enthalpy is never read as "not available".
double AwayFromMissing(double h) {
    if (h != MISSING && std::fabs(h - MISSING) < 1.0) return h + 1.0;
    return h;
}

double IdealGasCp(const Workspace& ws, double t, const double* x) {
    double cp = MISSING, h = 0.0, s = 0.0;
    return IdealGasProps(ws, t, x, &cp, &h, &s);
}

// Blends the water departures into (h, cp, s) in proportion to xw.
void BlendWater(const Workspace& ws, double t, double p, double xw, bool liquid, int iw, double* h,
                double* cp, double* s) {
    double* unit = ws.phase.lkUnit;
    for (int i = 0; i < ws.ncomp; ++i) unit[i] = 0.0;
    unit[iw] = 1.0;
    double cpig = MISSING, hig = MISSING, sig = MISSING;
    IdealGasProps(ws, t, unit, &cpig, &hig, &sig);
    const WaterBlendValues w = WaterBlend(t, p, xw, liquid);
    const double dry = 1.0 - xw;
    *h = (w.h - hig) * xw + dry * *h;
    *cp = (w.cp - cpig) * xw + dry * *cp;
    *s = (w.s - sig) * xw + dry * *s;
}

}  // namespace

void LkMixing(const Workspace& ws, const double* x, double* tcm, double* pcm, double* vcm,
              double* omegam) {
    const int n = ws.ncomp;
    const CompRecord* cd = ws.cd;
    double xe = 0.0;
    for (int i = 0; i < n; ++i)
        if (cd[i].code == kCodeExcluded) xe += x[i];
    const double scale = 1.0 - xe;
    double* vc13 = ws.phase.lkVc13;
    double om = 0.0;
    for (int i = 0; i < n; ++i) {
        vc13[i] = std::cbrt(ZcOf(cd[i].omega) * kRgasEos * cd[i].tc / cd[i].pc);
        if (cd[i].code != kCodeExcluded && x[i] > 1e-7 && cd[i].omega > 0.0)
            om += x[i] / scale * cd[i].omega;
    }
    double v = 0.0, st = 0.0;
    for (int i = 0; i < n; ++i) {
        if (cd[i].code == kCodeExcluded || !(x[i] > 1e-7) || !(scale > 0.0)) continue;
        const double xi = x[i] / scale;
        for (int j = 0; j < n; ++j) {
            if (cd[j].code == kCodeExcluded || !(x[j] > 1e-7)) continue;
            const double xj = x[j] / scale;
            const double a = vc13[i] + vc13[j];
            const double vij = 0.125 * a * a * a;
            v += xi * xj * vij;
            st += xi * xj * vij * std::sqrt(std::fabs(cd[i].tc * cd[j].tc));
        }
    }
    if (!(scale > 0.0)) om = 0.0;
    *omegam = om;
    *vcm = v;
    if (v != 0.0) {
        *tcm = st / v;
        *pcm = ZcOf(om) * kRgasEos * *tcm / v;
    } else {
        *tcm = st;
        *pcm = ZcOf(om) * kRgasEos * st;
    }
}

void LkDeparture(const Workspace& ws, double t, double p, const double* x, double* h, double* cp,
                 double* s, int liquid, double startVolume) {
    const int iw = WaterComponent(ws);
    const double xw = iw >= 0 ? x[iw] : 0.0;
    double hd = 0.0, cpd = 0.0, sd = 0.0;
    if (xw < 0.999) {
        double tcm, pcm, vcm, om;
        LkMixing(ws, x, &tcm, &pcm, &vcm, &om);
        // 1.98717 cal/(mol K) and the calorie of the steam tables: R in
        // kJ/(kmol K); 1.8 2.3244 takes R Tc from Btu/lbmol to kJ/kmol.
        const double rs = 1.98717 * 4.18392;
        if (tcm > 0.0 && pcm > 0.0 && std::isfinite(tcm) && std::isfinite(pcm)) {
            double tr = t / tcm;
            const double pr = p / pcm;
            const bool raised = tr < 0.15;
            if (raised) tr = 0.15;
            const double vrStart = startVolume > 0.0 ? startVolume * pcm / (kRgasEos * tcm) : 0.0;
            bool ok0, okr;
            const double v0 = lk::ReducedVolume(lk::kSimple, tr, pr, liquid != 0, vrStart, &ok0);
            const double vr = lk::ReducedVolume(lk::kReference, tr, pr, liquid != 0, vrStart, &okr);
            const lk::Departures d0 = lk::FluidDepartures(lk::kSimple, tr, pr, v0);
            const lk::Departures dr = lk::FluidDepartures(lk::kReference, tr, pr, vr);
            const double f = om / lk::kOmegaReference;
            const double dh = d0.h + f * (dr.h - d0.h);
            const double ds = d0.s + f * (dr.s - d0.s);
            const double dc = d0.cp + f * (dr.cp - d0.cp);
            hd = dh * 1.98717 * tcm * 1.8 * 2.3244;
            sd = (ds - SafeLn(p)) * rs;
            cpd = dc * rs;
            // Below Tr = 0.15 the departures of Tr = 0.15 are carried to t
            // with the departure heat capacity; the total heat capacity
            // stays at its value there.
            if (raised) {
                const double tx = 0.15 * tcm;
                hd += (t - tx) * cpd;
                sd += SafeLn(t / tx) * cpd;
                cpd += IdealGasCp(ws, tx, x) - IdealGasCp(ws, t, x);
            }
        } else {
            sd = -SafeLn(p) * rs;  // nothing to correlate: the ideal gas
        }
    }
    if (xw > 0.0) BlendWater(ws, t, p, xw, liquid != 0, iw, &hd, &cpd, &sd);
    *h = hd;
    *cp = cpd;
    *s = sd;
}

void LkEnthalpies(const Workspace& ws, int method, double t, double p, const int32_t* states,
                  double* const* comps, const double* betas, double* h, double* s, double* cp) {
    EosSetState(ws, method, t, p);
    const double* par = EosPar(ws, method);
    h[3] = s[3] = cp[3] = 0.0;
    for (int k = 0; k < 3; ++k) {
        if (states[k] == kStateUnset || (states[k] == kAbsent && betas[k] <= 1e-10)) {
            h[k] = s[k] = cp[k] = 0.0;
            continue;
        }
        const int liquid = (states[k] == kVapour || k == 0) ? 0 : 1;
        double hd, cpd, sd;
        LkDeparture(ws, t, p, comps[k], &hd, &cpd, &sd, liquid, par[kVmol + k]);
        double hig = MISSING, sig = MISSING, cpig = MISSING;
        IdealGasProps(ws, t, comps[k], &cpig, &hig, &sig);
        h[k] = AwayFromMissing(hig + hd);
        cp[k] = cpig + cpd;
        s[k] = sig + sd;
        h[3] += betas[k] * h[k];
        s[3] += betas[k] * s[k];
        cp[3] += betas[k] * cp[k];
    }
}

}  // namespace vt
