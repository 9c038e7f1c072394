// Drawn elements have no window while none is needed: the window they lie in
// paints them and hands them the mouse input over them, so they look and
// answer as elements with windows of their own did. Input here is real input
// on the control's window, the pointer moving before it presses.
#include "frame/elements/commandbutton_element_p.h"
#include "frame/elements/label_element_p.h"
#include "frame/elements/picturebox_element_p.h"
#include "frame/elements/shape_element_p.h"
#include "frame/elements/textbox_element_p.h"
#include "support/element_host.h"

#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace korva;

namespace {

class DrawnElementTest : public fixtures::ElementTest {
protected:
    DrawnElementTest() {
        host->site()->resize(300, 200);
        host->site()->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(host->site()));
        back->Move(150, 150, 1500, 600);   // (10,10) 100 x 40 pixels
        front->Move(1200, 300, 1500, 600); // (80,20), over back's right end
        for (auto* l : {back, front}) {
            l->setCaption(l->Name());
            record(*l);
        }
    }

    void record(Element& e) {
        const std::string name = e.Name().toStdString();
        auto& h = e.handlers();
        h.onMouseDown = [this, name](int16_t, int16_t, float, float) { seen.push_back(name + " down"); };
        h.onMouseMove = [this, name](int16_t b, int16_t, float, float) {
            seen.push_back(name + (b ? " drag" : " move"));
        };
        h.onMouseUp = [this, name](int16_t, int16_t, float, float) { seen.push_back(name + " up"); };
        h.onClick = [this, name] { seen.push_back(name + " click"); };
        h.onDblClick = [this, name] { seen.push_back(name + " dblclick"); };
    }

    QWidget* site() const { return host->site(); }
    int windows() const { return static_cast<int>(site()->findChildren<QWidget*>().size()); }

    std::vector<std::string> seen;
    LabelElement* back = add<LabelElement>("lblBACK");
    LabelElement* front = add<LabelElement>("lblFRONT");
};

using Seen = std::vector<std::string>;

TEST_F(DrawnElementTest, TheTopmostElementUnderThePointerTakesTheMouseAndKeepsItWhileHeld) {
    EXPECT_EQ(windows(), 0);
    QTest::mouseMove(site(), {85, 25}); // where both lie: the front one's
    QTest::mousePress(site(), Qt::LeftButton, {}, {85, 25});
    QTest::mouseMove(site(), {250, 150}); // dragged off every element
    QTest::mouseRelease(site(), Qt::LeftButton, {}, {250, 150});
    EXPECT_EQ(seen, Seen({"lblFRONT move", "lblFRONT down", "lblFRONT drag", "lblFRONT up"}));

    seen.clear();
    QTest::mouseMove(site(), {20, 20});
    QTest::mouseClick(site(), Qt::LeftButton, {}, {20, 20});
    EXPECT_EQ(seen, Seen({"lblBACK move", "lblBACK down", "lblBACK up", "lblBACK click"}));

    // A disabled element, and a shape, let the input through to what lies below.
    seen.clear();
    front->setEnabled(false);
    auto* shape = add<ShapeElement>("shpOVER");
    shape->Move(150, 150, 600, 600);
    QTest::mouseMove(site(), {85, 25});
    QTest::mouseClick(site(), Qt::LeftButton, {}, {85, 25});
    QTest::mouseMove(site(), {15, 15});
    QTest::mouseClick(site(), Qt::LeftButton, {}, {15, 15});
    EXPECT_EQ(seen, Seen({"lblBACK move", "lblBACK down", "lblBACK up", "lblBACK click", "lblBACK move",
                          "lblBACK down", "lblBACK up", "lblBACK click"}));
    EXPECT_EQ(windows(), 0);
}

TEST_F(DrawnElementTest, ADoubleClickIsOneElementsOwn) {
    // Through the window, as the window system sends it: press, release,
    // press (the double click), release.
    QTest::mouseMove(site(), {20, 20});
    QTest::mouseDClick(site()->windowHandle(), Qt::LeftButton, {}, {20, 20});
    // The second press is the double click, and its release no click.
    EXPECT_EQ(seen, Seen({"lblBACK move", "lblBACK down", "lblBACK up", "lblBACK click", "lblBACK dblclick",
                          "lblBACK up"}));

    // Two quick clicks on two elements are two clicks (the second press
    // sent as the double click a window would make of it).
    seen.clear();
    QTest::mouseClick(site(), Qt::LeftButton, {}, {20, 20});
    QTest::mouseMove(site(), {150, 30});
    QTest::mouseEvent(QTest::MouseDClick, site(), Qt::LeftButton, {}, {150, 30});
    QTest::mouseRelease(site(), Qt::LeftButton, {}, {150, 30});
    EXPECT_EQ(seen, Seen({"lblBACK down", "lblBACK up", "lblBACK click", "lblFRONT move", "lblFRONT down",
                          "lblFRONT up", "lblFRONT click"}));
}

TEST_F(DrawnElementTest, ItPaintsAsItsOwnWindowWould) {
    back->setBackStyle(LabelElement::Opaque);
    back->setBackColor(0x0000FFFFu);
    const QImage drawn = site()->grab().toImage();
    ASSERT_NE(back->widget(), nullptr); // asked for, it gets a window
    EXPECT_FALSE(back->isDrawn());
    // The one above it would lie under that window: it gets one too.
    EXPECT_FALSE(front->isDrawn());
    EXPECT_EQ(windows(), 2);
    EXPECT_EQ(site()->grab().toImage(), drawn);
}

TEST_F(DrawnElementTest, AWindowThatWouldCoverItGivesItAWindowInItsPlace) {
    // An element made later lies above the box; drawn, it would lie below it.
    auto* box = add<PictureBoxElement>("picUNDER");
    box->setBackColor(0x00FF0000u);
    box->Move(3000, 1500, 600, 600); // (200,100), clear of both labels
    auto* label = add<LabelElement>("lblOVER");
    label->setCaption(QStringLiteral("over"));
    label->Move(3300, 300, 600, 300);
    EXPECT_TRUE(label->isDrawn());
    EXPECT_EQ(windows(), 1);

    label->setTop(1650);
    EXPECT_FALSE(label->isDrawn());
    ASSERT_EQ(windows(), 2);
    EXPECT_EQ(site()->childAt(225, 115), label->widget());
    EXPECT_TRUE(back->isDrawn());
    EXPECT_TRUE(front->isDrawn());
}

TEST_F(DrawnElementTest, ThePointerTakesTheShapeOfTheElementUnderIt) {
    // Set from a handler, say, while the pointer already rests on it.
    QTest::mouseMove(site(), {150, 30});
    front->setCursor(CursorShape::Hand);
    EXPECT_EQ(site()->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(site(), {20, 20});
    EXPECT_EQ(seen.back(), "lblBACK move");
    EXPECT_EQ(site()->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseMove(site(), {150, 30});
    EXPECT_EQ(site()->cursor().shape(), Qt::PointingHandCursor);
}

// A disabled box lets the mouse through, so over a button (a colour swatch
// on a picker's face) it needs no window: the button paints it over itself.
TEST_F(DrawnElementTest, ADisabledBoxOverAButtonIsPaintedByTheButtonAndLeavesItTheMouse) {
    auto* button = add<CommandButtonElement>("cmdUNDER");
    button->Move(1500, 1500, 2250, 900); // (100,100) 150 x 60
    record(*button);
    auto* box = add<PictureBoxElement>("picOVER");
    box->setEnabled(false);
    box->setBackColor(0x000000FFu);
    box->Move(1800, 1650, 900, 450); // (120,110) 60 x 30
    auto* swatch = add<ShapeElement>("shpIN");
    swatch->setContainer(box);
    swatch->setFillStyle(ShapeElement::FillSolid);
    swatch->setFillColor(0x0000FF00u);
    swatch->Move(150, 150, 1500, 150); // (10,10) in the box, clipped by it
    EXPECT_TRUE(box->isDrawn());
    EXPECT_TRUE(swatch->isDrawn());
    EXPECT_EQ(windows(), 1);

    QWindow* window = site()->windowHandle();
    QTest::mouseMove(window, {140, 115});
    QTest::mouseClick(window, Qt::LeftButton, {}, {140, 115});
    EXPECT_EQ(seen, Seen({"cmdUNDER move", "cmdUNDER down", "cmdUNDER up", "cmdUNDER click"}));
    QTest::mouseMove(window, {290, 190});
    const QImage drawn = site()->grab().toImage();
    EXPECT_EQ(drawn.pixel(125, 115), qRgb(255, 0, 0));
    EXPECT_EQ(drawn.pixel(135, 125), qRgb(0, 255, 0));
    EXPECT_NE(drawn.pixel(185, 125), qRgb(0, 255, 0)); // past the box's edge

    // Enabled, it takes the mouse and needs its window; it looks the same.
    box->setEnabled(true);
    EXPECT_FALSE(box->isDrawn());
    EXPECT_EQ(site()->childAt(125, 115), box->widget());
    EXPECT_EQ(site()->grab().toImage(), drawn);
}

TEST_F(DrawnElementTest, ADrawnBoxThatComesToHoldAWindowGetsOneFirst) {
    auto* box = add<PictureBoxElement>("picOUTER");
    box->setEnabled(false);
    box->Move(3000, 1500, 900, 900); // (200,100)
    ASSERT_TRUE(box->isDrawn());
    auto* field = add<TextBoxElement>("txtIN");
    field->setContainer(box);
    EXPECT_FALSE(box->isDrawn());
    EXPECT_EQ(windows(), 2);
    const QWidget* boxWindow = field->widget()->parentWidget();
    ASSERT_NE(boxWindow, site());
    EXPECT_TRUE(boxWindow->isVisible());
    EXPECT_EQ(boxWindow->geometry(), QRect(200, 100, 60, 60));
}

} // namespace
