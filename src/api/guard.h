// Helpers for the flat export table: every export runs its body under an
// FpScope (exceptions masked, host control word restored) and never lets a
// C++ exception cross the C boundary. An exception caught there is reported
// through the message channel with the export's name, besides the failure
// result the export returns.
#pragma once
#include <cstdio>
#include <exception>

#include "platform/fpenv.h"
#include "platform/message.h"

namespace vt::api {

using platform::FpExit;

// Shows "Internal error in <exportName>: <description>" for the exception
// being handled. Call only from inside a catch handler.
inline void ReportException(const char* exportName) noexcept {
    char text[320];
    try {
        throw;
    } catch (const std::exception& e) {
        std::snprintf(text, sizeof text, "Internal error in %s: %s", exportName, e.what());
    } catch (...) {
        std::snprintf(text, sizeof text, "Internal error in %s: unknown exception", exportName);
    }
    platform::ShowMessage(text);
}

// Runs body() and returns its result, or reports the exception and returns
// `onError` if it throws. exportName is the export's own name (__func__).
template <class R, class F>
R Guarded(const char* exportName, FpExit exit, R onError, F&& body) noexcept {
    platform::FpScope scope(exit);
    try {
        return body();
    } catch (...) {
        ReportException(exportName);
        return onError;
    }
}

// The same for exports without a result.
template <class F>
void GuardedVoid(const char* exportName, FpExit exit, F&& body) noexcept {
    platform::FpScope scope(exit);
    try {
        body();
    } catch (...) {
        ReportException(exportName);
    }
}

}  // namespace vt::api
