// Spin as assistive technologies see it: a spin box with a value interface,
// increase/decrease actions on the buttons' own path, and the events a screen
// reader follows (value, focus, state).
#include "frame/elements/textbox_element_p.h"
#include "frame/platform/accessible_tree_p.h"
#include "frame/runtime/control_accessible_p.h"
#include "frame/runtime/site.h"
#include "spin/spin.h"
#include "spin/updown.h"
#include "spin/updown_element_p.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <tuple>

using namespace korva;

namespace {

struct Seen {
    QAccessible::Event type;
    QObject* object;
    QVariant value;
    friend bool operator==(const Seen&, const Seen&) = default;
};
std::vector<Seen> g_events;

// The events and the text, in order, as a handler of the control sees them.
class Trace : public EventSink {
public:
    void onEvent(Control& c, int32_t number, std::span<Value* const>) override {
        lines << c.classInfo().eventByNumber(number)->name + u' ' + static_cast<Spin&>(c).Text();
    }
    QStringList lines;
};

class SpinAccessibility : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale::c());
        g_events.clear();
        accessibility::setEventObserver([](const QAccessibleEvent& e) {
            QVariant v;
            if (e.type() == QAccessible::ValueChanged)
                v = static_cast<const QAccessibleValueChangeEvent&>(e).value();
            g_events.push_back({e.type(), e.object(), v});
        });
        spin = Spin::createNew();
    }
    void TearDown() override {
        spin.reset();
        accessibility::setEventObserver({});
    }
    QAccessibleInterface* iface() const { return QAccessible::queryAccessibleInterface(spin->site()); }
    QAccessibleValueInterface* value() const { return iface()->valueInterface(); }
    void act(const QString& action) const { iface()->actionInterface()->doAction(action); }
    QWidget* textBox() const { return spin->element(u"txtUPDOWN")->widget(); }

    std::unique_ptr<Spin> spin;
};

TEST_F(SpinAccessibility, IsASpinBoxWhoseValueIsTheText) {
    ASSERT_NE(iface(), nullptr);
    ASSERT_NE(value(), nullptr);
    // One line, no children: the buttons and the text box are drawn, not objects of their own.
    EXPECT_EQ(accessibleTree(iface()),
              QStringList{"spin box \"\" value=1 range=0..10 step=1 state=focusable,editable "
                          "actions=Increase,Decrease,SetFocus"});

    spin->setMin(-5);
    spin->setMax(300);
    spin->setInterval(0.25);
    spin->setAllowDecpoint(true);
    spin->setText("12.5");
    EXPECT_EQ((QVariantList{value()->currentValue(), value()->minimumValue(), value()->maximumValue(),
                            value()->minimumStepSize()}),
              (QVariantList{12.5, -5, 300, 0.25}));
    EXPECT_EQ(iface()->text(QAccessible::Value), "12.5");
    spin->setText("");
    EXPECT_FALSE(value()->currentValue().isValid()) << "no number, no value";

    spin->setEnabled(false);
    EXPECT_EQ(accessibleTree(iface()),
              QStringList{"spin box \"\" value= range=-5..300 step=0.25 state=disabled"});
}

// The actions and the buttons take one path: the same events in the same
// order with the same texts, the same bounds, the text box taking the focus.
TEST_F(SpinAccessibility, IncreaseAndDecreaseStepLikeTheButtons) {
    // The text before, up or down, the text after.
    const std::tuple<const char*, bool, const char*> cases[] = {
        {"4", true, "5"},  {"10", true, "10"}, {"", true, "10"},
        {"4", false, "3"}, {"0", false, "0"},  {"", false, ""},
    };
    for (const auto& [start, up, text] : cases) {
        SCOPED_TRACE(std::string(start) + (up ? " up" : " down"));
        Trace byAction, byButton;
        auto other = Spin::createNew();
        spin->setText(start);
        other->setText(start);
        spin->addSink(&byAction);
        other->addSink(&byButton);

        act(up ? QAccessibleActionInterface::increaseAction() : QAccessibleActionInterface::decreaseAction());
        UpDown* buttons = static_cast<UpDownElement*>(other->element(u"udnCTRL"))->buttons();
        buttons->pressAt(buttons->buttonRect(up ? UpDown::UpButton : UpDown::DownButton).center());
        buttons->release();

        EXPECT_EQ(spin->Text(), text);
        EXPECT_EQ(byAction.lines, byButton.lines);
        EXPECT_EQ(byAction.lines.value(0),
                  (up ? QStringLiteral("DownClick ") : QStringLiteral("UpClick ")) + start);
        spin->removeSink(&byAction);
    }

    // Disabled: the buttons are greyed, so neither action is offered or runs.
    spin->setText("4");
    spin->setEnabled(false);
    EXPECT_FALSE(
        iface()->actionInterface()->actionNames().contains(QAccessibleActionInterface::increaseAction()));
    act(QAccessibleActionInterface::increaseAction());
    EXPECT_EQ(spin->Text(), "4");
}

TEST_F(SpinAccessibility, SettingTheValueTypesItWithinTheBounds) {
    const std::tuple<bool, QVariant, const char*> cases[] = {
        {false, 7, "7"},
        {false, 99, "10"},
        {false, -3, "0"},
        {false, 2.6, "3"},
        {true, 2.5, "2.5"},
        {true, 4, "4.0"},
        {false, QStringLiteral("eight"), "1"},
        {false, std::numeric_limits<double>::infinity(), "1"},
    };
    for (const auto& [decimal, v, text] : cases) {
        SCOPED_TRACE(v.toString().toStdString());
        spin->setText("1");
        spin->setAllowDecpoint(decimal);
        value()->setCurrentValue(v);
        EXPECT_EQ(spin->Text(), text);
    }
}

TEST_F(SpinAccessibility, AnnouncesValueFocusAndStateChanges) {
    spin->setText("6");
    ASSERT_FALSE(g_events.empty());
    EXPECT_EQ(g_events.back(), (Seen{QAccessible::ValueChanged, spin->site(), 6.0}));

    // On a window with another field holding the focus.
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* other = new QLineEdit(&window);
    layout->addWidget(other);
    layout->addWidget(spin->widget());
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    EXPECT_FALSE(iface()->state().focused);
    g_events.clear();
    act(QAccessibleActionInterface::increaseAction());
    EXPECT_TRUE(textBox()->hasFocus()) << "stepping gives the text box the focus, as the buttons do";
    EXPECT_TRUE(iface()->state().focused);
    EXPECT_EQ(g_events, (std::vector<Seen>{{QAccessible::Focus, spin->site(), {}},
                                           {QAccessible::ValueChanged, spin->site(), 7.0}}));

    g_events.clear();
    spin->setEnabled(false);
    EXPECT_TRUE(std::any_of(g_events.begin(), g_events.end(),
                            [](const Seen& e) { return e.type == QAccessible::StateChanged; }));
    spin->widget()->setParent(nullptr); // the spin owns its window, not the test's
}

} // namespace
