#include "blend/gradient_geometry_p.h"

#include "frame/values/convert_p.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace korva {

namespace {

// How many moves along the sweep take a point starting at `start` beyond the
// far edge `limit` (X > W or Y > H for a positive step, below 0 for a negative one).
int64_t stepsBeyond(int64_t start, int step, int64_t limit) {
    return std::max<int64_t>(0, step > 0 ? limit - start + 1 : start + 1);
}

} // namespace

GradientLines computeGradientLines(int width, int height, float angle) {
    GradientLines out;
    if (width <= 1 || height <= 1)
        return out;
    // Line ends reach about 1.5 sizes past the surface; keep every point in range.
    if (static_cast<double>(std::max(width, height)) * 4.0 > static_cast<double>(INT32_MAX))
        return out;

    // The working points are single precision on purpose: every rounding step
    // below decides which pixel a line end lands on.
    const float cx = static_cast<float>(std::floor(width * 0.5));
    const float cy = static_cast<float>(std::floor(height * 0.5));
    const float m = static_cast<float>(width > height ? width : height);
    const double md = m;
    // Half the diagonal of an M x M square plus a pixel: a line through the
    // centre then always reaches beyond the surface, whatever its direction.
    const float r = static_cast<float>((std::sqrt(md * md + md * md) + 2.0) * 0.5);

    float p0x = cx - r;
    float p0y = cy;
    float p1x = r + cx;
    float p1y = cy;

    // The lines run perpendicular to the gradient.
    const double lineAngle = static_cast<double>(angle) + 90.0;
    const float a = static_cast<float>(lineAngle - std::floor(std::floor(lineAngle / 360.0) * 360.0));
    const float t = static_cast<float>(static_cast<double>(a) * 4.0 * std::atan(1.0) / 180.0);
    const double cosT = std::cos(static_cast<double>(t));
    const double sinT = std::sin(static_cast<double>(t));
    // Screen Y points down, so this turns the line counter-clockwise as seen.
    auto rotate = [&](float& px, float& py) {
        const float dx = px - cx;
        const float dy = py - cy;
        const float nx = static_cast<float>(cx + (dx * cosT + dy * sinT));
        const float ny = static_cast<float>(cy + -(dx * sinT - dy * cosT));
        px = nx;
        py = ny;
    };
    rotate(p0x, p0y);
    rotate(p1x, p1y);

    // A line at least as steep as 45 degrees is swept sideways, a flatter one
    // up or down. The first line touches the edge the sweep starts from.
    const float ax = std::fabs(p0x - p1x);
    const float ay = std::fabs(p0y - p1y);
    double xOff = 0.0;
    double yOff = 0.0;
    if (ay >= ax) {
        if (angle <= 90.0f || angle > 270.0f) {
            out.stepX = 1;
            xOff = -static_cast<double>(std::max(p0x, p1x));
        } else {
            out.stepX = -1;
            xOff = width - static_cast<double>(std::min(p0x, p1x));
        }
    } else {
        if (angle <= 180.0f) {
            out.stepY = -1;
            yOff = height - static_cast<double>(std::min(p0y, p1y));
        } else {
            out.stepY = 1;
            yOff = -static_cast<double>(std::max(p0y, p1y));
        }
    }

    GradientPoint first;
    GradientPoint second;
    if (!toLong(xOff + p0x, first.x) || !toLong(yOff + p0y, first.y) || !toLong(xOff + p1x, second.x) ||
        !toLong(yOff + p1y, second.y)) {
        out.stepX = out.stepY = 0;
        return out;
    }

    out.first0 = first;
    out.first1 = second;
    // The sweep adds points until the two newest both lie beyond the far edge,
    // and never stops before a third. Points 2k move with the first end and
    // points 2k + 1 with the second; once one of them is beyond, all later ones
    // of its kind are too. So the sweep stops right after the later of the first
    // even point beyond and the first odd point beyond.
    const bool alongX = out.stepX != 0;
    const int step = alongX ? out.stepX : out.stepY;
    const int64_t limit = alongX ? width : height;
    const int64_t firstEvenBeyond = 2 * stepsBeyond(alongX ? first.x : first.y, step, limit);
    const int64_t firstOddBeyond = 2 * stepsBeyond(alongX ? second.x : second.y, step, limit) + 1;
    out.pointCount = std::max<int64_t>(3, std::max(firstEvenBeyond, firstOddBeyond) + 1);
    return out;
}

} // namespace korva
