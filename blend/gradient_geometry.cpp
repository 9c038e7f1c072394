#include "blend/gradient_geometry_p.h"

#include "frame/values/convert_p.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace korva {

namespace {

// The sweep stops once both of the two newest points are past the far edge.
// Those two are not always the ends of one line (after an odd count they are
// the start of a new line and the end of the last one), which is why the sweep
// can stop with a single trailing point.
bool beyondFarEdge(const GradientPoint& p, int stepX, int stepY, int width, int height) {
    if (stepX > 0)
        return p.x > width;
    if (stepX < 0)
        return p.x < 0;
    if (stepY > 0)
        return p.y > height;
    return p.y < 0;
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

    // Each sweep crosses the surface plus the two half-lengths that stick out,
    // so this is a close upper bound on the number of points.
    const double span = (out.stepX != 0 ? width : height) + 2.0 * r + 4.0;
    out.points.reserve(static_cast<size_t>(2.0 * span));
    out.points.push_back(first);
    out.points.push_back(second);
    for (;;) {
        const GradientPoint& from = out.points[out.points.size() - 2];
        out.points.push_back({from.x + out.stepX, from.y + out.stepY});
        const size_t n = out.points.size();
        if (beyondFarEdge(out.points[n - 1], out.stepX, out.stepY, width, height) &&
            beyondFarEdge(out.points[n - 2], out.stepX, out.stepY, width, height))
            break;
    }
    return out;
}

} // namespace korva
