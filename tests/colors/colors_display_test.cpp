// The Colors panel on high-density screens and under a dark palette. The
// binary runs once per scale factor (see CMakeLists.txt): cells and their
// outlines must land on whole device pixels with nothing blended between
// them, and under a dark palette the outlines must still stand out.
#include "colors/colors.h"
#include "colors/palette_model_p.h"
#include "frame/colour/colour_p.h"
#include "support/display.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace korva;
using korva::test::devicePixel;

namespace {

QRgb rgbOf(uint32_t ole) { return qRgb(ole & 0xFF, (ole >> 8) & 0xFF, (ole >> 16) & 0xFF); }

struct OpenPanel {
    std::unique_ptr<Colors> colors = Colors::createNew();
    QImage shot;
    explicit OpenPanel(int32_t layout) {
        colors->setPalette(layout);
        colors->ShowPopUp();
        shot = colors->popupWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        colors->HidePopUp();
    }
};

// Every device pixel of the panel is a colour the panel paints: a cell's
// colour, an outline, the background or the separator's etching. Scaling a
// 1x picture smoothly would add blends of neighbours.
TEST(ColorsHighDpi, CellsAndOutlinesAreCrispAtDeviceResolution) {
    const double f = test::scaleFactor();
    for (const int32_t layout : {int32_t{AP8X2}, int32_t{AP16X8X6}}) {
        SCOPED_TRACE(layout);
        OpenPanel p(layout);
        const QSize logical = p.colors->popupWidget()->size();
        EXPECT_EQ(p.shot.width(), static_cast<int>(std::lround(logical.width() * f)));

        std::set<QRgb> painted;
        const PaletteModel& m = p.colors->paletteModel();
        for (const auto* grid : {&m.MainGrid(), &m.ShadeGrid()})
            for (const ColorCell& c : *grid)
                painted.insert(rgbOf(c.Color));
        const std::set<uint32_t> system = {0x8000000Fu, 0x80000010u, 0x80000014u,
                                           static_cast<uint32_t>(BlendColor(0x8000000F, 0x80000010, 150))};
        for (const uint32_t s : system)
            painted.insert(rgbOf(static_cast<uint32_t>(TranslateColor(s))));
        int stray = 0;
        for (int y = 0; y < p.shot.height(); ++y)
            for (int x = 0; x < p.shot.width(); ++x)
                stray += painted.count(p.shot.pixel(x, y) | 0xFF000000u) ? 0 : 1;
        // The "More colors" caption is text and is anti-aliased: allow its ink.
        EXPECT_LT(stray, p.shot.width() * p.shot.height() / 40) << "blended pixels between cells";

        // A main cell's outline sits one pixel outside it, in its own colour.
        const ColorCell& first = m.MainGrid().front();
        const QRgb outline = rgbOf(static_cast<uint32_t>(BlendColor(0x8000000F, 0x80000010, 150)));
        const int cy = devicePixel((first.Top + first.Bottom) / 2, f);
        EXPECT_EQ(p.shot.pixel(devicePixel(first.Left - 1, f), cy) | 0xFF000000u, outline | 0xFF000000u);
        EXPECT_EQ(p.shot.pixel(devicePixel(first.Left + 1, f), cy) | 0xFF000000u,
                  rgbOf(first.Color) | 0xFF000000u);
    }
}

// Under a dark palette the panel's background and outlines follow the
// palette's button colours, and the outlines stay visible against both the
// background and dark cells.
TEST(ColorsDarkPalette, PanelOutlinesStandOut) {
    test::DarkPalette dark({{QPalette::Dark, QColor(10, 10, 10)}});
    OpenPanel p(AP24X8);
    const QRgb face = rgbOf(static_cast<uint32_t>(TranslateColor(0x8000000Fu)));
    const QRgb outline = rgbOf(static_cast<uint32_t>(BlendColor(0x8000000F, 0x80000010, 150)));
    dark.restore();

    EXPECT_EQ(face, qRgb(45, 45, 45));
    const double f = test::scaleFactor();
    const ColorCell& first = p.colors->paletteModel().MainGrid().front();
    const int cy = devicePixel((first.Top + first.Bottom) / 2, f);
    const QRgb shownOutline = p.shot.pixel(devicePixel(first.Left - 1, f), cy);
    const QRgb shownFace = p.shot.pixel(devicePixel(first.Left - 3, f), cy);
    EXPECT_EQ(shownOutline | 0xFF000000u, outline | 0xFF000000u);
    EXPECT_EQ(shownFace | 0xFF000000u, face | 0xFF000000u);
    EXPECT_GT(std::abs(qGray(shownOutline) - qGray(shownFace)), 12) << "outline lost in the background";
}

} // namespace
