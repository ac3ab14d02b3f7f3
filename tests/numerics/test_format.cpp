// Number formatting: the unit-converted printf rendering, the format guard,
// the general-format layout with three-digit exponents and the
// significant-digit padding, through the exports.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

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

// Unit conversion (v scale + offset), exponents with three digits within the
// width, and the sentinels: MISSING prints nothing, -32768 prints "1".
TEST(ExtFormat, ConvertsAndFormats) {
    const struct {
        double v, scale, offset;
        const char *fmt, *text;
    } cases[] = {
        {300.0, 1.8, -459.67, "%.1f", "80.3"}, {2.5, 100.0, 0.0, "%8.2f %%", "  250.00 %"}, {0.5, 1, 0, "%lg", "0.5"},
        {-3.0, 1, 0, "%+08.2f|%%", "-0003.00|%"}, {1234.5, 1, 0, "P = %.3e kPa", "P = 1.234e+003 kPa"},
        {1234.5, 1, 0, "[%12.3e]", "[  1.234e+003]"}, {1234.5, 1, 0, "[%-12.3E]", "[1.234E+003  ]"},
        {-1234.5, 1, 0, "[%014.3e]", "[-0001.234e+003]"}, {1e-5, 1, 0, "%+.2g", "+1e-005"}, {1e6, 1, 0, "%g", "1e+006"},
        {123456.0, 1, 0, "%g", "123456"}, {1e-300, 1, 0, "%.1e", "1.0e-300"}, {0.5, 1, 0, "%#.3G", "0.500"},
        {INFINITY, 1, 0, "[%08e]", "[     inf]"}, {2.0, 1, 0, "%5.1e%%", "2.0e+000%"},
        {VANTARO_MISSING, 1.8, -459.67, "%.1f", ""}, {VANTARO_MISSING, 1, 0, "%s", ""},
        {-32768.0, 1, 0, "%.3f", "1"}, {-32766.0, 1, 0, "%.0f", "-32766"},
    };
    for (const auto& c : cases) EXPECT_EQ(Ext(c.v, c.scale, c.offset, c.fmt), c.text) << c.fmt;
    EXPECT_EQ(Ext(1e300, 1.0, 0.0, "%.100f").size(), 255u);  // long output is cut at 255 bytes
}

TEST(ExtFormat, OnlyOneFloatingConversionIsAccepted) {
    for (const char* bad : {"%s", "%d", "%n", "%f %f", "%*f", "%.*f", "%Lf", "%p", "%", "abc %", "%1000f", "%.1000f",
                            "%hhf", "no conversion", "%e%", "%-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0-0f"})
        EXPECT_EQ(Ext(1.0, 1.0, 0.0, bad), "") << bad;
    EXPECT_EQ(Ext(1.0, 1.0, 0.0, nullptr), "");
    EXPECT_TRUE(vt::IsSingleFloatFormat("%-+ #0999.999lG"));
    EXPECT_TRUE(vt::IsSingleFloatFormat("%%%a%%"));
}

// General format with a three-digit signed exponent, then the padding to
// the significant digits; the export does both.
TEST(FormatSigFigs, GeneralFormatAndPadding) {
    char buf[64];
    for (auto [v, digits, text] : {std::tuple{1.5e-10, 3, "1.5e-010"}, {123456.0, 3, "1.23e+005"}, {1e100, 2, "1e+100"},
                                   {-2.5e-300, 4, "-2.5e-300"}, {100.0, 3, "100"}, {0.00012, 3, "0.00012"},
                                   {1.5, 4, "1.5"}, {12345.0, 5, "12345"}, {0.0, 3, "0"}}) {
        vt::GeneralFormat(v, digits, buf, sizeof buf);
        EXPECT_STREQ(buf, text);
    }
    for (auto [text, digits, padded] : {std::tuple{"1.5", 4, "1.500"}, {"100.", 3, "100."}, {"100", 3, "100"},
                                        {"0.00012", 3, "0.000120"}, {"1.5e-010", 3, "1.50e-010"}, {"7", 2, "7.0"},
                                        {"1e+100", 3, "1.00e+100"}, {"-0.5", 2, "-0.50"}, {"120", 4, "120.0"}}) {
        vt::PadSignificantDigits(text, digits, buf);
        EXPECT_STREQ(buf, padded) << text;
    }
    VantaroString s = nullptr;
    for (auto [v, digits, text] : {std::tuple{1.5, 4, "1.500"}, {7.0, 2, "7.0"}, {0.00012, 3, "0.000120"},
                                   {1.5e-10, 3, "1.50e-010"}, {100.0, 3, "100"}, {123456789.0, 9, "123456789"},
                                   {2.0 / 3.0, 9, "0.666666667"}, {-1234567.0, 2, "-1.2e+006"}, {INFINITY, 3, "inf"},
                                   {NAN, 3, "nan"}}) {
        EXPECT_EQ(FormatSigFigs(&s, v, digits), 1);
        EXPECT_EQ(Narrow(s), text);
        EXPECT_EQ(s[vt::platform::StringLen(s)], 0);  // NUL-terminated
    }
    FreeHostString(s);
}

// Digits out of range leave the string alone; repeated calls reuse one
// string and leak nothing.
TEST(FormatSigFigs, BadDigitsAndNoLeaks) {
    const long before = vt::platform::LiveStrings();
    VantaroString s = nullptr;
    ASSERT_EQ(FormatSigFigs(&s, 2.0, 2), 1);
    for (int d : {0, 10, -1}) {
        EXPECT_EQ(FormatSigFigs(&s, 3.0, d), 0);
        EXPECT_EQ(Narrow(s), "2.0");
    }
    EXPECT_EQ(FormatSigFigs(nullptr, 3.0, 3), 0);
    for (int i = 0; i < 100; ++i) FormatSigFigs(&s, i * 0.1, 1 + i % 9);
    EXPECT_EQ(vt::platform::LiveStrings(), before + 1);
    FreeHostString(s);
    EXPECT_EQ(vt::platform::LiveStrings(), before);
}

}  // namespace
