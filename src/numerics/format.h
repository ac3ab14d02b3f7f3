// Number formatting for display: a unit-converted printf-style rendering and
// a rendering with an exact number of significant digits.
#pragma once
#include <cstddef>
#include <cstdint>

namespace vt {

// True when `fmt` holds exactly one floating-point conversion (f F e E g G a
// A, optional flags, width and precision of at most three digits, optional
// 'l') and otherwise only text and "%%": the only formats that are safe to
// give a double.
bool IsSingleFloatFormat(const char* fmt) noexcept;

// value * scale + offset rendered with `fmt` into out (size n), or "" for
// MISSING, "1" for -32768, "" for an unsafe format. Exponents of e/E/g/G
// conversions are written with at least three digits, inside the requested
// width, as the Windows C runtime prints them. Returns the text length.
std::size_t ExtFormatText(double value, double scale, double offset, const char* fmt, char* out,
                          std::size_t n) noexcept;

// General-format conversion to `digits` significant digits in the layout of
// the Windows C runtime: like printf "%.*g", with the exponent
// written with a sign and at least three digits. Non-finite values give
// "inf", "-inf" or "nan". Returns the text length.
std::size_t GeneralFormat(double value, int digits, char* out, std::size_t n) noexcept;

// Pads a general-format text to exactly `digits` significant digits by
// adding the decimal point and trailing zeros it dropped (before the
// exponent, if any). out must hold 64 bytes.
void PadSignificantDigits(const char* text, int digits, char out[64]) noexcept;

// The text FormatSigFigs stores: GeneralFormat then PadSignificantDigits
// (non-finite values are not padded). False for digits outside 1-9.
bool SigFigsText(double value, int digits, char out[64]) noexcept;

}  // namespace vt
