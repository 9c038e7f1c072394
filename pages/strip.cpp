#include "pages/strip_p.h"

#include "frame/platform/fonts_p.h"
#include "frame/platform/platform_p.h"
#include "frame/runtime/recent_p.h"
#include "frame/runtime/site.h"
#include "frame/values/guarded_p.h"
#include "pages/strip_items_p.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace korva::pages {

Strip::Strip(Control& owner) : QWidget(owner.site()), owner_(owner) {
    setMouseTracking(true);
    setGeometry(owner.site()->rect());
    show();
}

Strip::~Strip() {
    if (holdsCapture())
        Platform::instance().releaseCapture();
}

void Strip::add(StripItem* item) {
    item->slot = items_.size();
    items_.push_back(item);
}

void Strip::remove(StripItem* item) {
    const std::size_t at = item->slot;
    if (at >= items_.size() || items_[at] != item)
        return;
    items_[at] = items_.back();
    items_[at]->slot = at;
    items_.pop_back();
    if (item->Visible())
        changed(*item);
}

QRect Strip::pixelRect(const Element& e) const {
    const Site& s = *owner_.site();
    const auto px = [](double v) {
        return std::isfinite(v) ? static_cast<int>(std::clamp(std::lround(v), -(1L << 24), 1L << 24)) : 0;
    };
    const int x = px(s.toPixelsX(e.Left()));
    const int y = px(s.toPixelsY(e.Top()));
    return {x, y, std::max(0, px(s.toPixelsX(e.Width()))), std::max(0, px(s.toPixelsY(e.Height())))};
}

void Strip::changed(const Element& e) {
    const QRect r = pixelRect(e);
    if (r.intersects(rect()))
        update(r);
}

void Strip::changedAll() { update(); }

QFont Strip::layoutFont(const FontSpec& spec) {
    QFont f = toQFont(spec);
    const double dpi = 1440.0 / Platform::instance().twipsPerPixelY();
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(f.pointSizeF() * dpi / 72.0))));
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

QFont Strip::deviceFont(const FontSpec& spec) {
    if (devicePixelRatioF() <= 1.0)
        return layoutFont(spec);
    // A bitmap face matched for the family cannot grow with the device pixel
    // ratio (its glyphs would stay at 1x size with wider advances): on such
    // screens an outline face is drawn, smoothed at device resolution and
    // stretched to the width of the face the tabs were laid out with.
    if (outlineFont_ && outlineFont_->first == spec)
        return outlineFont_->second;
    const QFont laid = layoutFont(spec);
    QFont outline = laid;
    outline.setStyleStrategy(QFont::ForceOutline);
    const QString sample = QStringLiteral("abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789");
    const double want = QFontMetricsF(laid).horizontalAdvance(sample);
    const double got = QFontMetricsF(outline).horizontalAdvance(sample);
    if (want > 0 && got > 0)
        outline.setStretch(std::clamp(static_cast<int>(std::lround(100 * want / got)), 50, 200));
    outlineFont_.emplace(spec, outline);
    return outline;
}

const QFontMetricsF& Strip::metrics(const FontSpec& spec) {
    // Every caption of a long tab list is measured in the same font: build
    // the metrics once, not once per caption.
    if (!metrics_ || metricsFont_ != spec) {
        metrics_.emplace(layoutFont(spec));
        metricsFont_ = spec;
    }
    return *metrics_;
}

qreal Strip::advance(const FontSpec& spec, const QString& text) {
    struct Measured {
        FontSpec font;
        QString text;
        qreal advance;
    };
    static Recent<Measured, 64> recent;
    return recent
        .find([&](const Measured& m) { return m.text == text && m.font == spec; },
              [&] {
                  return Measured{spec, text, metrics(spec).horizontalAdvance(text)};
              })
        .advance;
}

void Strip::setCapturedItem(StripItem* item) { captured_ = item; }

StripItem* Strip::capturedItem() const { return static_cast<StripItem*>(captured_.get()); }

bool Strip::holdsCapture() const { return Platform::instance().capture() == this; }

StripItem* Strip::itemAt(QPoint px) const {
    StripItem* best = nullptr;
    for (StripItem* i : items_) {
        if (!i->Visible() || !i->takesInput() || (best && i->z() < best->z()))
            continue;
        if (pixelRect(*i).contains(px))
            best = i;
    }
    return best;
}

void Strip::paintEvent(QPaintEvent* e) {
    const QRect area = e->rect();
    std::vector<std::pair<StripItem*, QRect>> shown;
    for (StripItem* i : items_) {
        if (!i->Visible())
            continue;
        const QRect r = pixelRect(*i);
        if (r.intersects(area))
            shown.emplace_back(i, r);
    }
    std::sort(shown.begin(), shown.end(),
              [](const auto& a, const auto& b) { return a.first->z() < b.first->z(); });
    QPainter p(this);
    for (const auto& entry : shown) {
        // Named copies: clang 14 cannot capture structured bindings in a lambda.
        StripItem* item = entry.first;
        const QRect r = entry.second;
        p.save();
        p.setClipRect(r & area);
        runGuarded("painting a tab piece", [&] { item->paintItem(p, r); });
        p.restore();
    }
}

// The capture routes every move to the piece that took it; a held button
// keeps the piece it was pressed on, as a window keeps the mouse between
// press and release.
StripItem* Strip::target(QPoint px) const {
    if (holdsCapture() && captured_)
        return capturedItem();
    if (pressed_)
        return static_cast<StripItem*>(pressed_.get());
    return itemAt(px);
}

void Strip::deliver(StripItem* to, Notification n, const QMouseEvent& e) {
    const Qt::MouseButtons buttons =
        n == Notification::MouseMove ? e.buttons() : Qt::MouseButtons(e.button());
    if (!to) {
        const Site& s = *owner_.site();
        std::vector<Value> args;
        if (n != Notification::DblClick)
            args = {Value(mouseButtonCode(buttons)), Value(shiftCode(e.modifiers())),
                    Value(static_cast<float>(s.fromPixelsX(e.position().x()))),
                    Value(static_cast<float>(s.fromPixelsY(e.position().y())))};
        owner_.notify(u"", -1, n, args, nullptr);
        return;
    }
    const QPointF local = e.position() - QPointF(pixelRect(*to).topLeft());
    const ElementRef alive(to);
    runGuarded("tab piece input", [&] {
        if (n == Notification::DblClick) {
            std::vector<Value> none;
            to->deliver(n, none, nullptr);
        } else {
            to->mouseInput(n, buttons, e.modifiers(), local);
        }
    });
}

void Strip::mousePressEvent(QMouseEvent* e) {
    StripItem* to = target(e->position().toPoint());
    pressed_ = to;
    deliver(to, Notification::MouseDown, *e);
}

void Strip::mouseMoveEvent(QMouseEvent* e) {
    deliver(target(e->position().toPoint()), Notification::MouseMove, *e);
}

void Strip::mouseReleaseEvent(QMouseEvent* e) {
    StripItem* to = target(e->position().toPoint());
    if (e->buttons() == Qt::NoButton)
        pressed_ = nullptr;
    deliver(to, Notification::MouseUp, *e);
}

void Strip::mouseDoubleClickEvent(QMouseEvent* e) {
    StripItem* to = target(e->position().toPoint());
    deliver(to, Notification::DblClick, *e);
}

} // namespace korva::pages
