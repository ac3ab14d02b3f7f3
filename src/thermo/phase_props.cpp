#include "thermo/phase_props.h"

#include <cmath>

#include "correlations/liquid_density.h"
#include "numerics/guards.h"
#include "platform/constants.h"
#include "thermo/eos.h"
#include "thermo/lee_kesler.h"
#include "workspace/workspace.h"

namespace vt {

namespace {

bool HasExactOne(const Workspace& ws, const double* x) {
    for (int i = 0; i < ws.ncomp; ++i)
        if (x[i] == 1.0) return true;
    return false;
}

// H within 1 of the MISSING sentinel (but not equal to it) is moved away so
// that a computed enthalpy is never read as "not available".
double AwayFromMissing(double h) {
    if (h != MISSING && std::fabs(h - MISSING) < 1.0) return h + 1.0;
    return h;
}

}  // namespace

void EosVolumes(const Workspace& ws, int method, double t, double p, const int32_t* states,
                double* const* comps, const double* betas, double* vol) {
    EosSetState(ws, method, t, p);
    double* par = EosPar(ws, method);
    vol[3] = 0.0;
    for (int k = 0; k < 3; ++k) {
        EosMixSolve(ws, method, &par[kAmix + k], &par[kBmix + k], &par[kVmol + k], &par[kZfac + k],
                    states[k] == kLiquid ? 1 : 0, comps[k], ws.eos.sumax);
        const double vm = par[kVmol + k];
        if (states[k] == kAbsent && vm <= 1e-10) {
            vol[k] = 0.018;
            continue;
        }
        vol[k] = vm;
        const bool liquidLike = states[k] == kLiquid || HasExactOne(ws, comps[k]);
        if (liquidLike && states[k] != kVapour && k != 0) {
            const double rho = LiquidMolarDensity(ws, method, t, p, comps[k]);
            if (rho > 0.0) vol[k] = 1.0 / rho;
        }
        vol[3] += vol[k] * betas[k];
    }
}

// The water of a liquid takes the water correlation whenever the table has a
// water component, whatever the K-value method: COSTALD puts liquid water at
// about 1260 kg/m3 near 300 K, so the free-water index (set only for the
// vapour-pressure method) is not the test here.
double LiquidMolarDensity(const Workspace& ws, int method, double t, double p, const double* x) {
    const int iw = WaterComponent(ws);
    if (iw < 0) return LiquidDensity(ws, method, t, p, x);
    double xw = 0.0;
    double* dry = ws.phase.dryA;
    SplitWaterAt(ws, iw, x, &xw, dry);
    double vw = 0.0;
    if (xw > 1e-30) {
        const double tw = xw < 1.0 && t > 645.0 ? 645.0 : t;
        vw = WaterMolarVolume(tw, p);
        if (xw >= 0.999999) return 1.0 / (xw * vw);
    }
    const double rest = LiquidDensity(ws, method, t, p, dry);
    if (rest == 0.0) return 0.0;
    return 1.0 / ((1.0 - xw) / rest + xw * vw);
}

// Saturated-liquid water volume from a reduced-temperature series about the
// critical point (647.3 K, 0.003155 m3/kg); above 646 K an empirical
// vapour-like form around the saturation temperature.
double WaterMolarVolume(double t, double p) {
    if (t < 646.0) {
        const double tau = (647.3 - t) / 647.3;
        const double t13 = std::cbrt(tau);
        const double f = 1.0 - 1.9153882 * t13 + 12.015186 * std::pow(tau, 5.0 / 6.0) -
                         7.8464025 * std::pow(tau, 7.0 / 8.0) - 3.888614 * tau +
                         2.0582238 * tau * tau - 2.0829991 * tau * tau * tau +
                         0.82180004 * std::pow(tau, 4) + 0.47549742 * std::pow(tau, 5);
        return 0.003155 * f * 18.02;
    }
    const double ts = WaterTsat(p);
    const double e1 = ClippedExp(-0.00375928 * t);
    const double e2 = ClippedExp(1.5923434e-5 * ts * ts - (0.0047838281 * ts + 3.741378));
    const double e3 = ClippedExp((ts - t) / 40.0);
    const double pm = p / 1000.0;
    return 18.02 * ((e3 * (0.022 - e2) / 10.0) / pm + (0.000461631 * t) / pm - 0.0527993 * e1);
}

// Two-range fit of the water saturation line, p in MPa.
double WaterTsat(double p) {
    const double pm = p / 1000.0;
    const double lp = SafeLn(pm);
    if (pm < 12.33) return 42.6776 - 3892.7 / (lp - 9.48654);
    return -387.593 - 12587.5 / (lp - 15.2578);
}

double IdealGasProps(const Workspace& ws, double t, const double* x, double* cp, double* h,
                     double* s) {
    const bool wantCp = *cp == MISSING, wantH = *h == MISSING, wantS = *s == MISSING;
    *cp = *h = *s = 0.0;
    if (!wantCp && !wantH && !wantS) return 0.0;
    const CompRecord* cd = ws.cd;
    const double lnT = SafeLn(t);
    for (int i = 0; i < ws.ncomp; ++i) {
        const double xi = x[i];
        if (!(xi >= 1e-10)) continue;
        const CompRecord& c = cd[i];
        const double sMix = c.igg * c.mw - kRgasEos * std::log(xi);
        if (t == 0.0) {
            if (wantCp) *cp += xi * c.igb;
            if (wantH) *h += xi * c.iga;
            if (wantS) *s += xi * sMix;
            continue;
        }
        const double A = c.iga, B = c.igb, C = c.igc, D = c.igd, E = c.ige, F = c.igf;
        if (wantCp) *cp += xi * (B + t * (2.0 * C + t * (3.0 * D + t * (4.0 * E + t * 5.0 * F))));
        if (wantH) *h += xi * (A + t * (B + t * (C + t * (D + t * (E + t * F)))));
        if (wantS)
            *s += xi * (B * lnT + t * (2.0 * C + t * (1.5 * D + t * (1.33333333333 * E + t * 1.25 * F))) +
                        sMix);
    }
    if (wantCp) return *cp;
    if (wantH) return *h;
    return *s;
}

void IdealGasPhases(const Workspace& ws, double t, double* const* comps, const double* betas,
                    double* h, double* s, double* cp) {
    h[3] = s[3] = cp[3] = 0.0;
    for (int k = 0; k < 3; ++k) {
        cp[k] = h[k] = s[k] = MISSING;
        IdealGasProps(ws, t, comps[k], &cp[k], &h[k], &s[k]);
        h[3] += betas[k] * h[k];
        s[3] += betas[k] * s[k];
        cp[3] += betas[k] * cp[k];
    }
}

void EosEnthalpies(const Workspace& ws, int method, double t, double p, const int32_t* states,
                   double* const* comps, const double* betas, double* h, double* s, double* cp) {
    EosSetState(ws, method, t, p);
    double* par = EosPar(ws, method);
    h[3] = s[3] = cp[3] = 0.0;
    for (int k = 0; k < 3; ++k) {
        if (states[k] == kStateUnset || (states[k] == kAbsent && betas[k] <= 1e-10)) {
            h[k] = s[k] = cp[k] = 0.0;
            continue;
        }
        EosMixSolve(ws, method, &par[kAmix + k], &par[kBmix + k], &par[kVmol + k], &par[kZfac + k],
                    k, comps[k], ws.eos.sumax);
        double hd, sd, cpd;
        EosDeparture(ws, method, &cpd, &hd, &sd, par[kVmol + k], par[kAmix + k], par[kBmix + k],
                     comps[k]);
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

// Berthelot's equation in reduced form on Kay's pseudo-critical constants.
void BerthelotVolume(const Workspace& ws, double t, double p, double* const* comps, double* vol) {
    const double* x = comps[0];
    double tpc = 0.0, ppc = 0.0;
    for (int i = 0; i < ws.ncomp; ++i) {
        if (!(x[i] >= 1e-10)) continue;
        tpc += x[i] * ws.cd[i].tc;
        ppc += x[i] * ws.cd[i].pc;
    }
    const double tr = t / tpc;
    double z = 1.0 + (1.0 - 6.0 / (tr * tr)) * (p / ppc) * 0.0703 / tr;
    if (z < 0.3) z = 0.3;
    const double v = kRgasEos * z * t / p;
    vol[0] = vol[3] = v;
    vol[1] = vol[2] = MISSING;
}

void PhaseProperties(const Workspace& ws, int method, int hmethod, double t, double p,
                     double* const* comps, const int32_t* states, const double* betas, double* h,
                     double* s, double* cp, double* v) {
    if (!(t > 0.0) || !(p > 0.0) || !std::isfinite(t) || !std::isfinite(p)) {
        for (int k = 0; k < 4; ++k) h[k] = s[k] = cp[k] = v[k] = MISSING;
        return;
    }
    if (method == 0) {
        BerthelotVolume(ws, t, p, comps, v);
    } else if (method >= 1 && method <= 3) {
        EosVolumes(ws, method, t, p, states, comps, betas, v);
    } else {
        for (int k = 0; k < 4; ++k) v[k] = MISSING;
    }
    if (method >= 0 && method <= 3) {
        v[3] = 0.0;
        for (int k = 0; k < 3; ++k)
            if (v[k] != MISSING) v[3] += betas[k] * v[k];
    }
    switch (hmethod) {
        case 0:
            IdealGasPhases(ws, t, comps, betas, h, s, cp);
            break;
        case 1:
        case 2:
            EosEnthalpies(ws, hmethod, t, p, states, comps, betas, h, s, cp);
            break;
        case 3:
            LkEnthalpies(ws, method, t, p, states, comps, betas, h, s, cp);
            break;
        default:
            for (int k = 0; k < 4; ++k) h[k] = s[k] = cp[k] = MISSING;
    }
}

}  // namespace vt
