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

bool fail(QString* error, const QString& message) {
    if (error)
        *error = message;
    return false;
}

} // namespace

bool InputSender::belongsTo(const QWidget* w, const QWidget* owner) {
    for (; w; w = w->parentWidget())
        if (w == owner)
            return true;
    return false;
}

bool InputSender::mouse(QWidget* window, QPoint pos, bool captured, const QString& action,
                        const QString& buttonName, QString* error) {
    Qt::MouseButton button;
    if (!parseButton(buttonName, button))
        return fail(error,
                    QStringLiteral("unknown button %1 (left, right, middle)").arg(buttonName.left(40)));
    const QString a = action.toLower();
    if (a != u"move" && a != u"down" && a != u"up" && a != u"click" && a != u"dblclick")
        return fail(
            error,
            QStringLiteral("unknown mouse action %1 (move, down, up, click, dblclick)").arg(action.left(40)));
    if (!captured && pressGrab_ && held_ != Qt::NoButton && pressGrab_->window() == window->window()) {
        pos = pressGrab_->mapFrom(window->window(), window->mapTo(window->window(), pos));
        window = pressGrab_;
        captured = true;
    }
    QPointer<QWidget> top = window->window();
    QWindow* win = top->windowHandle();
    if (!captured && (!win || !window->isVisible()))
        return fail(error, QStringLiteral("the window is not shown"));
    const QPointF local(pos);
    const QPointF inTop = window->mapTo(top.data(), local);
    const QPointF global = window->mapToGlobal(local);
    // A captured window is sent the events itself, as the window system does;
    // otherwise its top-level window gets them and Qt picks the receiver (the
    // element under the pointer, or the one Qt holds the mouse for).
    QPointer<QWidget> receiver = window;
    auto send = [&](QEvent::Type type, Qt::MouseButton b) {
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)
            held_ |= b;
        else if (type == QEvent::MouseButtonRelease)
            held_ &= ~b;
        if (held_ == Qt::NoButton)
            pressGrab_ = nullptr;
        else if (captured && type == QEvent::MouseButtonPress)
            pressGrab_ = receiver;
        if (captured) {
            if (!receiver)
                return;
            QMouseEvent e(type, local, inTop, global, b, held_, Qt::NoModifier);
            QApplication::sendEvent(receiver, &e);
        } else {
            if (!top)
                return;
            QMouseEvent e(type, inTop, inTop, global, b, held_, Qt::NoModifier);
            QApplication::sendEvent(win, &e);
        }
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

bool InputSender::focus(QWidget* window, QString* error) {
    if (!window->isVisible())
        return fail(error, QStringLiteral("the window is not shown"));
    if (!window->isEnabled())
        return fail(error, QStringLiteral("the window is disabled"));
    QWidget* top = window->window();
    top->activateWindow();
    QApplication::setActiveWindow(top);
    window->setFocus(Qt::OtherFocusReason);
    // A window may hand the focus on to a child of its own (a focus proxy).
    const QWidget* now = QApplication::focusWidget();
    if (!now || (now != window && !window->isAncestorOf(now)))
        return fail(error, QStringLiteral("the window does not take the focus"));
    return true;
}

bool InputSender::key(QWidget* owner, QWidget* target, const QString& action, int code, int shift,
                      QString* error) {
    const QString a = action.toLower();
    if (a != u"down" && a != u"up" && a != u"press")
        return fail(error, QStringLiteral("unknown key action %1 (down, up, press)").arg(action.left(40)));
    if (code < 0 || code > 255 || qtKeyOf(static_cast<int16_t>(code)) == Qt::Key_unknown)
        return fail(error, QStringLiteral("unknown key code %1").arg(code));
    // The runtime's own translation, so the control sees what a real key gives
    // (Alt+letter carries no text, as the window system gives none).
    const auto keyCode = static_cast<int16_t>(code);
    const int qtKey = qtKeyOf(keyCode);
    const QString text = keyTextOf(keyCode, static_cast<int16_t>(shift));
    Qt::KeyboardModifiers mods = modifiersOf(static_cast<int16_t>(shift));
    if (isKeypadCode(keyCode))
        mods |= Qt::KeypadModifier;

    QWidget* focused = QApplication::focusWidget();
    const bool inTarget = focused && (focused == target || target->isAncestorOf(focused));
    if (!(target == owner ? belongsTo(focused, owner) : inTarget)) {
        // The key goes where the focus will be; a window that refuses the
        // focus still gets the key, as the element would under the pointer.
        focus(target, nullptr);
        focused = QApplication::focusWidget();
        if (!belongsTo(focused, owner))
            focused = target;
    }
    QPointer<QWidget> receiver = focused;
    if (a == u"down" || a == u"press") {
        QKeyEvent e(QEvent::KeyPress, qtKey, mods, text);
        QApplication::sendEvent(receiver, &e);
    }
    if ((a == u"up" || a == u"press") && receiver) {
        QKeyEvent e(QEvent::KeyRelease, qtKey, mods, text);
        QApplication::sendEvent(receiver, &e);
    }
    return true;
}

} // namespace korva::host
