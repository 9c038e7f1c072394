// A line surface that paints into an image it owns. Tests draw through it, and
// a picture box can keep one as its persistent backing image.
#pragma once

#include "frame/elements/line_surface_p.h"

#include <QImage>

#include <cstdint>

namespace korva {

// The RGB32 pixel of a colour 0x00BBGGRR. The top byte takes no part: a line
// colour is always plain RGB by the time it is drawn.
constexpr QRgb pixelOfColour(uint32_t colour) {
    return 0xFF000000u | ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

// The colour 0x00BBGGRR of an RGB32 pixel.
constexpr uint32_t colourOfPixel(QRgb pixel) {
    return ((pixel >> 16) & 0xFFu) | (pixel & 0xFF00u) | ((pixel & 0xFFu) << 16);
}

class ImageSurface : public LineSurface {
public:
    // A width x height image filled with `background` (0x00BBGGRR). A size of
    // zero or less gives an empty surface.
    ImageSurface(int width, int height, uint32_t background = 0);
    // A surface on an existing RGB32 image (shared until either side writes).
    explicit ImageSurface(QImage image) : image_(std::move(image)) {}

    bool clientSize(int& width, int& height) const override;
    void drawLine(int x0, int y0, int x1, int y1, uint32_t colour) override;
    QImage* backingImage() override { return &image_; }
    void backingImageChanged() override { ++directWrites_; }

    const QImage& image() const { return image_; }
    // The colour at (x, y) as 0x00BBGGRR; -1 outside the image.
    int64_t colourAt(int x, int y) const;
    // How often a painter reported writing into the image directly.
    int directWrites() const { return directWrites_; }

private:
    QImage image_;
    int directWrites_ = 0;
};

} // namespace korva
