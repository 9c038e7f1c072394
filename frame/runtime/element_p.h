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

#include "frame/runtime/control.h"
#include "frame/values/value.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class QPainter;

namespace korva {

class Element;
class ContainerElement;

struct ElementHandlers {
    using MouseHandler = std::function<void(int16_t button, int16_t shift, float x, float y)>;
    std::function<void()> onClick, onDblClick, onChange, onTimer, onGotFocus, onLostFocus;
    MouseHandler onMouseDown, onMouseMove, onMouseUp;
    std::function<void(int16_t&keyCode, int16_t shift)> onKeyDown, onKeyUp;
    std::function<void(int16_t& keyAscii)> onKeyPress;
};

// The window of a visual element: paints through the element and forwards input.
class ElementWidget : public QWidget {
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
    bool inDoubleClick_ = false;
};

class Element : public QObject {
    Q_OBJECT
public:
    ~Element() override;

    const QString& Name() const { return name_; }
    int Index() const { return index_; } // -1 when the element is not in an array
    Control& owner() const { return owner_; }
    // The element's window; a deferred one (see deferWidget) is made now.
    QWidget* widget() const;

    // Where the element shows: the window that paints it and the rectangle
    // it occupies there, in that window's pixels. An element with a window
    // of its own is that whole window; a windowless visual element drawn by
    // another window of the control answers with that window and its
    // geometry mapped to its pixels. nullptr for an element nothing paints
    // (a timer).
    virtual QWidget* paintingWindow() const { return widget(); }
    virtual QRect paintedRect() const;
    // True while the element has no window and the control's window draws
    // it through paint(), passes it the mouse input over it and opens no
    // menu for a right click there (see Site). Such an element lies on the
    // control itself and makes no window when it could show; it makes one
    // when that stops holding.
    virtual bool drawnByContainer() const { return false; }

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
    // `visual` elements get a window on the control's site; timers do not.
    Element(Control& owner, const QString& name, int index, bool visual);
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
    // parent open). Until then the kind keeps its state itself. Drawn
    // elements (labels, images, shapes, lines) are all made so.
    void deferWidget();
    // Makes the window: a plain ElementWidget unless the kind has its own.
    virtual void createWidget();
    QWidget* existingWidget() const { return widget_; }
    bool isDeferred() const { return deferred_; }
    // The place, visibility or enabled state of an element without a window
    // changed; one its container draws repaints there.
    virtual void windowlessChanged() {}
    // The rectangle the window has or will have: in its parent's pixels, or
    // on the screen for a tool window.
    QRect windowRect() const;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The window this element's window lies in; nullptr while that is a
    // container's that is not made yet.
    QWidget* parentWindow() const;
    void watchParent();
    QRect pixelRect() const;
    bool couldShow() const;
    void materialize();
    void becomeToolWindow();

    Control& owner_;
    std::shared_ptr<ElementHandlers> handlers_;
    QString name_;
    int index_;
    QPointer<QWidget> widget_;
    bool deferred_ = false;
    QPointer<QWidget> watched_; // the parent a deferred element watches
    QPointer<Element> container_;
    float left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    bool toolWindow_ = false;
    bool refusesFocus_ = false;
};

// An element that holds other elements (a picture box, a spin button): the
// positions of what lies inside it are in its own scale.
class ContainerElement : public Element {
    Q_OBJECT
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
