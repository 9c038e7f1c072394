// A plain-text picture of an accessible tree, one object a line, children
// indented by two blanks, for korvahost's `a11y` command and the tests:
//
//   page tab list "Pages1" state=focusable
//     page tab "General, 1 of 2" state=selectable,selected actions=Press
//     page tab "Layout, 2 of 2" state=selectable actions=Press
//
// Each line: role in plain words, the name in quotes, then only what is set:
// value (value= current, range=min..max, step=), description=, state= (the
// set flags), actions=. Offscreen-ness and the window's own geometry are left
// out so the picture is the same on every screen.
#pragma once

#include <QAccessible>
#include <QStringList>

namespace korva {

// "Button" -> "button", "PageTabList" -> "page tab list".
QString accessibleRoleName(QAccessible::Role role);
// The set flags among those a control uses, comma separated, in a fixed order.
QString accessibleStateText(const QAccessible::State& s);
// One line for `iface` alone (no indentation, no children).
QString accessibleLine(QAccessibleInterface* iface);
// The whole tree below and including `iface`, `depth` levels deep at most.
QStringList accessibleTree(QAccessibleInterface* iface, int depth = 16);

} // namespace korva
