#include "pane/pane_pictures_p.h"

#include <cmath>

namespace korva::pane {

namespace {

constexpr int kWidth = 90;
constexpr int kHeight = 50;
constexpr int kBevel = 4;

struct Scheme {
    QRgb gradientTop, gradientBottom;
    QRgb bevelTop, bevelLeft, bevelBottom, bevelRight;
};

// A face with a vertical gradient inside a four-pixel bevel. Where two bevel
// sides meet, the corner is split on the diagonal, as a raised edge looks.
QImage bevelled(const Scheme& s) {
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    const int faceTop = kBevel, faceBottom = kHeight - kBevel - 1; // rows 4..45
    for (int y = 0; y < kHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        const double t = y <= faceTop      ? 0.0
                         : y >= faceBottom ? 1.0
                                           : double(y - faceTop) / (faceBottom - faceTop);
        auto mix = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
        const QRgb face = qRgb(mix(qRed(s.gradientTop), qRed(s.gradientBottom)),
                               mix(qGreen(s.gradientTop), qGreen(s.gradientBottom)),
                               mix(qBlue(s.gradientTop), qBlue(s.gradientBottom)));
        for (int x = 0; x < kWidth; ++x) {
            const int fromLeft = x, fromRight = kWidth - 1 - x, fromTop = y, fromBottom = kHeight - 1 - y;
            QRgb c = face;
            if (fromTop < kBevel && fromTop <= fromLeft && fromTop <= fromRight)
                c = s.bevelTop;
            else if (fromBottom < kBevel && fromBottom <= fromLeft && fromBottom <= fromRight)
                c = s.bevelBottom;
            else if (fromLeft < kBevel)
                c = s.bevelLeft;
            else if (fromRight < kBevel)
                c = s.bevelRight;
            line[x] = c;
        }
    }
    return img;
}

} // namespace

QImage normalPicture() {
    static const QImage img = bevelled({qRgb(33, 180, 239), qRgb(40, 133, 253), qRgb(55, 190, 240),
                                        qRgb(53, 160, 242), qRgb(37, 117, 229), qRgb(37, 144, 225)});
    return img;
}

QImage highlightPicture() {
    static const QImage img = bevelled({qRgb(55, 217, 255), qRgb(83, 187, 255), qRgb(73, 225, 255),
                                        qRgb(84, 203, 250), qRgb(75, 166, 230), qRgb(68, 187, 233)});
    return img;
}

QImage pressedPicture() {
    static const QImage img = normalPicture().mirrored(false, true);
    return img;
}

} // namespace korva::pane
