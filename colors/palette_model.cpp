#include "colors/palette_model_p.h"

#include <map>
#include <memory>

#include "colors/hls_p.h"

#include <cstdlib>
#include <string>

namespace korva {
namespace {

// Both grids start 6 pixels in from the panel's top and advance one pitch
// (cell plus gap) per row, filling each column before the next.
void place(ColorCell& cell, std::int32_t index, std::int32_t rows, std::int32_t left0, std::int32_t cellSize,
           std::int32_t gap) {
    const std::int32_t pitch = cellSize + gap;
    cell.Left = left0 + (index / rows) * pitch;
    cell.Top = 6 + (index % rows) * pitch;
    cell.Right = cell.Left + cellSize;
    cell.Bottom = cell.Top + cellSize;
}

ColorCell generated(std::int32_t hue, std::int32_t saturation, std::int32_t luminance, bool chromatic,
                    bool main, std::string name) {
    ColorCell cell;
    cell.IsMain = main ? ColorCell::kTrue : ColorCell::kFalse;
    cell.Color = HlsToRgb(hue, saturation, luminance);
    cell.Hue = hue;
    cell.Saturation = saturation;
    cell.Luminance = luminance;
    cell.IsChromatic = chromatic ? ColorCell::kTrue : ColorCell::kFalse;
    cell.Name = std::move(name);
    cell.IsValid = ColorCell::kTrue;
    return cell;
}

// Widened so a base cell set from outside with an extreme hue cannot overflow.
std::int64_t apart(std::int32_t a, std::int32_t b) { return std::llabs(std::int64_t{a} - b); }

std::string joined(std::string_view prefix, std::string_view name) {
    std::string s;
    s.reserve(prefix.size() + name.size());
    s.append(prefix);
    s.append(name);
    return s;
}

} // namespace

PaletteModel::PaletteModel() : shadeGrid_(1) {
    static const auto none = std::make_shared<const std::vector<ColorCell>>();
    mainGrid_ = none;
}

const PaletteLayout& PaletteModel::Layout() const { return *FindPaletteLayout(palette_); }

bool PaletteModel::SetPaletteValue(std::int32_t value) {
    if (FindPaletteLayout(value) == nullptr)
        return false;
    palette_ = static_cast<enZAVINPalette>(value);
    return true;
}

bool PaletteModel::SetPalette(std::int32_t value) {
    if (!SetPaletteValue(value))
        return false;
    RebuildPalette();
    return true;
}

void PaletteModel::BuildMainGrid() {
    const PaletteLayout& layout = Layout();
    columns_ = layout.Columns;
    rows_ = layout.Rows;
    cellSize_ = layout.CellSize;
    gap_ = layout.Gap;
    hasShades_ = layout.HasShades();
    shadeColumns_ = hasShades_ ? static_cast<std::int32_t>(layout.Shades->Saturations.size()) : 0;
    shadeRows_ = hasShades_ ? static_cast<std::int32_t>(layout.Shades->Tones.size()) : 0;

    // Built once per layout while any instance holds it.
    static std::map<const PaletteLayout*, std::weak_ptr<const std::vector<ColorCell>>> built;
    std::weak_ptr<const std::vector<ColorCell>>& known = built[&layout];
    mainGrid_ = known.lock();
    if (!mainGrid_) {
        std::vector<ColorCell> grid;
        grid.reserve(layout.Hues.size() * layout.Tones.size() + layout.Greys.size());
        for (const HueEntry& hue : layout.Hues) {
            for (const ToneEntry& tone : layout.Tones)
                grid.push_back(
                    generated(hue.Hue, 240, tone.Luminance, true, true, joined(tone.Prefix, hue.Name)));
        }
        for (const GreyEntry& grey : layout.Greys)
            grid.push_back(generated(0, 0, grey.Luminance, false, true, std::string(grey.Name)));
        for (std::size_t k = 0; k < grid.size(); ++k)
            place(grid[k], static_cast<std::int32_t>(k), rows_, 6, cellSize_, gap_);
        mainGrid_ = std::make_shared<const std::vector<ColorCell>>(std::move(grid));
        known = mainGrid_;
    }

    shadeGrid_.assign(1, ColorCell{});
}

void PaletteModel::BuildShadeGrid() {
    const ShadeSet* set = Layout().Shades;
    if (!baseCell_.IsValid || set == nullptr)
        return;
    shadeColumns_ = static_cast<std::int32_t>(set->Saturations.size());
    shadeRows_ = static_cast<std::int32_t>(set->Tones.size());
    const std::int32_t count = shadeColumns_ * shadeRows_;
    const bool chromatic = baseCell_.IsChromatic != 0;
    const std::int32_t left0 = columns_ * (cellSize_ + gap_) + 8 + gap_;

    shadeGrid_.clear();
    shadeGrid_.reserve(static_cast<std::size_t>(count));
    std::int32_t k = 0;
    for (std::int32_t i = 0; i < shadeColumns_; ++i) {
        for (std::int32_t j = 0; j < shadeRows_; ++j, ++k) {
            const auto row = static_cast<std::size_t>(j);
            std::int32_t saturation = 0;
            std::int32_t luminance = 0;
            std::string name;
            if (chromatic) {
                saturation = set->Saturations[static_cast<std::size_t>(i)];
                luminance = set->Tones[row].Luminance;
                name = joined(set->Tones[row].Prefix, baseCell_.Name);
            } else if (k < count - 1) {
                luminance = set->Greys[row].Luminance - i * set->GreyStep;
                name = set->Greys[row].Name;
            } else {
                // The darkest corner of a grey base is plain black rather than
                // the last step of the row's grey.
                name = "BLACK";
            }
            ColorCell cell =
                generated(baseCell_.Hue, saturation, luminance, chromatic, false, std::move(name));
            place(cell, k, shadeRows_, left0, cellSize_, gap_);
            shadeGrid_.push_back(std::move(cell));
        }
    }
}

ColorCell PaletteModel::NearestBaseCell(std::uint32_t color) const {
    const Hls hls = RgbToHls(color);
    const bool chromatic = hls.Saturation != 0;
    std::int64_t best = 240;
    const ColorCell* result = nullptr;
    // The hue circle is deliberately not wrapped: hue 235 goes to MAGENTA (200)
    // rather than RED (0) in a layout without CRIMSON.
    for (const ColorCell& cell : *mainGrid_) {
        if ((cell.IsChromatic != 0) != chromatic)
            continue;
        const std::int64_t d = chromatic ? apart(cell.Hue, hls.Hue) : apart(cell.Luminance, hls.Luminance);
        if (d < best) {
            best = d;
            result = &cell;
        }
    }
    return result ? *result : ColorCell{};
}

ColorCell PaletteModel::FindCell(std::uint32_t color) const {
    const Hls hls = RgbToHls(color);
    std::int64_t best = 720;
    const ColorCell* result = nullptr;
    auto scan = [&](const std::vector<ColorCell>& grid) {
        for (const ColorCell& cell : grid) {
            const std::int64_t d = apart(cell.Hue, hls.Hue) + apart(cell.Luminance, hls.Luminance) +
                                   apart(cell.Saturation, hls.Saturation);
            if (d < best) {
                best = d;
                result = &cell;
            }
        }
    };
    scan(*mainGrid_);
    // The shade grid is searched as it stands, so when it holds only the empty
    // cell a colour near black finds "no cell" rather than a distant WHITE.
    if (best > 0 && hasShades_)
        scan(shadeGrid_);
    return result ? *result : ColorCell{};
}

void PaletteModel::RebuildPalette() {
    BuildMainGrid();
    if (hasShades_) {
        baseCell_ = NearestBaseCell(selectedCell_.Color);
        BuildShadeGrid();
    }
    if (sizePanel_)
        sizePanel_(*this);
    selectedCell_ = FindCell(selectedCell_.Color);
    activeCell_.IsValid = ColorCell::kFalse;
}

} // namespace korva
