// What the display tests of every control share. Their binaries run once per
// scale factor (QT_SCALE_FACTOR 1, 1.25, 1.5, 2): a control's surface is
// grabbed at device resolution and set beside the same surface drawn at 1x,
// text is found by its ink, and a dark palette is applied for system colours
// to follow.
#pragma once

#include "frame/platform/platform_p.h"
#include "frame/platform/system_colours.h"

#include <QApplication>
#include <QImage>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <utility>

namespace korva::test {

// The factor this run was started with, checked against what Qt made of it.
inline double scaleFactor() {
    const double f =
        qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ? qgetenv("QT_SCALE_FACTOR").toDouble() : 1.0;
    EXPECT_DOUBLE_EQ(qApp->devicePixelRatio(), f);
    return f;
}

// Twips follow the logical resolution, which the scale factor leaves alone.
inline void expectTwipsIgnoreTheScale() {
    EXPECT_DOUBLE_EQ(Platform::instance().twipsPerPixelX(),
                     1440.0 / qApp->primaryScreen()->logicalDotsPerInchX());
}

// The device pixel at the centre of logical pixel `v`.
inline int devicePixel(double v, double f) { return static_cast<int>(std::floor((v + 0.5) * f)); }

// The device pixels that the logical pixels of `r` cover, to the nearest pixel.
inline QRect deviceRect(const QRect& r, double f) {
    return QRect(QPoint(std::lround(r.left() * f), std::lround(r.top() * f)),
                 QPoint(std::lround((r.right() + 1) * f) - 1, std::lround((r.bottom() + 1) * f) - 1));
}

// A surface grabbed at this run's device pixel ratio, and the same surface
// rendered at 1x, both RGB32.
struct Shots {
    double f = 1;
    QImage device, plain;
};

inline Shots shoot(QWidget* surface) {
    Shots s;
    s.f = scaleFactor();
    const QSize logical = surface->size();
    const QPixmap shot = surface->grab();
    EXPECT_DOUBLE_EQ(shot.devicePixelRatio(), s.f);
    EXPECT_NEAR(shot.width(), logical.width() * s.f, 1.0);
    EXPECT_NEAR(shot.height(), logical.height() * s.f, 1.0);
    s.plain = QImage(logical, QImage::Format_RGB32);
    s.plain.setDevicePixelRatio(1);
    surface->render(&s.plain);
    s.device = shot.toImage().convertToFormat(QImage::Format_RGB32);
    return s;
}

// Device pixels of `area` (the whole grab if null) that differ from the 1x
// rendering blown up to device size. An upscaled bitmap repeats the 1x pixels;
// text and outlines drawn at device resolution do not.
inline int differingFromBlownUp(const Shots& s, QRect area = {}) {
    if (area.isNull())
        area = s.device.rect();
    const QImage blownUp = s.plain.scaled(s.device.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += s.device.pixel(x, y) != blownUp.pixel(x, y);
    return n;
}

// The pixels of `area` whose grey level `isInk` accepts (text drawn on its
// background): how many, and where their centre is.
struct Ink {
    int count = 0;
    QPointF centre;
};

template <class IsInk> Ink ink(const QImage& img, const QRect& area, IsInk isInk) {
    Ink out;
    double sx = 0, sy = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (isInk(qGray(img.pixel(x, y)))) {
                ++out.count;
                sx += x;
                sy += y;
            }
    if (out.count)
        out.centre = {sx / out.count, sy / out.count};
    return out;
}

// Ink drawn at factor `f` keeps the place of its 1x drawing, within `slack`
// logical pixels, and grows with the factor in both directions.
inline void expectInkScaled(const Ink& at1, const Ink& atF, double f, double slack) {
    EXPECT_NEAR(atF.centre.x(), (at1.centre.x() + 0.5) * f - 0.5, slack * f);
    EXPECT_NEAR(atF.centre.y(), (at1.centre.y() + 0.5) * f - 0.5, slack * f);
    EXPECT_NEAR(atF.count, at1.count * f * f, at1.count * f * f * 0.5);
}

// A dark palette on the application, with system colours following it, until
// restore() or the end of the scope: a failed assertion must not leave the
// next test dark. `extra` sets the roles a test needs beyond the common ones.
class DarkPalette {
public:
    explicit DarkPalette(std::initializer_list<std::pair<QPalette::ColorRole, QColor>> extra = {}) {
        palette.setColor(QPalette::Window, QColor(30, 30, 30));
        palette.setColor(QPalette::WindowText, QColor(230, 230, 230));
        palette.setColor(QPalette::Base, QColor(20, 20, 20));
        palette.setColor(QPalette::Text, QColor(230, 230, 230));
        palette.setColor(QPalette::Button, QColor(45, 45, 45));
        palette.setColor(QPalette::ButtonText, QColor(230, 230, 230));
        palette.setColor(QPalette::Light, QColor(90, 90, 90));
        for (const auto& [role, colour] : extra)
            palette.setColor(role, colour);
        QApplication::setPalette(palette);
        setSystemColoursFollowQtPalette(true);
    }
    ~DarkPalette() { restore(); }
    DarkPalette(const DarkPalette&) = delete;
    DarkPalette& operator=(const DarkPalette&) = delete;

    void restore() {
        if (!active_)
            return;
        active_ = false;
        setSystemColoursFollowQtPalette(false);
        QApplication::setPalette(saved_);
    }
    QRgb rgb(QPalette::ColorRole role) const { return palette.color(role).rgb(); }

    QPalette palette;

private:
    QPalette saved_ = QApplication::palette();
    bool active_ = true;
};

} // namespace korva::test
