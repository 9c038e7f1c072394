// Keyboard and focus input of an element's window, turned into the element's
// notifications. The windowed elements (picture box, text box, combo box,
// command button) share this, so a key reaches every handler the same way.
//
// One key press, in order:
//   KeyDown(KeyCode, Shift)   KeyCode by reference; 0 cancels the key's own
//                             action (caret movement, Delete, ...)
//   KeyPress(KeyAscii)        once per character the key types, by reference;
//                             0 drops the character, another code replaces it
// One key release: KeyUp(KeyCode, Shift). Auto-repeat repeats the press only.
// Handlers run before the window acts on the key, and nothing they throw
// leaves the window.
#pragma once

#include "frame/runtime/control.h"

#include <QPointF>
#include <QString>

#include <cstdint>
#include <string>

class QKeyEvent;
class QMouseEvent;

namespace korva {

class Element;

struct KeyPressOutcome {
    bool keyKept = true;       // KeyDown left a key code other than 0
    std::u16string typed;      // the characters after KeyPress, dropped ones left out
    bool typedChanged = false; // a KeyPress handler dropped or replaced a character
};

KeyPressOutcome deliverKeyPress(Element& e, const QKeyEvent& event);
void deliverKeyRelease(Element& e, const QKeyEvent& event);

// MouseDown, MouseMove or MouseUp at the event's position, taken from
// `origin` (where a drawn element lies in the window that got the event).
void deliverMouse(Element& e, Notification n, const QMouseEvent& event, QPointF origin = {});

// A notification without arguments (GotFocus, LostFocus, Click, Change).
void deliverPlain(Element& e, Notification n);

} // namespace korva
