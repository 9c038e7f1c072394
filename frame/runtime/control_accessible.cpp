#include "frame/runtime/control_accessible_p.h"

#include <QHash>

namespace korva {

ControlAccessible::ControlAccessible(Control& control, QAccessible::Role role)
    : QAccessibleWidget(control.site(), role), control_(&control) {}

QAccessible::State ControlAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    if (const Site* site = control_->site(); site && !site->Enabled()) {
        s.disabled = true;
        s.focusable = false;
    }
    return s;
}

namespace accessibility {

namespace {

QHash<QString, Creator>& creators() {
    static QHash<QString, Creator> table;
    return table;
}

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (className != QLatin1String(Site::staticMetaObject.className()))
        return nullptr;
    auto* site = qobject_cast<Site*>(object);
    if (!site)
        return nullptr;
    const Creator create = creators().value(site->owner().classInfo().name);
    return create ? create(site->owner()) : nullptr;
}

QAccessibleInterface* childOf(const Control& control, int child) {
    QAccessibleInterface* iface = interfaceOf(control);
    if (!iface || child < 0)
        return iface;
    return iface->child(child);
}

std::function<void(const QAccessibleEvent&)>& observer() {
    static std::function<void(const QAccessibleEvent&)> f;
    return f;
}

void send(QAccessibleEvent& e) {
    if (observer())
        observer()(e);
    QAccessible::updateAccessibility(&e);
}

} // namespace

void setEventObserver(std::function<void(const QAccessibleEvent&)> f) { observer() = std::move(f); }

void registerClass(const char* className, Creator create) {
    creators().insert(QString::fromLatin1(className), create);
}

void installFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(&factory);
        return true;
    }();
    (void)installed;
}

QAccessibleInterface* interfaceOf(const Control& control) {
    return control.site() ? QAccessible::queryAccessibleInterface(control.site()) : nullptr;
}

void notifyFocus(const Control& control, int child) {
    if (!control.site())
        return;
    QAccessibleEvent e(control.site(), QAccessible::Focus);
    e.setChild(child);
    send(e);
}

void notifyNameChanged(const Control& control, int child) {
    if (!control.site())
        return;
    QAccessibleEvent e(control.site(), QAccessible::NameChanged);
    e.setChild(child);
    send(e);
}

void notifyStateChanged(const Control& control, QAccessible::State changed, int child) {
    QAccessibleInterface* iface = childOf(control, child);
    if (!iface)
        return;
    QAccessibleStateChangeEvent e(iface, changed);
    send(e);
}

void notifyValueChanged(const Control& control, const QVariant& value) {
    if (!control.site())
        return;
    QAccessibleValueChangeEvent e(control.site(), value);
    send(e);
}

void notifySelection(const Control& control, int child) {
    if (!control.site())
        return;
    QAccessibleEvent e(control.site(), QAccessible::Selection);
    e.setChild(child);
    send(e);
}

} // namespace accessibility
} // namespace korva
