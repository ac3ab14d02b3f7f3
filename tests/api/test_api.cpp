// The C boundary: no C++ exception crosses it, the version export, and
// finite but extreme constants for PureVchar, whose result stays what the
// header promises (a number, or MISSING), never an infinity or NaN. (The
// extreme inputs of the vapour lines are with their tests.)
#include <gtest/gtest.h>

#include <cfloat>
#include <stdexcept>
#include <string>

#include "../support/messages.h"
#include "api/guard.h"
#include "vantaro/vantaro.h"

namespace {

// ... and a message naming the export.
TEST(ExportGuard, ExceptionsBecomeTheFailureResult) {
    using vt::api::FpExit;
    vt::test::Messages m;
    EXPECT_EQ(vt::api::Guarded("Prop3", FpExit::Clear, -7, []() -> int { throw std::runtime_error("x"); }), -7);
    EXPECT_EQ(vt::api::Guarded("CloseProps", FpExit::Keep, 3, []() -> int { throw 1; }), 3);
    const std::vector<std::string> want = {"Internal error in Prop3: x",
                                           "Internal error in CloseProps: unknown exception"};
    EXPECT_EQ(m.texts, want);
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

}  // namespace
