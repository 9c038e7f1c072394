// Sections: the button column (painting, pointer), UpDownPrivate (options,
// tool tip, repeat), UpDown (public members).
#include "spin/updown.h"

#include "frame/colour/qt_colour_p.h"
#include "frame/platform/platform_p.h"
#include "spin/hold_repeat_p.h"
#include "spin/updown_listener_p.h"

#include <QBasicTimer>
#include <QChildEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTimerEvent>

#include <algorithm>
#include <cmath>

namespace korva {

namespace {

// The column is as wide as the strip Spin keeps free for it.
constexpr double kColumnTwips = 270.0;

constexpr uint32_t kButtonFace = 0x8000000Fu;
constexpr uint32_t kButtonShadow = 0x80000010u;
constexpr uint32_t kGrayText = 0x80000011u;
constexpr uint32_t kButtonText = 0x80000012u;
constexpr uint32_t kButtonHighlight = 0x80000014u;
constexpr uint32_t kDarkShadow = 0x80000015u;

// The two buttons, drawn in front of whatever else lies in the component.
class ArrowColumn : public QWidget {
public:
    ArrowColumn(UpDown& owner) : QWidget(&owner), owner_(owner) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMouseTracking(true);
    }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton)
            owner_.pressAt(mapTo(&owner_, e->position()));
    }
    void mouseMoveEvent(QMouseEvent* e) override { owner_.moveTo(mapTo(&owner_, e->position())); }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton)
            owner_.release();
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override { mousePressEvent(e); }

private:
    void paintButton(QPainter& p, const QRect& r, bool up, bool sunken) const;
    UpDown& owner_;
};

void ArrowColumn::paintButton(QPainter& p, const QRect& r, bool up, bool sunken) const {
    if (r.isEmpty())
        return;
    p.fillRect(r, toQColor(kButtonFace, Qt::lightGray));
    const QColor light = toQColor(kButtonHighlight, Qt::white);
    const QColor shadow = toQColor(kButtonShadow, Qt::gray);
    const QColor dark = toQColor(kDarkShadow, Qt::black);
    const QColor& topLeft = sunken ? shadow : light;
    const QColor& bottomRight = sunken ? light : dark;
    p.setPen(topLeft);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(bottomRight);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    if (!sunken && r.width() > 2 && r.height() > 2) {
        p.setPen(shadow);
        p.drawLine(r.left() + 1, r.bottom() - 1, r.right() - 1, r.bottom() - 1);
        p.drawLine(r.right() - 1, r.top() + 1, r.right() - 1, r.bottom() - 1);
    }
    // An arrow half as wide as the button's smaller side, at least 3 pixels.
    const int side = std::min(r.width(), r.height());
    const int half = std::max(1, side / 4);
    const QPointF c = QRectF(r).center() + (sunken ? QPointF(1, 1) : QPointF(0, 0));
    const double dy = up ? -half / 2.0 : half / 2.0;
    const QPointF tip(c.x(), c.y() + dy);
    const QPointF a(c.x() - half, c.y() - dy);
    const QPointF b(c.x() + half, c.y() - dy);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(owner_.isEnabled() ? toQColor(kButtonText) : toQColor(kGrayText, Qt::gray));
    const QPointF tri[3] = {tip, a, b};
    p.drawPolygon(tri, 3);
}

void ArrowColumn::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPoint off = -pos();
    for (const UpDown::Button b : {UpDown::UpButton, UpDown::DownButton}) {
        const QRect r = owner_.buttonRect(b).translated(off);
        paintButton(p, r, b == UpDown::UpButton, owner_.heldButton() == b && owner_.isEnabled());
    }
}

} // namespace

class UpDownPrivate {
public:
    explicit UpDownPrivate(UpDown& q) : q(q) {}

    // The listener first, then the signal, unless the listener's handler
    // deleted the buttons.
    template <class... A>
    static void tell(UpDown& q, void (UpDownListener::*heard)(A...), void (UpDown::*signal)(A...),
                     A... args) {
        const QPointer<UpDown> self(&q);
        if (UpDownListener* l = q.d->listener)
            (l->*heard)(args...);
        if (self)
            emit(self->*signal)(args...);
    }

    // From the size alone: a hidden widget gets its resize event only when shown.
    QRect columnRect() const {
        const Platform& p = Platform::instance();
        const int want = static_cast<int>(std::lround(kColumnTwips / p.twipsPerPixelX()));
        const int w = std::clamp(want, 0, q.width());
        const int x = alignment == UpDown::AlignLeft ? 0 : q.width() - w;
        return {x, 0, w, q.height()};
    }

    void placeColumn() {
        column->setGeometry(columnRect());
        column->raise();
    }

    void describeRange() {
        QLocale loc;
        if (!thousands)
            loc.setNumberOptions(QLocale::OmitGroupSeparator);
        column->setToolTip(QStringLiteral("%1 to %2").arg(loc.toString(min), loc.toString(max)));
    }

    void syncBuddy() {
        if (sync && buddy)
            buddy->setEnabled(q.isEnabled());
    }

    void setHeld(UpDown::Button b) {
        const bool wasHeld = held != UpDown::NoButton;
        held = b;
        column->update();
        if (b == UpDown::NoButton)
            repeat.release();
        else
            repeat.press();
        const bool nowHeld = b != UpDown::NoButton;
        if (!ownerClock) {
            if (nowHeld)
                startTimer();
            else
                timer.stop();
        }
        if (wasHeld != nowHeld || nowHeld)
            tell(q, &UpDownListener::holdingChanged, &UpDown::holdingChanged, nowHeld);
    }

    void step(UpDown::Button b) {
        if (b == UpDown::UpButton)
            tell(q, &UpDownListener::stepUp, &UpDown::stepUp);
        else if (b == UpDown::DownButton)
            tell(q, &UpDownListener::stepDown, &UpDown::stepDown);
    }

    void startTimer() { timer.start(static_cast<int>(HoldRepeat::kTickMs), &q); }
    static void listen(UpDown& q, UpDownListener* l) { q.d->listener = l; }

    UpDown& q;
    ArrowColumn* column = nullptr; // made once d is in place: making it sends us events
    int32_t min = 0;
    int32_t max = 10;
    bool arrowKeys = true;
    bool sync = true;
    bool thousands = true;
    int32_t alignment = UpDown::AlignNone;
    QPointer<QWidget> buddy;
    UpDown::Button held = UpDown::NoButton;
    HoldRepeat repeat;
    bool ownerClock = false;
    // No QTimer: most buttons are never held, and a basic timer costs no
    // object and no connection.
    QBasicTimer timer;
    UpDownListener* listener = nullptr;
};

void setUpDownListener(UpDown& buttons, UpDownListener* listener) {
    UpDownPrivate::listen(buttons, listener);
}

UpDown::UpDown(QWidget* parent) : QWidget(parent), d(std::make_unique<UpDownPrivate>(*this)) {
    d->column = new ArrowColumn(*this);
    setFocusPolicy(Qt::StrongFocus);
    d->describeRange();
    d->placeColumn();
}

UpDown::~UpDown() = default;

int32_t UpDown::Min() const { return d->min; }
void UpDown::setMin(int32_t v) {
    if (d->min == v)
        return;
    d->min = v;
    d->describeRange();
    emit MinChanged();
}

int32_t UpDown::Max() const { return d->max; }
void UpDown::setMax(int32_t v) {
    if (d->max == v)
        return;
    d->max = v;
    d->describeRange();
    emit MaxChanged();
}

bool UpDown::AllowArrowKeys() const { return d->arrowKeys; }
void UpDown::setAllowArrowKeys(bool on) {
    if (d->arrowKeys == on)
        return;
    d->arrowKeys = on;
    emit AllowArrowKeysChanged();
}

bool UpDown::SyncBuddy() const { return d->sync; }
void UpDown::setSyncBuddy(bool on) {
    if (d->sync == on)
        return;
    d->sync = on;
    d->syncBuddy();
    emit SyncBuddyChanged();
}

bool UpDown::ThousandsSeparator() const { return d->thousands; }
void UpDown::setThousandsSeparator(bool on) {
    if (d->thousands == on)
        return;
    d->thousands = on;
    d->describeRange();
    emit ThousandsSeparatorChanged();
}

int32_t UpDown::BuddyAlignment() const { return d->alignment; }
bool UpDown::setBuddyAlignment(int32_t a) {
    if (a < AlignNone || a > AlignRight)
        return false;
    if (d->alignment != a) {
        d->alignment = a;
        d->placeColumn();
        emit BuddyAlignmentChanged();
    }
    return true;
}

QWidget* UpDown::buddy() const { return d->buddy; }
void UpDown::setBuddy(QWidget* w) {
    d->buddy = w;
    d->syncBuddy();
}

QRect UpDown::buttonRect(Button b) const {
    const QRect c = d->columnRect();
    const int upHeight = c.height() / 2;
    if (b == UpButton)
        return {c.left(), c.top(), c.width(), upHeight};
    if (b == DownButton)
        return {c.left(), c.top() + upHeight, c.width(), c.height() - upHeight};
    return {};
}

UpDown::Button UpDown::buttonAt(QPointF px) const {
    for (const Button b : {UpButton, DownButton})
        if (QRectF(buttonRect(b)).contains(px))
            return b;
    return NoButton;
}

UpDown::Button UpDown::heldButton() const { return d->held; }

void UpDown::pressAt(QPointF px) {
    const Button b = buttonAt(px);
    if (b == NoButton || !isEnabled())
        return;
    const QPointer<UpDown> self(this);
    d->setHeld(b);
    if (!self)
        return;
    UpDownPrivate::tell(*this, &UpDownListener::pressed, &UpDown::pressed);
    // A handler may have disabled or deleted us, or released the button.
    if (!self || d->held != b)
        return;
    d->step(b);
}

void UpDown::moveTo(QPointF px) {
    if (d->held == NoButton)
        return;
    d->repeat.setOver(buttonAt(px) == d->held);
}

void UpDown::release() {
    if (d->held != NoButton)
        d->setHeld(NoButton);
}

bool UpDown::stepKey(int qtKey) {
    if (!d->arrowKeys || !isEnabled())
        return false;
    switch (qtKey) {
    case Qt::Key_Up:
    case Qt::Key_PageUp:
        d->step(UpButton);
        return true;
    case Qt::Key_Down:
    case Qt::Key_PageDown:
        d->step(DownButton);
        return true;
    default:
        return false;
    }
}

void UpDown::setOwnerClock(bool on) {
    d->ownerClock = on;
    if (on)
        d->timer.stop();
    else if (d->held != NoButton)
        d->startTimer();
}

void UpDown::repeatTick() {
    if (!isEnabled()) {
        release();
        return;
    }
    if (d->repeat.tick())
        d->step(d->held);
}

// Only keys sent to the buttons themselves: a key a widget inside (Spin's
// text box) passes on unhandled has been stepped by that widget's owner already.
void UpDown::keyPressEvent(QKeyEvent* e) {
    if (!hasFocus() || !stepKey(e->key()))
        QWidget::keyPressEvent(e);
}

void UpDown::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (d->column)
        d->placeColumn();
}

void UpDown::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (d->column && e->type() == QEvent::EnabledChange) {
        if (!isEnabled())
            release();
        d->syncBuddy();
        d->column->update();
    }
}

void UpDown::timerEvent(QTimerEvent* e) {
    if (e->timerId() == d->timer.timerId())
        repeatTick();
    else
        QWidget::timerEvent(e);
}

bool UpDown::event(QEvent* e) {
    // Whatever is put inside goes behind the buttons.
    if (e->type() == QEvent::ChildAdded && d->column && static_cast<QChildEvent*>(e)->child() != d->column)
        d->column->raise();
    return QWidget::event(e);
}

} // namespace korva
