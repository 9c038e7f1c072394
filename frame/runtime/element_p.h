// Element: a child element of a control (picture box, label, image, shape,
// line, timer, ...). Geometry is kept in the container's scale exactly as set
// (a top of 152.5 twips reads back 152.5) and mapped to pixels for display.
// Input reaches the control through the element's notification handlers,
// named after the notification as the control's design names them.
//
// Mouse sequence of a visible element, as a user's input produces it:
//   press            -> MouseDown
//   move             -> MouseMove (also while a button is held outside)
//   release          -> MouseUp, then Click when released over the element
//   second press of a double-click -> DblClick (no MouseDown)
//   its release      -> MouseUp (no Click)
#pragma once

#include "frame/platform/platform_p.h"
#include "frame/runtime/control.h"
#include "frame/runtime/counted_p.h"
#include "frame/runtime/drawn_elements_p.h"
#include "frame/values/value.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

class QPainter;

namespace korva {

class Element;
class ContainerElement;

// A notification handler: a callable held by one pointer, shared by copies.
// An element's set has a slot for every notification and most stay empty,
// so an empty slot costs a pointer rather than a std::function's buffer.
template <class Sig> class Handler;
template <class R, class... A> class Handler<R(A...)> {
public:
    Handler() = default;
    Handler(std::nullptr_t) {} // NOLINT: clears like a std::function
    template <class F, class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, Handler> &&
                                                std::is_invocable_r_v<R, F&, A...>>>
    Handler(F f) { // NOLINT: assigned from lambdas like a std::function
        // An empty std::function or a null pointer installs nothing.
        if constexpr (std::is_pointer_v<F> || requires { f.target_type(); })
            if (!f)
                return;
        held_ = Counted<Base>(new Held<F>(std::move(f)));
    }
    explicit operator bool() const { return static_cast<bool>(held_); }
    R operator()(A... a) const { return held_->call(std::forward<A>(a)...); }

private:
    struct Base {
        virtual ~Base() = default;
        virtual R call(A... a) = 0;
        int refs = 1;
    };
    template <class F> struct Held final : Base {
        explicit Held(F&& fn) : f(std::move(fn)) {}
        R call(A... a) override { return f(std::forward<A>(a)...); }
        F f;
    };
    Counted<Base> held_;
};

struct ElementHandlers {
    using MouseHandler = Handler<void(int16_t button, int16_t shift, float x, float y)>;
    using PlainHandler = Handler<void()>;
    PlainHandler onClick, onDblClick, onChange, onTimer, onGotFocus, onLostFocus;
    MouseHandler onMouseDown, onMouseMove, onMouseUp;
    Handler<void(int16_t&keyCode, int16_t shift)> onKeyDown, onKeyUp;
    Handler<void(int16_t& keyAscii)> onKeyPress;
};

// A handler set as elements share it (see Element::handlers()).
struct SharedHandlers : ElementHandlers {
    SharedHandlers() = default;
    explicit SharedHandlers(const ElementHandlers& h) : ElementHandlers(h) {}
    int refs = 1;
};

// The window of a visual element: paints through the element and forwards input.
class ElementWidget : public QWidget, public PaintsDrawnAbove {
public:
    ElementWidget(Element& e, QWidget* parent);
    Element& element() const { return element_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;

private:
    Element& element_;
    // A picture box's window also takes the input of the drawn elements in
    // it; made on the first input.
    std::unique_ptr<DrawnMouse> drawnMouse_;
    DrawnMouse& drawnMouse();
    bool inDoubleClick_ = false;
};

// Not a QObject: forms hold thousands of elements, and none needs signals,
// properties or an object of Qt's own.
class Element {
public:
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;
    virtual ~Element();

    const QString& Name() const { return name_; }
    int Index() const { return index_; } // -1 when the element is not in an array
    Control& owner() const { return owner_; }
    // The element's window; a deferred one (see deferWidget) is made now.
    QWidget* widget() const;
    // The element's window if it has one by now, else nullptr.
    QWidget* existingWidget() const { return widget_; }

    // Where the element shows: the window that paints it and the rectangle
    // it occupies there, in that window's pixels. An element with a window
    // of its own is that whole window; a windowless visual element drawn by
    // another window of the control answers with that window and its
    // geometry mapped to its pixels. nullptr for an element nothing paints
    // (a timer).
    virtual QWidget* paintingWindow() const;
    virtual QRect paintedRect() const;

    // A drawn element (label, image, shape, line; a disabled picture box
    // holding only drawn elements) has no window while none is needed: the window it lies in paints it under
    // its own child windows and passes it the mouse input over it. One that a window of its container would
    // cover, or that lies in a window that cannot paint it, gets a window of its own, as does one whose
    // widget() is asked for.
    bool isDrawn() const { return (drawn_ && !widget_) || drawnUntilNeeded(); }
    // For a kind that is drawn only while a condition of its own holds (a
    // locked text box that never takes the focus, a disabled picture box):
    // true while it holds and no window is made.
    virtual bool drawnUntilNeeded() const { return false; }
    // A right click over the drawn element opens no menu, not even the form's.
    virtual bool keepsContextMenu() const { return false; }
    // Whether the mouse input over the element is its own; shapes and lines
    // let it through to what lies below.
    virtual bool takesMouse() const { return true; }
    // The pointer's shape while it is over the element.
    void setCursor(CursorShape shape);
    bool hasCursor() const { return cursor_ >= 0; }
    CursorShape cursor() const { return static_cast<CursorShape>(cursor_); }
    // Stacking among the control's elements: higher lies above.
    int32_t stackKey() const { return z_; }
    // The pixel rectangle in the window it lies in (see paintingWindow).
    QRect pixelRect() const;
    // The box this element lies in when that box is drawn too (and then so
    // is this element, painted inside it by the same window); else nullptr.
    const ContainerElement* drawnContainer() const;

    float Left() const { return left_; }
    float Top() const { return top_; }
    float Width() const { return width_; }
    float Height() const { return height_; }
    void setLeft(float v);
    void setTop(float v);
    void setWidth(float v);
    void setHeight(float v);
    void Move(float left, float top, float width, float height);

    bool Visible() const { return visible_; }
    void setVisible(bool on);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool on);

    // 0 brings the element to the front of its siblings, 1 sends it to the back.
    void ZOrder(int position = 0);

    // Re-maps the geometry to pixels (after the container's scale changed).
    void relayout();

    // Detaches the element's window from the control: it becomes a frameless
    // tool window of the desktop that the control's form does not clip, owned
    // by the control's window (in front of it, and the control's for the
    // focus), hidden until shown. From then on Left, Top, Width and Height are screen twips
    // (the platform's factors). Only for an element on the control itself.
    void makeToolWindow();
    bool isToolWindow() const { return toolWindow_; }
    // For a window that watches one the element lies in: it resized or showed.
    void parentShownOrResized(const QWidget* parent);
    bool waitsOn(const QWidget* parent) const {
        return deferred_ && !toolWindow_ && parentWindow() == parent;
    }

    // The element's window never takes the focus, whenever it is made.
    void refuseFocus();
    bool refusesFocus() const { return refusesFocus_; }

    // The picture box this element lies in (its positions are then in the
    // box's scale); nullptr when it lies on the control itself.
    ContainerElement* Container() const;
    void setContainer(ContainerElement* box);

    // A new element of the same kind, named like this one, with `index` and
    // this one's kind-specific properties; geometry, visibility and handlers
    // are the caller's to copy. nullptr for a kind that cannot be copied.
    virtual std::unique_ptr<Element> cloneAs(Control& owner, int index) const;

    // The element whose notification handler is running (the innermost when
    // handlers nest), nullptr outside handlers. Handlers that an element array
    // shares read the sender's Index() here.
    static Element* notifying();
    bool isNotifying() const;

    // Notification handlers, installed by the control through handlers().
    // Most elements never get one, and the members of an element array
    // share their first member's until one of them changes: the set is
    // kept apart and shared, copied only when written.
    using MouseHandler = ElementHandlers::MouseHandler;
    ElementHandlers& handlers();
    const ElementHandlers& handlers() const;
    // The members of an array start with the handlers of the one they copy.
    void shareHandlers(const Element& from) { handlers_ = from.handlers_; }
    // Drops every handler, so nothing reaches a control that is going away.
    void clearHandlers() { handlers_.reset(); }

    // Delivers a notification with arguments as the runtime would; false with a
    // message when the element has no such notification or the arguments do not fit.
    virtual bool deliver(Notification n, std::vector<Value>& args, QString* error);

    // Painting of visual elements; `r` is the element's pixel rectangle.
    virtual void paint(QPainter&, const QRect&) {}

    // Mouse input from the element's window, in pixels relative to it.
    void mouseInput(Notification n, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods, QPointF pos);

protected:
    // `drawn` elements are painted by the window they lie in (see isDrawn);
    // the other kinds make their windows themselves, timers none.
    Element(Control& owner, const QString& name, int index, bool drawn);
    void repaint();

    // A mouse position in pixels of the element's window, in the scale its
    // notifications report: the container's (a picture box reports in its own).
    virtual QPointF mouseScale(QPointF px) const;

    // Replaces the element's window by a specialised one (text box, button...).
    void setWidget(QWidget* w);

    // For a kind whose window is often never seen (a hidden picture, a combo
    // box kept out of sight, what lies in a closed drop-down): the window is
    // made by createWidget() only when something asks for it or when it could
    // show (visible, its rectangle meeting its parent's, and a drop-down
    // parent open). Until then the kind keeps its state itself.
    void deferWidget();
    // Makes the window: a plain ElementWidget unless the kind has its own.
    virtual void createWidget();
    bool isDeferred() const { return deferred_; }
    // A kind drawn until needed joins the drawn elements (see drawnUntilNeeded).
    void joinDrawn();
    // The rectangle the window has or will have: in its parent's pixels, or
    // on the screen for a tool window.
    QRect windowRect() const;

private:
    // The window this element's window lies in; nullptr while that is a
    // container's that is not made yet.
    QWidget* parentWindow() const;
    void watchParent();
    bool couldShow() const;
    void materialize();
    void becomeToolWindow();
    // Gives a drawn element a window when its container's windows would
    // cover it; the second checks every drawn element lying in `parent`.
    void settleDrawn();
    void settleDrawnIn(const QWidget* parent);
    // Repaints what a drawn element covers in the window it lies in.
    void redrawArea(const QRect& r) const;
    void stackWindow();
    static int32_t frontKey(Control& c);
    static int32_t backKey(Control& c);
    static void renumberKeys(Control& c);

    // In an order that leaves no padding: a form holds thousands of these.
    Control& owner_;
    Counted<SharedHandlers> handlers_;
    QString name_;
    int index_;
    // Stacking key; a control hands out one per ZOrder call.
    int32_t z_ = 0;
    QPointer<QWidget> widget_;
    ElementRef container_;
    friend class ElementRef;
    // Made when a first weak reference is taken; cleared when the element goes.
    mutable Counted<ElementToken> self_;
    float left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    QRect drawnAt_; // where a drawn element was last painted
    bool deferred_ = false;
    bool visible_ = true;
    bool enabled_ = true;
    bool toolWindow_ = false;
    bool refusesFocus_ = false;
    bool drawn_ = false;
    int8_t cursor_ = -1;
};

// An element that holds other elements (a picture box, a spin button): the
// positions of what lies inside it are in its own scale.
class ContainerElement : public Element {
public:
    virtual double toPixelsX(double v) const = 0;
    virtual double toPixelsY(double v) const = 0;
    virtual double fromPixelsX(double px) const = 0;
    virtual double fromPixelsY(double px) const = 0;

protected:
    using Element::Element;
};

int16_t mouseButtonCode(Qt::MouseButtons b);
int16_t shiftCode(Qt::KeyboardModifiers m);

} // namespace korva
