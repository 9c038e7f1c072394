// Spin on high-density screens and under a dark palette. The test binary runs
// once per scale factor (QT_SCALE_FACTOR 1, 1.25, 1.5, 2, see CMakeLists.txt): the
// layout in twips, members and saved values must not move with the factor,
// while text, frame and arrows are drawn at device resolution.
#include "frame/colour/colour_p.h"
#include "frame/platform/platform_p.h"
#include "frame/platform/system_colours.h"
#include "frame/runtime/element_p.h"
#include "frame/runtime/site.h"
#include "frame/values/property_bag.h"
#include "spin/spin.h"
#include "support/contrast.h"

#include <QApplication>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <gtest/gtest.h>

#include <array>
#include <cmath>

using namespace korva;

namespace {

double scaleFactor() {
    const double f =
        qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ? qgetenv("QT_SCALE_FACTOR").toDouble() : 1.0;
    EXPECT_DOUBLE_EQ(qApp->devicePixelRatio(), f);
    return f;
}

std::unique_ptr<Spin> countSpin() {
    auto spin = Spin::createNew();
    spin->setMax(99999);
    spin->setText("12345");
    spin->setInterval(0.5);
    return spin;
}

// Pixels darker (or, on a dark background, lighter) than `threshold` of the
// background: the text's ink.
struct Ink {
    int count = 0;
    QPointF centre;
};
Ink ink(const QImage& img, QRect area, bool lightOnDark) {
    Ink out;
    double sx = 0, sy = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const int g = qGray(img.pixel(x, y));
            if (lightOnDark ? g > 160 : g < 96) {
                ++out.count;
                sx += x;
                sy += y;
            }
        }
    if (out.count)
        out.centre = {sx / out.count, sy / out.count};
    return out;
}

using korva::test::contrast;

// The text box's area in the control's logical pixels.
QRect textArea(const Spin& spin) {
    const QWidget* box = spin.element(u"txtUPDOWN")->widget();
    return QRect(box->mapTo(spin.site(), QPoint(0, 0)), box->size()) & spin.site()->rect();
}

TEST(SpinHighDpi, LayoutMembersAndSavedValuesDoNotDependOnTheScale) {
    scaleFactor();
    EXPECT_DOUBLE_EQ(Platform::instance().twipsPerPixelX(),
                     1440.0 / qApp->primaryScreen()->logicalDotsPerInchX());
    auto spin = countSpin();
    EXPECT_FLOAT_EQ(spin->site()->Width(), 2805);
    EXPECT_FLOAT_EQ(spin->site()->Height(), 555);
    const auto box = [&](const char* name) {
        const Element* e = spin->element(QString::fromLatin1(name));
        return std::array<float, 4>{e->Left(), e->Top(), e->Width(), e->Height()};
    };
    EXPECT_EQ(box("txtBORDER"), (std::array<float, 4>{0, 0, 2805, 555}));
    EXPECT_EQ(box("picfraBOX"), (std::array<float, 4>{30, 30, 2745, 495}));
    EXPECT_EQ(box("udnCTRL"), (std::array<float, 4>{30, 0, 2715, 495}));
    EXPECT_FLOAT_EQ(spin->element(u"txtUPDOWN")->Top(), 152.5f);

    PropertyBag bag;
    spin->WriteProperties(bag);
    EXPECT_EQ(bag.ReadProperty("Max", Value()), Value(int32_t{99999}));
    EXPECT_EQ(bag.ReadProperty("Text", Value()), Value(QStringLiteral("12345")));
    EXPECT_EQ(bag.ReadProperty("Interval", Value()), Value(0.5));
}

TEST(SpinHighDpi, DrawsAtDeviceResolution) {
    auto spin = countSpin();
    const double f = scaleFactor();
    const QSize logical = spin->site()->size();
    const QPixmap shot = spin->site()->grab();
    EXPECT_DOUBLE_EQ(shot.devicePixelRatio(), f);
    EXPECT_NEAR(shot.width(), logical.width() * f, 1.0);
    EXPECT_NEAR(shot.height(), logical.height() * f, 1.0);

    QImage plain(logical, QImage::Format_RGB32);
    plain.setDevicePixelRatio(1);
    spin->site()->render(&plain);
    const QImage device = shot.toImage().convertToFormat(QImage::Format_RGB32);
    const QRect text = textArea(*spin);
    const QRect deviceText(
        QPoint(std::lround(text.left() * f), std::lround(text.top() * f)),
        QPoint(std::lround((text.right() + 1) * f) - 1, std::lround((text.bottom() + 1) * f) - 1));
    const Ink at1 = ink(plain, text, false), atF = ink(device, deviceText & device.rect(), false);
    ASSERT_GT(at1.count, 20) << "the digits show";
    // The digits keep their place and grow with the factor in both directions.
    EXPECT_NEAR(atF.centre.x(), (at1.centre.x() + 0.5) * f - 0.5, 2.0 * f);
    EXPECT_NEAR(atF.centre.y(), (at1.centre.y() + 0.5) * f - 0.5, 2.0 * f);
    EXPECT_NEAR(atF.count, at1.count * f * f, at1.count * f * f * 0.5);

    if (f == 1.0) {
        EXPECT_EQ(device, plain) << "at 1x the grab is the plain rendering";
        return;
    }
    // Crisp: not the 1x rendering blown up.
    const QImage blownUp = plain.scaled(device.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    int differing = 0;
    for (int y = 0; y < device.height(); ++y)
        for (int x = 0; x < device.width(); ++x)
            differing += device.pixel(x, y) != blownUp.pixel(x, y);
    EXPECT_GT(differing, at1.count / 2);
}

// Spin paints in system colours: under a dark palette they follow, the box
// turns dark with light digits, and the frame and the buttons stay visible.
TEST(SpinDarkPalette, FollowsThePaletteReadably) {
    const QPalette saved = QApplication::palette();
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(20, 20, 20));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Button, QColor(45, 45, 45));
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    dark.setColor(QPalette::Light, QColor(90, 90, 90));
    dark.setColor(QPalette::Dark, QColor(15, 15, 15));
    dark.setColor(QPalette::Shadow, QColor(0, 0, 0));
    QApplication::setPalette(dark);
    setSystemColoursFollowQtPalette(true);
    auto spin = countSpin();
    QImage img(spin->site()->size(), QImage::Format_RGB32);
    img.setDevicePixelRatio(1);
    spin->site()->render(&img);
    const int32_t background = TranslateColor(0x80000005u);
    setSystemColoursFollowQtPalette(false);
    QApplication::setPalette(saved);

    EXPECT_EQ(background, int32_t{20 | 20 << 8 | 20 << 16}) << "the window colour is the palette's base";
    const QRgb base = dark.color(QPalette::Base).rgb();
    const QRect text = textArea(*spin);
    EXPECT_EQ(img.pixel(text.left() + 1, text.top() + 1), base);
    const Ink digits = ink(img, text, true);
    ASSERT_GT(digits.count, 20) << "light digits on the dark box";
    int brightest = 0;
    QRgb inkColour = base;
    for (int y = text.top(); y <= text.bottom(); ++y)
        for (int x = text.left(); x <= text.right(); ++x)
            if (qGray(img.pixel(x, y)) > brightest) {
                brightest = qGray(img.pixel(x, y));
                inkColour = img.pixel(x, y);
            }
    EXPECT_GT(contrast(inkColour, base), 7.0);

    // The frame: its outermost ring stands out from the dark form around the
    // control and from the box inside it.
    const QRgb form = dark.color(QPalette::Window).rgb();
    const int midRow = img.height() / 2;
    EXPECT_GT(contrast(img.pixel(0, midRow), form), 1.5);
    EXPECT_GT(contrast(img.pixel(img.width() / 3, 0), base), 1.5);
    // The arrows stand out from the button face.
    const QRgb face = dark.color(QPalette::Button).rgb();
    int arrows = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = img.width() - 20; x < img.width(); ++x)
            arrows += contrast(img.pixel(x, y), face) > 4.5 && qGray(img.pixel(x, y)) > 160;
    EXPECT_GT(arrows, 6);
}

} // namespace
