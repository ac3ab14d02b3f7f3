// libFuzzer target: the exports that need no workspace and take numbers by
// value (fittings, friction, flow regime, heat transfer, the liquid
// characteristic volume and viscosity fit, built-in interaction parameters,
// the version).
// Each input is a sequence of calls; every call runs in a host
// floating-point mode picked by the input, is timed, and its outputs are
// checked against what the header promises.
#include <cmath>
#include <cstdio>

#include "fuzz_common.h"

using namespace vantaro_fuzz;

namespace {

char detail[256];

void Tee(Input& in, bool k13) {
    const double a = in.Double(0.0, 1.2), q = in.Double(-0.1, 1.1);
    const int type = in.Int(-1, 8), pattern = in.Int(-1, 2), mode = in.Int(-1, 2),
              floor = in.Int(0, 2);
    double k = -1.0, hi = -7.0, lo = -7.0;
    int32_t status = -1;
    const FpMode m = PickMode(in);
    Timed(k13 ? "getK13" : "getK23", m, [&] {
        return (k13 ? getK13 : getK23)(a, q, type, pattern, &k, mode, floor, &status, &hi, &lo);
    });
    std::snprintf(detail, sizeof detail, "%s(a=%.17g, q=%.17g, type %d, pattern %d, mode %d) K=%.17g",
                  k13 ? "getK13" : "getK23", a, q, type, pattern, mode, k);
    FUZZ_PROMISE(std::isfinite(k), detail);
    if (k == 9e99) {
        const bool noChart = type < 0 || type > 6;
        FUZZ_PROMISE(noChart || !std::isfinite(a) || !std::isfinite(q), detail);
        FUZZ_PROMISE(status == (noChart ? 1 : 0), detail);
        FUZZ_PROMISE(noChart == (hi == -7.0 && lo == -7.0), detail);
        return;
    }
    FUZZ_PROMISE(status == ((k > lo && k < hi) ? 1 : 0), detail);
    const bool fitted = !k13 && pattern == 0 && q >= 0.0 && q <= 1.0;
    if (!fitted) FUZZ_PROMISE(k >= lo && k <= hi, detail);
}

void Contraction(Input& in) {
    const double r = in.Double(0.0, 1.0), angle = in.Double(0.0, 180.0);
    double k = 0.0;
    const int32_t st = Timed("ContractionLossCoefficientBenedict", PickMode(in),
                             [&] { return ContractionLossCoefficientBenedict(r, angle, &k); });
    std::snprintf(detail, sizeof detail, "contraction(%.17g, %.17g) = %d, %.17g", r, angle, st, k);
    FUZZ_PROMISE(st == -1 ? std::isfinite(k) : (st == 0 && k == kMissing), detail);
}

void Friction(Input& in) {
    const int method = in.Int(-1, 2);
    const double d = in.Double(0.1, 48.0), e = in.Double(0.0, 0.1);
    double f = 0.0;
    const int32_t st = Timed("TurbulentFrictionFactor", PickMode(in),
                             [&] { return TurbulentFrictionFactor(method, d, e, &f); });
    std::snprintf(detail, sizeof detail, "friction(%d, %.17g, %.17g) = %d, %.17g", method, d, e,
                  st, f);
    FUZZ_PROMISE(st == 1 ? (std::isfinite(f) && f > 0.0) : (st == 0 && f == kMissing), detail);
}

void Regime(Input& in) {
    const double vg = in.Double(0.01, 200.0), vl = in.Double(0.001, 20.0);
    double s[6];
    const int32_t st = Timed("Mandhane", PickMode(in), [&] { return Mandhane(vg, vl, s); });
    std::snprintf(detail, sizeof detail, "Mandhane(%.17g, %.17g)", vg, vl);
    FUZZ_PROMISE(st == 0, detail);
    if (s[0] == kMissing) {
        for (double v : s) FUZZ_PROMISE(v == kMissing, detail);
        return;
    }
    double sum = 0.0;
    for (double v : s) {
        FUZZ_PROMISE(v >= 0.0 && v <= 1.0, detail);
        sum += v;
    }
    FUZZ_PROMISE(std::fabs(sum - 1.0) < 1e-9, detail);
}

void Groups(Input& in) {
    double r = 0.0;
    const FpMode m = PickMode(in);
    switch (in.Int(0, 2)) {
        case 0: {
            const double v = in.Double(0, 100), d = in.Double(0.01, 2), rho = in.Double(0.1, 1500),
                         mu = in.Double(0.005, 100);
            FUZZ_PROMISE(Timed("Reynolds", m, [&] { return Reynolds(v, d, rho, mu, &r); }) == -1,
                         "Reynolds returns -1");
            break;
        }
        case 1: {
            const double cp = in.Double(0.5, 5), mu = in.Double(0.005, 100), k = in.Double(0.01, 1);
            FUZZ_PROMISE(Timed("Prandtl", m, [&] { return Prandtl(cp, mu, k, &r); }) == -1,
                         "Prandtl returns -1");
            break;
        }
        default: {
            const double t1 = in.Double(200, 800), t2 = in.Double(200, 800), l = in.Double(0.01, 10),
                         mu = in.Double(0.005, 100), r1 = in.Double(0.1, 1500),
                         r2 = in.Double(0.1, 1500);
            FUZZ_PROMISE(
                Timed("Grashof", m, [&] { return Grashof(t1, t2, l, mu, r1, r2, &r); }) == -1,
                "Grashof returns -1");
        }
    }
}

void Film(Input& in) {
    double h = 0.0;
    int32_t st;
    const FpMode m = PickMode(in);
    if (in.Byte() % 2) {
        const double v = in.Double(0, 50), mu = in.Double(0.005, 100), k = in.Double(0.01, 1),
                     cp = in.Double(0.5, 5), rho = in.Double(0.1, 1500), tf = in.Double(250, 800),
                     tw = in.Double(250, 800), d = in.Double(0.01, 1), res = in.Double(0, 1);
        st = Timed("HtcInternal", m,
                   [&] { return HtcInternal(v, mu, k, cp, rho, tf, tw, d, res, &h); });
        std::snprintf(detail, sizeof detail, "HtcInternal(%g,%g,%g,%g,%g,%g,%g,%g) = %d, %.17g", v,
                      mu, k, cp, rho, tf, tw, d, st, h);
    } else {
        const double v = in.Double(0, 30), ta = in.Double(230, 330), ts = in.Double(230, 900),
                     d = in.Double(0.01, 2);
        const int16_t orientation = static_cast<int16_t>(in.Int(-1, 2)),
                      medium = static_cast<int16_t>(in.Int(-1, 2));
        st = Timed("HtcExternal", m,
                   [&] { return HtcExternal(v, ta, ts, d, orientation, &h, medium); });
        std::snprintf(detail, sizeof detail, "HtcExternal(%g,%g,%g,%g,%d,%d) = %d, %.17g", v, ta,
                      ts, d, orientation, medium, st, h);
    }
    FUZZ_PROMISE(st == -1 ? (std::isfinite(h) && h > 0.0) : (st == 0 && h == kMissing), detail);
}

void Superheat(Input& in) {
    const double t = in.Double(200, 1300), p = in.Double(0, 3500);
    const double k = Timed("SuperheatCoefficient", PickMode(in),
                           [&] { return SuperheatCoefficient(t, p); });
    std::snprintf(detail, sizeof detail, "SuperheatCoefficient(%.17g, %.17g) = %.17g", t, p, k);
    FUZZ_PROMISE(std::isfinite(k) && k > 0.0, detail);
}

void Vchar(Input& in) {
    const double liqden = in.Double(100, 1500), osrk = in.Double(-0.5, 1.5), mw = in.Double(2, 600),
                 tc = in.Double(5, 1000), pc = in.Double(100, 10000), tref = in.Double(100, 400),
                 omega = in.Double(-0.5, 1.5);
    double v = 0.0;
    const int32_t st = Timed("PureVchar", PickMode(in), [&] {
        return PureVchar(liqden, osrk, mw, tc, pc, tref, omega, &v);
    });
    std::snprintf(detail, sizeof detail, "PureVchar(%g,%g,%g,%g,%g,%g,%g) = %.17g", liqden, osrk,
                  mw, tc, pc, tref, omega, v);
    FUZZ_PROMISE(st == -1, detail);
    FUZZ_PROMISE(v == kMissing || (std::isfinite(v) && v > 0.0), detail);
}

void ViscFit(Input& in) {
    const int kind = in.Byte() % 2 ? in.Int(0, 2) : static_cast<int>(in.U16()) << 8;
    const double mw = in.Double(2, 600), tc = in.Double(5, 1000), pc = in.Double(1, 100),
                 vc = in.Double(0.05, 2), vstar = in.Double(0.05, 2), omega = in.Double(-0.5, 1.5),
                 osrk = in.Double(-0.5, 1.5), tb = in.Double(20, 900), liqden = in.Double(100, 1500);
    double a = 0.0, b = 0.0;
    const int32_t st = Timed("ViscParam", PickMode(in), [&] {
        return ViscParam(kind, mw, tc, pc, vc, vstar, omega, osrk, tb, liqden, &a, &b);
    });
    std::snprintf(detail, sizeof detail, "ViscParam(%d,%g,%g,%g,%g,%g,%g,%g,%g,%g) = %.17g %.17g",
                  kind, mw, tc, pc, vc, vstar, omega, osrk, tb, liqden, a, b);
    FUZZ_PROMISE(st == -1, detail);
    FUZZ_PROMISE(std::isfinite(a) && std::isfinite(b), detail);
    FUZZ_PROMISE((a == kMissing) == (b == kMissing), detail);
}

void Kij(Input& in) {
    double k = 7.0;
    const int method = in.Int(-1, 3);
    const FpMode m = PickMode(in);
    if (in.Byte() % 2) {
        const int c1 = in.Byte(), f1 = in.Int(-1, 12), c2 = in.Byte(), f2 = in.Int(-1, 12);
        Timed("GetKijHardWired", m, [&] {
            GetKijHardWired(method, c1, f1, c2, f2, &k);
            return 0;
        });
        FUZZ_PROMISE(std::isfinite(k), "GetKijHardWired gives a number");
    } else {
        // No workspace is open in this target: every index is out of range.
        const int i = in.Int(-2, 3), j = in.Int(-2, 3);
        const int32_t st = Timed("EstimateKij", m, [&] { return EstimateKij(method, i, j, &k); });
        FUZZ_PROMISE(st == 0 && k == 0.0, "EstimateKij without a workspace: 0, kij 0");
    }
}

// The version, with any of its three pointers null.
void Version(Input& in) {
    const int nulls = in.Int(0, 7);
    int32_t v[3] = {-1, -1, -1};
    Timed("VantaroVersion", PickMode(in), [&] {
        VantaroVersion(nulls & 1 ? nullptr : &v[0], nulls & 2 ? nullptr : &v[1],
                       nulls & 4 ? nullptr : &v[2]);
        return 0;
    });
    const int32_t want[3] = {VANTARO_VERSION_MAJOR, VANTARO_VERSION_MINOR, VANTARO_VERSION_PATCH};
    for (int k = 0; k < 3; ++k)
        FUZZ_PROMISE(v[k] == (nulls >> k & 1 ? -1 : want[k]), "VantaroVersion fills what it is given");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SilenceMessagesOnce();
    Input in(data, size);
    for (int calls = 0; in.More() && calls < 64; ++calls) {
        switch (in.Byte() % 12) {
            case 0: Tee(in, true); break;
            case 1: Tee(in, false); break;
            case 2: Contraction(in); break;
            case 3: Friction(in); break;
            case 4: Regime(in); break;
            case 5: Groups(in); break;
            case 6: Film(in); break;
            case 7: Superheat(in); break;
            case 8: Vchar(in); break;
            case 9: ViscFit(in); break;
            case 11: Version(in); break;
            default: Kij(in); break;
        }
    }
    return 0;
}
