// Colors on a real window: hover and its capture, the click that opens the
// drop-down, a drag over the panel, the double click and the arrow keys.
#include "colors/colors.h"
#include "colors/palette_model_p.h"
#include "pane/pane.h"
#include "real_window.h"

#include <QLineEdit>
#include <QSignalSpy>

using namespace korva;
using namespace korva::xcb;

namespace {

// Two edits before the button, so that "back one control" can be told from
// "back two", and a pane after it to take a click once the pointer has left.
class ColorsWindow : public RealWindow {
protected:
    void SetUp() override {
        RealWindow::SetUp();
        if (IsSkipped())
            return;
        // Far enough right for the drop-down, which lines up with the button's
        // right edge and is never moved back onto the screen from the left.
        form.resize(600, 120);
        first = new QLineEdit(&form);
        first->setGeometry(10, 10, 80, 24);
        second = new QLineEdit(&form);
        second->setGeometry(100, 10, 80, 24);
        colors = Colors::createNew();
        button = place(form, *colors, {450, 10});
        pane = Pane::createNew();
        place(form, *pane, {450, 60});
        colors->addSink(&log);
        showActive(form);
    }
    void TearDown() override {
        if (colors)
            colors->HidePopUp();
    }

    QPoint centreOf(const char* cell) const {
        for (const auto* grid : {&colors->paletteModel().MainGrid(), &colors->paletteModel().ShadeGrid()})
            for (const ColorCell& c : *grid)
                if (c.Name == cell)
                    return {(c.Left + c.Right) / 2, (c.Top + c.Bottom) / 2};
        ADD_FAILURE() << "no cell " << cell;
        return {};
    }
    void openByClick() {
        input.moveTo(button, button->rect().center());
        input.click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return colors->popupVisible(); }, 5000));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(colors->popupWidget()));
    }

    QWidget form;
    QLineEdit* first = nullptr;
    QLineEdit* second = nullptr;
    std::unique_ptr<Colors> colors;
    std::unique_ptr<Pane> pane;
    QWidget* button = nullptr;
    EventLog log;
};

TEST_F(ColorsWindow, HoverThenClickOpensTheDropDown) {
    input.moveTo(button, button->rect().center());
    EXPECT_TRUE(colors->MousePosn());
    EXPECT_TRUE(log.only({"MouseOut"}).size() >= 1) << "hovering reports MouseOut on every move";
    log.lines.clear();
    input.click();
    EXPECT_EQ(log.only({"MouseDown", "MouseUp", "Click"}), QStringList({"MouseDown", "MouseUp", "Click"}))
        << log.lines.join(u' ').toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return colors->popupVisible(); }, 5000));
    EXPECT_TRUE(colors->popupWidget()->isVisible());
}

// Regression: the capture taken for hover tracking kept every mouse event of
// the form, so nothing else on it could be clicked.
TEST_F(ColorsWindow, LeavingReleasesTheCaptureAndAnotherControlTakesTheClick) {
    input.moveTo(button, button->rect().center());
    ASSERT_TRUE(colors->MousePosn());
    input.moveTo(pane->widget(), pane->widget()->rect().center());
    EXPECT_FALSE(colors->MousePosn());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    QSignalSpy paneClicks(pane.get(), &Pane::Click);
    log.lines.clear();
    input.click();
    EXPECT_EQ(paneClicks.count(), 1);
    EXPECT_EQ(log.only({"MouseDown", "MouseUp", "Click"}), QStringList());
    EXPECT_FALSE(colors->popupVisible());
}

TEST_F(ColorsWindow, DragOverTheOpenPanelPreviewsAndReleaseChooses) {
    openByClick();
    QWidget* panel = colors->popupWidget();
    log.lines.clear();
    input.moveTo(panel, centreOf("RED"));
    input.press();
    input.dragTo(panel, centreOf("DARK RED"));
    input.dragTo(panel, centreOf("YELLOW"));
    input.release();
    EXPECT_EQ(log.only({"Change", "Click"}), QStringList({"Change", "Change", "Change", "Click", "Change"}))
        << log.lines.join(u' ').toStdString();
    EXPECT_EQ(colors->Text(), "YELLOW");
    EXPECT_FALSE(colors->popupVisible());
}

TEST_F(ColorsWindow, DoubleClickRaisesDblClickAndEndsWithMouseUp) {
    input.moveTo(button, button->rect().center());
    log.lines.clear();
    input.doubleClick();
    const QStringList seen = log.only({"MouseDown", "MouseUp", "DblClick"});
    EXPECT_TRUE(seen.contains("DblClick")) << seen.join(u' ').toStdString();
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_EQ(seen.last(), "MouseUp") << seen.join(u' ').toStdString();
}

// Left and Up hand the focus back one control; the other arrows, and Down
// with a shift key, leave it where it is (plain Down opens the panel).
TEST_F(ColorsWindow, ArrowKeysOnTheFocusedButton) {
    const struct {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        bool back;
    } rows[] = {
        {"Right", Qt::Key_Right, {}, false},
        {"Shift+Down", Qt::Key_Down, Qt::ShiftModifier, false},
        {"Ctrl+Down", Qt::Key_Down, Qt::ControlModifier, false},
        {"Left", Qt::Key_Left, {}, true},
        {"Up", Qt::Key_Up, {}, true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        second->setFocus(Qt::OtherFocusReason);
        input.key(Qt::Key_Tab);
        ASSERT_TRUE(hasFocus(*colors)) << "Tab from the edit before it lands on " << focusName();
        log.lines.clear();
        input.key(r.key, r.mods);
        // A held Shift or Ctrl is a key of its own, with its own KeyDown.
        const qsizetype modifierKeys = r.mods == Qt::NoModifier ? 0 : 1;
        EXPECT_EQ(log.only({"KeyDown"}).size(), 1 + modifierKeys) << log.lines.join(u' ').toStdString();
        if (r.back)
            EXPECT_EQ(QApplication::focusWidget(), second) << focusName();
        else
            EXPECT_TRUE(hasFocus(*colors)) << focusName();
        EXPECT_FALSE(colors->popupVisible());
    }
}

} // namespace

namespace {

TEST_F(ColorsWindow, DownOpensThePanelWhichKeepsTheFocus) {
    second->setFocus(Qt::OtherFocusReason);
    input.key(Qt::Key_Tab);
    ASSERT_TRUE(hasFocus(*colors)) << focusName();
    log.lines.clear();
    input.key(Qt::Key_Down);
    ASSERT_TRUE(QTest::qWaitFor([&] { return colors->popupVisible(); }, 5000));
    QTest::qWait(300); // whatever the window system does with the new window, it has done it now
    EXPECT_TRUE(colors->popupVisible()) << log.lines.join(u' ').toStdString();
    EXPECT_EQ(QApplication::focusWidget(), colors->popupWidget()) << focusName();
    EXPECT_EQ(log.only({"FocusHidden", "FocusLost"}), QStringList()) << log.lines.join(u' ').toStdString();
}

} // namespace
