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
    // Consecutive pairs (0, 1), (2, 3), ... are the lines, drawn in that order
    // from the first point of the pair towards the second. The sweep may stop
    // right after the start of a new line; that trailing single point is no line.
    std::vector<GradientPoint> points;
    // How far each point lies from the point two places before it: (+-1, 0) or
    // (0, +-1). Every line is thus the first line moved by whole pixels.
    int stepX = 0;
    int stepY = 0;

    int lineCount() const { return static_cast<int>(points.size() / 2); }
};

// The lines that fill a width x height pixel area with a gradient running at
// `angle` degrees (counter-clockwise from the positive X axis, Y up on screen;
// expected in [0, 360)). No points when the area is smaller than 2 x 2 or its
// coordinates do not fit 32-bit integers.
GradientLines computeGradientLines(int width, int height, float angle);

} // namespace korva
