#include "frame/elements/image_surface_p.h"
#include "frame/elements/line_raster_p.h"
#include "support/reference_line.h"

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

std::vector<Pixel> closedForm(int x0, int y0, int x1, int y1) {
    std::vector<Pixel> out;
    for (const auto& [x, y] : fixtures::referenceLine(x0, y0, x1, y1))
        out.push_back({x, y});
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

// Painters that need only a stretch of a long line compute its pixels rather
// than walk to them; every pixel of the walk must agree, ties included.
TEST(LineRaster, minorOffsetsInClosedFormMatchTheWalk) {
    for (int dx : {1, 2, 7, 60, 99, 1416})
        for (int dy = 0; dy <= dx; dy += (dy < 12 ? 1 : 37)) {
            int64_t i = 0;
            rasterLine(0, 0, dx, -dy, [&](int x, int y) {
                ASSERT_EQ(x, i);
                ASSERT_EQ(-y, rasterMinorOffset(i, dx, dy)) << dx << "," << dy << " step " << i;
                ++i;
            });
            i = 0;
            rasterLine(0, 0, dy, dx, [&](int x, int y) {
                ASSERT_EQ(y, i);
                ASSERT_EQ(x, rasterMinorOffset(i, dx, dy)) << "steep " << dx << "," << dy << " step " << i;
                ++i;
            });
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
