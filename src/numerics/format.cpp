#include "numerics/format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "vantaro/vantaro.h"

namespace vt {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Skips up to three digits; false when there are more.
bool SkipNumber(const char*& p) {
    int n = 0;
    while (IsDigit(*p)) {
        ++p;
        if (++n > 3) return false;
    }
    return true;
}

}  // namespace

bool IsSingleFloatFormat(const char* fmt) noexcept {
    if (!fmt) return false;
    int conversions = 0;
    for (const char* p = fmt; *p; ++p) {
        if (*p != '%') continue;
        ++p;
        if (*p == '%') continue;
        while (*p == '-' || *p == '+' || *p == ' ' || *p == '#' || *p == '0') ++p;
        if (!SkipNumber(p)) return false;
        if (*p == '.') {
            ++p;
            if (!SkipNumber(p)) return false;
        }
        if (*p == 'l') ++p;
        if (!*p || !std::strchr("fFeEgGaA", *p)) return false;
        ++conversions;
    }
    return conversions == 1;
}

std::size_t ExtFormatText(double value, double scale, double offset, const char* fmt, char* out,
                          std::size_t n) noexcept {
    if (n == 0) return 0;
    out[0] = '\0';
    if (value == VANTARO_MISSING) return 0;
    if (value == -32768.0) {
        if (n < 2) return 0;
        out[0] = '1';
        out[1] = '\0';
        return 1;
    }
    if (!IsSingleFloatFormat(fmt)) return 0;
    const int len = std::snprintf(out, n, fmt, value * scale + offset);
    if (len < 0) {
        out[0] = '\0';
        return 0;
    }
    return std::strlen(out);
}

std::size_t GeneralFormat(double value, int digits, char* out, std::size_t n) noexcept {
    if (n < 32) {
        if (n) out[0] = '\0';
        return 0;
    }
    if (std::isnan(value)) {
        std::strcpy(out, "nan");
        return 3;
    }
    if (std::isinf(value)) {
        std::strcpy(out, value < 0 ? "-inf" : "inf");
        return std::strlen(out);
    }
    char buf[40];
    const auto r = std::to_chars(buf, buf + sizeof buf - 1, value, std::chars_format::general, digits);
    *r.ptr = '\0';
    // Rewrite the exponent with a sign and at least three digits.
    std::size_t k = 0;
    for (const char* p = buf; *p; ++p) {
        if (*p != 'e') {
            out[k++] = *p;
            continue;
        }
        out[k++] = 'e';
        ++p;
        out[k++] = (*p == '-' || *p == '+') ? *p++ : '+';
        const std::size_t nd = std::strlen(p);
        for (std::size_t z = nd; z < 3; ++z) out[k++] = '0';
        while (*p) out[k++] = *p++;
        break;
    }
    out[k] = '\0';
    return k;
}

void PadSignificantDigits(const char* text, int digits, char out[64]) noexcept {
    constexpr std::size_t kCap = 63;
    std::size_t k = 0;
    auto put = [&](char c) {
        if (k < kCap) out[k++] = c;
    };
    int count = 0;
    bool point = false, exponent = false;
    for (const char* p = text; *p; ++p) {
        const char c = *p;
        if (!exponent && (c == 'e' || c == 'E')) {
            if (!point) put('.');
            for (int z = count; z < digits; ++z) put('0');
            exponent = true;
        } else if (c == '.') {
            point = true;
        } else if (!exponent && c >= '1' && c <= '9') {
            ++count;
        } else if (!exponent && c == '0' && count > 0) {
            ++count;
        }
        put(c);
    }
    if (!exponent) {
        if (!point && count != digits) put('.');
        for (int z = count; z < digits; ++z) put('0');
    }
    out[k] = '\0';
}

bool SigFigsText(double value, int digits, char out[64]) noexcept {
    if (digits < 1 || digits > 9) return false;
    char text[64];
    GeneralFormat(value, digits, text, sizeof text);
    if (!std::isfinite(value)) {
        std::strcpy(out, text);
        return true;
    }
    PadSignificantDigits(text, digits, out);
    return true;
}

}  // namespace vt
