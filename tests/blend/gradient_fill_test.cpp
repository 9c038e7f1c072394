#include "blend/gradient_fill.h"
#include "frame/image_surface.h"

#include <gtest/gtest.h>

namespace korva {
namespace {

// Any line shape with any sweep, including the shapes the gradient geometry
// rarely makes (a flat line swept sideways, a steep one swept up or down, where
// neighbouring lines overlap and the later one must win), placed partly off
// the image, must come out exactly as the lines drawn one by one.
TEST(GradientFill, matchesLinesDrawnOneByOne) {
    const int steps[][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    const int width = 9, height = 7;
    for (const auto& step : steps)
        for (int dx = -11; dx <= 11; dx += 2)
            for (int dy = -11; dy <= 11; dy += 3)
                for (int start : {-14, -3, 4}) {
                    SCOPED_TRACE(testing::Message() << "step " << step[0] << "," << step[1] << " line " << dx
                                                    << "," << dy << " start " << start);
                    GradientLines lines;
                    lines.stepX = step[0];
                    lines.stepY = step[1];
                    const GradientPoint first{step[0] != 0 ? start : 2, step[1] != 0 ? start : 3};
                    lines.points = {first, {first.x + dx, first.y + dy}};
                    // 23 lines and a lone trailing start point that must not be drawn.
                    while (lines.points.size() < 47) {
                        const GradientPoint p = lines.points[lines.points.size() - 2];
                        lines.points.push_back({p.x + step[0], p.y + step[1]});
                    }
                    std::vector<int32_t> colours;
                    for (int k = 0; k < 24; ++k)
                        colours.push_back(0x010305 * (k + 1));

                    ImageSurface expected(width, height, 0x00FF00);
                    for (int k = 0; k < lines.lineCount(); ++k) {
                        const GradientPoint a = lines.points[2 * k], b = lines.points[2 * k + 1];
                        expected.drawLine(a.x, a.y, b.x, b.y, static_cast<uint32_t>(colours[k]));
                    }
                    ImageSurface direct(width, height, 0x00FF00);
                    fillGradientLines(*direct.backingImage(), lines, colours);
                    ASSERT_EQ(direct.image(), expected.image());
                }
}

TEST(GradientFill, leavesImageAloneWithoutEnoughColoursOrWrongFormat) {
    GradientLines lines;
    lines.stepX = 1;
    lines.points = {{0, 0}, {0, 5}, {1, 0}, {1, 5}};
    ImageSurface surface(4, 4, 0x00FF00);
    fillGradientLines(*surface.backingImage(), lines, {0x0000FF});
    EXPECT_EQ(surface.image(), ImageSurface(4, 4, 0x00FF00).image());
    QImage argb(4, 4, QImage::Format_ARGB32);
    argb.fill(0xFF00FF00);
    fillGradientLines(argb, lines, {0x0000FF, 0x0000FF});
    EXPECT_EQ(argb.pixel(0, 0), 0xFF00FF00u);
}

} // namespace
} // namespace korva
