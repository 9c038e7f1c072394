// Spin on high-density screens and under a dark palette. The test binary runs
// once per scale factor (QT_SCALE_FACTOR 1, 1.25, 1.5, 2, see CMakeLists.txt): the
// layout in twips, members and saved values must not move with the factor,
// while text, frame and arrows are drawn at device resolution.
#include "frame/colour/colour_p.h"
#include "frame/runtime/element_p.h"
#include "frame/runtime/site.h"
#include "frame/values/property_bag.h"
#include "spin/spin.h"
#include "support/contrast.h"
#include "support/display.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <array>
#include <functional>

using namespace korva;
using korva::test::contrast;

namespace {

std::unique_ptr<Spin> countSpin() {
    auto spin = Spin::createNew();
    spin->setMax(99999);
    spin->setText("12345");
    spin->setInterval(0.5);
    return spin;
}

// The digits' ink: dark on the light box, light on the dark one.
test::Ink digits(const QImage& img, const QRect& area, bool lightOnDark) {
    return test::ink(img, area, [=](int grey) { return lightOnDark ? grey > 160 : grey < 96; });
}

// The text box's area in the control's logical pixels.
QRect textArea(const Spin& spin) {
    const QWidget* box = spin.element(u"txtUPDOWN")->widget();
    return QRect(box->mapTo(spin.site(), QPoint(0, 0)), box->size()) & spin.site()->rect();
}

TEST(SpinHighDpi, LayoutMembersAndSavedValuesDoNotDependOnTheScale) {
    test::scaleFactor();
    test::expectTwipsIgnoreTheScale();
    auto spin = countSpin();
    const std::pair<const char*, std::array<float, 4>> boxes[] = {{"txtBORDER", {0, 0, 2805, 555}},
                                                                  {"picfraBOX", {30, 30, 2745, 495}},
                                                                  {"udnCTRL", {30, 0, 2715, 495}},
                                                                  {"txtUPDOWN", {0, 152.5, 2445, 285}},
                                                                  {"lblBACK", {0, 0, 2805, 285}}};
    for (const auto& [name, box] : boxes) {
        const Element* e = spin->element(QString::fromLatin1(name));
        EXPECT_EQ((std::array<float, 4>{e->Left(), e->Top(), e->Width(), e->Height()}), box) << name;
    }
    PropertyBag bag;
    spin->WriteProperties(bag);
    for (const auto& [key, v] : {std::pair{"Max", Value(int32_t{99999})}, std::pair{"Text", Value("12345")},
                                 std::pair{"Interval", Value(0.5)}})
        EXPECT_EQ(bag.ReadProperty(key, Value()), v) << key;
}

TEST(SpinHighDpi, DrawsAtDeviceResolution) {
    auto spin = countSpin();
    const test::Shots s = test::shoot(spin->site());
    const QRect text = textArea(*spin);
    const test::Ink at1 = digits(s.plain, text, false);
    ASSERT_GT(at1.count, 20) << "the digits show";
    test::expectInkScaled(at1, digits(s.device, test::deviceRect(text, s.f) & s.device.rect(), false), s.f,
                          2.0);

    if (s.f == 1.0) {
        EXPECT_EQ(s.device, s.plain) << "at 1x the grab is the plain rendering";
        return;
    }
    EXPECT_GT(test::differingFromBlownUp(s), at1.count / 2) << "crisp, not the 1x rendering blown up";
}

// Spin paints in system colours: under a dark palette they follow, the box
// turns dark with light digits, and the frame and the buttons stay visible.
TEST(SpinDarkPalette, FollowsThePaletteReadably) {
    test::DarkPalette dark({{QPalette::Dark, QColor(15, 15, 15)}, {QPalette::Shadow, QColor(0, 0, 0)}});
    auto spin = countSpin();
    QImage img(spin->site()->size(), QImage::Format_RGB32);
    img.setDevicePixelRatio(1);
    spin->site()->render(&img);
    const int32_t background = TranslateColor(0x80000005u);
    dark.restore();

    EXPECT_EQ(background, int32_t{20 | 20 << 8 | 20 << 16}) << "the window colour is the palette's base";
    const QRgb base = dark.rgb(QPalette::Base);
    const QRect text = textArea(*spin);
    EXPECT_EQ(img.pixel(text.left() + 1, text.top() + 1), base);
    ASSERT_GT(digits(img, text, true).count, 20) << "light digits on the dark box";
    QRgb inkColour = base; // the brightest pixel of the digits
    for (int y = text.top(); y <= text.bottom(); ++y)
        for (int x = text.left(); x <= text.right(); ++x)
            if (qGray(img.pixel(x, y)) > qGray(inkColour))
                inkColour = img.pixel(x, y);
    EXPECT_GT(contrast(inkColour, base), 7.0);

    // The frame: its outermost ring stands out from the dark form around the
    // control and from the box inside it.
    const QRgb form = dark.rgb(QPalette::Window);
    const int midRow = img.height() / 2;
    EXPECT_GT(contrast(img.pixel(0, midRow), form), 1.5);
    EXPECT_GT(contrast(img.pixel(img.width() / 3, 0), base), 1.5);
    // The arrows stand out from the button face.
    const QRgb face = dark.rgb(QPalette::Button);
    int arrows = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = img.width() - 20; x < img.width(); ++x)
            arrows += contrast(img.pixel(x, y), face) > 4.5 && qGray(img.pixel(x, y)) > 160;
    EXPECT_GT(arrows, 6);
}

// The frame has no edit field while nothing needs one: the control's window
// draws it, pixel for pixel as the field draws itself, in every look it takes.
TEST(SpinFrame, IsDrawnAsItsFieldWouldDrawIt) {
    const struct {
        const char* name;
        std::function<void(Spin&)> set;
    } looks[] = {
        {"as made", [](Spin&) {}},
        {"disabled", [](Spin& s) { s.setEnabled(false); }},
        {"on another colour", [](Spin& s) { s.setBackColor(0x0000C0FFu); }},
        {"without a border", [](Spin& s) { s.setBorderStyle(0); }},
        {"shown in an active window",
         [](Spin& s) {
             s.widget()->show();
             s.widget()->activateWindow();
             EXPECT_TRUE(QTest::qWaitForWindowActive(s.widget()));
         }},
    };
    for (const auto& look : looks) {
        SCOPED_TRACE(look.name);
        auto spin = countSpin();
        look.set(*spin);
        QWidget* site = spin->site();
        Element* frame = spin->element(u"txtBORDER");
        EXPECT_EQ(site->findChildren<QLineEdit*>().size(), 1) << "only the text's own field";
        const QImage drawn = site->grab().toImage();
        frame->setVisible(false);
        EXPECT_NE(site->grab().toImage(), drawn) << "the frame shows";
        frame->setVisible(true);

        ASSERT_NE(frame->widget(), nullptr);
        EXPECT_EQ(site->findChildren<QLineEdit*>().size(), 2) << "asked for, the field is made";
        EXPECT_EQ(frame->paintingWindow(), frame->widget());
        EXPECT_EQ(site->grab().toImage(), drawn);
    }
}

} // namespace
