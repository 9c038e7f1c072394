#include "frame/colour/qt_colour_p.h"
#include "frame/elements/line_element_p.h"

#include "frame/colour/colour_p.h"
#include "frame/elements/line_raster_p.h"
#include "frame/elements/picturebox_element_p.h"
#include "frame/runtime/site.h"

#include <QPainter>

#include <cmath>

namespace korva {

LineElement::LineElement(Control& owner, const QString& name, int index) : Element(owner, name, index, true) {
    place();
}

void LineElement::createWidget() {
    Element::createWidget();
    existingWidget()->setAttribute(Qt::WA_TransparentForMouseEvents);
}

bool LineElement::endPoints(QPoint& from, QPoint& to) const {
    const ContainerElement* box = Container();
    const Site& s = *owner().site();
    const auto toX = [&](double v) { return box ? box->toPixelsX(v) : s.toPixelsX(v); };
    const auto toY = [&](double v) { return box ? box->toPixelsY(v) : s.toPixelsY(v); };
    int ax = 0, ay = 0, bx = 0, by = 0;
    if (!toDevicePixel(toX(x1_), ax) || !toDevicePixel(toY(y1_), ay) || !toDevicePixel(toX(x2_), bx) ||
        !toDevicePixel(toY(y2_), by))
        return false;
    from = {ax, ay};
    to = {bx, by};
    return true;
}

// The window spans the pixels the line can touch, thickness included.
void LineElement::place() {
    QPoint a, b;
    if (!endPoints(a, b))
        return;
    const int pad = borderWidth_;
    const QRect px = QRect(a, b).normalized().adjusted(-pad, -pad, pad, pad);
    const ContainerElement* box = Container();
    const Site& s = *owner().site();
    const auto fromX = [&](double v) {
        return static_cast<float>(box ? box->fromPixelsX(v) : s.fromPixelsX(v));
    };
    const auto fromY = [&](double v) {
        return static_cast<float>(box ? box->fromPixelsY(v) : s.fromPixelsY(v));
    };
    Move(fromX(px.x()), fromY(px.y()), fromX(px.width()), fromY(px.height()));
    repaint();
}

// A coordinate that cannot be mapped to pixels is refused and the old one kept.
void LineElement::setCoordinate(float& member, float v) {
    const float old = member;
    member = v;
    QPoint a, b;
    if (!endPoints(a, b)) {
        member = old;
        return;
    }
    place();
}

void LineElement::setX1(float v) { setCoordinate(x1_, v); }
void LineElement::setY1(float v) { setCoordinate(y1_, v); }
void LineElement::setX2(float v) { setCoordinate(x2_, v); }
void LineElement::setY2(float v) { setCoordinate(y2_, v); }

void LineElement::setBorderColor(uint32_t c) {
    if (TranslateColor(c) < 0 || c == borderColor_)
        return;
    borderColor_ = c;
    repaint();
}

void LineElement::setBorderWidth(int16_t w) {
    if (w < 1 || w > 8192 || w == borderWidth_)
        return;
    borderWidth_ = w;
    place();
}

void LineElement::paint(QPainter& p, const QRect& r) {
    QPoint a, b;
    if (!endPoints(a, b))
        return;
    // The end points are in the container's pixels; `r` is where this
    // element's rectangle lies on the painter.
    const QPoint origin = pixelRect().topLeft() - r.topLeft();
    a -= origin;
    b -= origin;
    const QColor colour = toQColor(borderColor_);
    // A thick line is the thin one with a square pen centred on each pixel.
    const int w = borderWidth_;
    const int back = (w - 1) / 2;
    rasterLine(a.x(), a.y(), b.x(), b.y(),
               [&](int x, int y) { p.fillRect(x - back, y - back, w, w, colour); });
}

std::unique_ptr<Element> LineElement::cloneAs(Control& owner, int index) const {
    auto e = std::make_unique<LineElement>(owner, Name(), index);
    e->x1_ = x1_;
    e->y1_ = y1_;
    e->x2_ = x2_;
    e->y2_ = y2_;
    e->borderColor_ = borderColor_;
    e->borderWidth_ = borderWidth_;
    e->place();
    return e;
}

} // namespace korva
