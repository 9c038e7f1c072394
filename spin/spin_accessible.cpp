#include "spin/spin_accessible_p.h"

#include "frame/elements/textbox_element_p.h"
#include "spin/spin.h"
#include "spin/spin_p.h"

#include <cmath>

namespace korva {

KORVA_REGISTER_ACCESSIBLE(Spin, [](Control& c) -> QAccessibleInterface* { return new SpinAccessible(c); });

SpinAccessible::SpinAccessible(Control& spin) : ControlAccessible(spin, QAccessible::SpinBox) {}

SpinPrivate& SpinAccessible::spin() const { return *static_cast<Spin&>(control()).d; }

void* SpinAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface*>(this);
    return ControlAccessible::interface_cast(t);
}

QString SpinAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Value)
        return spin().txtUPDOWN->Text();
    return ControlAccessible::text(t);
}

QAccessible::State SpinAccessible::state() const {
    QAccessible::State s = ControlAccessible::state();
    s.editable = !s.disabled;
    if (const QWidget* box = spin().txtUPDOWN->widget())
        s.focused = box->hasFocus();
    return s;
}

QStringList SpinAccessible::actionNames() const {
    if (state().disabled)
        return {};
    return QStringList{increaseAction(), decreaseAction()} + ControlAccessible::actionNames();
}

void SpinAccessible::doAction(const QString& actionName) {
    if (state().disabled)
        return;
    // The buttons' path: DownClick before stepping up, UpClick before
    // stepping down, the text box taking the focus, the bound held.
    if (actionName == increaseAction())
        spin().increase();
    else if (actionName == decreaseAction())
        spin().decrease();
    else
        ControlAccessible::doAction(actionName);
}

QVariant SpinAccessible::currentValue() const {
    if (const auto n = spin().number())
        return *n;
    return {};
}

void SpinAccessible::setCurrentValue(const QVariant& value) {
    bool ok = false;
    const double v = value.toDouble(&ok);
    if (!ok || !std::isfinite(v) || state().disabled)
        return;
    spin().txtUPDOWN->setText(spin().format(v));
    spin().validateTextBox();
}

QVariant SpinAccessible::maximumValue() const { return static_cast<Spin&>(control()).Max(); }
QVariant SpinAccessible::minimumValue() const { return static_cast<Spin&>(control()).Min(); }
QVariant SpinAccessible::minimumStepSize() const { return static_cast<Spin&>(control()).Interval(); }

} // namespace korva
