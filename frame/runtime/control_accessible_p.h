// Accessibility of the controls, the way Qt's own widgets provide it: each
// control class registers a QAccessibleInterface for its window (the Site),
// and the factory the library installs hands it out when an assistive
// technology, a test or korvahost's `a11y` asks for the Site's interface.
//
// A control draws its parts itself (tabs, cells, buttons inside one window),
// so the element widgets are not accessible objects of their own: a control
// that has parts a user can reach (tabs, palette cells) exposes them as
// children of its interface, and nothing else shows up below it.
//
//   class SpinAccessible : public ControlAccessible { ... };
//   KORVA_REGISTER_ACCESSIBLE(Spin, [](Control& c) -> QAccessibleInterface* {
//       return new SpinAccessible(c);
//   });
#pragma once

#include "frame/runtime/control.h"
#include "frame/runtime/site.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>

#include <functional>

namespace korva {

// What a screen reader learns of one drawn part of a control (a tab, a
// palette cell): the control describes its parts, ControlAccessible makes
// them its children.
struct AccessiblePart {
    QAccessible::Role role = QAccessible::NoRole;
    QString name;        // "General, 2 of 5"
    QString description; // e.g. a cell's colour
    QAccessible::State state;
    QRect rect; // in the pixels of the interface's surface()
    QStringList actions;
};

class ControlAccessible : public QAccessibleWidget {
public:
    // The interface of the control's window, or of `surface`, another window
    // of the control (a drop-down panel), when given.
    ControlAccessible(Control& control, QAccessible::Role role, QWidget* surface = nullptr);
    ~ControlAccessible() override;

    Control& control() const { return *control_; }
    // The window this interface stands for; parts' rectangles are in its pixels.
    QWidget* surface() const { return widget(); }

    // A control's children are the parts it draws (partCount(), part()); the
    // element widgets below it are not objects of their own. Without parts
    // the control is a leaf.
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

    // Disabled follows the control's own Enabled, not only the window's.
    QAccessible::State state() const override;

    // Parts, for controls that draw reachable parts themselves.
    virtual int partCount() const { return 0; }
    virtual AccessiblePart part(int) const { return {}; }
    virtual void doPartAction(int, const QString&) {}
    // Call when the parts changed in number or order (a tab added, another
    // palette layout): the old child interfaces are dropped.
    void partsChanged();

private:
    Control* control_;
    mutable QHash<int, QAccessible::Id> parts_;
};

namespace accessibility {

using Creator = QAccessibleInterface* (*)(Control& control);

// Makes `create` the interface of every window of class `className`.
// Called once per class at library load (see KORVA_REGISTER_ACCESSIBLE).
void registerClass(const char* className, Creator create);

// Puts the library's factory in front of Qt's; idempotent. Every Site calls it.
void installFactory();

// The Site's interface, created through the factory when none exists yet.
QAccessibleInterface* interfaceOf(const Control& control);

// Event helpers: each sends one QAccessibleEvent for the control's window
// (or for child `child` of its interface) when an assistive technology or
// a test listens.
void notifyFocus(const Control& control, int child = -1);
void notifyNameChanged(const Control& control, int child = -1);
void notifyStateChanged(const Control& control, QAccessible::State changed, int child = -1);
void notifyValueChanged(const Control& control, const QVariant& value);
void notifySelection(const Control& control, int child);
// The same for another window of a control (a drop-down panel) that has
// an interface of its own: `event` for child `child` of `iface`.
void notifyOn(QAccessibleInterface* iface, QAccessible::Event event, int child = -1);

// Sees every event these helpers send, also when no assistive technology
// listens (Qt then drops them): for tests and tools. One observer at a time;
// an empty function removes it.
void setEventObserver(std::function<void(const QAccessibleEvent&)> observer);

struct Registration {
    Registration(const char* className, Creator create) { registerClass(className, create); }
};

} // namespace accessibility
} // namespace korva

#define KORVA_REGISTER_ACCESSIBLE(name, creator)                                                             \
    static const ::korva::accessibility::Registration korva_accessible_##name(#name, creator)
