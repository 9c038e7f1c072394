// Scripted input reaches the window a real user's input would reach: the
// child under the pointer, a top-level window of its own, the window holding
// the capture (wherever the pointer is), and the focus for keys.
#include "host/input.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

using korva::host::InputSender;

// Readable failures: the lists print as text.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QStringList& l, std::ostream* os) {
    *os << l.join(QStringLiteral(" | ")).toStdString();
}
QT_END_NAMESPACE

namespace {

// Records every mouse and key event it gets, as "NAME press X,Y" or "NAME key TEXT MODS".
class Recorder : public QWidget {
public:
    Recorder(const char* name, QStringList& log, QWidget* parent = nullptr)
        : QWidget(parent), name_(QString::fromLatin1(name)), log_(log) {
        setFocusPolicy(Qt::StrongFocus);
        setMouseTracking(true); // as the control's windows are: moves arrive without a button held
    }

protected:
    void mousePressEvent(QMouseEvent* e) override { record("press", e); }
    void mouseReleaseEvent(QMouseEvent* e) override { record("release", e); }
    void mouseMoveEvent(QMouseEvent* e) override { record("move", e); }
    void keyPressEvent(QKeyEvent* e) override {
        log_ << QStringLiteral("%1 key %2 %3").arg(name_, e->text()).arg(e->modifiers().toInt(), 0, 16);
    }

private:
    void record(const char* what, QMouseEvent* e) {
        const QPoint p = e->position().toPoint();
        log_ << QStringLiteral("%1 %2 %3,%4").arg(name_, QLatin1String(what)).arg(p.x()).arg(p.y());
    }
    QString name_;
    QStringList& log_;
};

class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.resize(300, 200);
        control = new Recorder("control", log, &form);
        control->setGeometry(10, 10, 200, 100);
        element = new Recorder("element", log, control);
        element->setGeometry(50, 20, 40, 30);
        // A drop-down: a top-level window whose parent is the control.
        panel = new Recorder("panel", log, control);
        panel->setWindowFlag(Qt::Tool);
        panel->setGeometry(400, 300, 80, 60);
        form.show();
        panel->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel));
    }

    QWidget form;
    Recorder* control = nullptr;
    Recorder* element = nullptr;
    Recorder* panel = nullptr;
    QStringList log;
    InputSender input;
    QString error;
};

TEST_F(InputTest, MouseGoesToTheWindowUnderThePointerOrToTheCapture) {
    // Through the form: the element under the pointer gets it in its own pixels.
    ASSERT_TRUE(input.mouse(element, QPoint(3, 4), false, "click", "", &error)) << error.toStdString();
    // Beside the element, the control itself.
    ASSERT_TRUE(input.mouse(control, QPoint(5, 6), false, "down", "left", &error));
    ASSERT_TRUE(input.mouse(control, QPoint(5, 6), false, "up", "left", &error));
    // A top-level window of its own gets input through its own window.
    ASSERT_TRUE(input.mouse(panel, QPoint(7, 8), false, "click", "right", &error));
    // The capture gets everything, at its own coordinates, even outside it.
    ASSERT_TRUE(input.mouse(panel, QPoint(-390, -290), true, "move", "", &error));
    EXPECT_EQ(log, QStringList({"element press 3,4", "element release 3,4", "control press 5,6",
                                "control release 5,6", "panel press 7,8", "panel release 7,8",
                                "panel move -390,-290"}));
}

TEST_F(InputTest, MouseRefusesUnknownActionsButtonsAndHiddenWindows) {
    EXPECT_FALSE(input.mouse(element, QPoint(1, 1), false, "hop", "", &error));
    EXPECT_TRUE(error.contains("hop")) << error.toStdString();
    EXPECT_FALSE(input.mouse(element, QPoint(1, 1), false, "click", "thumb", &error));
    EXPECT_TRUE(error.contains("thumb")) << error.toStdString();
    element->hide();
    EXPECT_FALSE(input.mouse(element, QPoint(1, 1), false, "click", "", &error));
    EXPECT_TRUE(input.mouse(element, QPoint(1, 1), true, "move", "", &error)) << "a capture needs no showing";
    EXPECT_EQ(log, QStringList({"element move 1,1"}));
}

TEST_F(InputTest, KeysGoToTheFocusInsideTheOwnerElseTheTargetTakesIt) {
    auto* edit = new QLineEdit(panel);
    edit->show();
    ASSERT_TRUE(input.focus(edit, &error)) << error.toStdString();
    // The focus lies in the owner's drop-down: the key goes there, Alt+A without text.
    ASSERT_TRUE(input.key(control, control, "press", 65, 0, &error));
    ASSERT_TRUE(input.key(control, control, "press", 65, 4, &error));
    EXPECT_EQ(edit->text(), "a");
    // Naming an element moves the focus to it first.
    ASSERT_TRUE(input.key(control, element, "press", 66, 1, &error));
    // Focus outside the owner: the owner takes it.
    ASSERT_TRUE(input.focus(edit, &error));
    ASSERT_TRUE(input.key(element, element, "down", 67, 2, &error));
    // Alt+A, which the edit leaves alone, travels up to the drop-down as in any Qt program.
    EXPECT_EQ(log, QStringList({"panel key  8000000", "element key B 2000000", "element key \x03 4000000"}));
    EXPECT_EQ(edit->text(), "a");

    EXPECT_FALSE(input.key(control, control, "press", 9999, 0, &error));
    EXPECT_FALSE(input.key(control, control, "stroke", 65, 0, &error));
    EXPECT_TRUE(error.contains("stroke")) << error.toStdString();
}

TEST(InputOwnership, WindowsOfTheirOwnBelongToTheirParentChain) {
    QWidget owner;
    QWidget child(&owner);
    QWidget popup(&child, Qt::Tool);
    QWidget stranger;
    EXPECT_TRUE(InputSender::belongsTo(&popup, &owner));
    EXPECT_TRUE(InputSender::belongsTo(&owner, &owner));
    EXPECT_FALSE(InputSender::belongsTo(&stranger, &owner));
    EXPECT_FALSE(InputSender::belongsTo(nullptr, &owner));
    EXPECT_FALSE(InputSender::belongsTo(&owner, &child));
}

} // namespace
