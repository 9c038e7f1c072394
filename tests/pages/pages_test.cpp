// Pages as a control: the tab list, layout, active tab, events in order,
// hover and capture, the keyboard, persistence and bad input.
#include "frame/elements/picturebox_element_p.h"
#include "frame/platform/scripted_platform_p.h"
#include "frame/runtime/site.h"
#include "frame/values/property_bag.h"
#include "pages/pages.h"
#include "pages/strip_items_p.h"

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
        QStringList values;
        for (Value* v : args) {
            if (const QString* s = v->ptr<QString>())
                values << *s;
            else if (const int16_t* i = v->ptr<int16_t>())
                values << QString::number(*i);
            else if (const float* f = v->ptr<float>())
                values << QString::number(*f);
        }
        if (!values.isEmpty())
            line += "(" + values.join(",") + ")";
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
    // Button, shift, x, y: what every mouse notification carries.
    static std::vector<Value> mouse(int16_t button = 0, float x = 45, float y = 45) {
        return {Value(button), Value(int16_t{0}), Value(x), Value(y)};
    }
    void notify(const char* element, int index, Notification n, std::vector<Value> args) {
        QString error;
        EXPECT_TRUE(pages->notify(QString::fromLatin1(element), index, n, args, &error))
            << error.toStdString();
    }
    void press(int tab, int16_t button = 1) {
        notify("imgSELCAP", tab, Notification::MouseDown, mouse(button));
    }
    void move(int tab, float x = 45) { notify("imgSELCAP", tab, Notification::MouseMove, mouse(0, x)); }
    void key(int16_t code, int16_t shift) {
        notify("", -1, Notification::KeyDown, {Value(code), Value(shift)});
    }
    // Which source picture tab i's caption piece shows: index 0 holds the selected look.
    Look look(int i) {
        const qint64 h = piece("imgSELCAP", i)->handle();
        const auto box = [&](const char16_t* name) {
            return dynamic_cast<PictureBoxElement*>(pages->element(name))->picture().handle();
        };
        return h == piece("imgSELCAP", 0)->handle() ? Look::Selected
               : h == box(u"picTABCAP")             ? Look::Normal
               : h == box(u"picTABCAPHOV")          ? Look::Hover
                                                    : Look::Other;
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

// The events a new control raises, its tab string, active tab, ColorForm and
// TabColor are pinned by examples/pages_tour.kvs and its recorded output.
TEST_F(PagesTest, NewControlDefaults) {
    EXPECT_EQ(pages->PageColor(), 0x00FFFFFFu);
    EXPECT_EQ(pages->site()->BackColor(), 0x8000000Fu);
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

// Rows run in order on one control: the presses change the active tab.
TEST_F(PagesTest, PiecesAndSurfaceRaiseTheirMouseEventsWithZeroPositions) {
    using enum Notification;
    struct Row {
        const char* element;
        int index;
        Notification n;
        int16_t button;
        QStringList want;
        int32_t active;
    };
    const Row rows[] = {
        {"imgSELLEFT", 2, MouseMove, 2, {"MouseMove(2,0,0,0)"}, 1},
        {"lblCAPTION", 1, MouseUp, 4, {"MouseUp(4,0,0,0)"}, 1},
        {"imgSELRIGHT", 3, MouseUp, 1, {"MouseUp(1,0,0,0)"}, 1},
        {"imgSELLEFT", 3, MouseUp, 1, {}, 1},
        {"", -1, MouseDown, 2, {"MouseDown(1,0,0,0,1)"}, 1},
        {"", -1, MouseMove, 0, {"MouseMove(0,0,0,0)"}, 1},
        {"", -1, MouseUp, 2, {"MouseUp(2,0,0,0)"}, 1},
        // A press on an inactive tab activates it before its MouseDown.
        {"imgSELCAP", 2, MouseDown, 1, {"Click(2)", "Show", "MouseDown(1,0,0,0,2)"}, 2},
        {"imgSELCAP", 2, MouseDown, 1, {"MouseDown(1,0,0,0,2)"}, 2},
        {"imgSELCAP", 3, MouseDown, 2, {}, 2}, // right button: nothing but the end of any hover
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.element) + " " + notificationName(r.n).toStdString());
        events.log.clear();
        notify(r.element, r.index, r.n, {Value(r.button), Value(int16_t{1}), Value(30.0f), Value(40.0f)});
        EXPECT_EQ(events.log, r.want);
        EXPECT_EQ(pages->ActiveTab(), r.active);
    }
    EXPECT_EQ(looks(), (std::vector<L>{L::Normal, L::Selected, L::Normal}));
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
    notify("", -1, Notification::MouseDown, mouse(1));
    EXPECT_EQ(seenButton, 7);
    EXPECT_EQ(seenCaption, "changed");
}

// Hover across tabs and its looks on a real window are the xcb suite's; here,
// every way a hover ends, and whether the capture goes with it.
TEST_F(PagesTest, EveryWayOfEndingHoverEndsIt) {
    const struct {
        const char* what;
        std::function<void()> end;
        bool keepsCapture;
    } enders[] = {
        {"ObjectMouseUp", [&] { pages->ObjectMouseUp(); }, false},
        {"a move off the piece", [&] { move(2, -1); }, false},
        {"a right press on another tab", [&] { press(3, 2); }, false},
        {"a release", [&] { notify("imgSELCAP", 2, Notification::MouseUp, mouse(1, 0, 0)); }, false},
        {"a move over the page", [&] { notify("picBACKTARGET", -1, Notification::MouseMove, mouse()); },
         false},
        // The next move over the piece finds the capture still taken.
        {"GotFocus", [&] { pages->GotFocus(); }, true},
    };
    for (const auto& e : enders) {
        SCOPED_TRACE(e.what);
        move(2);
        ASSERT_EQ(pages->HoverTab(), 2);
        ASSERT_NE(platform.capture(), nullptr);
        EXPECT_EQ(looks(), (std::vector<L>{L::Selected, L::Hover, L::Normal}));
        e.end();
        EXPECT_EQ(pages->HoverTab(), -99);
        EXPECT_EQ(look(2), L::Normal);
        EXPECT_EQ(platform.capture() != nullptr, e.keepsCapture);
    }
    pages->ObjectMouseUp();
    // The active tab never tracks hover, nor takes the capture.
    move(1);
    EXPECT_EQ(pages->HoverTab(), -99);
    EXPECT_EQ(platform.capture(), nullptr);
}

TEST_F(PagesTest, TheCaptureBelongsToOneControlAtATime) {
    auto other = Pages::createNew();
    move(2);
    QWidget* mine = platform.capture();
    ASSERT_NE(mine, nullptr);
    std::vector<Value> args = mouse();
    ASSERT_TRUE(other->notify(u"imgSELCAP", 3, Notification::MouseMove, args, nullptr));
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

TEST_F(PagesTest, SavedSettingsComeBackWithTheTabGap) {
    pages->setActiveTabs(QStringLiteral("Home,Help"));
    pages->setPageColor(0x00C0FFEE);
    pages->setTextColor(0x000000FF);
    // The saved keys and their order are pinned by the bag at the end of pages_tour.kvs.
    PropertyBag bag;
    pages->WriteProperties(bag);

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

// That it is never saved is the round-trip test's business.
TEST_F(PagesTest, TabColorIsFreeTextUntilTheNextRefresh) {
    pages->setTabColor(QStringLiteral("anything"));
    EXPECT_EQ(pages->TabColor(), "anything");
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
    move(2);
    delete pages->widget();
    pages->ObjectMouseUp();
    pages->setActiveTab(3);
    pages.reset();
    EXPECT_EQ(platform.capture(), nullptr);
}

// Keys reach the control through its window (the mouse on a real window is
// the xcb suite's).
TEST_F(PagesWindow, KeysThroughTheControlsWindowStepTheTabs) {
    QWidget* site = pages->widget();
    site->show();
    QTest::keyClick(site, Qt::Key_Right);
    EXPECT_EQ(pages->ActiveTab(), 2);
    QTest::keyClick(site, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(pages->ActiveTab(), 3);
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
