#include "frame/image_surface.h"
#include "frame/line_raster.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace korva {
namespace {

struct Pixel {
    int x, y;
    friend bool operator==(const Pixel&, const Pixel&) = default;
};

std::vector<Pixel> walk(int x0, int y0, int x1, int y1) {
    std::vector<Pixel> out;
    rasterLine(x0, y0, x1, y1, [&](int x, int y) { out.push_back({x, y}); });
    return out;
}

// The same line from its closed form: one pixel per step of the longer axis,
// the other coordinate rounded to nearest with halves going back to the start.
std::vector<Pixel> closedForm(int x0, int y0, int x1, int y1) {
    const int dx = x1 - x0, dy = y1 - y0;
    const bool alongX = std::abs(dx) >= std::abs(dy);
    const int major = alongX ? std::abs(dx) : std::abs(dy);
    const int minor = alongX ? std::abs(dy) : std::abs(dx);
    const int majorSign = (alongX ? dx : dy) < 0 ? -1 : 1;
    const int minorSign = (alongX ? dy : dx) < 0 ? -1 : 1;
    std::vector<Pixel> out;
    for (int i = 0; i < major; ++i) {
        // Smallest m with m >= i * minor / major - 1/2.
        const int num = 2 * i * minor - major;
        const int den = 2 * major;
        const int m = num <= 0 ? -((-num) / den) : (num + den - 1) / den;
        const int a = i * majorSign, b = m * minorSign;
        out.push_back(alongX ? Pixel{x0 + a, y0 + b} : Pixel{x0 + b, y0 + a});
    }
    return out;
}

TEST(LineRaster, matchesClosedFormInEveryDirection) {
    for (int dx = -9; dx <= 9; ++dx)
        for (int dy = -9; dy <= 9; ++dy) {
            SCOPED_TRACE(testing::Message() << dx << "," << dy);
            const auto pixels = walk(3, -4, 3 + dx, -4 + dy);
            EXPECT_EQ(pixels, closedForm(3, -4, 3 + dx, -4 + dy));
            // Moving a line by whole pixels keeps its shape.
            auto moved = walk(103, 46, 103 + dx, 46 + dy);
            for (Pixel& p : moved)
                p = {p.x - 100, p.y - 50};
            EXPECT_EQ(moved, pixels);
        }
}

TEST(ImageSurface, clipsAndConvertsColour) {
    ImageSurface surface(6, 4);
    surface.drawLine(-3, -1, 9, 5, 0x00563412); // enters on the left, leaves through the bottom
    surface.drawLine(-5, 10, 20, 10, 0xFFFFFF); // misses entirely
    ImageSurface expected(6, 4);
    for (const Pixel& p : walk(-3, -1, 9, 5))
        if (p.x >= 0 && p.x < 6 && p.y >= 0 && p.y < 4)
            expected.backingImage()->setPixel(p.x, p.y, qRgb(0x12, 0x34, 0x56));
    EXPECT_EQ(surface.image(), expected.image());
    EXPECT_EQ(surface.colourAt(1, 1), 0x00563412);
    EXPECT_EQ(surface.colourAt(6, 0), -1);
}

} // namespace
} // namespace korva
