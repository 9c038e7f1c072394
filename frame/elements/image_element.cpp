#include "frame/elements/image_element_p.h"

#include <QPainter>

namespace korva {

ImageElement::ImageElement(Control& owner, const QString& name, int index)
    : Element(owner, name, index, true) {}

void ImageElement::setPicture(const Picture& p) {
    // Assigning the same picture again is common (every mouse move); skip the repaint.
    if (picture_.image.cacheKey() == p.image.cacheKey())
        return;
    picture_ = p;
    repaint();
}

void ImageElement::setStretch(bool on) {
    stretch_ = on;
    repaint();
}

void ImageElement::paint(QPainter& p, const QRect& r) {
    if (picture_.isNull())
        return;
    if (stretch_)
        p.drawImage(r, picture_.image);
    else
        p.drawImage(r.topLeft(), picture_.image);
}

std::unique_ptr<Element> ImageElement::cloneAs(Control& owner, int index) const {
    auto e = std::make_unique<ImageElement>(owner, Name(), index);
    e->picture_ = picture_;
    e->stretch_ = stretch_;
    return e;
}

} // namespace korva
