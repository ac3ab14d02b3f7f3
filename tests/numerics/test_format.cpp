// Number formatting: the unit-converted printf rendering, the format guard,
// the general-format layout with three-digit exponents and the
// significant-digit padding, through the exports.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "../support/csv.h"
#include "numerics/format.h"
#include "platform/hoststring.h"
#include "vantaro/vantaro.h"

namespace {

// The characters of a wide host string.
std::string Narrow(VantaroString s) {
    std::string out;
    for (uint32_t i = 0; i < vt::platform::StringLen(s); ++i) out += static_cast<char>(s[i]);
    return out;
}

// ExtFormat's bytes.
std::string Ext(double v, double scale, double offset, const char* fmt) {
    VantaroString s = ExtFormat(v, scale, offset, fmt);
    EXPECT_NE(s, nullptr);
    const std::string text(reinterpret_cast<const char*>(s), HostStringByteLen(s));
    FreeHostString(s);
    return text;
}

// The renderings of tests/data/format_cases.csv through ExtFormat, the
// general form, the padding and FormatSigFigs (NUL-terminated).
TEST(Format, Renderings) {
    VantaroString s = nullptr;
    char buf[64];
    for (const vt::test::CsvRow& c : vt::test::ReadCsv("tests/data/format_cases.csv")) {
        const std::string kind = c.Str("kind"), spec = c.Str("format"), text = c.Str("text");
        const int digits = static_cast<int>(c["scale"]);
        if (kind == "ext") {
            EXPECT_EQ(Ext(c["value"], c["scale"], c["offset"], spec.c_str()), text) << spec;
        } else if (kind == "general" || kind == "pad") {
            if (kind == "general") vt::GeneralFormat(c["value"], digits, buf, sizeof buf);
            else vt::PadSignificantDigits(spec.c_str(), digits, buf);
            EXPECT_EQ(std::string(buf), text) << kind << " " << c.Str("value") << " " << spec;
        } else {
            EXPECT_TRUE(FormatSigFigs(&s, c["value"], digits) == 1 && Narrow(s) == text) << Narrow(s) << " " << text;
            EXPECT_EQ(s[vt::platform::StringLen(s)], 0);
        }
    }
    FreeHostString(s);
    EXPECT_EQ(Ext(1e300, 1.0, 0.0, "%.100f").size(), 255u);  // long output is cut at 255 bytes
}

TEST(Format, BadFormatsBadDigitsAndNoLeaks) {
    for (const char* bad : {"%s", "%d", "%n", "%f %f", "%*f", "%.*f", "%Lf", "%p", "%", "abc %", "%1000f", "%.1000f",
                            "%hhf", "no conversion", "%e%",
                            "%-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0f"})
        EXPECT_EQ(Ext(1.0, 1.0, 0.0, bad), "") << bad;
    EXPECT_TRUE(Ext(1.0, 1.0, 0.0, nullptr).empty() && vt::IsSingleFloatFormat("%-+ #0999.999lG") &&
                vt::IsSingleFloatFormat("%%%a%%"));
    // Digits out of range leave the string alone; repeated calls reuse one
    // string and leak nothing.
    const long before = vt::platform::LiveStrings();
    VantaroString s = nullptr;
    ASSERT_EQ(FormatSigFigs(&s, 2.0, 2), 1);
    for (int d : {0, 10, -1}) {
        EXPECT_TRUE(FormatSigFigs(&s, 3.0, d) == 0 && Narrow(s) == "2.0") << d;
    }
    EXPECT_EQ(FormatSigFigs(nullptr, 3.0, 3), 0);
    for (int i = 0; i < 100; ++i) FormatSigFigs(&s, i * 0.1, 1 + i % 9);
    EXPECT_EQ(vt::platform::LiveStrings(), before + 1);
    FreeHostString(s);
    EXPECT_EQ(vt::platform::LiveStrings(), before);
}

}  // namespace
