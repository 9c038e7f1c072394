// Pane on high-density screens and under a dark palette. The test binary runs
// once per scale factor (QT_SCALE_FACTOR 1, 1.25, 1.5, 2, see CMakeLists.txt):
// twips, members and saved values must not move with the factor, while the
// drawing is made at device resolution rather than scaled up from 1x.
#include "frame/colour/colour_p.h"
#include "frame/elements/label_element_p.h"
#include "frame/platform/platform_p.h"
#include "frame/platform/system_colours.h"
#include "frame/runtime/site.h"
#include "frame/values/property_bag.h"
#include "pane/pane.h"
#include "pane/pane_pictures_p.h"
#include "support/contrast.h"

#include <QApplication>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace korva;

namespace {

// The factor this run was started with, checked against what Qt made of it.
double scaleFactor() {
    const double f =
        qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ? qgetenv("QT_SCALE_FACTOR").toDouble() : 1.0;
    EXPECT_DOUBLE_EQ(qApp->devicePixelRatio(), f);
    return f;
}

std::unique_ptr<Pane> openPane() {
    auto pane = Pane::createNew();
    pane->setTextCaption("Open");
    pane->site()->resizeTwips(3000, 800);
    return pane;
}

// Dark pixels (the black caption) in `img`: how many, and where their centre is.
struct Ink {
    int count = 0;
    QPointF centre;
};
Ink ink(const QImage& img) {
    Ink out;
    double sx = 0, sy = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 40) {
                ++out.count;
                sx += x;
                sy += y;
            }
    if (out.count)
        out.centre = {sx / out.count, sy / out.count};
    return out;
}

using korva::test::contrast;

TEST(PaneHighDpi, TwipsMembersAndSavedValuesDoNotDependOnTheScale) {
    EXPECT_DOUBLE_EQ(Platform::instance().twipsPerPixelX(),
                     1440.0 / qApp->primaryScreen()->logicalDotsPerInchX());
    auto pane = openPane();
    EXPECT_FLOAT_EQ(pane->site()->Width(), 3000);
    EXPECT_FLOAT_EQ(pane->site()->Height(), 800);
    const auto* caption = static_cast<const LabelElement*>(pane->element(u"lblTEST"));
    EXPECT_FLOAT_EQ(caption->Top(), 212.5f);
    EXPECT_FLOAT_EQ(caption->Width(), 3000);

    PropertyBag bag;
    pane->WriteProperties(bag);
    EXPECT_EQ(bag.ReadProperty("TextCaption", Value()), Value(QStringLiteral("Open")));
    EXPECT_EQ(bag.ReadProperty("Enabled", Value()), Value(true));
    EXPECT_EQ(bag.ReadProperty("Backcolor", Value()), Value(int32_t{0}));
}

TEST(PaneHighDpi, DrawsAtDeviceResolution) {
    auto pane = openPane();
    const double f = scaleFactor();
    const QSize logical = pane->site()->size();
    const QPixmap shot = pane->site()->grab();
    EXPECT_DOUBLE_EQ(shot.devicePixelRatio(), f);
    EXPECT_NEAR(shot.width(), logical.width() * f, 1.0);
    EXPECT_NEAR(shot.height(), logical.height() * f, 1.0);

    // The same pane drawn at 1x: the caption keeps its place and grows with
    // the factor in both directions.
    QImage plain(logical, QImage::Format_RGB32);
    plain.setDevicePixelRatio(1);
    pane->site()->render(&plain);
    const QImage device = shot.toImage().convertToFormat(QImage::Format_RGB32);
    const Ink at1 = ink(plain), atF = ink(device);
    ASSERT_GT(at1.count, 20);
    EXPECT_NEAR(atF.centre.x(), (at1.centre.x() + 0.5) * f - 0.5, 1.5 * f);
    EXPECT_NEAR(atF.centre.y(), (at1.centre.y() + 0.5) * f - 0.5, 1.5 * f);
    EXPECT_NEAR(atF.count, at1.count * f * f, at1.count * f * f * 0.5);

    if (f == 1.0) {
        EXPECT_EQ(device, plain) << "at 1x the grab is the plain rendering";
        return;
    }
    // Crisp: not the 1x rendering blown up. An upscaled bitmap would repeat
    // the 1x pixels; text and outlines drawn at device resolution do not.
    const QImage blownUp = plain.scaled(device.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    int differing = 0;
    for (int y = 0; y < device.height(); ++y)
        for (int x = 0; x < device.width(); ++x)
            differing += device.pixel(x, y) != blownUp.pixel(x, y);
    EXPECT_GT(differing, at1.count / 2);
}

// Pane paints with its own colours only: under a dark palette that system
// colours follow, it looks exactly as under the light one, and its black
// caption stays readable on the picture.
TEST(PaneDarkPalette, LooksTheSameAndTheCaptionIsReadable) {
    auto pane = openPane();
    const QImage light = pane->site()->grab().toImage();

    const QPalette saved = QApplication::palette();
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(20, 20, 20));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Button, QColor(45, 45, 45));
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    QApplication::setPalette(dark);
    setSystemColoursFollowQtPalette(true);
    EXPECT_TRUE(systemColoursFollowQtPalette());
    // System colours now come from the palette: button face is the dark button.
    EXPECT_EQ(TranslateColor(0x8000000Fu), int32_t{45 | 45 << 8 | 45 << 16});
    auto darkPane = openPane();
    const QImage shown = darkPane->site()->grab().toImage();
    setSystemColoursFollowQtPalette(false);
    QApplication::setPalette(saved);
    EXPECT_EQ(TranslateColor(0x8000000Fu), int32_t{212 | 208 << 8 | 200 << 16})
        << "back to the classic table";

    EXPECT_EQ(shown, light);

    const QImage img = shown.convertToFormat(QImage::Format_RGB32);
    const Ink caption = ink(img);
    ASSERT_GT(caption.count, 20);
    // The picture just left of the caption, on its middle row.
    int left = img.width();
    const int row = static_cast<int>(caption.centre.y());
    for (int x = 0; x < img.width(); ++x)
        if (qGray(img.pixel(x, row)) < 40) {
            left = x;
            break;
        }
    ASSERT_GT(left, 4);
    EXPECT_GT(contrast(img.pixel(left - 3, row), qRgb(0, 0, 0)), 4.5);
    // The bevel stands out from a dark form around the pane.
    EXPECT_GT(contrast(img.pixel(img.width() / 2, 0), dark.color(QPalette::Window).rgb()), 3.0);
}

} // namespace

namespace {

// The designs drawn at a larger size keep their proportions: twice the size
// gives twice the bevel and a finer gradient, where scaling the 90 x 50
// picture up would repeat its rows and add no colour.
TEST(PanePictures, DrawnAtAnySizeKeepTheDesign) {
    EXPECT_EQ(pane::normalPictureAt({90, 50}), pane::normalPicture());
    EXPECT_EQ(pane::highlightPictureAt({90, 50}), pane::highlightPicture());
    EXPECT_EQ(pane::pressedPictureAt({90, 50}), pane::pressedPicture());

    const QImage design = pane::normalPicture();
    const QImage twice = pane::normalPictureAt({180, 100});
    // Bevel: 4 design pixels, 8 at twice the size, on every side.
    const int midRow = 50, midCol = 90;
    EXPECT_EQ(twice.pixel(7, midRow), design.pixel(3, 25));
    EXPECT_NE(twice.pixel(8, midRow), design.pixel(3, 25));
    EXPECT_EQ(twice.pixel(midCol, 7), design.pixel(45, 3));
    EXPECT_NE(twice.pixel(midCol, 8), design.pixel(45, 3));
    EXPECT_EQ(twice.pixel(172, midRow), design.pixel(86, 25));
    EXPECT_EQ(twice.pixel(midCol, 92), design.pixel(45, 46));

    std::set<QRgb> designRows, twiceRows;
    for (int y = 0; y < design.height(); ++y)
        designRows.insert(design.pixel(45, y));
    for (int y = 0; y < twice.height(); ++y)
        twiceRows.insert(twice.pixel(90, y));
    EXPECT_GT(twiceRows.size(), designRows.size());
}

} // namespace
