// Pages as assistive technologies see it: a page tab list whose children are
// its tabs, each named "Caption, i of n", selectable, selected while active,
// with a press action that goes the way of a click on the tab. The list of
// children follows the tab string; changes of the active tab are announced
// as a selection, and as the focus while the control has it.
#pragma once

#include "frame/runtime/control_accessible_p.h"

namespace korva {

class Pages;

class PagesAccessible : public ControlAccessible {
public:
    explicit PagesAccessible(Pages& pages);
    ~PagesAccessible() override;

    int partCount() const override;
    AccessiblePart part(int i) const override;
    void doPartAction(int i, const QString& action) override;

private:
    Pages& pages() const;
    bool hasFocus() const;
    void activeTabChanged(int index);

    QList<QMetaObject::Connection> connections_;
};

} // namespace korva
