// IFC-67 industrial formulation for water and steam.
//
// Source: "The 1967 IFC Formulation for Industrial Use", International
// Formulation Committee of the Sixth International Conference on the
// Properties of Steam, as reproduced in the ASME Steam Tables (1967) and in
// E. Schmidt, Properties of Water and Steam in SI-Units (Springer, 1969).
// The derivatives of the Gibbs and Helmholtz functions are written out
// analytically.
#include "steam/ifc67.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "platform/constants.h"

namespace vt {
namespace {

constexpr double kTc = 647.3;     // K
constexpr double kPc = 22120.0;   // kPa
constexpr double kVc = 0.00317;   // m3/kg
constexpr double kMw = 18.02;     // kg/kmol
constexpr double kHScale = 1263.569608;  // Pc vc M, kJ/kmol
constexpr double kCpScale = 1.9520618;   // Pc vc M / Tc, kJ/(kmol K)

// Region boundaries, reduced.
constexpr double kThetaMin = 0.42199907307276385;  // 273.16 K
constexpr double kTheta1 = 0.9626911787424688;     // 623.15 K
constexpr double kTheta2 = 1.3334620732272517;     // 863.15 K
constexpr double kThetaMax = 1.657886605901437;    // 1073.15 K
constexpr double kBetaMax = 4.520795660036167;     // 100 MPa

double ClampExp(double x) { return std::exp(std::clamp(x, -50.0, 50.0)); }
double SafeLog(double x) { return x > 0.0 ? std::log(x) : -1000.0; }

// ---- saturation line (K-function) -----------------------------------------
double SaturationReduced(double theta) {
    constexpr double k[9] = {-7.691234564, -26.08023696, -168.1706546, 64.23285504, -118.9646225,
                             4.16711732,   20.9750676,   1e9,          6.0};
    const double x = 1.0 - theta;
    const double num = x * (k[0] + x * (k[1] + x * (k[2] + x * (k[3] + x * k[4]))));
    const double lnb = num / (theta * (1.0 + k[5] * x + k[6] * x * x)) - x / (k[7] * x * x + k[8]);
    return ClampExp(lnb);
}

// ---- subregion 1 ------------------------------------------------------------
constexpr double A[23] = {6.824687741e3,   -5.422063673e2,  -2.096666205e4, 3.941286787e4,
                          -6.733277739e4,  9.902381028e4,   -1.093911774e5, 8.590841667e4,
                          -4.511168742e4,  1.418138926e4,   -2.017271113e3, 7.982692717,
                          -2.616571843e-2, 1.52241179e-3,   2.284279054e-2, 2.421647003e2,
                          1.269716088e-10, 2.074838328e-7,  2.17402035e-8,  1.105710498e-9,
                          1.293441934e1,   1.308119072e-5,  6.047626338e-14};
constexpr double a[13] = {0.0,         0.8438375405, 5.362162162e-4, 1.72,
                          0.07342278489, 0.0497585887, 0.65371543,   1.15e-6,
                          1.5108e-5,   0.14188,      7.002753165,    2.995284926e-4,
                          0.204};

// ---- subregion 2 ------------------------------------------------------------
constexpr double kB = 0.7633333333;
constexpr double kI1 = 4.260321148;
constexpr double kB0 = 16.83599274;
constexpr double kB0l[5] = {28.56067796, -54.38923329, 0.4330662834, -0.6547711697,
                            0.08565182058};
struct XTerm {
    int mu;
    double c;
    int z;  // exponent of X
};
// beta^mu sums, mu = 1..5
constexpr XTerm kBsum[] = {{1, 0.06670375918, 13}, {1, 1.388983801, 3},    {2, 0.08390104328, 18},
                           {2, 0.02614670893, 2},  {2, -0.03373439453, 1}, {3, 0.4520918904, 18},
                           {3, 0.1069036614, 10},  {4, -0.5975336707, 25}, {4, -0.08847535804, 14},
                           {5, 0.5958051609, 32},  {5, -0.5159303373, 28}, {5, 0.2075021122, 24}};
// numerators and denominators of the mu = 6..8 fractions
constexpr XTerm kBnum[] = {{6, 0.1190610271, 12},  {6, -0.09867174132, 11},  {7, 0.1683998803, 24},
                           {7, -0.05809438001, 18}, {8, 0.006552390126, 24}, {8, 0.0005710218649, 14}};
constexpr XTerm kBden[] = {{6, 0.4006073948, 14},
                           {7, 0.08636081627, 19},
                           {8, -0.8532322921, 54},
                           {8, 0.3460208861, 27}};
constexpr double kB9[7] = {193.6587558,  -1388.522425, 4126.607219, -6508.211677,
                           5745.984054,  -2693.088365, 523.5718623};
constexpr double kL[3] = {15.74373327, -34.17061978, 19.31380707};

// ---- subregions 3 and 4 -------------------------------------------------
// Rows k = 0..3 of the (theta - 1)^k chi-functions: C_k1 chi, C_kn chi^(1-n)
// for n = 2.., and the ln chi coefficient.
constexpr double kC0[] = {-7.77175039,  4.20460752,   -2.76807038,  2.10419707,   -1.14649588,
                          0.223138085,  0.116250363,  -0.0820900544, 0.0194129239, -0.00169470576};
constexpr double kC1[] = {12.3679455, -12.0389004, 5.40437422, -0.993865043, 0.0627523182};
constexpr double kC2[] = {43.1430538, -14.1619313, 4.04172459, 1.55546326, -1.66568935, 0.324881158};
constexpr double kC3[] = {80.8859747, -83.615338, 35.8636517,  7.51895954,
                          -12.616064, 1.09717462, 2.12145492,  -0.546529566};
struct ChiRow {
    double lin;
    const double* pw;  // C_k2, C_k3, ...
    int npw;
    double ln;
};
constexpr ChiRow kRows[4] = {{-0.017226042, kC0, 10, -4.311577033},
                             {0.708636085, kC1, 5, -7.74743016},
                             {-4.29885092, kC2, 6, 29.3655325},
                             {7.94841842e-6, kC3, 8, 8.32875413}};
constexpr double kC00 = -6.8399;
constexpr double kC40 = 2.75971776e-6, kC41 = -5.09073985e-4;
constexpr double kC50 = 210.636332;
constexpr double kC6[5] = {0.05528935335, -0.2336365955, 0.369707142, -0.259641547, 0.06828087013};
constexpr double kC7[9] = {-257.1600553, -151.8783715, 22.20723208, -180.203957, 2357.09622,
                           -14623.35698, 45429.1663,   -70535.56432, 43815.71428};
constexpr double kD3[5] = {-1.717616747, 3.526389875, -2.690899373, 0.9070982605, -0.1138791156};
constexpr double kD4[5] = {1.301023613, -2.642777743, 1.996765362, -0.6661557013, 0.08270860589};
constexpr double kD5[3] = {3.426663535e-4, -1.236521258e-3, 1.155018309e-3};

// Value and first two derivatives of a function of one variable.
struct D2 {
    double v, d1, d2;
};

D2 ChiFunction(const ChiRow& r, double chi, double lnchi) {
    D2 o{r.lin * chi + r.ln * lnchi, r.lin + r.ln / chi, -r.ln / (chi * chi)};
    for (int k = 0; k < r.npw; ++k) {
        const int n = k + 2;  // term C_kn chi^(1-n)
        const double e = 1.0 - n;
        const double p = std::pow(chi, e);
        o.v += r.pw[k] * p;
        o.d1 += r.pw[k] * e * p / chi;
        o.d2 += r.pw[k] * e * (e - 1.0) * p / (chi * chi);
    }
    return o;
}

// Adds sum c X^z over the terms of one mu, with its theta derivatives
// (dX/dtheta = -b X).
template <std::size_t N>
void AddXTerms(const XTerm (&terms)[N], int mu, double X, D2& acc) {
    for (const XTerm& t : terms) {
        if (t.mu != mu) continue;
        const double xz = std::pow(X, t.z);
        acc.v += t.c * xz;
        acc.d1 -= t.c * t.z * kB * xz;
        acc.d2 += t.c * t.z * t.z * kB * kB * xz;
    }
}

}  // namespace

namespace ifc67 {

double BoundaryL(double theta) { return kL[0] + theta * (kL[1] + theta * kL[2]); }

double SelectionBoundaryL(double theta) {
    return ((kTheta2 - theta) * 0.747739602169982 + (theta - kTheta1) * kBetaMax -
            (kTheta2 - theta) * 7.160997524 * (theta - kTheta1)) /
           (kTheta2 - kTheta1);
}

Gibbs Region1(double th, double be) {
    Gibbs o{};
    const double lnth = SafeLog(th);
    o.g = A[0] * th * (1.0 - lnth);
    o.gt = -A[0] * lnth;
    o.gtt = -A[0] / th;
    // sum A_n theta^(n-1), n = 1..10
    for (int n = 10; n >= 1; --n) {
        const int e = n - 1;
        o.g += A[n] * std::pow(th, e);
        if (e >= 1) o.gt += A[n] * e * std::pow(th, e - 1);
        if (e >= 2) o.gtt += A[n] * e * (e - 1) * std::pow(th, e - 2);
    }
    // A11 term through Y(theta) and Z(theta, beta)
    const double th2 = th * th, thm6 = std::pow(th, -6.0);
    const double Y = 1.0 - a[1] * th2 - a[2] * thm6;
    const double Yt = -2.0 * a[1] * th + 6.0 * a[2] * thm6 / th;
    const double Ytt = -2.0 * a[1] - 42.0 * a[2] * thm6 / th2;
    const double W = std::sqrt(a[3] * Y * Y - 2.0 * a[4] * th + 2.0 * a[5] * be);
    const double Wt = (a[3] * Y * Yt - a[4]) / W;
    const double Wtt = (a[3] * (Yt * Yt + Y * Ytt) - Wt * Wt) / W;
    const double Z = Y + W, Zt = Yt + Wt, Ztt = Ytt + Wtt;
    const double z12 = std::pow(Z, 12.0 / 17.0), zm5 = std::pow(Z, -5.0 / 17.0);
    const double fZ = A[11] * W * zm5;            // d/dZ
    const double fY = -17.0 / 12.0 * A[11] * z12;  // d/dY
    const double fZZ = A[11] * (12.0 / 17.0 * zm5 + 5.0 / 17.0 * Y * zm5 / Z);
    const double fZY = -A[11] * zm5;
    o.g += A[11] * (17.0 / 29.0 * z12 * Z - 17.0 / 12.0 * Y * z12);
    o.gt += fZ * Zt + fY * Yt;
    o.gtt += fZZ * Zt * Zt + 2.0 * fZY * Zt * Yt + fZ * Ztt + fY * Ytt;
    o.gb += A[11] * a[5] * zm5;
    // [A12 + A13 theta + A14 theta^2 + A15 (a6 - theta)^10 + A16 / (a7 + theta^19)] beta
    const double th18 = std::pow(th, 18.0), th19 = th18 * th;
    const double q19 = 1.0 / (a[7] + th19);
    const double d6 = a[6] - th;
    const double g = A[12] + A[13] * th + A[14] * th2 + A[15] * std::pow(d6, 10.0) + A[16] * q19;
    const double gt =
        A[13] + 2.0 * A[14] * th - 10.0 * A[15] * std::pow(d6, 9.0) - 19.0 * A[16] * th18 * q19 * q19;
    const double gtt = 2.0 * A[14] + 90.0 * A[15] * std::pow(d6, 8.0) -
                       19.0 * A[16] * (18.0 * th18 / th * q19 * q19 - 38.0 * th18 * th18 * q19 * q19 * q19);
    o.g += g * be;
    o.gt += gt * be;
    o.gtt += gtt * be;
    o.gb += g;
    // -(A17 beta + A18 beta^2 + A19 beta^3) / (a8 + theta^11)
    const double th10 = std::pow(th, 10.0);
    const double r = 1.0 / (a[8] + th10 * th);
    const double rt = -11.0 * th10 * r * r;
    const double rtt = -110.0 * th10 / th * r * r + 242.0 * th10 * th10 * r * r * r;
    const double pb = be * (A[17] + be * (A[18] + be * A[19]));
    const double pbb = A[17] + be * (2.0 * A[18] + 3.0 * be * A[19]);
    o.g -= pb * r;
    o.gt -= pb * rt;
    o.gtt -= pb * rtt;
    o.gb -= pbb * r;
    // -A20 theta^18 (a9 + theta^2) [(a10 + beta)^-3 + a11 beta]
    const double s = th18 * (a[9] + th2);
    const double st = 18.0 * a[9] * th18 / th + 20.0 * th19;
    const double stt = 306.0 * a[9] * th18 / th2 + 380.0 * th18;
    const double ab = a[10] + be;
    const double q = 1.0 / (ab * ab * ab) + a[11] * be;
    const double qb = -3.0 / (ab * ab * ab * ab) + a[11];
    o.g -= A[20] * s * q;
    o.gt -= A[20] * st * q;
    o.gtt -= A[20] * stt * q;
    o.gb -= A[20] * s * qb;
    // A21 (a12 - theta) beta^3 + A22 theta^-20 beta^4
    const double be3 = be * be * be;
    const double thm20 = std::pow(th, -20.0);
    o.g += A[21] * (a[12] - th) * be3 + A[22] * thm20 * be3 * be;
    o.gt += -A[21] * be3 - 20.0 * A[22] * thm20 / th * be3 * be;
    o.gtt += 420.0 * A[22] * thm20 / th2 * be3 * be;
    o.gb += 3.0 * A[21] * (a[12] - th) * be * be + 4.0 * A[22] * thm20 * be3;
    return o;
}

Gibbs Region2(double th, double be) {
    Gibbs o{};
    const double lnth = SafeLog(th);
    o.g = kI1 * th * SafeLog(be) + kB0 * th * (1.0 - lnth);
    o.gt = kI1 * SafeLog(be) - kB0 * lnth;
    o.gtt = -kB0 / th;
    o.gb = kI1 * th / be;
    for (int l = 1; l <= 5; ++l) {
        const int e = l - 1;
        o.g += kB0l[l - 1] * std::pow(th, e);
        if (e >= 1) o.gt += kB0l[l - 1] * e * std::pow(th, e - 1);
        if (e >= 2) o.gtt += kB0l[l - 1] * e * (e - 1) * std::pow(th, e - 2);
    }
    const double X = ClampExp(kB * (1.0 - th));
    const double b2 = kB * kB;
    // -sum_mu beta^mu sum_l B X^z
    for (const XTerm& t : kBsum) {
        const double xz = std::pow(X, t.z);
        const double bm = std::pow(be, t.mu);
        o.g -= bm * t.c * xz;
        o.gt += bm * t.c * t.z * kB * xz;
        o.gtt -= bm * t.c * t.z * t.z * b2 * xz;
        o.gb -= t.mu * std::pow(be, t.mu - 1) * t.c * xz;
    }
    // -sum_mu N_mu / (beta^(2-mu) + sum b X^x), mu = 6..8
    for (int mu = 6; mu <= 8; ++mu) {
        D2 N{0, 0, 0}, D{std::pow(be, 2 - mu), 0, 0};
        AddXTerms(kBnum, mu, X, N);
        AddXTerms(kBden, mu, X, D);
        const double iD = 1.0 / D.v;
        o.g -= N.v * iD;
        o.gt -= N.d1 * iD - N.v * D.d1 * iD * iD;
        o.gtt -= N.d2 * iD - 2.0 * N.d1 * D.d1 * iD * iD - N.v * D.d2 * iD * iD +
                 2.0 * N.v * D.d1 * D.d1 * iD * iD * iD;
        o.gb += N.v * (2 - mu) * std::pow(be, 1 - mu) * iD * iD;
    }
    // + beta (beta / betaL)^10 sum_l B9l X^l
    D2 R{0, 0, 0};
    double xl = 1.0;
    for (int l = 0; l <= 6; ++l) {
        R.v += kB9[l] * xl;
        R.d1 -= kB9[l] * l * kB * xl;
        R.d2 += kB9[l] * l * l * b2 * xl;
        xl *= X;
    }
    const double bl = BoundaryL(th), blt = kL[1] + 2.0 * kL[2] * th, bltt = 2.0 * kL[2];
    const double u = std::pow(bl, -10.0);
    const double ut = -10.0 * u / bl * blt;
    const double utt = 110.0 * u / (bl * bl) * blt * blt - 10.0 * u / bl * bltt;
    const double be10 = std::pow(be, 10.0);
    o.g += be10 * be * u * R.v;
    o.gt += be10 * be * (ut * R.v + u * R.d1);
    o.gtt += be10 * be * (utt * R.v + 2.0 * ut * R.d1 + u * R.d2);
    o.gb += 11.0 * be10 * u * R.v;
    return o;
}

Helmholtz Region3(double th, double chi, bool liquidSide) {
    Helmholtz o{};
    const double lnchi = SafeLog(chi);
    const double d = th - 1.0;
    // sum_k (theta - 1)^k F_k(chi)
    double dk = 1.0;
    for (int k = 0; k < 4; ++k) {
        const D2 F = ChiFunction(kRows[k], chi, lnchi);
        const double dk1 = k >= 1 ? k * std::pow(d, k - 1) : 0.0;
        const double dk2 = k >= 2 ? k * (k - 1) * std::pow(d, k - 2) : 0.0;
        o.f += dk * F.v;
        o.fc += dk * F.d1;
        o.fcc += dk * F.d2;
        o.ft += dk1 * F.v;
        o.ftc += dk1 * F.d1;
        o.ftt += dk2 * F.v;
        dk *= d;
    }
    o.f += kC00;
    // (theta - 1) theta^-23 (C40 + C41 chi^-5)
    const double tm23 = std::pow(th, -23.0);
    const double w = d * tm23, wt = -22.0 * tm23 + 23.0 * tm23 / th,
                 wtt = 506.0 * tm23 / th - 552.0 * tm23 / (th * th);
    const double cm5 = std::pow(chi, -5.0);
    const double G = kC40 + kC41 * cm5, Gc = -5.0 * kC41 * cm5 / chi, Gcc = 30.0 * kC41 * cm5 / (chi * chi);
    o.f += w * G;
    o.ft += wt * G;
    o.ftt += wtt * G;
    o.fc += w * Gc;
    o.fcc += w * Gcc;
    o.ftc += wt * Gc;
    // C50 theta ln theta
    const double lnth = SafeLog(th);
    o.f += kC50 * th * lnth;
    o.ft += kC50 * (lnth + 1.0);
    o.ftt += kC50 / th;
    // chi^6 sum_n C6n theta^-(n+2)
    D2 H{0, 0, 0};
    for (int n = 0; n < 5; ++n) {
        const double p = std::pow(th, -(n + 2.0));
        H.v += kC6[n] * p;
        H.d1 -= kC6[n] * (n + 2.0) * p / th;
        H.d2 += kC6[n] * (n + 2.0) * (n + 3.0) * p / (th * th);
    }
    const double c6 = std::pow(chi, 6.0);
    o.f += c6 * H.v;
    o.ft += c6 * H.d1;
    o.ftt += c6 * H.d2;
    o.fc += 6.0 * c6 / chi * H.v;
    o.fcc += 30.0 * c6 / (chi * chi) * H.v;
    o.ftc += 6.0 * c6 / chi * H.d1;
    // sum_n C7n (theta - 1)^(n+1)
    for (int n = 0; n < 9; ++n) {
        o.f += kC7[n] * std::pow(d, n + 1);
        o.ft += kC7[n] * (n + 1) * std::pow(d, n);
        if (n >= 1) o.ftt += kC7[n] * (n + 1) * n * std::pow(d, n - 1);
    }
    if (!liquidSide) return o;
    // subregion 4: y^3 sum D3n chi^-n + y^4 sum D4n chi^-n + y^32 sum D5n chi^n
    const double y = (1.0 - th) / (1.0 - kTheta1), yt = -1.0 / (1.0 - kTheta1);
    auto add = [&](int k, const double* D, int nd, int sign) {
        D2 E{0, 0, 0};
        for (int n = 0; n < nd; ++n) {
            const double e = sign * n;
            const double p = std::pow(chi, e);
            E.v += D[n] * p;
            E.d1 += D[n] * e * p / chi;
            E.d2 += D[n] * e * (e - 1.0) * p / (chi * chi);
        }
        const double yk = std::pow(y, k), yk1 = k * std::pow(y, k - 1) * yt,
                     yk2 = k * (k - 1) * std::pow(y, k - 2) * yt * yt;
        o.f += yk * E.v;
        o.fc += yk * E.d1;
        o.fcc += yk * E.d2;
        o.ft += yk1 * E.v;
        o.ftc += yk1 * E.d1;
        o.ftt += yk2 * E.v;
    };
    add(3, kD3, 5, -1);
    add(4, kD4, 5, -1);
    add(32, kD5, 3, 1);
    return o;
}

namespace {
// Bracketing fallback when the secant fails: walk from the liquid end of the
// volume range upwards (or from the vapour end downwards) to the first
// crossing of P, then bisect.
double BracketVolume(double th, double P, bool liquidSide, bool fromLiquid, double vLo, double vHi) {
    auto excess = [&](double v) { return -Region3(th, v / kVc, liquidSide).fc * kPc - P; };
    const double ratio = 1.02;
    double a = fromLiquid ? vLo : vHi;
    double fa = excess(a);
    if (!std::isfinite(fa)) return MISSING;
    if (std::fabs(fa) / P <= 1e-7) return a;
    for (;;) {
        const double b = fromLiquid ? std::min(a * ratio, vHi) : std::max(a / ratio, vLo);
        const double fb = excess(b);
        if (!std::isfinite(fb)) return MISSING;
        if ((fa > 0.0) != (fb > 0.0)) {
            double lo = a, hi = b, flo = fa;
            for (int it = 0; it < 200; ++it) {
                const double mid = 0.5 * (lo + hi);
                const double fm = excess(mid);
                if (std::fabs(fm) / P <= 1e-7) return mid;
                if ((fm > 0.0) == (flo > 0.0)) {
                    lo = mid;
                    flo = fm;
                } else {
                    hi = mid;
                }
            }
            return 0.5 * (lo + hi);
        }
        if (b == (fromLiquid ? vHi : vLo)) return MISSING;
        a = b;
        fa = fb;
    }
}
}  // namespace

double NearCriticalVolume(double T, double P, bool liquidSide) {
    if (!(P > 0.0) || !std::isfinite(P) || !std::isfinite(T)) return MISSING;
    const double th = T / kTc;
    auto pressure = [&](double v) { return -Region3(th, v / kVc, liquidSide).fc * kPc; };
    // Empirical start in engineering units (ft3/lb from degF and psia).
    const double tF = (T - 273.15) * 1.8 + 32.0;
    const double ppsi = P * 0.145037738;
    const double psat = T < kTc ? SaturationReduced(th) * kPc - 0.01 : kPc;
    const bool compressed = P > psat;
    const double vft = compressed ? (tF - 482.0) / (tF + 58.0) * (92.8 / ppsi + 0.077)
                                  : (tF + 459.67) * 0.3 / ppsi;
    constexpr double vLo = 0.001292222, vHi = 0.0126948;
    auto clampV = [&](double v) { return std::clamp(v, vLo, vHi); };
    double va = clampV(vft * 0.0624262126);
    double pa = pressure(va);
    double vb = clampV(va + (P - pa) * 0.001);
    for (int it = 0; it < 100; ++it) {
        const double pb = pressure(vb);
        if (std::fabs(pb - P) / P <= 1e-7) {
            // From a compressed-liquid start the secant can still settle on
            // the vapour-like root beyond the critical volume (saturated
            // liquid at 625-630 K); a liquid takes its own root when it has one.
            if (liquidSide && vb > kVc) {
                const double vl = BracketVolume(th, P, true, true, vLo, vHi);
                if (vl != MISSING && vl < kVc) return vl;
            }
            return vb;
        }
        const double den = pb - pa;
        if (den == 0.0 || !std::isfinite(den)) break;
        const double vn = clampV(vb - (pb - P) * (vb - va) / den);
        va = vb;
        pa = pb;
        vb = vn;
    }
    // The secant can bounce between the ends of the range across the
    // two-phase loop of the function; find the root on the state's side.
    return BracketVolume(th, P, liquidSide, liquidSide || compressed, vLo, vHi);
}

}  // namespace ifc67

double SaturationPressure(double T) { return SaturationReduced(T / kTc); }

int WaterRegion(double th, double be, int phase) {
    int region = -1;
    const double bs = SaturationReduced(th);
    if (kThetaMin <= th && th <= kTheta1) {
        if (phase == 0)
            region = be <= 1.1 * bs ? 2 : 1;
        else if (phase == 1)
            region = be <= 0.9 * bs ? 2 : 1;
        else
            region = be <= 0.9 * bs ? 2 : be > 1.1 * bs ? 1 : -1;
    }
    if (kTheta1 < th && th < 1.0) {
        if (phase == 0)
            region = (0.0 <= be && be <= ifc67::SelectionBoundaryL(th)) ? 2 : 3;
        else if (phase == 1)
            region = 4;
    }
    if (1.0 <= th && th < kTheta2) {
        const double bl = ifc67::SelectionBoundaryL(th);
        if (0.0 <= be && be <= bl)
            region = 2;
        else if (bl < be && be <= kBetaMax)
            region = 3;
    }
    if (kTheta2 <= th && th <= kThetaMax && 0.0 <= be && be <= kBetaMax) region = 2;
    return region;
}

namespace {
// Reduced enthalpy and heat capacity at (T, P) in the given region; false
// when the near-critical volume cannot be found.
bool ReducedHCp(int region, double T, double P, double& eps, double& cp) {
    const double th = T / kTc, be = P / kPc;
    if (region == 1 || region == 2) {
        const ifc67::Gibbs g = region == 1 ? ifc67::Region1(th, be) : ifc67::Region2(th, be);
        eps = g.g - th * g.gt;
        cp = -th * g.gtt;
        return true;
    }
    const bool liquid = region == 4;
    const double v = ifc67::NearCriticalVolume(T, P, liquid);
    if (v == MISSING) return false;
    const double chi = v / kVc;
    const ifc67::Helmholtz f = ifc67::Region3(th, chi, liquid);
    eps = f.f - th * f.ft - chi * f.fc;
    cp = -th * (f.ftt - f.ftc * f.ftc / f.fcc);
    return true;
}
}  // namespace

double WaterEnthalpy(double T, double P, int phase) {
    const int region = WaterRegion(T / kTc, P / kPc, phase);
    if (region < 0) return 0.0;
    double eps = 0, cp = 0;
    if (!ReducedHCp(region, T, P, eps, cp)) return MISSING;
    return eps * kHScale;
}

double WaterHeatCapacity(double T, double P, int phase) {
    const int region = WaterRegion(T / kTc, P / kPc, phase);
    if (region < 0) return MISSING;
    double eps = 0, cp = 0;
    if (!ReducedHCp(region, T, P, eps, cp)) return MISSING;
    return cp * kCpScale;
}

double SteamMolarVolume(double T, double P, int phase) {
    const double th = T / kTc, be = P / kPc;
    const int region = WaterRegion(th, be, phase);
    if (region < 0) return MISSING;
    double v;
    if (region == 1 || region == 2) {
        if (be <= 0.0) return MISSING;  // the steam volume diverges at zero pressure
        const ifc67::Gibbs g = region == 1 ? ifc67::Region1(th, be) : ifc67::Region2(th, be);
        v = g.gb * kVc;
    } else {
        v = ifc67::NearCriticalVolume(T, P, region == 4);
        if (v == MISSING) return MISSING;
    }
    return v * kMw;
}

}  // namespace vt
