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
        int64_t points;
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
        EXPECT_EQ(lines.pointCount, r.points);
        EXPECT_EQ(lines.stepX, r.stepX);
        EXPECT_EQ(lines.stepY, r.stepY);
        EXPECT_EQ(lines.point(0), r.first0);
        EXPECT_EQ(lines.point(1), r.first1);
        EXPECT_EQ(lines.point(4), (GradientPoint{r.first0.x + 2 * r.stepX, r.first0.y + 2 * r.stepY}));
        EXPECT_EQ(lines.point(7), (GradientPoint{r.first1.x + 3 * r.stepX, r.first1.y + 3 * r.stepY}));
    }
}

// The point count is worked out rather than found by sweeping; it must be
// where the sweep, made one point at a time, stops: after the first point past
// the third whose newest two points both lie beyond the far edge.
TEST(GradientGeometry, pointCountIsWhereTheSweepStops) {
    for (int w : {2, 3, 7, 50, 101, 640})
        for (int h : {2, 5, 50, 99, 480})
            for (float angle = 0.0f; angle < 360.0f; angle += 7.5f) {
                const GradientLines lines = computeGradientLines(w, h, angle);
                const auto beyond = [&](const GradientPoint& p) {
                    return lines.stepX > 0   ? p.x > w
                           : lines.stepX < 0 ? p.x < 0
                           : lines.stepY > 0 ? p.y > h
                                             : p.y < 0;
                };
                int64_t n = 2;
                do
                    ++n;
                while (!(beyond(lines.point(n - 1)) && beyond(lines.point(n - 2))));
                ASSERT_EQ(lines.pointCount, n) << w << "x" << h << " at " << angle;
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
    EXPECT_EQ(computeGradientLines(1, 50, 0.0f).pointCount, 0);
    EXPECT_EQ(computeGradientLines(50, 1, 0.0f).pointCount, 0);
    EXPECT_EQ(computeGradientLines(50, 50, std::numeric_limits<float>::quiet_NaN()).pointCount, 0);
}

} // namespace
} // namespace korva
