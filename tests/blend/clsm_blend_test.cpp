#include "blend/clsm_blend.h"
#include "blend/gradient_geometry.h"
#include "frame/colour.h"
#include "frame/convert.h"
#include "frame/image_surface.h"
#include "frame/scripted_platform.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace korva {
namespace {

// Offers no backing image, so Draw has to go through drawLine.
class LinesOnlySurface : public ImageSurface {
public:
    using ImageSurface::ImageSurface;
    QImage* backingImage() override { return nullptr; }
    void drawLine(int x0, int y0, int x1, int y1, uint32_t colour) override {
        ++lines;
        ImageSurface::drawLine(x0, y0, x1, y1, colour);
    }
    int lines = 0;
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

// The gradient as a plain sequence of lines, drawn one after the other.
QImage referenceGradient(int w, int h, float angle, int32_t c1, int32_t c2, uint32_t background) {
    ImageSurface surface(w, h, background);
    const GradientLines lines = computeGradientLines(w, h, angle);
    const auto count = static_cast<int32_t>(roundHalfEven(static_cast<double>(lines.points.size()) * 0.5));
    const std::vector<int32_t> colours = colourRun(c1, c2, count);
    for (int k = 0; k < lines.lineCount(); ++k) {
        const GradientPoint a = lines.points[2 * k], b = lines.points[2 * k + 1];
        surface.drawLine(a.x, a.y, b.x, b.y, static_cast<uint32_t>(colours[k]));
    }
    return surface.image();
}

TEST(ClsmBlend, defaults) {
    const clsm_BLEND blend;
    EXPECT_EQ(blend.Angle(), 315.0f);
    EXPECT_EQ(blend.Color1(), 0x00FFFFD0);
    EXPECT_EQ(blend.Color2(), 0x00400000);
}

TEST(ClsmBlend, angleIsBroughtIntoOneTurn) {
    struct Row {
        float given, stored;
    } rows[] = {{-90.0f, 270.0f}, {360.0f, 0.0f},   {450.0f, 90.0f},    {720.5f, 0.5f},
                {-720.0f, 0.0f},  {359.5f, 359.5f}, {-1e-6f, 0.0f},     {1e9f, std::fmod(1e9, 360.0)},
                {0.0f, 0.0f},     {-0.0f, 0.0f},    {-450.25f, 269.75f}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.given);
        clsm_BLEND blend;
        blend.setAngle(r.given);
        EXPECT_EQ(blend.Angle(), r.stored);
        EXPECT_GE(blend.Angle(), 0.0f);
        EXPECT_LT(blend.Angle(), 360.0f);
    }
    clsm_BLEND blend;
    blend.setAngle(45.0f);
    blend.setAngle(std::numeric_limits<float>::quiet_NaN());
    blend.setAngle(std::numeric_limits<float>::infinity());
    EXPECT_EQ(blend.Angle(), 45.0f);
}

TEST(ClsmBlend, systemColoursTranslateOnceUpToIndex24) {
    MarkedColours platform;
    platform.installed(true);
    struct Row {
        uint32_t given, stored;
    } rows[] = {{0x8000000Fu, rgb(1, 2, 15)}, {0x80000000u, rgb(1, 2, 0)}, {0x80000018u, rgb(1, 2, 24)},
                {0x80000019u, 0x80000019u},   {0x800000FFu, 0x800000FFu},  {0x00123456u, 0x00123456u}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.given);
        clsm_BLEND blend;
        blend.setColor1(static_cast<int32_t>(r.given));
        blend.setColor2(static_cast<int32_t>(r.given));
        EXPECT_EQ(static_cast<uint32_t>(blend.Color1()), r.stored);
        EXPECT_EQ(static_cast<uint32_t>(blend.Color2()), r.stored);
    }
    platform.installed(false);
}

TEST(ClsmBlend, blendColors) {
    struct Row {
        const char* name;
        int32_t c1, c2, steps;
        std::vector<int32_t> expected;
    } rows[] = {
        {"zero_steps", 0x112233, 0x445566, 0, {0x112233, 0x445566}},
        {"one_step", 0x112233, 0x445566, 1, {0x112233, 0x445566}},
        {"negative_steps", 0x112233, 0x445566, -5, {0x112233, 0x445566}},
        {"divides_by_count_and_ties_to_even", 0x000000, 0x0000FF, 4, {0, 64, 128, 255}},
        {"tie_rounds_down_to_even", 0, 5, 4, {0, 1, 2, 5}},
        {"all_channels_falling", 0xFF8040, 0x000000, 4, {0xFF8040, 0xBF6030, 0x804020, 0}},
        // Interior entries ignore the top byte; the two ends stay as given.
        {"top_byte",
         static_cast<int32_t>(0x80000019u),
         0x00000000,
         3,
         {static_cast<int32_t>(0x80000019u), 0x000011, 0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::vector<int32_t> out{7, 7, 7, 7, 7, 7, 7};
        EXPECT_EQ(clsm_BLEND::BlendColors(r.c1, r.c2, r.steps, out), static_cast<int32_t>(r.expected.size()));
        EXPECT_EQ(out, r.expected);
    }
}

TEST(ClsmBlend, tooSmallSurfacePaintsNothing) {
    for (auto [w, h] : {std::pair{1, 50}, std::pair{50, 1}, std::pair{0, 0}}) {
        SCOPED_TRACE(w * 1000 + h);
        clsm_BLEND blend;
        ImageSurface direct(w, h, 0x00FF00);
        LinesOnlySurface lines(w, h, 0x00FF00);
        EXPECT_FALSE(blend.Draw(direct));
        EXPECT_FALSE(blend.Draw(lines));
        EXPECT_EQ(direct.image(), ImageSurface(w, h, 0x00FF00).image());
        EXPECT_EQ(direct.directWrites(), 0);
        EXPECT_EQ(lines.lines, 0);
    }
}

TEST(ClsmBlend, angle90RowsTakeTheInnerColours) {
    clsm_BLEND blend;
    blend.setAngle(90.0f);
    blend.setColor1(0x000000);
    blend.setColor2(0x0000FF);
    ImageSurface surface(100, 10);
    ASSERT_TRUE(blend.Draw(surface));
    const std::vector<int32_t> colours = colourRun(0x000000, 0x0000FF, 12);
    for (int y = 0; y < 10; ++y)
        for (int x : {0, 50, 99})
            EXPECT_EQ(surface.colourAt(x, y), colours[10 - y]) << x << "," << y;
    EXPECT_EQ(surface.directWrites(), 1);

    blend.setAngle(270.0f);
    LinesOnlySurface down(100, 10);
    ASSERT_TRUE(blend.Draw(down));
    EXPECT_EQ(down.lines, 12);
    for (int y = 0; y < 10; ++y)
        EXPECT_EQ(down.colourAt(37, y), colours[y]);
}

TEST(ClsmBlend, oneColourCoversEveryPixel) {
    for (float angle : {0.0f, 33.0f, 45.0f, 90.0f, 150.0f, 225.0f, 270.0f, 315.0f, 359.0f}) {
        SCOPED_TRACE(angle);
        clsm_BLEND blend;
        blend.setAngle(angle);
        blend.setColor1(0x123456);
        blend.setColor2(0x123456);
        ImageSurface surface(23, 41, 0xFFFFFF);
        ASSERT_TRUE(blend.Draw(surface));
        EXPECT_EQ(surface.image(), ImageSurface(23, 41, 0x123456).image());
    }
}

// The pixels written straight into the image must be those of the lines drawn
// one by one, clipped, later lines over earlier ones.
TEST(ClsmBlend, directPaintingMatchesLineByLine) {
    const std::pair<int, int> sizes[] = {{2, 2},    {3, 7},   {7, 3},    {50, 50}, {100, 10},
                                         {10, 100}, {37, 61}, {128, 33}, {64, 65}, {99, 98}};
    std::vector<float> angles{0.0f, 45.0f, 90.0f, 135.0f, 180.0f, 225.0f, 270.0f, 315.0f, 90.5f, 180.5f};
    for (float a = 0.37f; a < 360.0f; a += 6.9f)
        angles.push_back(a);
    for (float base : {45.0f, 135.0f, 225.0f, 315.0f})
        for (float d : {-0.6f, -0.3f, -0.1f, 0.1f, 0.3f, 0.6f})
            angles.push_back(base + d);
    const int32_t c1 = 0x2000FF, c2 = 0xF01000;
    for (auto [w, h] : sizes) {
        for (float angle : angles) {
            SCOPED_TRACE(testing::Message() << w << "x" << h << " at " << angle);
            clsm_BLEND blend;
            blend.setAngle(angle);
            blend.setColor1(c1);
            blend.setColor2(c2);
            const QImage expected = referenceGradient(w, h, blend.Angle(), c1, c2, 0x00FF00);
            ImageSurface direct(w, h, 0x00FF00);
            LinesOnlySurface lines(w, h, 0x00FF00);
            ASSERT_TRUE(blend.Draw(direct));
            ASSERT_TRUE(blend.Draw(lines));
            ASSERT_EQ(direct.image(), expected);
            ASSERT_EQ(lines.image(), expected);
        }
    }
}

} // namespace
} // namespace korva
