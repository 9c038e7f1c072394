#include "frame/runtime/element_input_p.h"

#include "frame/platform/key_codes_p.h"
#include "frame/runtime/element_p.h"
#include "frame/values/convert_p.h"
#include "frame/values/guarded_p.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <vector>

namespace korva {

namespace {

template <class F> void guarded(const Element& e, Notification n, F&& f) {
    const QByteArray what = (notificationName(n) + QStringLiteral(" handler of ") + e.Name()).toUtf8();
    runGuarded(what.constData(), std::forward<F>(f));
}

// Delivers and returns the by-reference first argument as the handler left it.
int16_t deliverCode(Element& e, Notification n, std::vector<Value> args) {
    int16_t out = 0;
    valueToInteger(args[0], out);
    guarded(e, n, [&] {
        if (e.deliver(n, args, nullptr))
            valueToInteger(args[0], out);
    });
    return out;
}

} // namespace

KeyPressOutcome deliverKeyPress(Element& e, const QKeyEvent& event) {
    KeyPressOutcome out;
    const int16_t shift = shiftStateOf(event.modifiers());
    const int16_t code = keyCodeOf(event.key(), event.modifiers());
    if (code != 0)
        out.keyKept = deliverCode(e, Notification::KeyDown, {Value(code), Value(shift)}) != 0;

    std::vector<int16_t> typed;
    const int16_t ascii = keyAsciiOf(event.key(), event.modifiers(), event.text());
    if (ascii != 0) {
        typed.push_back(ascii);
        // Composed input may type several characters with one key.
        const QString text = event.text();
        if (text.size() > 1 && text.front().unicode() == static_cast<char16_t>(ascii))
            for (qsizetype i = 1; i < text.size(); ++i)
                typed.push_back(static_cast<int16_t>(text.at(i).unicode()));
    }
    for (const int16_t c : typed) {
        const int16_t left = deliverCode(e, Notification::KeyPress, {Value(c)});
        if (left != c)
            out.typedChanged = true;
        if (left != 0)
            out.typed.push_back(static_cast<char16_t>(static_cast<uint16_t>(left)));
    }
    return out;
}

void deliverKeyRelease(Element& e, const QKeyEvent& event) {
    if (event.isAutoRepeat())
        return;
    const int16_t code = keyCodeOf(event.key(), event.modifiers());
    if (code != 0)
        deliverCode(e, Notification::KeyUp, {Value(code), Value(shiftStateOf(event.modifiers()))});
}

void deliverMouse(Element& e, Notification n, const QMouseEvent& event, QPointF origin) {
    // A press or release reports the button that changed, a move the buttons held.
    const Qt::MouseButtons buttons =
        n == Notification::MouseMove ? event.buttons() : Qt::MouseButtons(event.button());
    guarded(e, n, [&] { e.mouseInput(n, buttons, event.modifiers(), event.position() - origin); });
}

void deliverPlain(Element& e, Notification n) {
    std::vector<Value> none;
    guarded(e, n, [&] { e.deliver(n, none, nullptr); });
}

} // namespace korva
