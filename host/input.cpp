#include "host/input.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace korva::host {

bool qtKeyForCode(int code, bool shifted, int& qtKey, QString& text, bool& keypad) {
    keypad = false;
    text.clear();
    if (code >= 'A' && code <= 'Z') {
        qtKey = Qt::Key_A + (code - 'A');
        text = QChar(shifted ? code : code - 'A' + 'a');
        return true;
    }
    if (code >= '0' && code <= '9' && !shifted) {
        qtKey = Qt::Key_0 + (code - '0');
        text = QChar(code);
        return true;
    }
    if (code >= 96 && code <= 105) { // number pad digits
        qtKey = Qt::Key_0 + (code - 96);
        text = QChar('0' + code - 96);
        keypad = true;
        return true;
    }
    if (code >= 112 && code <= 135) {
        qtKey = Qt::Key_F1 + (code - 112);
        return true;
    }
    struct Named {
        int code;
        int key;
        char text;
        bool keypad;
    };
    static const Named named[] = {
        {8, Qt::Key_Backspace, '\b', false}, {9, Qt::Key_Tab, '\t', false},
        {13, Qt::Key_Return, '\r', false},   {16, Qt::Key_Shift, 0, false},
        {17, Qt::Key_Control, 0, false},     {18, Qt::Key_Alt, 0, false},
        {27, Qt::Key_Escape, 27, false},     {32, Qt::Key_Space, ' ', false},
        {33, Qt::Key_PageUp, 0, false},      {34, Qt::Key_PageDown, 0, false},
        {35, Qt::Key_End, 0, false},         {36, Qt::Key_Home, 0, false},
        {37, Qt::Key_Left, 0, false},        {38, Qt::Key_Up, 0, false},
        {39, Qt::Key_Right, 0, false},       {40, Qt::Key_Down, 0, false},
        {45, Qt::Key_Insert, 0, false},      {46, Qt::Key_Delete, 127, false},
        {106, Qt::Key_Asterisk, '*', true},  {107, Qt::Key_Plus, '+', true},
        {109, Qt::Key_Minus, '-', true},     {110, Qt::Key_Period, '.', true},
        {111, Qt::Key_Slash, '/', true},     {186, Qt::Key_Semicolon, ';', false},
        {187, Qt::Key_Equal, '=', false},    {188, Qt::Key_Comma, ',', false},
        {189, Qt::Key_Minus, '-', false},    {190, Qt::Key_Period, '.', false},
        {191, Qt::Key_Slash, '/', false},
    };
    for (const Named& n : named)
        if (n.code == code) {
            qtKey = n.key;
            if (n.text)
                text = QChar(n.text);
            keypad = n.keypad;
            return true;
        }
    return false;
}

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

Qt::KeyboardModifiers modifiersOf(int shift) {
    Qt::KeyboardModifiers m;
    if (shift & 1)
        m |= Qt::ShiftModifier;
    if (shift & 2)
        m |= Qt::ControlModifier;
    if (shift & 4)
        m |= Qt::AltModifier;
    return m;
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
    int qtKey = 0;
    QString text;
    bool keypad = false;
    if (!qtKeyForCode(code, shift & 1, qtKey, text, keypad)) {
        if (error)
            *error = QStringLiteral("unknown key code %1").arg(code);
        return false;
    }
    Qt::KeyboardModifiers mods = modifiersOf(shift);
    if (keypad)
        mods |= Qt::KeypadModifier;
    if (mods & (Qt::ControlModifier | Qt::AltModifier))
        text.clear(); // no character comes with a chord

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
