#include "colors/hls_p.h"

#include "frame/values/rounding_p.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korva {
namespace {

// The formulas are only meaningful on the 0..240 scale; outside it the
// results saturate instead of overflowing, so any input gives some colour.
std::int32_t saturate(double x) {
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(x, lo, hi));
}

std::int32_t nearest(double x) { return saturate(roundHalfEven(x)); }

// Integer products in double: exact for every value on the 0..240 scale, and
// no overflow for anything else.
double times(std::int64_t a, std::int64_t b) { return static_cast<double>(a) * static_cast<double>(b); }

// Each step of a formula is its own statement on purpose: a compiler allowed
// to fuse a multiply and an add would round once instead of twice and move the
// odd exact tie (232.5 and friends) to the other integer.
double scaled(double numerator, double denominator, double factor) {
    const double q = numerator / denominator;
    return q * factor;
}

std::int32_t toChannel(std::int32_t value240) {
    const std::int32_t c = nearest(times(value240, 256) / 240.0);
    return std::clamp(c, 0, 255);
}

} // namespace

std::int32_t HueToRgb(std::int32_t M1, std::int32_t M2, std::int32_t h) {
    if (h < 0)
        h += 240;
    if (h > 240)
        h -= 240;
    if (h < 40) {
        const double rise = scaled(times(std::int64_t{M2} - M1, h), 240.0, 6.0);
        return nearest(rise + M1);
    }
    if (h < 120)
        return M2;
    if (h < 160) {
        const double fall = scaled(times(160 - h, std::int64_t{M2} - M1), 240.0, 6.0);
        return nearest(fall + M1);
    }
    return M1;
}

std::uint32_t HlsToRgb(std::int32_t Hue, std::int32_t Saturation, std::int32_t Luminance) {
    std::int32_t r = 0;
    std::int32_t g = 0;
    std::int32_t b = 0;
    if (Saturation == 0) {
        r = g = b = toChannel(Luminance);
    } else {
        std::int32_t m2 = 0;
        if (Luminance > 120) {
            const double share = times(Luminance, Saturation) / 240.0;
            m2 = nearest(static_cast<double>(std::int64_t{Luminance} + Saturation) - share);
        } else {
            m2 = nearest(times(Luminance, std::int64_t{240} + Saturation) / 240.0);
        }
        const std::int32_t m1 = saturate(static_cast<double>(2 * std::int64_t{Luminance} - m2));
        // Hue is whole already, so rounding the shifted hues changes nothing.
        r = toChannel(HueToRgb(m1, m2, saturate(std::int64_t{Hue} + 80.0)));
        g = toChannel(HueToRgb(m1, m2, Hue));
        b = toChannel(HueToRgb(m1, m2, saturate(std::int64_t{Hue} - 80.0)));
    }
    return static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) |
           (static_cast<std::uint32_t>(b) << 16);
}

Hls RgbToHls(std::uint32_t Color) {
    const std::int32_t r = static_cast<std::int32_t>(Color & 0xFFu);
    const std::int32_t g = static_cast<std::int32_t>((Color >> 8) & 0xFFu);
    const std::int32_t b = static_cast<std::int32_t>((Color >> 16) & 0xFFu);
    const std::int32_t max = std::max({r, g, b});
    const std::int32_t min = std::min({r, g, b});
    const std::int32_t sum = max + min;
    const std::int32_t delta = max - min;

    Hls out;
    out.Luminance = nearest(scaled(sum, 512.0, 240.0));
    if (max == min)
        return out;

    if (out.Luminance <= 120)
        out.Saturation = nearest(scaled(delta, sum, 240.0));
    else
        out.Saturation = nearest(times(delta, 240) / static_cast<double>(512 - sum));

    auto distance = [&](std::int32_t channel) {
        const double share = scaled(max - channel, delta, 240.0);
        return share / 6.0;
    };
    const double rd = distance(r);
    const double gd = distance(g);
    const double bd = distance(b);

    // Red is tested first, so a tie between red and another channel takes the
    // red formula.
    if (r == max)
        out.Hue = nearest(bd - gd);
    else if (g == max)
        out.Hue = nearest((rd - bd) + 80.0);
    else
        out.Hue = nearest((gd - rd) + 160.0);
    if (out.Hue < 0)
        out.Hue += 240;
    return out;
}

} // namespace korva
