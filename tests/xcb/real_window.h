// What the real-window tests share: a form shown as a top-level window on an
// X server, and input delivered the way the server delivers it.
//
// The pointer really moves (QCursor::setPos warps it), so the server itself
// reports the move to the window under the pointer, or to the window holding
// the capture, and QCursor::pos() answers what a timer polling the cursor
// would see. A button or a key cannot be pressed that way from inside Qt, so
// it is handed to Qt as the xcb plugin hands over what the server sends:
//   button press      the window holding the capture, else the window under the pointer
//   move, button held the window that took the press (the server's implicit grab)
//   button release    the same window; the button is up again
//   key               the window with the keyboard focus, to its focus widget
// No event is sent to a widget directly: Qt routes each one from the window.
#pragma once

#include "frame/runtime/control.h"
#include "frame/values/class_info.h"
#include "frame/values/value_text_p.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <span>

// Readable failures for strings and lists of them.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace korva::xcb {

// Every event a control raises, as "Name(arg, arg)", in order.
class EventLog : public EventSink {
public:
    void onEvent(Control& c, int32_t number, std::span<Value* const> args) override {
        QStringList parts;
        for (Value* v : args)
            parts << formatValue(*v);
        lines << c.classInfo().eventByNumber(number)->name + u'(' + parts.join(u", ") + u')';
    }
    // The names of the logged events that are among `wanted`, in order.
    QStringList only(const QStringList& wanted) const {
        QStringList out;
        for (const QString& l : lines)
            if (const QString name = l.section(u'(', 0, 0); wanted.contains(name))
                out << name;
        return out;
    }
    QStringList lines;
};

// Waits until the window system has reported the pointer's arrival at
// `global`: a move there to whichever window gets it, or, where no window of
// ours is left to tell, the leave of the one it came from.
class MoveSeen : public QObject {
public:
    MoveSeen(QPoint global, bool leaving) : at_(global), leaving_(leaving) { qApp->installEventFilter(this); }
    ~MoveSeen() override { qApp->removeEventFilter(this); }
    bool seen = false;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o->isWindowType() && ((e->type() == QEvent::MouseMove &&
                                   static_cast<QMouseEvent*>(e)->globalPosition().toPoint() == at_) ||
                                  (leaving_ && e->type() == QEvent::Leave)))
            seen = true;
        return false;
    }

private:
    QPoint at_;
    bool leaving_;
};

class Input {
public:
    void moveTo(QWidget* w, QPoint local) { moveTo(w->mapToGlobal(local)); }
    // The pointer glides there as a hand moves it, through the points between,
    // so each window on the way hears of it entering and leaving.
    void moveTo(QPoint global) {
        ASSERT_EQ(held_, Qt::NoButton) << "a move with a button held is a drag";
        const QPoint from = QCursor::pos();
        const QPoint way = global - from;
        const int steps = std::clamp(way.manhattanLength() / 8, 1, 40);
        for (int i = 1; i <= steps; ++i)
            step(from + way * i / steps);
    }
    void press(Qt::MouseButton b = Qt::LeftButton, Qt::KeyboardModifiers m = {}) {
        pressedIn_ = receiver();
        ASSERT_TRUE(pressedIn_) << "no window under the pointer";
        held_ = b;
        QTest::mousePress(pressedIn_, b, m, local(pressedIn_));
    }
    void release(Qt::KeyboardModifiers m = {}) {
        ASSERT_TRUE(pressedIn_) << "the window that took the press is gone";
        QTest::mouseRelease(pressedIn_, held_, m, local(pressedIn_));
        held_ = Qt::NoButton;
    }
    void click(Qt::MouseButton b = Qt::LeftButton) {
        press(b);
        release();
    }
    // Press, release, press (which Qt turns into a double click), release.
    void doubleClick() {
        QWindow* w = receiver();
        ASSERT_TRUE(w) << "no window under the pointer";
        QTest::mouseDClick(w, Qt::LeftButton, {}, local(w));
    }
    // With the button held: the moves go to the window that took the press.
    void dragTo(QWidget* w, QPoint localPoint) {
        ASSERT_NE(held_, Qt::NoButton) << "a drag needs a button held";
        ASSERT_TRUE(pressedIn_);
        dragAt_ = w->mapToGlobal(localPoint);
        QTest::mouseMove(pressedIn_, pressedIn_->mapFromGlobal(dragAt_));
    }

    void key(Qt::Key k, Qt::KeyboardModifiers m = {}) {
        QWindow* w = QGuiApplication::focusWindow();
        ASSERT_TRUE(w) << "no window has the keyboard focus";
        QTest::keyClick(w, k, m);
    }
    void type(const char* text) {
        for (const char* c = text; *c; ++c) {
            QWindow* w = QGuiApplication::focusWindow();
            ASSERT_TRUE(w) << "no window has the keyboard focus";
            QTest::keyClick(w, *c);
        }
    }

private:
    void step(QPoint global) {
        if (QCursor::pos() == global)
            return; // a pointer that does not move reports nothing
        const bool toNowhere = !QApplication::topLevelAt(global) && !QWidget::mouseGrabber();
        if (toNowhere && !QApplication::topLevelAt(QCursor::pos())) {
            QCursor::setPos(global); // from outside to outside: nothing of ours hears of it
            return;
        }
        MoveSeen move(global, toNowhere);
        QCursor::setPos(global);
        EXPECT_TRUE(QTest::qWaitFor([&] { return move.seen; }, 5000))
            << "the X server reported no move to " << global.x() << "," << global.y();
    }
    QPoint at() const { return held_ != Qt::NoButton && !dragAt_.isNull() ? dragAt_ : QCursor::pos(); }
    QPoint local(QWindow* w) const { return w->mapFromGlobal(at()); }
    // Where the server sends a button: the capture's window, else the one under the pointer.
    QWindow* receiver() {
        dragAt_ = {};
        if (QWidget* g = QWidget::mouseGrabber())
            return g->window()->windowHandle();
        QWidget* top = QApplication::topLevelAt(QCursor::pos());
        return top ? top->windowHandle() : nullptr;
    }

    QPointer<QWindow> pressedIn_;
    Qt::MouseButton held_ = Qt::NoButton;
    QPoint dragAt_;
};

// A form on the X server: top-level, exposed and active, at a fixed place,
// with the pointer parked outside it so that every test starts from no hover.
class RealWindow : public ::testing::Test {
protected:
    static constexpr QPoint kFormAt{100, 100};
    static constexpr QPoint kParked{20, 20}; // above and left of the form

    void SetUp() override {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X server: run with DISPLAY set and QT_QPA_PLATFORM=xcb "
                            "(scripts/test starts Xvfb); this run has the "
                         << QGuiApplication::platformName().toStdString() << " platform";
        input.moveTo(kParked);
    }

    // Puts the control's window on `form` at `at`, in tab order after what is there.
    static QWidget* place(QWidget& form, Control& c, QPoint at) {
        QWidget* w = c.widget();
        w->setParent(&form);
        w->move(at);
        w->show();
        return w;
    }
    // Then the pointer crosses a corner of the window that no control covers
    // and leaves again: Qt drops a move to where it last saw the pointer, and
    // that may be a spot of the window the previous test closed.
    void showActive(QWidget& w) {
        w.move(kFormAt);
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        input.moveTo(&w, {1 + crossings_++ % 8, 1});
        input.moveTo(kParked);
    }
    // The focus is in the control as a whole: its window or one inside it.
    static bool hasFocus(const Control& c) {
        QWidget* f = QApplication::focusWidget();
        return f && (f == c.widget() || c.widget()->isAncestorOf(f));
    }

    // Which widget holds the focus, for failure messages.
    static std::string focusName() {
        std::string out;
        for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
            out += std::string(w->metaObject()->className()) + " " + w->objectName().toStdString() + " < ";
        return out.empty() ? "nothing" : out;
    }

    Input input;

private:
    static inline int crossings_ = 0;
};

} // namespace korva::xcb
