// The accessibility frame every control uses: the factory finds a class's
// interface for its window, drawn parts become children with stable identity,
// their actions reach the control, and changes to the parts drop the old
// children. A small strip of three tabs stands in for a control with parts.
#include "frame/platform/accessible_tree_p.h"
#include "frame/runtime/control_accessible_p.h"
#include "support/bare_class.h"

#include <gtest/gtest.h>

using namespace korva;

namespace {

// Three tabs side by side, 100 pixels each; one is active.
class Strip : public Control {
public:
    Strip() : Control(info()) {}
    static const ClassInfo& info() {
        static const ClassInfo c = fixtures::bareClass("AccessibleStrip", QSize(4500, 300));
        return c;
    }
    QStringList tabs{"A", "B", "C"};
    int active = 0;
};

std::vector<std::pair<QAccessible::Event, int>> g_events;

class StripAccessible : public ControlAccessible {
public:
    explicit StripAccessible(Control& c) : ControlAccessible(c, QAccessible::PageTabList) {}
    Strip& strip() const { return static_cast<Strip&>(control()); }

    int partCount() const override { return static_cast<int>(strip().tabs.size()); }
    AccessiblePart part(int i) const override {
        AccessiblePart p;
        p.role = QAccessible::PageTab;
        p.name = QStringLiteral("%1, %2 of %3").arg(strip().tabs[i]).arg(i + 1).arg(partCount());
        p.state.selectable = true;
        p.state.selected = i == strip().active;
        p.rect = QRect(i * 100, 0, 100, 20);
        p.actions = {QAccessibleActionInterface::pressAction()};
        return p;
    }
    void doPartAction(int i, const QString&) override {
        strip().active = i;
        accessibility::notifySelection(control(), i);
    }
};

const accessibility::Registration kStripAccessible("AccessibleStrip",
                                                   [](Control& c) -> QAccessibleInterface* {
                                                       return new StripAccessible(c);
                                                   });

class ControlAccessibility : public ::testing::Test {
protected:
    void SetUp() override {
        g_events.clear();
        accessibility::setEventObserver(
            [](const QAccessibleEvent& e) { g_events.emplace_back(e.type(), e.child()); });
        strip = std::make_unique<Strip>();
        strip->site()->move(0, 0);
    }
    void TearDown() override {
        strip.reset();
        accessibility::setEventObserver({});
    }
    QAccessibleInterface* iface() const { return accessibility::interfaceOf(*strip); }

    std::unique_ptr<Strip> strip;
};

TEST_F(ControlAccessibility, PartsAreChildrenWithStableIdentity) {
    QAccessibleInterface* list = iface();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::PageTabList);
    ASSERT_EQ(list->childCount(), 3);
    for (int i = 0; i < 3; ++i) {
        QAccessibleInterface* tab = list->child(i);
        ASSERT_NE(tab, nullptr);
        EXPECT_EQ(tab, list->child(i)) << "the same child every time";
        EXPECT_EQ(tab->parent(), list);
        EXPECT_EQ(list->indexOfChild(tab), i);
        EXPECT_EQ(tab->state().selected, i == 0);
    }
    EXPECT_EQ(list->child(3), nullptr);
    EXPECT_EQ(list->child(-1), nullptr);
    EXPECT_EQ(list->child(1)->text(QAccessible::Name), "B, 2 of 3");

    const QPoint inC = strip->site()->mapToGlobal(QPoint(250, 10));
    EXPECT_EQ(list->childAt(inC.x(), inC.y()), list->child(2));
    EXPECT_EQ(list->child(2)->rect().topLeft(), strip->site()->mapToGlobal(QPoint(200, 0)));
}

TEST_F(ControlAccessibility, PartActionsReachTheControlAndAreAnnounced) {
    QAccessibleInterface* tabC = iface()->child(2);
    tabC->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(strip->active, 2);
    ASSERT_EQ(g_events.size(), 1u);
    EXPECT_EQ(g_events[0], std::make_pair(QAccessible::Selection, 2));
    EXPECT_TRUE(tabC->state().selected);

    // An action the part does not offer does nothing.
    iface()->child(0)->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
    EXPECT_EQ(strip->active, 2);

    // A disabled control disables its parts and their actions.
    strip->site()->letEnabled(false);
    EXPECT_TRUE(iface()->child(0)->state().disabled);
    EXPECT_TRUE(iface()->child(0)->actionInterface()->actionNames().isEmpty());
    iface()->child(0)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(strip->active, 2);
}

TEST_F(ControlAccessibility, ChangedPartsDropTheOldChildren) {
    QAccessibleInterface* oldC = iface()->child(2);
    const QAccessible::Id oldId = QAccessible::uniqueId(oldC);
    strip->tabs.removeLast();
    static_cast<StripAccessible*>(iface())->partsChanged();
    EXPECT_EQ(QAccessible::accessibleInterface(oldId), nullptr);
    EXPECT_EQ(iface()->childCount(), 2);
    EXPECT_EQ(iface()->child(2), nullptr);
    EXPECT_EQ(iface()->child(1)->text(QAccessible::Name), "B, 2 of 2");
}

TEST_F(ControlAccessibility, TreeShowsThePartsIndented) {
    strip->active = 1;
    auto tree = [&](int depth) { return accessibleTree(iface(), depth).join('\n').toStdString(); };
    EXPECT_EQ(tree(16), "page tab list \"\" state=focusable actions=SetFocus\n"
                        "  page tab \"A, 1 of 3\" state=selectable actions=Press\n"
                        "  page tab \"B, 2 of 3\" state=selectable,selected actions=Press\n"
                        "  page tab \"C, 3 of 3\" state=selectable actions=Press");
    EXPECT_EQ(tree(0), "page tab list \"\" state=focusable actions=SetFocus");
}

// A second window of a control (a drop-down panel) gets its own interface:
// registered once, it is what Qt hands out for that window, and its parts
// lie in that window's pixels.
TEST_F(ControlAccessibility, ASecondWindowOfTheControlHasItsOwnInterface) {
    struct Cells : ControlAccessible {
        Cells(Control& c, QWidget* panel) : ControlAccessible(c, QAccessible::Table, panel) {}
        int partCount() const override { return 2; }
        AccessiblePart part(int i) const override {
            return {
                QAccessible::Cell, QStringLiteral("cell %1").arg(i), {}, {}, QRect(i * 10, 0, 10, 10), {}};
        }
    };
    QWidget panel;
    panel.move(300, 200);
    auto* cells = new Cells(*strip, &panel);
    QAccessible::registerAccessibleInterface(cells);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&panel), cells);
    EXPECT_EQ(cells->surface(), &panel);
    EXPECT_EQ(cells->child(1)->rect().topLeft(), panel.mapToGlobal(QPoint(10, 0)));
    EXPECT_NE(accessibility::interfaceOf(*strip), cells) << "the control's own window keeps its interface";
}

} // namespace
