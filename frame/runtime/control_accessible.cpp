#include "frame/runtime/control_accessible_p.h"

#include <QHash>

namespace korva {

namespace {

// One drawn part as a child interface. It asks its parent for everything, so
// it never holds stale text or state.
class PartAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    PartAccessible(ControlAccessible* parent, int index) : parent_(parent), index_(index) {}

    bool isValid() const override { return parent_->isValid() && index_ < parent_->partCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return parent_->window(); }
    QAccessibleInterface* parent() const override { return parent_; }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        if (!isValid())
            return {};
        const AccessiblePart p = parent_->part(index_);
        switch (t) {
        case QAccessible::Name:
            return p.name;
        case QAccessible::Description:
            return p.description;
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid())
            return {};
        const QRect r = parent_->part(index_).rect;
        const QWidget* w = parent_->surface();
        return w ? QRect(w->mapToGlobal(r.topLeft()), r.size()) : r;
    }
    QAccessible::Role role() const override {
        return isValid() ? parent_->part(index_).role : QAccessible::NoRole;
    }
    QAccessible::State state() const override {
        if (!isValid()) {
            QAccessible::State gone;
            gone.invisible = true;
            return gone;
        }
        QAccessible::State s = parent_->part(index_).state;
        if (parent_->state().disabled)
            s.disabled = true;
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    QStringList actionNames() const override {
        return isValid() && !state().disabled ? parent_->part(index_).actions : QStringList();
    }
    void doAction(const QString& action) override {
        if (actionNames().contains(action))
            parent_->doPartAction(index_, action);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    int index() const { return index_; }

private:
    ControlAccessible* parent_;
    int index_;
};

} // namespace

ControlAccessible::ControlAccessible(Control& control, QAccessible::Role role, QWidget* surface)
    : QAccessibleWidget(surface ? surface : control.site(), role), control_(&control) {}

ControlAccessible::~ControlAccessible() { partsChanged(); }

int ControlAccessible::childCount() const { return partCount(); }

QAccessibleInterface* ControlAccessible::child(int index) const {
    if (index < 0 || index >= partCount())
        return nullptr;
    if (const auto id = parts_.value(index))
        if (QAccessibleInterface* known = QAccessible::accessibleInterface(id))
            return known;
    auto* made = new PartAccessible(const_cast<ControlAccessible*>(this), index);
    parts_.insert(index, QAccessible::registerAccessibleInterface(made));
    return made;
}

int ControlAccessible::indexOfChild(const QAccessibleInterface* c) const {
    if (!c || c->parent() != this)
        return -1;
    return static_cast<const PartAccessible*>(c)->index();
}

QAccessibleInterface* ControlAccessible::childAt(int x, int y) const {
    const QWidget* w = surface();
    if (!w)
        return nullptr;
    const QPoint local = w->mapFromGlobal(QPoint(x, y));
    for (int i = 0; i < partCount(); ++i)
        if (part(i).rect.contains(local))
            return child(i);
    return nullptr;
}

void ControlAccessible::partsChanged() {
    for (const QAccessible::Id id : std::as_const(parts_))
        QAccessible::deleteAccessibleInterface(id);
    parts_.clear();
}

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

void notifyOn(QAccessibleInterface* iface, QAccessible::Event event, int child) {
    if (!iface || !iface->isValid())
        return;
    QAccessibleEvent e(iface, event);
    e.setChild(child);
    send(e);
}

} // namespace accessibility
} // namespace korva
