// The export guard: the engine computes inside the floating-point scope (its
// exit modes are tested with the scope itself), and no C++ exception
// crosses the boundary.
#include <gtest/gtest.h>

#include <cfenv>
#include <stdexcept>

#include "api/guard.h"

namespace {

using vt::api::FpExit;
using vt::api::Guarded;

double DivideByZero() {
    volatile double zero = 0.0;
    volatile double r = 1.0 / zero;  // kept even when the caller drops it
    return r;
}

#if defined(__GLIBC__)
// A host that unmasked division by zero: the engine still computes masked
// (no SIGFPE), the host gets its unmasked setting back, and the unmasked
// flag is not handed back (it would trap in the host).
TEST(ExportGuard, UnmaskedHostDoesNotTrapInsideEngine) {
    std::feclearexcept(FE_ALL_EXCEPT);
    feenableexcept(FE_DIVBYZERO);
    const double r = Guarded(FpExit::Keep, 0.0, [] { return DivideByZero(); });
    const int enabled = fegetexcept();
    fedisableexcept(FE_ALL_EXCEPT);
    EXPECT_TRUE(r > 1e300);
    EXPECT_NE(enabled & FE_DIVBYZERO, 0);
    EXPECT_EQ(std::fetestexcept(FE_DIVBYZERO), 0);
    std::feclearexcept(FE_ALL_EXCEPT);
}
#endif

TEST(ExportGuard, ExceptionsBecomeTheFailureResult) {
    EXPECT_EQ(Guarded(FpExit::Clear, -7, []() -> int { throw std::runtime_error("x"); }), -7);
    EXPECT_EQ(Guarded(FpExit::Keep, 3, []() -> int { throw 1; }), 3);
}

}  // namespace
