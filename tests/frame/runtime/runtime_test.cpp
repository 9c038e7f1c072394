// The control runtime: lifecycle delivery, events with by-reference arguments,
// the error policy at the boundary, element geometry, the input sequence of
// elements, timer elements on the scripted clock, and the platform layer.
#include "frame/elements/image_element_p.h"
#include "frame/elements/label_element_p.h"
#include "frame/elements/timer_element_p.h"
#include "frame/runtime/control.h"
#include "frame/runtime/element_p.h"
#include "frame/runtime/site.h"
#include "support/bare_class.h"
#include "support/platform_test.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <stdexcept>

using namespace korva;

namespace {

// Records what the runtime delivers, and fails on demand.
class Probe : public Control {
public:
    Probe() : Control(info()) {
        label = addElement<LabelElement>(*this, QStringLiteral("lblX"));
        image = addElement<ImageElement>(*this, QStringLiteral("imgX"));
        for (auto* e : std::initializer_list<Element*>{label, image}) {
            const QString n = e->Name();
            e->handlers().onMouseDown = [this, n](int16_t b, int16_t s, float x, float y) {
                log << QStringLiteral("%1.MouseDown(%2,%3,%4,%5)").arg(n).arg(b).arg(s).arg(x).arg(y);
            };
            e->handlers().onMouseUp = [this, n](int16_t, int16_t, float, float) { log << n + ".MouseUp"; };
            e->handlers().onClick = [this, n] { log << n + ".Click"; };
            e->handlers().onDblClick = [this, n] { log << n + ".DblClick"; };
        }
    }
    static const ClassInfo& info() {
        static const ClassInfo c = [] {
            ClassInfo i = fixtures::bareClass("Probe", QSize(1500, 750));
            i.events = {{"Changed", 1, {{"KeyAscii", ValueType::Integer, true}}}};
            return i;
        }();
        return c;
    }
    int16_t raiseChanged(int16_t code) {
        Value v(code);
        Value* args[] = {&v};
        RaiseEvent(1, args);
        return v.is<int16_t>() ? v.as<int16_t>() : 0;
    }
    void change(const QString& key) { PropertyChanged(key); }

    QStringList log;
    bool throwOnResize = false;
    LabelElement* label;
    ImageElement* image;

protected:
    void onInitialize() override { log << "Initialize"; }
    void onInitProperties() override { log << "InitProperties"; }
    void onResize() override {
        log << "Resize";
        if (throwOnResize)
            throw std::runtime_error("resize failed");
    }
};

struct DoublingSink : EventSink {
    void onEvent(Control&, int32_t number, std::span<Value* const> args) override {
        ++calls;
        last = number;
        if (!args.empty() && args[0]->is<int16_t>())
            *args[0] = Value(static_cast<int16_t>(args[0]->as<int16_t>() * 2));
    }
    int calls = 0;
    int last = 0;
};

using RuntimeTest = fixtures::PlatformTest;

TEST_F(RuntimeTest, NewControlTakesItsDesignSizeAndHandlersSeeEveryNotification) {
    Probe p;
    EXPECT_EQ(p.site()->Width(), 1500);
    EXPECT_EQ(p.site()->size(), QSize(100, 50));
    p.log.clear();
    p.Initialize();
    p.InitProperties();
    p.site()->resizeTwips(3000, 800);
    EXPECT_EQ(p.log, QStringList({"Initialize", "InitProperties", "Resize"}));
    EXPECT_EQ(p.site()->Height(), 800) << "the extent is kept as given, not as rounded pixels";
    EXPECT_EQ(p.site()->height(), 53);
    EXPECT_FLOAT_EQ(p.site()->ScaleHeight(), 795);
    p.throwOnResize = true; // a failing handler stays inside the control
    EXPECT_NO_THROW(p.Resize());
    EXPECT_NO_THROW(p.site()->resizeTwips(100, 100));
}

TEST_F(RuntimeTest, ShowingAResizedHiddenControlDoesNotReportAStaleSize) {
    Probe p;
    p.site()->resizeTwips(3000, 800);
    p.log.clear();
    p.site()->show();
    EXPECT_FALSE(p.log.contains("Resize"));
    EXPECT_EQ(p.site()->Height(), 800);
    p.site()->resize(50, 20); // a layout resizes the window
    EXPECT_EQ(p.site()->Width(), 750);
    EXPECT_TRUE(p.log.contains("Resize"));
}

TEST_F(RuntimeTest, ContainerMayDeleteTheWindowBeforeTheControl) {
    auto p = std::make_unique<Probe>();
    auto* container = new QWidget;
    p->site()->setParent(container);
    delete container;
    EXPECT_EQ(p->site(), nullptr);
    EXPECT_EQ(p->label->widget(), nullptr);
    p.reset();
}

TEST_F(RuntimeTest, EventsReachSinksSynchronouslyWithByReferenceArguments) {
    Probe p;
    DoublingSink a, b;
    p.addSink(&a);
    p.addSink(&b);
    p.addSink(&a); // attaching twice delivers once
    QSignalSpy raised(&p, &Control::eventRaised);
    EXPECT_EQ(p.raiseChanged(5), 20) << "each sink sees what the one before left";
    EXPECT_EQ(a.calls, 1);
    EXPECT_EQ(b.last, 1);
    EXPECT_EQ(raised.count(), 1);
    p.removeSink(&b);
    EXPECT_EQ(p.raiseChanged(5), 10);
}

TEST_F(RuntimeTest, PropertyChangedIsSignalledAndRememberedUntilSaved) {
    Probe p;
    QSignalSpy spy(&p, &Control::propertyChanged);
    p.change("TEXT");
    p.change("Text");
    EXPECT_EQ(spy.count(), 2);
    EXPECT_EQ(p.changedKeys(), QStringList{"TEXT"});
}

TEST_F(RuntimeTest, ElementGeometryKeepsScaleValuesMapsToPixelsAndDisabledLetsTheMouseThrough) {
    Probe p;
    p.label->Move(45, 152.5f, 1590, 375);
    EXPECT_EQ(p.label->Top(), 152.5f);
    EXPECT_EQ(p.label->widget()->geometry(), QRect(3, 10, 106, 25));
    p.site()->setScaleMode(ScaleMode::Pixels);
    p.label->Move(1, 2, 3, 4);
    p.label->relayout();
    EXPECT_EQ(p.label->widget()->geometry(), QRect(1, 2, 3, 4));
    // A disabled element lets the mouse through to what lies under it.
    for (const bool enabled : {false, true}) {
        p.image->setEnabled(enabled);
        EXPECT_EQ(p.image->widget()->testAttribute(Qt::WA_TransparentForMouseEvents), !enabled);
    }
}

TEST_F(RuntimeTest, NotifyRoutesToElementsAndRejectsWhatDoesNotFit) {
    Probe p;
    std::vector<Value> args = {Value(int16_t{1}), Value(int16_t{2}), Value(15.0), Value("30")};
    QString error;
    ASSERT_TRUE(p.notify(u"LBLX", -1, Notification::MouseDown, args, &error)) << error.toStdString();
    EXPECT_EQ(p.log.last(), "lblX.MouseDown(1,2,15,30)");

    const struct {
        const char16_t* element;
        Notification n;
        std::vector<Value> args;
        const char* message;
    } bad[] = {
        {u"nothing", Notification::Click, {}, "has no element nothing"},
        {u"lblX", Notification::MouseDown, {Value(int16_t{1})}, "takes 4 argument(s), got 1"},
        {u"lblX",
         Notification::MouseUp,
         {Value("x"), Value(0), Value(0), Value(0)},
         "button must be an Integer"},
        {u"lblX", Notification::KeyPress, {Value(int32_t{70000})}, "character code must be an Integer"},
        {u"lblX", Notification::Resize, {}, "does not handle Resize"},
    };
    for (const auto& c : bad) {
        std::vector<Value> a = c.args;
        error.clear();
        EXPECT_FALSE(p.notify(QStringView(c.element), -1, c.n, a, &error));
        EXPECT_TRUE(error.contains(QLatin1String(c.message))) << error.toStdString();
    }
}

TEST_F(RuntimeTest, RealMouseInputFollowsTheClickAndDoubleClickSequence) {
    Probe p;
    p.image->Move(0, 0, 1500, 750);
    p.image->ZOrder(0);
    p.site()->show();
    p.log.clear();
    QTest::mouseClick(p.image->widget(), Qt::LeftButton, Qt::ShiftModifier, QPoint(2, 4));
    EXPECT_EQ(p.log, QStringList({"imgX.MouseDown(1,1,30,60)", "imgX.MouseUp", "imgX.Click"}));
    p.log.clear();
    QTest::mouseDClick(p.image->widget(), Qt::RightButton, {}, QPoint(2, 4));
    EXPECT_TRUE(p.log.contains("imgX.DblClick"));
    EXPECT_FALSE(p.log.contains("imgX.Click"));
}

TEST_F(RuntimeTest, TimerElementsFireOnTheScriptedClockInTimeOrder) {
    Probe p;
    QStringList fired;
    auto fast = std::make_unique<TimerElement>(p, QStringLiteral("tmrFast"));
    auto slow = std::make_unique<TimerElement>(p, QStringLiteral("tmrSlow"));
    fast->setInterval(30);
    slow->setInterval(100);
    fast->handlers().onTimer = [&] { fired << QStringLiteral("fast@%1").arg(platform.tickCount()); };
    slow->handlers().onTimer = [&] {
        fired << "slow";
        fast->setTimerEnabled(false); // a handler may stop another timer
    };
    platform.setTickCount(0);
    platform.advance(150);
    EXPECT_EQ(fired, QStringList({"fast@30", "fast@60", "fast@90", "slow"}));
    EXPECT_EQ(platform.tickCount(), 150u);
    fired.clear();
    fast->setInterval(-5); // rejected, keeps 30
    EXPECT_EQ(fast->Interval(), 30);
    slow->setInterval(0); // zero stops it
    platform.advance(500);
    EXPECT_TRUE(fired.isEmpty());
}

TEST_F(RuntimeTest, ScriptedWindowRectsFollowPlacement) {
    Probe p;
    platform.placeWindow(p.site(), QPoint(10, 20));
    EXPECT_EQ(platform.windowRect(p.site()), (WindowRect{10, 20, 110, 70}));
    p.label->Move(150, 300, 300, 150);
    EXPECT_EQ(platform.windowRect(p.label->widget()), (WindowRect{20, 40, 40, 50}));

    // A drop-down panel: a top-level window the control moves itself.
    QWidget panel(p.site(), Qt::Tool);
    panel.setGeometry(30, 90, 40, 20);
    QWidget cell(&panel);
    cell.setGeometry(5, 6, 7, 8);
    EXPECT_EQ(platform.windowRect(&panel), (WindowRect{30, 90, 70, 110}));
    EXPECT_EQ(platform.windowRect(&cell), (WindowRect{35, 96, 42, 104}));
    platform.placeWindow(&panel, QPoint(1, 2)); // placing wins over Qt's position
    EXPECT_EQ(platform.windowRect(&cell), (WindowRect{6, 8, 13, 16}));
}

TEST(NativePlatform, MetricsCaptureAndColours) {
    Platform& native = Platform::instance();
    EXPECT_DOUBLE_EQ(native.twipsPerPixelX(), 15.0);
    EXPECT_FALSE(native.screenRect().isEmpty());
    QWidget w;
    w.show();
    native.setCapture(&w);
    EXPECT_EQ(native.capture(), &w);
    native.releaseCapture();
    EXPECT_EQ(native.capture(), nullptr);
    uint32_t c = 0;
    EXPECT_TRUE(native.systemColour(15, c));
    EXPECT_EQ(c, 0x00C8D0D4u);
    EXPECT_FALSE(native.systemColour(25, c));
    native.setFollowQtPalette(true);
    EXPECT_TRUE(native.systemColour(5, c));
    const QColor base = QGuiApplication::palette().color(QPalette::Active, QPalette::Base);
    EXPECT_EQ(c, static_cast<uint32_t>(base.red() | base.green() << 8 | base.blue() << 16));
    native.setFollowQtPalette(false);
    const uint32_t t0 = native.tickCount();
    QTest::qWait(20);
    EXPECT_GE(native.tickCount() - t0, 15u);
}

} // namespace
