#include "colors/colors_accessible_p.h"

#include "colors/colors.h"
#include "colors/palette_model_p.h"
#include "frame/colour/qt_colour_p.h"

#include <QHash>
#include <QPointer>

namespace korva {

KORVA_REGISTER_ACCESSIBLE(Colors, [](Control& c) -> QAccessibleInterface* {
    return new ColorsAccessible(static_cast<Colors&>(c));
});

namespace {

// What a listener hears the colour as: its name when the palette names it.
QString colourText(const QColor& c) { return c.name(QColor::HexRgb).toUpper(); }

// Panel windows whose interface exists, by the Id Qt's registry gave it.
QHash<const QWidget*, QAccessible::Id>& panelIds() {
    static QHash<const QWidget*, QAccessible::Id> ids;
    return ids;
}

} // namespace

// --- the button ------------------------------------------------------------------

ColorsAccessible::ColorsAccessible(Colors& colors)
    : ControlAccessible(colors, QAccessible::ButtonDropDown), colors_(colors) {}

QString ColorsAccessible::text(QAccessible::Text t) const {
    switch (t) {
    case QAccessible::Name: {
        // The caption without its access-key marks ("&&" is a plain '&');
        // a button without one is called by the colour it shows.
        QString name = colors_.Caption();
        name.replace(QLatin1String("&&"), QStringLiteral("\x01")).remove(u'&').replace(u'\x01', u'&');
        name = name.trimmed();
        return name.isEmpty() ? colors_.Text() : name;
    }
    case QAccessible::Description:
        return colors_.Text();
    case QAccessible::Value:
        return colourText(colors_.qColor());
    default:
        return ControlAccessible::text(t);
    }
}

QStringList ColorsAccessible::actionNames() const {
    if (state().disabled)
        return {};
    return QStringList{pressAction()} + ControlAccessible::actionNames();
}

void ColorsAccessible::doAction(const QString& actionName) {
    if (state().disabled)
        return;
    if (actionName != pressAction()) {
        ControlAccessible::doAction(actionName);
        return;
    }
    // Opens the panel as a click would; an open panel stays open, so a
    // screen reader can go on to its cells.
    if (!colors_.popupVisible() && colors_.PopupEnabled())
        colors_.ShowPopUp();
}

int ColorsAccessible::childCount() const { return colors_.popupVisible() ? 1 : 0; }

QAccessibleInterface* ColorsAccessible::child(int index) const {
    return index == 0 && colors_.popupVisible() ? ColorsPanelAccessible::of(colors_) : nullptr;
}

int ColorsAccessible::indexOfChild(const QAccessibleInterface* c) const {
    return c && c == ColorsPanelAccessible::existing(colors_) && colors_.popupVisible() ? 0 : -1;
}

QAccessibleInterface* ColorsAccessible::childAt(int x, int y) const {
    QAccessibleInterface* panel = child(0);
    return panel && panel->rect().contains(x, y) ? panel : nullptr;
}

// --- the panel -------------------------------------------------------------------

ColorsPanelAccessible::ColorsPanelAccessible(Colors& colors)
    : ControlAccessible(colors, QAccessible::Table, colors.popupWidget()), colors_(colors) {}

ColorsPanelAccessible* ColorsPanelAccessible::of(Colors& colors) {
    if (ColorsPanelAccessible* known = existing(colors))
        return known;
    QWidget* panel = colors.popupWidget();
    if (!panel)
        return nullptr;
    auto* made = new ColorsPanelAccessible(colors);
    panelIds().insert(panel, QAccessible::registerAccessibleInterface(made));
    QObject::connect(panel, &QObject::destroyed, [panel] { panelIds().remove(panel); });
    return made;
}

ColorsPanelAccessible* ColorsPanelAccessible::existing(const Colors& colors) {
    // A panel never made has no interface yet: asking must not make it.
    const QWidget* panel = colors.popupWidgetIfMade();
    const QAccessible::Id id = panel ? panelIds().value(panel) : 0;
    return id ? static_cast<ColorsPanelAccessible*>(QAccessible::accessibleInterface(id)) : nullptr;
}

QAccessibleInterface* ColorsPanelAccessible::parent() const { return accessibility::interfaceOf(colors_); }

QString ColorsPanelAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name)
        return QStringLiteral("Colours");
    return ControlAccessible::text(t);
}

// Main cells first, then the shades of the base hue, in the order they are laid out.
int ColorsPanelAccessible::partCount() const {
    const PaletteModel& m = colors_.paletteModel();
    int n = static_cast<int>(m.MainGrid().size());
    if (m.HasShades())
        for (const ColorCell& c : m.ShadeGrid())
            n += c.IsValid ? 1 : 0;
    return n;
}

const ColorCell& ColorsPanelAccessible::cell(int index) const {
    static const ColorCell none;
    const PaletteModel& m = colors_.paletteModel();
    const auto mains = static_cast<int>(m.MainGrid().size());
    if (index < 0)
        return none;
    if (index < mains)
        return m.MainGrid()[static_cast<size_t>(index)];
    if (!m.HasShades())
        return none;
    int left = index - mains;
    for (const ColorCell& c : m.ShadeGrid())
        if (c.IsValid && left-- == 0)
            return c;
    return none;
}

int ColorsPanelAccessible::partOf(const ColorCell& target) const {
    if (!target.IsValid)
        return -1;
    const int n = partCount();
    for (int i = 0; i < n; ++i) {
        const ColorCell& c = cell(i);
        if (c.IsMain == target.IsMain && c.Left == target.Left && c.Top == target.Top)
            return i;
    }
    return -1;
}

AccessiblePart ColorsPanelAccessible::part(int index) const {
    const ColorCell& c = cell(index);
    AccessiblePart p;
    if (!c.IsValid)
        return p;
    const PaletteModel& m = colors_.paletteModel();
    p.role = QAccessible::Cell;
    p.name =
        QStringLiteral("%1, %2 of %3").arg(QString::fromStdString(c.Name)).arg(index + 1).arg(partCount());
    p.description = colourText(QColor(redOf(c.Color), greenOf(c.Color), blueOf(c.Color)));
    p.rect = QRect(c.Left, c.Top, c.Right - c.Left, c.Bottom - c.Top);
    p.state.selectable = true;
    p.state.focusable = true;
    p.state.selected = m.SelectedCell().Color == c.Color && m.SelectedCell().IsValid;
    p.state.focused = m.ActiveCell().IsValid && m.ActiveCell().Color == c.Color;
    p.actions = QStringList{QAccessibleActionInterface::pressAction()};
    return p;
}

// A release on the cell, as the pointer chooses it.
void ColorsPanelAccessible::doPartAction(int index, const QString& action) {
    if (action != QAccessibleActionInterface::pressAction())
        return;
    const ColorCell& c = cell(index);
    if (!c.IsValid || !colors_.popupVisible())
        return;
    std::vector<Value> args{Value(int16_t{1}), Value(int16_t{0}),
                            Value(static_cast<float>(c.Left + c.Right) / 2.0f),
                            Value(static_cast<float>(c.Top + c.Bottom) / 2.0f)};
    colors_.notify(u"picDROPDOWNPANEL", -1, Notification::MouseUp, args, nullptr);
}

// --- announcements -----------------------------------------------------------------

void announceAccessibleChanges(Colors& colors) {
    QObject::connect(&colors, &Colors::activeCellChanged, &colors, [&colors] {
        if (ColorsPanelAccessible* panel = ColorsPanelAccessible::existing(colors)) {
            const int i = panel->partOf(colors.paletteModel().ActiveCell());
            if (i >= 0)
                accessibility::notifyOn(panel, QAccessible::Focus, i);
        }
    });
    QObject::connect(&colors, &Colors::colourChanged, &colors, [&colors] {
        if (ColorsPanelAccessible* panel = ColorsPanelAccessible::existing(colors)) {
            const int i = panel->partOf(colors.paletteModel().SelectedCell());
            if (i >= 0)
                accessibility::notifyOn(panel, QAccessible::Selection, i);
        }
        accessibility::notifyValueChanged(colors, colourText(colors.qColor()));
    });
    QObject::connect(&colors, &Colors::paletteChanged, &colors, [&colors] {
        if (ColorsPanelAccessible* panel = ColorsPanelAccessible::existing(colors))
            panel->partsChanged();
    });
}

} // namespace korva
