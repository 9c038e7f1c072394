#include "frame/colour/qt_colour_p.h"
#include "frame/elements/label_element_p.h"

#include "frame/platform/fonts_p.h"
#include "frame/runtime/site.h"

#include <QFontMetricsF>
#include <QPainter>

namespace korva {

LabelElement::LabelElement(Control& owner, const QString& name, int index)
    : Element(owner, name, index, true) {}

void LabelElement::setCaption(const QString& c) {
    if (caption_ == c)
        return;
    caption_ = c;
    fitToText();
    repaint();
}

void LabelElement::setForeColor(uint32_t c) {
    if (foreColor_ == c)
        return;
    foreColor_ = c;
    repaint();
}

void LabelElement::setBackColor(uint32_t c) {
    backColor_ = c;
    repaint();
}

void LabelElement::setBackStyle(int16_t s) {
    backStyle_ = s;
    repaint();
}

void LabelElement::setAlignment(int16_t a) {
    alignment_ = a;
    repaint();
}

void LabelElement::setFont(const FontSpec& f) {
    font_ = f;
    fitToText();
    repaint();
}

void LabelElement::setAutoSize(bool on) {
    autoSize_ = on;
    fitToText();
}

void LabelElement::setWordWrap(bool on) {
    wordWrap_ = on;
    fitToText();
}

void LabelElement::fitToText() {
    if (!autoSize_)
        return;
    const QFontMetricsF fm(toQFont(font_));
    const Site& s = *owner().site();
    if (wordWrap_) {
        const QRectF br =
            fm.boundingRect(QRectF(0, 0, s.toPixelsX(Width()), 1e6), Qt::TextWordWrap, caption_);
        setHeight(static_cast<float>(s.fromPixelsY(std::ceil(br.height()))));
    } else {
        setWidth(static_cast<float>(s.fromPixelsX(std::ceil(fm.horizontalAdvance(caption_)))));
        setHeight(static_cast<float>(s.fromPixelsY(std::ceil(fm.height()))));
    }
}

void LabelElement::paint(QPainter& p, const QRect& r) {
    if (backStyle_ == Opaque)
        p.fillRect(r, toQColor(backColor_));
    p.setFont(toQFont(font_));
    p.setPen(toQColor(foreColor_));
    const int h = alignment_ == Center         ? Qt::AlignHCenter
                  : alignment_ == RightJustify ? Qt::AlignRight
                                               : Qt::AlignLeft;
    p.drawText(r, h | Qt::AlignTop | Qt::TextWordWrap, caption_);
}

std::unique_ptr<Element> LabelElement::cloneAs(Control& owner, int index) const {
    auto e = std::make_unique<LabelElement>(owner, Name(), index);
    e->caption_ = caption_;
    e->foreColor_ = foreColor_;
    e->backColor_ = backColor_;
    e->backStyle_ = backStyle_;
    e->alignment_ = alignment_;
    e->font_ = font_;
    e->autoSize_ = autoSize_;
    e->wordWrap_ = wordWrap_;
    return e;
}

} // namespace korva
