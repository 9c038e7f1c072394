// Colors as assistive technologies see it: the drop-down button, the open
// panel as a table of named cells, pressing a cell to choose it, and the
// events a drag and a choice send.
#include "colors/colors.h"
#include "colors/palette_model_p.h"
#include "frame/platform/accessible_tree_p.h"
#include "frame/runtime/control_accessible_p.h"
#include "frame/runtime/site.h"
#include "support/platform_test.h"

#include <QAccessible>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace korva;

namespace {

struct Heard {
    QAccessible::Event type;
    QObject* object;
    int child;
    bool operator==(const Heard&) const = default;
};
void PrintTo(const Heard& h, std::ostream* os) {
    *os << h.type << " on " << h.object << " child " << h.child;
}
std::vector<Heard> g_heard;

class ColorsAccessibility : public fixtures::PlatformTest {
protected:
    ColorsAccessibility() {
        accessibility::setEventObserver([](const QAccessibleEvent& e) {
            g_heard.push_back({e.type(), e.object(), e.child()});
        });
        colors->site()->resizeTwips(1695, 375);
        platform.placeWindow(colors->site(), QPoint(100, 100));
        colors->setPalette(AP8X2);
        g_heard.clear();
    }
    ~ColorsAccessibility() override {
        colors.reset();
        accessibility::setEventObserver({});
    }
    QAccessibleInterface* button() { return QAccessible::queryAccessibleInterface(colors->site()); }
    QAccessibleInterface* panel() {
        QAccessibleInterface* b = button();
        return b && b->childCount() == 1 ? b->child(0) : nullptr;
    }
    // The panel's child named NAME ("RED, 3 of 16" starts with "RED, ").
    int cellNamed(const QString& name) {
        QAccessibleInterface* p = panel();
        for (int i = 0; p && i < p->childCount(); ++i)
            if (p->child(i)->text(QAccessible::Name).startsWith(name + ", "))
                return i;
        ADD_FAILURE() << "no cell " << name.toStdString();
        return -1;
    }
    // The mouse just inside the main cell with this name.
    void dragTo(const char* name, Notification n) {
        for (const ColorCell& c : colors->paletteModel().MainGrid())
            if (c.Name == name) {
                std::vector<Value> args{Value(int16_t{1}), Value(int16_t{0}), Value(c.Left + 2.0f),
                                        Value(c.Top + 2.0f)};
                ASSERT_TRUE(colors->notify(u"picDROPDOWNPANEL", -1, n, args, nullptr));
            }
    }

    std::unique_ptr<Colors> colors = Colors::createNew();
};

TEST_F(ColorsAccessibility, ButtonIsNamedByItsCaptionAndCarriesTheColour) {
    QAccessibleInterface* b = button();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->role(), QAccessible::ButtonDropDown);
    colors->setColor(0x0000FF);
    const struct {
        const char* caption;
        const char* name;
    } cases[] = {{"&Ink", "Ink"}, {"Salt && &Pepper", "Salt & Pepper"}, {"  Button ", "Button"}};
    for (const auto& c : cases) {
        colors->setCaption(QString::fromUtf8(c.caption));
        EXPECT_EQ(b->text(QAccessible::Name), QString::fromUtf8(c.name)) << c.caption;
    }
    // Without a caption the button is called by the chosen colour's name.
    colors->setCaption(QString());
    EXPECT_FALSE(colors->Text().isEmpty());
    EXPECT_EQ(b->text(QAccessible::Name), colors->Text());
    EXPECT_EQ(b->text(QAccessible::Description), colors->Text());
    EXPECT_EQ(b->text(QAccessible::Value), "#FF0000");
    EXPECT_EQ(b->childCount(), 0) << "no panel while it is closed";
}

TEST_F(ColorsAccessibility, PressOpensThePanelATableOfNamedCells) {
    ASSERT_TRUE(button()->actionInterface());
    button()->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_TRUE(colors->popupVisible());
    QAccessibleInterface* p = panel();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->role(), QAccessible::Table);
    EXPECT_EQ(p->object(), colors->popupWidget());
    EXPECT_EQ(p->parent(), button()) << "the panel belongs to the button's window";
    EXPECT_EQ(button()->indexOfChild(p), 0);

    const auto cells = static_cast<int>(colors->paletteModel().MainGrid().size());
    ASSERT_EQ(p->childCount(), cells);
    for (int i = 0; i < cells; ++i) {
        const ColorCell& c = colors->paletteModel().MainGrid()[static_cast<size_t>(i)];
        QAccessibleInterface* cell = p->child(i);
        EXPECT_EQ(cell->role(), QAccessible::Cell);
        EXPECT_EQ(cell->text(QAccessible::Name),
                  QStringLiteral("%1, %2 of %3").arg(QString::fromStdString(c.Name)).arg(i + 1).arg(cells));
        EXPECT_EQ(cell->text(QAccessible::Description),
                  QColor(c.Color & 0xFF, (c.Color >> 8) & 0xFF, (c.Color >> 16) & 0xFF).name().toUpper());
        // Where a pointer finds the cell, the tree finds it too.
        EXPECT_EQ(p->childAt(cell->rect().center().x(), cell->rect().center().y()), cell);
    }

    // Pressing a cell chooses it the way a release over it does.
    QSignalSpy clicks(colors.get(), &Colors::Click);
    const int red = cellNamed("RED");
    ASSERT_GE(red, 0);
    p->child(red)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(colors->Text(), "RED");
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_FALSE(colors->popupVisible());
    EXPECT_EQ(button()->childCount(), 0);
}

TEST_F(ColorsAccessibility, DragMovesTheFocusAndAChoiceTheSelectionAndValue) {
    colors->ShowPopUp();
    QAccessibleInterface* p = panel();
    ASSERT_NE(p, nullptr);
    const int red = cellNamed("RED"), blue = cellNamed("BLUE");
    QObject* popup = colors->popupWidget();
    g_heard.clear();
    dragTo("RED", Notification::MouseMove);
    dragTo("BLUE", Notification::MouseMove);
    EXPECT_EQ(g_heard,
              std::vector<Heard>({{QAccessible::Focus, popup, red}, {QAccessible::Focus, popup, blue}}));
    EXPECT_TRUE(p->child(blue)->state().focused);
    EXPECT_FALSE(p->child(red)->state().focused);

    g_heard.clear();
    dragTo("BLUE", Notification::MouseUp);
    ASSERT_EQ(g_heard.size(), 2u);
    EXPECT_EQ(g_heard[0], (Heard{QAccessible::Selection, popup, blue}));
    EXPECT_EQ(g_heard[1].type, QAccessible::ValueChanged);
    EXPECT_EQ(g_heard[1].object, colors->site());
    EXPECT_TRUE(p->child(blue)->state().selected);
    EXPECT_EQ(button()->text(QAccessible::Value), "#0000FF");

    // Another layout gives the open table its new cells, the shades of the base hue last.
    colors->ShowPopUp();
    p = panel();
    ASSERT_NE(p->child(0), nullptr);
    colors->setPalette(AP8X8X6);
    const PaletteModel& m = colors->paletteModel();
    const auto shades =
        std::ranges::count_if(m.ShadeGrid(), [](const ColorCell& c) { return c.IsValid != 0; });
    ASSERT_GT(shades, 0);
    EXPECT_EQ(p->childCount(), static_cast<int>(m.MainGrid().size() + static_cast<size_t>(shades)));
    QAccessibleInterface* last = p->child(p->childCount() - 1);
    EXPECT_EQ(last->role(), QAccessible::Cell);
    EXPECT_EQ(last->text(QAccessible::Name), QStringLiteral("%1, %2 of %2")
                                                 .arg(QString::fromStdString(m.ShadeGrid().back().Name))
                                                 .arg(p->childCount()));
}

} // namespace
