#include "blend/gradient_geometry_p.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

namespace korva {

void PrintTo(const GradientPoint& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }

namespace {

// The first line and the point count pin down the whole sweep, since every
// point is the one two places before moved by one step.
TEST(GradientGeometry, sweeps) {
    struct Row {
        const char* name;
        int width, height;
        float angle;
        size_t points;
        int stepX, stepY;
        GradientPoint first0, first1;
    } rows[] = {
        // Rows 10 (outside) up to -1 (outside).
        {"up_100x10", 100, 10, 90.0f, 24, 0, -1, {122, 10}, {-22, 10}},
        {"down_100x10", 100, 10, 270.0f, 24, 0, 1, {-22, 0}, {122, 0}},
        {"right_10x100", 10, 100, 0.0f, 24, 1, 0, {0, 122}, {0, -22}},
        {"left_10x100", 10, 100, 180.0f, 24, -1, 0, {10, -22}, {10, 122}},
        // 45 degrees ties towards a sideways sweep; it stops after a lone start
        // point (102 lines), the rounded ends one pixel steeper than 45 degrees.
        {"diagonal_50x50", 50, 50, 315.0f, 205, 1, 0, {-51, 51}, {0, -1}},
        {"smallest_2x2", 2, 2, 315.0f, 13, 1, 0, {-3, 3}, {0, -1}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const GradientLines lines = computeGradientLines(r.width, r.height, r.angle);
        ASSERT_EQ(lines.points.size(), r.points);
        EXPECT_EQ(lines.stepX, r.stepX);
        EXPECT_EQ(lines.stepY, r.stepY);
        EXPECT_EQ(lines.points[0], r.first0);
        EXPECT_EQ(lines.points[1], r.first1);
        for (size_t i = 2; i < lines.points.size(); ++i)
            ASSERT_EQ(lines.points[i],
                      (GradientPoint{lines.points[i - 2].x + r.stepX, lines.points[i - 2].y + r.stepY}));
    }
}

TEST(GradientGeometry, sweepDirectionFollowsAngleRange) {
    struct Row {
        float angle;
        int stepX, stepY;
    } rows[] = {{10.0f, 1, 0},   {60.0f, 0, -1},  {90.5f, 0, -1}, {120.0f, 0, -1}, {160.0f, -1, 0},
                {180.5f, -1, 0}, {200.0f, -1, 0}, {240.0f, 0, 1}, {300.0f, 0, 1},  {359.9f, 1, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.angle);
        const GradientLines lines = computeGradientLines(40, 40, r.angle);
        EXPECT_EQ(lines.stepX, r.stepX);
        EXPECT_EQ(lines.stepY, r.stepY);
    }
}

TEST(GradientGeometry, noLinesBelowTwoByTwoOrWithoutAnAngle) {
    EXPECT_TRUE(computeGradientLines(1, 50, 0.0f).points.empty());
    EXPECT_TRUE(computeGradientLines(50, 1, 0.0f).points.empty());
    EXPECT_TRUE(computeGradientLines(50, 50, std::numeric_limits<float>::quiet_NaN()).points.empty());
}

} // namespace
} // namespace korva
