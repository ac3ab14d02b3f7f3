#include "platform/fpenv.h"

#if defined(_WIN32)
#include <float.h>
#include <xmmintrin.h>
#endif

namespace vt::platform {

#if defined(_WIN32)

namespace {

// The control word fields the scope saves and restores: exception masks,
// rounding and denormal control (precision control does not exist on x64).
constexpr unsigned int kControlFields = _MCW_EM | _MCW_RC | _MCW_DN;

// The six exception flags in the C run-time's status-word layout, which is
// also the layout of the exception-mask bits (_EM_x == _SW_x). MinGW's
// <float.h> lacks the _SW_ names.
constexpr unsigned int kSwInexact = 0x00000001;
constexpr unsigned int kSwUnderflow = 0x00000002;
constexpr unsigned int kSwOverflow = 0x00000004;
constexpr unsigned int kSwZeroDivide = 0x00000008;
constexpr unsigned int kSwInvalid = 0x00000010;
constexpr unsigned int kSwDenormal = 0x00080000;

// Status-word flags as MXCSR flag bits (IE 0x01, DE 0x02, ZE 0x04, OE 0x08,
// UE 0x10, PE 0x20).
unsigned int ToMxcsrFlags(unsigned int sw) noexcept {
    unsigned int m = 0;
    if (sw & kSwInvalid) m |= 0x01;
    if (sw & kSwDenormal) m |= 0x02;
    if (sw & kSwZeroDivide) m |= 0x04;
    if (sw & kSwOverflow) m |= 0x08;
    if (sw & kSwUnderflow) m |= 0x10;
    if (sw & kSwInexact) m |= 0x20;
    return m;
}

// Sets flags without raising anything: writing flag bits into MXCSR never
// traps, whatever the masks (double arithmetic on x64 runs on SSE).
void SetFlags(unsigned int sw) noexcept {
    const unsigned int m = ToMxcsrFlags(sw);
    if (m != 0) _mm_setcsr(_mm_getcsr() | m);
}

}  // namespace

void ClearFpFlags() noexcept { _clearfp(); }

FpScope::FpScope(FpExit exit) noexcept : exit_(exit) {
    // Save the host's control word and flags, clear the flags and mask every
    // exception for the engine's own computation.
    _controlfp_s(&savedControl_, 0, 0);
    savedStatus_ = _clearfp();
    unsigned int unused = 0;
    _controlfp_s(&unused, _MCW_EM, _MCW_EM);
}

FpScope::~FpScope() {
    const unsigned int raised = _clearfp();
    unsigned int unused = 0;
    _controlfp_s(&unused, savedControl_ & kControlFields, kControlFields);
    if (exit_ == FpExit::Clear) return;
    // The host's entry flags come back; the engine's flags are handed on
    // except those the host unmasked (a set mask bit means masked).
    const unsigned int masked = savedControl_ & _MCW_EM;
    SetFlags(savedStatus_ | (raised & masked));
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

#endif

}  // namespace vt::platform
