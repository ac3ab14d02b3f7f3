#include "thermo/eos.h"

#include <cmath>

#include "correlations/liquid_density.h"
#include "numerics/guards.h"
#include "platform/constants.h"
#include "workspace/workspace.h"

namespace vt {

namespace {

constexpr double kLnPhiAbsent = 230.3;    // component absent from a phase
constexpr double kLnPhiNoVolume = 500.0;  // root at or below the co-volume
constexpr double kTiny = 1e-100;

const double* EosRoots(const Workspace& ws, int method) {
    return method == 2 ? ws.acrootsSRK : ws.acrootsPR;
}
const double* EosOtRoots(const Workspace& ws, int method) {
    return method == 2 ? ws.acotrootsSRK : ws.acotrootsPR;
}

// Real cube root keeping the sign.
double SignedCbrt(double v) { return v < 0.0 ? -std::pow(-v, 1.0 / 3.0) : std::pow(v, 1.0 / 3.0); }

}  // namespace

void EosSetState(const Workspace& ws, int method, double t, double p) {
    double* par = EosPar(ws, method);
    par[kSlotT] = t;
    par[kSlotP] = p;
    par[kSlotRT] = par[kRgasSlot] * t;
    par[kSlotBP] = p / par[kSlotRT];
    par[kSlotAP] = par[kSlotBP] / par[kSlotRT];
}

// Soave alpha function (Soave, Chem. Eng. Sci. 27 (1972) 1197; Peng &
// Robinson, Ind. Eng. Chem. Fundam. 15 (1976) 59), with the water-specific
// constants of water.
void EosAlpha(const Workspace& ws, int method) {
    double* par = EosPar(ws, method);
    CompBlock** info = EosInfo(ws, method);
    double** kij = EosKij(ws, method);
    const double* roots = EosRoots(ws, method);
    const CompRecord* cd = ws.cd;
    const int n = ws.ncomp;
    const double t = par[kSlotT];
    // The values depend on T alone once the workspace is open.
    if (t == par[kAlphaT] && t != 0.0) return;
    for (int i = 0; i < n; ++i) {
        const double sTr = std::sqrt(std::fabs(t / cd[i].tc));
        double c = 1.0;
        double m = info[i]->m;
        if (cd[i].code == kCodeWater) {
            if (method == 2) {
                m = 0.89778478;
                c = 1.017803;
            } else if (sTr < 0.922) {
                m = 0.82154;
                c = 1.0085677;
            } else {
                m = 0.878658;
                c = 1.0;
            }
            info[i]->m = m;
            par[kAlpha0] = c;
        }
        info[i]->sqalpha = std::fabs(c + m * (1.0 - sTr));
    }
    for (int i = 0; i < n; ++i) {
        const double si = info[i]->sqalpha * roots[i];
        for (int j = i; j < n; ++j) {
            const double aij = (1.0 - kij[j][i]) * si * info[j]->sqalpha * roots[j];
            info[j]->aij[i] = aij;
            info[i]->aij[j] = aij;
        }
    }
    par[kAlphaT] = t;
}

void EosMixSolve(const Workspace& ws, int method, double* a, double* b, double* v, double* z,
                 int liquidRoot, const double* x, double* sumax) {
    EosAlpha(ws, method);
    double* par = EosPar(ws, method);
    CompBlock** info = EosInfo(ws, method);
    const int n = ws.ncomp;
    double bm = 0.0, am = 0.0;
    for (int i = 0; i < n; ++i) {
        bm += x[i] * info[i]->b;
        const double* row = info[i]->aij;
        double s = 0.0;
        for (int j = 0; j < n; ++j) s += row[j] * x[j];
        sumax[i] = s;
        am += x[i] * s;
    }
    const double A = par[kSlotAP] * am;
    const double B = par[kSlotBP] * bm;
    par[kAcub] = A;
    par[kBcub] = B;
    const double u = par[kUsum], w = par[kWprod];
    double* c = par + kCubic;
    c[0] = (u - 1.0) * B - 1.0;
    c[1] = A - ((u - w) * B + u) * B;
    c[2] = -((B * B + B) * w + A) * B;
    double r[3];
    const int nr = CubicRoots(c, r);
    double zz;
    if (nr == 1) {
        if (liquidRoot > 0 || r[0] >= 0.1) {
            zz = r[0];
        } else {
            // A vapour root below 0.1: the largest of the returned values.
            zz = r[0];
            if (r[1] > zz) zz = r[1];
            if (r[2] > zz) zz = r[2];
        }
    } else if (liquidRoot > 0) {
        // Smallest root above the co-volume; 100 when there is none.
        zz = 100.0;
        for (int k = 0; k < 3; ++k)
            if (r[k] < zz && r[k] > B) zz = r[k];
    } else {
        zz = -1.0;
        for (int k = 0; k < 3; ++k)
            if (r[k] > zz) zz = r[k];
    }
    *a = am;
    *b = bm;
    *z = zz;
    *v = zz / par[kSlotBP];
}

// Cardano / trigonometric solution of the reduced cubic.
int CubicRoots(const double* c, double* roots) {
    const double c2 = c[0], c1 = c[1], c0 = c[2];
    const double s = c2 * 0.3333333333333333;
    const double q = (c1 - c2 * s) / 3.0;
    const double r2 = ((2.0 * s) * s - c1) * s + c0;
    const double h = r2 / 2.0;
    const double d = h * h + q * q * q;
    if (d == 0.0) {
        const double y = std::sqrt(std::fabs(q));
        if (r2 > 0.0) {
            roots[0] = -2.0 * y - s;
            roots[1] = y - s;
            roots[2] = y - s;
        } else {
            roots[0] = 2.0 * y - s;
            roots[1] = -y - s;
            roots[2] = -y - s;
        }
        return 2;
    }
    if (d > 0.0) {
        const double rd = std::sqrt(d);
        const double u = SignedCbrt(-h + rd);
        const double v = SignedCbrt(-h - rd);
        roots[0] = u + v - s;
        roots[1] = -0.5 * (u + v) - s;
        roots[2] = 0.8660254 * (u - v);
        return 1;
    }
    const double t = std::sqrt(std::fabs(h * h / (q * q * q)));
    const double ct = std::sqrt(std::fabs(1.0 - t * t));
    const double theta = r2 >= 0.0 ? std::atan(t / ct) + 1.5707963 : std::atan(ct / t);
    const double g = 2.0 * std::sqrt(std::fabs(q));
    for (int k = 0; k < 3; ++k) roots[k] = g * std::cos(k * 2.0943951 + theta / 3.0) - s;
    return 3;
}

double InitLnK(int method, const CompRecord& c, double t, double p, int phase) {
    if (method == 1 || method == 2) {
        // Wilson, with the water-like components' liquid estimate damped and
        // a strongly rising estimate for the aqueous phase.
        const double w = SrkAcentric(method, c);
        const double pw = p < 15000.0 ? p : 15000.0;
        double lnk = SafeLn(c.pc / pw) + 5.3727 * (1.0 + w) * (1.0 - c.tc / t);
        if (IsWaterLike(c.code)) {
            if (phase == 1) lnk = 0.5 * lnk + std::log(50.0);
        } else if (phase == 2) {
            const double lq = SafeLn((p / c.pc) * 1e6 * (c.tc / t));
            lnk = w <= 0.25 ? lq : (1.0 + w) * (1.0 + w) * (1.0 + w) * lq;
        }
        return lnk;
    }
    if (method == 3) {
        const double tt = t < c.tc ? t : c.tc;
        double lnk = LeeKeslerLnPsat(c, tt) - SafeLn(p);
        if (phase == 1 && c.code == kCodeWater) lnk = 0.5 * lnk + std::log(50.0);
        if (phase == 2 && c.code != kCodeWater) lnk = 115.15;
        return lnk;
    }
    return MISSING;
}

namespace {

// Initial ln K estimates of EosLnK. Hydrogen takes temperature-
// dependent effective critical constants (quantum-gas correction), on a
// copy of its record.
void InitialEstimates(const Workspace& ws, int method, double t, double p, double* const* comps,
                      int32_t* states, double* lnK1, double* lnK2) {
    const int n = ws.ncomp;
    const CompRecord* cd = ws.cd;
    const double* z = comps[3];
    bool waterLike = false, pure = false;
    for (int i = 0; i < n; ++i) {
        if (z[i] >= 1e-30 && IsWaterLike(cd[i].code)) waterLike = true;
        if (z[i] == 1.0) pure = true;
    }
    const bool second = waterLike && !pure;
    if (!second) {
        states[2] = kAbsent;
        EosPar(ws, method)[kVmol + 2] = 0.0;
    }
    for (int i = 0; i < n; ++i) {
        if (!(z[i] >= 1e-30)) continue;
        CompRecord c = cd[i];
        if (c.code == kCodeHydrogen) {
            c.pc = 2046.765 / (44.2 / (2.016 * t) + 1.0);
            c.tc = 43.6 / (21.8 / (2.016 * t) + 1.0);
        }
        lnK1[i] = InitLnK(method, c, t, p, 1);
        if (second) lnK2[i] = InitLnK(method, c, t, p, 2);
    }
}

}  // namespace

void EosPhaseLnPhi(const Workspace& ws, int method, const double* x, int liquidRoot, double* a,
                   double* b, double* v, double* z, double* s, double* lnphi) {
    double* par = EosPar(ws, method);
    CompBlock** info = EosInfo(ws, method);
    const int n = ws.ncomp;
    EosMixSolve(ws, method, a, b, v, z, liquidRoot, x, s);
    const double am = *a, bm = *b;
    if (*v > bm && bm > 0.0) {
        const double Z = *z, A = par[kAcub], B = par[kBcub];
        par[kZmb] = Z - B;
        const double lz = SafeLn(Z - B);
        par[kZd1] = Z + par[kDelta1] * B;
        par[kZd2] = Z + par[kDelta2] * B;
        par[kQneg] = -A / (B * par[kDdiff]);
        par[kLnratio] = SafeLn(par[kZd1] / par[kZd2]);
        par[kQln] = par[kQneg] * par[kLnratio];
        for (int i = 0; i < n; ++i) {
            const double bi = info[i]->b / bm;
            info[i]->dterm = 2.0 * s[i] / am - bi;
            lnphi[i] = x[i] < kTiny ? kLnPhiAbsent : (Z - 1.0) * bi - info[i]->dterm * par[kQln] - lz;
        }
    } else if (bm > 0.0) {
        *v = bm;
        for (int i = 0; i < n; ++i) lnphi[i] = kLnPhiNoVolume;
    } else {
        // Empty composition: every component is absent from the phase.
        for (int i = 0; i < n; ++i) lnphi[i] = kLnPhiAbsent;
    }
}

void EosLnK(const Workspace& ws, int method, double t, double p, double* const* comps,
            int32_t* states, double* lnK1, double* lnK2) {
    EosSetState(ws, method, t, p);
    if (lnK1[0] == MISSING) {
        InitialEstimates(ws, method, t, p, comps, states, lnK1, lnK2);
        return;
    }
    double* par = EosPar(ws, method);
    CompBlock** info = EosInfo(ws, method);
    const int n = ws.ncomp;
    double* s = ws.eos.sumax;
    double* lnphi = ws.eos.lnphiA;
    for (int k = 0; k < 3; ++k) {
        if (states[k] == kAbsent) {
            for (int i = 0; i < n; ++i) info[i]->lnphi[k] = 0.0;
            continue;
        }
        EosPhaseLnPhi(ws, method, comps[k], states[k] == kLiquid ? 1 : 0, &par[kAmix + k],
                      &par[kBmix + k], &par[kVmol + k], &par[kZfac + k], s, lnphi);
        for (int i = 0; i < n; ++i) {
            info[i]->sumax[k] = s[i];
            info[i]->lnphi[k] = lnphi[i];
        }
    }
    // ln K of the liquids against the vapour; a component missing from a
    // phase borrows its fugacity coefficient from another phase.
    const double* x0 = comps[0];
    const double* x1 = comps[1];
    const double* x2 = comps[2];
    const double* z = comps[3];
    for (int i = 0; i < n; ++i) {
        if (!(z[i] >= 1e-30)) continue;
        double* lp = info[i]->lnphi;
        if (x0[i] < kTiny) lp[0] = x1[i] < kTiny ? lp[2] : lp[1];
        if (states[1] != kAbsent) {
            if (x1[i] < kTiny) lp[1] = lp[0];
            lnK1[i] = lp[1] - lp[0];
        }
        if (states[2] != kAbsent) {
            if (x2[i] < kTiny) lp[2] = lp[0];
            lnK2[i] = lp[2] - lp[0];
        }
    }
}

void EosDeparture(const Workspace& ws, int method, double* cp, double* h, double* s, double v,
                  double a, double b, const double* x) {
    if (!(v > b) || !(b > 0.0)) {  // no volume above the co-volume, or no phase
        *cp = *h = *s = 0.0;
        return;
    }
    const double* par = EosPar(ws, method);
    CompBlock** info = EosInfo(ws, method);
    double** kij = EosKij(ws, method);
    const double* otroots = EosOtRoots(ws, method);
    const CompRecord* cd = ws.cd;
    const int n = ws.ncomp;
    const double t = par[kSlotT], p = par[kSlotP], rt = par[kSlotRT], r = par[kRgasSlot];
    const double d1 = par[kDelta1], d2b = par[kDelta2];
    double* w1 = ws.eos.alphaSlope;
    double* w0 = ws.eos.alphaCurve;
    const double rsT = std::sqrt(std::fabs(1.0 / t));
    for (int j = 0; j < n; ++j) {
        const double cj = cd[j].code == kCodeWater ? par[kAlpha0] : 1.0;
        w1[j] = info[j]->m * x[j] / std::sqrt(std::fabs(cd[j].tc));
        w0[j] = rsT * x[j] * (cj + info[j]->m);
    }
    double dadT = 0.0, sec = 0.0;
    for (int i = 0; i < n; ++i) {
        const double sa = info[i]->sqalpha;
        const double g = x[i] * std::sqrt(std::fabs(sa * sa * info[i]->ac / t));
        for (int j = 0; j < n; ++j) {
            if (!(x[j] > 1e-20)) continue;
            const double tt = (1.0 - kij[i][j]) * x[j] * info[j]->m * otroots[j] * g;
            dadT -= tt;
            sec += tt * w0[j] / (w0[j] - w1[j]);
        }
    }
    const double vd1 = v + d1 * b, vd2 = v + d2b * b;
    const double f = SafeLn(vd1 / vd2) / (b * par[kDdiff]);
    *h = (a - t * dadT) * f + (v * p - rt);
    *s = r * SafeLn((v - b) / rt) - f * dadT;
    const double prod = vd1 * vd2;
    const double dPdT = r / (v - b) - dadT / prod;
    const double dPdV = r * t / ((v - b) * (v - b)) - (b * par[kUsum] + 2.0 * v) * a / (prod * prod);
    *cp = t * (dPdT * dPdT / dPdV - 0.5 * f * sec / t) - r;
}

}  // namespace vt
