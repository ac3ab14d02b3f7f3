// The export guard: no C++ exception crosses the boundary. (The guard runs
// the engine inside the floating-point scope, whose masks and exit modes are
// tested with the scope itself and through the exports.)
#include <gtest/gtest.h>

#include <stdexcept>

#include "api/guard.h"

namespace {

using vt::api::FpExit;
using vt::api::Guarded;

TEST(ExportGuard, ExceptionsBecomeTheFailureResult) {
    EXPECT_EQ(Guarded(FpExit::Clear, -7, []() -> int { throw std::runtime_error("x"); }), -7);
    EXPECT_EQ(Guarded(FpExit::Keep, 3, []() -> int { throw 1; }), 3);
}

}  // namespace
