// Floating-point environment at the export boundary.
//
// Every export computes with all floating-point exceptions masked, whatever
// the host has unmasked, and gives the host back its own control settings on
// return. Exports that the design says clear the exception flags leave them
// clear; the others leave the host's flags as they were on entry and add the
// flags raised inside the engine (only where that cannot trap).
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
    std::fenv_t saved_;
    FpExit exit_;
};

}  // namespace vt::platform
