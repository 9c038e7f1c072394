// Spin's window-free logic: layout positions, the font size cboHEIGHT
// follows, the character filter and the hold-to-repeat timing.
#include "spin/hold_repeat_p.h"
#include "spin/spin_input_p.h"
#include "spin/spin_layout_p.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

using namespace korva;

// The design size's positions are checked on the elements, at every scale, in spin_display_test.
TEST(SpinLayout, TextWidthOnlyWhenWiderThanTheButtonStrip) {
    const std::pair<float, bool> rows[] = {{300, false}, {360, false}, {360.5f, true}, {1000, true}};
    for (const auto& [width, set] : rows) {
        const SpinLayout l = computeSpinLayout(width, 555, 555, 15);
        EXPECT_EQ(l.textWidth.has_value(), set) << width;
        EXPECT_EQ(l.updown.width, width - 90) << width << ": the other steps still run";
    }
}

TEST(SpinLayout, OddHeightCentresInSinglePrecision) {
    // (333 - 250) * 0.5 = 41.5 exactly; another twips-per-pixel moves the box.
    const SpinLayout l = computeSpinLayout(1000, 300, 333, 12);
    EXPECT_EQ(l.textTop, 41.5f);
    EXPECT_EQ(l.box, (SpinBox4{24, 24, 952, 252}));
    EXPECT_EQ(l.updown, (SpinBox4{24, 0, 928, 252}));
}

TEST(SpinLayout, WholeFontSizeRoundsHalvesAwayFromZero) {
    const std::pair<double, double> rows[] = {{8.25, 8}, {9.5, 10}, {10.5, 11},
                                              {8.5, 9},  {12, 12},  {7.49, 7}};
    for (const auto& [in, out] : rows)
        EXPECT_EQ(wholeFontSize(in), out) << in;
}

TEST(SpinInput, KeyLockTable) {
    // Key code, whether a decimal point is allowed, the text so far, the code let through.
    const std::tuple<int32_t, bool, const char*, int> rows[] = {
        {46, true, "12", 46},    {46, true, "12.", 0},  {46, true, ".5", 0}, {46, true, "", 46},
        {190, true, "12", 0},    {190, false, "12", 0}, {48, true, "", 48},  {57, true, "1.", 57},
        {8, true, "1.5", 8},     {8, false, "", 8},     {56, false, "", 56}, {65, false, "", 0},
        {65, true, "", 0},       {45, true, "", 0},     {44, true, "", 0},   {46, false, "", 0},
        {13, true, "", 0},       {47, true, "", 0},     {58, true, "", 0},   {-1, true, "", 0},
        {256 + 49, true, "", 0},
    };
    for (const auto& [key, check, text, expected] : rows)
        EXPECT_EQ(spin_input::KeyLock(key, check, QString::fromLatin1(text)), expected)
            << key << " " << check << " " << text;
}

TEST(SpinInput, DecimalpointCheckCountsOnlyTheFullStop) {
    const std::pair<const char*, int> rows[] = {{"", 0},  {"12", 0},  {"12.", 1},
                                                {".", 1}, {"1,5", 0}, {"1.2.3", 1}};
    for (const auto& [text, out] : rows)
        EXPECT_EQ(spin_input::DecimalpointCheck(QString::fromLatin1(text)), out) << text;
}

namespace {
// The ticks (1-based) on which a step fell due, over `ticks` ticks.
std::vector<int> dueTicks(HoldRepeat& r, int ticks) {
    std::vector<int> due;
    for (int t = 1; t <= ticks; ++t)
        if (r.tick())
            due.push_back(t);
    return due;
}
} // namespace

TEST(HoldRepeat, DelayThenEveryOtherTickWhileHeldAndOver) {
    HoldRepeat r;
    EXPECT_TRUE(dueTicks(r, 20).empty()) << "nothing before a press";
    r.press();
    EXPECT_EQ(dueTicks(r, 14), (std::vector<int>{8, 10, 12, 14}));
    r.setOver(false);
    EXPECT_TRUE(dueTicks(r, 4).empty()) << "away from the button";
    r.setOver(true);
    EXPECT_EQ(dueTicks(r, 2), (std::vector<int>{2})); // ticks 20 overall: still on the even beat
    r.release();
    EXPECT_TRUE(dueTicks(r, 20).empty());
    r.press(); // a new press starts the delay again
    EXPECT_EQ(dueTicks(r, 9), (std::vector<int>{8}));
}
