// libFuzzer target: number formatting into host strings. ExtFormat with
// fuzzed format strings (mostly variations of printf conversions),
// FormatSigFigs replacing host strings the engine or the harness made,
// HostStringByteLen and FreeHostString on them. Every call is timed and
// runs in a host floating-point mode from the input.
#include <cmath>
#include <string>

#include "fuzz_common.h"
#include "platform/hoststring.h"

using namespace vantaro_fuzz;

namespace {

// Pieces a format is built from: the fuzzer recombines them.
const char* const kPieces[] = {"%",  "f",  "e",  "E",  "g",  "G",   "l",   ".",  "3",   "10",
                               "-",  "+",  " ",  "#",  "0",  "%%",  "*",   "s",  "d",   "n",
                               "x",  "abc", "123", "4", "999", "1000", ".0", "%lf", "%Lf", "\n"};

std::string Format(Input& in) {
    if (in.Byte() % 4 == 0) return in.Text(48);  // raw bytes
    std::string f;
    const int pieces = in.Int(0, 8);
    for (int k = 0; k < pieces; ++k) f += kPieces[in.Byte() % (sizeof kPieces / sizeof *kPieces)];
    return f;
}

VantaroString HarnessString(Input& in) {
    switch (in.Int(0, 2)) {
        case 0: return nullptr;
        case 1: {
            const std::string bytes = in.Text(40);
            return vt::platform::AllocStringByteLen(bytes.data(), static_cast<uint32_t>(bytes.size()));
        }
        default: return ExtFormat(in.Double(-1e6, 1e6), 1.0, 0.0, "%g");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    VantaroString held = HarnessString(in);
    for (int calls = 0; in.More() && calls < 32; ++calls) {
        const FpMode m = PickMode(in);
        switch (in.Int(0, 3)) {
            case 0: {
                const double v = in.Double(-1e6, 1e6), scale = in.Double(-10, 10),
                             offset = in.Double(-500, 500);
                const std::string f = Format(in);
                const bool null = in.Byte() % 16 == 0;
                VantaroString s = Timed("ExtFormat", m, [&] {
                    return ExtFormat(v, scale, offset, null ? nullptr : f.c_str());
                });
                FUZZ_PROMISE(s != nullptr, "ExtFormat returns a string");
                const uint32_t len = HostStringByteLen(s);
                FUZZ_PROMISE(len < 256, "ExtFormat text fits its buffer");
                if (null) FUZZ_PROMISE(len == 0, "a null format gives the empty string");
                FreeHostString(s);
                break;
            }
            case 1: {
                const double v = in.Double(-1e6, 1e6);
                const int digits = in.Int(-2, 12);
                VantaroString before = held;
                const int32_t st = Timed("FormatSigFigs", m, [&] {
                    return FormatSigFigs(in.Byte() % 16 ? &held : nullptr, v, digits);
                });
                if (digits < 1 || digits > 9)
                    FUZZ_PROMISE(st == 0 && held == before, "digits outside 1-9: the string untouched");
                else if (st == 1)
                    FUZZ_PROMISE(held != nullptr && HostStringByteLen(held) > 0, "FormatSigFigs writes text");
                break;
            }
            case 2:
                Timed("HostStringByteLen", m, [&] { return HostStringByteLen(held); });
                break;
            default:
                Timed("FreeHostString", m, [&] {
                    FreeHostString(held);
                    return 0;
                });
                held = HarnessString(in);
        }
    }
    FreeHostString(held);
    return 0;
}
