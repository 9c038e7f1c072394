#include "blend/gradient_geometry.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

namespace korva {

void PrintTo(const GradientPoint& p, std::ostream* os) {
    *os << "(" << p.x << ", " << p.y << ")";
}

namespace {

struct SweepCase {
    const char* name;
    int width, height;
    float angle;
    size_t points;
    int stepX, stepY;
    GradientPoint first0, first1; // the first line
};

// Horizontal and vertical lines: the first line sits just outside or on the
// starting edge, and the sweep ends one line past the far edge.
const SweepCase kSweeps[] = {
    {"up_100x10", 100, 10, 90.0f, 24, 0, -1, {122, 10}, {-22, 10}},
    {"down_100x10", 100, 10, 270.0f, 24, 0, 1, {-22, 0}, {122, 0}},
    {"right_10x100", 10, 100, 0.0f, 24, 1, 0, {0, 122}, {0, -22}},
    {"left_10x100", 10, 100, 180.0f, 24, -1, 0, {10, -22}, {10, 122}},
};

TEST(GradientGeometry, straightSweeps) {
    for (const SweepCase& c : kSweeps) {
        SCOPED_TRACE(c.name);
        const GradientLines lines = computeGradientLines(c.width, c.height, c.angle);
        ASSERT_EQ(lines.points.size(), c.points);
        EXPECT_EQ(lines.stepX, c.stepX);
        EXPECT_EQ(lines.stepY, c.stepY);
        EXPECT_EQ(lines.points[0], c.first0);
        EXPECT_EQ(lines.points[1], c.first1);
        for (size_t i = 2; i < lines.points.size(); ++i)
            EXPECT_EQ(lines.points[i],
                      (GradientPoint{lines.points[i - 2].x + c.stepX, lines.points[i - 2].y + c.stepY}));
    }
}

TEST(GradientGeometry, angle90CoversRowsFromBelowToAbove) {
    const GradientLines lines = computeGradientLines(100, 10, 90.0f);
    ASSERT_EQ(lines.lineCount(), 12);
    for (int k = 0; k < 12; ++k) {
        EXPECT_EQ(lines.points[2 * k].y, 10 - k);
        EXPECT_EQ(lines.points[2 * k + 1].y, 10 - k);
    }
}

TEST(GradientGeometry, diagonalDefaultAngle) {
    const GradientLines lines = computeGradientLines(50, 50, 315.0f);
    ASSERT_EQ(lines.points.size(), 205u);
    EXPECT_EQ(lines.lineCount(), 102);
    // 45 degrees exactly ties, and the tie sweeps sideways, starting at the left.
    EXPECT_EQ(lines.stepX, 1);
    EXPECT_EQ(lines.stepY, 0);
    // Lower left to upper right, its right end just above the top-left corner;
    // the rounded ends make it one pixel steeper than 45 degrees.
    EXPECT_EQ(lines.points[0], (GradientPoint{-51, 51}));
    EXPECT_EQ(lines.points[1], (GradientPoint{0, -1}));
    EXPECT_EQ(lines.points[204], (GradientPoint{51, 51}));
}

TEST(GradientGeometry, directionFollowsAngleRange) {
    struct Row {
        float angle;
        int stepX, stepY;
    } rows[] = {{90.5f, 0, -1}, {180.5f, -1, 0}, {10.0f, 1, 0},   {160.0f, -1, 0}, {200.0f, -1, 0},
                {300.0f, 0, 1}, {60.0f, 0, -1},  {120.0f, 0, -1}, {240.0f, 0, 1},  {359.9f, 1, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.angle);
        const GradientLines lines = computeGradientLines(40, 40, r.angle);
        EXPECT_EQ(lines.stepX, r.stepX);
        EXPECT_EQ(lines.stepY, r.stepY);
    }
}

TEST(GradientGeometry, tooSmallOrUnusableGivesNoLines) {
    EXPECT_TRUE(computeGradientLines(1, 50, 0.0f).points.empty());
    EXPECT_TRUE(computeGradientLines(50, 1, 0.0f).points.empty());
    EXPECT_TRUE(computeGradientLines(0, 0, 0.0f).points.empty());
    EXPECT_TRUE(computeGradientLines(50, 50, std::numeric_limits<float>::quiet_NaN()).points.empty());
    EXPECT_EQ(computeGradientLines(2, 2, 315.0f).lineCount(), 6);
}

} // namespace
} // namespace korva
