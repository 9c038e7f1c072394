#include "colors/hls_p.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace korva {
namespace {

TEST(HueToRgb, WrapsOnceThenPicksTheSegment) {
    struct Row {
        std::int32_t h, expected;
    };
    // M1 = 0, M2 = 240: the rising and falling segments are straight lines.
    const Row rows[] = {{0, 0},     {20, 120},   {39, 234},  {40, 240}, {119, 240},
                        {120, 240}, {140, 120},  {160, 0},   {240, 0}, // 240 is not wrapped to 0
                        {-80, 0},   {-220, 120}, {280, 240}, {260, 120}};
    for (const Row& r : rows)
        EXPECT_EQ(HueToRgb(0, 240, r.h), r.expected) << "h=" << r.h;
    // The segments round half to even: 3 x 20 / 240 x 6 + 0 = 1.5 -> 2, and 2.5 -> 2.
    EXPECT_EQ(HueToRgb(0, 3, 20), 2);
    EXPECT_EQ(HueToRgb(0, 5, 20), 2);
}

TEST(HlsToRgb, OutOfScaleInputsStillGiveAColour) {
    // Saturation above 240 drives M1 below zero; the channel clamps at 0.
    EXPECT_EQ(HlsToRgb(0, 480, 120), 0x000000FFu);
    EXPECT_EQ(HlsToRgb(0, 240, 100000) & 0xFF000000u, 0u);
    (void)HlsToRgb(INT32_MAX, INT32_MAX, INT32_MAX);
    (void)HlsToRgb(INT32_MIN, INT32_MIN, INT32_MIN);
}

TEST(RgbToHls, KnownColoursAndTies) {
    struct Row {
        const char* what;
        std::uint32_t color;
        Hls expected;
    };
    const Row rows[] = {{"black", 0x00000000, {0, 0, 0}},
                        {"white loses one step", 0x00FFFFFF, {0, 0, 239}},
                        {"gray", 0x00808080, {0, 0, 120}},
                        {"L 15 exactly", 0x00101010, {0, 0, 15}},
                        {"L 7.5 rounds up to even", 0x00080808, {0, 0, 8}},
                        {"L 22.5 rounds down to even", 0x00181818, {0, 0, 22}},
                        {"red", 0x000000FF, {0, 240, 120}},
                        {"blue", 0x00FF0000, {160, 240, 120}},
                        {"magenta wraps below zero", 0x00FF00FF, {200, 240, 120}},
                        {"light branch of saturation", 0x00E0E0FF, {0, 225, 225}},
                        {"top byte is not a system colour here", 0x800000FF, {0, 240, 120}}};
    for (const Row& r : rows)
        EXPECT_EQ(RgbToHls(r.color), r.expected) << r.what;
}

TEST(RgbToHls, RoundTripIsExactForFullySaturatedDarkTones) {
    // At the palette's luminances up to 120 every hue comes back unchanged;
    // lighter colours clip a channel and come back less saturated (above).
    for (std::int32_t hue = 0; hue < 240; ++hue) {
        for (std::int32_t lum : {40, 60, 75, 90, 105, 120}) {
            const Hls expected{hue, 240, lum};
            EXPECT_EQ(RgbToHls(HlsToRgb(hue, 240, lum)), expected) << hue << "," << lum;
        }
    }
}

} // namespace
} // namespace korva
