// Pages as a control: the tab list, layout, active tab, events in order,
// hover and capture, the keyboard, persistence and bad input.
#include "frame/elements/picturebox_element_p.h"
#include "frame/platform/scripted_platform_p.h"
#include "frame/runtime/site.h"
#include "frame/values/property_bag.h"
#include "pages/pages.h"
#include "pages/strip_items_p.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace korva;
using korva::pages::PageShape;
using korva::pages::TabLabel;
using korva::pages::TabPicture;

namespace {

// Records every raised event with its arguments, in order, as a host would see them.
class Recorder : public EventSink {
public:
    void onEvent(Control& c, int32_t number, std::span<Value* const> args) override {
        QString line = c.classInfo().eventByNumber(number)->name;
        QStringList parts;
        for (Value* v : args) {
            if (const QString* s = v->ptr<QString>())
                parts << *s;
            else if (const int16_t* i = v->ptr<int16_t>())
                parts << QString::number(*i);
            else if (const float* f = v->ptr<float>())
                parts << QString::number(*f);
        }
        if (!parts.isEmpty())
            line += "(" + parts.join(",") + ")";
        log << line;
        if (onRaise)
            onRaise(number, args);
    }
    QStringList log;
    std::function<void(int32_t, std::span<Value* const>)> onRaise;
};

enum class Look { Normal, Hover, Selected, Other };

class PagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform.installed(true);
        pages = std::make_unique<Pages>();
        pages->addSink(&events);
        pages->Initialize();
        pages->InitProperties();
        pages->Resize();
    }
    void TearDown() override {
        pages.reset();
        platform.installed(false);
    }

    TabPicture* piece(const char* family, int i) {
        return dynamic_cast<TabPicture*>(pages->element(QString::fromLatin1(family), i));
    }
    TabLabel* label(int i) { return dynamic_cast<TabLabel*>(pages->element(u"lblCAPTION", i)); }
    PageShape* shape(const char* name) {
        return dynamic_cast<PageShape*>(pages->element(QString::fromLatin1(name)));
    }
    QStringList captions() {
        QStringList out;
        for (int i = 1; label(i); ++i)
            out << label(i)->Caption();
        return out;
    }
    bool notify(const char* element, int index, Notification n, std::vector<Value> args) {
        QString error;
        const bool ok = pages->notify(QString::fromLatin1(element), index, n, args, &error);
        EXPECT_TRUE(ok) << error.toStdString();
        return ok;
    }
    void press(int tab, int16_t button = 1) {
        notify("imgSELCAP", tab, Notification::MouseDown,
               {Value(button), Value(int16_t{0}), Value(45.0f), Value(45.0f)});
    }
    void move(int tab, float x, float y) {
        notify("imgSELCAP", tab, Notification::MouseMove,
               {Value(int16_t{0}), Value(int16_t{0}), Value(x), Value(y)});
    }
    void key(int16_t code, int16_t shift) {
        notify("", -1, Notification::KeyDown, {Value(code), Value(shift)});
    }
    qint64 sourceKey(const char* name) {
        if (auto* box = dynamic_cast<PictureBoxElement*>(pages->element(QString::fromLatin1(name))))
            return box->picture().handle();
        return dynamic_cast<TabPicture*>(pages->element(QString::fromLatin1(name), 0))->handle();
    }
    Look look(int i) {
        const qint64 h = piece("imgSELCAP", i)->handle();
        if (h == sourceKey("imgSELCAP"))
            return Look::Selected;
        if (h == sourceKey("picTABCAP"))
            return Look::Normal;
        if (h == sourceKey("picTABCAPHOV"))
            return Look::Hover;
        return Look::Other;
    }
    std::vector<Look> looks() {
        std::vector<Look> out;
        for (int i = 1; piece("imgSELCAP", i); ++i)
            out.push_back(look(i));
        return out;
    }

    ScriptedPlatform platform;
    Recorder events;
    std::unique_ptr<Pages> pages;
};

using L = Look;

TEST_F(PagesTest, NewControlDefaultsAndItsTwoClickShowPairs) {
    EXPECT_EQ(events.log, QStringList({"Click(1)", "Show", "Click(1)", "Show"}));
    EXPECT_EQ(pages->ActiveTabs(), "1,2,3");
    EXPECT_EQ(pages->ActiveTab(), 1);
    EXPECT_EQ(pages->PageColor(), 0x00FFFFFFu);
    EXPECT_EQ(pages->TextColor(), 0u);
    EXPECT_EQ(pages->ColorForm(), 0x8000000Fu);
    EXPECT_EQ(pages->site()->BackColor(), 0x8000000Fu);
    EXPECT_EQ(pages->TabColor(), "16777215");
    EXPECT_EQ(pages->TabCount(), 3);
    EXPECT_EQ(captions(), QStringList({"1", "2", "3"}));
    EXPECT_EQ(looks(), (std::vector<L>{L::Selected, L::Normal, L::Normal}));
    // No tab gap before saved settings are read.
    EXPECT_EQ(piece("imgSELRIGHT", 1)->Left(), piece("imgSELLEFT", 2)->Left());
}

TEST_F(PagesTest, TabStringsGiveTheirCaptionsAndAreKeptAsGiven) {
    const QString crlf = QStringLiteral("\r\n");
    struct Row {
        QString tabString;
        QStringList captions;
    };
    const Row rows[] = {
        {" Home , Help ,Video", {"Home", "Help", "Video"}},        {"X,,Z", {"X", "Tab 2", "Z"}},
        {"X-" + crlf + "Y" + crlf + "Z", {"X", "Y", "Z"}},         {"    ", {}},
        {"a\tb,c\rd,e\nf,\x01", {"a\tb", "c\rd", "e\nf", "\x01"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.tabString.toStdString());
        events.log.clear();
        pages->setActiveTabs(r.tabString);
        EXPECT_EQ(pages->ActiveTabs(), r.tabString);
        EXPECT_EQ(captions(), r.captions);
        EXPECT_EQ(pages->TabCount(), r.captions.size());
        EXPECT_TRUE(events.log.isEmpty());
        EXPECT_TRUE(pages->changedKeys().contains("TABSTRING"));
    }
}

TEST_F(PagesTest, AddTabIsCountedOnlyByTheNextLayoutPassAndLeavesTheTabString) {
    pages->AddTab(QString());
    pages->AddTab(QStringLiteral("  Padded  "));
    EXPECT_EQ(captions(), QStringList({"1", "2", "3", "Tab 4", "Padded"}));
    EXPECT_EQ(pages->TabCount(), 3);
    EXPECT_EQ(pages->ActiveTabs(), "1,2,3");
    EXPECT_TRUE(events.log.size() == 4); // only the defaults' events
    // The newest tab shows the selected look until the next pass; the caption
    // went into its caption piece at (130, 60).
    EXPECT_EQ(look(5), L::Selected);
    ASSERT_FALSE(piece("imgSELCAP", 5)->texts().empty());
    EXPECT_EQ(piece("imgSELCAP", 5)->texts().back().text, "Padded");
    EXPECT_EQ(piece("imgSELCAP", 5)->texts().back().x, 130);
    pages->setActiveTab(1);
    EXPECT_EQ(pages->TabCount(), 5);
}

TEST_F(PagesTest, RebuildKeepsTheActiveIndexWhateverTabNowHasIt) {
    pages->setActiveTab(2);
    pages->setActiveTabs(QStringLiteral("a,b,c,d"));
    EXPECT_EQ(pages->ActiveTab(), 2);
    EXPECT_EQ(pages->RememberedTab(), 2);
    EXPECT_EQ(looks(), (std::vector<L>{L::Normal, L::Selected, L::Normal, L::Normal}));
}

TEST_F(PagesTest, ActiveTabThatNamesNoTabIsKeptAndShowsEveryTabNormal) {
    for (int32_t index : {5, 0, -1, INT32_MAX, INT32_MIN}) {
        events.log.clear();
        pages->setActiveTab(index);
        EXPECT_EQ(pages->ActiveTab(), index);
        EXPECT_EQ(looks(), (std::vector<L>{L::Normal, L::Normal, L::Normal})) << index;
        EXPECT_TRUE(events.log.isEmpty());
    }
}

TEST_F(PagesTest, PressOnAnInactiveTabRaisesClickShowThenMouseDown) {
    events.log.clear();
    press(2);
    EXPECT_EQ(events.log, QStringList({"Click(2)", "Show", "MouseDown(1,0,0,0,2)"}));
    EXPECT_EQ(pages->ActiveTab(), 2);
    EXPECT_EQ(looks(), (std::vector<L>{L::Normal, L::Selected, L::Normal}));
    events.log.clear();
    press(2);
    EXPECT_EQ(events.log, QStringList({"MouseDown(1,0,0,0,2)"}));
    events.log.clear();
    press(3, 2); // right button: nothing but the end of any hover
    EXPECT_TRUE(events.log.isEmpty());
    EXPECT_EQ(pages->ActiveTab(), 2);
}

TEST_F(PagesTest, PiecesAndSurfaceRaiseTheirMouseEventsWithZeroPositions) {
    struct Row {
        const char* element;
        int index;
        Notification n;
        int16_t button;
        QStringList want;
    };
    const Row rows[] = {
        {"imgSELLEFT", 2, Notification::MouseMove, 2, {"MouseMove(2,0,0,0)"}},
        {"lblCAPTION", 1, Notification::MouseUp, 4, {"MouseUp(4,0,0,0)"}},
        {"imgSELRIGHT", 3, Notification::MouseUp, 1, {"MouseUp(1,0,0,0)"}},
        {"imgSELLEFT", 3, Notification::MouseUp, 1, {}},
        {"", -1, Notification::MouseDown, 2, {"MouseDown(1,0,0,0,1)"}},
        {"", -1, Notification::MouseMove, 0, {"MouseMove(0,0,0,0)"}},
        {"", -1, Notification::MouseUp, 2, {"MouseUp(2,0,0,0)"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.element) + " " + notificationName(r.n).toStdString());
        events.log.clear();
        notify(r.element, r.index, r.n, {Value(r.button), Value(int16_t{1}), Value(30.0f), Value(40.0f)});
        EXPECT_EQ(events.log, r.want);
    }
    for (const char* e : {"imgSELLEFT", "imgSELCAP", "imgSELRIGHT"}) {
        events.log.clear();
        notify(e, 1, Notification::DblClick, {});
        EXPECT_EQ(events.log, QStringList({"dlbClick"}));
    }
}

TEST_F(PagesTest, MouseDownArgumentsAreByReference) {
    events.onRaise = [](int32_t number, std::span<Value* const> args) {
        if (number == 3) {
            *args[0] = Value(int16_t{7});
            *args[4] = Value(QStringLiteral("changed"));
        }
    };
    int16_t seenButton = 0;
    QString seenCaption;
    QObject::connect(pages.get(), &Pages::MouseDown, [&](int16_t& b, int16_t&, float&, float&, QString& c) {
        seenButton = b;
        seenCaption = c;
    });
    notify("", -1, Notification::MouseDown, {Value(int16_t{1}), Value(int16_t{0}), Value(0.0f), Value(0.0f)});
    EXPECT_EQ(seenButton, 7);
    EXPECT_EQ(seenCaption, "changed");
}

TEST_F(PagesTest, HoverTakesTheCaptureAndLeavingReleasesIt) {
    move(2, 45, 45);
    EXPECT_EQ(pages->HoverTab(), 2);
    EXPECT_NE(platform.capture(), nullptr);
    EXPECT_EQ(looks(), (std::vector<L>{L::Selected, L::Hover, L::Normal}));
    // From tab 2 to tab 3: the capture moves with the pointer.
    move(3, 45, 45);
    EXPECT_EQ(pages->HoverTab(), 3);
    EXPECT_EQ(looks(), (std::vector<L>{L::Selected, L::Normal, L::Hover}));
    move(3, -1, 45);
    EXPECT_EQ(pages->HoverTab(), -99);
    EXPECT_EQ(platform.capture(), nullptr);
    EXPECT_EQ(looks(), (std::vector<L>{L::Selected, L::Normal, L::Normal}));
    // The active tab never tracks hover.
    move(1, 45, 45);
    EXPECT_EQ(pages->HoverTab(), -99);
    EXPECT_EQ(platform.capture(), nullptr);
}

TEST_F(PagesTest, EveryWayOfEndingHoverEndsIt) {
    const std::function<void()> enders[] = {
        [&] { pages->ObjectMouseUp(); },
        [&] { press(3, 2); },
        [&] {
            notify("imgSELCAP", 2, Notification::MouseUp,
                   {Value(int16_t{1}), Value(int16_t{0}), Value(0.0f), Value(0.0f)});
        },
        [&] {
            notify("picBACKTARGET", -1, Notification::MouseMove,
                   {Value(int16_t{0}), Value(int16_t{0}), Value(0.0f), Value(0.0f)});
        },
        [&] { pages->GotFocus(); },
    };
    for (const auto& end : enders) {
        move(2, 45, 45);
        ASSERT_EQ(pages->HoverTab(), 2);
        end();
        EXPECT_EQ(pages->HoverTab(), -99);
        EXPECT_EQ(look(2), L::Normal);
    }
    // Gaining the focus ends the look but not the capture: the next move
    // over the piece finds it still captured.
    EXPECT_NE(platform.capture(), nullptr);
    pages->ObjectMouseUp();
    EXPECT_EQ(platform.capture(), nullptr);
}

TEST_F(PagesTest, TheCaptureBelongsToOneControlAtATime) {
    auto other = Pages::createNew();
    move(2, 45, 45);
    QWidget* mine = platform.capture();
    ASSERT_NE(mine, nullptr);
    QString error;
    std::vector<Value> args{Value(int16_t{0}), Value(int16_t{0}), Value(45.0f), Value(45.0f)};
    ASSERT_TRUE(other->notify(u"imgSELCAP", 3, Notification::MouseMove, args, &error));
    EXPECT_NE(platform.capture(), mine);
    // Ending this control's hover leaves the other control's capture alone.
    pages->ObjectMouseUp();
    EXPECT_NE(platform.capture(), nullptr);
    other->ObjectMouseUp();
    EXPECT_EQ(platform.capture(), nullptr);
}

TEST_F(PagesTest, KeyboardStepsWrapAndRaiseOneClick) {
    struct Row {
        int32_t from;
        int16_t code, shift;
        int32_t to;
        bool click;
    };
    const Row rows[] = {
        {3, 39, 0, 1, true}, {1, 37, 0, 3, true}, {2, 39, 1, 3, true}, {2, 9, 2, 3, true},
        {2, 9, 3, 1, true},  {2, 9, 6, 2, false}, {2, 9, 0, 2, false}, {2, 40, 0, 2, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.code) + "/" + std::to_string(r.shift));
        pages->setActiveTab(r.from);
        events.log.clear();
        key(r.code, r.shift);
        EXPECT_EQ(pages->ActiveTab(), r.to);
        EXPECT_EQ(events.log,
                  r.click ? QStringList({"Click(" + QString::number(r.to) + ")"}) : QStringList());
    }
}

TEST_F(PagesTest, ResizeFramesThePage) {
    pages->site()->resizeTwips(3000, 2000);
    PageShape* border = shape("shpBORDER");
    EXPECT_EQ(border->Left(), 0);
    EXPECT_EQ(border->Top(), 330);
    EXPECT_EQ(border->Width(), 3000);
    EXPECT_EQ(border->Height(), 1670);
    EXPECT_EQ(shape("shpTOP")->Width(), 2970);
    EXPECT_EQ(shape("shpLEFTINS")->Height(), 1670);
    EXPECT_EQ(shape("shpLEFTINSHL")->Height(), 1510);
}

TEST_F(PagesTest, SavedSettingsGoInOrderAndComeBack) {
    pages->setActiveTabs(QStringLiteral("Home,Help"));
    pages->setPageColor(0x00C0FFEE);
    pages->setTextColor(0x000000FF);
    PropertyBag bag;
    pages->WriteProperties(bag);
    QStringList keys;
    for (const auto& e : bag.entries())
        keys << e.key;
    // "Font" equals the ambient font, so the bag leaves it out.
    EXPECT_EQ(keys,
              QStringList({"ActiveTab", "TABSTRING", "BackColorTAB", "ColorForm", "PageColor", "TextColor"}));

    auto loaded = std::make_unique<Pages>();
    loaded->addSink(&events);
    events.log.clear();
    loaded->Initialize();
    loaded->ReadProperties(bag);
    loaded->site()->resizeTwips(6000, 2000);
    EXPECT_TRUE(events.log.isEmpty());
    EXPECT_EQ(loaded->ActiveTab(), 1);
    // Loading sets the tab gap of four pixels; Help sits at the right edge.
    auto* left2 = dynamic_cast<TabPicture*>(loaded->element(u"imgSELLEFT", 2));
    EXPECT_EQ(left2->Left(), 6000 - 1100);
    EXPECT_EQ(dynamic_cast<TabPicture*>(loaded->element(u"imgSELCAP", 2))->Width(),
              dynamic_cast<TabLabel*>(loaded->element(u"lblCAPTION", 2))->Width() + 270 + 90);
}

TEST_F(PagesTest, LoadingFromAnEmptyOrWrongTypedBag) {
    struct Row {
        const char* what;
        PropertyBag bag;
    };
    PropertyBag wrong;
    wrong.WriteProperty("TABSTRING", Value(FontSpec{}));
    wrong.WriteProperty("ActiveTab", Value(FontSpec{}));
    wrong.WriteProperty("ColorForm", Value(QStringLiteral("not a colour")));
    for (const PropertyBag& bag : {PropertyBag{}, wrong}) {
        auto loaded = std::make_unique<Pages>();
        loaded->Initialize();
        loaded->ReadProperties(bag);
        loaded->Resize();
        EXPECT_EQ(loaded->TabCount(), 0);
        EXPECT_EQ(loaded->ActiveTabs(), "");
        EXPECT_EQ(loaded->ActiveTab(), 1);
        EXPECT_EQ(loaded->TextColor(), 0x80000012u);
        EXPECT_EQ(loaded->PageColor(), 0x00FFFFFFu);
        PropertyBag out;
        loaded->WriteProperties(out);
        uint32_t buttonFace = 0;
        ASSERT_TRUE(defaultSystemColour(15, buttonFace));
        EXPECT_EQ(out.ReadProperty("BackColorTAB", Value()), Value(Colour{buttonFace}));
    }
}

TEST_F(PagesTest, TabColorIsFreeTextUntilTheNextRefreshAndIsNotSaved) {
    pages->setTabColor(QStringLiteral("anything"));
    EXPECT_EQ(pages->TabColor(), "anything");
    PropertyBag bag;
    pages->WriteProperties(bag);
    EXPECT_FALSE(bag.contains("TabColor"));
    pages->setPageColor(0x8000000F);
    EXPECT_EQ(pages->TabColor(), "-2147483633");
    EXPECT_FALSE(pages->changedKeys().contains("PageColor"));
}

// Long and odd lists complete and keep every tab (timing is the benchmarks' business).
TEST_F(PagesTest, LongListsAndHugeStrings) {
    QStringList many;
    for (int i = 0; i < 10000; ++i)
        many << QString::number(i);
    pages->setActiveTabs(many.join(','));
    EXPECT_EQ(pages->TabCount(), 10000);
    EXPECT_EQ(label(10000)->Caption(), "9999");
    EXPECT_EQ(looks().size(), 10000u);
    pages->setActiveTab(9000);
    EXPECT_EQ(look(9000), L::Selected);
    EXPECT_EQ(look(1), L::Normal);

    pages->setActiveTabs(QString(1 << 20, QChar(u'x')));
    EXPECT_EQ(pages->TabCount(), 1);
    // Beyond the 16-bit index range the additions are skipped.
    pages->setActiveTabs(QString(40000, QChar(u',')));
    EXPECT_EQ(pages->TabCount(), 32767);
    pages->setActiveTabs(QString());
    EXPECT_EQ(pages->TabCount(), 0);
}

TEST_F(PagesTest, AHandlerMayRebuildTheListFromInsideClick) {
    QObject::connect(pages.get(), &Pages::Click, [&](const QString&) {
        if (pages->ActiveTabs() == "1,2,3")
            pages->setActiveTabs(QStringLiteral("a,b"));
    });
    press(2);
    EXPECT_EQ(pages->ActiveTabs(), "a,b");
    EXPECT_EQ(pages->ActiveTab(), 2);
}

TEST_F(PagesTest, DispatchReachesMembersByTheirIdentifiers) {
    std::vector<Value> args{Value(QStringLiteral("p,q"))};
    Value result;
    EXPECT_EQ(pages->invoke(propertyId(7), InvokeKind::Let, args, result), InvokeStatus::Ok);
    std::vector<Value> none;
    EXPECT_EQ(pages->invoke(propertyId(7), InvokeKind::Get, none, result), InvokeStatus::Ok);
    EXPECT_EQ(result, Value(QStringLiteral("p,q")));
    std::vector<Value> caption{Value(QStringLiteral("r"))};
    EXPECT_EQ(pages->invoke(methodId(9), InvokeKind::Call, caption, result), InvokeStatus::Ok);
    std::vector<Value> bad{Value(FontSpec{})};
    EXPECT_EQ(pages->invoke(propertyId(8), InvokeKind::Let, bad, result), InvokeStatus::TypeMismatch);
    EXPECT_EQ(pages->invoke(methodId(33), InvokeKind::Call, none, result), InvokeStatus::Ok);
    EXPECT_EQ(captions(), QStringList({"p", "q", "r"}));
}

// Through the control's own window.
using PagesWindow = PagesTest;

TEST_F(PagesWindow, ControlSurvivesItsWindowDeletedFirst) {
    std::vector<Value> args{Value(int16_t{0}), Value(int16_t{0}), Value(45.0f), Value(45.0f)};
    pages->notify(u"imgSELCAP", 2, Notification::MouseMove, args, nullptr);
    delete pages->widget();
    pages->ObjectMouseUp();
    pages->setActiveTab(3);
    pages.reset();
    EXPECT_EQ(platform.capture(), nullptr);
}

// Real input through the control's window: the strip finds the piece under
// the pointer, and keys reach the control through its window.
TEST_F(PagesWindow, RealMouseAndKeysReachTheTabs) {
    QSignalSpy clicks(pages.get(), &Pages::Click);
    QWidget* site = pages->widget();
    site->show();
    auto* cap2 = dynamic_cast<TabPicture*>(pages->element(u"imgSELCAP", 2));
    const QPoint at(static_cast<int>(cap2->Left() / 15) + 5, 10);
    QWidget* strip = site->childAt(at);
    ASSERT_NE(strip, nullptr);
    QTest::mouseMove(strip, at);
    EXPECT_EQ(pages->HoverTab(), 2);
    QTest::mousePress(strip, Qt::LeftButton, {}, at);
    QTest::mouseRelease(strip, Qt::LeftButton, {}, at);
    EXPECT_EQ(pages->ActiveTab(), 2);
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toString(), "2");
    QTest::keyClick(site, Qt::Key_Right);
    EXPECT_EQ(pages->ActiveTab(), 3);
    QTest::keyClick(site, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(pages->ActiveTab(), 1);
}

// Only what can show is laid out; what shows must not change.
TEST_F(PagesWindow, AHugeCaptionPaintsWhatItsVisibleStartWouldPaint) {
    const QString start = QStringLiteral("Wide \t caption ");
    pages->setActiveTabs(start + QString(2000, QChar(u'W')));
    const QImage shortOne = pages->widget()->grab().toImage();
    pages->setActiveTabs(start + QString(200000, QChar(u'W')));
    const QImage hugeOne = pages->widget()->grab().toImage();
    EXPECT_EQ(hugeOne, shortOne);
}

} // namespace
