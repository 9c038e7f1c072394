// Pages on high-density screens and under a dark palette. The test binary
// runs once per scale factor (QT_SCALE_FACTOR 1, 1.25, 1.5, 2, see
// CMakeLists.txt): positions in twips and saved values stay, the strip is
// drawn at device resolution, and captions stay readable on their tabs
// whichever palette the system colours follow.
#include "frame/platform/platform_p.h"
#include "frame/platform/system_colours.h"
#include "frame/runtime/element_p.h"
#include "frame/runtime/site.h"
#include "frame/values/property_bag.h"
#include "pages/pages.h"
#include "support/contrast.h"

#include <QApplication>
#include <QHash>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <gtest/gtest.h>

#include <cmath>

using namespace korva;

namespace {

double scaleFactor() {
    const double f =
        qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ? qgetenv("QT_SCALE_FACTOR").toDouble() : 1.0;
    EXPECT_DOUBLE_EQ(qApp->devicePixelRatio(), f);
    return f;
}

using korva::test::contrast;

// The best contrast between the commonest colour of `area` (the tab behind
// a caption) and any other colour in it (the caption's text).
double captionContrast(const QImage& img, const QRect& area) {
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[img.pixel(x, y)];
    QRgb back = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            back = it.key();
        }
    double best = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = std::max(best, contrast(it.key(), back));
    return best;
}

std::unique_ptr<Pages> tabs(const QString& list = QStringLiteral("1,2,3")) {
    auto p = Pages::createNew();
    p->setActiveTabs(list);
    return p;
}

TEST(PagesHighDpi, TwipsPositionsAndSavedValuesDoNotDependOnTheScale) {
    EXPECT_DOUBLE_EQ(Platform::instance().twipsPerPixelX(),
                     1440.0 / qApp->primaryScreen()->logicalDotsPerInchX());
    auto p = tabs();
    const float lefts[] = {120, 510, 900};
    for (int i = 1; i <= 3; ++i) {
        const Element* e = p->element(u"imgSELLEFT", i);
        ASSERT_NE(e, nullptr);
        EXPECT_FLOAT_EQ(e->Left(), lefts[i - 1]) << i;
    }
    PropertyBag bag;
    p->WriteProperties(bag);
    EXPECT_EQ(bag.ReadProperty("TABSTRING", Value()), Value(QStringLiteral("1,2,3")));
}

TEST(PagesHighDpi, DrawsAtDeviceResolution) {
    auto p = tabs(QStringLiteral("General,Colours,Help"));
    const double f = scaleFactor();
    const QSize logical = p->site()->size();
    const QPixmap shot = p->site()->grab();
    EXPECT_DOUBLE_EQ(shot.devicePixelRatio(), f);
    EXPECT_NEAR(shot.width(), logical.width() * f, 1.0);

    QImage plain(logical, QImage::Format_RGB32);
    plain.setDevicePixelRatio(1);
    p->site()->render(&plain);
    const QImage device = shot.toImage().convertToFormat(QImage::Format_RGB32);
    if (f == 1.0) {
        EXPECT_EQ(device, plain);
        return;
    }
    // Every tab's caption piece keeps its colour at the matching device
    // pixels (the same look, in the same place)...
    const Element* cap = p->element(u"imgSELCAP", 2);
    ASSERT_NE(cap, nullptr);
    const QRect r = cap->paintedRect();
    const QPoint inside = r.topLeft() + QPoint(3, r.height() / 2);
    const QPoint scaled(static_cast<int>((inside.x() + 0.5) * f), static_cast<int>((inside.y() + 0.5) * f));
    EXPECT_EQ(device.pixel(scaled), plain.pixel(inside));
    // ...while the captions are drawn at device resolution, not blown up from 1x.
    const QImage blownUp = plain.scaled(device.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const Element* label = p->element(u"lblCAPTION", 2);
    ASSERT_NE(label, nullptr);
    const QRect lr = label->paintedRect();
    const QRect dr(
        QPoint(static_cast<int>(lr.left() * f), static_cast<int>(lr.top() * f)),
        QPoint(static_cast<int>((lr.right() + 1) * f) - 1, static_cast<int>((lr.bottom() + 1) * f) - 1));
    int differing = 0;
    for (int y = dr.top(); y <= dr.bottom(); ++y)
        for (int x = dr.left(); x <= dr.right(); ++x)
            differing += device.pixel(x, y) != blownUp.pixel(x, y);
    EXPECT_GT(differing, 4);
    // The glyphs grow with the factor in both directions: a face that kept its
    // 1x glyphs and only spread them apart would leave as much ink as at 1x.
    auto ink = [](const QImage& img, const QRect& area) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += qGray(img.pixel(x, y)) < 100;
        return n;
    };
    const int at1 = ink(plain, lr);
    ASSERT_GT(at1, 10);
    if (f >= 1.5) {
        EXPECT_GT(ink(device, dr), at1 * f * f * 0.6) << at1;
    }
    EXPECT_GT(captionContrast(device, dr), 4.5);
}

// Under a dark palette that the system colours follow, every caption stays
// readable on its tab and the page frame stands out from the dark form.
TEST(PagesDarkPalette, CaptionsStayReadableAndTheFrameVisible) {
    const QPalette saved = QApplication::palette();
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(20, 20, 20));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Button, QColor(45, 45, 45));
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    dark.setColor(QPalette::Dark, QColor(110, 110, 110));
    dark.setColor(QPalette::Light, QColor(90, 90, 90));
    QApplication::setPalette(dark);
    setSystemColoursFollowQtPalette(true);
    auto p = tabs(QStringLiteral("General,Colours,Help"));
    p->Refresh();
    const QImage img = p->site()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const double f = qApp->devicePixelRatio();
    std::vector<double> contrasts;
    for (int i = 1; i <= 3; ++i) {
        const QRect lr = p->element(u"lblCAPTION", i)->paintedRect();
        contrasts.push_back(captionContrast(
            img, QRect(QPoint(static_cast<int>(lr.left() * f), static_cast<int>(lr.top() * f)),
                       QSize(static_cast<int>(lr.width() * f), static_cast<int>(lr.height() * f)))));
    }
    const QRect border = p->element(u"shpBORDER")->paintedRect();
    // The frame's top line, at whichever device rows a fractional factor puts it.
    double frameContrast = 1;
    const int x = static_cast<int>((border.left() + border.width() / 2) * f);
    for (int y = static_cast<int>(border.top() * f); y < static_cast<int>(std::ceil((border.top() + 1) * f));
         ++y)
        frameContrast =
            std::max(frameContrast, contrast(img.pixel(x, y), dark.color(QPalette::Window).rgb()));
    setSystemColoursFollowQtPalette(false);
    QApplication::setPalette(saved);

    for (std::size_t i = 0; i < contrasts.size(); ++i)
        EXPECT_GT(contrasts[i], 4.5) << "caption of tab " << i + 1;
    EXPECT_GT(frameContrast, 1.5);
}

} // namespace
