// Shared pieces of the libFuzzer targets: reading numbers out of the input,
// the host's floating-point modes, timing every export call, the promises
// the header makes, and the component library.
//
// Input encoding (see fuzz/seeds.py, which writes the seed corpus):
//   byte          one byte; 0 once the input is used up
//   Int(lo, hi)   one byte, lo + byte % (hi - lo + 1)
//   Double(lo,hi) a tag byte: 0..15 a special value (kSpecials), 16 the next
//                 eight bytes as raw bits (little-endian), 17..255 a value in
//                 [lo, hi] from the next two bytes (u16 / 65535, linear)
#pragma once

#include <cfenv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "vantaro/vantaro.h"

#if defined(__x86_64__)
#include <xmmintrin.h>
#endif

namespace vantaro_fuzz {

extern const char* const kComponentsCsv;  // data/components.csv, compiled in

inline constexpr double kMissing = VANTARO_MISSING;

inline double FromBits(uint64_t b) {
    double d;
    std::memcpy(&d, &b, sizeof d);
    return d;
}

// Tags 0..15 of Double().
inline const double kSpecials[16] = {
    0.0,
    FromBits(0x8000000000000000ull),  // -0
    1.0,
    -1.0,
    std::numeric_limits<double>::infinity(),
    -std::numeric_limits<double>::infinity(),
    std::numeric_limits<double>::quiet_NaN(),
    FromBits(0x7ff4000000000000ull),  // signalling NaN
    std::numeric_limits<double>::denorm_min(),
    std::numeric_limits<double>::max(),
    -std::numeric_limits<double>::max(),
    kMissing,
    1e-300,
    1e300,
    std::numeric_limits<double>::min(),
    0.5,
};

class Input {
public:
    Input(const uint8_t* data, size_t size) : p_(data), end_(data + size) {}
    bool More() const { return p_ < end_; }
    uint8_t Byte() { return p_ < end_ ? *p_++ : 0; }
    int Int(int lo, int hi) { return lo + Byte() % (hi - lo + 1); }
    uint16_t U16() {
        const uint16_t lo = Byte();
        return static_cast<uint16_t>(lo | (Byte() << 8));
    }
    double Double(double lo, double hi) {
        const uint8_t tag = Byte();
        if (tag < 16) return kSpecials[tag];
        if (tag == 16) {
            uint64_t bits = 0;
            for (int k = 0; k < 8; ++k) bits |= static_cast<uint64_t>(Byte()) << (8 * k);
            return FromBits(bits);
        }
        return lo + (hi - lo) * (U16() / 65535.0);
    }
    // Up to `max` bytes as text (stops at a zero byte).
    std::string Text(size_t max) {
        std::string s;
        const size_t n = Byte() % (max + 1);
        for (size_t k = 0; k < n && More(); ++k) {
            const char c = static_cast<char>(Byte());
            if (c == 0) break;
            s.push_back(c);
        }
        return s;
    }

private:
    const uint8_t* p_;
    const uint8_t* end_;
};

// A broken promise or a slow call: report and abort, so that libFuzzer
// keeps the input.
[[noreturn]] inline void Broken(const char* what, const char* detail) {
    std::fprintf(stderr, "\n*** %s: %s\n", what, detail);
    std::abort();
}
#define FUZZ_PROMISE(cond, detail)                                              \
    do {                                                                        \
        if (!(cond)) ::vantaro_fuzz::Broken("broken promise: " #cond, detail);  \
    } while (0)

// --- the host's floating-point modes --------------------------------------

// How the host runs while it calls the engine: everything masked (the
// default), invalid/zero-divide/overflow unmasked through feenableexcept
// (both units), or in MXCSR only. A trap ends the run (libFuzzer reports
// the deadly signal).
enum class FpMode { Masked, Unmasked, MxcsrOnly };

inline FpMode PickMode(Input& in) { return static_cast<FpMode>(in.Byte() % 3); }

inline void EnterMode(FpMode m) {
    std::feclearexcept(FE_ALL_EXCEPT);
    if (m == FpMode::Unmasked) feenableexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
#if defined(__x86_64__)
    if (m == FpMode::MxcsrOnly) _mm_setcsr(_mm_getcsr() & ~((0x01u | 0x04u | 0x08u) << 7));
#endif
}

inline void LeaveMode() {
    fedisableexcept(FE_ALL_EXCEPT);
#if defined(__x86_64__)
    _mm_setcsr(_mm_getcsr() | (0x3fu << 7));
#endif
    std::feclearexcept(FE_ALL_EXCEPT);
}

// --- timing ---------------------------------------------------------------

// The longest a single export call may take, sanitizers included.
inline constexpr double kCallLimitSeconds = 1.0;

// The slowest call of each export so far; printed at exit when the
// environment sets VANTARO_FUZZ_SLOWEST (./dev fuzz does).
struct Slowest {
    const char* name;
    double seconds;
};
inline Slowest g_slowest[32];
inline int g_slowestCount = 0;

inline void PrintSlowest() {
    for (int k = 0; k < g_slowestCount; ++k)
        std::fprintf(stderr, "slowest call: %s %.1f ms\n", g_slowest[k].name,
                     1000.0 * g_slowest[k].seconds);
}

inline void RecordDuration(const char* name, double s) {
    static const bool report = [] {
        if (std::getenv("VANTARO_FUZZ_SLOWEST")) std::atexit(PrintSlowest);
        return true;
    }();
    (void)report;
    for (int k = 0; k < g_slowestCount; ++k)
        if (std::strcmp(g_slowest[k].name, name) == 0) {
            if (s > g_slowest[k].seconds) g_slowest[k].seconds = s;
            return;
        }
    if (g_slowestCount < 32) g_slowest[g_slowestCount++] = {name, s};
}

// Runs `call` (one export call) in the host mode `m` and aborts when it takes
// longer than the limit.
template <class F>
auto Timed(const char* name, FpMode m, F&& call) {
    const auto start = std::chrono::steady_clock::now();
    EnterMode(m);
    struct Leave {
        std::chrono::steady_clock::time_point start;
        const char* name;
        ~Leave() {
            LeaveMode();
            const double s =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            RecordDuration(name, s);
            if (s > kCallLimitSeconds) {
                char text[96];
                std::snprintf(text, sizeof text, "%s took %.2f s", name, s);
                Broken("slow export call", text);
            }
        }
    } leave{start, name};
    return call();
}

// --- the component library -------------------------------------------------

struct Library {
    std::vector<CompRecord> rows;
    std::vector<std::string> names;
};

inline const Library& Components() {
    static const Library lib = [] {
        Library l;
        const char* p = kComponentsCsv;
        bool header = false;
        while (*p) {
            const char* eol = std::strchr(p, '\n');
            std::string line(p, eol ? static_cast<size_t>(eol - p) : std::strlen(p));
            p = eol ? eol + 1 : p + line.size();
            if (line.empty() || line[0] == '#') continue;
            if (!header) {
                header = true;  // the column names
                continue;
            }
            CompRecord r{};
            char name[64] = {0};
            double* d = &r.mw;
            int used = 0;
            if (std::sscanf(line.c_str(), "%d,%d,%63[^,],%n", &r.code, &r.family, name, &used) < 3)
                continue;
            const char* q = line.c_str() + used;
            for (int k = 0; k < 19; ++k) {
                d[k] = std::strtod(q, const_cast<char**>(&q));
                if (*q == ',') ++q;
            }
            l.rows.push_back(r);
            l.names.push_back(name);
        }
        return l;
    }();
    return lib;
}

// Built-in kij of a table (both orders), as a host fills its matrices.
inline void BuiltinKij(const std::vector<CompRecord>& t, std::vector<double>& pr,
                       std::vector<double>& srk) {
    const size_t n = t.size();
    pr.assign(n * n, 0.0);
    srk.assign(n * n, 0.0);
    for (size_t i = 0; i < n; ++i)
        for (size_t j = 0; j < n; ++j) {
            if (i == j) continue;
            GetKijHardWired(1, t[i].code, t[i].family, t[j].code, t[j].family, &pr[i * n + j]);
            GetKijHardWired(2, t[i].code, t[i].family, t[j].code, t[j].family, &srk[i * n + j]);
        }
}

// Messages of corrupted tables go nowhere.
inline void Silent(const char*, const char*, void*) {}

// Messages go nowhere while fuzzing (set once per process).
inline void SilenceMessagesOnce() {
    static const bool done = [] {
        SetMessageCallback(Silent, nullptr);
        return true;
    }();
    (void)done;
}

// A number the header promises: finite, or MISSING.
inline bool FiniteOrMissing(double v) { return std::isfinite(v); }

}  // namespace vantaro_fuzz
