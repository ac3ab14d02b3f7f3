#include "platform/fpenv.h"

#if defined(_WIN32)
#include <float.h>
#endif
#if defined(__x86_64__)
#include <xmmintrin.h>
#endif

namespace vt::platform {

#if defined(_WIN32)

#if !defined(__x86_64__)
#error "the Windows build targets x64"
#endif

// The C run-time's control functions work on the SSE unit, where double
// arithmetic runs, but (under Wine at least) leave the x87 unit alone, which
// long double, MinGW's <fenv.h> and parts of its maths library use; and
// changing the masks through them may clear the SSE flags. So the scope
// masks through _controlfp_s, keeps both units masked and clean itself, and
// writes the flags last. The flag bits of MXCSR, the x87 status word and
// <cfenv> are the same: invalid 0x01, denormal 0x02, zero-divide 0x04,
// overflow 0x08, underflow 0x10, inexact 0x20.

namespace {

constexpr unsigned int kFlagBits = 0x3f;
constexpr unsigned int kMxcsrMaskShift = 7;  // mask bits sit 7 above their flags

unsigned short X87Control() noexcept {
    unsigned short cw;
    __asm__ __volatile__("fnstcw %0" : "=m"(cw));
    return cw;
}

void SetX87Control(unsigned short cw) noexcept { __asm__ __volatile__("fldcw %0" : : "m"(cw)); }

unsigned int X87Flags() noexcept {
    unsigned short sw;
    __asm__ __volatile__("fnstsw %0" : "=m"(sw));
    return sw & kFlagBits;
}

void ClearX87Flags() noexcept { __asm__ __volatile__("fnclex"); }

unsigned int Flags() noexcept { return (_mm_getcsr() | X87Flags()) & kFlagBits; }

}  // namespace

void ClearFpFlags() noexcept {
    _clearfp();
    ClearX87Flags();
    _mm_setcsr(_mm_getcsr() & ~kFlagBits);
}

FpScope::FpScope(FpExit exit) noexcept : exit_(exit) {
    _controlfp_s(&savedControl_, 0, 0);
    savedMxcsr_ = _mm_getcsr();
    savedX87_ = X87Control();
    entryFlags_ = Flags();
    // All exceptions masked in both units, no flags.
    unsigned int unused = 0;
    _controlfp_s(&unused, _MCW_EM, _MCW_EM);
    SetX87Control(static_cast<unsigned short>(savedX87_ | kFlagBits));
    ClearFpFlags();
}

FpScope::~FpScope() {
    const unsigned int raised = Flags();
    ClearX87Flags();
    SetX87Control(savedX87_);
    unsigned int unused = 0;
    _controlfp_s(&unused, savedControl_ & (_MCW_EM | _MCW_RC | _MCW_DN),
                 _MCW_EM | _MCW_RC | _MCW_DN);
    // MXCSR exactly as the host had it, then the flags: none (Clear), or the
    // host's own plus the engine's that the host masks in both units (Keep).
    // Writing flag bits never traps; the host's readers (_statusfp,
    // fetestexcept) see them.
    unsigned int flags = 0;
    if (exit_ == FpExit::Keep) {
        const unsigned int masked = (savedMxcsr_ >> kMxcsrMaskShift) & savedX87_ & kFlagBits;
        flags = entryFlags_ | (raised & masked);
    }
    _mm_setcsr((savedMxcsr_ & ~kFlagBits) | flags);
}

#else

void ClearFpFlags() noexcept { std::feclearexcept(FE_ALL_EXCEPT); }

FpScope::FpScope(FpExit exit) noexcept : exit_(exit) {
    // Saves the host's environment, clears the flags and masks every
    // exception (non-stop mode) for the engine's own computation.
    std::feholdexcept(&saved_);
}

FpScope::~FpScope() {
    const int raised = std::fetestexcept(FE_ALL_EXCEPT);
    std::fesetenv(&saved_);  // host's control words and entry flags
    if (exit_ == FpExit::Clear) {
        std::feclearexcept(FE_ALL_EXCEPT);
        return;
    }
#if defined(__x86_64__)
    // Hand on the engine's flags that the host masks in both units, by
    // writing them into MXCSR, which never traps (feraiseexcept would raise
    // them by computing, and fegetexcept reports only the x87 masks while
    // doubles trap through MXCSR). fetestexcept reads both units.
    const unsigned int mxcsr = _mm_getcsr();
    unsigned short x87;
    __asm__ __volatile__("fnstcw %0" : "=m"(x87));
    const unsigned int masked = (mxcsr >> 7) & x87 & FE_ALL_EXCEPT;
    const unsigned int keep = static_cast<unsigned int>(raised) & masked;
    if (keep != 0) _mm_setcsr(mxcsr | keep);
#else
    // Elsewhere the flags are raised, except those the host unmasked.
#if defined(__GLIBC__)
    const int unmasked = fegetexcept();
#else
    const int unmasked = 0;
#endif
    const int keep = raised & ~unmasked;
    if (keep != 0) std::feraiseexcept(keep);
#endif
}

#endif

}  // namespace vt::platform
