// The C boundary: no C++ exception crosses it, the version export, and
// finite but extreme inputs, whose results stay what the header promises (a
// number, or MISSING), never an infinity or NaN.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <stdexcept>
#include <string>

#include "api/guard.h"
#include "vantaro/vantaro.h"

namespace {

TEST(ExportGuard, ExceptionsBecomeTheFailureResult) {
    using vt::api::FpExit;
    EXPECT_EQ(vt::api::Guarded(FpExit::Clear, -7, []() -> int { throw std::runtime_error("x"); }), -7);
    EXPECT_EQ(vt::api::Guarded(FpExit::Keep, 3, []() -> int { throw 1; }), 3);
}

// The numbers of the header's macros, also in the version string; null
// pointers are skipped.
TEST(Version, ExportMatchesHeaderMacrosAndSkipsNullPointers) {
    int32_t v[3] = {-1, -1, -1};
    VantaroVersion(nullptr, nullptr, nullptr);
    VantaroVersion(&v[0], nullptr, &v[2]);
    VantaroVersion(nullptr, &v[1], nullptr);
    EXPECT_TRUE(v[0] == VANTARO_VERSION_MAJOR && v[1] == VANTARO_VERSION_MINOR && v[2] == VANTARO_VERSION_PATCH);
    EXPECT_EQ(std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]), VANTARO_VERSION_STRING);
}

// V* from finite positive constants where the iteration cannot converge:
// the critical-compressibility estimate z R Tc / Pc with
// z = 1 / (3.41 + 1.28 omegasrk); MISSING when even that overflows.
TEST(ExtremeInputs, PureVcharFallsBackToTheEstimateOrMissing) {
    for (auto [liqden, omegasrk, mw, tc, pc] :
         {std::tuple{1e-300, 8.3142, 1000.0, 2.0, 8.3142}, {1.0, 273.15, 1e300, 481.04, 4836.5}}) {
        double v = 0;
        EXPECT_EQ(PureVchar(liqden, omegasrk, mw, tc, pc, 300.0, 0.1, &v), -1);
        EXPECT_DOUBLE_EQ(v, 8.31434 * tc / pc / (3.41 + 1.28 * omegasrk)) << liqden;
    }
    double v = 0;
    PureVchar(1.0, 0.1, 1.0, DBL_MAX, 1e-300, 300, 0.1, &v);
    EXPECT_EQ(v, VANTARO_MISSING);
}

// Vapour lines: P2 at the top of the double range is written as it is; a
// friction term that overflows gives no drop without flow and, with flow, an
// answer above the range (isothermal: 1000 bar; adiabatic: no root, P2;
// status 0 for both); without flow P2 comes back,
// never a rounding below it through the conversion to pascals.
TEST(ExtremeInputs, VapourLines) {
    StreamState gas{};
    gas.pref = 5, gas.vfrac = 1, gas.mixmw = gas.vapmw = gas.liqmw = 20, gas.mixden = gas.vapden = 5;
    gas.liqden = 500, gas.mixvisc = gas.vapvisc = 0.011, gas.mixcp = gas.vapcp = 40;
    const PipeSegment pipe = {100, 6, 0, 0, 0, 0.0018, 0.0018, 1}, endless = {1, 6, 0, 0, 0, 0.0018, 0.0018, DBL_MAX};
    const struct {
        const PipeSegment* pipe;
        int method, rescale, status;
        double p2, w, p[2];
    } cases[] = {{&pipe, 0, 0, -1, 1e304, 20000, {1e304, 1e304}}, {&pipe, 0, 0, -1, DBL_MAX, 20000, {DBL_MAX, DBL_MAX}},
                 {&endless, 1, 1, -1, 50, 0, {50, 50}},           {&endless, 1, 1, 0, 50, 1000, {1000, 50}},
                 {&pipe, 1, 1, -1, 99.608285648889904, 0, {99.608285648889904, 99.608285648889904}},
                 {&pipe, 1, 1, -1, 7.7, 0, {7.7, 7.7}}};
    for (const auto& c : cases)
        for (int adia : {0, 1}) {
            FlowResult r;
            const double p = c.p[adia];
            EXPECT_EQ((adia ? AdiaVapDp : IsoVapDp)(c.method, c.p2, c.w, &gas, &gas, c.pipe, &r, c.rescale,
                                                     VANTARO_MISSING, 1e-6), c.status);
            EXPECT_TRUE(r.p >= p && r.p <= std::nextafter(p, INFINITY) && r.regime == 0 && std::isfinite(r.vin))
                << c.p2 << " " << c.w << " " << adia << " " << r.p;
        }
}

}  // namespace
