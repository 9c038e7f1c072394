// Tab placement arithmetic: the worked positions, special captions and the
// range of the 32-bit cursor.
#include "pages/tab_layout_p.h"

#include <gtest/gtest.h>

#include <vector>

using namespace korva::pages;

namespace {

struct Placed {
    float left, caption, captionWidth, right;
    bool operator==(const Placed&) const = default;
};

std::vector<Placed> layout(const LayoutParams& params, const std::vector<QString>& captions, float width) {
    LayoutCursor c = firstTab(params.p);
    std::vector<Placed> out;
    for (const QString& caption : captions) {
        const TabPlacement t = placeTab(c, params, specialCaption(caption), LabelSize{width, 195});
        out.push_back({t.leftX, t.captionX, t.captionWidth, t.rightX});
    }
    return out;
}

TEST(TabLayout, ThreeTabsWithGapSixty) {
    const auto placed = layout({15, 6000, 60}, {"a", "b", "c"}, 100);
    EXPECT_EQ(placed,
              (std::vector<Placed>{{120, 150, 370, 520}, {580, 610, 370, 980}, {1040, 1070, 370, 1440}}));
}

TEST(TabLayout, WithoutGapTheRightPieceSharesTheNextLeftPiecesX) {
    const auto placed = layout({15, 6000, 0}, {"a", "b"}, 100);
    EXPECT_EQ(placed[0].right, placed[1].left);
}

TEST(TabLayout, LabelSitsCentredInItsBandAndOffsetFromTheCaptionPiece) {
    LayoutCursor c = firstTab(15);
    const TabPlacement t = placeTab(c, {15, 6000, 60}, {}, LabelSize{100, 195});
    EXPECT_EQ(t.labelX, 150 + 90);
    EXPECT_EQ(t.labelY, 90);
    EXPECT_EQ(t.leftWidth, 30);
}

TEST(TabLayout, SpecialCaptionsMoveTheCursorAndWidenEveryLaterTab) {
    struct Row {
        std::vector<QString> captions;
        std::vector<float> lefts;
        std::vector<float> widths;
    };
    const Row rows[] = {
        // Help at the right edge; the extra 90 stays for the tab after it.
        {{"Home", "Help", "More"}, {120, 4900, 5450}, {370, 460, 460}},
        {{"Video"}, {3400}, {460}},
        // Chalkboard shifts from where the cursor is.
        {{"a", "Chalkboard"}, {120, 1380}, {370, 460}},
        // All three in one caption: Help, then Video, then Chalkboard.
        {{"Help Video Chalkboard"}, {4200}, {460}},
    };
    for (const Row& r : rows) {
        const auto placed = layout({15, 6000, 60}, r.captions, 100);
        for (size_t i = 0; i < placed.size(); ++i) {
            EXPECT_EQ(placed[i].left, r.lefts[i]) << r.captions[i].toStdString();
            EXPECT_EQ(placed[i].captionWidth, r.widths[i]) << r.captions[i].toStdString();
        }
    }
}

TEST(TabLayout, CursorStaysWhereItWasWhenAStepLeavesTheLongRange) {
    LayoutCursor c;
    c.x = INT32_MAX - 10;
    const TabPlacement t = placeTab(c, {15, 6000, 60}, {}, LabelSize{100, 195});
    EXPECT_EQ(t.leftX, static_cast<float>(INT32_MAX - 10));
    EXPECT_EQ(c.x, INT32_MAX - 10); // every advance overflowed and was skipped
}

TEST(TabLayout, ATabWithoutLabelRunsEverySpecialStepAndSkipsTheCaptionAdvance) {
    LayoutCursor c = firstTab(15);
    const TabPlacement t = placeTab(c, {15, 6000, 60}, {true, true, true}, std::nullopt);
    EXPECT_EQ(t.leftX, 6000 - 2600 + 800);
    EXPECT_EQ(c.x, 6000 - 2600 + 800 + 30 + 60);
    EXPECT_EQ(c.extra, 90);
}

} // namespace
