#include "colors/palette_export_p.h"

#include "colors/palette_model_p.h"

#include <charconv>
#include <cstdio>

namespace korva {

std::optional<enZAVINPalette> ParsePaletteLayout(std::string_view text) {
    for (const PaletteLayout& layout : PaletteLayouts()) {
        if (layout.Name == text)
            return layout.Value;
    }
    // Digits only: no sign, no blanks, no trailing text.
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    std::int32_t value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || FindPaletteLayout(value) == nullptr)
        return std::nullopt;
    return static_cast<enZAVINPalette>(value);
}

std::string ExportGimpPalette(std::int32_t layout) {
    PaletteModel model;
    if (!model.SetPaletteValue(layout))
        return {};
    // The main grid alone is the palette; shades depend on a chosen colour.
    model.BuildMainGrid();

    std::string out = "GIMP Palette\nName: ";
    out += model.Layout().Name;
    out += "\nColumns: ";
    out += std::to_string(model.Columns());
    out += '\n';
    char rgb[48];
    for (const ColorCell& cell : model.MainGrid()) {
        std::snprintf(rgb, sizeof rgb, "%3u %3u %3u\t", cell.Color & 0xFFu, (cell.Color >> 8) & 0xFFu,
                      (cell.Color >> 16) & 0xFFu);
        out += rgb;
        out += cell.Name;
        out += '\n';
    }
    return out;
}

} // namespace korva
