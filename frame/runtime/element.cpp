#include "frame/runtime/element_p.h"

#include "frame/platform/platform_p.h"
#include "frame/runtime/drawn_elements_p.h"
#include "frame/runtime/element_input_p.h"
#include "frame/runtime/site.h"
#include "frame/values/convert_p.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace korva {

namespace {

std::vector<Element*>& notifyingStack() {
    static std::vector<Element*> stack;
    return stack;
}

// One filter for every window that deferred elements wait on: each element
// watching its own would cost the window a filter list entry per element.
class ParentWatch : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Only a live parent's resize or show: a parent being torn down sends
        // other events, and its elements may be going too.
        if (event->type() != QEvent::Resize && event->type() != QEvent::Show)
            return false;
        const auto* w = static_cast<QWidget*>(watched);
        const Control* owner = nullptr;
        if (const auto* site = qobject_cast<const Site*>(w))
            owner = &site->owner();
        else if (const auto* ew = dynamic_cast<const ElementWidget*>(w))
            owner = &ew->element().owner();
        if (!owner)
            return false;
        // Making a window neither makes nor ends elements, but the list is
        // read afresh each time all the same: a weak reference would cost
        // every waiting element a token for good.
        std::vector<Element*> waiting;
        for (Element* e : owner->elements())
            if (e->waitsOn(w))
                waiting.push_back(e);
        const auto& all = owner->elements();
        for (Element* e : waiting)
            if (std::find(all.begin(), all.end(), e) != all.end())
                e->parentShownOrResized(w);
        return false;
    }
};

ParentWatch& parentWatch() {
    static auto* watch = new ParentWatch;
    return *watch;
}

// Qt keeps one entry for a filter installed twice; a window that no element
// waits on any more keeps it, and the filter finds nobody there.
void startWatching(QWidget* w) { w->installEventFilter(&parentWatch()); }

// While a window is being made and put in its place in the order.
struct StackingScope {
    StackingScope() { ++depth(); }
    ~StackingScope() { --depth(); }
    StackingScope(const StackingScope&) = delete;
    StackingScope& operator=(const StackingScope&) = delete;
    static bool active() { return depth() > 0; }
    static int& depth() {
        static int d = 0;
        return d;
    }
};

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

DrawnMouse& ElementWidget::drawnMouse() {
    if (!drawnMouse_)
        drawnMouse_ = std::make_unique<DrawnMouse>();
    return *drawnMouse_;
}

void ElementWidget::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    p.save();
    element_.paint(p, rect());
    p.restore();
    paintDrawnElements(element_.owner(), *this, p, e->rect());
    paintDrawnAbove(element_, *this, p, e->rect());
}

void ElementWidget::mousePressEvent(QMouseEvent* e) {
    if (drawnMouse().press(*this, element_.owner(), *e) != DrawnMouse::Outcome::Taken)
        deliverMouse(element_, Notification::MouseDown, *e);
}

void ElementWidget::mouseMoveEvent(QMouseEvent* e) {
    if (drawnMouse().move(*this, element_.owner(), *e) != DrawnMouse::Outcome::Taken)
        deliverMouse(element_, Notification::MouseMove, *e);
}

void ElementWidget::mouseReleaseEvent(QMouseEvent* e) {
    QPointer<ElementWidget> self(this);
    if (drawnMouse().release(*this, element_.owner(), *e) == DrawnMouse::Outcome::Taken)
        return;
    if (!self)
        return;
    deliverMouse(element_, Notification::MouseUp, *e);
    if (!self)
        return;
    const bool inside = rect().contains(e->position().toPoint());
    if (inDoubleClick_)
        inDoubleClick_ = false;
    else if (inside)
        deliverPlain(element_, Notification::Click);
}

void ElementWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    switch (drawnMouse().doubleClick(*this, element_.owner(), *e)) {
    case DrawnMouse::Outcome::Taken:
        return;
    case DrawnMouse::Outcome::WindowPress:
        deliverMouse(element_, Notification::MouseDown, *e);
        return;
    case DrawnMouse::Outcome::Window:
        inDoubleClick_ = true;
        deliverPlain(element_, Notification::DblClick);
        return;
    }
}

Element::Element(Control& owner, const QString& name, int index, bool drawn)
    : owner_(owner), name_(name), index_(index), z_(frontKey(owner)), drawn_(drawn) {
    // Drawn elements, the most common kinds in the controls' designs, cost
    // no window while none is needed.
    if (drawn)
        owner_.drawn_.push_back(this);
}

ElementHandlers& Element::handlers() {
    if (!handlers_)
        handlers_ = Counted<SharedHandlers>(new SharedHandlers);
    else if (handlers_.shared())
        handlers_ = Counted<SharedHandlers>(new SharedHandlers(*handlers_));
    return *handlers_;
}

const ElementHandlers& Element::handlers() const {
    static const ElementHandlers none;
    return handlers_ ? *handlers_ : none;
}

ElementRef::ElementRef(const Element* e) {
    if (!e)
        return;
    if (!e->self_)
        e->self_ = Counted<ElementToken>(new ElementToken{const_cast<Element*>(e)});
    token_ = e->self_;
}

Element::~Element() {
    if (self_)
        self_->element = nullptr;
    std::replace(notifyingStack().begin(), notifyingStack().end(), this, static_cast<Element*>(nullptr));
    if (isDrawn() && visible_)
        redrawArea(drawnAt_);
    std::erase(owner_.drawn_, this);
    delete widget_.data();
}

// The keys run out only after two billion moves to the front or back: then
// the elements are numbered again in the order they lie.
void Element::renumberKeys(Control& c) {
    std::vector<Element*> order = c.elements_;
    std::stable_sort(order.begin(), order.end(),
                     [](const Element* a, const Element* b) { return a->z_ < b->z_; });
    int32_t key = 0;
    for (Element* e : order)
        e->z_ = ++key;
    c.frontKey_ = key;
    c.backKey_ = 0;
}

int32_t Element::frontKey(Control& c) {
    if (c.frontKey_ == std::numeric_limits<int32_t>::max())
        renumberKeys(c);
    return ++c.frontKey_;
}

int32_t Element::backKey(Control& c) {
    if (c.backKey_ == std::numeric_limits<int32_t>::min())
        renumberKeys(c);
    return --c.backKey_;
}

Element* Element::notifying() { return notifyingStack().empty() ? nullptr : notifyingStack().back(); }

bool Element::isNotifying() const {
    const auto& stack = notifyingStack();
    return std::find(stack.begin(), stack.end(), this) != stack.end();
}

std::unique_ptr<Element> Element::cloneAs(Control&, int) const { return nullptr; }

ContainerElement* Element::Container() const { return static_cast<ContainerElement*>(container_.get()); }

void Element::setContainer(ContainerElement* box) {
    if (toolWindow_)
        return;
    // A box can hold neither itself nor a box that lies inside it.
    for (const Element* c = box; c; c = c->Container())
        if (c == this)
            return;
    if (box && (&box->owner() != &owner_ || (!box->widget_ && !box->deferred_)))
        return;
    if (isDrawn() && visible_)
        redrawArea(drawnAt_);
    container_ = box;
    // A drawn box holds only what it can paint: one that now holds an
    // element needing a window is drawn no more, and gets its own first.
    if (box && box->deferred_ && !box->isDrawn())
        box->relayout();
    if (isDrawn()) {
        relayout();
        return;
    }
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
    if (deferred_ || isDrawn())
        const_cast<Element*>(this)->materialize();
    return widget_;
}

QWidget* Element::paintingWindow() const { return isDrawn() ? parentWindow() : widget(); }

void Element::setCursor(CursorShape shape) {
    cursor_ = static_cast<int8_t>(shape);
    if (QWidget* w = isDrawn() ? parentWindow() : existingWidget()) {
        Platform::instance().setCursor(w, shape);
        if (isDrawn())
            w->setProperty(kElementCursor, true);
    }
}

namespace {

// The windows that paint the drawn elements lying in them.
bool paintsDrawn(const QWidget* w) {
    return qobject_cast<const Site*>(w) || dynamic_cast<const ElementWidget*>(w);
}

// A window below a drawn element that paints it over itself: one that can,
// with no window of its own in the way.
bool paintsOver(const QWidget* w, const QRect& r) {
    if (!dynamic_cast<const PaintsDrawnAbove*>(w))
        return false;
    for (const QObject* o : w->children())
        if (o->isWidgetType()) {
            const auto* c = static_cast<const QWidget*>(o);
            if (!c->isWindow() && !c->isHidden() && c->geometry().translated(w->pos()).intersects(r))
                return false;
        }
    return true;
}

} // namespace

void Element::redrawArea(const QRect& r) const {
    if (QWidget* p = parentWindow(); p && !r.isEmpty())
        p->update(r);
}

void Element::settleDrawn() {
    if (!isDrawn() || !visible_ || drawnContainer())
        return; // what lies in a drawn box goes with the box
    const QWidget* parent = parentWindow();
    if (!parent)
        return;
    if (!paintsDrawn(parent)) {
        if (couldShow())
            materialize();
        return;
    }
    // Painted by its container, it lies under every window there: right for
    // the windows above it, wrong for one below it (or one whose place in
    // the order is not known) that it meets, unless that window paints it
    // over itself and the element leaves the mouse to it.
    const QRect r = pixelRect();
    const bool passesMouse = !enabled_ || !takesMouse();
    for (const QObject* o : parent->children()) {
        if (!o->isWidgetType())
            continue;
        const auto* w = static_cast<const QWidget*>(o);
        if (w->isWindow() || w->isHidden() || !w->geometry().intersects(r))
            continue;
        const auto& all = owner_.elements();
        const auto of =
            std::find_if(all.begin(), all.end(), [w](const Element* e) { return e->widget_ == w; });
        if (of != all.end() && (*of)->z_ > z_)
            continue;
        if (of != all.end() && passesMouse && paintsOver(w, r))
            continue;
        materialize();
        return;
    }
}

void Element::joinDrawn() {
    if (std::find(owner_.drawn_.begin(), owner_.drawn_.end(), this) == owner_.drawn_.end())
        owner_.drawn_.push_back(this);
    drawnAt_ = pixelRect();
}

void Element::settleDrawnIn(const QWidget* parent) {
    if (!parent || owner_.drawn_.empty() || StackingScope::active())
        return;
    const std::vector<Element*> drawn = owner_.drawn_;
    for (Element* e : drawn)
        if (e->isDrawn() && e->parentWindow() == parent)
            e->settleDrawn();
}

QWidget* Element::parentWindow() const {
    const Element* box = Container();
    while (box && box->isDrawn())
        box = box->Container();
    return box ? box->existingWidget() : static_cast<QWidget*>(owner_.site());
}

const ContainerElement* Element::drawnContainer() const {
    const ContainerElement* box = Container();
    return box && box->isDrawn() ? box : nullptr;
}

void Element::deferWidget() {
    if (widget_ || deferred_)
        return;
    deferred_ = true;
    watchParent();
}

// A parent that grows or shows may bring a deferred element into sight.
void Element::watchParent() {
    // A tool window shows on its own; a box not made yet tells its contents
    // when it is (see materialize).
    if (deferred_ && !toolWindow_)
        if (QWidget* parent = parentWindow())
            startWatching(parent);
}

bool Element::couldShow() const {
    if (drawnUntilNeeded())
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
    // Its window paints it from now on.
    if (isDrawn() && visible_)
        redrawArea(drawnAt_);
    std::erase(owner_.drawn_, this);
    deferred_ = false;
    watchParent();
    {
        // Drawn elements this window would cover get windows of their own
        // only once it has its place in the order, or they would take theirs
        // from where it was made.
        const StackingScope stacking;
        createWidget();
        if (!widget_)
            return;
        stackWindow();
    }
    if (!toolWindow_)
        settleDrawnIn(widget_->parentWidget());
    // What lies in this element waited for it.
    for (Element* e : owner_.elements())
        if (e->Container() == this && e->deferred_) {
            e->watchParent();
            e->relayout();
        } else if (e->Container() == this && e->isDrawn()) {
            e->drawnAt_ = e->pixelRect();
            e->settleDrawn();
        }
}

// In its stacking order among the windows already made, as if it had been
// made with them.
void Element::stackWindow() {
    const Element* above = nullptr;
    for (const Element* e : owner_.elements()) {
        const QWidget* w = e->existingWidget();
        if (e != this && w && w->parentWidget() == widget_->parentWidget() && e->z_ > z_ &&
            (!above || e->z_ < above->z_))
            above = e;
    }
    if (above)
        widget_->stackUnder(above->existingWidget());
}

void Element::parentShownOrResized(const QWidget* parent) {
    if (waitsOn(parent) && couldShow())
        materialize();
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
    if (isDrawn())
        return pixelRect();
    const QWidget* w = widget();
    return w ? w->rect() : QRect();
}

void Element::relayout() {
    if (isDrawn()) {
        const QRect now = pixelRect();
        if (visible_ && now != drawnAt_) {
            redrawArea(drawnAt_);
            redrawArea(now);
        }
        drawnAt_ = now;
        settleDrawn();
        // What lies in a drawn box moves with it.
        if (drawnUntilNeeded())
            for (Element* e : owner_.elements())
                if (e->Container() == this && e->isDrawn())
                    e->relayout();
        return;
    }
    if (!widget_) {
        if (deferred_ && couldShow())
            materialize();
        return;
    }
    widget_->setGeometry(windowRect());
    if (!toolWindow_)
        settleDrawnIn(widget_->parentWidget());
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
    // In a drawn box, where the box lies in the window that paints both.
    if (box && box->isDrawn())
        return QRect(x, y, w, h).translated(box->pixelRect().topLeft());
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
    if (isDrawn()) {
        if (on != visible_)
            redrawArea(drawnAt_);
        visible_ = on;
        settleDrawn();
        return;
    }
    visible_ = on;
    if (widget_) {
        widget_->setVisible(on);
        if (on && !toolWindow_)
            settleDrawnIn(widget_->parentWidget());
    } else if (deferred_ && couldShow()) {
        materialize();
    }
}

void Element::setEnabled(bool on) {
    const bool wasDrawn = isDrawn();
    enabled_ = on;
    // A disabled windowless element lets input fall through to what lies below.
    if (widget_) {
        widget_->setAttribute(Qt::WA_TransparentForMouseEvents, !on);
        // Windowed inputs (text box, combo box, button) also grey out and refuse the focus.
        if (!dynamic_cast<ElementWidget*>(widget_.data()))
            widget_->setEnabled(on);
        return;
    }
    // A kind drawn only while disabled (a picture box) starts or stops being drawn.
    if (const bool drawnNow = isDrawn(); drawnNow && !wasDrawn) {
        joinDrawn();
        settleDrawn();
        repaint();
    } else if (wasDrawn && !drawnNow) {
        if (visible_)
            redrawArea(drawnAt_);
        relayout();
    } else if (drawnNow) {
        repaint();
    }
}

void Element::ZOrder(int position) {
    z_ = position == 0 ? frontKey(owner_) : backKey(owner_);
    if (isDrawn()) {
        if (visible_)
            redrawArea(drawnAt_);
        return;
    }
    if (!widget())
        return;
    if (position == 0)
        widget_->raise();
    else
        widget_->lower();
    if (!toolWindow_)
        settleDrawnIn(widget_->parentWidget());
}

void Element::repaint() {
    if (widget_)
        widget_->update();
    else if (isDrawn() && visible_)
        redrawArea(pixelRect());
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
    const Counted<SharedHandlers> held = handlers_;
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
        const ElementHandlers::PlainHandler* h = n == Notification::Click      ? &on.onClick
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
