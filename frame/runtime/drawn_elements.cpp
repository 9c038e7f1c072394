#include "frame/runtime/drawn_elements_p.h"

#include "frame/platform/platform_p.h"
#include "frame/runtime/control.h"
#include "frame/runtime/element_input_p.h"
#include "frame/runtime/element_p.h"
#include "frame/values/guarded_p.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <vector>

namespace korva {

namespace {

bool liesIn(const Element& e, const QWidget& window) { return e.isDrawn() && e.paintingWindow() == &window; }

} // namespace

// A disabled element lets the input through to what lies below, as its
// window would; so does every box drawn by its window, and what lies in it.
Element* drawnElementAt(const Control& owner, const QWidget& window, QPoint px) {
    Element* best = nullptr;
    for (Element* e : owner.drawnElements()) {
        if (!e->Visible() || !e->Enabled() || !e->takesMouse() || (best && e->stackKey() < best->stackKey()))
            continue;
        if (liesIn(*e, window) && !e->drawnContainer() && e->pixelRect().contains(px))
            best = e;
    }
    return best;
}

namespace {

void deliver(Element& e, Notification n, const QMouseEvent& event) {
    deliverMouse(e, n, event, QPointF(e.pixelRect().topLeft()));
}

bool capturedBy(const QWidget& window) { return Platform::instance().capture() == &window; }

} // namespace

const char* const kElementCursor = "korvaElementCursor";

namespace {

struct Drawn {
    Element* element;
    const Element* box; // the drawn box it lies in, if any
    QRect rect;
};

// One level of the stacking: what lies directly in `box` (nullptr: in the
// window), bottom first; then what lies in each, clipped to it.
void paintLevel(std::vector<Drawn>& all, const Element* box, QPainter& p, const QRect& clip, int32_t above) {
    std::vector<Drawn*> level;
    for (Drawn& d : all)
        if (d.box == box && (box || d.element->stackKey() > above))
            level.push_back(&d);
    std::stable_sort(level.begin(), level.end(), [](const Drawn* a, const Drawn* b) {
        return a->element->stackKey() < b->element->stackKey();
    });
    for (const Drawn* d : level) {
        const QRect shown = d->rect & clip;
        if (shown.isEmpty())
            continue;
        // Clipped to its rectangle, as a window of its own would be.
        p.save();
        p.setClipRect(shown);
        runGuarded("painting a drawn element", [&] { d->element->paint(p, d->rect); });
        p.restore();
        paintLevel(all, d->element, p, shown, above);
    }
}

} // namespace

void paintDrawnElements(const Control& owner, const QWidget& window, QPainter& p, const QRect& area,
                        int32_t above) {
    std::vector<Drawn> all;
    for (Element* e : owner.drawnElements()) {
        if (!e->Visible() || !liesIn(*e, window))
            continue;
        const QRect r = e->pixelRect();
        if (r.intersects(area))
            all.push_back({e, e->drawnContainer(), r});
    }
    if (!all.empty())
        paintLevel(all, nullptr, p, area, above);
}

void paintDrawnAbove(const Element& e, const QWidget& window, QPainter& p, const QRect& area) {
    const QWidget* parent = window.parentWidget();
    if (!parent || window.isWindow() || e.owner().drawnElements().empty())
        return;
    p.save();
    p.translate(-window.pos());
    paintDrawnElements(e.owner(), *parent, p, area.translated(window.pos()), e.stackKey());
    p.restore();
}

Element* DrawnMouse::target(QWidget& window, Control& owner, QPoint px) const {
    if (held_)
        return pressed_;
    return drawnElementAt(owner, window, px);
}

DrawnMouse::Outcome DrawnMouse::press(QWidget& window, Control& owner, const QMouseEvent& e) {
    if (capturedBy(window))
        return Outcome::Window;
    if (!held_) {
        held_ = true;
        pressed_ = drawnElementAt(owner, window, e.position().toPoint());
        lastPress_ = pressed_;
        lastPressOnWindow_ = !pressed_;
    }
    Element* to = pressed_;
    if (!to)
        return Outcome::Window;
    deliver(*to, Notification::MouseDown, e);
    return Outcome::Taken;
}

DrawnMouse::Outcome DrawnMouse::move(QWidget& window, Control& owner, const QMouseEvent& e) {
    if (capturedBy(window))
        return Outcome::Window;
    if (!held_ && e.buttons() != Qt::NoButton)
        return Outcome::Window; // a drag that began outside the window
    Element* to = target(window, owner, e.position().toPoint());
    followCursor(window, held_ ? drawnElementAt(owner, window, e.position().toPoint()) : to);
    if (!to)
        return Outcome::Window;
    deliver(*to, Notification::MouseMove, e);
    return Outcome::Taken;
}

DrawnMouse::Outcome DrawnMouse::release(QWidget& window, Control&, const QMouseEvent& e) {
    const bool wasHeld = held_;
    const ElementRef to = wasHeld ? pressed_.get() : nullptr;
    if (e.buttons() == Qt::NoButton) {
        held_ = false;
        pressed_ = nullptr;
    }
    if (capturedBy(window) || !wasHeld || !to)
        return Outcome::Window;
    deliver(*to, Notification::MouseUp, e);
    if (!to)
        return Outcome::Taken;
    // The release that ends a double click is no click of its own.
    if (doubled_ == to) {
        doubled_ = nullptr;
        return Outcome::Taken;
    }
    if (to->pixelRect().contains(e.position().toPoint()))
        deliverPlain(*to, Notification::Click);
    return Outcome::Taken;
}

DrawnMouse::Outcome DrawnMouse::doubleClick(QWidget& window, Control& owner, const QMouseEvent& e) {
    if (capturedBy(window))
        return Outcome::Window;
    Element* at = drawnElementAt(owner, window, e.position().toPoint());
    // A double click is one element's: two clicks on two elements are two presses.
    const bool same = at ? lastPress_ == at : lastPressOnWindow_;
    if (!same) {
        held_ = false;
        const Outcome o = press(window, owner, e);
        return o == Outcome::Window ? Outcome::WindowPress : o;
    }
    held_ = true;
    pressed_ = at;
    if (!at)
        return Outcome::Window;
    doubled_ = at;
    deliverPlain(*at, Notification::DblClick);
    return Outcome::Taken;
}

// The window shows the cursor of the element under the pointer, and its
// own elsewhere: a cursor the window was given by anyone else is left alone.
void DrawnMouse::followCursor(QWidget& window, Element* over) {
    if (over && over->hasCursor()) {
        const Qt::CursorShape want =
            over->cursor() == CursorShape::Hand ? Qt::PointingHandCursor : Qt::ArrowCursor;
        if (!window.testAttribute(Qt::WA_SetCursor) || window.cursor().shape() != want)
            window.setCursor(want);
        showsElementCursor_ = true;
    } else if (showsElementCursor_ || window.property(kElementCursor).isValid()) {
        window.unsetCursor();
        window.setProperty(kElementCursor, QVariant());
        showsElementCursor_ = false;
    }
}

} // namespace korva
