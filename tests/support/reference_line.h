// The pixels of a one-pixel line worked out from its closed form rather than
// by walking it: one pixel per step of the longer axis (X on a tie), the other
// coordinate rounded to nearest with halves back towards the start, the end
// point left out. Tests compare the rasteriser and every surface against it.
#pragma once

#include <cstdlib>
#include <utility>
#include <vector>

namespace korva::fixtures {

inline std::vector<std::pair<int, int>> referenceLine(int x0, int y0, int x1, int y1) {
    const int dx = x1 - x0, dy = y1 - y0;
    const bool alongX = std::abs(dx) >= std::abs(dy);
    const int major = alongX ? std::abs(dx) : std::abs(dy);
    const int minor = alongX ? std::abs(dy) : std::abs(dx);
    const int majorSign = (alongX ? dx : dy) < 0 ? -1 : 1;
    const int minorSign = (alongX ? dy : dx) < 0 ? -1 : 1;
    std::vector<std::pair<int, int>> out;
    for (int i = 0; i < major; ++i) {
        // Smallest m with m >= i * minor / major - 1/2, in integers.
        const int num = 2 * i * minor - major;
        const int den = 2 * major;
        const int m = num <= 0 ? -((-num) / den) : (num + den - 1) / den;
        const int a = i * majorSign, b = m * minorSign;
        out.emplace_back(alongX ? x0 + a : x0 + b, alongX ? y0 + b : y0 + a);
    }
    return out;
}

} // namespace korva::fixtures
