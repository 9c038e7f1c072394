#include "frame/colour/qt_colour_p.h"
#include "frame/elements/shape_element_p.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace korva {

namespace {

Qt::BrushStyle brushOf(int16_t fillStyle) {
    switch (fillStyle) {
    case ShapeElement::FillSolid:
        return Qt::SolidPattern;
    case ShapeElement::FillHorizontal:
        return Qt::HorPattern;
    case ShapeElement::FillVertical:
        return Qt::VerPattern;
    case ShapeElement::FillUpwardDiagonal:
        return Qt::BDiagPattern;
    case ShapeElement::FillDownwardDiagonal:
        return Qt::FDiagPattern;
    case ShapeElement::FillCross:
        return Qt::CrossPattern;
    case ShapeElement::FillDiagonalCross:
        return Qt::DiagCrossPattern;
    default:
        return Qt::NoBrush;
    }
}

Qt::PenStyle penOf(int16_t borderStyle) {
    switch (borderStyle) {
    case ShapeElement::BorderDash:
        return Qt::DashLine;
    case ShapeElement::BorderDot:
        return Qt::DotLine;
    case ShapeElement::BorderDashDot:
        return Qt::DashDotLine;
    case ShapeElement::BorderDashDotDot:
        return Qt::DashDotDotLine;
    default:
        return Qt::SolidLine;
    }
}

} // namespace

ShapeElement::ShapeElement(Control& owner, const QString& name, int index)
    : Element(owner, name, index, true) {}

void ShapeElement::createWidget() {
    Element::createWidget();
    existingWidget()->setAttribute(Qt::WA_TransparentForMouseEvents);
}

template <class T> void ShapeElement::update(T& member, T value) {
    if (member == value)
        return;
    member = value;
    repaint();
}

void ShapeElement::setShape(int16_t s) {
    if (s < Rectangle || s > RoundedSquare)
        return;
    update(shape_, s);
}

void ShapeElement::setBorderColor(uint32_t c) {
    if (TranslateColor(c) < 0)
        return;
    update(borderColor_, c);
}

void ShapeElement::setBorderStyle(int16_t s) {
    if (s < BorderTransparent || s > BorderInsideSolid)
        return;
    update(borderStyle_, s);
}

void ShapeElement::setBorderWidth(int16_t w) {
    if (w < 1 || w > 8192)
        return;
    update(borderWidth_, w);
}

void ShapeElement::setFillColor(uint32_t c) {
    if (TranslateColor(c) < 0)
        return;
    update(fillColor_, c);
}

void ShapeElement::setFillStyle(int16_t s) {
    if (s < FillSolid || s > FillDiagonalCross)
        return;
    update(fillStyle_, s);
}

void ShapeElement::setBackColor(uint32_t c) {
    if (TranslateColor(c) < 0)
        return;
    update(backColor_, c);
}

void ShapeElement::setBackStyle(int16_t s) {
    if (s != Transparent && s != Opaque)
        return;
    update(backStyle_, s);
}

void ShapeElement::paint(QPainter& p, const QRect& r) {
    QRect box = r;
    if (shape_ == Square || shape_ == Circle || shape_ == RoundedSquare) {
        const int side = std::min(r.width(), r.height());
        box = QRect(r.x() + (r.width() - side) / 2, r.y() + (r.height() - side) / 2, side, side);
    }
    if (box.isEmpty())
        return;
    const bool rectangular = shape_ == Rectangle || shape_ == Square;
    const qreal radius = std::min(box.width(), box.height()) / 6.0;
    QPainterPath outline;
    if (rectangular)
        outline.addRect(box);
    else if (shape_ == Oval || shape_ == Circle)
        outline.addEllipse(box);
    else
        outline.addRoundedRect(box, radius, radius);

    p.setRenderHint(QPainter::Antialiasing, false);
    if (backStyle_ == Opaque)
        p.fillPath(outline, toQColor(backColor_));
    if (fillStyle_ != FillTransparent)
        p.fillPath(outline, QBrush(toQColor(fillColor_), brushOf(fillStyle_)));
    if (borderStyle_ == BorderTransparent)
        return;

    const QColor border = toQColor(borderColor_);
    const bool solid = borderStyle_ == BorderSolid || borderStyle_ == BorderInsideSolid;
    // Patterned outlines exist only one pixel wide.
    const int w = solid ? std::min<int>(borderWidth_, std::min(box.width(), box.height()) / 2 + 1) : 1;
    if (rectangular && solid) {
        // Whole-pixel bands, so the outline covers exactly the outer w pixels.
        p.fillRect(QRect(box.left(), box.top(), box.width(), w), border);
        p.fillRect(QRect(box.left(), box.bottom() - w + 1, box.width(), w), border);
        p.fillRect(QRect(box.left(), box.top(), w, box.height()), border);
        p.fillRect(QRect(box.right() - w + 1, box.top(), w, box.height()), border);
        return;
    }
    QPen pen(border, w, penOf(borderStyle_));
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    // A pen is centred on its path: inset by half its width to stay inside.
    const qreal inset = w / 2.0;
    const QRectF inner = QRectF(box).adjusted(inset, inset, -inset, -inset);
    if (rectangular)
        p.drawRect(inner);
    else if (shape_ == Oval || shape_ == Circle)
        p.drawEllipse(inner);
    else
        p.drawRoundedRect(inner, radius, radius);
}

std::unique_ptr<Element> ShapeElement::cloneAs(Control& owner, int index) const {
    auto e = std::make_unique<ShapeElement>(owner, Name(), index);
    e->shape_ = shape_;
    e->borderColor_ = borderColor_;
    e->borderStyle_ = borderStyle_;
    e->borderWidth_ = borderWidth_;
    e->fillColor_ = fillColor_;
    e->fillStyle_ = fillStyle_;
    e->backColor_ = backColor_;
    e->backStyle_ = backStyle_;
    return e;
}

} // namespace korva
