// Sections: hue lists, luminance lists, grey lists, shade sets, layout table.
//
// The orders below are not sorted on purpose. Cells are placed column by
// column, so the reversed runs in H11, H15R, H23R and H31 make the colour wheel
// run down one column and back up the next, and the grey lists G4 and G6 fill
// two columns that each read light to dark.
#include "colors/palette_layouts_p.h"

#include <array>

namespace korva {
namespace {

// clang-format off
// --- Hue lists -------------------------------------------------------------

constexpr std::array<HueEntry, 6> H6{{
    {0, "RED"}, {40, "YELLOW"}, {80, "GREEN"}, {120, "CYAN"}, {160, "BLUE"}, {200, "MAGENTA"},
}};

constexpr std::array<HueEntry, 7> H7{{
    {0, "RED"}, {20, "ORANGE"}, {40, "YELLOW"}, {80, "GREEN"}, {120, "CYAN"}, {160, "BLUE"}, {200, "MAGENTA"},
}};

constexpr std::array<HueEntry, 11> H11{{
    {0, "RED"}, {20, "ORANGE"}, {40, "YELLOW"}, {50, "LEMON"}, {80, "GREEN"}, {110, "TURQUOISE"},
    {220, "PINK"}, {200, "MAGENTA"}, {160, "BLUE"}, {130, "TEAL"}, {120, "CYAN"},
}};

constexpr std::array<HueEntry, 15> H15{{
    {0, "RED"}, {12, "COPPER"}, {20, "ORANGE"}, {30, "GOLD"}, {40, "YELLOW"}, {60, "LIME"},
    {80, "GREEN"}, {110, "TURQUOISE"}, {120, "CYAN"}, {130, "TEAL"}, {160, "BLUE"},
    {180, "LAVENDER"}, {200, "MAGENTA"}, {210, "FUCHSIA"}, {220, "PINK"},
}};

constexpr std::array<HueEntry, 15> H15R{{
    {0, "RED"}, {12, "COPPER"}, {20, "ORANGE"}, {30, "GOLD"}, {40, "YELLOW"}, {60, "LIME"},
    {80, "GREEN"}, {110, "TURQUOISE"}, {220, "PINK"}, {210, "FUCHSIA"}, {200, "MAGENTA"},
    {180, "LAVENDER"}, {160, "BLUE"}, {130, "TEAL"}, {120, "CYAN"},
}};

constexpr std::array<HueEntry, 23> H23{{
    {0, "RED"}, {12, "COPPER"}, {20, "ORANGE"}, {30, "GOLD"}, {35, "TOPAZ"}, {40, "YELLOW"},
    {50, "LEMON"}, {60, "LIME"}, {80, "GREEN"}, {100, "JADE"}, {110, "TURQUOISE"}, {120, "CYAN"},
    {125, "AQUA"}, {130, "TEAL"}, {140, "AZURE"}, {150, "SAPPHIRE"}, {160, "BLUE"},
    {180, "LAVENDER"}, {190, "VIOLET"}, {200, "MAGENTA"}, {210, "FUCHSIA"}, {220, "PINK"},
    {230, "CRIMSON"},
}};

constexpr std::array<HueEntry, 23> H23R{{
    {0, "RED"}, {12, "COPPER"}, {20, "ORANGE"}, {30, "GOLD"}, {35, "TOPAZ"}, {40, "YELLOW"},
    {50, "LEMON"}, {60, "LIME"}, {150, "SAPPHIRE"}, {140, "AZURE"}, {130, "TEAL"}, {125, "AQUA"},
    {120, "CYAN"}, {110, "TURQUOISE"}, {100, "JADE"}, {80, "GREEN"}, {160, "BLUE"},
    {180, "LAVENDER"}, {190, "VIOLET"}, {200, "MAGENTA"}, {210, "FUCHSIA"}, {220, "PINK"},
    {230, "CRIMSON"},
}};

constexpr std::array<HueEntry, 31> H31{{
    {0, "RED"}, {12, "COPPER"}, {20, "ORANGE"}, {25, "BRONZE"}, {30, "GOLD"}, {35, "TOPAZ"},
    {37, "TOURMALINE"}, {40, "YELLOW"}, {110, "TURQUOISE"}, {100, "JADE"}, {90, "BERYL"},
    {80, "GREEN"}, {70, "EMERALD"}, {60, "LIME"}, {50, "LEMON"}, {45, "CITRINE"}, {120, "CYAN"},
    {125, "AQUA"}, {130, "TEAL"}, {140, "AZURE"}, {150, "SAPPHIRE"}, {160, "BLUE"},
    {170, "INDIGO"}, {180, "LAVENDER"}, {230, "CRIMSON"}, {220, "PINK"}, {210, "FUCHSIA"},
    {200, "MAGENTA"}, {195, "COBALT"}, {190, "VIOLET"}, {185, "AMETHYST"},
}};

// --- Luminance lists (every non-empty prefix ends in one space) --------------

constexpr std::array<ToneEntry, 1> L1{{{120, ""}}};

constexpr std::array<ToneEntry, 2> L2{{{120, ""}, {60, "DARK "}}};

constexpr std::array<ToneEntry, 3> L3{{{180, "LIGHT "}, {120, ""}, {60, "DARK "}}};

constexpr std::array<ToneEntry, 8> L8{{
    {225, "PASTEL "}, {210, "BARLEY "}, {180, "LIGHT "}, {120, ""},
    {105, "DUSKY "}, {90, "DEEP "}, {60, "DARK "}, {40, "EARTH "},
}};

constexpr std::array<ToneEntry, 10> L10{{
    {225, "PASTEL "}, {210, "BARLEY "}, {180, "LIGHT "}, {150, "SOFT "}, {120, ""},
    {105, "DUSKY "}, {90, "DEEP "}, {75, "CLOUDY "}, {60, "DARK "}, {40, "EARTH "},
}};

// --- Grey lists --------------------------------------------------------------

constexpr std::array<GreyEntry, 1> G1{{{240, "WHITE"}}};

constexpr std::array<GreyEntry, 4> G4{{{240, "WHITE"}, {120, "GRAY"}, {180, "CHROME"}, {0, "BLACK"}}};

constexpr std::array<GreyEntry, 6> G6{{
    {240, "WHITE"}, {180, "CHROME"}, {60, "CHARCOAL"}, {210, "SILVER"}, {120, "GRAY"}, {0, "BLACK"},
}};

constexpr std::array<GreyEntry, 8> G8{{
    {240, "WHITE"}, {210, "SILVER"}, {180, "CHROME"}, {150, "TITANIUM"},
    {120, "GRAY"}, {90, "DARK GRAY"}, {60, "CHARCOAL"}, {0, "BLACK"},
}};

constexpr std::array<GreyEntry, 10> G10{{
    {240, "WHITE"}, {210, "SILVER"}, {180, "CHROME"}, {150, "TITANIUM"}, {120, "GRAY"},
    {90, "DARK GRAY"}, {80, "EBONY"}, {60, "CHARCOAL"}, {30, "EARTH"}, {0, "BLACK"},
}};

// --- Shade sets --------------------------------------------------------------

constexpr std::array<std::int32_t, 4> S4Saturations{240, 180, 120, 60};
constexpr std::array<ToneEntry, 4> S4Tones{{{210, "BARLEY "}, {180, "LIGHT "}, {120, ""}, {60, "DARK "}}};
constexpr std::array<GreyEntry, 4> S4Greys{{{240, "WHITE"}, {180, "CHROME"}, {120, "GRAY"}, {60, "CHARCOAL"}}};

constexpr std::array<std::int32_t, 6> S6Saturations{240, 200, 160, 120, 80, 40};
constexpr std::array<ToneEntry, 6> S6Tones{{
    {210, "BARLEY "}, {180, "LIGHT "}, {120, ""}, {90, "DEEP "}, {60, "DARK "}, {40, "EARTH "},
}};
constexpr std::array<GreyEntry, 6> S6Greys{{
    {240, "WHITE"}, {200, "PLATINUM"}, {160, "NICKEL"}, {120, "GRAY"}, {80, "EBONY"}, {40, "MIDNIGHT"},
}};

constexpr std::array<std::int32_t, 6> S8Saturations{240, 200, 160, 120, 80, 40};
constexpr std::array<ToneEntry, 8> S8Tones{{
    {225, "PASTEL "}, {210, "BARLEY "}, {180, "LIGHT "}, {120, ""},
    {105, "DUSKY "}, {90, "DEEP "}, {60, "DARK "}, {40, "EARTH "},
}};
constexpr std::array<GreyEntry, 8> S8Greys{{
    {240, "WHITE"}, {210, "SILVER"}, {180, "CHROME"}, {150, "TITANIUM"},
    {120, "GRAY"}, {90, "DARK GRAY"}, {60, "CHARCOAL"}, {30, "EARTH"},
}};

constexpr ShadeSet S4{"S4", S4Saturations, S4Tones, S4Greys, 15};
constexpr ShadeSet S6{"S6", S6Saturations, S6Tones, S6Greys, 6};
constexpr ShadeSet S8{"S8", S8Saturations, S8Tones, S8Greys, 5};

// --- Layouts -----------------------------------------------------------------

// AP24X10 really has a 9-pixel cell and a 7-pixel gap (a 16-pixel pitch), not
// 12 and 5 like its neighbours: the panel size follows from it.
constexpr std::array<PaletteLayout, kPaletteLayoutCount> Layouts{{
    //          name        Cols Rows Cell Gap  hues  tones greys shades
    {AP8X2,    "AP8X2",     8,   2,   14,  7,   H6,   L2,   G4,   nullptr},
    {AP9X3,    "AP9X3",     9,   3,   14,  7,   H7,   L3,   G6,   nullptr},
    {AP8X8,    "AP8X8",     8,   8,   13,  7,   H7,   L8,   G8,   nullptr},
    {AP16X8,   "AP16X8",    16,  8,   12,  5,   H15,  L8,   G8,   nullptr},
    {AP24X8,   "AP24X8",    24,  8,   12,  5,   H23,  L8,   G8,   nullptr},
    {AP24X10,  "AP24X10",   24,  10,  9,   7,   H23,  L10,  G10,  nullptr},
    {AP8X4X4,  "AP8X4X4",   2,   4,   12,  3,   H7,   L1,   G1,   &S4},
    {AP8X8X6,  "AP8X8X6",   1,   8,   11,  2,   H7,   L1,   G1,   &S8},
    {AP12X6X6, "AP12X6X6",  2,   6,   11,  2,   H11,  L1,   G1,   &S6},
    {AP16X8X6, "AP16X8X6",  2,   8,   11,  2,   H15R, L1,   G1,   &S8},
    {AP24X8X6, "AP24X8X6",  3,   8,   10,  2,   H23R, L1,   G1,   &S8},
    {AP32X8X6, "AP32X8X6",  4,   8,   10,  2,   H31,  L1,   G1,   &S8},
}};
// clang-format on

// The grid shape is stated apart from the lists; a slip in either would leave
// cells unplaced or the grid short. Lookups by value index the table directly.
constexpr bool tableIsConsistent() {
    for (std::size_t i = 0; i < Layouts.size(); ++i) {
        const PaletteLayout& l = Layouts[i];
        if (static_cast<std::size_t>(l.Value) != i)
            return false;
        if (l.Hues.size() * l.Tones.size() + l.Greys.size() != static_cast<std::size_t>(l.Columns * l.Rows))
            return false;
    }
    return true;
}
static_assert(tableIsConsistent());

} // namespace

std::span<const PaletteLayout> PaletteLayouts() { return Layouts; }

const PaletteLayout* FindPaletteLayout(std::int32_t value) {
    if (value < 0 || value >= kPaletteLayoutCount)
        return nullptr;
    return &Layouts[static_cast<std::size_t>(value)];
}

} // namespace korva
