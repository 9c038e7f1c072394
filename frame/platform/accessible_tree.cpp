#include "frame/platform/accessible_tree_p.h"

#include <QMetaEnum>

namespace korva {

QString accessibleRoleName(QAccessible::Role role) {
    const char* key = QMetaEnum::fromType<QAccessible::Role>().valueToKey(role);
    if (!key)
        return QStringLiteral("role %1").arg(static_cast<int>(role));
    QString out;
    for (const char* c = key; *c; ++c) {
        const QChar ch = QLatin1Char(*c);
        if (ch.isUpper() && !out.isEmpty())
            out += QLatin1Char(' ');
        out += ch.toLower();
    }
    return out;
}

QString accessibleStateText(const QAccessible::State& s) {
    QStringList on;
    const std::pair<bool, const char*> flags[] = {
        {bool(s.disabled), "disabled"},   {bool(s.focusable), "focusable"},
        {bool(s.focused), "focused"},     {bool(s.selectable), "selectable"},
        {bool(s.selected), "selected"},   {bool(s.pressed), "pressed"},
        {bool(s.checkable), "checkable"}, {bool(s.checked), "checked"},
        {bool(s.hasPopup), "popup"},      {bool(s.expandable), "expandable"},
        {bool(s.expanded), "expanded"},   {bool(s.collapsed), "collapsed"},
        {bool(s.readOnly), "read only"},  {bool(s.editable), "editable"},
        {bool(s.hotTracked), "hot"},
    };
    for (const auto& [set, name] : flags)
        if (set)
            on << QString::fromLatin1(name);
    return on.join(QLatin1Char(','));
}

namespace {

QString quoted(const QString& s) {
    QString q = s;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

} // namespace

QString accessibleLine(QAccessibleInterface* iface) {
    if (!iface || !iface->isValid())
        return QStringLiteral("(gone)");
    QString line =
        accessibleRoleName(iface->role()) + QLatin1Char(' ') + quoted(iface->text(QAccessible::Name));
    if (QAccessibleValueInterface* v = iface->valueInterface()) {
        line += QStringLiteral(" value=%1 range=%2..%3 step=%4")
                    .arg(v->currentValue().toString(), v->minimumValue().toString(),
                         v->maximumValue().toString(), v->minimumStepSize().toString());
    } else if (const QString value = iface->text(QAccessible::Value); !value.isEmpty()) {
        line += QStringLiteral(" value=") + quoted(value);
    }
    if (const QString d = iface->text(QAccessible::Description); !d.isEmpty())
        line += QStringLiteral(" description=") + quoted(d);
    if (const QString st = accessibleStateText(iface->state()); !st.isEmpty())
        line += QStringLiteral(" state=") + st;
    if (QAccessibleActionInterface* a = iface->actionInterface(); a && !a->actionNames().isEmpty())
        line += QStringLiteral(" actions=") + a->actionNames().join(QLatin1Char(','));
    return line;
}

namespace {

void walk(QAccessibleInterface* iface, int level, int depth, QStringList& out) {
    out << QString(level * 2, QLatin1Char(' ')) + accessibleLine(iface);
    if (!iface || !iface->isValid() || level >= depth)
        return;
    const int n = iface->childCount();
    for (int i = 0; i < n; ++i)
        walk(iface->child(i), level + 1, depth, out);
}

} // namespace

QStringList accessibleTree(QAccessibleInterface* iface, int depth) {
    QStringList out;
    walk(iface, 0, depth, out);
    return out;
}

} // namespace korva
