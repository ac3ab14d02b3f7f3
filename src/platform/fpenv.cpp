#include "platform/fpenv.h"

namespace vt::platform {

void ClearFpFlags() noexcept { std::feclearexcept(FE_ALL_EXCEPT); }

FpScope::FpScope(FpExit exit) noexcept : exit_(exit) {
    // Saves the host's environment, clears the flags and masks every
    // exception (non-stop mode) for the engine's own computation.
    std::feholdexcept(&saved_);
}

FpScope::~FpScope() {
    const int raised = std::fetestexcept(FE_ALL_EXCEPT);
    std::fesetenv(&saved_);  // host's control word and entry flags
    if (exit_ == FpExit::Clear) {
        std::feclearexcept(FE_ALL_EXCEPT);
        return;
    }
    // Hand the engine's flags on, except those the host unmasked: raising
    // them would trap in the host.
#if defined(__GLIBC__)
    const int unmasked = fegetexcept();
#else
    const int unmasked = 0;
#endif
    const int keep = raised & ~unmasked;
    if (keep != 0) std::feraiseexcept(keep);
}

}  // namespace vt::platform
