#include "pages/pages_accessible_p.h"

#include "pages/pages_p.h"

#include <QApplication>

namespace korva {

KORVA_REGISTER_ACCESSIBLE(Pages, [](Control& c) -> QAccessibleInterface* {
    auto* pages = qobject_cast<Pages*>(&c);
    return pages ? new PagesAccessible(*pages) : nullptr;
});

PagesAccessible::PagesAccessible(Pages& pages) : ControlAccessible(pages, QAccessible::PageTabList) {
    connections_ << QObject::connect(&pages, &Pages::ActiveTabsChanged, [this] {
        partsChanged();
    }) << QObject::connect(&pages, &Pages::ActiveTabChanged, [this](int index) { activeTabChanged(index); });
}

PagesAccessible::~PagesAccessible() {
    for (const QMetaObject::Connection& c : std::as_const(connections_))
        QObject::disconnect(c);
}

Pages& PagesAccessible::pages() const { return static_cast<Pages&>(control()); }

bool PagesAccessible::hasFocus() const {
    const QWidget* w = surface();
    const QWidget* focus = QApplication::focusWidget();
    return w && focus && (focus == w || w->isAncestorOf(focus));
}

int PagesAccessible::partCount() const { return pages().d->highestTab(); }

AccessiblePart PagesAccessible::part(int i) const {
    const PagesPrivate& d = *pages().d;
    AccessiblePart p;
    const int32_t n = d.highestTab();
    if (i < 0 || i >= n)
        return p;
    const auto at = static_cast<std::size_t>(i);
    const int32_t index = i + 1;
    const bool active = d.activeTab == index;
    p.role = QAccessible::PageTab;
    p.name = QStringLiteral("%1, %2 of %3").arg(d.label[at]->Caption()).arg(index).arg(n);
    p.state.selectable = true;
    p.state.selected = active;
    p.state.focusable = true;
    p.state.focused = active && hasFocus();
    // The tab is its three pieces side by side, painted by the strip.
    QRect r;
    for (const pages::TabPicture* piece : {d.left[at], d.cap[at], d.right[at]})
        if (piece && piece->Visible())
            r |= piece->paintedRect();
    if (const QWidget* strip = d.strip; strip && surface())
        r.translate(strip->mapTo(surface(), QPoint(0, 0)));
    p.rect = r;
    if (!r.isEmpty() && !r.intersects(surface() ? surface()->rect() : QRect()))
        p.state.invisible = true;
    p.actions = QStringList{QAccessibleActionInterface::pressAction()};
    return p;
}

void PagesAccessible::doPartAction(int i, const QString& action) {
    if (action != QAccessibleActionInterface::pressAction() || i < 0 || i >= partCount())
        return;
    // A left click on the tab's caption piece: press, then release over it.
    std::vector<Value> down = {Value(int16_t{1}), Value(int16_t{0}), Value(0.0f), Value(0.0f)};
    control().notify(u"imgSELCAP", i + 1, Notification::MouseDown, down, nullptr);
    std::vector<Value> up = {Value(int16_t{1}), Value(int16_t{0}), Value(0.0f), Value(0.0f)};
    control().notify(u"imgSELCAP", i + 1, Notification::MouseUp, up, nullptr);
}

void PagesAccessible::activeTabChanged(int index) {
    // Stepping past either end passes through 0 on the way: only a tab is announced.
    if (index < 1 || index > partCount())
        return;
    accessibility::notifySelection(control(), index - 1);
    if (hasFocus())
        accessibility::notifyFocus(control(), index - 1);
}

} // namespace korva
