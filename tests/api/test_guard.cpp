// The export guard: no C++ exception crosses the boundary. (The guard runs
// the engine inside the floating-point scope, whose masks and exit modes are
// tested with the scope itself and through the exports.)
#include <gtest/gtest.h>

#include <stdexcept>

#include "../support/messages.h"
#include "api/guard.h"

namespace {

using vt::api::FpExit;
using vt::api::Guarded;

// ... and a message naming the export.
TEST(ExportGuard, ExceptionsBecomeTheFailureResult) {
    vt::test::Messages m;
    EXPECT_EQ(Guarded("Prop3", FpExit::Clear, -7, []() -> int { throw std::runtime_error("x"); }), -7);
    EXPECT_EQ(Guarded("CloseProps", FpExit::Keep, 3, []() -> int { throw 1; }), 3);
    const std::vector<std::string> want = {"Internal error in Prop3: x",
                                           "Internal error in CloseProps: unknown exception"};
    EXPECT_EQ(m.texts, want);
}

}  // namespace
