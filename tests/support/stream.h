// Test support: one Prop3 evaluation through the export, the sonic velocity
// of a stream, and a natural gas several tests share.
#pragma once
#include <string>
#include <vector>

#include "vantaro/vantaro.h"

namespace vt::test {

inline const double kTol[4] = {0.01, 0.1, 0.001, 1e-4};

struct Stream {
    int32_t status = 4;
    double t = VANTARO_MISSING, p = VANTARO_MISSING;
    int32_t ph[3] = {0, 0, 0};
    double frac[5], h[5], s[5], cp[5], v[5], mw[5];
    std::vector<double> y, x, xw, xl;

    double Density(int slot = 3) const { return mw[slot] / v[slot]; }
};

// Prop3 with T, P and at most one of the vapour-fraction, enthalpy and
// entropy specifications (MISSING where not given); Peng-Robinson and the
// method's own enthalpy method unless told.
inline Stream Evaluate(std::vector<double> z, double t, double p, double vf = VANTARO_MISSING,
                       double h = VANTARO_MISSING, double s = VANTARO_MISSING, int method = 1,
                       int hmethod = -1, const double* tol = kTol) {
    Stream o;
    const size_t n = z.size();
    o.y.assign(n, 0.0), o.x.assign(n, 0.0), o.xw.assign(n, 0.0), o.xl.assign(n, 0.0);
    for (int k = 0; k < 5; ++k)
        o.frac[k] = o.h[k] = o.s[k] = o.cp[k] = o.v[k] = o.mw[k] = VANTARO_MISSING;
    o.frac[0] = vf, o.h[3] = h, o.s[3] = s, o.t = t, o.p = p;
    o.status = ::Prop3(method, hmethod < 0 ? method : hmethod, &o.t, &o.p, z.data(), o.y.data(),
                       o.x.data(), o.xw.data(), o.xl.data(), o.ph, o.frac, o.h, o.s, o.cp, o.v,
                       o.mw, VANTARO_MISSING, tol);
    return o;
}

// Sonic velocity of z at (t, p), or at p and enthalpy hin, Peng-Robinson.
inline double Sonic(std::vector<double> z, double t, double p, double hin = VANTARO_MISSING) {
    const Stream s = Evaluate(z, t, p, VANTARO_MISSING, t != VANTARO_MISSING ? VANTARO_MISSING : hin);
    double c = 0.0;
    ::SonicVelocity(1, 1, p, t, hin, z.data(), s.mw[3], 0.0, 0.0, &c, kTol);
    return c;
}

// A natural gas.
inline const std::vector<std::string> kGasNames = {"nitrogen", "carbon dioxide", "methane",
                                                   "ethane",   "propane",        "n-butane"};
inline const std::vector<double> kGasZ = {0.02, 0.03, 0.82, 0.07, 0.04, 0.02};

}  // namespace vt::test
