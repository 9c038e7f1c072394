// Spin as assistive technologies see it: a spin box whose value is the text
// read as a number, with Min, Max and Interval as its range and step. The
// increase and decrease actions run the path of the up and down buttons, so
// a screen reader user gets the same events, bounds and focus as anyone
// pressing them; setting the value types it and brings it into Min..Max as
// leaving the text box does.
#pragma once

#include "frame/runtime/control_accessible_p.h"

namespace korva {

class SpinPrivate;

class SpinAccessible : public ControlAccessible, public QAccessibleValueInterface {
public:
    explicit SpinAccessible(Control& spin);

    void* interface_cast(QAccessible::InterfaceType t) override;
    QString text(QAccessible::Text t) const override;
    // Focused while the text box has the focus: the window itself never takes it.
    QAccessible::State state() const override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

    // An empty value while the text is not a number.
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    SpinPrivate& spin() const;
};

} // namespace korva
