#include "frame/elements/image_element_p.h"

#include <QPainter>

namespace korva {

ImageElement::ImageElement(Control& owner, const QString& name, int index)
    : Element(owner, name, index, true) {}

void ImageElement::setPicture(const Picture& p) {
    // Assigning the same picture again is common (every mouse move); skip the repaint.
    if (picture_.handle() == p.handle())
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
    const qreal ratio = p.device() ? p.device()->devicePixelRatio() : 1.0;
    if (stretch_ && ratio != 1.0 && picture_.draw && !r.isEmpty()) {
        p.drawImage(r, atDeviceSize((QSizeF(r.size()) * ratio).toSize(), ratio));
    } else if (stretch_)
        p.drawImage(r, picture_.image);
    else
        p.drawImage(r.topLeft(), picture_.image);
}

const QImage& ImageElement::atDeviceSize(QSize pixels, qreal ratio) {
    if (!device_)
        device_ = std::make_unique<DeviceImage>();
    if (device_->of != picture_.image.cacheKey() || device_->image.size() != pixels) {
        device_->image = picture_.draw(pixels);
        device_->image.setDevicePixelRatio(ratio);
        device_->of = picture_.image.cacheKey();
    }
    return device_->image;
}

std::unique_ptr<Element> ImageElement::cloneAs(Control& owner, int index) const {
    auto e = std::make_unique<ImageElement>(owner, Name(), index);
    e->picture_ = picture_;
    e->stretch_ = stretch_;
    return e;
}

} // namespace korva
