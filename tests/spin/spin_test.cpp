// Spin: elements and layout, members and their lets, persistence, input
// filtering, stepping and validation, the component's absence, bad input.
#include "frame/colour/colour_p.h"
#include "frame/elements/combobox_element_p.h"
#include "frame/elements/label_element_p.h"
#include "frame/elements/picturebox_element_p.h"
#include "frame/elements/textbox_element_p.h"
#include "frame/platform/scripted_platform_p.h"
#include "frame/values/property_bag.h"
#include "spin/spin.h"
#include "spin/updown_element_p.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <tuple>

using namespace korva;

namespace {

constexpr uint32_t kWindow = 0x80000005u;
using Backs = std::array<uint32_t, 4>;

// The control's background and the three elements that show it.
Backs backs(Spin& s) {
    return {s.BackColor(), static_cast<LabelElement*>(s.element(u"lblBACK"))->BackColor(),
            static_cast<TextBoxElement*>(s.element(u"txtBORDER"))->BackColor(),
            static_cast<PictureBoxElement*>(s.element(u"picfraBOX"))->BackColor()};
}
Backs all(uint32_t c) { return {c, c, c, c}; }
uint32_t blended() { return static_cast<uint32_t>(BlendColor(0x8000000F, kWindow, 140)); }

class Recorder : public EventSink {
public:
    void onEvent(Control& c, int32_t number, std::span<Value* const> args) override {
        numbers.push_back(number);
        texts.append(static_cast<Spin&>(c).Text());
        if (act)
            act(number, args);
    }
    std::vector<int> numbers;
    QStringList texts; // the text each handler saw
    std::function<void(int32_t, std::span<Value* const>)> act;
};

class SpinTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform.installed(true);
        QLocale::setDefault(QLocale::c());
        spin = Spin::createNew();
        spin->addSink(&rec);
    }
    void TearDown() override {
        spin.reset();
        platform.installed(false);
    }

    template <class E = Element> E& el(const char* name) {
        auto* e = dynamic_cast<E*>(spin->element(QString::fromLatin1(name)));
        EXPECT_NE(e, nullptr) << name;
        return *e;
    }
    TextBoxElement& txt() { return el<TextBoxElement>("txtUPDOWN"); }

    std::vector<Value> notify(const char* element, Notification n, std::vector<Value> args) {
        QString error;
        EXPECT_TRUE(spin->notify(QString::fromLatin1(element), -1, n, args, &error)) << error.toStdString();
        return args;
    }
    void key(int16_t code, int16_t shift = 0) {
        notify("txtUPDOWN", Notification::KeyDown, {Value(code), Value(shift)});
    }
    void mouse(const char* element, Notification n, int16_t button, float x, float y) {
        notify(element, n, {Value(button), Value(int16_t{0}), Value(x), Value(y)});
    }
    int count(int number) const {
        return static_cast<int>(std::count(rec.numbers.begin(), rec.numbers.end(), number));
    }
    void clear() {
        rec.numbers.clear();
        rec.texts.clear();
    }

    ScriptedPlatform platform;
    std::unique_ptr<Spin> spin;
    Recorder rec;
};

TEST_F(SpinTest, NewInstanceHasDesignValuesLayoutAndNesting) {
    EXPECT_TRUE(spin->changedKeys().contains("Interval"));
    EXPECT_TRUE(spin->Enabled() && spin->AllowArrowKeys() && spin->SyncBuddy() && spin->ThousandsSeparator());
    EXPECT_FALSE(spin->AllowDecpoint());
    EXPECT_EQ(spin->BorderStyle(), 1);
    EXPECT_EQ(txt().borderStyle(), 0);
    EXPECT_EQ(txt().BackColor(), kWindow);
    EXPECT_EQ(backs(*spin), all(kWindow));
    EXPECT_EQ(el<LabelElement>("lblBACK").Caption(), " ");
    EXPECT_EQ(el<ComboBoxElement>("cboHEIGHT").Text(), "Combo1");
    EXPECT_EQ(el<ComboBoxElement>("cboHEIGHT").Font().size, 8.0) << "8.25 as a whole number";

    EXPECT_EQ(txt().Container(), &el("udnCTRL"));
    EXPECT_EQ(el("lblBACK").Container(), &el("udnCTRL"));
    EXPECT_EQ(el("udnCTRL").Container(), &el("picfraBOX"));
    spin->site()->resizeTwips(300, 555);
    EXPECT_EQ(txt().Width(), 2445.0f) << "too narrow: the text keeps its width";
    EXPECT_EQ(el("txtBORDER").Width(), 300.0f);
}

// Counted without waiting: a paint that lays out and so asks for another
// paint leaves that request posted, and delivering the posted events runs it.
TEST_F(SpinTest, LayoutOnPaintSettles) {
    spin->widget()->show();
    QCoreApplication::processEvents();
    struct Counter : QObject {
        int n = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            n += e->type() == QEvent::Paint;
            return false;
        }
    } paints;
    spin->site()->installEventFilter(&paints);
    spin->site()->repaint();
    ASSERT_EQ(paints.n, 1);
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(paints.n, 1) << "a paint that lays out asked for another paint";
}

TEST_F(SpinTest, LetsStoreWhatTheElementsAcceptAndAlwaysReport) {
    spin->setAlignment(2);
    spin->setAlignment(70000); // outside 16 bits
    spin->setAlignment(5);     // the text box refuses it
    EXPECT_EQ(spin->Alignment(), 2);
    spin->setMaxLength(-1);
    EXPECT_EQ(spin->MaxLength(), 0);
    spin->setBackColor(0x8000000F);
    EXPECT_EQ(backs(*spin), all(0x8000000Fu));
    // No validation of the bounds or the step.
    spin->setMin(20);
    spin->setInterval(-2.5);
    EXPECT_EQ(spin->Min(), 20);
    EXPECT_EQ(spin->Interval(), -2.5);
    for (const char* k : {"Alignment", "MaxLength", "Backcolor", "Min", "Interval"})
        EXPECT_TRUE(spin->changedKeys().contains(k)) << k;

    // The combo beside the text takes the font at a whole size; the control keeps it as given.
    FontSpec f;
    f.name = "Arial";
    f.size = 9.5;
    spin->setFont(f);
    EXPECT_EQ(el<ComboBoxElement>("cboHEIGHT").Font().name, "Arial");
    EXPECT_EQ(el<ComboBoxElement>("cboHEIGHT").Font().size, 10.0);
    EXPECT_EQ(spin->Font(), f);
}

TEST_F(SpinTest, EnabledLetBlendsAndResetsTheBackground) {
    QStringList keys;
    QObject::connect(spin.get(), &Control::propertyChanged, [&](const QString& k) { keys.append(k); });
    spin->setBackColor(0x000000FF);
    spin->setEnabled(false);
    EXPECT_EQ(backs(*spin), all(blended()));
    EXPECT_FALSE(spin->Enabled() || txt().Enabled() || spin->site()->Enabled());
    spin->setEnabled(true);
    EXPECT_EQ(backs(*spin), all(kWindow)) << "the colour set before is gone";
    EXPECT_EQ(keys, (QStringList{"Backcolor", "Backcolor", "Enabled", "Backcolor", "Enabled"}));
    EXPECT_EQ(el("txtBORDER").Width(), 2805.0f) << "the nudge leaves the width";
}

// ---- persistence ------------------------------------------------------------------

TEST_F(SpinTest, SavesSixteenKeysInOrderAndReloadsThem) {
    const std::pair<const char*, QVariant> lets[] = {
        {"Text", "12.5"},      {"AllowDecpoint", true},
        {"Interval", 0.5},     {"BackColor", 0x00C0FFEE},
        {"ForeColor", 0xFF},   {"BorderStyle", 0},
        {"Alignment", 1},      {"AllowArrowKeys", false},
        {"BuddyAlignment", 2}, {"Max", -5},
        {"MaxLength", 8},      {"Min", -9},
        {"SyncBuddy", false},  {"ThousandsSeparator", false},
        {"Enabled", false}, // resets the background
    };
    for (const auto& [name, v] : lets)
        ASSERT_TRUE(spin->setProperty(name, v)) << name;
    PropertyBag bag;
    spin->WriteProperties(bag);
    QStringList keys;
    for (const auto& e : bag.entries())
        keys.append(e.key);
    EXPECT_EQ(keys, (QStringList{"Backcolor", "ForeColor", "Enabled", "Font", "BorderStyle", "Alignment",
                                 "AllowArrowKeys", "BuddyAlignment", "Max", "Interval", "AllowDecpoint",
                                 "MaxLength", "Min", "SyncBuddy", "ThousandsSeparator", "Text"}));
    EXPECT_EQ(bag.ReadProperty("Interval", {}).type(), ValueType::Double);

    Spin back;
    back.Initialize();
    back.ReadProperties(bag);
    // Saved while disabled: the blended background comes back in all four elements.
    EXPECT_FALSE(back.Enabled() || back.site()->Enabled());
    EXPECT_EQ(backs(back), all(blended()));
    PropertyBag again;
    back.WriteProperties(again);
    EXPECT_EQ(again, bag);
}

TEST_F(SpinTest, AbsentOrUnreadableSavedValuesKeepTheirDesignValue) {
    spin->setFont(spin->site()->AmbientFont());
    PropertyBag bag;
    spin->WriteProperties(bag);
    EXPECT_TRUE(bag.isEmpty()) << "defaults are saved as absent keys";
    spin->setText("7");
    spin->setSyncBuddy(false);
    spin->ReadProperties(bag);
    EXPECT_EQ(spin->Text(), "1") << "no Text key";
    EXPECT_TRUE(spin->SyncBuddy());

    bag.WriteProperty("Max", Value("ten"));
    bag.WriteProperty("Interval", Value("fast"));
    bag.WriteProperty("Backcolor", Value(Colour{0x800000FF})); // no such system colour
    bag.WriteProperty("Min", Value(int32_t{3}));
    bag.WriteProperty("Text", Value("4"));
    spin->ReadProperties(bag);
    EXPECT_EQ(spin->Max(), 10);
    EXPECT_EQ(spin->Interval(), 1.0);
    EXPECT_EQ(spin->BackColor(), kWindow);
    EXPECT_EQ(spin->Min(), 3);
    EXPECT_EQ(spin->Text(), "4");
}

// ---- input ----------------------------------------------------------------------

TEST_F(SpinTest, TypedCharactersAreFiltered) {
    const struct {
        bool decimal;
        const char* typed;
        const char* text;
    } rows[] = {
        {false, "12.5", "125"}, {true, "12..5", "12.5"}, {true, ".5.", ".5"}, {false, "-3,4 a+", "34"}};
    for (const auto& r : rows) {
        spin->setAllowDecpoint(r.decimal);
        spin->setText("");
        QTest::keyClicks(txt().widget(), QString::fromLatin1(r.typed));
        EXPECT_EQ(spin->Text(), r.text) << r.typed;
    }
    QTest::keyClick(txt().widget(), Qt::Key_Backspace);
    EXPECT_EQ(spin->Text(), "3");
}

TEST_F(SpinTest, KeyPressHandlerDecidesWhatIsTyped) {
    spin->setText("");
    rec.act = [](int32_t n, std::span<Value* const> args) {
        if (n == 6 && args[0]->as<int16_t>() == '1')
            *args[0] = Value(int16_t{'7'});
    };
    QTest::keyClicks(txt().widget(), "1x1");
    EXPECT_EQ(spin->Text(), "77");
    // The event sees the filtered code: a dropped letter arrives as 0.
    clear();
    const auto left = notify("txtUPDOWN", Notification::KeyPress, {Value(int16_t{'x'})});
    EXPECT_EQ(left[0], Value(int16_t{0}));
    EXPECT_EQ(rec.numbers, (std::vector<int>{6}));
}

TEST_F(SpinTest, SteppingKeysTable) {
    // Decimal point allowed, text, step, Min, Max, key, the text after, Change events.
    const std::tuple<bool, const char*, double, int32_t, int32_t, int16_t, const char*, int> rows[] = {
        {false, "9", 1, 0, 10, 38, "10", 1},    {false, "10", 1, 0, 10, 38, "10", 2}, // 11, then the clamp
        {true, "9.5", 1, 0, 10, 38, "10.0", 2}, {true, "0.0", 0.5, 0, 10, 40, "0.0", 2},
        {false, "1", 0.5, 0, 10, 33, "2", 1}, // 1.5 away from zero
        {false, "1", 0.5, 0, 10, 34, "1", 0}, // 0.5 away from zero
        {true, "7", 0, 0, 10, 38, "7.0", 1},    {false, "", 1, 0, 10, 38, "10", 1},
        {false, "", 1, 0, 10, 40, "", 0},       {false, "", 1, 3, 10, 40, "3", 1},
        {true, "", 1, 2, 10, 40, "2.0", 1},     {false, "5", 1, 7, 10, 40, "7", 2},
        {false, "-5", 1, 0, 10, 38, "-4", 1}, // only the bound ahead is checked
        {false, "50", 1, 0, 10, 40, "49", 1},   {false, "3", 2.5, 0, 10, 38, "6", 1}, // 5.5 away from zero
        {false, "abc", 1, 0, 10, 38, "10", 1}, // not a number: to the bound
    };
    for (const auto& [decimal, text, step, min, max, code, after, changes] : rows) {
        SCOPED_TRACE(std::string(text) + " key " + std::to_string(code));
        spin->setAllowDecpoint(decimal);
        spin->setInterval(step);
        spin->setMin(min);
        spin->setMax(max);
        spin->setText(QString::fromLatin1(text));
        clear();
        key(code, 1); // Shift is not looked at
        EXPECT_EQ(spin->Text(), after);
        EXPECT_EQ(count(1), changes);
        ASSERT_FALSE(rec.numbers.empty());
        EXPECT_EQ(rec.numbers.front(), code == 38 || code == 33 ? 4 : 11)
            << "DownClick steps up, UpClick down";
        EXPECT_EQ(rec.texts.front(), text) << "raised before the text changes";
        EXPECT_EQ(rec.numbers.back(), 5);
        EXPECT_EQ(txt().SelStart(), 0);
    }
}

TEST_F(SpinTest, KeyAndMouseEventsPassTheirArgumentsByReference) {
    float seenX = 0;
    QObject::connect(spin.get(), &Spin::MouseDown, [&](int16_t&, int16_t&, float& x, float&) { seenX = x; });
    rec.act = [](int32_t n, std::span<Value* const> args) {
        if (n == 8)
            *args[2] = Value(99.0f);
        if (n == 5)
            *args[0] = Value(int16_t{0});
    };
    const auto left = notify("txtUPDOWN", Notification::KeyDown, {Value(int16_t{65}), Value(int16_t{0})});
    EXPECT_EQ(left[0], Value(int16_t{0}));
    EXPECT_EQ(spin->Text(), "1") << "not a stepping key";
    mouse("txtUPDOWN", Notification::MouseDown, 1, 15, 30);
    mouse("txtUPDOWN", Notification::MouseMove, 0, 1, 1);
    mouse("txtUPDOWN", Notification::MouseUp, 1, 1, 1);
    notify("txtUPDOWN", Notification::Click, {});
    notify("txtUPDOWN", Notification::DblClick, {});
    notify("txtUPDOWN", Notification::KeyUp, {Value(int16_t{38}), Value(int16_t{0})});
    EXPECT_EQ(rec.numbers, (std::vector<int>{5, 8, 9, 10, 2, 3, 7}));
    EXPECT_EQ(seenX, 99.0f);
}

TEST_F(SpinTest, ValidationWhenFocusLeaves) {
    // Whether the whole control or only its text box loses the focus.
    const std::tuple<bool, bool, const char*, const char*> rows[] = {
        {false, false, "", "10"},    {false, false, "15", "10"}, {false, false, "-3", "0"},
        {false, false, "05", "05"},  {true, false, "", "10.0"},  {true, false, "5", "5"},
        {false, true, "15", "10.0"}, {false, true, "", "10.0"},  {false, true, "-1", "0.0"},
    };
    for (const auto& [decimal, wholeControl, text, after] : rows) {
        spin->setAllowDecpoint(decimal);
        spin->setText(QString::fromLatin1(text));
        if (wholeControl)
            spin->LostFocus();
        else
            notify("txtUPDOWN", Notification::LostFocus, {});
        EXPECT_EQ(spin->Text(), after) << text << (wholeControl ? " control" : " text box");
    }
}

TEST_F(SpinTest, HeldButtonRepeatsOnThePlatformClock) {
    const auto button = [&](Notification n, float y) { mouse("udnCTRL", n, 1, 2600, y); };
    button(Notification::MouseDown, 100);
    EXPECT_EQ(spin->Text(), "2");
    platform.advance(350);
    EXPECT_EQ(spin->Text(), "2");
    platform.advance(50);
    EXPECT_EQ(spin->Text(), "3");
    platform.advance(200);
    EXPECT_EQ(spin->Text(), "5");
    button(Notification::MouseUp, 100);
    platform.advance(1000);
    EXPECT_EQ(spin->Text(), "5");
    button(Notification::MouseDown, 400);
    button(Notification::MouseUp, 400);
    EXPECT_EQ(spin->Text(), "4");
    EXPECT_EQ(count(4), 4);
    EXPECT_EQ(count(11), 1);
}

// ---- bad input ----------------------------------------------------------------------

TEST_F(SpinTest, BadInputGetsTheDocumentedOutcome) {
    spin->setText(QString(100000, QLatin1Char('9')));
    EXPECT_LE(spin->Text().size(), 32767);
    key(38);
    EXPECT_EQ(spin->Text(), "10");

    for (double step : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        spin->setInterval(step);
        spin->setText("5");
        key(38);
        key(40);
        EXPECT_EQ(spin->Text(), "5") << "a step that is not a number is skipped";
    }
    EXPECT_TRUE(std::isinf(spin->Interval()));
}

// ---- dispatch ------------------------------------------------------------------

TEST_F(SpinTest, MembersByIdentifier) {
    const struct {
        int32_t id;
        InvokeKind kind;
        std::vector<Value> args;
        InvokeStatus status;
        Value result; // empty: not looked at
    } rows[] = {
        {0x68030001, InvokeKind::Let, {Value("42")}, InvokeStatus::Ok, {}},
        {0x68030001, InvokeKind::Get, {}, InvokeStatus::Ok, Value("42")},
        {0x60030010,
         InvokeKind::Call,
         {Value(int32_t{46}), Value(true), Value("1.5")},
         InvokeStatus::Ok,
         Value(int16_t{0})},
        {0x6003000F, InvokeKind::Call, {Value("3.")}, InvokeStatus::Ok, Value(int32_t{1})},
        {0x6803000E, InvokeKind::Let, {Value("left")}, InvokeStatus::TypeMismatch, {}},
    };
    for (const auto& r : rows) {
        std::vector<Value> args = r.args;
        Value result;
        EXPECT_EQ(spin->invoke(r.id, r.kind, args, result), r.status) << std::hex << r.id;
        if (!r.result.isEmpty()) {
            EXPECT_EQ(result, r.result) << std::hex << r.id;
        }
    }
    std::vector<Value> none;
    Value font;
    EXPECT_EQ(spin->invoke(0xFFFFFE00, InvokeKind::Get, none, font), InvokeStatus::Ok);
    EXPECT_TRUE(font.is<FontSpec>());
}

TEST_F(SpinTest, QtPropertiesNotifyTheirChanges) {
    QSignalSpy max(spin.get(), &Spin::MaxChanged);
    QSignalSpy change(spin.get(), &Spin::Change);
    QSignalSpy back(spin.get(), &Spin::BackColorChanged);
    EXPECT_TRUE(spin->setProperty("Max", 7));
    EXPECT_TRUE(spin->setProperty("Text", QStringLiteral("3")));
    spin->setEnabled(false);
    EXPECT_EQ(spin->Text(), "3");
    EXPECT_EQ(spin->property("Font").value<FontSpec>().name, "Tahoma");
    EXPECT_EQ(max.count(), 1);
    EXPECT_EQ(change.count(), 1);
    EXPECT_EQ(back.count(), 1);
}

// ---- without the component ------------------------------------------------------------

TEST_F(SpinTest, WithoutTheComponentGetsAnswerZeroLetsDoNothingKeysStillStep) {
    const UpDownFactory previous =
        setUpDownFactory([](Control&) { return std::unique_ptr<UpDownElement>(); });
    spin = Spin::createNew();
    setUpDownFactory(previous);

    EXPECT_EQ(spin->element(u"udnCTRL"), nullptr);
    spin->setMax(50);
    spin->setAllowArrowKeys(true);
    EXPECT_EQ(spin->Max(), 0);
    EXPECT_FALSE(spin->AllowArrowKeys());
    EXPECT_FALSE(spin->Enabled());
    EXPECT_TRUE(spin->changedKeys().contains("Max"));

    key(38); // 2, then clamped to a Max read as 0
    EXPECT_EQ(spin->Text(), "0");
    spin->setText("5");
    key(40);
    EXPECT_EQ(spin->Text(), "4");

    PropertyBag bag;
    spin->WriteProperties(bag);
    spin->ReadProperties(bag);
    spin->setEnabled(true);
    spin->Refresh();
    EXPECT_EQ(spin->Text(), "4");
}

} // namespace
