// Pages on high-density screens and under a dark palette. The test binary
// runs once per scale factor (QT_SCALE_FACTOR 1, 1.25, 1.5, 2, see
// CMakeLists.txt): positions in twips and saved values stay, the strip is
// drawn at device resolution, and captions stay readable on their tabs
// whichever palette the system colours follow.
#include "frame/runtime/element_p.h"
#include "frame/runtime/site.h"
#include "frame/values/property_bag.h"
#include "pages/pages.h"
#include "support/contrast.h"
#include "support/display.h"

#include <QHash>
#include <gtest/gtest.h>

#include <cmath>

using namespace korva;
using korva::test::contrast;

namespace {

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
    test::expectTwipsIgnoreTheScale();
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
    const test::Shots s = test::shoot(p->site());
    const double f = s.f;
    if (f == 1.0) {
        EXPECT_EQ(s.device, s.plain);
        return;
    }
    // Every tab's caption piece keeps its colour at the matching device
    // pixels (the same look, in the same place)...
    const Element* cap = p->element(u"imgSELCAP", 2);
    ASSERT_NE(cap, nullptr);
    const QRect r = cap->paintedRect();
    const QPoint inside = r.topLeft() + QPoint(3, r.height() / 2);
    EXPECT_EQ(s.device.pixel(test::devicePixel(inside.x(), f), test::devicePixel(inside.y(), f)),
              s.plain.pixel(inside));
    // ...while the captions are drawn at device resolution, not blown up from 1x.
    const Element* label = p->element(u"lblCAPTION", 2);
    ASSERT_NE(label, nullptr);
    const QRect lr = label->paintedRect();
    const QRect dr = test::deviceRect(lr, f);
    EXPECT_GT(test::differingFromBlownUp(s, dr), 4);
    // The glyphs grow with the factor in both directions: a face that kept its
    // 1x glyphs and only spread them apart would leave as much ink as at 1x.
    const auto dark = [](int grey) { return grey < 100; };
    const int at1 = test::ink(s.plain, lr, dark).count;
    ASSERT_GT(at1, 10);
    if (f >= 1.5) {
        EXPECT_GT(test::ink(s.device, dr, dark).count, at1 * f * f * 0.6) << at1;
    }
    EXPECT_GT(captionContrast(s.device, dr), 4.5);
}

// Under a dark palette that the system colours follow, every caption stays
// readable on its tab and the page frame stands out from the dark form.
TEST(PagesDarkPalette, CaptionsStayReadableAndTheFrameVisible) {
    test::DarkPalette dark({{QPalette::Dark, QColor(110, 110, 110)}});
    auto p = tabs(QStringLiteral("General,Colours,Help"));
    p->Refresh();
    const QImage img = p->site()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const double f = qApp->devicePixelRatio();
    for (int i = 1; i <= 3; ++i)
        EXPECT_GT(captionContrast(img, test::deviceRect(p->element(u"lblCAPTION", i)->paintedRect(), f)), 4.5)
            << "caption of tab " << i;
    // The frame's top line, at whichever device rows a fractional factor puts it.
    const QRect border = p->element(u"shpBORDER")->paintedRect();
    double frameContrast = 1;
    const int x = static_cast<int>((border.left() + border.width() / 2) * f);
    for (int y = static_cast<int>(border.top() * f); y < static_cast<int>(std::ceil((border.top() + 1) * f));
         ++y)
        frameContrast = std::max(frameContrast, contrast(img.pixel(x, y), dark.rgb(QPalette::Window)));
    EXPECT_GT(frameContrast, 1.5);
}

} // namespace
