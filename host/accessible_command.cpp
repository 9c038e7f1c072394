#include "host/accessible_command.h"

#include "frame/platform/accessible_tree_p.h"

#include <QAccessible>
#include <QWidget>

namespace korva::host {

bool printAccessibleTree(QWidget* window, const std::function<void(const QString&)>& print, QString* error) {
    QAccessibleInterface* iface = window ? QAccessible::queryAccessibleInterface(window) : nullptr;
    if (!iface) {
        if (error)
            *error = QStringLiteral("the control's window has no accessible interface");
        return false;
    }
    for (const QString& line : accessibleTree(iface))
        print(line);
    return true;
}

} // namespace korva::host
