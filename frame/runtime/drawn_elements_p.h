// The windows that drawn elements lie in (the control's site, a picture
// box's window) paint them and route the mouse to them, so that a label or a
// picture costs no window of its own yet looks and answers as if it had one:
// the topmost element that takes input under the pointer gets the press and
// keeps the mouse until the last button goes up, Click follows a release over
// it, and the second press of a double click on the same element is its
// DblClick. Where no such element lies, and while the window holds the mouse
// capture, the input is the window's own.
#pragma once

#include "frame/runtime/counted_p.h"

#include <QRect>

#include <cstdint>

class QMouseEvent;
class QPainter;
class QWidget;

namespace korva {

class Control;
class Element;

// What weak references to an element share: cleared when the element goes.
struct ElementToken {
    Element* element;
    int refs = 1;
};

// A weak reference to an element: null once the element is gone.
class ElementRef {
public:
    ElementRef() = default;
    ElementRef(const Element* e); // NOLINT: stands in for the pointer
    Element* get() const { return token_ ? token_->element : nullptr; }
    operator Element*() const { return get(); } // NOLINT
    Element* operator->() const { return get(); }

private:
    Counted<ElementToken> token_;
};

// The topmost visible, enabled drawn element lying in `window` that takes
// the mouse at a pixel; nullptr where the input is the window's own.
Element* drawnElementAt(const Control& owner, const QWidget& window, QPoint px);

// Marks a window whose cursor a drawn element set (see Element::setCursor):
// the window puts its own back once the pointer leaves the element.
extern const char* const kElementCursor;

// Paints the drawn elements lying in `window` that meet `area`, bottom first,
// each box's contents right after it and inside it; with `above`, only those
// lying above that stacking key (see paintDrawnAbove).
void paintDrawnElements(const Control& owner, const QWidget& window, QPainter& p, const QRect& area,
                        int32_t above = INT32_MIN);

// The window of an element that, once painted, paints over itself the drawn
// elements of its parent window that lie above it; so a drawn element that
// lets the mouse through may lie over such a window and still need none of
// its own (a swatch over a button).
class PaintsDrawnAbove {
public:
    virtual ~PaintsDrawnAbove() = default;
};
// What `window` (the window of `e`) paints over itself, `area` in its pixels.
void paintDrawnAbove(const Element& e, const QWidget& window, QPainter& p, const QRect& area);

class DrawnMouse {
public:
    // What the window does with the event once the drawn elements had their say.
    enum class Outcome {
        Taken,       // an element got it
        Window,      // the window's own, as it came
        WindowPress, // the window's own, but a press: the double click began elsewhere
    };
    Outcome press(QWidget& window, Control& owner, const QMouseEvent& e);
    Outcome move(QWidget& window, Control& owner, const QMouseEvent& e);
    Outcome release(QWidget& window, Control& owner, const QMouseEvent& e);
    Outcome doubleClick(QWidget& window, Control& owner, const QMouseEvent& e);

private:
    Element* target(QWidget& window, Control& owner, QPoint px) const;
    void followCursor(QWidget& window, Element* over);

    ElementRef pressed_;   // null with held_: the window itself holds the mouse
    ElementRef lastPress_; // what the last press went to, null for the window
    ElementRef doubled_;   // the element whose double click is in progress
    bool held_ = false;
    bool lastPressOnWindow_ = true;
    bool showsElementCursor_ = false; // the window shows an element's cursor
};

} // namespace korva
