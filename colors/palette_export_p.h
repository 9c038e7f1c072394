// The named palettes as GIMP palette text, so designers can take them into
// their own tools (korvahost --export-palette LAYOUT FILE.gpl).
#pragma once

#include "colors/palette_layouts_p.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korva {

// A layout given as its member name ("AP24X8", exact spelling) or as its value
// in decimal ("4"); nothing else is accepted.
std::optional<enZAVINPalette> ParsePaletteLayout(std::string_view text);

// The layout's main grid as a GIMP palette: "GIMP Palette", "Name: <layout>",
// "Columns: <Columns>", then one "R G B<tab>NAME" line per cell in index order
// (channels right-aligned in three places, as GIMP writes them). Empty for a
// value outside 0..11.
std::string ExportGimpPalette(std::int32_t layout);

} // namespace korva
