// The tab strip's drawing surface: one window over the whole control that
// paints the tab pieces, captions and page frame shapes in their stacking
// order and routes mouse input to the piece under the pointer. The pieces
// are windowless elements (strip_items_p.h), so a list of thousands of tabs
// costs no windows.
#pragma once

#include "frame/runtime/control.h"
#include "frame/runtime/drawn_elements_p.h"
#include "frame/values/value.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace korva {

class Element;

namespace pages {

class StripItem;

class Strip : public QWidget {
public:
    explicit Strip(Control& owner);
    ~Strip() override;

    Control& owner() const { return owner_; }

    void add(StripItem* item);
    void remove(StripItem* item);
    std::size_t itemCount() const { return items_.size(); }

    // Stacking keys: a higher key paints later, above lower ones.
    int64_t frontKey() { return ++front_; }
    int64_t backKey() { return --back_; }

    // The pixel rectangle of an element on the control.
    QRect pixelRect(const Element& e) const;
    // Schedules a repaint of what an element covers, or of everything.
    void changed(const Element& e);
    void changedAll();

    // Fonts are sized for the screen's pixels, as the control's twips are;
    // text is drawn without smoothing so that drawing it twice leaves it as it was.
    QFont deviceFont(const FontSpec& spec);
    // The font captions are measured in, whatever the device pixel ratio.
    static QFont layoutFont(const FontSpec& spec);
    const QFontMetricsF& metrics(const FontSpec& spec);
    // The advance of `text` in the font, in pixels: the same captions in the
    // same font recur across a form's controls, and shaping each anew costs.
    qreal advance(const FontSpec& spec, const QString& text);

    // The topmost visible item that takes input at a pixel, nullptr for the control's own surface.
    StripItem* itemAt(QPoint px) const;

    // The piece the mouse capture is routed to while this window holds it.
    void setCapturedItem(StripItem* item);
    StripItem* capturedItem() const;
    bool holdsCapture() const;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    StripItem* target(QPoint px) const;
    void deliver(StripItem* to, Notification n, const QMouseEvent& e);

    Control& owner_;
    std::vector<StripItem*> items_;
    int64_t front_ = 0;
    int64_t back_ = 0;
    ElementRef captured_;
    ElementRef pressed_;
    std::optional<FontSpec> metricsFont_;
    std::optional<QFontMetricsF> metrics_;
    std::optional<std::pair<FontSpec, QFont>> outlineFont_;
};

} // namespace pages
} // namespace korva
