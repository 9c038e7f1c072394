// Picture box: lines and points on the persistent layer in both scales,
// clearing, snapshots, resizing, the gradient painter, containment.
#include "blend/clsm_blend_p.h"
#include "frame/elements/image_surface_p.h"
#include "frame/elements/picturebox_element_p.h"
#include "frame/elements/shape_element_p.h"
#include "support/element_host.h"
#include "support/reference_line.h"

#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>

using namespace korva;

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kRed = 0x000000FF;
constexpr uint32_t kBlue = 0x00FF0000;

using PixelSet = std::set<std::pair<int, int>>;

// The reference line, clipped to w x h.
PixelSet expectedLine(int x0, int y0, int x1, int y1, int w, int h) {
    PixelSet out;
    for (const auto& [x, y] : fixtures::referenceLine(x0, y0, x1, y1))
        if (x >= 0 && x < w && y >= 0 && y < h)
            out.insert({x, y});
    return out;
}

class PictureBoxTest : public fixtures::ElementTest {
protected:
    PictureBoxTest() {
        box->setScaleMode(ScaleMode::Pixels);
        box->Move(0, 0, 600, 450); // twips on the site: 40 x 30 pixels
        box->setBackColor(kWhite);
    }

    PixelSet pixelsOf(uint32_t colour) {
        const QImage layer = box->Image().image;
        PixelSet out;
        for (int y = 0; y < layer.height(); ++y)
            for (int x = 0; x < layer.width(); ++x)
                if (colourOfPixel(layer.pixel(x, y)) == colour)
                    out.insert({x, y});
        return out;
    }

    PictureBoxElement* box = add<PictureBoxElement>("picBOX");
};

TEST_F(PictureBoxTest, LinesMatchTheirClosedFormWithTheEndPointLeftOut) {
    const struct {
        const char* name;
        int x0, y0, x1, y1;
    } cases[] = {
        {"horizontal", 2, 3, 12, 3},
        {"vertical", 5, 1, 5, 20},
        {"diagonal", 0, 0, 10, 10},
        {"shallow", 1, 2, 30, 9},
        {"steep", 3, 1, 8, 28},
        {"backwards", 30, 20, 4, 6},
        {"tie at half", 0, 0, 4, 2},
        {"single step", 7, 7, 8, 7},
        {"zero length", 9, 9, 9, 9},
        {"clipped left", -15, 4, 10, 9},
        {"clipped both ends", -5, -5, 50, 40},
        {"entirely outside", -20, 5, -2, 25},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        box->Cls();
        box->Line(static_cast<float>(c.x0), static_cast<float>(c.y0), static_cast<float>(c.x1),
                  static_cast<float>(c.y1), kRed);
        EXPECT_EQ(pixelsOf(kRed), expectedLine(c.x0, c.y0, c.x1, c.y1, 40, 30));
        EXPECT_EQ(box->CurrentX(), static_cast<float>(c.x1));
    }
}

TEST_F(PictureBoxTest, TwipsScaleMapsToPixelsAndBack) {
    box->setScaleMode(ScaleMode::Twips);
    EXPECT_EQ(std::tuple(box->ScaleWidth(), box->ScaleHeight()), std::tuple(600.0f, 450.0f));
    box->Line(30, 45, 152.5f, 45, kRed); // (2,3) to (10.17 -> 10, 3)
    EXPECT_EQ(pixelsOf(kRed), expectedLine(2, 3, 10, 3, 40, 30));
    EXPECT_EQ(box->Point(135, 45), static_cast<int32_t>(kRed));   // pixel 9
    EXPECT_EQ(box->Point(150, 45), static_cast<int32_t>(kWhite)); // the end point
}

TEST_F(PictureBoxTest, PointsAndRefusedArguments) {
    box->PSet(4, 5, kBlue);
    EXPECT_EQ(box->Point(4, 5), static_cast<int32_t>(kBlue));
    for (const auto& [x, y] : {std::pair(-1.0f, 5.0f), {40.0f, 5.0f}, {std::nanf(""), 0.0f}})
        EXPECT_EQ(box->Point(x, y), -1) << x << "," << y;
    box->PSet(400, 5, kBlue); // outside: nothing, no failure

    // Without a colour the fore colour draws; an untranslatable colour draws
    // nothing and is refused as the fore colour.
    box->setForeColor(kBlue);
    box->setForeColor(0x800000FF);
    EXPECT_EQ(box->ForeColor(), kBlue);
    box->Line(0, 10, 5, 10);
    box->Line(0, 12, 5, 12, 0x800000FF);
    box->Line(0, 14, 1e30f, 14, kRed); // far beyond the device range
    EXPECT_EQ(pixelsOf(kBlue).size(), 6u);
    EXPECT_TRUE(pixelsOf(kRed).empty());
    box->setBackColor(0x800000FF);
    EXPECT_EQ(box->BackColor(), kWhite);
}

TEST_F(PictureBoxTest, SnapshotStaysWhileTheLayerChanges) {
    box->Line(0, 0, 10, 0, kRed);
    const Picture snap = box->Image();
    ASSERT_EQ(snap.image.size(), QSize(40, 30));
    box->Line(0, 1, 10, 1, kBlue);
    box->Cls();
    EXPECT_EQ(colourOfPixel(snap.image.pixel(3, 0)), kRed);
    EXPECT_EQ(colourOfPixel(snap.image.pixel(3, 1)), kWhite);
    EXPECT_EQ(box->Point(3, 0), static_cast<int32_t>(kWhite));
}

TEST_F(PictureBoxTest, ResizingKeepsTheOverlapAndFillsTheRest) {
    box->Line(0, 29, 40, 29, kRed);
    box->Move(0, 0, 900, 600); // 60 x 40 pixels
    EXPECT_EQ(box->Point(39, 29), static_cast<int32_t>(kRed));
    EXPECT_EQ(box->Point(50, 35), static_cast<int32_t>(kWhite));
    EXPECT_EQ(box->Image().image.size(), QSize(60, 40));
    box->Move(0, 0, 300, 600); // narrower: what is left of the line stays
    EXPECT_EQ(box->Point(19, 29), static_cast<int32_t>(kRed));
    EXPECT_EQ(box->Point(20, 29), -1);
}

TEST_F(PictureBoxTest, BackColourAndPictureClearTheLayer) {
    box->Line(0, 0, 10, 0, kRed);
    box->setBackColor(kWhite); // even the same colour erases the drawing
    EXPECT_TRUE(pixelsOf(kRed).empty());

    QImage blue(4, 4, QImage::Format_RGB32);
    blue.fill(pixelOfColour(kBlue));
    box->setPicture(Picture{blue});
    box->Line(0, 10, 10, 10, kRed);
    EXPECT_EQ(box->Point(3, 3), static_cast<int32_t>(kBlue));
    EXPECT_EQ(box->Point(4, 4), static_cast<int32_t>(kWhite));
    box->setCurrentX(7);
    box->Cls();
    EXPECT_EQ(box->Point(3, 3), static_cast<int32_t>(kBlue)); // the picture is background
    EXPECT_TRUE(pixelsOf(kRed).empty());
    EXPECT_EQ(box->CurrentX(), 0.0f);
}

// A box nothing has drawn into keeps no layer; its window shows the same
// pixels as the layer it stands for, a half-transparent picture included.
TEST_F(PictureBoxTest, AnUndrawnBoxShowsWhatItsLayerWouldHold) {
    QImage picture(10, 6, QImage::Format_ARGB32);
    picture.fill(QColor(0, 0, 255, 128));
    for (const bool withPicture : {false, true}) {
        SCOPED_TRACE(withPicture ? "picture" : "colour");
        box->setBackColor(0x000080FF);
        if (withPicture)
            box->setPicture(Picture{picture});
        box->widget()->show();
        const QImage shown = box->widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage layer = box->Image().image; // makes the layer
        EXPECT_EQ(shown, layer.convertToFormat(QImage::Format_RGB32));
        EXPECT_EQ(box->widget()->grab().toImage().convertToFormat(QImage::Format_RGB32), shown);
        box->setPicture(Picture{});
    }
}

TEST_F(PictureBoxTest, PrintWritesInTheForeColourAndMovesDown) {
    box->setForeColor(kRed);
    box->Print(QStringLiteral("WW"));
    EXPECT_FALSE(pixelsOf(kRed).empty());
    EXPECT_EQ(box->CurrentY(), box->TextHeight(QStringLiteral("WW")));
    EXPECT_GT(box->TextWidth(QStringLiteral("WWWW")), box->TextWidth(QStringLiteral("W")));
}

// The gradient painter writes the backing image directly; what it leaves must
// equal the same gradient on a plain image surface, and the window must show it.
TEST_F(PictureBoxTest, GradientPainterLandsInTheLayerAndTheWindow) {
    clsm_BLEND blend;
    blend.setAngle(30);
    ASSERT_TRUE(blend.Draw(*box));
    ImageSurface reference(40, 30);
    ASSERT_TRUE(blend.Draw(reference));
    EXPECT_EQ(box->Image().image, reference.image());
    EXPECT_EQ(box->widget()->grab().toImage().convertToFormat(QImage::Format_RGB32), reference.image());
}

TEST_F(PictureBoxTest, ContainedElementsUseTheBoxScale) {
    auto* shape = add<ShapeElement>("shpIN");
    shape->setContainer(box);
    shape->Move(10, 5, 8, 4); // the box's pixels, not the site's twips
    EXPECT_EQ(std::tuple(shape->widget()->parentWidget(), shape->widget()->geometry()),
              std::tuple(box->widget(), QRect(10, 5, 8, 4)));
    box->setScaleMode(ScaleMode::Twips);
    EXPECT_EQ(shape->widget()->geometry(), QRect(1, 0, 1, 0)); // the same numbers read as twips
    box->setContainer(box);                                    // refused: a box cannot hold itself
    EXPECT_EQ(box->Container(), nullptr);

    // The box reports the mouse in its own scale.
    box->setScaleMode(ScaleMode::Pixels);
    std::pair<float, float> seen{-1, -1};
    box->handlers().onMouseDown = [&](int16_t, int16_t, float x, float y) { seen = {x, y}; };
    QTest::mousePress(box->widget(), Qt::LeftButton, {}, QPoint(12, 7));
    EXPECT_EQ(seen, std::pair(12.0f, 7.0f));
}

// A box nothing shows yet has no window, and neither has what lies in it;
// its size, drawing and contents are all there once it shows.
TEST_F(PictureBoxTest, AHiddenBoxAndItsContentsGetWindowsWhenItShows) {
    host->site()->resize(200, 200);
    const auto windows = [&] { return host->site()->findChildren<QWidget*>().size(); };
    const auto before = windows();
    auto* hidden = add<PictureBoxElement>("picHIDDEN");
    hidden->setVisible(false);
    hidden->setScaleMode(ScaleMode::Pixels);
    hidden->Move(0, 0, 300, 300); // 20 x 20 pixels
    hidden->setBackColor(kWhite);
    auto* shape = add<ShapeElement>("shpIN");
    shape->setContainer(hidden);
    shape->Move(2, 2, 5, 5);
    hidden->Line(0, 0, 10, 0, kRed);
    EXPECT_EQ(hidden->ScaleWidth(), 20.0f);
    EXPECT_EQ(hidden->Point(3, 0), static_cast<int32_t>(kRed));
    EXPECT_EQ(windows(), before);

    hidden->setVisible(true);
    // The box gets a window; the shape lying in it is drawn by it.
    EXPECT_EQ(windows(), before + 1);
    EXPECT_EQ(std::tuple(shape->isDrawn(), shape->paintingWindow(), shape->paintedRect()),
              std::tuple(true, hidden->widget(), QRect(2, 2, 5, 5)));
    EXPECT_EQ(colourOfPixel(hidden->widget()->grab().toImage().pixel(3, 0)), kRed);

    // A drop-down made a tool window before it ever showed opens as one.
    auto* panel = add<PictureBoxElement>("picPANEL");
    panel->makeToolWindow();
    panel->Move(0, 0, 450, 450);
    EXPECT_EQ(windows(), before + 1);
    panel->setVisible(true);
    ASSERT_NE(panel->widget(), nullptr);
    EXPECT_EQ(
        std::tuple(panel->widget()->isWindow(), panel->widget()->windowType(), panel->widget()->isVisible()),
        std::tuple(true, Qt::Tool, true));
}

} // namespace
