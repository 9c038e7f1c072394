// How a one-pixel line is turned into pixels. Every surface that draws lines
// and every painter that writes pixels itself goes through rasterLine(), so a
// line drawn through LineSurface::drawLine() and the same line written straight
// into a backing image can never disagree.
//
// The walk is the integer midpoint (Bresenham) line:
// - the axis with the larger extent is the major axis (X when both are equal);
//   one pixel is painted per major step, so a line of major extent n paints
//   exactly n pixels;
// - it starts at (x0, y0) and stops before (x1, y1): the end point is never
//   painted, and a line whose ends coincide paints nothing;
// - tie rule: the minor coordinate of each pixel is the ideal line's value
//   rounded to the nearest integer, and an exact half rounds back towards the
//   start point (the walk moves sideways only once the ideal line is strictly
//   more than half a pixel away). A line drawn backwards may therefore differ
//   from the same line drawn forwards;
// - the pixels depend only on (x1 - x0, y1 - y0): a line moved by whole pixels
//   keeps its exact shape. Painters that draw many parallel copies of one line
//   rely on this.
#pragma once

#include <cmath>
#include <cstdint>

namespace korva {

// Lines are walked pixel by pixel, so end points further out than this are
// refused: one reaching millions of pixels away would stall the caller for
// nothing it could show.
inline constexpr double kDevicePixelRange = 1 << 22;

// A coordinate in device pixels, rounded; false when it is not finite or lies
// beyond kDevicePixelRange.
inline bool toDevicePixel(double v, int& out) {
    if (!std::isfinite(v) || std::fabs(v) > kDevicePixelRange)
        return false;
    out = static_cast<int>(std::lround(v));
    return true;
}

// How far along the minor axis, in magnitude, the pixel rasterLine() paints at
// major step i lies, for a line of major extent `major` and minor extent
// `minor` (both magnitudes, minor <= major, 0 <= i < major): the walk below in
// closed form, for painters that need the pixels of one stretch of a long
// line without walking up to it.
constexpr int64_t rasterMinorOffset(int64_t i, int64_t major, int64_t minor) {
    // The walk moves sideways once 2 * i * minor exceeds (2m + 1) * major.
    return (2 * i * minor + major - 1) / (2 * major);
}

// Calls plot(x, y) for each pixel of the line, in order from the start.
template <class Plot> constexpr void rasterLine(int x0, int y0, int x1, int y1, Plot&& plot) {
    const int64_t dx = static_cast<int64_t>(x1) - x0;
    const int64_t dy = static_cast<int64_t>(y1) - y0;
    const int64_t adx = dx < 0 ? -dx : dx;
    const int64_t ady = dy < 0 ? -dy : dy;
    const int sx = dx < 0 ? -1 : 1;
    const int sy = dy < 0 ? -1 : 1;
    int x = x0;
    int y = y0;
    // err / (2 * major) is how far the ideal line has drifted from the pixel
    // row (or column) being painted, measured along the minor axis.
    int64_t err = 0;
    if (adx >= ady) {
        for (int64_t i = 0; i < adx; ++i) {
            plot(x, y);
            x += sx;
            err += 2 * ady;
            if (err > adx) {
                y += sy;
                err -= 2 * adx;
            }
        }
    } else {
        for (int64_t i = 0; i < ady; ++i) {
            plot(x, y);
            y += sy;
            err += 2 * adx;
            if (err > ady) {
                x += sx;
                err -= 2 * ady;
            }
        }
    }
}

} // namespace korva
