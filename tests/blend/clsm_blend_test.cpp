#include "blend/clsm_blend_p.h"
#include "blend/gradient_geometry_p.h"
#include "blend/pixel_rows_p.h"
#include "frame/colour/colour_p.h"
#include "frame/elements/image_surface_p.h"
#include "frame/platform/scripted_platform_p.h"
#include "frame/values/convert_p.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <limits>

namespace korva {
namespace {

// Offers no backing image, so Draw has to go through drawLine.
class LinesOnlySurface : public ImageSurface {
public:
    using ImageSurface::ImageSurface;
    QImage* backingImage() override { return nullptr; }
};

// Answers every system colour with a value that encodes its index.
class MarkedColours : public ScriptedPlatform {
public:
    bool systemColour(int index, uint32_t& out) const override {
        out = rgb(1, 2, index);
        return true;
    }
};

std::vector<int32_t> colourRun(int32_t c1, int32_t c2, int32_t steps) {
    std::vector<int32_t> out;
    clsm_BLEND::BlendColors(c1, c2, steps, out);
    return out;
}

TEST(ClsmBlend, angleIsKeptWithinOneTurn) {
    EXPECT_EQ(clsm_BLEND().Angle(), 315.0f);
    const float rows[][2] = {{-90.0f, 270.0f},    {360.0f, 0.0f}, {450.0f, 90.0f}, {720.5f, 0.5f},
                             {-450.25f, 269.75f}, {1e9f, 280.0f}, {-1e-6f, 0.0f}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r[0]);
        clsm_BLEND blend;
        blend.setAngle(r[0]);
        EXPECT_EQ(blend.Angle(), r[1]);
    }
    clsm_BLEND blend;
    blend.setAngle(45.0f);
    blend.setAngle(std::numeric_limits<float>::quiet_NaN());
    blend.setAngle(std::numeric_limits<float>::infinity());
    EXPECT_EQ(blend.Angle(), 45.0f);
}

TEST(ClsmBlend, systemColoursUpToIndex24AreTranslatedAtAssignment) {
    MarkedColours platform;
    platform.installed(true);
    const uint32_t rows[][2] = {{0x8000000Fu, rgb(1, 2, 15)}, {0x80000000u, rgb(1, 2, 0)},
                                {0x80000018u, rgb(1, 2, 24)}, {0x80000019u, 0x80000019u},
                                {0x800000FFu, 0x800000FFu},   {0x00123456u, 0x00123456u}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r[0]);
        clsm_BLEND blend;
        blend.setColor1(static_cast<int32_t>(r[0]));
        blend.setColor2(static_cast<int32_t>(r[0]));
        EXPECT_EQ(static_cast<uint32_t>(blend.Color1()), r[1]);
        EXPECT_EQ(static_cast<uint32_t>(blend.Color2()), r[1]);
    }
    platform.installed(false);
}

TEST(ClsmBlend, blendColors) {
    const auto top = static_cast<int32_t>(0x80000019u);
    struct Row {
        int32_t c1, c2, steps;
        std::vector<int32_t> expected;
    } rows[] = {
        {0x112233, 0x445566, 0, {0x112233, 0x445566}},
        {0x112233, 0x445566, 1, {0x112233, 0x445566}},
        // Divides by the count; 127.5 goes up to the even 128, 2.5 down to 2.
        {0x000000, 0x0000FF, 4, {0, 64, 128, 255}},
        {0, 5, 4, {0, 1, 2, 5}},
        {0xFF8040, 0x000000, 4, {0xFF8040, 0xBF6030, 0x804020, 0}},
        // Inner entries ignore the top byte; the ends stay as given.
        {top, 0x00000000, 3, {top, 0x000011, 0}},
    };
    for (const Row& r : rows) {
        std::vector<int32_t> out(7, 7);
        EXPECT_EQ(clsm_BLEND::BlendColors(r.c1, r.c2, r.steps, out), static_cast<int32_t>(r.expected.size()));
        EXPECT_EQ(out, r.expected) << r.c1 << " " << r.steps;
    }
}

TEST(ClsmBlend, surfaceBelowTwoByTwoIsLeftAlone) {
    for (auto [w, h] : {std::pair{1, 50}, std::pair{50, 1}}) {
        clsm_BLEND blend;
        ImageSurface direct(w, h, 0x00FF00);
        LinesOnlySurface lines(w, h, 0x00FF00);
        EXPECT_FALSE(blend.Draw(direct));
        EXPECT_FALSE(blend.Draw(lines));
        EXPECT_EQ(direct.image(), ImageSurface(w, h, 0x00FF00).image());
        EXPECT_EQ(lines.image(), direct.image());
        EXPECT_EQ(direct.directWrites(), 0);
    }
}

TEST(ClsmBlend, horizontalGradientRows) {
    clsm_BLEND blend;
    blend.setColor1(0x000000);
    blend.setColor2(0x0000FF);
    const std::vector<int32_t> colours = colourRun(0x000000, 0x0000FF, 12);
    // 90: colour 1 on the bottom row, colour 10 on the top; 270: Color1 on top.
    for (float angle : {90.0f, 270.0f}) {
        blend.setAngle(angle);
        ImageSurface surface(100, 10);
        ASSERT_TRUE(blend.Draw(surface));
        for (int y = 0; y < 10; ++y)
            for (int x : {0, 50, 99})
                EXPECT_EQ(surface.colourAt(x, y), colours[angle == 90.0f ? 10 - y : y]) << angle << " " << y;
    }
}

// The pixels written straight into the image must be those of the lines drawn
// one by one, clipped, later lines over earlier ones, and must cover every pixel.
TEST(ClsmBlend, directPaintingMatchesLineByLine) {
    // 301 x 203 has rows in several blocks of 64 and columns that do not
    // fill a run of four, for the slanted sweeps painted by colour index.
    const std::pair<int, int> sizes[] = {{2, 2},   {3, 7},    {7, 3},   {50, 50}, {100, 10}, {10, 100},
                                         {37, 61}, {128, 33}, {64, 65}, {99, 98}, {301, 203}};
    std::vector<float> angles{90.5f, 180.5f};
    for (float a = 0.0f; a < 360.0f; a += 45.0f)
        angles.insert(angles.end(),
                      {a, a + 0.1f, a - 0.1f + (a == 0.0f ? 360.0f : 0.0f), a + 6.9f, a + 27.3f});
    const int32_t c1 = 0x2000FF, c2 = 0xF01000;
    const uint32_t background = 0x00FF00; // a green no colour of the run has
    for (auto [w, h] : sizes)
        for (float angle : angles) {
            SCOPED_TRACE(testing::Message() << w << "x" << h << " at " << angle);
            clsm_BLEND blend;
            blend.setAngle(angle);
            blend.setColor1(c1);
            blend.setColor2(c2);

            ImageSurface expected(w, h, background);
            const GradientLines lines = computeGradientLines(w, h, blend.Angle());
            const std::vector<int32_t> colours =
                colourRun(c1, c2, static_cast<int32_t>(roundHalfEven(lines.pointCount * 0.5)));
            for (int k = 0; k < lines.lineCount(); ++k) {
                const GradientPoint a = lines.point(2 * k), b = lines.point(2 * k + 1);
                expected.drawLine(a.x, a.y, b.x, b.y, static_cast<uint32_t>(colours[k]));
            }
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_NE(expected.colourAt(x, y), background) << x << "," << y;

            LinesOnlySurface byLine(w, h, background);
            ASSERT_TRUE(blend.Draw(byLine));
            ASSERT_EQ(byLine.image(), expected.image());
            // The machine's own row writers and the plain ones alike.
            for (bool portable : {false, true}) {
                pixelrows::usePortableVersions(portable);
                ImageSurface direct(w, h, background);
                ASSERT_TRUE(blend.Draw(direct));
                EXPECT_EQ(direct.directWrites(), 1);
                ASSERT_EQ(direct.image(), expected.image()) << (portable ? "portable" : "machine");
            }
            pixelrows::usePortableVersions(false);
        }
}

} // namespace
} // namespace korva
