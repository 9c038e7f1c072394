// Pane as assistive technologies see it: role, name, states, the press
// action, change events, and the tree korvahost's a11y prints.
#include "frame/platform/accessible_tree_p.h"
#include "frame/runtime/control_accessible_p.h"
#include "frame/runtime/site.h"
#include "frame/values/property_bag.h"
#include "pane/pane.h"

#include <QAccessible>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace korva;

namespace {

std::vector<std::pair<QAccessible::Event, QObject*>> g_events;

class PaneAccessibility : public ::testing::Test {
protected:
    void SetUp() override {
        g_events.clear();
        accessibility::setEventObserver(
            [](const QAccessibleEvent& e) { g_events.emplace_back(e.type(), e.object()); });
        pane = Pane::createNew();
    }
    void TearDown() override {
        pane.reset();
        accessibility::setEventObserver({});
    }
    QAccessibleInterface* iface() { return QAccessible::queryAccessibleInterface(pane->site()); }
    void press() {
        ASSERT_TRUE(iface()->actionInterface());
        iface()->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    }

    std::unique_ptr<Pane> pane;
};

TEST_F(PaneAccessibility, IsAButtonNamedByTheCaptionItShows) {
    QAccessibleInterface* a = iface();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::Button);
    EXPECT_EQ(a->object(), pane->site());
    // A new pane shows its design caption until it is given one.
    EXPECT_EQ(a->text(QAccessible::Name), "TEST");
    EXPECT_EQ(a->childCount(), 0) << "the pane's picture and caption are not objects of their own";

    g_events.clear();
    pane->setTextCaption("Open");
    EXPECT_EQ(a->text(QAccessible::Name), "Open");
    ASSERT_FALSE(g_events.empty());
    EXPECT_EQ(g_events.back().first, QAccessible::NameChanged);
    EXPECT_EQ(g_events.back().second, pane->site());
}

TEST_F(PaneAccessibility, PressRaisesClickOnlyWhereAClickWould) {
    QSignalSpy clicks(pane.get(), &Pane::Click);
    press();
    EXPECT_EQ(clicks.count(), 1);

    // Disabled: no action offered (the tree below shows it), and a stray request does nothing.
    pane->setEnabled(false);
    press();
    EXPECT_EQ(clicks.count(), 1);

    // Saved disabled: the picture is hidden and the caption is inert, for a
    // screen reader user as for anyone else.
    PropertyBag bag;
    bag.WriteProperty("TextCaption", Value(QStringLiteral("Archive")));
    bag.WriteProperty("Enabled", Value(false));
    pane = std::make_unique<Pane>();
    pane->Initialize();
    pane->ReadProperties(bag);
    QSignalSpy loadedClicks(pane.get(), &Pane::Click);
    EXPECT_EQ(iface()->text(QAccessible::Name), "Archive");
    press();
    EXPECT_EQ(loadedClicks.count(), 0);
}

TEST_F(PaneAccessibility, TreeLinesNameRoleStateAndActions) {
    pane->setTextCaption("Say \"hi\"");
    const QStringList enabled{"button \"Say \"\"hi\"\"\" state=focusable actions=Press,SetFocus"};
    EXPECT_EQ(accessibleTree(iface()), enabled);
    pane->setEnabled(false);
    EXPECT_EQ(accessibleTree(iface()), QStringList{"button \"Say \"\"hi\"\"\" state=disabled"});
    pane->setEnabled(true);
    EXPECT_EQ(accessibleTree(iface()), enabled);
}

} // namespace
