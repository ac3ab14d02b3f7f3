#include "workspace/workspace.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "platform/alloc.h"
#include "platform/constants.h"
#include "platform/message.h"

namespace vt {

Workspace g_ws;

namespace {

using platform::AllocateArray;
using platform::Release;

// Label and index shown by the failure messages.
struct Stage {
    const char* label = "";
    int index = -1;
    void Set(const char* l, int i) {
        label = l;
        index = i;
    }
};

void Report(const char* what, const Stage& st) {
    char text[256];
    std::snprintf(text, sizeof text, "%s\nObject = %s\nIndex  = %d", what, st.label, st.index);
    platform::ShowMessage(text);
}

constexpr const char* kAllocError = "Memory Allocation Error While Initialising Flash!";
constexpr const char* kPrecalcError = "Parameter Precalculation Error While Initialising Flash!";

// Allocates `count` T into `p` (null first, so a failure leaves it null).
template <class T>
bool Alloc(T*& p, std::size_t count) {
    p = nullptr;
    p = AllocateArray<T>(count);
    return p != nullptr;
}

bool AllocKij(double**& rows, const double* src, int n, const char* rowsLabel,
              const char* rowLabel, Stage& st) {
    st.Set(rowsLabel, -1);
    if (!Alloc(rows, n)) return false;
    for (int i = 0; i < n; ++i) {
        st.Set(rowLabel, i);
        if (!Alloc(rows[i], n)) return false;
        std::memcpy(rows[i], src + static_cast<std::size_t>(i) * n, sizeof(double) * n);
    }
    return true;
}

struct EosLabels {
    const char *par, *info, *roots, *otroots, *infoI, *aij;
};

bool AllocEos(double*& par, CompBlock**& info, double*& roots, double*& otroots, int n,
              const EosLabels& lb, Stage& st) {
    st.Set(lb.par, -1);
    if (!Alloc(par, kParSlots)) return false;
    st.Set(lb.info, -1);
    if (!Alloc(info, n)) return false;
    st.Set(lb.roots, -1);
    if (!Alloc(roots, n)) return false;
    st.Set(lb.otroots, -1);
    if (!Alloc(otroots, n)) return false;
    for (int i = 0; i < n; ++i) {
        st.Set(lb.infoI, i);
        if (!Alloc(info[i], 1)) return false;
        st.Set(lb.aij, i);
        if (!Alloc(info[i]->aij, n)) return false;
    }
    return true;
}

bool Allocation(int n, const CompRecord* records, const double* kijpr, const double* kijsrk,
                Stage& st) {
    Workspace& w = g_ws;
    st.Set("cd", -1);
    if (!Alloc(w.cd, n)) return false;
    if (n > 0) std::memcpy(w.cd, records, sizeof(CompRecord) * n);
    if (!AllocKij(w.kijpr, kijpr, n, "kijpr", "kijpr[i]", st)) return false;
    if (!AllocKij(w.kijsrk, kijsrk, n, "kijsrk", "kijsrk[i]", st)) return false;
    // The work vectors set no label of their own.
    for (auto& v : w.work1) if (!Alloc(v, n)) return false;
    for (auto& v : w.work2) if (!Alloc(v, n)) return false;
    for (auto& v : w.work3) if (!Alloc(v, n)) return false;
    for (auto& v : w.work4) if (!Alloc(v, n)) return false;
    if (!AllocEos(w.prpar, w.prinfo, w.acrootsPR, w.acotrootsPR, n,
                  {"prpar", "prinfo", "acrootsPR", "acotrootsPR", "prinfo[i]", "prinfo[i]->aij"}, st))
        return false;
    if (!AllocEos(w.srkpar, w.srkinfo, w.acrootsSRK, w.acotrootsSRK, n,
                  {"srkpar", "srkinfo", "acrootsSRK", "acotrootsSRK", "srkinfo[i]",
                   "srkinfo[i]->aij"},
                  st))
        return false;
    st.Set("vp_parm", -1);
    if (!Alloc(w.vp_parm, 6)) return false;
    struct Named { const char* label; double** p; };
    const Named named[] = {{"molev", &w.molev}, {"mole1", &w.mole1}, {"molew", &w.molew},
                           {"molem", &w.molem}, {"mw12", &w.mw12},   {"mw13", &w.mw13},
                           {"pc23", &w.pc23},   {"tc16", &w.tc16}};
    for (const Named& v : named) {
        st.Set(v.label, -1);
        if (!Alloc(*v.p, n)) return false;
    }
    return true;
}

void FillConstants(double* par, double omegaA, double omegaB, double m0, double m1, double m2,
                   double delta1, double delta2) {
    par[kOmegaA] = omegaA;
    par[kOmegaB] = omegaB;
    par[kM0] = m0;
    par[kM1] = m1;
    par[kM2] = m2;
    par[kDelta1] = delta1;
    par[kDelta2] = delta2;
    par[kDdiff] = delta2 - delta1;
    par[kUsum] = delta2 + delta1;
    par[kWprod] = delta2 * delta1;
    par[kRgasSlot] = kRgasEos;
}

// b, ac and the two root vectors of component i; false when a value is not
// a finite number (zero tc or pc, non-finite input).
bool CriticalTerms(const double* par, CompBlock& blk, double& root, double& otroot, int i,
                   const char* otLabel, Stage& st) {
    const CompRecord& c = g_ws.cd[i];
    const double rtc = par[kRgasSlot] * c.tc;
    const double t = rtc / c.pc;
    blk.ac = par[kOmegaA] * t * rtc;
    blk.b = par[kOmegaB] * t;
    root = std::sqrt(std::fabs(blk.ac));
    if (!std::isfinite(blk.m) || !std::isfinite(blk.ac) || !std::isfinite(blk.b)) return false;
    st.Set(otLabel, i);
    otroot = std::sqrt(std::fabs(blk.ac / c.tc));
    return std::isfinite(otroot);
}

bool Precalculation(int n, Stage& st) {
    Workspace& w = g_ws;
    FillConstants(w.prpar, 0.457235, 0.077796, 0.37464, 1.54226, 0.26992, 2.41421, -0.41421);
    for (int i = 0; i < n; ++i) {
        st.Set("prinfo[i]->am", i);
        const double om = SrkAcentric(w, 1, i);
        CompBlock& blk = *w.prinfo[i];
        if (om < 0.49)
            blk.m = 0.37464 + 1.54226 * om - 0.26992 * om * om;
        else
            blk.m = 0.379642 + 1.48503 * om - 0.164423 * om * om + 0.016666 * om * om * om;
        if (!CriticalTerms(w.prpar, blk, w.acrootsPR[i], w.acotrootsPR[i], i, "acotrootPR[i]", st))
            return false;
    }
    st.Set("srkpar", -1);
    FillConstants(w.srkpar, 0.42747, 0.08664, 0.48, 1.57, 0.17, 1.0, 0.0);
    for (int i = 0; i < n; ++i) {
        st.Set("srkinfo[i]->am", i);
        const double om = SrkAcentric(w, 2, i);
        CompBlock& blk = *w.srkinfo[i];
        blk.m = 0.48 + 1.57 * om - 0.17 * om * om;
        if (!CriticalTerms(w.srkpar, blk, w.acrootsSRK[i], w.acotrootsSRK[i], i, "acotrootSRK[i]",
                           st))
            return false;
    }
    for (int i = 0; i < n; ++i) {
        const CompRecord& c = w.cd[i];
        w.mw13[i] = std::pow(c.mw, 0.33333);
        w.mw12[i] = std::pow(c.mw, 0.5);
        w.pc23[i] = std::pow(c.pc, 0.66667);
        w.tc16[i] = std::pow(c.tc, 0.16667);
    }
    return true;
}

template <class T>
void Free(T*& p) {
    Release(p);
    p = nullptr;
}

void FreeRows(double**& rows, int n) {
    if (!rows) return;
    for (int i = 0; i < n; ++i) Free(rows[i]);
    Free(rows);
}

void FreeInfo(CompBlock**& info, int n) {
    if (!info) return;
    for (int i = 0; i < n; ++i) {
        if (info[i]) Free(info[i]->aij);
        Free(info[i]);
    }
    Free(info);
}

}  // namespace

double SrkAcentric(int method, const CompRecord& c) {
    if (method != 2 || c.omegasrk == MISSING) return c.omega;
    if (c.code == kCodeWater) return 0.32445;
    if (c.code == kCodeHydrogen || c.code == kCodeHelium) return 0.0;
    if (c.code <= kCodeLastSrkOmega) return c.omegasrk;
    return c.omega;
}

int32_t WaterComponent(const Workspace& ws) {
    for (int i = 0; i < ws.ncomp; ++i)
        if (ws.cd[i].code == kCodeWater) return i;
    return kNoWater;
}

int32_t FreeWaterComponent(const Workspace& ws, int method) {
    return method == 3 ? WaterComponent(ws) : kNoWater;
}

namespace {

// The named scratch vectors on the work vectors.
void BindScratch(Workspace& w) {
    double** a = w.work1;
    w.flash = {a[7],
               a[6],
               a[0],
               a[1],
               a[2],
               a[3],
               a[4],
               a[5],
               {a[11], a[12], a[16]},
               a[9],
               a[17],
               a[18],
               {a[37], a[38], a[39]}};
    w.eos = {w.work4[8], w.work4[9], a[19], w.work4[0], w.work4[1]};
    w.phase = {a[11], a[12], w.work3[0], w.work3[1]};
    w.prop3 = {a[10],
               a[13],
               a[14],
               a[15],
               {a[13], a[14], a[15]},
               {a[30], a[31], a[32], a[33], a[34], a[35]}};
    w.transport = {w.work2[0], w.work2[1]};
    w.stream = {a[25], a[26], a[27], a[28]};
}

}  // namespace

void OpenProps(int32_t n, const CompRecord* records, const double* kijpr, const double* kijsrk) {
    if (g_ws.cd) CloseProps();
    g_ws.ncomp = n;
    Stage st;
    if (!Allocation(n, records, kijpr, kijsrk, st)) {
        Report(kAllocError, st);
        // A partly built workspace would leave null arrays behind a non-zero
        // component count for the next call to read: release it, so every
        // export sees an empty table until the host opens one again.
        CloseProps();
        return;
    }
    BindScratch(g_ws);
    if (!Precalculation(n, st)) Report(kPrecalcError, st);
}

void CloseProps() {
    Workspace& w = g_ws;
    const int n = w.ncomp;
    Free(w.cd);
    FreeRows(w.kijpr, n);
    FreeRows(w.kijsrk, n);
    for (auto& v : w.work1) Free(v);
    for (auto& v : w.work2) Free(v);
    for (auto& v : w.work3) Free(v);
    for (auto& v : w.work4) Free(v);
    Free(w.vp_parm);
    Free(w.prpar);
    FreeInfo(w.prinfo, n);
    Free(w.srkpar);
    FreeInfo(w.srkinfo, n);
    Free(w.acrootsPR);
    Free(w.acotrootsPR);
    Free(w.acrootsSRK);
    Free(w.acotrootsSRK);
    for (double** v : {&w.molev, &w.mole1, &w.molew, &w.molem, &w.mw12, &w.mw13, &w.pc23, &w.tc16})
        Free(*v);
    w.flash = {};
    w.eos = {};
    w.phase = {};
    w.prop3 = {};
    w.transport = {};
    w.stream = {};
    w.ncomp = 0;
}

}  // namespace vt
