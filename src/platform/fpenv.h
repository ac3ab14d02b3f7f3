// Floating-point environment at the export boundary.
//
// Every export computes with all floating-point exceptions masked, whatever
// the host has unmasked, and gives the host back its own control settings on
// return. Exports that the design says clear the exception flags leave them
// clear; the others leave the host's flags as they were on entry and add the
// flags raised inside the engine (only where that cannot trap).
//
// On Windows the scope works through the C run-time's control word
// (_controlfp_s, _statusfp, _clearfp), the interface Windows hosts use to
// unmask exceptions; elsewhere through <cfenv>.
#pragma once
#include <cfenv>

namespace vt::platform {

// Clears the processor's floating-point exception flags.
void ClearFpFlags() noexcept;

enum class FpExit { Clear, Keep };

class FpScope {
public:
    explicit FpScope(FpExit exit) noexcept;
    ~FpScope();
    FpScope(const FpScope&) = delete;
    FpScope& operator=(const FpScope&) = delete;
    // Decide at run time (some exports clear only on some paths).
    void SetExit(FpExit exit) noexcept { exit_ = exit; }

private:
#if defined(_WIN32)
    unsigned int savedControl_;  // host's control word (_controlfp_s layout)
    unsigned int savedStatus_;   // host's flags on entry (_statusfp layout)
#else
    std::fenv_t saved_;
#endif
    FpExit exit_;
};

}  // namespace vt::platform
