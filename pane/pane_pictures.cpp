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
// Drawn at any size: each pixel's centre is taken back into the 90 x 50
// design, so the bevel and the gradient keep their proportions and the
// design size gives the design pixels exactly.
QImage bevelled(const Scheme& s, QSize size) {
    QImage img(size, QImage::Format_RGB32);
    const double sx = double(kWidth) / size.width(), sy = double(kHeight) / size.height();
    constexpr double faceTop = kBevel, faceBottom = kHeight - kBevel - 1; // rows 4..45
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        const double v = (y + 0.5) * sy; // design row, continuous
        const double row = v - 0.5;
        const double t = row <= faceTop      ? 0.0
                         : row >= faceBottom ? 1.0
                                             : (row - faceTop) / (faceBottom - faceTop);
        auto mix = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
        const QRgb face = qRgb(mix(qRed(s.gradientTop), qRed(s.gradientBottom)),
                               mix(qGreen(s.gradientTop), qGreen(s.gradientBottom)),
                               mix(qBlue(s.gradientTop), qBlue(s.gradientBottom)));
        for (int x = 0; x < size.width(); ++x) {
            const double u = (x + 0.5) * sx;
            const double fromLeft = u, fromRight = kWidth - u, fromTop = v, fromBottom = kHeight - v;
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

constexpr Scheme kNormal{qRgb(33, 180, 239), qRgb(40, 133, 253), qRgb(55, 190, 240),
                         qRgb(53, 160, 242), qRgb(37, 117, 229), qRgb(37, 144, 225)};
constexpr Scheme kHighlight{qRgb(55, 217, 255), qRgb(83, 187, 255), qRgb(73, 225, 255),
                            qRgb(84, 203, 250), qRgb(75, 166, 230), qRgb(68, 187, 233)};

} // namespace

QImage normalPicture() {
    static const QImage img = normalPictureAt({kWidth, kHeight});
    return img;
}

QImage highlightPicture() {
    static const QImage img = highlightPictureAt({kWidth, kHeight});
    return img;
}

QImage pressedPicture() {
    static const QImage img = normalPicture().mirrored(false, true);
    return img;
}

QImage normalPictureAt(QSize pixels) { return bevelled(kNormal, pixels); }
QImage highlightPictureAt(QSize pixels) { return bevelled(kHighlight, pixels); }
QImage pressedPictureAt(QSize pixels) { return normalPictureAt(pixels).mirrored(false, true); }

} // namespace korva::pane
