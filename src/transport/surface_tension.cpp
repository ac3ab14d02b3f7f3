#include <cmath>

#include "platform/fpenv.h"
#include "transport/transport.h"
#include "transport/transport_util.h"
#include "workspace/workspace.h"

namespace vt {

double TransportOmega(const Workspace& ws, int i) {
    const CompRecord& c = ws.cd[i];
    switch (c.code) {
        case 1: case 2: case 3: case 4: case 5: case 6: case 7: case 9:
        case 14: case 22: case 25: case 26: case 53: case 54: case 59:
            return c.omegasrk;
        case 57: case 62:
            return 0.0;
        case 61:
            return 0.32445;
        default:
            return c.omega;
    }
}

namespace {

// Class fits of the Brock-Bird factor: |c0 + c1 w + c2 w^2 + c3 w^3| and the
// exponent of (1 - Tr), families 1..11.
struct ClassFit {
    double c0, c1, c2, c3, n;
};
constexpr ClassFit kClassFits[11] = {
    {2.3454865, -32.874044, 191.32745, -335.45026, 0.97711481},
    {0.68591568, 2.2727523, -6.3938041, 5.0488209, 1.1706298},
    {0.83939937, 0.89493464, -3.8624623, 3.2046198, 1.1590505},
    {-2.2262461, 24.480206, -62.232878, 50.914462, 1.0926675},
    {3.4525829, -15.36937, 29.684359, -18.615867, 1.1215332},
    {1.8213357, -7.0326293, 17.829494, -1.4649042, 1.2131692},
    {0.38771372, 3.3041179, -7.2593713, 3.9736142, 1.2136641},
    {0.73823971, 6.1299412, -30.35163, 43.914092, 1.2411564},
    {2.3416024, -8.4776483, 14.894101, -7.6201856, 1.1446039},
    {0.33379341, -0.27733407, 7.1831169, -10.324658, 1.1271127},
    {1.0517098, -0.65249436, 1.4065748, -0.8888144, 1.2191367}};

// Water: a fit to the IAPWS surface-tension values, dyn/cm.
double WaterSigma(double Tr) {
    return 138.6 * std::pow(1.0 - Tr, 1.6866 - 2.0607 * Tr + 1.5143 * Tr * Tr);
}

}  // namespace

// Pure-component values by code (fitted data for water, methanol, ethanol
// and the glycols) or by the Brock-Bird corresponding-states method (Brock
// and Bird, AIChE J. 1 (1955) 174) with class corrections; mixed linearly
// by mole fraction, except water and the glycols, which are combined as a
// mass-weighted mean of sigma^(1/4).
int32_t SurfTenLiquid(const Workspace& ws, const double* x, double T, double* out) {
    if (x[0] == MISSING) {
        *out = MISSING;
        return 0;
    }
    if (!std::isfinite(T)) {
        *out = MISSING;
        platform::ClearFpFlags();
        return -1;
    }
    double sum = 0.0, sx = 0.0, sm = 0.0, sq = 0.0;
    for (int i = 0; i < ws.ncomp; ++i) {
        const CompRecord& c = ws.cd[i];
        const double Tr = T / c.tc;
        if (!(Tr < 1.0)) continue;
        const double tbr = c.tb / c.tc;
        const double w = TransportOmega(ws, i);
        const double pa = c.pc * 0.01 / 1.01325;
        const double Q = 0.1207 * (1.0 + tbr * SafeLn(pa) / (1.0 - tbr)) - 0.281;
        const double A = std::pow(pa, 0.66667);
        const double B = std::pow(c.tc, 0.33333);
        double sigma = 0.0;
        bool group = false;
        switch (c.code) {
            case 61:
                sigma = WaterSigma(Tr);
                group = true;
                break;
            case 50:
                sigma = 86.006 * std::pow(1.0 - Tr, 1.13222) * (1.0 - 0.73678 * (1.0 - Tr));
                break;
            case 51:
                sigma = 72.6009 * std::pow(1.0 - Tr, 1.08415) * (1.0 - 0.524168 * (1.0 - Tr));
                break;
            case 132:
                sigma = (0.06709 - 6.48e-05 * T - 3.125e-08 * T * T) * 1000.0;
                group = true;
                break;
            case 130:
                sigma = (0.074516 - 8.9e-05 * T - 3.9465e-17 * T * T) * 1000.0;
                group = true;
                break;
            case 131:
                sigma = (0.06761 - 4.62e-05 * T - 6.46e-08 * T * T) * 1000.0;
                group = true;
                break;
            default:
                if (c.family == 0) {
                    sigma = std::pow(1.0 - Tr, 11.0 / 9.0) * A * B * Q;
                } else if (c.family >= 1 && c.family <= 11) {
                    const ClassFit& k = kClassFits[c.family - 1];
                    sigma = std::fabs(k.c0 + w * (k.c1 + w * (k.c2 + w * k.c3))) *
                            std::pow(1.0 - Tr, k.n) * A * B * Q;
                }
                break;
        }
        if (group) {
            sx += x[i];
            sm += x[i] * c.mw;
            sq += x[i] * c.mw * std::pow(sigma, 0.25);
        } else {
            sum += x[i] * sigma;
        }
    }
    if (sx > 0.0) {
        const double r = sq / sm;
        sum += r * r * r * r * sx;
    }
    *out = sum == 0.0 ? MISSING : FiniteOrMissing(sum);
    platform::ClearFpFlags();
    return -1;
}

}  // namespace vt
