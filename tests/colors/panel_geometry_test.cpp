// The drop-down's geometry without windows: where its rows sit, where it opens
// near every screen edge, and what lies under a point (sizes per layout are
// checked with the rest of each layout's shape).
#include "colors/panel_geometry_p.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace korva {
namespace {

PaletteModel built(std::int32_t layout, std::uint32_t chosen = 0x000000FF) {
    PaletteModel m;
    m.SetSelectedColor(chosen);
    EXPECT_TRUE(m.SetPalette(layout));
    return m;
}

TEST(PanelGeometry, SeparatorAndCustomRowFollowThePanelBottom) {
    const PanelSize s = SizePanelFor(built(AP8X2), 15, 15);
    ASSERT_TRUE(s.MovedRows);
    const float wpx = 2647.0f / 15, hpx = 1337.0f / 15;
    EXPECT_FLOAT_EQ(s.MovedRows->SepTop, hpx - 10 - 25);
    EXPECT_FLOAT_EQ(s.MovedRows->CustomTop, hpx - 15 - 10);
    EXPECT_FLOAT_EQ(s.MovedRows->CustomLeft, (wpx - 80) * 0.5f);
    EXPECT_FLOAT_EQ(s.MovedRows->SepLeft, 4);
    EXPECT_FLOAT_EQ(s.MovedRows->SepWidth, wpx - 8);
    // 12 twips per pixel (120 dpi): the fixed 52 and 632 twips stay as they are.
    const PanelSize s12 = SizePanelFor(built(AP8X2), 12, 12);
    EXPECT_FLOAT_EQ(s12.Width, 12 * 173 + 52);
    EXPECT_FLOAT_EQ(s12.Height, 12 * 47 + 632);
}

// Mostly the AP24X8 panel (6277 x 2777 twips, 418.5 x 185.1 pixels) from a
// 75 x 23 pixel control on a 1024 x 768 pixel screen at 15 twips per pixel.
TEST(PanelGeometry, PlacementNearEveryScreenEdge) {
    struct Row {
        const char* where;
        ScreenRectPx control;
        float screenW, screenH; // pixels
        bool positionDefault;
        float left, top;
        float panelW = 6277, panelH = 2777, controlW = 1125; // twips
    };
    const Row rows[] = {
        // Room below: under the control, right edges aligned (so it runs off the left).
        {"middle", {100, 100, 175, 123}, 1024, 768, true, 1500 + 1125 - 6277, 123 * 15 + 15},
        {"middle, left edges", {100, 100, 175, 123}, 1024, 768, false, 1500, 123 * 15 + 15},
        // No room below: above the control.
        {"bottom edge", {500, 700, 575, 723}, 1024, 768, true, 7500 + 1125 - 6277, 700 * 15 - 2777 + 15},
        // The right-aligned panel would leave the screen: pulled back to its right edge.
        {"right edge", {1000, 100, 1075, 123}, 1024, 768, true, 15360 - 6277, 1860},
        {"right edge, left edges", {1000, 100, 1075, 123}, 1024, 768, false, 15360 - 1125, 1860},
        // Left and top edges: not moved back.
        {"left edge", {0, 300, 75, 323}, 1024, 768, true, 1125 - 6277, 323 * 15 + 15},
        {"top edge", {400, 0, 475, 23}, 1024, 768, true, 6000 + 1125 - 6277, 23 * 15 + 15},
        // A screen smaller than the panel: above, off the top.
        {"tiny screen", {0, 0, 75, 23}, 300, 150, true, 1125 - 6277, -2777 + 15},
        // The AP8X2 panel under a 500-pixel control, and with its right part beyond the screen.
        {"wide control", {100, 100, 600, 123}, 1024, 768, true, 600 * 15 - 2647, 1860, 2647, 1337, 7500},
        {"wide, right edge", {800, 100, 1300, 123}, 1024, 768, true, 15360 - 2647, 1860, 2647, 1337, 7500},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.where);
        const PopupPlace p = PlacePopup(r.control, r.panelW, r.panelH, r.screenW * 15, r.screenH * 15,
                                        r.controlW, 15, 15, r.positionDefault);
        EXPECT_FLOAT_EQ(p.Left, r.left);
        EXPECT_FLOAT_EQ(p.Top, r.top);
    }
}

TEST(PanelGeometry, HitTestFindsCellsNotGapsAndNothingOutside) {
    struct Row {
        double x, y;
        const char* name; // "" for no cell
        enZAVINPalette layout = AP8X2;
        std::uint32_t chosen = 0x000000FF;
        std::int32_t clientW = 176, clientH = 89;
    };
    // 18.5 rounds to 18, inside RED; 19.5 rounds to 20, the gap after it. Shades
    // start at 2 x 15 + 8 + 3 = 41; black has no base cell, so no shades to hit.
    // clang-format off
    const Row rows[] = {
        {6, 6, "RED"},      {19, 19, "RED"}, {18.5, 6, "RED"}, {19.5, 6, ""}, {6, 27, "DARK RED"}, {27, 6, "YELLOW"},
        {5, 6, ""},         {153, 27, "BLACK"}, {-1, 6, ""},   {6, 200, ""},  {1e300, 6, ""},
        {std::numeric_limits<double>::quiet_NaN(), 6, ""},
        {10, 10, "", AP8X2, 0x000000FF, 8, 8}, // inside a cell, outside the client area
        {41, 6, "BARLEY RED", AP8X4X4, 0x000000FF, 104, 75}, {41, 6, "", AP8X4X4, 0, 104, 75}};
    // clang-format on
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.x << "," << r.y << " in " << r.layout);
        const ColorCell c = HitTestCell(built(r.layout, r.chosen), r.x, r.y, r.clientW, r.clientH);
        EXPECT_EQ(c.Name, r.name);
        EXPECT_EQ(c.IsValid != 0, r.name[0] != '\0');
        EXPECT_EQ(c.IsMain != 0, c.IsValid && r.layout == AP8X2);
    }
}

} // namespace
} // namespace korva
