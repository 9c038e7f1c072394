#include "frame/runtime/element_p.h"

#include "frame/platform/platform_p.h"
#include "frame/runtime/element_input_p.h"
#include "frame/runtime/site.h"
#include "frame/values/convert_p.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace korva {

namespace {

std::vector<Element*>& notifyingStack() {
    static std::vector<Element*> stack;
    return stack;
}

struct NotifyingScope {
    explicit NotifyingScope(Element* e) { notifyingStack().push_back(e); }
    ~NotifyingScope() { notifyingStack().pop_back(); }
    NotifyingScope(const NotifyingScope&) = delete;
    NotifyingScope& operator=(const NotifyingScope&) = delete;
};

// An element's window is a window of its own: the mouse input it gets (or
// ignores) is its own, and never passes on to the window behind it.
void keepMouseInput(QWidget* w) { w->setAttribute(Qt::WA_NoMousePropagation); }

constexpr Qt::WindowFlags kToolWindow = Qt::Tool | Qt::FramelessWindowHint;

} // namespace

int16_t mouseButtonCode(Qt::MouseButtons b) {
    int16_t code = 0;
    if (b & Qt::LeftButton)
        code |= 1;
    if (b & Qt::RightButton)
        code |= 2;
    if (b & Qt::MiddleButton)
        code |= 4;
    return code;
}

int16_t shiftCode(Qt::KeyboardModifiers m) {
    int16_t code = 0;
    if (m & Qt::ShiftModifier)
        code |= 1;
    if (m & Qt::ControlModifier)
        code |= 2;
    if (m & Qt::AltModifier)
        code |= 4;
    return code;
}

ElementWidget::ElementWidget(Element& e, QWidget* parent) : QWidget(parent), element_(e) {
    setMouseTracking(true);
}

void ElementWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    element_.paint(p, rect());
}

void ElementWidget::mousePressEvent(QMouseEvent* e) { deliverMouse(element_, Notification::MouseDown, *e); }

void ElementWidget::mouseMoveEvent(QMouseEvent* e) { deliverMouse(element_, Notification::MouseMove, *e); }

void ElementWidget::mouseReleaseEvent(QMouseEvent* e) {
    QPointer<ElementWidget> self(this);
    deliverMouse(element_, Notification::MouseUp, *e);
    if (!self)
        return;
    const bool inside = rect().contains(e->position().toPoint());
    if (inDoubleClick_)
        inDoubleClick_ = false;
    else if (inside)
        deliverPlain(element_, Notification::Click);
}

void ElementWidget::mouseDoubleClickEvent(QMouseEvent*) {
    inDoubleClick_ = true;
    deliverPlain(element_, Notification::DblClick);
}

Element::Element(Control& owner, const QString& name, int index, bool visual)
    : owner_(owner), name_(name), index_(index) {
    // A drawn element's window is made once it could show (or is asked for):
    // hidden and out-of-sight elements, common in the controls' designs, cost
    // no window.
    if (visual)
        deferWidget();
}

ElementHandlers& Element::handlers() {
    if (!handlers_)
        handlers_ = std::make_shared<ElementHandlers>();
    else if (handlers_.use_count() > 1)
        handlers_ = std::make_shared<ElementHandlers>(*handlers_);
    return *handlers_;
}

const ElementHandlers& Element::handlers() const {
    static const ElementHandlers none;
    return handlers_ ? *handlers_ : none;
}

Element::~Element() {
    std::replace(notifyingStack().begin(), notifyingStack().end(), this, static_cast<Element*>(nullptr));
    delete widget_.data();
}

Element* Element::notifying() { return notifyingStack().empty() ? nullptr : notifyingStack().back(); }

bool Element::isNotifying() const {
    const auto& stack = notifyingStack();
    return std::find(stack.begin(), stack.end(), this) != stack.end();
}

std::unique_ptr<Element> Element::cloneAs(Control&, int) const { return nullptr; }

ContainerElement* Element::Container() const { return static_cast<ContainerElement*>(container_.data()); }

void Element::setContainer(ContainerElement* box) {
    if (toolWindow_)
        return;
    // A box can hold neither itself nor a box that lies inside it.
    for (const Element* c = box; c; c = c->Container())
        if (c == this)
            return;
    if (box && (&box->owner() != &owner_ || (!box->widget_ && !box->deferred_)))
        return;
    container_ = box;
    if (deferred_) {
        watchParent();
        relayout();
    }
    if (widget_) {
        widget_->setParent(box ? box->widget() : static_cast<QWidget*>(owner_.site()));
        widget_->setVisible(visible_); // setParent hides the window
        relayout();
    }
}

QWidget* Element::widget() const {
    if (deferred_)
        const_cast<Element*>(this)->materialize();
    return widget_;
}

QWidget* Element::parentWindow() const {
    return Container() ? Container()->existingWidget() : static_cast<QWidget*>(owner_.site());
}

void Element::deferWidget() {
    if (widget_ || deferred_)
        return;
    deferred_ = true;
    watchParent();
}

// A parent that grows or shows may bring a deferred element into sight.
void Element::watchParent() {
    if (watched_)
        watched_->removeEventFilter(this);
    // A tool window shows on its own; a box not made yet tells its contents
    // when it is (see materialize).
    watched_ = deferred_ && !toolWindow_ ? parentWindow() : nullptr;
    if (watched_)
        watched_->installEventFilter(this);
}

bool Element::couldShow() const {
    if (drawnByContainer())
        return false; // shows without a window of its own
    if (toolWindow_)
        return visible_;
    const QWidget* parent = parentWindow();
    if (!visible_ || !parent || !pixelRect().intersects(parent->rect()))
        return false;
    // A drop-down's contents wait for it to open.
    return !(parent->windowType() == Qt::Tool && !parent->isVisible());
}

void Element::createWidget() { setWidget(new ElementWidget(*this, nullptr)); }

void Element::materialize() {
    // A window asked for inside a box not made yet needs the box's first.
    QWidget* parent = Container() ? Container()->widget() : static_cast<QWidget*>(owner_.site());
    if (!parent)
        return; // the control's window is gone: nothing to show in
    deferred_ = false;
    watchParent();
    createWidget();
    if (!widget_)
        return;
    // In the stacking order of creation, as if it had been made with the others.
    const auto& all = owner_.elements();
    const auto self = std::find(all.begin(), all.end(), this);
    for (auto it = self == all.end() ? all.end() : self + 1; it != all.end(); ++it) {
        QWidget* w = (*it)->existingWidget();
        if (w && w->parentWidget() == widget_->parentWidget()) {
            widget_->stackUnder(w);
            break;
        }
    }
    // What lies in this element waited for it.
    for (Element* e : all)
        if (e->Container() == this && e->deferred_) {
            e->watchParent();
            e->relayout();
        }
}

bool Element::eventFilter(QObject* watched, QEvent* event) {
    // Only a live parent's resize or show: a parent being torn down sends
    // other events, and its elements may be going too.
    if ((event->type() == QEvent::Resize || event->type() == QEvent::Show) && deferred_ &&
        watched == watched_ && couldShow())
        materialize();
    return false;
}

void Element::setWidget(QWidget* w) {
    delete widget_.data();
    widget_ = w;
    if (w) {
        keepMouseInput(w);
        if (refusesFocus_)
            w->setFocusPolicy(Qt::NoFocus);
        if (toolWindow_)
            w->setParent(static_cast<QWidget*>(owner_.site()), kToolWindow);
        else
            w->setParent(Container() ? Container()->widget() : static_cast<QWidget*>(owner_.site()));
        w->setVisible(visible_);
        // By the same rule as a later let: a drawn element's window is never
        // disabled, only passed through.
        setEnabled(enabled_);
        relayout();
    }
}

void Element::makeToolWindow() {
    if ((!widget_ && !deferred_) || toolWindow_ || Container())
        return;
    toolWindow_ = true;
    visible_ = false;
    watchParent();
    if (widget_)
        becomeToolWindow();
}

void Element::becomeToolWindow() {
    // Still a window of its own, but owned by the control's window: it stays
    // in front of it, goes with it, and counts as the control's for the focus
    // and the keys.
    widget_->setParent(static_cast<QWidget*>(owner_.site()), kToolWindow);
    widget_->hide();
    relayout();
}

void Element::refuseFocus() {
    refusesFocus_ = true;
    if (widget_)
        widget_->setFocusPolicy(Qt::NoFocus);
}

QRect Element::paintedRect() const {
    const QWidget* w = widget();
    return w ? w->rect() : QRect();
}

void Element::relayout() {
    if (!widget_) {
        if (deferred_ && couldShow())
            materialize();
        windowlessChanged();
        return;
    }
    widget_->setGeometry(windowRect());
}

QRect Element::windowRect() const {
    if (!toolWindow_)
        return pixelRect();
    const Platform& p = Platform::instance();
    const auto px = [](double v) { return static_cast<int>(std::lround(v)); };
    return {px(left_ / p.twipsPerPixelX()), px(top_ / p.twipsPerPixelY()),
            std::max(0, px(width_ / p.twipsPerPixelX())), std::max(0, px(height_ / p.twipsPerPixelY()))};
}

QRect Element::pixelRect() const {
    if (!owner_.site())
        return {};
    const Site& s = *owner_.site();
    const ContainerElement* box = Container();
    const auto toX = [&](double v) { return box ? box->toPixelsX(v) : s.toPixelsX(v); };
    const auto toY = [&](double v) { return box ? box->toPixelsY(v) : s.toPixelsY(v); };
    const auto px = [](double v) { return static_cast<int>(std::lround(v)); };
    const int x = px(toX(left_));
    const int y = px(toY(top_));
    const int w = std::max(0, px(toX(width_)));
    const int h = std::max(0, px(toY(height_)));
    return {x, y, w, h};
}

void Element::setLeft(float v) { Move(v, top_, width_, height_); }
void Element::setTop(float v) { Move(left_, v, width_, height_); }
void Element::setWidth(float v) { Move(left_, top_, v, height_); }
void Element::setHeight(float v) { Move(left_, top_, width_, v); }

void Element::Move(float left, float top, float width, float height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    relayout();
}

void Element::setVisible(bool on) {
    visible_ = on;
    if (widget_) {
        widget_->setVisible(on);
        return;
    }
    if (deferred_ && couldShow())
        materialize();
    windowlessChanged();
}

void Element::setEnabled(bool on) {
    enabled_ = on;
    // A disabled windowless element lets input fall through to what lies below.
    if (widget_) {
        widget_->setAttribute(Qt::WA_TransparentForMouseEvents, !on);
        // Windowed inputs (text box, combo box, button) also grey out and refuse the focus.
        if (!dynamic_cast<ElementWidget*>(widget_.data()))
            widget_->setEnabled(on);
    } else {
        windowlessChanged();
    }
}

void Element::ZOrder(int position) {
    if (!widget())
        return;
    if (position == 0)
        widget_->raise();
    else
        widget_->lower();
}

void Element::repaint() {
    if (widget_)
        widget_->update();
}

QPointF Element::mouseScale(QPointF px) const {
    if (const ContainerElement* box = Container())
        return {box->fromPixelsX(px.x()), box->fromPixelsY(px.y())};
    const Site& s = *owner_.site();
    return {s.fromPixelsX(px.x()), s.fromPixelsY(px.y())};
}

void Element::mouseInput(Notification n, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods, QPointF pos) {
    const QPointF scaled = mouseScale(pos);
    const auto x = static_cast<float>(scaled.x());
    const auto y = static_cast<float>(scaled.y());
    std::vector<Value> args;
    if (n == Notification::MouseDown || n == Notification::MouseMove || n == Notification::MouseUp)
        args = {Value(mouseButtonCode(buttons)), Value(shiftCode(mods)), Value(x), Value(y)};
    deliver(n, args, nullptr);
}

namespace {

bool argCount(const std::vector<Value>& args, size_t n, Notification what, QString* error) {
    if (args.size() == n)
        return true;
    if (error)
        *error = QStringLiteral("%1 takes %2 argument(s), got %3")
                     .arg(notificationName(what))
                     .arg(n)
                     .arg(args.size());
    return false;
}

bool toInt16Arg(const Value& v, int16_t& out, const char* what, QString* error) {
    if (valueToInteger(v, out))
        return true;
    if (error)
        *error = QStringLiteral("%1 must be an Integer").arg(QLatin1String(what));
    return false;
}

} // namespace

bool Element::deliver(Notification n, std::vector<Value>& args, QString* error) {
    const NotifyingScope scope(this);
    // Held for the call: a handler may replace the element's set while it runs.
    const std::shared_ptr<const ElementHandlers> held = handlers_;
    const ElementHandlers& on = held ? *held : std::as_const(*this).handlers();
    auto noHandler = [&]() {
        if (error)
            *error = QStringLiteral("element %1 does not handle %2").arg(name_, notificationName(n));
        return false;
    };
    switch (n) {
    case Notification::Click:
    case Notification::DblClick:
    case Notification::Change:
    case Notification::Timer:
    case Notification::GotFocus:
    case Notification::LostFocus: {
        if (!argCount(args, 0, n, error))
            return false;
        const std::function<void()>* h = n == Notification::Click      ? &on.onClick
                                         : n == Notification::DblClick ? &on.onDblClick
                                         : n == Notification::Change   ? &on.onChange
                                         : n == Notification::Timer    ? &on.onTimer
                                         : n == Notification::GotFocus ? &on.onGotFocus
                                                                       : &on.onLostFocus;
        if (*h)
            (*h)();
        return true;
    }
    case Notification::MouseDown:
    case Notification::MouseMove:
    case Notification::MouseUp: {
        if (!argCount(args, 4, n, error))
            return false;
        int16_t button = 0, shift = 0;
        float x = 0, y = 0;
        if (!toInt16Arg(args[0], button, "button", error) || !toInt16Arg(args[1], shift, "shift", error))
            return false;
        if (!valueToSingle(args[2], x) || !valueToSingle(args[3], y)) {
            if (error)
                *error = QStringLiteral("x and y must be numbers");
            return false;
        }
        const MouseHandler& h = n == Notification::MouseDown   ? on.onMouseDown
                                : n == Notification::MouseMove ? on.onMouseMove
                                                               : on.onMouseUp;
        if (h)
            h(button, shift, x, y);
        return true;
    }
    case Notification::KeyDown:
    case Notification::KeyUp: {
        if (!argCount(args, 2, n, error))
            return false;
        int16_t code = 0, shift = 0;
        if (!toInt16Arg(args[0], code, "key code", error) || !toInt16Arg(args[1], shift, "shift", error))
            return false;
        auto& h = n == Notification::KeyDown ? on.onKeyDown : on.onKeyUp;
        if (h)
            h(code, shift);
        args[0] = Value(code);
        return true;
    }
    case Notification::KeyPress: {
        if (!argCount(args, 1, n, error))
            return false;
        int16_t ascii = 0;
        if (!toInt16Arg(args[0], ascii, "character code", error))
            return false;
        if (on.onKeyPress)
            on.onKeyPress(ascii);
        args[0] = Value(ascii);
        return true;
    }
    default:
        return noHandler();
    }
}

} // namespace korva
