// The twelve palette layouts: grid shape, cell geometry and the lists of hues,
// luminance steps and greys that generate their cells, plus the shade sets of
// the layouts that show a second grid.
#pragma once

#include "colors/palettes.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace korva {

struct HueEntry {
    std::int32_t Hue;
    std::string_view Name; // "RED"
};

// A luminance with the word put before a hue name: "DARK " or "" for the plain hue.
struct ToneEntry {
    std::int32_t Luminance;
    std::string_view Prefix;
};

// A grey's luminance and its whole name.
struct GreyEntry {
    std::int32_t Luminance;
    std::string_view Name;
};

struct ShadeSet {
    std::string_view Name;                     // "S4", "S6", "S8"
    std::span<const std::int32_t> Saturations; // one shade column each
    std::span<const ToneEntry> Tones;          // rows for a chromatic base
    std::span<const GreyEntry> Greys;          // rows for a grey base
    std::int32_t GreyStep;                     // luminance lost per column for a grey base
};

struct PaletteLayout {
    enZAVINPalette Value;
    std::string_view Name; // the enumeration member, "AP24X8"
    std::int32_t Columns;
    std::int32_t Rows;
    std::int32_t CellSize;
    std::int32_t Gap;
    std::span<const HueEntry> Hues;
    std::span<const ToneEntry> Tones;
    std::span<const GreyEntry> Greys;
    const ShadeSet* Shades; // null for the layouts without a shade grid

    bool HasShades() const { return Shades != nullptr; }
};

// All layouts, indexed by value.
std::span<const PaletteLayout> PaletteLayouts();

// The layout for a value, or null outside 0..11.
const PaletteLayout* FindPaletteLayout(std::int32_t value);

} // namespace korva
