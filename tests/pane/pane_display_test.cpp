// Pane on high-density screens and under a dark palette. The test binary runs
// once per scale factor (QT_SCALE_FACTOR 1, 1.25, 1.5, 2, see CMakeLists.txt):
// twips, members and saved values must not move with the factor, while the
// drawing is made at device resolution rather than scaled up from 1x.
#include "frame/colour/colour_p.h"
#include "frame/elements/label_element_p.h"
#include "frame/runtime/site.h"
#include "frame/values/property_bag.h"
#include "pane/pane.h"
#include "pane/pane_pictures_p.h"
#include "support/contrast.h"
#include "support/display.h"

#include <gtest/gtest.h>

#include <array>
#include <set>

using namespace korva;
using korva::test::contrast;

namespace {

std::unique_ptr<Pane> openPane() {
    auto pane = Pane::createNew();
    pane->setTextCaption("Open");
    pane->site()->resizeTwips(3000, 800);
    return pane;
}

// The black caption's ink.
test::Ink captionInk(const QImage& img) {
    return test::ink(img, img.rect(), [](int grey) { return grey < 40; });
}

TEST(PaneHighDpi, TwipsMembersAndSavedValuesDoNotDependOnTheScale) {
    test::expectTwipsIgnoreTheScale();
    auto pane = openPane();
    // The caption is centred in the pane's 3000 x 800 twips.
    const auto* caption = static_cast<const LabelElement*>(pane->element(u"lblTEST"));
    EXPECT_EQ((std::array<float, 3>{caption->Left(), caption->Top(), caption->Width()}),
              (std::array<float, 3>{0, 212.5f, 3000}));
    PropertyBag bag;
    pane->WriteProperties(bag);
    for (const auto& [key, v] : {std::pair{"TextCaption", Value("Open")}, std::pair{"Enabled", Value(true)},
                                 std::pair{"Backcolor", Value(int32_t{0})}})
        EXPECT_EQ(bag.ReadProperty(key, Value()), v) << key;
}

TEST(PaneHighDpi, DrawsAtDeviceResolution) {
    auto pane = openPane();
    const test::Shots s = test::shoot(pane->site());
    // The caption keeps its place and grows with the factor in both directions.
    const test::Ink at1 = captionInk(s.plain);
    ASSERT_GT(at1.count, 20);
    test::expectInkScaled(at1, captionInk(s.device), s.f, 1.5);

    if (s.f == 1.0) {
        EXPECT_EQ(s.device, s.plain) << "at 1x the grab is the plain rendering";
        return;
    }
    EXPECT_GT(test::differingFromBlownUp(s), at1.count / 2) << "crisp, not the 1x rendering blown up";
}

// Pane paints with its own colours only: under a dark palette that system
// colours follow, it looks exactly as under the light one, and its black
// caption stays readable on the picture.
TEST(PaneDarkPalette, LooksTheSameAndTheCaptionIsReadable) {
    auto pane = openPane();
    const QImage light = pane->site()->grab().toImage();

    test::DarkPalette dark;
    EXPECT_TRUE(systemColoursFollowQtPalette());
    // System colours now come from the palette: button face is the dark button.
    EXPECT_EQ(TranslateColor(0x8000000Fu), int32_t{45 | 45 << 8 | 45 << 16});
    auto darkPane = openPane();
    const QImage shown = darkPane->site()->grab().toImage();
    dark.restore();
    EXPECT_EQ(TranslateColor(0x8000000Fu), int32_t{212 | 208 << 8 | 200 << 16})
        << "back to the classic table";

    EXPECT_EQ(shown, light);

    const QImage img = shown.convertToFormat(QImage::Format_RGB32);
    const test::Ink caption = captionInk(img);
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
    EXPECT_GT(contrast(img.pixel(img.width() / 2, 0), dark.rgb(QPalette::Window)), 3.0);
}

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

    const auto columnColours = [](const QImage& i) {
        std::set<QRgb> colours;
        for (int y = 0; y < i.height(); ++y)
            colours.insert(i.pixel(i.width() / 2, y));
        return colours.size();
    };
    EXPECT_GT(columnColours(twice), columnColours(design));
}

} // namespace
