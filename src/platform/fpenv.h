// Floating-point environment at the export boundary.
//
// Every export computes with all floating-point exceptions masked, whatever
// the host has unmasked, and gives the host back its own control settings on
// return. Exports that the design says clear the exception flags leave them
// clear; the others leave the host's flags as they were on entry and add the
// flags raised inside the engine that the host masks in both units (x87 and
// SSE), written into MXCSR, which never traps.
//
// On Windows (x64) the scope works through the C run-time's control word
// (_controlfp_s), the interface through which Windows hosts unmask
// exceptions, and through the two units' registers for the flags.
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
    unsigned int savedMxcsr_;    // host's SSE control and status register
    unsigned short savedX87_;    // host's x87 control word
    unsigned int entryFlags_;    // host's flags on entry (MXCSR flag bits)
#else
    std::fenv_t saved_;
#endif
    FpExit exit_;
};

}  // namespace vt::platform
