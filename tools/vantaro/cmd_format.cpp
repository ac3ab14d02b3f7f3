// The format command: ExtFormat and FormatSigFigs as a host would show them.
#include "cli.h"

namespace vantaro_cli {
namespace {

struct FormatOptions {
    double value = 300.0, scale = 1.8, offset = -459.67;
    std::string format = "%.1f";
    std::vector<int> digits;
} g_fmt;

std::string Narrow(VantaroString s) {
    std::string out;
    const uint32_t n = HostStringByteLen(s) / 2;
    for (uint32_t i = 0; i < n; ++i) out += static_cast<char>(s[i]);
    return out;
}

Report Format(Session&) {
    const FormatOptions& o = g_fmt;
    VantaroString e = ExtFormat(o.value, o.scale, o.offset, o.format.c_str());
    Table ext{"extformat",
              "ExtFormat (value * scale + offset, printf format)",
              {"value", "scale", "offset", "format", "text"},
              {}};
    ext.rows.push_back(
        {o.value, o.scale, o.offset, o.format,
         "\"" + std::string(reinterpret_cast<const char*>(e), HostStringByteLen(e)) + "\""});
    FreeHostString(e);

    Table sig{"sigfigs",
              "FormatSigFigs (exact significant digits)",
              {"value", "digits", "text", "status"},
              {}};
    std::vector<int> digits = o.digits;
    if (digits.empty()) digits = {1, 2, 3, 4, 6, 9};
    VantaroString s = nullptr;
    for (int d : digits) {
        const int32_t st = FormatSigFigs(&s, o.value, d);
        sig.rows.push_back({o.value, static_cast<long long>(d),
                            st ? "\"" + Narrow(s) + "\"" : std::string("-"),
                            static_cast<long long>(st)});
    }
    FreeHostString(s);
    return {{ext, sig}};
}

void Configure(CLI::App& sub) {
    sub.add_option("--value", g_fmt.value, "the number in engine units");
    sub.add_option("--scale", g_fmt.scale, "unit conversion: multiplier");
    sub.add_option("--offset", g_fmt.offset, "unit conversion: addend");
    sub.add_option("--format", g_fmt.format, "printf format with one floating-point conversion");
    sub.add_option("--digits", g_fmt.digits, "significant digits (1 to 9)");
}

const bool r = RegisterCommand(
    {"format", "number formatting into host strings", 560, Configure, Format, false});

}  // namespace
}  // namespace vantaro_cli
