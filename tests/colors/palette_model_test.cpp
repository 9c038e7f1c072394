#include "colors/palette_model_p.h"

#include "colors/hls_p.h"
#include "colors/panel_geometry_p.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace korva {
namespace {

PaletteModel built(std::int32_t layout, std::uint32_t chosen = 0x00FFFFFF) {
    PaletteModel m;
    m.SetSelectedColor(chosen);
    EXPECT_TRUE(m.SetPalette(layout));
    return m;
}

// The panel's size (twips, at 15 twips per pixel) is worked by hand from the
// cell pitch, the grid shape and the fixed margins.
TEST(PaletteLayouts, ShapeGeometryPlacementAndPanelSize) {
    struct Row {
        enZAVINPalette value;
        std::int32_t columns, rows, cellSize, gap, shadeColumns, shadeRows;
        float panelW, panelH;
    };
    // clang-format off
    const Row rows[] = {
        {AP8X2, 8, 2, 14, 7, 0, 0, 2647, 1337},    {AP9X3, 9, 3, 14, 7, 0, 0, 2962, 1652},
        {AP8X8, 8, 8, 13, 7, 0, 0, 2527, 3107},    {AP16X8, 16, 8, 12, 5, 0, 0, 4237, 2777},
        {AP24X8, 24, 8, 12, 5, 0, 0, 6277, 2777},  {AP24X10, 24, 10, 9, 7, 0, 0, 5887, 3107},
        {AP8X4X4, 2, 4, 12, 3, 4, 4, 1560, 1135},  {AP8X8X6, 1, 8, 11, 2, 6, 8, 1575, 1810},
        {AP12X6X6, 2, 6, 11, 2, 6, 6, 1770, 1420}, {AP16X8X6, 2, 8, 11, 2, 6, 8, 1770, 1810},
        {AP24X8X6, 3, 8, 10, 2, 6, 8, 1830, 1690}, {AP32X8X6, 4, 8, 10, 2, 6, 8, 2010, 1690}};
    // clang-format on
    for (const Row& r : rows) {
        const PaletteModel m = built(r.value);
        SCOPED_TRACE(m.Layout().Name);
        EXPECT_EQ(m.Columns(), r.columns);
        EXPECT_EQ(m.Rows(), r.rows);
        EXPECT_EQ(m.CellSize(), r.cellSize);
        EXPECT_EQ(m.Gap(), r.gap);
        EXPECT_EQ(m.HasShades(), r.value >= AP8X4X4);
        EXPECT_EQ(m.ShadeColumns(), r.shadeColumns);
        EXPECT_EQ(m.ShadeRows(), r.shadeRows);
        const PanelSize size = SizePanelFor(m, 15, 15);
        EXPECT_FLOAT_EQ(size.Width, r.panelW);
        EXPECT_FLOAT_EQ(size.Height, r.panelH);
        // Only the layouts without shades move the separator and the custom row.
        EXPECT_EQ(size.MovedRows.has_value(), r.value < AP8X4X4);
        ASSERT_EQ(m.MainGrid().size(), static_cast<std::size_t>(r.columns * r.rows));
        const std::int32_t pitch = r.cellSize + r.gap;
        for (std::int32_t k = 0; k < r.columns * r.rows; ++k) {
            const ColorCell& c = m.MainGrid()[static_cast<std::size_t>(k)];
            EXPECT_EQ(c.Left, 6 + (k / r.rows) * pitch) << c.Name;
            EXPECT_EQ(c.Top, 6 + (k % r.rows) * pitch) << c.Name;
            EXPECT_TRUE(c.Right == c.Left + r.cellSize && c.Bottom == c.Top + r.cellSize) << c.Name;
            EXPECT_TRUE(c.Contains(c.Left, c.Bottom - 1) && !c.Contains(c.Right, c.Top) &&
                        !c.Contains(c.Left, c.Bottom));
            EXPECT_TRUE(c.IsMain && c.IsValid);
            EXPECT_FALSE(c.Name.empty() || c.Name.front() == ' ' || c.Name.back() == ' ' ||
                         c.Name.find("  ") != std::string::npos)
                << '"' << c.Name << '"';
            // Every cell's own colour leads back to it, so a chosen palette
            // colour is never shown as some other cell.
            EXPECT_EQ(m.FindCell(c.Color).Name, c.Name);
        }
    }
}

TEST(PaletteLayouts, NamedCheckValues) {
    struct Row {
        enZAVINPalette layout;
        const char* name;
        Hls hls;
        std::uint32_t color;
    };
    // clang-format off
    const Row rows[] = {
        {AP9X3, "RED", {0, 240, 120}, 0x000000FF},           {AP9X3, "DARK RED", {0, 240, 60}, 0x00000080},
        {AP9X3, "LIGHT ORANGE", {20, 240, 180}, 0x0080C0FF}, {AP9X3, "DARK ORANGE", {20, 240, 60}, 0x00004080},
        {AP8X8, "PASTEL RED", {0, 240, 225}, 0x00E0E0FF},    {AP8X8, "EARTH BLUE", {160, 240, 40}, 0x00550000},
        {AP24X8, "DUSKY COPPER", {12, 240, 105}, 0x000043E0}, {AP24X10, "SOFT LIME", {60, 240, 150}, 0x0040FFA0},
        {AP24X10, "CLOUDY TEAL", {130, 240, 75}, 0x00A07700}, {AP32X8X6, "AMETHYST", {185, 240, 120}, 0x00FF00A0},
        {AP9X3, "GRAY", {0, 0, 120}, 0x00808080},            {AP9X3, "CHROME", {0, 0, 180}, 0x00C0C0C0},
        {AP24X10, "EBONY", {0, 0, 80}, 0x00555555},          {AP32X8X6, "WHITE", {0, 0, 240}, 0x00FFFFFF}};
    // clang-format on
    for (const Row& r : rows) {
        const PaletteModel m = built(r.layout);
        const auto c = std::ranges::find(m.MainGrid(), std::string(r.name), &ColorCell::Name);
        ASSERT_NE(c, m.MainGrid().end()) << r.name;
        EXPECT_EQ((Hls{c->Hue, c->Saturation, c->Luminance}), r.hls) << r.name;
        EXPECT_EQ(c->Color, r.color) << r.name;
    }
}

TEST(ShadeGrid, ChromaticBaseRepeatsNamesAcrossSaturations) {
    const PaletteModel m = built(AP8X4X4, 0x000000FF); // red
    EXPECT_EQ(m.BaseCell().Name, "RED");
    ASSERT_EQ(m.ShadeGrid().size(), 16u);
    const char* names[] = {"BARLEY RED", "LIGHT RED", "RED", "DARK RED"};
    const std::int32_t saturations[] = {240, 180, 120, 60};
    const std::int32_t x0 = 2 * 15 + 8 + 3;
    for (std::int32_t k = 0; k < 16; ++k) {
        const ColorCell& c = m.ShadeGrid()[static_cast<std::size_t>(k)];
        EXPECT_EQ(c.Name, names[k % 4]);
        EXPECT_EQ(c.Saturation, saturations[k / 4]);
        EXPECT_EQ(c.Left, x0 + (k / 4) * 15);
        EXPECT_EQ(c.Top, 6 + (k % 4) * 15);
        EXPECT_TRUE(c.IsValid && c.IsChromatic && !c.IsMain);
    }
    // Column 1, BARLEY: M2 = 232.5 rounds to the even 232.
    EXPECT_EQ(m.ShadeGrid()[4].Color, 0x00C9C9F7u);
}

TEST(ShadeGrid, GreyBaseDarkensToTheRightAndEndsInBlack) {
    struct Row {
        enZAVINPalette layout;
        std::size_t count;
        std::int32_t rows, step;
    };
    for (const Row r : {Row{AP8X4X4, 16, 4, 15}, Row{AP12X6X6, 36, 6, 6}, Row{AP8X8X6, 48, 8, 5}}) {
        const PaletteModel m = built(r.layout, 0x00808080);
        ASSERT_EQ(m.BaseCell().Name, "WHITE");
        const auto& grid = m.ShadeGrid();
        ASSERT_EQ(grid.size(), r.count);
        for (std::size_t k = 0; k + 1 < grid.size(); ++k) {
            const ColorCell& first = grid[k % static_cast<std::size_t>(r.rows)];
            EXPECT_EQ(grid[k].Name, first.Name);
            EXPECT_EQ(grid[k].Luminance, first.Luminance - static_cast<std::int32_t>(k) / r.rows * r.step);
            EXPECT_EQ(grid[k].Saturation, 0);
        }
        EXPECT_EQ(grid.back().Name, "BLACK");
        EXPECT_EQ(grid.back().Color, 0u);
    }
    const PaletteModel s8 = built(AP32X8X6, 0x00404040);
    EXPECT_EQ(s8.ShadeGrid()[46].Name, "CHARCOAL");
    EXPECT_EQ(s8.ShadeGrid()[46].Luminance, 60 - 5 * 5);
    EXPECT_EQ(s8.ShadeGrid()[7].Name, "EARTH");
}

TEST(ShadeGrid, NoBaseLeavesTheSingleEmptyCell) {
    PaletteModel m = built(AP24X8X6, 0x00000000); // black: WHITE is 240 away, not nearer
    EXPECT_FALSE(m.BaseCell().IsValid);
    ASSERT_EQ(m.ShadeGrid().size(), 1u);
    EXPECT_EQ(m.ShadeGrid()[0], ColorCell{});
    EXPECT_EQ(m.ShadeColumns(), 6); // the panel keeps room for the shades
    // Searched as it stands, the empty shade cell beats every main cell.
    EXPECT_EQ(m.SelectedCell(), ColorCell{});

    PaletteModel flat = built(AP24X8, 0x000000FF);
    flat.SetBaseCell(flat.MainGrid()[0]);
    flat.BuildShadeGrid(); // a layout without shades has no set to build from
    EXPECT_EQ(flat.ShadeGrid().size(), 1u);
}

TEST(Lookups, NearestBaseCell) {
    struct Row {
        const char* what;
        enZAVINPalette layout;
        std::uint32_t color;
        const char* expected; // "" for the empty cell
    };
    const Row rows[] = {
        {"hue 235 without CRIMSON: plain difference", AP8X4X4, HlsToRgb(235, 240, 120), "MAGENTA"},
        {"hue 235 with CRIMSON", AP24X8X6, HlsToRgb(235, 240, 120), "CRIMSON"},
        {"hue 10 ties: earlier cell", AP8X4X4, HlsToRgb(10, 240, 120), "RED"},
        {"dark hue still picks by hue", AP32X8X6, HlsToRgb(185, 240, 40), "AMETHYST"},
        {"grey 150 ties GRAY and CHROME: earlier cell", AP8X2, HlsToRgb(0, 0, 150), "GRAY"},
        {"black in a shade layout", AP12X6X6, 0x00000000, ""},
        {"near-black grey", AP12X6X6, 0x00010101, "WHITE"}};
    for (const Row& r : rows) {
        const PaletteModel m = built(r.layout);
        const ColorCell c = m.NearestBaseCell(r.color);
        EXPECT_EQ(c.Name, r.expected) << r.what;
        EXPECT_EQ(c.IsValid != 0, *r.expected != '\0') << r.what;
    }
    EXPECT_EQ(PaletteModel{}.NearestBaseCell(0x000000FF), ColorCell{}); // nothing built yet
}

TEST(Lookups, FindCellPrefersMainGridThenShades) {
    const PaletteModel ap8x2 = built(AP8X2);
    EXPECT_EQ(ap8x2.FindCell(0x00FFFFFF).Name, "WHITE"); // distance 1: 239 against 240
    EXPECT_EQ(ap8x2.FindCell(0x00000081).Name, "DARK RED");

    const PaletteModel shades = built(AP8X4X4, 0x000000FF);
    const ColorCell exact = shades.FindCell(0x000000FF);
    EXPECT_EQ(exact.Name, "RED");
    EXPECT_TRUE(exact.IsMain); // the identical shade cell is never reached
    const ColorCell dark = shades.FindCell(0x00000080);
    EXPECT_EQ(dark.Name, "DARK RED");
    EXPECT_FALSE(dark.IsMain);

    EXPECT_EQ(PaletteModel{}.FindCell(0x000000FF), ColorCell{});
}

TEST(PaletteModel, RefusesOutOfRangePalette) {
    PaletteModel m = built(AP8X8X6, 0x000000FF);
    const auto grid = m.MainGrid();
    const ColorCell selected = m.SelectedCell();
    for (std::int32_t bad : {-1, 12, 1000, INT32_MIN}) {
        EXPECT_FALSE(m.SetPalette(bad));
        EXPECT_FALSE(m.SetPaletteValue(bad));
        EXPECT_EQ(m.Palette(), AP8X8X6);
        EXPECT_EQ(m.MainGrid(), grid);
        EXPECT_EQ(m.SelectedCell(), selected);
    }
    EXPECT_TRUE(m.SetPalette(AP24X10));
    EXPECT_EQ(m.ShadeGrid(), std::vector<ColorCell>(1)); // shades of the old layout dropped
}

TEST(PaletteModel, RebuildSizesPanelThenReselects) {
    PaletteModel m;
    int calls = 0;
    m.SetSizePanelHook([&](const PaletteModel& seen) {
        ++calls;
        EXPECT_EQ(seen.MainGrid().size(), 32u); // grids built first
        EXPECT_EQ(seen.ShadeGrid().size(), 48u);
        EXPECT_EQ(seen.SelectedCell().Name, ""); // lookup not run yet
    });
    m.SetSelectedColor(0x00000080);
    m.SetActiveCell(ColorCell{.Name = "KEPT", .IsValid = ColorCell::kTrue});
    ASSERT_TRUE(m.SetPalette(AP32X8X6));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(m.BaseCell().Name, "RED");
    EXPECT_EQ(m.SelectedCell().Name, "DARK RED");
    EXPECT_FALSE(m.ActiveCell().IsValid);
    EXPECT_EQ(m.ActiveCell().Name, "KEPT");
}

} // namespace
} // namespace korva
