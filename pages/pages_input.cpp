// Mouse and keyboard: tab presses select, moves over an inactive tab's caption
// piece show the hover look while the mouse is captured, the arrow keys and
// Ctrl+Tab step through the tabs. The mouse events never report the real
// position or shift state.
#include "frame/platform/key_codes_p.h"
#include "frame/platform/platform_p.h"
#include "frame/runtime/site.h"
#include "frame/values/convert_p.h"
#include "frame/values/guarded_p.h"
#include "pages/pages_p.h"

#include <QKeyEvent>

namespace korva {

using namespace pages;

namespace {

constexpr int32_t kClickEvent = 1;
constexpr int32_t kDblClickEvent = 2;
constexpr int32_t kMouseDownEvent = 3;
constexpr int32_t kMouseMoveEvent = 4;
constexpr int32_t kMouseUpEvent = 5;
constexpr int32_t kShowEvent = 6;

int32_t senderIndex() {
    const Element* e = Element::notifying();
    return e ? e->Index() : -1;
}

} // namespace

void PagesPrivate::wireElements() {
    auto press = [this](int16_t button, int16_t, float, float) { tabPress(senderIndex(), button); };
    auto move = [this](int16_t button, int16_t, float, float) { pieceMove(button); };
    auto up = [this](int16_t button, int16_t, float, float) { raiseMouseMoveOrUp(true, button); };
    auto dbl = [this] { raiseDblClick(); };

    capTemplate->handlers().onMouseDown = press;
    capTemplate->handlers().onMouseMove = [this](int16_t button, int16_t, float x, float y) {
        const int32_t i = senderIndex();
        auto* piece = dynamic_cast<TabPicture*>(Element::notifying());
        pieceMove(button);
        if (i != activeTab && piece)
            TrackHover(piece, x, y, i);
    };
    capTemplate->handlers().onMouseUp = [this](int16_t button, int16_t, float, float) {
        const int32_t i = senderIndex();
        raiseMouseMoveOrUp(true, button);
        if (i != activeTab)
            ObjectMouseUp();
    };
    capTemplate->handlers().onDblClick = dbl;

    leftTemplate->handlers().onMouseDown = press;
    leftTemplate->handlers().onMouseMove = move;
    leftTemplate->handlers().onDblClick = dbl;

    rightTemplate->handlers().onMouseDown = press;
    rightTemplate->handlers().onMouseMove = move;
    rightTemplate->handlers().onMouseUp = up;
    rightTemplate->handlers().onDblClick = dbl;

    labelTemplate->handlers().onMouseDown = press;
    labelTemplate->handlers().onMouseMove = move;
    labelTemplate->handlers().onMouseUp = up;

    picBACKTARGET->handlers().onMouseMove = [this](int16_t, int16_t, float, float) { ObjectMouseUp(); };
}

// --- events ------------------------------------------------------------------------

void PagesPrivate::raiseClick(const QString& caption) {
    Value name(caption);
    Value* args[] = {&name};
    q.RaiseEvent(kClickEvent, args);
    emit q.Click(caption);
}

void PagesPrivate::raiseShow() {
    q.RaiseEvent(kShowEvent);
    emit q.Show();
}

void PagesPrivate::raiseDblClick() {
    q.RaiseEvent(kDblClickEvent);
    emit q.dlbClick();
}

// What a host handler leaves in an argument is what the Qt handlers see next.
void PagesPrivate::raiseMouseDown(int16_t button, const QString& caption) {
    int16_t b = button, s = 0;
    float x = 0, y = 0;
    Value name(caption);
    q.RaiseMouseEvent(kMouseDownEvent, b, s, x, y, &name);
    QString text = caption;
    valueToString(name, text);
    emit q.MouseDown(b, s, x, y, text);
}

void PagesPrivate::raiseMouseMoveOrUp(bool up, int16_t button) {
    int16_t b = button, s = 0;
    float x = 0, y = 0;
    q.RaiseMouseEvent(up ? kMouseUpEvent : kMouseMoveEvent, b, s, x, y);
    if (up)
        emit q.MouseUp(b, s, x, y);
    else
        emit q.MouseMove(b, s, x, y);
}

// --- mouse ---------------------------------------------------------------------------

void PagesPrivate::tabPress(int32_t i, int16_t button) {
    if (button == 1) {
        SelectTab(i, 1);
        raiseMouseDown(1, captionOf(activeTab));
        if (i != activeTab) {
            hoverTab = kNoHover;
            ShowTabState(activeTab);
        }
    }
    releaseCapture();
    hoverTab = kNoHover;
    ShowTabState(activeTab);
}

void PagesPrivate::pieceMove(int16_t button) { raiseMouseMoveOrUp(false, button); }

void PagesPrivate::releaseCapture() {
    if (strip && strip->holdsCapture())
        Platform::instance().releaseCapture();
    if (strip)
        strip->setCapturedItem(nullptr);
}

void PagesPrivate::TrackHover(TabPicture* piece, float x, float y, int32_t i) {
    if (!strip)
        return;
    if (!strip->holdsCapture() || strip->capturedItem() != piece) {
        Platform::instance().setCapture(strip);
        strip->setCapturedItem(piece);
    }
    if (x < 0 || y < 0 || x > piece->Width() || y > piece->Height()) {
        releaseCapture();
        hoverTab = kNoHover;
    } else {
        hoverTab = i;
    }
    ShowTabState(activeTab);
}

void PagesPrivate::ObjectMouseUp() {
    releaseCapture();
    hoverTab = kNoHover;
    ShowTabState(activeTab);
}

void PagesPrivate::gotFocus() {
    hoverTab = kNoHover;
    ShowTabState(activeTab);
    hoverTab = kNoHover;
}

// --- keyboard --------------------------------------------------------------------------

bool PagesPrivate::keyDown(int16_t keyCode, int16_t shift) {
    if (keyCode == keycode::Right || (keyCode == keycode::Tab && shift == 2))
        step(true);
    else if (keyCode == keycode::Left || (keyCode == keycode::Tab && shift == 3))
        step(false);
    else
        return false;
    return true;
}

void PagesPrivate::step(bool forward) {
    int32_t next = 0;
    if (forward) {
        if (activeTab == tabCount)
            letActiveTab(0);
        if (toLong(static_cast<double>(activeTab) + 1, next))
            letActiveTab(next);
    } else {
        if (activeTab == 1 && toLong(static_cast<double>(tabCount) + 1, next))
            letActiveTab(next);
        if (toLong(static_cast<double>(activeTab) - 1, next))
            letActiveTab(next);
    }
    raiseClick(captionOf(activeTab));
    hoverTab = kNoHover;
    ShowTabState(activeTab);
    hoverTab = kNoHover;
}

bool PagesPrivate::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || watched != q.site())
        return false;
    const auto* k = static_cast<QKeyEvent*>(event);
    bool handled = false;
    runGuarded("Pages key press",
               [&] { handled = keyDown(keyCodeOf(k->key(), k->modifiers()), shiftStateOf(k->modifiers())); });
    return handled;
}

// The control's own surface: where no tab piece lies.
bool Pages::onNotify(Notification n, std::vector<Value>& args) {
    int16_t button = 0;
    switch (n) {
    case Notification::MouseDown:
    case Notification::MouseMove:
    case Notification::MouseUp:
        if (args.size() != 4 || !valueToInteger(args[0], button))
            return false;
        if (n == Notification::MouseDown)
            d->raiseMouseDown(1, d->captionOf(d->activeTab));
        else
            d->raiseMouseMoveOrUp(n == Notification::MouseUp, button);
        return true;
    case Notification::DblClick:
        d->raiseDblClick();
        return true;
    case Notification::KeyDown: {
        int16_t code = 0, shift = 0;
        if (args.size() != 2 || !valueToInteger(args[0], code) || !valueToInteger(args[1], shift))
            return false;
        d->keyDown(code, shift);
        return true;
    }
    default:
        return false;
    }
}

} // namespace korva
