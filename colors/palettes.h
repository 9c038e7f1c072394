// The palette layouts a Colors drop-down can show, by their saved numbers.
#pragma once

#include <cstdint>

namespace korva {

// Saved and passed as a 32-bit value; kept unscoped so the host can hand in a
// plain number.
enum enZAVINPalette : std::int32_t {
    AP8X2 = 0,
    AP9X3 = 1,
    AP8X8 = 2,
    AP16X8 = 3,
    AP24X8 = 4,
    AP24X10 = 5,
    AP8X4X4 = 6,
    AP8X8X6 = 7,
    AP12X6X6 = 8,
    AP16X8X6 = 9,
    AP24X8X6 = 10,
    AP32X8X6 = 11,
};

inline constexpr std::int32_t kPaletteLayoutCount = 12;

} // namespace korva
