// Where the lines of a linear gradient lie: a template line through the centre
// of the surface, turned perpendicular to the gradient direction, then moved one
// pixel at a time across the surface. Pure arithmetic, no surface needed.
#pragma once

#include <cstdint>
#include <vector>

namespace korva {

struct GradientPoint {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const GradientPoint&, const GradientPoint&) = default;
};

struct GradientLines {
    // The points of the sweep, in order: points 0 and 1 are the first line and
    // every later point is the one two places before it moved by one step, so
    // pairs (0, 1), (2, 3), ... are the lines, each the first moved by whole
    // pixels and drawn from its first point towards its second. The sweep may
    // stop right after the start of a new line; that trailing single point is
    // no line. Kept as first line, step and count, not as a list: a sweep over a
    // large surface has thousands of points that follow from these.
    GradientPoint first0;
    GradientPoint first1;
    int stepX = 0; // (+-1, 0) or (0, +-1)
    int stepY = 0;
    int64_t pointCount = 0;

    GradientPoint point(int64_t i) const {
        const auto k = static_cast<int32_t>(i / 2);
        const GradientPoint& p = i % 2 == 0 ? first0 : first1;
        return {p.x + k * stepX, p.y + k * stepY};
    }
    int64_t lineCount() const { return pointCount / 2; }
};

// The lines that fill a width x height pixel area with a gradient running at
// `angle` degrees (counter-clockwise from the positive X axis, Y up on screen;
// expected in [0, 360)). No points when the area is smaller than 2 x 2 or its
// coordinates do not fit 32-bit integers.
GradientLines computeGradientLines(int width, int height, float angle);

} // namespace korva
