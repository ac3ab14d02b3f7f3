// Helpers for the flat export table: every export runs its body under an
// FpScope (exceptions masked, host control word restored) and never lets a
// C++ exception cross the C boundary.
#pragma once
#include "platform/fpenv.h"

namespace vt::api {

using platform::FpExit;

// Runs body() and returns its result, or `onError` if it throws.
template <class R, class F>
R Guarded(FpExit exit, R onError, F&& body) noexcept {
    platform::FpScope scope(exit);
    try {
        return body();
    } catch (...) {
        return onError;
    }
}

// The same for exports without a result.
template <class F>
void GuardedVoid(FpExit exit, F&& body) noexcept {
    platform::FpScope scope(exit);
    try {
        body();
    } catch (...) {
    }
}

}  // namespace vt::api
