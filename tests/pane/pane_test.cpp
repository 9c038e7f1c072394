// Pane: looks, events, the leave check, resize and persistence.
#include "frame/elements/image_element_p.h"
#include "frame/elements/label_element_p.h"
#include "frame/elements/timer_element_p.h"
#include "frame/platform/scripted_platform_p.h"
#include "frame/runtime/site.h"
#include "frame/values/property_bag.h"
#include "pane/pane.h"
#include "pane/pane_pictures_p.h"

#include <QMetaProperty>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <array>
#include <tuple>

using namespace korva;

namespace {

constexpr uint32_t kGolden = 0x0067DCFA;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;

enum class Look { Normal, Highlight, Pressed };

class PaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform.installed(true);
        pane = Pane::createNew();
        pane->site()->resizeTwips(3000, 800);
        platform.placeWindow(pane->site(), QPoint(100, 200));
        clicks = std::make_unique<QSignalSpy>(pane.get(), &Pane::Click);
    }
    void TearDown() override {
        pane.reset();
        platform.installed(false);
    }

    ImageElement& img() { return *static_cast<ImageElement*>(pane->element(u"imgMAIN")); }
    LabelElement& label() { return *static_cast<LabelElement*>(pane->element(u"lblTEST")); }
    TimerElement& timer() { return *static_cast<TimerElement*>(pane->element(u"tmrCOLORCHK")); }

    static std::unique_ptr<Pane> loaded(const PropertyBag& bag) {
        auto p = std::make_unique<Pane>();
        p->Initialize();
        p->ReadProperties(bag);
        return p;
    }
    static QString labelOf(Pane& p) { return static_cast<LabelElement*>(p.element(u"lblTEST"))->Caption(); }

    Look look() {
        const QImage& shown = img().picture().image;
        if (shown == pane::normalPicture())
            return Look::Normal;
        if (shown == pane::highlightPicture())
            return Look::Highlight;
        EXPECT_EQ(shown, pane::pressedPicture());
        return Look::Pressed;
    }
    uint32_t captionColour() { return label().ForeColor(); }

    void notify(const char* element, const char* what) {
        Notification n;
        EXPECT_TRUE(parseNotification(QString::fromLatin1(what), n));
        std::vector<Value> args;
        if (n == Notification::MouseDown || n == Notification::MouseMove || n == Notification::MouseUp)
            args = {Value(int16_t{2}), Value(int16_t{1}), Value(15.0f), Value(15.0f)}; // any button counts
        QString error;
        EXPECT_TRUE(pane->notify(QString::fromLatin1(element), -1, n, args, &error)) << error.toStdString();
    }

    ScriptedPlatform platform;
    std::unique_ptr<Pane> pane;
    std::unique_ptr<QSignalSpy> clicks;
};

TEST_F(PaneTest, NewPaneShowsNormalPictureBlackCaptionAndDesignText) {
    EXPECT_EQ(look(), Look::Normal);
    EXPECT_EQ(captionColour(), kBlack);
    EXPECT_EQ(label().Caption(), "TEST");
    EXPECT_EQ(pane->TextCaption(), "");
    EXPECT_EQ(pane->site()->BackColor(), kGolden);
    EXPECT_FALSE(timer().timerEnabled());
}

// Each row starts from the normal look; the caption is set white first so a
// row that does not touch it would show. The picture and the caption behave alike.
TEST_F(PaneTest, MouseAndClickTable) {
    // Notification, then the look, the caption colour, Click events, whether the hand cursor was set.
    const std::tuple<const char*, Look, uint32_t, int, bool> rows[] = {
        {"Click", Look::Normal, kWhite, 1, false},      {"DblClick", Look::Pressed, kWhite, 1, false},
        {"MouseDown", Look::Pressed, kBlack, 0, true},  {"MouseMove", Look::Highlight, kWhite, 0, true},
        {"MouseUp", Look::Highlight, kBlack, 0, false},
    };
    for (const char* element : {"imgMAIN", "lblTEST"}) {
        for (const auto& [notification, shown, caption, clicked, hand] : rows) {
            SCOPED_TRACE(std::string(element) + " " + notification);
            pane->setEnabled(true);
            label().setForeColor(kWhite);
            clicks->clear();
            const int before = platform.cursorSets();
            notify(element, notification);
            EXPECT_EQ(look(), shown);
            EXPECT_EQ(captionColour(), caption);
            EXPECT_EQ(clicks->count(), clicked);
            EXPECT_EQ(platform.cursorSets() > before, hand);
            if (hand) {
                EXPECT_EQ(platform.lastCursor(), CursorShape::Hand);
            }
        }
    }
}

TEST_F(PaneTest, InactivePictureIgnoresMouseButStillClicks) {
    img().setEnabled(false);
    for (const char* n : {"MouseDown", "MouseMove", "MouseUp"})
        notify("imgMAIN", n);
    EXPECT_EQ(look(), Look::Normal);
    EXPECT_FALSE(timer().timerEnabled());
    notify("imgMAIN", "Click");
    EXPECT_EQ(clicks->count(), 1);
}

TEST_F(PaneTest, RealDoubleClickRaisesClickTwiceAndLeavesPressedPicture) {
    pane->widget()->show();
    QWidget* w = pane->widget();
    const QPoint at(10, 10);
    QTest::mouseClick(w, Qt::LeftButton, {}, at);
    QTest::mouseDClick(w, Qt::LeftButton, {}, at);
    EXPECT_EQ(clicks->count(), 2);
    EXPECT_EQ(look(), Look::Pressed);
}

TEST_F(PaneTest, LeaveCheckBoundsAreInclusive) {
    const WindowRect r = platform.windowRect(pane->site());
    ASSERT_EQ(r, (WindowRect{100, 200, 300, 253}));
    notify("lblTEST", "MouseMove");
    ASSERT_TRUE(timer().timerEnabled());
    const std::pair<QPoint, bool> cases[] = {
        {{100, 200}, true},  {{300, 253}, true},  {{200, 230}, true},  {{99, 230}, false},
        {{301, 230}, false}, {{200, 199}, false}, {{200, 254}, false},
    };
    for (const auto& [cursor, inside] : cases) {
        SCOPED_TRACE(testing::Message() << cursor.x() << "," << cursor.y());
        notify("imgMAIN", "MouseMove");
        platform.setCursorPos(cursor);
        platform.advance(99); // nothing is checked before the next tick of 100 ms
        EXPECT_EQ(look(), Look::Highlight);
        platform.advance(1);
        EXPECT_EQ(look(), inside ? Look::Highlight : Look::Normal);
        EXPECT_EQ(captionColour(), inside ? kWhite : kBlack);
        EXPECT_TRUE(timer().timerEnabled()) << "the check never switches itself off";
    }
}

TEST_F(PaneTest, DisabledLookAndLeaveCheckLeavesItAlone) {
    notify("imgMAIN", "MouseMove");
    pane->setEnabled(false);
    EXPECT_EQ(look(), Look::Pressed);
    EXPECT_EQ(captionColour(), kGolden);
    EXPECT_FALSE(pane->site()->Enabled());
    platform.setCursorPos({0, 0});
    platform.advance(300);
    EXPECT_EQ(look(), Look::Pressed);
    EXPECT_EQ(captionColour(), kGolden);
}

TEST_F(PaneTest, ResizeStretchesPictureAndCentresCaptionInSinglePrecision) {
    // The caption's place at the design size is checked at every scale in pane_display_test.
    EXPECT_EQ((std::array<float, 3>{img().Width(), img().Height(), label().Left()}),
              (std::array<float, 3>{3000, 800, 0}));
    pane->site()->resizeTwips(1000, 376);
    EXPECT_EQ(label().Top(), 0.5f);
    EXPECT_EQ(img().Width(), 1000.0f);
}

// Property editors, bindings and QSignalSpy see the members as Qt properties.
TEST_F(PaneTest, MembersAreQtPropertiesThatNotifyRealChanges) {
    const QMetaObject* mo = pane->metaObject();
    for (const char* name : {"Enabled", "TextCaption"})
        EXPECT_TRUE(mo->property(mo->indexOfProperty(name)).hasNotifySignal()) << name;
    QSignalSpy caption(pane.get(), &Pane::TextCaptionChanged);
    QSignalSpy enabled(pane.get(), &Pane::EnabledChanged);
    QSignalSpy saved(pane.get(), &Control::propertyChanged); // a let is never a change to save

    // Through the Qt property system, the dispatch let and the C++ setter alike.
    ASSERT_TRUE(pane->setProperty("TextCaption", QStringLiteral("Open")));
    std::vector<Value> args{Value(QStringLiteral("Close"))};
    Value none;
    const MemberInfo* let = pane->classInfo().memberByName(u"TextCaption");
    ASSERT_NE(let, nullptr);
    EXPECT_EQ(pane->invoke(let->dispId, InvokeKind::Let, args, none), InvokeStatus::Ok);
    pane->setTextCaption("Close"); // unchanged: no signal
    ASSERT_EQ(caption.count(), 2);
    EXPECT_EQ(caption[1][0].toString(), "Close");

    ASSERT_TRUE(pane->setProperty("Enabled", false));
    pane->setEnabled(false);
    EXPECT_EQ(enabled.count(), 1);
    EXPECT_EQ(label().Caption(), "Close");
    EXPECT_EQ(saved.count(), 0);

    // A saved setting read back changes the values too, and says so.
    PropertyBag bag;
    bag.WriteProperty("TextCaption", Value(QString("Saved")));
    bag.WriteProperty("Enabled", Value(true));
    pane->ReadProperties(bag);
    EXPECT_EQ(caption.count(), 3);
    EXPECT_EQ(enabled.count(), 2);
    EXPECT_TRUE(pane->Enabled());
}

TEST_F(PaneTest, WritePropertiesStoresThreeKeysInOrderEvenAtDefaults) {
    PropertyBag bag;
    pane->WriteProperties(bag);
    PropertyBag expected;
    expected.WriteProperty("Backcolor", Value(int32_t{0}));
    expected.WriteProperty("TextCaption", Value(QString()));
    expected.WriteProperty("Enabled", Value(true));
    EXPECT_EQ(bag, expected);
}

TEST_F(PaneTest, ReloadRestoresCaptionAndColourThroughCaseInsensitiveKeys) {
    PropertyBag bag;
    bag.WriteProperty("Backcolor", Value(int32_t{0x123456}));
    bag.WriteProperty("TextCaption", Value(QString("Go")));
    bag.WriteProperty("Enabled", Value(true));
    const auto back = loaded(bag);
    PropertyBag again;
    back->WriteProperties(again);
    EXPECT_EQ(again, bag);
    EXPECT_EQ(labelOf(*back), "Go");
    EXPECT_EQ(back->site()->BackColor(), kGolden) << "the stored colour is never applied";
}

TEST_F(PaneTest, MissingKeysTakeDefaultsAndBadEnabledKeepsTrue) {
    PropertyBag bag;
    bag.WriteProperty("Enabled", Value(QString("perhaps")));
    const auto back = loaded(bag);
    EXPECT_EQ(back->TextCaption(), "Textval");
    EXPECT_TRUE(back->element(u"imgMAIN")->Visible());
}

// The caption text and the label are two statements: a saved caption that is
// not text leaves the text as it was, and the label still takes that text.
TEST_F(PaneTest, SavedCaptionThatIsNotTextEmptiesTheLabelToo) {
    for (const Value& saved : {Value(Picture{}), Value(FontSpec{})}) {
        PropertyBag bag;
        bag.WriteProperty("TextCaption", saved);
        const auto back = loaded(bag);
        EXPECT_EQ(back->TextCaption(), "");
        EXPECT_EQ(labelOf(*back), "")
            << "the design text TEST must not stay on a pane whose caption is empty";
    }
}

TEST_F(PaneTest, PaneSavedDisabledComesBackWithHiddenPictureAndInertCaption) {
    pane->setEnabled(false);
    PropertyBag bag;
    pane->WriteProperties(bag);
    pane = loaded(bag);
    pane->site()->resizeTwips(3000, 800);
    clicks = std::make_unique<QSignalSpy>(pane.get(), &Pane::Click);
    EXPECT_FALSE(img().Visible());
    EXPECT_TRUE(pane->site()->Enabled());
    EXPECT_EQ(captionColour(), kBlack);
    notify("lblTEST", "Click");
    notify("lblTEST", "MouseDown");
    EXPECT_EQ(clicks->count(), 0);
    EXPECT_EQ(look(), Look::Normal);
    // Golden background shows where the picture was.
    const QImage shot = pane->widget()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(2, 2), QColor(0xFA, 0xDC, 0x67));
}

TEST(PanePictures, PressedIsNormalUpsideDownAndColoursMatchDesign) {
    const QImage n = pane::normalPicture(), h = pane::highlightPicture(), p = pane::pressedPicture();
    for (const QImage* i : {&n, &h, &p})
        EXPECT_EQ(i->size(), QSize(90, 50));
    for (int y = 0; y < 50; ++y)
        EXPECT_EQ(n.pixel(45, y), p.pixel(45, 49 - y));
    EXPECT_EQ(n.pixel(45, 4), qRgb(33, 180, 239));
    EXPECT_EQ(n.pixel(45, 45), qRgb(40, 133, 253));
    EXPECT_EQ(h.pixel(45, 4), qRgb(55, 217, 255));
    EXPECT_EQ(n.pixel(45, 0), qRgb(55, 190, 240));
    EXPECT_EQ(n.pixel(0, 25), qRgb(53, 160, 242));
}

} // namespace
