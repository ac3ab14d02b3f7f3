// Exports of number formatting and the host-string helpers.
#include <cstring>

#include "api/guard.h"
#include "numerics/format.h"
#include "platform/hoststring.h"
#include "vantaro/vantaro.h"

using vt::api::FpExit;
using vt::api::Guarded;

extern "C" {

VANTARO_API void FreeHostString(VantaroString s) {
    vt::api::GuardedVoid(__func__, FpExit::Keep, [&] { vt::platform::FreeString(s); });
}

VANTARO_API uint32_t HostStringByteLen(VantaroString s) {
    return Guarded(__func__, FpExit::Keep, uint32_t{0},
                   [&] { return vt::platform::StringByteLen(s); });
}

VANTARO_API VantaroString ExtFormat(double value, double scale, double offset, const char* format) {
    return Guarded(__func__, FpExit::Keep, VantaroString{nullptr}, [&] {
        char text[256];
        const std::size_t n = vt::ExtFormatText(value, scale, offset, format, text, sizeof text);
        return vt::platform::AllocStringByteLen(text, static_cast<uint32_t>(n));
    });
}

VANTARO_API int32_t FormatSigFigs(VantaroString* out, double value, int32_t digits) {
    if (!out) return 0;
    return Guarded(__func__, FpExit::Keep, int32_t{0}, [&] {
        char text[64];
        if (!vt::SigFigsText(value, digits, text)) return int32_t{0};
        return vt::platform::ReAllocStringFromAnsi(out, text) ? int32_t{1} : int32_t{0};
    });
}

}  // extern "C"
