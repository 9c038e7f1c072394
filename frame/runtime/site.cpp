#include "frame/runtime/site.h"

#include "frame/colour/qt_colour_p.h"
#include "frame/platform/platform_p.h"
#include "frame/runtime/control.h"
#include "frame/runtime/control_accessible_p.h"
#include "frame/runtime/drawn_elements_p.h"
#include "frame/runtime/element_p.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <algorithm>
#include <cmath>
#include <vector>

namespace korva {

namespace {

// A new application palette changes what the system colours translate to,
// for every control at once, shown or not.
class PaletteWatch : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched == qApp && e->type() == QEvent::ApplicationPaletteChange)
            Site::systemColoursChanged();
        return false;
    }
};

} // namespace

Site::Site(Control& owner) : owner_(owner) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    // Hover moves over the window reach the control as they reach an element.
    setMouseTracking(true);
    accessibility::installFactory();
    followingFocus().push_back(this);
    static const bool hooked = [] {
        QObject::connect(qApp, &QApplication::focusChanged, qApp, &Site::followFocus);
        qApp->installEventFilter(new PaletteWatch(qApp));
        return true;
    }();
    (void)hooked;
}

Site::~Site() { stopFollowingFocus(); }

std::vector<Site*>& Site::followingFocus() {
    static std::vector<Site*> sites;
    return sites;
}

void Site::stopFollowingFocus() { std::erase(followingFocus(), this); }

bool Site::holds(const QWidget* w) const {
    if (!w)
        return false;
    // Up through window boundaries too: a window the control's window owns
    // (a drop-down) is part of the control.
    for (const QWidget* p = w; p; p = p->parentWidget())
        if (p == this)
            return true;
    // A drop-down of the control is a window of its own, yet part of the control.
    const QWidget* top = w->window();
    if (top == window() || top->windowType() != Qt::Tool)
        return false;
    const auto& all = owner_.elements();
    return std::any_of(all.begin(), all.end(),
                       [top](const Element* e) { return e->isToolWindow() && e->widget() == top; });
}

void Site::resizeTwips(float width, float height) {
    width_ = width;
    height_ = height;
    const Platform& p = Platform::instance();
    const int w = std::max(0, static_cast<int>(std::lround(width / p.twipsPerPixelX())));
    const int h = std::max(0, static_cast<int>(std::lround(height / p.twipsPerPixelY())));
    // A hidden window gets its resize event only when shown; the control's
    // Resize must not wait for that.
    settingSize_ = true;
    resize(w, h);
    settingSize_ = false;
    owner_.Resize();
}

QSize Site::sizeHint() const {
    const Platform& p = Platform::instance();
    return {static_cast<int>(std::lround(width_ / p.twipsPerPixelX())),
            static_cast<int>(std::lround(height_ / p.twipsPerPixelY()))};
}

float Site::ScaleWidth() const { return static_cast<float>(fromPixelsX(width())); }
float Site::ScaleHeight() const { return static_cast<float>(fromPixelsY(height())); }

void Site::setScaleMode(ScaleMode m) { scaleMode_ = m; }

double Site::toPixelsX(double v) const { return scaleToPixelsX(scaleMode_, v); }
double Site::toPixelsY(double v) const { return scaleToPixelsY(scaleMode_, v); }
double Site::fromPixelsX(double px) const { return pixelsToScaleX(scaleMode_, px); }
double Site::fromPixelsY(double px) const { return pixelsToScaleY(scaleMode_, px); }

void Site::setBackColor(uint32_t c) {
    if (backColor_ == c)
        return;
    backColor_ = c;
    update();
}

void Site::setForeColor(uint32_t c) { foreColor_ = c; }

void Site::letEnabled(bool on) {
    enabled_ = on;
    setEnabled(on);
}

void Site::setAmbientFont(const FontSpec& f) {
    if (ambientFont_ == f)
        return;
    ambientFont_ = f;
    owner_.AmbientChanged(QStringLiteral("Font"));
}

void Site::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    p.fillRect(rect(), toQColor(backColor_, Qt::white));
    owner_.Paint();
    paintDrawnElements(owner_, *this, p, e->rect());
}

void Site::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (settingSize_)
        return;
    const Platform& p = Platform::instance();
    const QSize fromExtent(static_cast<int>(std::lround(width_ / p.twipsPerPixelX())),
                           static_cast<int>(std::lround(height_ / p.twipsPerPixelY())));
    if (size() == fromExtent)
        return; // the deferred event of a resize we already reported
    // Qt resized us (a layout, the user): the extent follows the window.
    width_ = static_cast<float>(width() * p.twipsPerPixelX());
    height_ = static_cast<float>(height() * p.twipsPerPixelY());
    owner_.Resize();
}

void Site::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    owner_.Show();
}

void Site::systemColoursChanged() {
    const std::vector<QPointer<Site>> sites(followingFocus().begin(), followingFocus().end());
    for (const auto& s : sites)
        if (s)
            s->owner_.SystemColoursChanged();
}

void Site::followFocus(QWidget*, QWidget* now) {
    // Focus on no widget at all (the application switched away, a window
    // between activations) leaves the controls as they are: what counts is
    // where the focus lands next.
    if (now)
        settleFocus(now);
}

void Site::settleFocus(const QWidget* now) {
    // The control the focus leaves hears of it before the one it enters.
    std::vector<QPointer<Site>> leaving, entering;
    for (Site* s : followingFocus()) {
        const bool inside = s->holds(now);
        if (inside != s->focusInside_)
            (inside ? entering : leaving).emplace_back(s);
    }
    for (const auto& s : leaving)
        if (s && s->focusInside_) {
            s->focusInside_ = false;
            s->owner_.LostFocus();
            s->owner_.ExitFocus();
        }
    for (const auto& s : entering)
        if (s && !s->focusInside_) {
            s->focusInside_ = true;
            s->owner_.EnterFocus();
            s->owner_.GotFocus();
        }
}

void Site::deliverMouse(Notification n, const QMouseEvent& e) {
    const Qt::MouseButtons buttons =
        n == Notification::MouseMove ? e.buttons() : Qt::MouseButtons(e.button());
    const QPointF at = e.position();
    std::vector<Value> args{Value(mouseButtonCode(buttons)), Value(shiftCode(e.modifiers())),
                            Value(static_cast<float>(fromPixelsX(at.x()))),
                            Value(static_cast<float>(fromPixelsY(at.y())))};
    owner_.notify({}, -1, n, args, nullptr);
}

void Site::deliverPlain(Notification n) {
    std::vector<Value> none;
    owner_.notify({}, -1, n, none, nullptr);
}

DrawnMouse& Site::drawnMouse() {
    if (!drawnMouse_)
        drawnMouse_ = std::make_unique<DrawnMouse>();
    return *drawnMouse_;
}

void Site::mousePressEvent(QMouseEvent* e) {
    if (drawnMouse().press(*this, owner_, *e) != DrawnMouse::Outcome::Taken)
        deliverMouse(Notification::MouseDown, *e);
}

void Site::mouseMoveEvent(QMouseEvent* e) {
    if (drawnMouse().move(*this, owner_, *e) != DrawnMouse::Outcome::Taken)
        deliverMouse(Notification::MouseMove, *e);
}

void Site::mouseReleaseEvent(QMouseEvent* e) {
    QPointer<Site> self(this);
    if (drawnMouse().release(*this, owner_, *e) == DrawnMouse::Outcome::Taken || !self)
        return;
    deliverMouse(Notification::MouseUp, *e);
    if (!self)
        return;
    // The release that ends a double click is no click of its own.
    if (inDoubleClick_)
        inDoubleClick_ = false;
    else if (rect().contains(e->position().toPoint()))
        deliverPlain(Notification::Click);
}

void Site::mouseDoubleClickEvent(QMouseEvent* e) {
    switch (drawnMouse().doubleClick(*this, owner_, *e)) {
    case DrawnMouse::Outcome::Taken:
        return;
    case DrawnMouse::Outcome::WindowPress:
        deliverMouse(Notification::MouseDown, *e);
        return;
    case DrawnMouse::Outcome::Window:
        inDoubleClick_ = true;
        deliverPlain(Notification::DblClick);
        return;
    }
}

// A drawn element that keeps the right click keeps it from the form too, as
// its window would.
void Site::contextMenuEvent(QContextMenuEvent* e) {
    if (const Element* el = drawnElementAt(owner_, *this, e->pos()); el && el->keepsContextMenu())
        e->accept();
    else
        QWidget::contextMenuEvent(e);
}

} // namespace korva
