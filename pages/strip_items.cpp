#include "pages/strip_items_p.h"

#include "frame/colour/qt_colour_p.h"
#include "frame/runtime/site.h"
#include "pages/strip_p.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace korva::pages {

namespace {

// Laying out text costs its whole length, also what lies past the visible
// edge: a pasted megabyte caption would make every repaint crawl. Glyphs
// advance at least a pixel (zero-width marks aside, hence the slack), so a
// prefix as long as the visible room holds everything that can show.
QString visiblePrefix(const QString& text, const QPainter& p, double x) {
    const double right = p.hasClipping() ? p.clipBoundingRect().right() : p.device()->width();
    const auto room = static_cast<qsizetype>(std::max(0.0, right - x)) * 2 + 16;
    return text.size() > room ? text.left(room) : text;
}

} // namespace

StripItem::StripItem(Control& owner, Strip& strip, const QString& name, int index)
    : Element(owner, name, index, false), strip_(&strip), z_(strip.frontKey()) {
    strip.add(this);
}

Strip* StripItem::strip() const { return strip_.data(); }

QWidget* StripItem::paintingWindow() const { return strip_.data(); }

QRect StripItem::paintedRect() const { return strip_ ? strip_->pixelRect(*this) : QRect(); }

StripItem::~StripItem() {
    if (strip_)
        strip_->remove(this);
}

void StripItem::touch() const {
    if (strip_)
        strip_->changed(*this);
}

void StripItem::toFront() {
    if (!strip_)
        return;
    z_ = strip_->frontKey();
    touch();
}

void StripItem::toBack() {
    if (!strip_)
        return;
    z_ = strip_->backKey();
    touch();
}

// --- TabPicture ----------------------------------------------------------------

TabPicture::TabPicture(Control& owner, Strip& strip, const QString& name, int index)
    : StripItem(owner, strip, name, index) {}

bool TabPicture::setPicture(const Picture& p) {
    if (!picture_.isNull() && !p.isNull() && picture_.handle() == p.handle())
        return false;
    if (picture_.isNull() && p.isNull())
        return false;
    picture_ = p;
    texts_.clear();
    touch();
    return true;
}

void TabPicture::drawText(DrawnText t) {
    // Text is drawn unsmoothed, so the same text drawn again at the same
    // place changes no pixel; keeping one copy keeps hover moves from piling up.
    if (!texts_.empty() && texts_.back() == t)
        return;
    texts_.push_back(std::move(t));
    touch();
}

void TabPicture::paintItem(QPainter& p, const QRect& r) {
    if (!picture_.isNull())
        p.drawImage(r.topLeft(), picture_.image);
    if (texts_.empty())
        return;
    const Site& s = *owner().site();
    for (const DrawnText& t : texts_) {
        const int32_t rgb = TranslateColor(t.colour);
        if (rgb < 0)
            continue;
        p.setFont(strip()->deviceFont(t.font));
        p.setPen(toQColor(static_cast<uint32_t>(rgb)));
        const double x = std::round(s.toPixelsX(t.x));
        const double y = std::round(s.toPixelsY(t.y));
        p.drawText(QRectF(r.left() + x, r.top() + y, 1e6, 1e6),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine,
                   visiblePrefix(t.text, p, r.left() + x));
    }
}

std::unique_ptr<Element> TabPicture::cloneAs(Control& owner, int index) const {
    if (!strip())
        return nullptr;
    auto e = std::make_unique<TabPicture>(owner, *strip(), Name(), index);
    e->picture_ = picture_;
    return e;
}

// --- TabLabel --------------------------------------------------------------------

TabLabel::TabLabel(Control& owner, Strip& strip, const QString& name, int index)
    : StripItem(owner, strip, name, index) {}

void TabLabel::setCaption(const QString& c) {
    if (caption_ == c)
        return;
    caption_ = c;
    fit();
}

void TabLabel::setFont(const FontSpec& f) {
    font_ = f;
    fit();
}

void TabLabel::fit() {
    if (!strip())
        return;
    const QFontMetricsF& fm = strip()->metrics(font_);
    const Site& s = *owner().site();
    const float w = static_cast<float>(s.fromPixelsX(std::ceil(strip()->advance(font_, caption_))));
    const float h = static_cast<float>(s.fromPixelsY(std::ceil(fm.height())));
    Move(Left(), Top(), w, h);
    if (Visible())
        touch();
}

void TabLabel::paintItem(QPainter& p, const QRect& r) {
    p.setFont(strip()->deviceFont(font_));
    p.setPen(toQColor(foreColor_));
    p.drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, visiblePrefix(caption_, p, r.left()));
}

std::unique_ptr<Element> TabLabel::cloneAs(Control& owner, int index) const {
    if (!strip())
        return nullptr;
    auto e = std::make_unique<TabLabel>(owner, *strip(), Name(), index);
    e->caption_ = caption_;
    e->foreColor_ = foreColor_;
    e->font_ = font_;
    return e;
}

// --- PageShape, BackTarget ---------------------------------------------------------

PageShape::PageShape(Control& owner, Strip& strip, const QString& name) : StripItem(owner, strip, name, -1) {}

void PageShape::paintItem(QPainter& p, const QRect& r) {
    if (r.width() <= 0 || r.height() <= 0)
        return;
    if (filled_)
        p.fillRect(r, toQColor(fillColor_));
    const QColor border = toQColor(borderColor_);
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), border);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), border);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), border);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), border);
}

BackTarget::BackTarget(Control& owner, Strip& strip, const QString& name)
    : StripItem(owner, strip, name, -1) {}

} // namespace korva::pages
