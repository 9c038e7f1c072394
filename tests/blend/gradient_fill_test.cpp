#include "blend/gradient_fill_p.h"
#include "frame/elements/image_surface_p.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace korva {
namespace {

// Any line shape with any sweep, including those the gradient geometry rarely
// makes (a flat line swept sideways, a steep one swept up or down, where
// neighbouring lines overlap and the later one must win), placed partly off
// the image, must come out exactly as the lines drawn one by one.
TEST(GradientFill, matchesLinesDrawnOneByOne) {
    const int steps[][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const auto& step : steps)
        for (int dx = -11; dx <= 11; dx += 2)
            for (int dy = -11; dy <= 11; dy += 3)
                for (int start : {-14, -3, 4})
                    for (int across : {2, -1}) { // from inside, or wide enough to span the image
                        SCOPED_TRACE(testing::Message() << step[0] << "," << step[1] << " line " << dx << ","
                                                        << dy << " from " << start << " across " << across);
                        GradientLines lines;
                        lines.stepX = step[0];
                        lines.stepY = step[1];
                        lines.first0 = {step[0] != 0 ? start : across, step[1] != 0 ? start : across + 1};
                        lines.first1 = {lines.first0.x + dx, lines.first0.y + dy};
                        // 23 lines and a lone start point that must not be drawn.
                        lines.pointCount = 47;
                        std::vector<int32_t> colours;
                        for (int k = 1; k <= 24; ++k)
                            colours.push_back(0x010305 * k);

                        ImageSurface expected(9, 7, 0x00FF00);
                        for (int k = 0; k < lines.lineCount(); ++k) {
                            const GradientPoint a = lines.point(2 * k), b = lines.point(2 * k + 1);
                            expected.drawLine(a.x, a.y, b.x, b.y, static_cast<uint32_t>(colours[k]));
                        }
                        ImageSurface direct(9, 7, 0x00FF00);
                        fillGradientLines(*direct.backingImage(), lines, colours);
                        ASSERT_EQ(direct.image(), expected.image());
                    }
}

// Images the painter did not allocate may start anywhere; rows whose pixels
// start off a 32-byte boundary are painted with a few columns on their own.
TEST(GradientFill, rowsStartingAnywhereInMemory) {
    for (const auto& [w, h] : {std::pair{37, 20}, {64, 9}})
        for (float angle : {60.0f, 100.0f, 135.0f, 250.0f, 300.0f, 0.0f, 200.0f})
            for (int shift = 0; shift < 8; ++shift) {
                SCOPED_TRACE(testing::Message() << w << "x" << h << " at " << angle << " shifted " << shift);
                const GradientLines lines = computeGradientLines(w, h, angle);
                std::vector<int32_t> colours;
                for (int64_t k = 0; k < lines.lineCount(); ++k)
                    colours.push_back(static_cast<int32_t>(0x010305 * (k + 1)));
                ImageSurface expected(w, h, 0x00FF00);
                for (int k = 0; k < lines.lineCount(); ++k) {
                    const GradientPoint a = lines.point(2 * k), b = lines.point(2 * k + 1);
                    expected.drawLine(a.x, a.y, b.x, b.y, static_cast<uint32_t>(colours[k]));
                }
                const qsizetype bytesPerLine = (w * 4 + 31) / 32 * 32;
                alignas(64) static QRgb buffer[64 * 80];
                QImage image(reinterpret_cast<uchar*>(buffer + shift), w, h, bytesPerLine,
                             QImage::Format_RGB32);
                image.fill(pixelOfColour(0x00FF00));
                fillGradientLines(image, lines, colours);
                ASSERT_EQ(image, expected.image());
            }
}

} // namespace
} // namespace korva
