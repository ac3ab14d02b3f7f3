#include "numerics/format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "vantaro/vantaro.h"

namespace vt {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads up to three digits into *value; false when there are more.
bool ReadNumber(const char*& p, int* value) {
    int n = 0;
    *value = 0;
    while (IsDigit(*p)) {
        *value = 10 * *value + (*p - '0');
        ++p;
        if (++n > 3) return false;
    }
    return true;
}

// The one floating-point conversion of a display format.
struct FloatConversion {
    std::size_t begin = 0, end = 0;  // its span in the format, '%' to the conversion letter
    bool left = false, zero = false;
    char flags[8] = {};  // the other flags, deduplicated: + space #
    int width = 0;
    int precision = -1;  // -1: none given
    char letter = 'f';
};

bool ParseFloatFormat(const char* fmt, FloatConversion* c) {
    if (!fmt) return false;
    int conversions = 0;
    for (const char* p = fmt; *p; ++p) {
        if (*p != '%') continue;
        const char* at = p++;
        if (*p == '%') continue;
        FloatConversion k;
        k.begin = static_cast<std::size_t>(at - fmt);
        std::size_t nf = 0;
        for (; std::strchr("-+ #0", *p) && *p; ++p) {
            if (*p == '-')
                k.left = true;
            else if (*p == '0')
                k.zero = true;
            else if (!std::strchr(k.flags, *p))
                k.flags[nf++] = *p;
        }
        if (!ReadNumber(p, &k.width)) return false;
        if (*p == '.') {
            ++p;
            if (!ReadNumber(p, &k.precision)) return false;
        }
        if (*p == 'l') ++p;
        if (!*p || !std::strchr("fFeEgGaA", *p)) return false;
        k.letter = *p;
        k.end = static_cast<std::size_t>(p - fmt) + 1;
        *c = k;
        ++conversions;
    }
    return conversions == 1;
}

// Appends the literal text fmt[from, to) ("%%" is one '%') to out[*k..n-1).
void AppendLiteral(const char* fmt, std::size_t from, std::size_t to, char* out, std::size_t n,
                   std::size_t* k) {
    for (std::size_t i = from; i < to && *k + 1 < n; ++i) {
        if (fmt[i] == '%') ++i;
        out[(*k)++] = fmt[i];
    }
}

// Rewrites the exponent of a formatted number ("e+05") with at least three
// digits ("e+005"), in place; cap is the buffer size.
void WidenExponent(char* text, std::size_t cap) {
    char* e = std::strpbrk(text, "eE");
    if (!e || (e[1] != '+' && e[1] != '-')) return;
    char* digits = e + 2;
    const std::size_t nd = std::strlen(digits);
    if (nd >= 3) return;
    const std::size_t pad = 3 - nd;
    const std::size_t len = std::strlen(text);
    if (len + pad + 1 > cap) return;
    std::memmove(digits + pad, digits, nd + 1);
    std::memset(digits, '0', pad);
}

// One e/E/g/G conversion in the layout of the Windows C runtime:
// the exponent has at least three digits, inside the requested width.
void FormatExponentField(const FloatConversion& c, double x, char* out, std::size_t cap) {
    char inner[24];
    std::size_t k = 0;
    inner[k++] = '%';
    for (const char* f = c.flags; *f; ++f) inner[k++] = *f;
    if (c.precision >= 0)
        k += static_cast<std::size_t>(std::snprintf(inner + k, 8, ".%d", c.precision));
    inner[k++] = c.letter;
    inner[k] = '\0';
    if (std::snprintf(out, cap, inner, x) < 0) {
        out[0] = '\0';
        return;
    }
    WidenExponent(out, cap);
    const std::size_t len = std::strlen(out);
    const std::size_t width = static_cast<std::size_t>(c.width);
    if (len >= width || width + 1 > cap) return;
    const std::size_t pad = width - len;
    if (c.left) {
        std::memset(out + len, ' ', pad);
        out[width] = '\0';
    } else if (c.zero && std::isfinite(x)) {
        const std::size_t sign = (out[0] == '-' || out[0] == '+' || out[0] == ' ') ? 1 : 0;
        std::memmove(out + sign + pad, out + sign, len - sign + 1);
        std::memset(out + sign, '0', pad);
    } else {
        std::memmove(out + pad, out, len + 1);
        std::memset(out, ' ', pad);
    }
}

}  // namespace

bool IsSingleFloatFormat(const char* fmt) noexcept {
    FloatConversion c;
    return ParseFloatFormat(fmt, &c);
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
    FloatConversion c;
    if (!ParseFloatFormat(fmt, &c)) return 0;
    const double x = value * scale + offset;
    // The field: widths and precisions of up to 999 and a number up to 1e308.
    char field[2400];
    if (std::strchr("eEgG", c.letter)) {
        FormatExponentField(c, x, field, sizeof field);
    } else {
        char conv[64];
        const std::size_t len = c.end - c.begin;
        if (len >= sizeof conv) return 0;
        std::memcpy(conv, fmt + c.begin, len);
        conv[len] = '\0';
        if (std::snprintf(field, sizeof field, conv, x) < 0) field[0] = '\0';
    }
    std::size_t k = 0;
    AppendLiteral(fmt, 0, c.begin, out, n, &k);
    for (const char* f = field; *f && k + 1 < n; ++f) out[k++] = *f;
    AppendLiteral(fmt, c.end, std::strlen(fmt), out, n, &k);
    out[k] = '\0';
    return k;
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
    const auto r = std::to_chars(out, out + n - 1, value, std::chars_format::general, digits);
    *r.ptr = '\0';
    WidenExponent(out, n);
    return std::strlen(out);
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
