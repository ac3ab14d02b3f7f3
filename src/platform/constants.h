// Named constants and codes shared by every layer: the missing-value
// sentinel, the gas constants (each with the correlations fitted with it),
// reference conditions, the component codes the engine treats specially,
// phase-state codes and phase slots.
#pragma once
#include <cstdint>

#include "vantaro/vantaro.h"

namespace vt {

// "No value": inputs not given and outputs not computed.
inline constexpr double MISSING = VANTARO_MISSING;
// The same sentinel in integer outputs.
inline constexpr int32_t kMissingCode = -32767;

// Gas constants, kJ/(kmol K). Each correlation keeps the value it was fitted
// or published with; the results depend on the last digits.
// Cubic equations of state, the vapour-pressure flash model, ideal-gas
// entropy of mixing, the Berthelot volume and the COSTALD
// characteristic-volume iteration.
inline constexpr double kRgasEos = 8.31432;
// Transport-property correlations (viscosity, thermal conductivity), the
// compressed-liquid density of the viscosity correlation, the critical
// volume estimate z R Tc/Pc, and the vapour volume of the ln K pair model.
inline constexpr double kRgasTransport = 8.31434;
// Heat-capacity ratio cp/(cp - R) of the sonic velocity and the adiabatic
// vapour line.
inline constexpr double kRgasCpRatio = 8.3142;
// Gas constant in atm m3/(kmol K), the COSTALD mixture compression term.
inline constexpr double kRgasAtm = 0.082056;

// One standard atmosphere, kPa.
inline constexpr double kAtmKPa = 101.325;
// Standard liquid-density temperature, 60 F: a component whose critical
// temperature lies below kStdTempLimit has its density measured at its own
// reference temperature instead of at kStdTemp (both values as published).
inline constexpr double kStdTempLimit = 288.7055;
inline constexpr double kStdTemp = 288.70555;

// Component codes with their own treatment.
enum ComponentCode : int32_t {
    kCodeMethane = 1,
    kCodeEthane = 2,
    kCodeMethanol = 50,
    kCodeCarbonDioxide = 53,
    kCodeHydrogenSulfide = 54,
    kCodeOxygen = 56,
    kCodeHydrogen = 57,
    kCodeNitrogen = 59,
    kCodeWater = 61,
    kCodeHelium = 62,
    kCodeEthyleneGlycol = 130,
    kCodeDiethyleneGlycol = 131,
    kCodeTriethyleneGlycol = 132,
    // Codes the interaction-parameter rules single out by number.
    kCodeKijBoiling361 = 361,
    kCodeKijBoiling735 = 735,
    kCodeKijBoiling736 = 736,
    kCodeKijBoiling761 = 761,
    kCodeKijFixed758 = 758,
};

// Highest code of the light gases whose SRK acentric factor is used as given.
inline constexpr int32_t kCodeLastSrkOmega = 6;

// Components that form the aqueous liquid: water, methanol, ethylene and
// triethylene glycol.
inline constexpr bool IsWaterLike(int32_t code) {
    return code == kCodeWater || code == kCodeMethanol || code == kCodeEthyleneGlycol ||
           code == kCodeTriethyleneGlycol;
}

// Phase state codes.
inline constexpr int32_t kVapour = 4;
inline constexpr int32_t kLiquid = 1;
inline constexpr int32_t kAbsent = 0;
inline constexpr int32_t kStateUnset = kMissingCode;

// Slots of the per-phase arrays: the three phases, the feed/overall mixture
// and the combined liquid.
enum PhaseSlot : int {
    kVapourSlot = 0,
    kLiquidSlot = 1,
    kAqueousSlot = 2,
    kOverallSlot = 3,
    kCombinedLiquidSlot = 4,
};

// Free-water component index meaning "none".
inline constexpr int32_t kNoWater = -3;

}  // namespace vt
