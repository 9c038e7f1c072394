#include "frame/elements/image_surface_p.h"

#include "frame/elements/line_raster_p.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace korva {

namespace {

// Rows start on a cache line: painters that write whole vector registers then
// never split a store across two lines, whatever the width.
constexpr qsizetype kRowAlignment = 64;

void releaseRows(void* rows) { std::free(rows); }

QImage imageWithAlignedRows(int width, int height) {
    const qsizetype bytesPerLine = (qsizetype{width} * 4 + kRowAlignment - 1) / kRowAlignment * kRowAlignment;
    if (bytesPerLine > std::numeric_limits<int>::max() ||
        height > std::numeric_limits<qsizetype>::max() / bytesPerLine)
        return QImage(width, height, QImage::Format_RGB32);
    void* rows = std::aligned_alloc(kRowAlignment, static_cast<size_t>(bytesPerLine * height));
    if (!rows)
        return QImage(width, height, QImage::Format_RGB32);
    QImage image(static_cast<uchar*>(rows), width, height, bytesPerLine, QImage::Format_RGB32, &releaseRows,
                 rows);
    if (image.isNull()) {
        std::free(rows);
        return QImage(width, height, QImage::Format_RGB32);
    }
    return image;
}

} // namespace

ImageSurface::ImageSurface(int width, int height, uint32_t background) {
    if (width <= 0 || height <= 0)
        return;
    image_ = imageWithAlignedRows(width, height);
    image_.fill(pixelOfColour(background));
}

bool ImageSurface::clientSize(int& width, int& height) const {
    width = image_.width();
    height = image_.height();
    return true;
}

void ImageSurface::drawLine(int x0, int y0, int x1, int y1, uint32_t colour) {
    const int w = image_.width();
    const int h = image_.height();
    // Lines that miss the image entirely are common (gradients sweep well past
    // the edges), so they are dropped before walking them pixel by pixel.
    if (std::max(x0, x1) < 0 || std::min(x0, x1) >= w || std::max(y0, y1) < 0 || std::min(y0, y1) >= h)
        return;
    const QRgb pixel = pixelOfColour(colour);
    rasterLine(x0, y0, x1, y1, [&](int x, int y) {
        if (x >= 0 && x < w && y >= 0 && y < h)
            reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = pixel;
    });
}

int64_t ImageSurface::colourAt(int x, int y) const {
    if (!image_.valid(x, y))
        return -1;
    return colourOfPixel(image_.pixel(x, y));
}

} // namespace korva
