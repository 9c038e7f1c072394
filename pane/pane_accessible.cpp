#include "pane/pane_accessible_p.h"

#include "frame/elements/label_element_p.h"

namespace korva {

KORVA_REGISTER_ACCESSIBLE(Pane, [](Control& c) -> QAccessibleInterface* { return new PaneAccessible(c); });

PaneAccessible::PaneAccessible(Control& pane) : ControlAccessible(pane, QAccessible::Button) {}

QString PaneAccessible::text(QAccessible::Text t) const {
    if (t != QAccessible::Name)
        return ControlAccessible::text(t);
    // The caption the pane shows: "TEST" on a new pane until a caption is given.
    if (const auto* caption = dynamic_cast<const LabelElement*>(control().element(u"lblTEST")))
        return caption->Caption();
    return {};
}

QStringList PaneAccessible::actionNames() const {
    if (state().disabled)
        return {};
    return QStringList{pressAction()} + ControlAccessible::actionNames();
}

void PaneAccessible::doAction(const QString& actionName) {
    if (state().disabled)
        return;
    if (actionName != pressAction()) {
        ControlAccessible::doAction(actionName);
        return;
    }
    // A click on the caption: it raises Click only while the picture shows,
    // as for a sighted user (a pane saved disabled comes back inert).
    std::vector<Value> none;
    control().notify(u"lblTEST", -1, Notification::Click, none, nullptr);
}

} // namespace korva
