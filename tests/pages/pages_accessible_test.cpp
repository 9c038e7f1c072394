// Pages as assistive technologies see it: a page tab list of its tabs, named
// and selected as the tab string and the active tab say, with a press action
// that goes the way of a click, and the events that announce changes.
#include "frame/runtime/control_accessible_p.h"
#include "frame/runtime/site.h"
#include "pages/pages.h"

#include <QAccessible>
#include <QApplication>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace korva;

namespace {

struct Seen {
    QAccessible::Event type;
    int child;
};
std::vector<Seen> g_events;

class PagesAccessibility : public ::testing::Test {
protected:
    void SetUp() override {
        g_events.clear();
        accessibility::setEventObserver([](const QAccessibleEvent& e) {
            g_events.push_back({e.type(), e.child()});
        });
        pages = Pages::createNew();
        pages->setActiveTabs("General,Colours,Help");
    }
    void TearDown() override {
        pages.reset();
        accessibility::setEventObserver({});
    }
    QAccessibleInterface* iface() { return QAccessible::queryAccessibleInterface(pages->site()); }

    std::unique_ptr<Pages> pages;
};

// Roles, names, states and actions as a screen reader lists them are pinned
// by examples/pages_a11y.kvs and its recorded output; here, where the tabs lie.
TEST_F(PagesAccessibility, TabsLieSideBySideAndAreFoundWhereTheyLie) {
    QAccessibleInterface* a = iface();
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(a->childCount(), 3);
    QRect previous;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        QAccessibleInterface* tab = a->child(i);
        ASSERT_NE(tab, nullptr);
        EXPECT_EQ(a->indexOfChild(tab), i);
        // Tabs lie side by side along the top of the control, left to right
        // (the active tab's look is wider and overlaps its neighbours a little).
        const QRect r = tab->rect().translated(-pages->site()->mapToGlobal(QPoint(0, 0)));
        EXPECT_FALSE(r.isEmpty());
        EXPECT_TRUE(pages->site()->rect().contains(r));
        EXPECT_LT(r.top(), pages->site()->height() / 2);
        if (i > 0) {
            EXPECT_GT(r.left(), previous.center().x());
            EXPECT_GT(r.center().x(), previous.right());
        }
        previous = r;
        EXPECT_EQ(a->childAt(tab->rect().center().x(), tab->rect().center().y()), tab);
    }
}

TEST_F(PagesAccessibility, PressActivatesTheTabAsAClickDoes) {
    QSignalSpy clicks(pages.get(), &Pages::Click);
    QSignalSpy downs(pages.get(), &Pages::MouseDown);
    QSignalSpy ups(pages.get(), &Pages::MouseUp);
    g_events.clear();
    iface()->child(2)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks[0][0].toString(), "Help");
    EXPECT_EQ(downs.count(), 1);
    EXPECT_EQ(ups.count(), 1);
    EXPECT_EQ(pages->ActiveTab(), 3);
    EXPECT_TRUE(iface()->child(2)->state().selected);
    EXPECT_FALSE(iface()->child(0)->state().selected);
    ASSERT_FALSE(g_events.empty());
    EXPECT_EQ(g_events.back().type, QAccessible::Selection);
    EXPECT_EQ(g_events.back().child, 2);

    // Pressing the active tab selects nothing new.
    g_events.clear();
    iface()->child(2)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(g_events.empty());

    // A disabled control offers nothing to press.
    pages->site()->setEnabled(false);
    EXPECT_TRUE(iface()->child(0)->actionInterface()->actionNames().isEmpty());
}

TEST_F(PagesAccessibility, ChildrenFollowTheTabString) {
    QAccessibleInterface* a = iface();
    pages->setActiveTabs("One,Two");
    ASSERT_EQ(a->childCount(), 2);
    EXPECT_EQ(a->child(2), nullptr);
    pages->setActiveTabs("");
    EXPECT_EQ(a->childCount(), 0);
}

TEST_F(PagesAccessibility, KeyStepsAnnounceSelectionAndFocus) {
    QWidget* w = pages->widget();
    w->show();
    QApplication::setActiveWindow(w);
    w->setFocus();
    if (!w->hasFocus())
        GTEST_SKIP() << "the platform gives no focus";
    g_events.clear();
    std::vector<Value> right = {Value(int16_t{39}), Value(int16_t{0})};
    ASSERT_TRUE(pages->notify(u"", -1, Notification::KeyDown, right, nullptr));
    std::vector<int> selection, focus;
    for (const Seen& e : g_events) {
        if (e.type == QAccessible::Selection)
            selection.push_back(e.child);
        if (e.type == QAccessible::Focus)
            focus.push_back(e.child);
    }
    EXPECT_EQ(selection, std::vector<int>{1});
    EXPECT_EQ(focus, std::vector<int>{1});
    EXPECT_TRUE(iface()->child(1)->state().focused);
}

} // namespace
