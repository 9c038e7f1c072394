// korvahost's `a11y NAME`: prints the accessible tree of a control's window
// (see frame/platform/accessible_tree_p.h for the line format), as a screen
// reader would find it.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace korva::host {

// Prints one line per accessible object through `print`; false with a
// message when the window has no accessible interface.
bool printAccessibleTree(QWidget* window, const std::function<void(const QString&)>& print, QString* error);

} // namespace korva::host
