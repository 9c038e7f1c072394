// A drawing target for code that paints with one-pixel lines: it reports its
// client size in device pixels and takes solid lines whose end point is not
// painted. The picture box implements it; painters that can write pixels
// directly may use backingImage() when it is offered, as long as the result
// is identical to the same lines drawn one by one.
#pragma once

#include <QImage>

#include <cstdint>

namespace korva {

class LineSurface {
public:
    virtual ~LineSurface() = default;

    // Client size in device pixels; false when the surface has no window to ask.
    virtual bool clientSize(int& width, int& height) const = 0;

    // A one-pixel solid line from (x0, y0) towards (x1, y1), end point excluded,
    // in colour 0x00BBGGRR. Pixels outside the surface are clipped.
    virtual void drawLine(int x0, int y0, int x1, int y1, uint32_t colour) = 0;

    // The image the lines land in, when the surface keeps one (format
    // QImage::Format_RGB32, same size as the client area); nullptr otherwise.
    virtual QImage* backingImage() { return nullptr; }

    // Tells the surface that its backing image was written to directly.
    virtual void backingImageChanged() {}
};

} // namespace korva
