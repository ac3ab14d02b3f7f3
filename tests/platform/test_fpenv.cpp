// The floating-point scope of every export: the engine computes with all
// exceptions masked whatever the host unmasked, the host gets its control
// settings back, and the flags leave the scope as the exit mode says.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>

#include "platform/fpenv.h"

#if defined(_WIN32)
#include <float.h>
#endif

namespace {

using vt::platform::FpExit;
using vt::platform::FpScope;

// The host's side, through the interface a host on each platform uses.
enum Exc : unsigned { kInvalid = 1, kDivByZero = 2, kOverflow = 4, kInexact = 8 };

#if defined(_WIN32)
// _controlfp_s / _statusfp bits: masks and flags share one layout.
constexpr unsigned kBits[] = {0x10, 0x08, 0x04, 0x01};
unsigned Control() {
    unsigned cw = 0;
    _controlfp_s(&cw, 0, 0);
    return cw;
}
void SetControl(unsigned value, unsigned mask) {
    unsigned cw = 0;
    _controlfp_s(&cw, value, mask);
}
unsigned ToHost(unsigned e);
unsigned FromHost(unsigned w);
void HostUnmask(unsigned e) { SetControl(_MCW_EM & ~ToHost(e), _MCW_EM); }
unsigned HostUnmasked() { return FromHost(~Control() & _MCW_EM); }
unsigned HostRounding() { return Control() & _MCW_RC; }
void HostSetRoundingUp() { SetControl(_RC_UP, _MCW_RC); }
void HostRoundingNearest() { SetControl(_RC_NEAR, _MCW_RC); }
unsigned Flags() { return FromHost(_statusfp()); }
void ClearFlags() {
    _clearfp();
    std::feclearexcept(FE_ALL_EXCEPT);
}
#else
constexpr unsigned kBits[] = {FE_INVALID, FE_DIVBYZERO, FE_OVERFLOW, FE_INEXACT};
unsigned ToHost(unsigned e);
unsigned FromHost(unsigned f);
void HostUnmask(unsigned e) {
    fedisableexcept(FE_ALL_EXCEPT);
    if (e) feenableexcept(static_cast<int>(ToHost(e)));
}
unsigned HostUnmasked() { return FromHost(static_cast<unsigned>(fegetexcept())); }
unsigned HostRounding() { return static_cast<unsigned>(std::fegetround()); }
void HostSetRoundingUp() { std::fesetround(FE_UPWARD); }
void HostRoundingNearest() { std::fesetround(FE_TONEAREST); }
unsigned Flags() { return FromHost(static_cast<unsigned>(std::fetestexcept(FE_ALL_EXCEPT))); }
void ClearFlags() { std::feclearexcept(FE_ALL_EXCEPT); }
#endif

// The test's exception bits to the host's and back.
unsigned ToHost(unsigned e) {
    unsigned h = 0;
    for (int i = 0; i < 4; ++i) h |= (e & (1u << i)) ? kBits[i] : 0u;
    return h;
}
unsigned FromHost(unsigned h) {
    unsigned e = 0;
    for (int i = 0; i < 4; ++i) e |= (h & kBits[i]) ? 1u << i : 0u;
    return e;
}

// Raises one exception by computing (volatile, so nothing is folded).
void Compute(unsigned e) {
    volatile double zero = 0.0, big = 1e308, three = 3.0, one = 1.0, r = 0;
    if (e & kDivByZero) r = one / zero;
    if (e & kOverflow) r = big * 10.0;
    if (e & kInvalid) r = zero / zero;
    if (e & kInexact) r = one / three;
    (void)r;
}

// Leaves the test thread as it found it (all masked, nearest, no flags),
// even when a check fails in between.
struct RestoreHost {
    ~RestoreHost() {
        HostUnmask(0);
        HostRoundingNearest();
        ClearFlags();
    }
};

// Each case: the exit mode, the exceptions the host unmasked, the flags set
// when the export is entered (masked ones: a host cannot hold the others),
// the exceptions raised inside the engine and the flags the host sees after.
TEST(FpScope, MasksInsideAndRestoresTheHost) {
    constexpr unsigned kAll3 = kDivByZero | kOverflow | kInvalid;
    const struct { const char* name; FpExit exit; unsigned unmasked, entry, engine, after; } cases[] = {
        // Flags raised inside reach a host that masks them (Keep), but never
        // one that unmasked them: raising would trap there.
        {"KeepHandsOnMasked", FpExit::Keep, 0, 0, kDivByZero | kOverflow, kDivByZero | kOverflow | kInexact},
        {"KeepWithholdsUnmasked", FpExit::Keep, kAll3, 0, kAll3, kInexact},
        // The host's own flags survive a Keep export.
        {"KeepKeepsEntryFlags", FpExit::Keep, kOverflow, kDivByZero, 0, kDivByZero},
        {"KeepKeepsEntryAndAdds", FpExit::Keep, 0, kInvalid, kDivByZero, kInvalid | kDivByZero},
        // Clear leaves every flag clear, the host's included.
        {"ClearClearsEngineFlags", FpExit::Clear, 0, 0, kDivByZero | kInvalid, 0},
        {"ClearClearsEntryFlags", FpExit::Clear, kDivByZero, kOverflow | kInexact, kDivByZero, 0},
        {"ClearWithHostUnmaskingAll", FpExit::Clear, kAll3, 0, kAll3 | kInexact, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RestoreHost restore;
        ClearFlags();
        HostUnmask(c.unmasked);  // (Wine's _controlfp_s also clears the flags)
        Compute(c.entry);
        unsigned insideUnmasked = ~0u, insideFlags = ~0u;
        {
            FpScope scope(c.exit);
            insideUnmasked = HostUnmasked();
            insideFlags = Flags();
            Compute(c.engine);  // traps (and kills the test) if not masked
        }
        const unsigned unmaskedAfter = HostUnmasked(), flagsAfter = Flags();
        HostUnmask(0);
        EXPECT_EQ(insideUnmasked, 0u) << "the engine computes with everything masked";
        EXPECT_EQ(insideFlags, 0u) << "the engine starts with clear flags";
        EXPECT_EQ(unmaskedAfter, c.unmasked) << "the host's masks come back";
        EXPECT_EQ(flagsAfter, c.after);
    }
}

// The host's rounding comes back even if the engine changed it; SetExit
// decides at the end; ClearFpFlags clears every flag. Nested scopes, and
// long double arithmetic on the x87 unit (so do parts of MinGW's maths
// library): everything stays masked inside, the host gets its masks back,
// the flags it unmasked are withheld, and a Clear exit clears the x87 flags
// too.
TEST(FpScope, RoundingSetExitNestingAndTheX87Unit) {
    RestoreHost restore;
    ClearFlags();
    HostSetRoundingUp();
    const unsigned up = HostRounding();
    {
        FpScope scope(FpExit::Clear);
        HostRoundingNearest();
        Compute(kDivByZero);
        scope.SetExit(FpExit::Keep);
    }
    EXPECT_TRUE(HostRounding() == up && (Flags() & kDivByZero)) << Flags();
    Compute(kDivByZero | kOverflow | kInvalid | kInexact);
    std::feraiseexcept(FE_DIVBYZERO);
    vt::platform::ClearFpFlags();
    EXPECT_TRUE(Flags() == 0u && std::fetestexcept(FE_ALL_EXCEPT) == 0);
    HostUnmask(kDivByZero | kInvalid);
    {
        FpScope outer(FpExit::Keep);
        {
            FpScope inner(FpExit::Keep);
            volatile long double zero = 0.0L, one = 1.0L;
            volatile long double r = one / zero;  // traps if the x87 unit is unmasked
            (void)r;
        }
        Compute(kInvalid);  // still masked after the inner scope
    }
    const unsigned unmasked = HostUnmasked(), flags = Flags();
    HostUnmask(0);
    EXPECT_TRUE(unmasked == (kDivByZero | kInvalid) && !(flags & (kDivByZero | kInvalid))) << unmasked << " " << flags;
    std::feraiseexcept(FE_OVERFLOW);  // MinGW raises on the x87 unit
    {
        FpScope scope(FpExit::Clear);
    }
    EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), 0);
}

}  // namespace
