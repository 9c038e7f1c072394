// Image element: shows a picture, stretched to its own size when asked.
#pragma once

#include "frame/runtime/element_p.h"

#include <memory>

namespace korva {

class ImageElement : public Element {
public:
    ImageElement(Control& owner, const QString& name, int index = -1);

    const Picture& picture() const { return picture_; }
    void setPicture(const Picture& p);
    bool Stretch() const { return stretch_; }
    void setStretch(bool on);

    void paint(QPainter& p, const QRect& r) override;
    std::unique_ptr<Element> cloneAs(Control& owner, int index) const override;

private:
    // The picture as last drawn at device resolution (see Picture::draw).
    const QImage& atDeviceSize(QSize pixels, qreal ratio);

    Picture picture_;
    bool stretch_ = false;
    // Only on high-density screens: most images never need one.
    struct DeviceImage {
        QImage image;
        qint64 of = 0; // cacheKey of the picture it was drawn for
    };
    std::unique_ptr<DeviceImage> device_;
};

} // namespace korva
