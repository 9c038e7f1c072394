// Input as a user produces it: mouse and keyboard events delivered the way
// the window system delivers them, so that Qt and the runtime route them (to
// the child element under the pointer, to the widget holding the mouse, to
// the focus) exactly as they route real input.
//
//   mouse ACTION   events sent
//   move           move (with the buttons still held from an earlier down)
//   down           press
//   up             release
//   click          press, release
//   dblclick       press, release, double-click press, release
//
//   key ACTION     events sent to the focus
//   down           key press (with its text for printable keys)
//   up             key release
//   press          key press, key release
#pragma once

#include <QPoint>
#include <QPointer>
#include <QString>

class QWidget;

namespace korva::host {

class InputSender {
public:
    // Mouse input at `pos`, pixels relative to `window`. Normally it goes to
    // the top-level window that `window` lies in, which passes it on to the
    // child under the pointer. A `captured` window holds the mouse: it gets
    // the events itself, also at positions outside it. False with a message
    // for an unknown action or button, or a window that is not shown.
    bool mouse(QWidget* window, QPoint pos, bool captured, const QString& action, const QString& button,
               QString* error);
    // Gives `window` the keyboard focus, making its top-level window the
    // active one first. False when it cannot take the focus (hidden, disabled).
    bool focus(QWidget* window, QString* error);
    // Key input to the focus. When the focus lies outside `owner` and its
    // windows (top-level ones included), `target` takes the focus first;
    // `target` may be `owner` itself or one of its windows. `code` is the
    // runtime's key code (65 for A, 13 for Enter, 37 for Left), `shift` its
    // shift mask (1 Shift, 2 Ctrl, 4 Alt).
    bool key(QWidget* owner, QWidget* target, const QString& action, int code, int shift, QString* error);

    // Whether `w` is `owner` or lies in it, counting windows of their own
    // whose parent chain leads to `owner` (a drop-down panel).
    static bool belongsTo(const QWidget* w, const QWidget* owner);

private:
    Qt::MouseButtons held_;
    // A window pressed while it held the capture keeps getting the mouse
    // until every button is up, as the window system's grab on a press
    // does, also after it let the capture go (Qt did not see that press).
    QPointer<QWidget> pressGrab_;
};

} // namespace korva::host
