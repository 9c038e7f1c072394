// The up/down component: on its own as a Qt widget, and as Spin reaches it,
// by dispatch identifier through its element.
#include "frame/platform/scripted_platform_p.h"
#include "spin/spin.h"
#include "spin/updown.h"
#include "spin/updown_element_p.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace korva;

namespace {

class UpDownTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform.installed(true); // 15 twips per pixel: an 18-pixel column
        buttons.resize(60, 40);
        buttons.setOwnerClock(true);
    }
    void TearDown() override { platform.installed(false); }

    // Records the order of the component's notifications.
    void record() {
        QStringList* log = &events;
        QObject::connect(&buttons, &UpDown::pressed, [log] { log->append("pressed"); });
        QObject::connect(&buttons, &UpDown::stepUp, [log] { log->append("up"); });
        QObject::connect(&buttons, &UpDown::stepDown, [log] { log->append("down"); });
    }

    ScriptedPlatform platform;
    UpDown buttons;
    QStringList events;
};

TEST_F(UpDownTest, ButtonsFillTheColumnOnTheAlignedEdge) {
    EXPECT_EQ(buttons.buttonRect(UpDown::UpButton), QRect(42, 0, 18, 20));
    EXPECT_EQ(buttons.buttonRect(UpDown::DownButton), QRect(42, 20, 18, 20));
    EXPECT_EQ(buttons.buttonAt(QPointF(50, 5)), UpDown::UpButton);
    EXPECT_EQ(buttons.buttonAt(QPointF(50, 35)), UpDown::DownButton);
    EXPECT_EQ(buttons.buttonAt(QPointF(10, 5)), UpDown::NoButton);
    EXPECT_TRUE(buttons.setBuddyAlignment(UpDown::AlignLeft));
    EXPECT_EQ(buttons.buttonRect(UpDown::UpButton), QRect(0, 0, 18, 20));
    // Narrower than the column: the buttons take what there is.
    buttons.resize(10, 41);
    EXPECT_EQ(buttons.buttonRect(UpDown::DownButton), QRect(0, 20, 10, 21));
}

TEST_F(UpDownTest, PressStepsAtOnceThenRepeatsOnTheOwnersClockWhileHeldAndOver) {
    record();
    QSignalSpy holding(&buttons, &UpDown::holdingChanged);
    const auto ticks = [this](int n) {
        for (int i = 0; i < n; ++i)
            buttons.repeatTick();
    };
    buttons.pressAt(QPointF(50, 5));
    EXPECT_EQ(events, (QStringList{"pressed", "up"}));
    EXPECT_EQ(holding.count(), 1);
    ticks(8);
    EXPECT_EQ(events.size(), 3) << "one repeat after the delay";
    buttons.release();
    ticks(10);
    EXPECT_EQ(events.size(), 3);
    EXPECT_EQ(holding.last().at(0).toBool(), false);

    events.clear();
    buttons.pressAt(QPointF(50, 35));
    buttons.moveTo(QPointF(5, 5)); // off the button: no repeats
    ticks(12);
    EXPECT_EQ(events, (QStringList{"pressed", "down"}));
    buttons.release();

    // Disabling releases; presses while disabled or beside the buttons do nothing.
    events.clear();
    buttons.pressAt(QPointF(50, 5));
    buttons.setEnabled(false);
    EXPECT_EQ(buttons.heldButton(), UpDown::NoButton);
    ticks(20);
    EXPECT_EQ(events.size(), 2) << "no repeats once released";
    events.clear();
    buttons.pressAt(QPointF(50, 5));
    buttons.setEnabled(true);
    buttons.pressAt(QPointF(5, 5));
    EXPECT_TRUE(events.isEmpty());
    EXPECT_EQ(buttons.heldButton(), UpDown::NoButton);
}

// A widget inside the buttons (Spin's text box) that leaves an arrow key
// unhandled passes it up to them; stepping there would step twice.
TEST_F(UpDownTest, ArrowAndPageKeysStepOnlyWhenAllowedAndNotWhenPassedOn) {
    record();
    for (int key : {Qt::Key_Up, Qt::Key_PageUp, Qt::Key_Down, Qt::Key_PageDown, Qt::Key_Left})
        buttons.stepKey(key);
    EXPECT_EQ(events, (QStringList{"up", "up", "down", "down"}));
    events.clear();
    auto* inside = new QLineEdit(&buttons);
    QTest::keyClick(inside, Qt::Key_Up);
    QTest::keyClick(inside, Qt::Key_PageDown);
    EXPECT_TRUE(events.isEmpty()) << events.join(' ').toStdString();
    buttons.setAllowArrowKeys(false);
    EXPECT_FALSE(buttons.stepKey(Qt::Key_Up));
    EXPECT_TRUE(events.isEmpty());
}

TEST_F(UpDownTest, OptionsDoWhatTheyAreDocumentedToDo) {
    EXPECT_FALSE(buttons.setBuddyAlignment(3));
    EXPECT_FALSE(buttons.setBuddyAlignment(-1));
    EXPECT_EQ(buttons.BuddyAlignment(), UpDown::AlignNone);

    QWidget buddy;
    buttons.setBuddy(&buddy);
    buttons.setEnabled(false);
    EXPECT_FALSE(buddy.isEnabled());
    buttons.setSyncBuddy(false);
    buttons.setEnabled(true);
    EXPECT_FALSE(buddy.isEnabled()) << "no longer kept in step";

    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    buttons.setMin(-1500);
    buttons.setMax(2000000);
    const auto* column = buttons.findChild<QWidget*>(); // the button column
    ASSERT_NE(column, nullptr);
    EXPECT_EQ(column->toolTip(), "-1,500 to 2,000,000");
    buttons.setThousandsSeparator(false);
    EXPECT_EQ(column->toolTip(), "-1500 to 2000000");
    QLocale::setDefault(QLocale::c());
}

// Waits for a condition, never for a time: a slow machine only makes it later.
TEST_F(UpDownTest, RealMouseHoldRepeatsOnItsOwnTimer) {
    buttons.setOwnerClock(false);
    buttons.show();
    record();
    QWidget* column = buttons.childAt(50, 5);
    QTest::mousePress(column, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(QTest::qWaitFor([&] { return events.size() >= 3; }, 10000)) << "a repeat after the delay";
    QTest::mouseRelease(column, Qt::LeftButton, {}, QPoint(5, 5));
    const auto n = events.size();
    EXPECT_FALSE(QTest::qWaitFor([&] { return events.size() > n; }, 300)) << "a repeat after the release";
}

// ---- by dispatch identifier, through the element ------------------------------

class UpDownElementTest : public ::testing::Test {
protected:
    void SetUp() override { platform.installed(true); }
    void TearDown() override {
        spin.reset();
        platform.installed(false);
    }
    UpDownElement& udn() { return *static_cast<UpDownElement*>(spin->element(u"udnCTRL")); }
    InvokeStatus let(int32_t id, Value v) {
        std::vector<Value> args{std::move(v)};
        Value r;
        return udn().invoke(id, InvokeKind::Let, args, r);
    }
    Value get(int32_t id) {
        std::vector<Value> none;
        Value r;
        EXPECT_EQ(udn().invoke(id, InvokeKind::Get, none, r), InvokeStatus::Ok);
        return r;
    }

    ScriptedPlatform platform;
    std::unique_ptr<Spin> spin = Spin::createNew();
};

TEST_F(UpDownElementTest, MembersByIdentifierTakeWhatFitsAndRefuseTheRest) {
    // Member, value let, and for a refused let the value left (from the row before).
    const std::tuple<int32_t, Value, Value> rows[] = {
        {UpDownElement::kMin, Value(int32_t{-2147483647 - 1}), {}},
        {UpDownElement::kMax, Value(int32_t{2147483647}), {}},
        {UpDownElement::kThousandsSeparator, Value(false), {}},
        {UpDownElement::kSyncBuddy, Value(false), {}},
        {UpDownElement::kAllowArrowKeys, Value(false), {}},
        {UpDownElement::kBuddyAlignment, Value(int32_t{2}), {}},
        {UpDownElement::kEnabled, Value(false), {}},
        {UpDownElement::kBuddyAlignment, Value(int32_t{7}), Value(int32_t{2})},
        {UpDownElement::kMax, Value(QStringLiteral("ten")), Value(int32_t{2147483647})},
        {UpDownElement::kMin, Value(3e10), Value(int32_t{-2147483647 - 1})},
    };
    for (const auto& [id, set, kept] : rows) {
        EXPECT_EQ(let(id, set) == InvokeStatus::Ok, kept.isEmpty()) << id;
        EXPECT_EQ(get(id), kept.isEmpty() ? set : kept) << id;
    }
    std::vector<Value> none;
    Value r;
    EXPECT_EQ(udn().invoke(0x68030099, InvokeKind::Get, none, r), InvokeStatus::UnknownMember);
}

TEST_F(UpDownElementTest, MoveKeepsWhatIsLeftOut) {
    std::vector<Value> args{Value(10.0f), Value(20.0f)};
    Value r;
    ASSERT_EQ(udn().invoke(UpDownElement::kMove, InvokeKind::Call, args, r), InvokeStatus::Ok);
    EXPECT_EQ(udn().Left(), 10.0f);
    EXPECT_EQ(udn().Top(), 20.0f);
    EXPECT_EQ(udn().Width(), 2715.0f);
    EXPECT_EQ(udn().Height(), 495.0f);
}

} // namespace
