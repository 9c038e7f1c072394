// Hue / luminance / saturation arithmetic on the 0..240 scale that generates
// every palette colour.
//
// The results must match the colours users already have saved cell for cell,
// so the arithmetic is deliberately not textbook HLS: channels are scaled by
// 256/240 (luminance 120 at saturation 0 is 0x80, not 0x7F), every double is
// rounded to the nearest integer with ties to even, and RgbToHls never wraps a
// hue from above.
#pragma once

#include <cstdint>

namespace korva {

struct Hls {
    std::int32_t Hue = 0;
    std::int32_t Saturation = 0;
    std::int32_t Luminance = 0;

    bool operator==(const Hls&) const = default;
};

// One channel on the 0..240 scale for hue h (wrapped once into 0..240) between
// the two magnitudes M1 and M2.
std::int32_t HueToRgb(std::int32_t M1, std::int32_t M2, std::int32_t h);

// 0x00BBGGRR colour; channels clamped to 0..255.
std::uint32_t HlsToRgb(std::int32_t Hue, std::int32_t Saturation, std::int32_t Luminance);

// The low three bytes are read as plain red, green, blue; a system colour
// (top bit set) is not translated first. Greys have hue 0 and saturation 0.
Hls RgbToHls(std::uint32_t Color);

} // namespace korva
