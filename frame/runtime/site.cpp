#include "frame/runtime/site.h"

#include "frame/colour/qt_colour_p.h"
#include "frame/platform/platform_p.h"
#include "frame/runtime/control.h"
#include "frame/runtime/control_accessible_p.h"

#include <QApplication>
#include <QPainter>

#include <cmath>

namespace korva {

Site::Site(Control& owner) : owner_(owner) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    accessibility::installFactory();
    connect(qApp, &QApplication::focusChanged, this, &Site::focusMoved);
}

// A focused window that goes clears the focus from QWidget's destructor:
// by then this Site is gone, so it stops listening first.
Site::~Site() { disconnect(qApp, &QApplication::focusChanged, this, &Site::focusMoved); }

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

void Site::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), toQColor(backColor_, Qt::white));
    owner_.Paint();
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

// The control has the focus while the focus widget is the site, one of its
// element windows or a window the control owns (a drop-down panel): moving
// the focus among those is no focus change for the control, and leaving them
// from any of them is.
namespace {
bool holds(const QWidget* site, const QWidget* w) {
    for (; w; w = w->parentWidget())
        if (w == site)
            return true;
    return false;
}
} // namespace

void Site::focusMoved(QWidget* old, QWidget* now) {
    const bool had = holds(this, old);
    const bool has = holds(this, now);
    if (!had && has) {
        owner_.EnterFocus();
        owner_.GotFocus();
    } else if (had && !has) {
        owner_.LostFocus();
        owner_.ExitFocus();
    }
}

void Site::focusInEvent(QFocusEvent* e) { QWidget::focusInEvent(e); }

void Site::focusOutEvent(QFocusEvent* e) { QWidget::focusOutEvent(e); }

bool Site::event(QEvent* e) { return QWidget::event(e); }

} // namespace korva
