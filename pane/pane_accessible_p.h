// Pane as assistive technologies see it: a push button named by the caption
// it shows, with a press action that runs the same path as a click on the
// caption (so it raises Click only when a click would).
#pragma once

#include "frame/runtime/control_accessible_p.h"

namespace korva {

// QAccessibleWidget is already the action interface: only the actions change.
class PaneAccessible : public ControlAccessible {
public:
    explicit PaneAccessible(Control& pane);

    QString text(QAccessible::Text t) const override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
};

} // namespace korva
