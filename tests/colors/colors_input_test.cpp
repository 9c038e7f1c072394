// Colors under the mouse and keys as Qt routes them: the native mouse capture
// of the hover tracking, a double click, the arrow keys on a form, and the
// custom-colour row. Only the colour dialog is a double.
#include "colors/colors.h"
#include "frame/platform/platform_p.h"
#include "frame/runtime/element_p.h"
#include "frame/runtime/site.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace korva;

void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

class AnsweringPlatform : public Platform {
public:
    bool chooseColour(QWidget*, uint32_t, uint32_t& chosen) override {
        ++dialogs;
        chosen = 0x00123456u;
        return true;
    }
    int dialogs = 0;
};

class Names : public EventSink {
public:
    void onEvent(Control& c, int32_t number, std::span<Value* const>) override {
        list << c.classInfo().eventByNumber(number)->name;
    }
    QStringList list;
};

// A form: two line edits, the Colors control, one line edit after it.
class ColorsInput : public ::testing::Test {
protected:
    void SetUp() override {
        Platform::install(&platform);
        auto* layout = new QVBoxLayout(&form);
        layout->addWidget(first);
        layout->addWidget(second);
        layout->addWidget(colors->widget());
        layout->addWidget(after);
        QWidget::setTabOrder(second, colors->widget());
        QWidget::setTabOrder(colors->widget(), after);
        colors->addSink(&names);
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    void TearDown() override {
        colors->HidePopUp();
        colors->widget()->setParent(nullptr);
        Platform::install(nullptr);
    }
    QWidget* button() const { return colors->element(u"cmdMAINBTN")->widget(); }
    // The mouse as the window system delivers it: to the form's window, which
    // routes it (to the widget under the pointer, or the one holding the capture).
    QPoint on(QWidget* w, QPoint p) const { return w->mapTo(&form, p); }
    void move(QWidget* w, QPoint p) { QTest::mouseMove(form.windowHandle(), on(w, p)); }
    void click(QWidget* w, QPoint p) { QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, on(w, p)); }

    AnsweringPlatform platform;
    QWidget form;
    QLineEdit* first = new QLineEdit(&form);
    QLineEdit* second = new QLineEdit(&form);
    std::unique_ptr<Colors> colors = Colors::createNew();
    QLineEdit* after = new QLineEdit(&form);
    Names names;
};

} // namespace

TEST_F(ColorsInput, HoverThenClickOpensThePanelAndLeavingReleasesTheMouse) {
    move(button(), QPoint(20, 10));
    EXPECT_EQ(QWidget::mouseGrabber(), colors->site()) << "hover tracking holds the capture";
    EXPECT_TRUE(colors->MousePosn());
    names.list.clear();

    click(button(), QPoint(20, 10));
    EXPECT_EQ(names.list, QStringList({"MouseDown", "MouseUp", "Click"}));
    EXPECT_TRUE(colors->popupVisible());
    colors->HidePopUp();

    move(button(), QPoint(25, 10)); // a move to where the pointer already is would not count
    names.list.clear();
    move(after, QPoint(5, 5));
    EXPECT_TRUE(names.list.contains("MouseOut")) << "the move that leaves still reaches the control";
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_FALSE(colors->MousePosn());
    // Other windows get the mouse again.
    click(after, QPoint(5, 5));
    EXPECT_EQ(QApplication::focusWidget(), after);
}

TEST_F(ColorsInput, DoubleClickRaisesDblClickAndEndsWithARelease) {
    colors->setPopupEnabled(false); // the panel would take the second click
    move(button(), QPoint(20, 10));
    names.list.clear();
    QTest::mouseDClick(form.windowHandle(), Qt::LeftButton, {}, on(button(), QPoint(20, 10)));
    ASSERT_GE(names.list.size(), 3);
    EXPECT_EQ(names.list.mid(names.list.size() - 3), QStringList({"MouseDown", "DblClick", "MouseUp"}));
    colors->HidePopUp();
    // The button is not believed held: the next move tracks the hover again.
    names.list.clear();
    move(button(), QPoint(22, 10));
    EXPECT_TRUE(names.list.contains("MouseOut"));
}

TEST_F(ColorsInput, ArrowKeysMoveTheFocusBackOnceOrNotAtAll) {
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        bool back;
    } rows[] = {
        {Qt::Key_Right, {}, false},
        {Qt::Key_Down, Qt::ShiftModifier, false},
        {Qt::Key_Down, Qt::ControlModifier, false},
        {Qt::Key_Left, {}, true},
        {Qt::Key_Up, {}, true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(QKeySequence(r.key | r.mods).toString().toStdString());
        colors->widget()->setFocus();
        names.list.clear();
        ASSERT_EQ(QApplication::focusWidget(), button()) << "the control's focus is its button's";
        QTest::keyClick(QApplication::focusWidget(), r.key, r.mods);
        colors->HidePopUp();
        EXPECT_EQ(QApplication::focusWidget(), r.back ? static_cast<QWidget*>(second) : button());
    }
}

TEST_F(ColorsInput, MoreColoursOpensTheDialogOnTheClickNotThePress) {
    move(button(), QPoint(20, 10));
    click(button(), QPoint(20, 10));
    ASSERT_TRUE(colors->popupVisible());
    QWidget* label = colors->element(u"lblCUSTOM")->widget();
    const QPoint middle = label->rect().center();
    names.list.clear();
    QTest::mouseMove(label, middle);
    QTest::mousePress(label, Qt::LeftButton, {}, middle);
    EXPECT_TRUE(colors->popupVisible()) << "a press alone keeps the panel";
    EXPECT_EQ(platform.dialogs, 0);
    QTest::mouseRelease(label, Qt::LeftButton, {}, middle);
    EXPECT_EQ(platform.dialogs, 1);
    EXPECT_EQ(names.list.filter("FocusHidden").size(), 1) << names.list.join(' ').toStdString();
    EXPECT_EQ(names.list.last(), "ChangeCustom");
    EXPECT_EQ(colors->Color(), 0x00123456u);
}
