#include "host/input.h"

#include "frame/platform/key_codes_p.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace korva::host {

namespace {

bool parseButton(const QString& name, Qt::MouseButton& out) {
    const QString n = name.toLower();
    if (n.isEmpty() || n == u"left" || n == u"1")
        out = Qt::LeftButton;
    else if (n == u"right" || n == u"2")
        out = Qt::RightButton;
    else if (n == u"middle" || n == u"4")
        out = Qt::MiddleButton;
    else
        return false;
    return true;
}

} // namespace

bool InputSender::mouse(QWidget* controlWindow, const QString& action, QPoint pos, const QString& buttonName,
                        QString* error) {
    Qt::MouseButton button;
    if (!parseButton(buttonName, button)) {
        if (error)
            *error = QStringLiteral("unknown button %1 (left, right, middle)").arg(buttonName);
        return false;
    }
    const QString a = action.toLower();
    if (a != u"move" && a != u"down" && a != u"up" && a != u"click" && a != u"dblclick") {
        if (error)
            *error = QStringLiteral("unknown mouse action %1 (move, down, up, click, dblclick)").arg(action);
        return false;
    }
    QPointer<QWidget> top = controlWindow->window();
    QWindow* win = top->windowHandle();
    if (!win) {
        if (error)
            *error = QStringLiteral("the form is not shown");
        return false;
    }
    const QPointF local = controlWindow->mapTo(top.data(), QPointF(pos));
    const QPointF global = top->mapToGlobal(local);
    // Through the form's window, as the window system delivers input: Qt picks
    // the receiver (the element under the pointer, or the one holding the mouse).
    auto send = [&](QEvent::Type type, Qt::MouseButton b) {
        if (!top)
            return;
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
            held_ |= b;
        else if (type == QEvent::MouseButtonRelease)
            held_ &= ~b;
        QMouseEvent e(type, local, local, global, b, held_, Qt::NoModifier);
        QApplication::sendEvent(win, &e);
    };
    if (a == u"move")
        send(QEvent::MouseMove, Qt::NoButton);
    if (a == u"down" || a == u"click" || a == u"dblclick")
        send(QEvent::MouseButtonPress, button);
    if (a == u"up" || a == u"click" || a == u"dblclick")
        send(QEvent::MouseButtonRelease, button);
    if (a == u"dblclick") {
        send(QEvent::MouseButtonDblClick, button);
        send(QEvent::MouseButtonRelease, button);
    }
    return true;
}

bool InputSender::key(QWidget* controlWindow, const QString& action, int code, int shift, QString* error) {
    const QString a = action.toLower();
    if (a != u"down" && a != u"up" && a != u"press") {
        if (error)
            *error = QStringLiteral("unknown key action %1 (down, up, press)").arg(action);
        return false;
    }
    if (code < 0 || code > 255 || qtKeyOf(static_cast<int16_t>(code)) == Qt::Key_unknown) {
        if (error)
            *error = QStringLiteral("unknown key code %1").arg(code);
        return false;
    }
    // The runtime's own translation, so the control sees what a real key gives.
    const auto keyCode = static_cast<int16_t>(code);
    const int qtKey = qtKeyOf(keyCode);
    const QString text = keyTextOf(keyCode, static_cast<int16_t>(shift));
    Qt::KeyboardModifiers mods = modifiersOf(static_cast<int16_t>(shift));
    if (isKeypadCode(keyCode))
        mods |= Qt::KeypadModifier;

    QWidget* top = controlWindow->window();
    top->activateWindow();
    QApplication::setActiveWindow(top);
    QWidget* focus = QApplication::focusWidget();
    if (!focus || (focus != controlWindow && !controlWindow->isAncestorOf(focus))) {
        controlWindow->setFocus(Qt::OtherFocusReason);
        focus = QApplication::focusWidget();
    }
    QPointer<QWidget> target =
        focus && (focus == controlWindow || controlWindow->isAncestorOf(focus)) ? focus : controlWindow;
    if (a == u"down" || a == u"press") {
        QKeyEvent e(QEvent::KeyPress, qtKey, mods, text);
        QApplication::sendEvent(target, &e);
    }
    if ((a == u"up" || a == u"press") && target) {
        QKeyEvent e(QEvent::KeyRelease, qtKey, mods, text);
        QApplication::sendEvent(target, &e);
    }
    return true;
}

} // namespace korva::host
