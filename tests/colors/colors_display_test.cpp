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

// Opaque, as the RGB32 grab's pixels are.
QRgb rgbOf(uint32_t ole) { return qRgb(ole & 0xFF, (ole >> 8) & 0xFF, (ole >> 16) & 0xFF); }
QRgb systemRgb(uint32_t ole) { return rgbOf(static_cast<uint32_t>(TranslateColor(ole))); }
// A main cell's outline: the face and the shadow blended 150 : 105.
QRgb outlineRgb() { return rgbOf(static_cast<uint32_t>(BlendColor(0x8000000F, 0x80000010, 150))); }

struct OpenPanel {
    std::unique_ptr<Colors> colors = Colors::createNew();
    QImage shot;
    ColorCell first;
    int cy = 0; // the device row through the middle of the first cell
    explicit OpenPanel(int32_t layout) {
        colors->setPalette(layout);
        colors->ShowPopUp();
        shot = colors->popupWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        colors->HidePopUp();
        first = colors->paletteModel().MainGrid().front();
        cy = devicePixel((first.Top + first.Bottom) / 2, test::scaleFactor());
    }
    // The device pixel in the middle row, DX logical pixels right of the first cell's left edge.
    QRgb besideFirst(int dx) const {
        return shot.pixel(devicePixel(first.Left + dx, test::scaleFactor()), cy);
    }
};

// Every device pixel of the panel is a colour the panel paints: a cell's
// colour, an outline, the background or the separator's etching. Scaling a
// 1x picture smoothly would add blends of neighbours.
TEST(ColorsHighDpi, CellsAndOutlinesAreCrispAtDeviceResolution) {
    for (const int32_t layout : {int32_t{AP8X2}, int32_t{AP16X8X6}}) {
        SCOPED_TRACE(layout);
        const OpenPanel p(layout);
        const QSize logical = p.colors->popupWidget()->size();
        EXPECT_EQ(p.shot.width(), static_cast<int>(std::lround(logical.width() * test::scaleFactor())));

        std::set<QRgb> painted{outlineRgb(), systemRgb(0x8000000F), systemRgb(0x80000010),
                               systemRgb(0x80000014)};
        const PaletteModel& m = p.colors->paletteModel();
        for (const auto* grid : {&m.MainGrid(), &m.ShadeGrid()})
            for (const ColorCell& c : *grid)
                painted.insert(rgbOf(c.Color));
        int stray = 0;
        for (int y = 0; y < p.shot.height(); ++y)
            for (int x = 0; x < p.shot.width(); ++x)
                stray += painted.count(p.shot.pixel(x, y)) ? 0 : 1;
        // The "More colors" caption is text and is anti-aliased: allow its ink.
        EXPECT_LT(stray, p.shot.width() * p.shot.height() / 40) << "blended pixels between cells";

        // A main cell's outline sits one pixel outside it.
        EXPECT_EQ(p.besideFirst(-1), outlineRgb());
        EXPECT_EQ(p.besideFirst(1), rgbOf(p.first.Color));
    }
}

// Under a dark palette the panel's background and outlines follow the
// palette's button colours, and the outlines stay visible against both the
// background and dark cells.
TEST(ColorsDarkPalette, PanelOutlinesStandOut) {
    test::DarkPalette dark({{QPalette::Dark, QColor(10, 10, 10)}});
    const OpenPanel p(AP24X8);
    const QRgb face = systemRgb(0x8000000Fu), outline = outlineRgb();
    dark.restore();

    EXPECT_EQ(face, qRgb(45, 45, 45));
    EXPECT_EQ(p.besideFirst(-1), outline);
    EXPECT_EQ(p.besideFirst(-3), face);
    EXPECT_GT(std::abs(qGray(outline) - qGray(face)), 12) << "outline lost in the background";
}

} // namespace
