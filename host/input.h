// Input as a user produces it: mouse and keyboard events sent to the form's
// window at pixel positions of a control's window, so that Qt and the
// runtime route them (to the child element under the pointer, to the widget
// holding the mouse, to the focus) exactly as they route real input.
//
//   mouse ACTION   events sent
//   move           move (with the buttons still held from an earlier down)
//   down           press
//   up             release
//   click          press, release
//   dblclick       press, release, double-click press, release
//
//   key ACTION     events sent to the focus (the control takes it first)
//   down           key press (with its text for printable keys)
//   up             key release
//   press          key press, key release
#pragma once

#include <QPoint>
#include <QString>

class QWidget;

namespace korva::host {

class InputSender {
public:
    // False with a message for an unknown action or button.
    bool mouse(QWidget* controlWindow, const QString& action, QPoint pos, const QString& button,
               QString* error);
    // `code` is the runtime's key code (65 for A, 13 for Enter, 37 for Left);
    // `shift` its shift mask (1 Shift, 2 Ctrl, 4 Alt).
    bool key(QWidget* controlWindow, const QString& action, int code, int shift, QString* error);

private:
    Qt::MouseButtons held_;
};

} // namespace korva::host
