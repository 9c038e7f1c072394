// The look pictures, pixel by pixel: gradients, outlines and shaded corners.
#include "frame/colour/colour_p.h"
#include "frame/elements/picturebox_element_p.h"
#include "frame/platform/scripted_platform_p.h"
#include "frame/runtime/site.h"
#include "pages/pages.h"
#include "pages/strip_items_p.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

using namespace korva;

namespace {

constexpr uint32_t kHighlight = 0x80000014u;

class PagesLooksTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform.installed(true);
        pages = Pages::createNew();
        pages->setPageColor(0x00F0E8E0);
        pages->setColorForm(0x00C08040);
    }
    void TearDown() override {
        pages.reset();
        platform.installed(false);
    }
    PictureBoxElement* box(const char* name, Pages* of = nullptr) {
        return dynamic_cast<PictureBoxElement*>((of ? of : pages.get())->element(QString::fromLatin1(name)));
    }
    pages::PageShape* shape(const char* name) {
        return dynamic_cast<pages::PageShape*>(pages->element(QString::fromLatin1(name)));
    }
    // A source picture's pixels; the img* names are index 0 of their tab pieces.
    const QImage& image(const char* name) {
        if (PictureBoxElement* b = box(name))
            return b->picture().image;
        auto* piece = dynamic_cast<pages::TabPicture*>(pages->element(QString::fromLatin1(name), 0));
        return piece->picture().image;
    }
    uint32_t at(const char* name, int x, int y) { return colourOfPixel(image(name).pixel(x, y)); }
    uint32_t border() { return shape("shpBORDER")->BorderColor(); }

    ScriptedPlatform platform;
    std::unique_ptr<Pages> pages;
};

TEST_F(PagesLooksTest, FrameColoursFollowThePageAndForm) {
    const uint32_t page = 0x00F0E8E0, form = 0x00C08040;
    EXPECT_EQ(border(), static_cast<uint32_t>(BlendColor(BlendColor(0, page, 130), form, 162)));
    EXPECT_EQ(shape("shpBORDER")->FillColor(), page);
    EXPECT_EQ(shape("shpTOP")->BorderColor(),
              static_cast<uint32_t>(BlendColor(form, BlendColor(page, 0, 100), 244)));
    EXPECT_EQ(shape("shpLEFTINS")->BorderColor(), static_cast<uint32_t>(BlendColor(kHighlight, page, 193)));
    EXPECT_EQ(pages->site()->BackColor(), form);
}

TEST_F(PagesLooksTest, PictureSizes) {
    struct Row {
        const char* name;
        int width;
    };
    const Row rows[] = {{"picTABLEFT", 2},     {"picTABRIGHT", 2}, {"picTABCAP", 330}, {"picTABLEFTHOV", 2},
                        {"picTABRIGHTHOV", 4}, {"imgSELRIGHT", 4}, {"imgSELCAP", 330}};
    for (const Row& r : rows) {
        ASSERT_FALSE(image(r.name).isNull()) << r.name;
        EXPECT_EQ(image(r.name).width(), r.width) << r.name;
        EXPECT_EQ(image(r.name).height(), 23) << r.name;
    }
    auto twips = [&](const char* n) { return pages->element(QString::fromLatin1(n))->Width(); };
    EXPECT_EQ(twips("picTABRIGHTHOV"), 60);
    EXPECT_EQ(twips("picTABSELRIGHT"), 60);
    EXPECT_EQ(twips("picTABRIGHT"), 30);
}

TEST_F(PagesLooksTest, CornersAndOutlinesOfEachLook) {
    const uint32_t page = 0x00F0E8E0, form = 0x00C08040, b = border();
    const auto B = [](uint32_t x, uint32_t y, int w) { return static_cast<uint32_t>(BlendColor(x, y, w)); };
    const uint32_t outline = B(form, b, 80);
    struct Point {
        int x, y;
        uint32_t want;
    };
    const std::pair<const char*, std::vector<Point>> pictures[] = {
        {"picTABLEFT", {{0, 0, B(b, form, 33)}, {1, 1, B(page, b, 50)}}},
        {"picTABLEFT", {{1, 0, outline}, {0, 1, outline}, {0, 22, outline}}},
        {"picTABRIGHT", {{1, 0, B(b, form, 13)}, {0, 1, B(page, b, 50)}, {0, 0, outline}, {1, 22, outline}}},
        // The outline stops at 200 pixels; beyond it the gradient's top row shows.
        {"picTABCAP", {{0, 0, outline}, {199, 0, outline}, {200, 0, B(form, page, 100)}}},
        {"picTABLEFTHOV", {{1, 1, B(page, b, 120)}}},
        {"picTABRIGHTHOV", {{1, 0, B(b, form, 43)}, {3, 10, outline}, {3, 11, outline}, {3, 12, outline}}},
        {"picTABRIGHTHOV", {{2, 5, form}, {2, 9, form}}},
        {"imgSELLEFT", {{1, 1, B(page, b, 120)}, {0, 5, b}}},
        {"imgSELRIGHT", {{1, 20, b}, {2, 22, form}}},
        {"imgSELCAP", {{0, 0, b}}},
    };
    for (const auto& [name, points] : pictures)
        for (const Point& p : points)
            EXPECT_EQ(at(name, p.x, p.y), p.want) << name << " (" << p.x << "," << p.y << ")";
}

TEST_F(PagesLooksTest, HoverCaptionRunsFromPageAtTheBottomToHighlightAtTheTop) {
    // 23 rows at angle 90: the bottom row takes colour 1 of 25, row 1
    // colour 22 (row 0 carries the outline).
    const int32_t c1 = 0x00F0E8E0;
    uint32_t hl = 0;
    ASSERT_TRUE(platform.systemColour(20, hl));
    const auto lerp = [&](int a, int b, int i) {
        return static_cast<int>(
            std::nearbyint(a + i * static_cast<double>(static_cast<float>((b - a) / 25.0))));
    };
    for (int i : {1, 22}) {
        const uint32_t want = static_cast<uint32_t>(lerp(redOf(c1), redOf(hl), i)) |
                              static_cast<uint32_t>(lerp(greenOf(c1), greenOf(hl), i)) << 8 |
                              static_cast<uint32_t>(lerp(blueOf(c1), blueOf(hl), i)) << 16;
        EXPECT_EQ(at("picTABCAPHOV", 100, 23 - i), want) << i;
    }
}

TEST_F(PagesLooksTest, ColorFormZeroBecomesButtonFace) {
    pages->setColorForm(0);
    EXPECT_EQ(pages->ColorForm(), 0x8000000Fu);
    EXPECT_EQ(pages->site()->BackColor(), 0x8000000Fu);
}

TEST_F(PagesLooksTest, TabsShareTheSourcePicturesAndEveryPassMakesNewOnes) {
    auto* cap2 = dynamic_cast<pages::TabPicture*>(pages->element(u"imgSELCAP", 2));
    const qint64 before = cap2->handle();
    EXPECT_EQ(before, box("picTABCAP")->picture().handle());
    pages->setTextColor(0x00FF0000);
    EXPECT_NE(cap2->handle(), before);
    ASSERT_FALSE(cap2->texts().empty());
    EXPECT_EQ(cap2->texts().back().colour, 0x00FF0000u);
    EXPECT_EQ(cap2->texts().back().x, 170);
}

// A refresh that finds the look as the last one left it paints nothing anew;
// one that finds any part of it changed from outside puts that part back.
TEST_F(PagesLooksTest, ARefreshPutsBackWhateverPartOfTheLookWasChanged) {
    pages::PageShape* top = shape("shpTOP");
    PictureBoxElement* hover = box("picTABCAPHOV");
    const uint32_t edge = top->BorderColor();
    const QImage look = hover->picture().image;
    pages->Refresh();
    EXPECT_EQ(hover->picture().image, look);

    top->setBorderColor(0x00123456);
    hover->setBackColor(0x000000FFu);
    hover->setForeColor(0x0000FF00u);
    pages->Refresh();
    EXPECT_EQ(top->BorderColor(), edge);
    EXPECT_EQ(hover->picture().image, look);
    EXPECT_TRUE(hover->layerIsPlain());
}

// Instances with the same colours hold one set of look pixels; a box drawn
// into, or other colours, get pixels of their own that a fresh paint would give.
TEST_F(PagesLooksTest, LooksShareTheirPixelsOnlyWhereAPaintWouldGiveTheSame) {
    auto other = Pages::createNew();
    other->setPageColor(0x00F0E8E0);
    other->setColorForm(0x00C08040);
    for (const char* name : {"picTABCAP", "picTABCAPHOV", "picTABSELCAP", "picTABLEFT"})
        EXPECT_EQ(box(name, other.get())->picture().image.constBits(), image(name).constBits()) << name;

    const QImage shared = image("picTABCAP");
    box("picTABCAP")->Line(0, 100, 3000, 100, 0x000000FFu);
    pages->Refresh();
    EXPECT_EQ(image("picTABCAP"), shared) << "the repaint covers what was drawn";
    EXPECT_NE(box("picTABCAP")->picture().handle(), box("picTABCAP", other.get())->picture().handle());

    other->setColorForm(0x00408040);
    EXPECT_NE(box("picTABCAP", other.get())->picture().image, shared);
    auto fresh = Pages::createNew();
    fresh->setPageColor(0x00F0E8E0);
    fresh->setColorForm(0x00408040);
    EXPECT_EQ(box("picTABCAP", fresh.get())->picture().image, box("picTABCAP", other.get())->picture().image);
}

} // namespace
