// Shapes and lines, as they appear on the control's window.
#include "frame/elements/image_surface_p.h"
#include "frame/elements/line_element_p.h"
#include "frame/elements/shape_element_p.h"
#include "support/element_host.h"

#include <gtest/gtest.h>

using namespace korva;

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint32_t kRed = 0x000000FF;
constexpr uint32_t kGreen = 0x0000FF00;
constexpr uint32_t kBlue = 0x00FF0000;

class DrawnElementTest : public fixtures::ElementTest {
protected:
    DrawnElementTest() {
        host->site()->setScaleMode(ScaleMode::Pixels);
        host->site()->setBackColor(kWhite);
    }
    uint32_t at(const QImage& shot, int x, int y) { return colourOfPixel(shot.pixel(x, y)); }
    QImage shot() { return host->site()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // How many pixels of `shot` show `colour`.
    int count(const QImage& shot, uint32_t colour) {
        int n = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                n += at(shot, x, y) == colour;
        return n;
    }
};

TEST_F(DrawnElementTest, RectangleOutlineCoversTheOuterBorderWidthPixels) {
    auto* s = add<ShapeElement>("shpBOX");
    s->Move(10, 10, 12, 9);
    s->setBorderColor(kRed);
    s->setBorderWidth(2);
    s->setFillStyle(ShapeElement::FillSolid);
    s->setFillColor(kGreen);
    const QImage img = shot();
    for (int y = 8; y < 21; ++y)
        for (int x = 8; x < 24; ++x) {
            const bool inside = x >= 10 && x < 22 && y >= 10 && y < 19;
            const bool ring = inside && (x < 12 || x >= 20 || y < 12 || y >= 17);
            SCOPED_TRACE(testing::Message() << x << "," << y);
            EXPECT_EQ(at(img, x, y), !inside ? kWhite : ring ? kRed : kGreen);
        }
}

TEST_F(DrawnElementTest, BackAndFillStylesDecideWhatShowsThrough) {
    auto* s = add<ShapeElement>("shpBOX");
    s->Move(0, 0, 10, 10);
    s->setBackColor(kBlue);
    EXPECT_EQ(at(shot(), 5, 5), kWhite); // transparent back and fill: the site shows
    s->setBackStyle(ShapeElement::Opaque);
    EXPECT_EQ(at(shot(), 5, 5), kBlue);
    s->setBorderStyle(ShapeElement::BorderTransparent);
    EXPECT_EQ(at(shot(), 0, 0), kBlue);

    // Values out of range are refused.
    s->setBackStyle(2);
    s->setFillStyle(8);
    s->setBorderWidth(0);
    s->setShape(6);
    s->setFillColor(0x800000FF);
    EXPECT_EQ(s->backStyle(), ShapeElement::Opaque);
    EXPECT_EQ(s->fillStyle(), ShapeElement::FillTransparent);
    EXPECT_EQ(s->BorderWidth(), 1);
    EXPECT_EQ(s->shape(), ShapeElement::Rectangle);
    EXPECT_EQ(s->FillColor(), 0u);
}

TEST_F(DrawnElementTest, LineFollowsItsEndPointsWithTheEndPointLeftOut) {
    auto* l = add<LineElement>("linA");
    l->setBorderColor(kRed);
    l->setX1(20);
    l->setY1(30);
    l->setX2(5);
    l->setY2(24);
    const QImage img = shot();
    // (20,30) towards (5,24): 15 steps along X, rounded back towards the start on ties.
    EXPECT_EQ(count(img, kRed), 15);
    EXPECT_EQ(at(img, 20, 30), kRed);
    EXPECT_EQ(at(img, 5, 24), kWhite);
    l->setBorderWidth(3);
    EXPECT_GT(count(shot(), kRed), 15 * 2);

    l->setX2(1e30f); // cannot be mapped: refused
    EXPECT_EQ(l->X2(), 5.0f);
}

} // namespace
