// Colors as assistive technologies see it: a drop-down button named by its
// caption, with the chosen colour as its value and description, and a press
// action that opens the panel. While the panel is open the button has one
// child, the panel: a table whose cells are its children, each named as the
// palette names it with its place ("DARK RED, 3 of 40"), described by its
// colour, and pressed to choose it.
#pragma once

#include "frame/runtime/control_accessible_p.h"

namespace korva {

class Colors;
struct ColorCell;

class ColorsAccessible : public ControlAccessible {
public:
    explicit ColorsAccessible(Colors& colors);

    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

    // The panel while it is open.
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

private:
    Colors& colors_;
};

class ColorsPanelAccessible : public ControlAccessible {
public:
    explicit ColorsPanelAccessible(Colors& colors);

    // The button, though the panel is a window of its own.
    QAccessibleInterface* parent() const override;
    QString text(QAccessible::Text t) const override;

    int partCount() const override;
    AccessiblePart part(int index) const override;
    void doPartAction(int index, const QString& action) override;

    // The part that shows `cell`, or -1.
    int partOf(const ColorCell& cell) const;

    // The panel's interface, made and registered the first time it is asked for.
    static ColorsPanelAccessible* of(Colors& colors);
    // The panel's interface if something asked for it already, else null:
    // announcing changes costs nothing while no one listens.
    static ColorsPanelAccessible* existing(const Colors& colors);

private:
    const ColorCell& cell(int index) const;
    Colors& colors_;
};

// Announces the control's changes to assistive technologies: a previewed cell
// takes the focus, a chosen one the selection, and the button's value
// changes. Called once by each new Colors.
void announceAccessibleChanges(Colors& colors);

} // namespace korva
