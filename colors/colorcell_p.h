// One cell of a palette grid, and the value the Colors control keeps for its
// base, selected and active cells.
#pragma once

#include <cstdint>
#include <string>

namespace korva {

// Field order and widths follow the cell record the control has always kept, so
// a cell copied whole carries the same meaning everywhere. The flags are stored
// booleans (true = -1, false = 0); test them for non-zero.
//
// A default-constructed cell is the empty cell: every field zero, no name,
// IsValid false. Lookups return it when they find nothing.
struct ColorCell {
    static constexpr std::int16_t kTrue = -1;
    static constexpr std::int16_t kFalse = 0;

    std::int16_t IsMain = kFalse; // main grid (true) or shade grid (false)
    std::int32_t Left = 0;        // pixels in the panel's client area
    std::int32_t Top = 0;
    std::int32_t Right = 0;      // exclusive
    std::int32_t Bottom = 0;     // exclusive
    std::uint32_t Color = 0;     // 0x00BBGGRR
    std::int32_t Hue = 0;        // 0..240
    std::int32_t Saturation = 0; // 0..240
    std::int32_t Luminance = 0;  // 0..240
    std::int16_t IsChromatic = kFalse;
    std::string Name; // upper case display name, e.g. "DARK RED"
    std::int16_t IsValid = kFalse;

    bool Contains(std::int32_t x, std::int32_t y) const {
        return Left <= x && x < Right && Top <= y && y < Bottom;
    }

    bool operator==(const ColorCell&) const = default;
};

} // namespace korva
