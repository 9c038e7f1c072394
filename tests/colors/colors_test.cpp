// Colors: defaults, the drop-down's events and capture, keys, the custom
// colour, the face, pictures and persistence.
#include "colors/colors.h"
#include "colors/colors_p.h"
#include "colors/palette_model_p.h"
#include "frame/elements/picturebox_element_p.h"
#include "frame/elements/shape_element_p.h"
#include "frame/platform/scripted_platform_p.h"
#include "frame/runtime/site.h"
#include "frame/values/convert_p.h"
#include "frame/values/property_bag.h"

#include <QApplication>
#include <QMouseEvent>
#include <QShortcut>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

using namespace korva;

// Readable failures for lists of event names.
void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

constexpr uint32_t kRed = 0x000000FF;
constexpr uint32_t kDarkRed = 0x00000080;
constexpr uint32_t kYellow = 0x0000FFFF;
constexpr uint32_t kFace = 0x00C8D0D4; // the classic button face (212, 208, 200)

// Records every raised event by name with its arguments, and lets a test act
// as the host's handler.
class Recorder : public EventSink {
public:
    struct Event {
        QString name;
        std::vector<Value> args;
    };
    void onEvent(Control& c, int32_t number, std::span<Value* const> args) override {
        Event e{c.classInfo().eventByNumber(number)->name, {}};
        for (Value* v : args)
            e.args.push_back(*v);
        events.push_back(e);
        if (handler)
            handler(number, args);
    }
    QStringList names() const {
        QStringList l;
        for (const Event& e : events)
            l << e.name;
        return l;
    }
    uint32_t colourOf(int i) const {
        uint32_t c = 0;
        valueToColour(events.at(static_cast<size_t>(i)).args.at(0), c);
        return c;
    }
    std::vector<Event> events;
    std::function<void(int32_t, std::span<Value* const>)> handler;
};

class ColorsTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform.installed(true);
        colors = Colors::createNew();
        colors->site()->resizeTwips(1125, 345); // 75 x 23 pixels
        platform.placeWindow(colors->site(), QPoint(100, 100));
        colors->addSink(&rec);
    }
    void TearDown() override {
        colors.reset();
        platform.installed(false);
    }

    bool notify(const char* element, Notification n, std::vector<Value> args = {}) {
        QString error;
        const bool ok = colors->notify(QString::fromLatin1(element), -1, n, args, &error);
        EXPECT_TRUE(ok) << error.toStdString();
        return ok;
    }
    void mouse(const char* element, Notification n, int16_t button, float x = 1, float y = 1) {
        notify(element, n, {Value(button), Value(int16_t{0}), Value(x), Value(y)});
    }
    void panel(Notification n, int16_t button, float x, float y) {
        mouse("picDROPDOWNPANEL", n, button, x, y);
    }
    void key(Notification n, int16_t code, int16_t shift = 0) {
        notify("cmdMAINBTN", n, {Value(code), Value(shift)});
    }
    // The cell with this name (main grid first).
    const ColorCell& cell(const char* name) {
        static const ColorCell none;
        const PaletteModel& m = colors->paletteModel();
        for (const auto* grid : {&m.MainGrid(), &m.ShadeGrid()})
            for (const ColorCell& c : *grid)
                if (c.Name == name)
                    return c;
        ADD_FAILURE() << "no cell " << name;
        return none;
    }
    QPointF cellCentre(const char* name) {
        const ColorCell& c = cell(name);
        return {(c.Left + c.Right) / 2.0, (c.Top + c.Bottom) / 2.0};
    }
    void at(Notification n, const char* name, int16_t button = 1) {
        const QPointF p = cellCentre(name);
        panel(n, button, static_cast<float>(p.x()), static_cast<float>(p.y()));
    }
    void open() {
        colors->ShowPopUp();
        ASSERT_TRUE(colors->popupVisible());
        rec.events.clear();
    }
    // A fresh start for the next event sequence, with the panel open or closed.
    void restart(bool openPanel) {
        colors->HidePopUp();
        if (openPanel)
            open();
        rec.events.clear();
    }
    QStringList eventsOf(bool openPanel, const std::function<void()>& act) {
        restart(openPanel);
        act();
        return rec.names();
    }
    PictureBoxElement& box(const char* name) {
        return *static_cast<PictureBoxElement*>(colors->element(QString::fromLatin1(name)));
    }
    ShapeElement& shape(const char* name) {
        return *static_cast<ShapeElement*>(colors->element(QString::fromLatin1(name)));
    }

    ScriptedPlatform platform;
    std::unique_ptr<Colors> colors;
    Recorder rec;
};

} // namespace

// --- defaults ---------------------------------------------------------------------

TEST_F(ColorsTest, NewInstanceDefaults) {
    EXPECT_EQ(colors->Palette(), AP24X8);
    EXPECT_EQ(colors->ButtonType(), 1);
    EXPECT_EQ(colors->Caption(), "   Button");
    EXPECT_TRUE(colors->PopupEnabled());
    EXPECT_TRUE(colors->ShowButtonColor());
    EXPECT_FALSE(colors->PictureVisible());
    EXPECT_EQ(colors->Color(), 0u);
    EXPECT_EQ(colors->BackColor(), 0x8000000Fu);
    EXPECT_EQ(colors->ForeColor(), 0u); // the classic button text
    EXPECT_EQ(colors->MaskHLightColor(), 0u);
    EXPECT_TRUE(colors->bPOSITIONDEFAULT());
    EXPECT_TRUE(colors->FocusRect());
    EXPECT_FALSE(colors->MousePosn());
    // Colour 2 is nearest to EARTH RED (hue 0, luminance 1 against 40).
    EXPECT_EQ(colors->Text(), "EARTH RED");
    EXPECT_FALSE(colors->popupVisible());
    EXPECT_TRUE(colors->popupWidget()->isWindow());
}

TEST_F(ColorsTest, PaletteOutsideTheEnumerationIsRefused) {
    colors->setColor(kRed);
    for (int32_t bad : {-1, 12, 1000000}) {
        colors->setPalette(bad);
        EXPECT_EQ(colors->Palette(), AP24X8);
        EXPECT_EQ(colors->Color(), kRed);
    }
    EXPECT_FALSE(colors->changedKeys().contains("Palette"));
    colors->setPalette(AP8X2);
    EXPECT_EQ(colors->paletteModel().MainGrid().size(), 16u);
    EXPECT_EQ(colors->Text(), "RED");
    EXPECT_TRUE(colors->changedKeys().contains("Palette"));
}

// --- the drop-down's events --------------------------------------------------------

// Real input all the way through: the click opens the panel, a drag previews
// each new colour once and only while the button is held, the release chooses.
TEST_F(ColorsTest, RealClickAndDragPreviewThenReleaseChooses) {
    QWidget* face = colors->widget();
    face->show();
    // The swatch lies over the button and lets the click through to it.
    QWidget* under = face->childAt(37, 11);
    ASSERT_EQ(under, colors->element(u"cmdMAINBTN")->widget());
    QTest::mouseClick(under, Qt::LeftButton, {}, QPoint(37, 11));
    EXPECT_EQ(rec.names(), QStringList({"MouseDown", "MouseUp", "Click"}));
    ASSERT_TRUE(colors->popupVisible());
    rec.events.clear();

    QWidget* panel = colors->popupWidget();
    auto move = [&](const char* cell, Qt::MouseButtons held) {
        const QPointF p = cellCentre(cell);
        QMouseEvent e(QEvent::MouseMove, p, panel->mapToGlobal(p), Qt::NoButton, held, {});
        QApplication::sendEvent(panel, &e);
    };
    QTest::mousePress(panel, Qt::LeftButton, {}, cellCentre("RED").toPoint());
    move("RED", Qt::LeftButton); // same colour: no second Change
    move("DARK RED", Qt::LeftButton);
    move("GREEN", Qt::NoButton); // no button held: no preview
    EXPECT_EQ(colors->ActiveText(), "DARK RED");
    QTest::mouseRelease(panel, Qt::LeftButton, {}, cellCentre("YELLOW").toPoint());
    EXPECT_EQ(rec.names(),
              QStringList({"Change", "Change", "FocusHidden", "FocusHidden", "Click", "Change"}));
    EXPECT_EQ(rec.colourOf(0), kRed);
    EXPECT_EQ(rec.colourOf(1), kDarkRed);
    EXPECT_EQ(rec.colourOf(5), kYellow);
    EXPECT_FALSE(colors->popupVisible());
    EXPECT_EQ(colors->Text(), "YELLOW");
    EXPECT_EQ(colors->site()->accessibleName(), "YELLOW");
    EXPECT_EQ(colors->Color(), kYellow);
    EXPECT_EQ(shape("shpCOLOR").FillColor(), kYellow);
    EXPECT_TRUE(colors->changedKeys().contains("SELECTEDCOLOR"));
    EXPECT_TRUE(colors->changedKeys().contains("TEXT"));
}

TEST_F(ColorsTest, ReleaseTable) {
    struct Row {
        const char* what;
        const char* previewed;  // dragged over before the release, or null
        const char* releasedOn; // a cell, or null for the point below
        QPointF point;
        QStringList events;
    };
    const Row rows[] = {
        {"the chosen cell after a preview", "RED", "YELLOW", {}, {"FocusHidden", "FocusHidden", "Change"}},
        {"the chosen cell, no preview", nullptr, "YELLOW", {}, {"FocusHidden", "FocusHidden"}},
        {"a gap", "RED", nullptr, {5, 5}, {"FocusHidden"}},
        {"outside after a preview", "RED", nullptr, {-40, 10}, {"FocusHidden", "Change"}},
        {"outside, no preview", nullptr, nullptr, {500, 500}, {"FocusHidden"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        // Start from YELLOW chosen and previewed, so only the row's own moves count.
        open();
        at(Notification::MouseMove, "YELLOW");
        at(Notification::MouseUp, "YELLOW");
        open();
        if (r.previewed)
            at(Notification::MouseMove, r.previewed);
        rec.events.clear();
        if (r.releasedOn)
            at(Notification::MouseUp, r.releasedOn);
        else
            panel(Notification::MouseUp, 1, static_cast<float>(r.point.x()), static_cast<float>(r.point.y()));
        EXPECT_EQ(rec.names(), r.events);
        if (r.events.endsWith("Change")) {
            EXPECT_EQ(rec.colourOf(static_cast<int>(rec.events.size()) - 1), kYellow);
        }
        EXPECT_EQ(colors->Text(), "YELLOW");
        EXPECT_FALSE(colors->popupVisible());
    }
}

TEST_F(ColorsTest, EventSequences) {
    using L = QStringList;
    // A double click presses first when the last press was the left button's.
    EXPECT_EQ(eventsOf(false, [&] { notify("cmdMAINBTN", Notification::DblClick); }),
              L({"MouseDown", "DblClick"}));
    EXPECT_EQ(rec.events[0].args[0], Value(int16_t{1}));
    EXPECT_EQ(rec.events[0].args[1], Value(int16_t{1}));
    restart(false);
    mouse("cmdMAINBTN", Notification::MouseDown, 2, 3, 3);
    notify("cmdMAINBTN", Notification::DblClick);
    EXPECT_EQ(rec.names(), L({"MouseDown", "DblClick"}));
    // Hovering raises MouseOut on every move without a held button.
    restart(false);
    mouse("cmdMAINBTN", Notification::MouseMove, 0, 5, 5);
    mouse("cmdMAINBTN", Notification::MouseDown, 1, 5, 5);
    mouse("cmdMAINBTN", Notification::MouseMove, 1, 6, 5);
    mouse("cmdMAINBTN", Notification::MouseUp, 1, 6, 5);
    EXPECT_EQ(rec.names(), L({"MouseOut", "MouseMove", "MouseDown", "MouseMove", "MouseUp"}));
    // Space is a press and a release, then a click.
    restart(false);
    key(Notification::KeyDown, 32);
    key(Notification::KeyUp, 32);
    EXPECT_EQ(rec.names(), L({"KeyDown", "MouseDown", "MouseUp", "Click", "KeyUp"}));
    EXPECT_TRUE(colors->popupVisible());
    // A press inside the panel previews without capture; one outside only closes.
    restart(true);
    at(Notification::MouseDown, "RED");
    EXPECT_EQ(platform.capture(), nullptr);
    EXPECT_TRUE(colors->popupVisible());
    panel(Notification::MouseDown, 1, -5, -5);
    EXPECT_EQ(rec.names(), L({"Change", "FocusHidden"}));
    EXPECT_FALSE(colors->popupVisible());
    // A key over the panel is a release at its corner.
    EXPECT_EQ(
        eventsOf(true, [&] { notify("picDROPDOWNPANEL", Notification::KeyPress, {Value(int16_t{65})}); }),
        L({"MouseUp", "FocusLost"}));
    EXPECT_EQ(rec.events[0].args[0], Value(int16_t{1}));
    EXPECT_EQ(rec.events[0].args[2], Value(0.0f));
    EXPECT_TRUE(colors->popupVisible());
    // A character typed on the button closes the panel without an event of its own.
    EXPECT_EQ(eventsOf(true, [&] { notify("cmdMAINBTN", Notification::KeyPress, {Value(int16_t{65})}); }),
              L({"FocusHidden"}));
    EXPECT_FALSE(colors->popupVisible());
    EXPECT_EQ(eventsOf(true, [&] { notify("picDROPDOWNPANEL", Notification::LostFocus); }),
              L({"FocusHidden"}));
    EXPECT_FALSE(colors->popupVisible());
    EXPECT_EQ(eventsOf(false, [&] { colors->LostFocus(); }), L({"FocusLost", "MouseUp"}));
    EXPECT_EQ(eventsOf(true, [&] { colors->ExitFocus(); }), L({"FocusHidden", "FocusLost"}));
    EXPECT_FALSE(colors->popupVisible());
    EXPECT_EQ(eventsOf(false, [&] { colors->UserControl_ExitFocus(); }), L({"FocusLost"}));
}

TEST_F(ColorsTest, CaptureIsReleasedOnlyByWhoTookIt) {
    colors->ShowPopUp();
    EXPECT_EQ(platform.capture(), colors->popupWidget());
    colors->HidePopUp();
    EXPECT_EQ(platform.capture(), nullptr);

    // The click sequence opens the panel, then lets go of this control's capture.
    colors->UserControl_Click();
    EXPECT_TRUE(colors->popupVisible());
    EXPECT_EQ(platform.capture(), nullptr);
    EXPECT_TRUE(colors->MousePosn());
    colors->HidePopUp();

    // Another window's capture survives HidePopUp and a click that opens nothing.
    QWidget other;
    platform.setCapture(&other);
    colors->HidePopUp();
    colors->setPopupEnabled(false);
    colors->UserControl_Click();
    EXPECT_EQ(platform.capture(), &other);
    platform.releaseCapture();

    // Hover: captured inside the button, released once the pointer leaves it.
    int16_t b = 0, s = 0;
    float x = 10, y = 10;
    colors->UserControlMouseOut(b, s, x, y);
    EXPECT_EQ(platform.capture(), colors->site());
    EXPECT_TRUE(colors->MousePosn());
    x = 76;
    colors->UserControlMouseOut(b, s, x, y);
    EXPECT_EQ(platform.capture(), nullptr);
    EXPECT_FALSE(colors->MousePosn());
}

TEST_F(ColorsTest, ButtonClickTable) {
    struct Row {
        const char* what;
        int16_t pressButton; // 0: no press before the click
        bool popupEnabled;
        bool enabled;
        QStringList events;
        bool open;
    };
    const Row rows[] = {
        {"left click", 0, true, true, {"Click"}, true},
        {"after a right press", 2, true, true, {"MouseDown"}, false},
        {"after a middle press", 4, true, true, {"MouseDown"}, false},
        {"popup switched off", 0, false, true, {"PopUp", "Click"}, false},
        {"disabled", 0, true, false, {}, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        colors->HidePopUp();
        colors->setPopupEnabled(r.popupEnabled);
        colors->setEnabled(r.enabled);
        mouse("cmdMAINBTN", Notification::MouseDown, 1);
        rec.events.clear();
        if (r.pressButton)
            mouse("cmdMAINBTN", Notification::MouseDown, r.pressButton);
        notify("cmdMAINBTN", Notification::Click);
        EXPECT_EQ(rec.names(), r.events);
        EXPECT_EQ(colors->popupVisible(), r.open);
    }
    // A second click closes what the first opened.
    colors->setEnabled(true);
    colors->setPopupEnabled(true);
    colors->UserControl_Click();
    rec.events.clear();
    colors->UserControl_Click();
    EXPECT_FALSE(colors->popupVisible());
    EXPECT_EQ(rec.names(), QStringList({"FocusHidden", "Click"}));
}

// --- keys --------------------------------------------------------------------------

TEST_F(ColorsTest, KeyDownTable) {
    struct Row {
        const char* what;
        int16_t code, shift;
        bool panelOpenBefore;
        QStringList events; // from the start; a Shift+Tab may add its own key events after
        bool openAfter;
        int shiftTabs;
    };
    const Row rows[] = {
        {"Page Down opens", 34, 0, false, {"Click", "KeyDown"}, true, 0},
        {"Down opens", 40, 0, false, {"Click", "KeyDown"}, true, 0},
        {"Down closes", 40, 0, true, {"FocusHidden", "Click", "KeyDown"}, false, 0},
        {"Shift+Down does nothing", 40, 1, false, {"KeyDown"}, false, 0},
        {"Escape closes", 27, 0, true, {"FocusHidden", "KeyDown"}, false, 0},
        {"Escape while closed", 27, 0, false, {"FocusHidden", "KeyDown"}, false, 0},
        {"Left moves back", 37, 0, false, {"KeyDown"}, false, 1},
        {"Up moves back", 38, 0, false, {"KeyDown"}, false, 1},
        {"Right does nothing", 39, 0, false, {"KeyDown"}, false, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        restart(r.panelOpenBefore);
        const int tabsBefore = platform.shiftTabs();
        key(Notification::KeyDown, r.code, r.shift);
        EXPECT_EQ(rec.names().mid(0, static_cast<int>(r.events.size())), r.events);
        EXPECT_EQ(colors->popupVisible(), r.openAfter);
        EXPECT_EQ(platform.shiftTabs() - tabsBefore, r.shiftTabs);
    }
}

TEST_F(ColorsTest, KeyCodeLeftByTheHandlerIsWhatTheControlUses) {
    // The host turns Space into 'A': no press, and the key up is no Space release.
    rec.handler = [](int32_t number, std::span<Value* const> args) {
        if (number == kEvKeyDown)
            *args[0] = Value(int16_t{65});
    };
    key(Notification::KeyDown, 32);
    key(Notification::KeyUp, 32);
    EXPECT_EQ(rec.names(), QStringList({"KeyDown", "KeyUp"}));
    EXPECT_FALSE(colors->popupVisible());

    // Through the Qt signal: a direct slot may change the argument too.
    rec.handler = nullptr;
    rec.events.clear();
    QObject::connect(colors.get(), &Colors::KeyDown, [](int16_t& code, int16_t&) { code = 0; });
    key(Notification::KeyDown, 32);
    EXPECT_EQ(rec.names(), QStringList({"KeyDown"}));
}

// --- shades --------------------------------------------------------------------------

TEST_F(ColorsTest, DragOntoAnotherHueRebuildsAndRepaintsTheShades) {
    colors->setColor(kRed);
    colors->setPalette(AP8X4X4);
    ASSERT_EQ(colors->paletteModel().BaseCell().Name, "RED");
    open();
    at(Notification::MouseMove, "YELLOW");
    EXPECT_EQ(colors->paletteModel().BaseCell().Name, "YELLOW");
    const ColorCell& first = colors->paletteModel().ShadeGrid().front();
    EXPECT_EQ(first.Name, "BARLEY YELLOW");
    PictureBoxElement& p = box("picDROPDOWNPANEL");
    EXPECT_EQ(p.Point(static_cast<float>(first.Left + 2), static_cast<float>(first.Top + 2)),
              static_cast<int32_t>(first.Color));

    // Over a shade cell, and over a main cell without the button: the shades stay.
    at(Notification::MouseMove, "LIGHT YELLOW");
    at(Notification::MouseMove, "GREEN", 0);
    EXPECT_EQ(colors->paletteModel().BaseCell().Name, "YELLOW");
    // The hidden frame follows the pointer, with or without the button.
    const ShapeElement& frame = shape("shpBORDER");
    EXPECT_FALSE(frame.Visible());
    EXPECT_EQ(frame.Left(), cell("GREEN").Left);
    EXPECT_EQ(frame.Top(), cell("GREEN").Top);
    EXPECT_EQ(frame.Width(), 14);
    EXPECT_EQ(frame.Height(), 14);
    // Choosing a shade keeps its name.
    at(Notification::MouseUp, "LIGHT YELLOW");
    EXPECT_EQ(colors->Text(), "LIGHT YELLOW");
}

// --- painting ------------------------------------------------------------------------

TEST_F(ColorsTest, CellsArePaintedWithTheirOutlines) {
    // Opened on one layout, switched to another while open: painted afresh.
    colors->setColor(kRed);
    colors->setPalette(AP8X2);
    const float sepTop = box("picfraSEPBAR").Top();
    const float rowLeft = box("lblCUSTOM1").Left();
    EXPECT_FLOAT_EQ(sepTop, 1337.0f / 15 - 35);
    colors->ShowPopUp();
    colors->setPalette(AP8X4X4);
    // A layout with shades leaves the separator and the custom row where the last one without put them.
    EXPECT_EQ(box("picfraSEPBAR").Top(), sepTop);
    EXPECT_EQ(box("lblCUSTOM1").Left(), rowLeft);
    PictureBoxElement& p = box("picDROPDOWNPANEL");
    const ColorCell& red = colors->paletteModel().MainGrid().front();
    const ColorCell& shade = colors->paletteModel().ShadeGrid().front();
    auto at = [&](int x, int y) {
        return static_cast<uint32_t>(p.Point(static_cast<float>(x), static_cast<float>(y)));
    };
    // Main cells: outline one pixel outside, face and shadow blended 150 : 105.
    EXPECT_EQ(at(red.Left, red.Top), kRed);
    EXPECT_EQ(at(red.Right - 1, red.Bottom - 1), kRed);
    EXPECT_EQ(at(red.Left - 1, red.Top - 1), 0x00AAAFB1u);
    EXPECT_EQ(at(red.Right, red.Bottom), 0x00AAAFB1u);
    // Shade cells: a button-face outline on their own edge.
    EXPECT_EQ(at(shade.Left, shade.Top), kFace);
    EXPECT_EQ(at(shade.Left + 1, shade.Top + 1), shade.Color);
    // The edge frame covers the whole panel.
    EXPECT_EQ(shape("shpEDGE").Width(), 1560.0f / 15);
    EXPECT_EQ(shape("shpEDGE").Height(), 1135.0f / 15);
}

// --- placement on the screen ---------------------------------------------------------------

TEST_F(ColorsTest, PanelOpensBelowOrAboveWithinTheScreen) {
    struct Row {
        const char* where;
        QPoint control;
        bool below;
    };
    // Where on every edge is worked out without windows; here both sides, pulled back from the right.
    const Row rows[] = {{"right edge", {1000, 300}, true}, {"bottom right", {1010, 750}, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.where);
        colors->HidePopUp();
        platform.placeWindow(colors->site(), r.control);
        colors->ShowPopUp();
        const QRect g = colors->popupWidget()->geometry();
        if (r.below) {
            EXPECT_EQ(g.top(), r.control.y() + 23 + 1);
        } else {
            EXPECT_EQ(g.bottom() + 1, r.control.y() + 1);
        }
        EXPECT_LE(g.right() + 1, 1024);
    }
    // A scripted screen of another size is followed.
    colors->HidePopUp();
    platform.setScreenRect(QRect(0, 0, 640, 480));
    platform.placeWindow(colors->site(), QPoint(600, 100));
    colors->ShowPopUp();
    EXPECT_EQ(colors->popupWidget()->geometry().right() + 1, 640);
}

// --- the custom colour ----------------------------------------------------------------------

TEST_F(ColorsTest, CustomColourFromTheDialog) {
    colors->setColor(kRed);
    const QString text = colors->Text();
    struct Row {
        const char* what;
        std::optional<uint32_t> answer;
        QStringList events;
        uint32_t colour;
    };
    const Row rows[] = {
        {"chosen", 0x00123456u, {"FocusHidden", "ChangeCustom"}, 0x00123456u},
        {"cancelled", std::nullopt, {"FocusHidden"}, 0x00123456u},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        open();
        platform.queueColourAnswer(r.answer);
        const int dialogs = platform.colourDialogs();
        // The middle of the custom row.
        const PictureBoxElement& row = box("lblCUSTOM1");
        panel(Notification::MouseDown, 1, row.Left() + 40, row.Top() + 7);
        EXPECT_EQ(platform.colourDialogs(), dialogs + 1);
        EXPECT_EQ(platform.lastDialogStart(), 0x00FFFFFFu); // the window background
        EXPECT_EQ(rec.names(), r.events);
        EXPECT_EQ(colors->Color(), r.colour);
        EXPECT_EQ(colors->Text(), text); // the last palette choice keeps its name
        EXPECT_FALSE(colors->popupVisible());
    }
    // The label itself, and a press too near the panel's edge (which only closes).
    rec.events.clear();
    platform.queueColourAnswer(0x00654321u);
    notify("lblCUSTOM", Notification::Click);
    EXPECT_EQ(colors->Color(), 0x00654321u);
    open();
    const int dialogs = platform.colourDialogs();
    panel(Notification::MouseDown, 1, 5, box("lblCUSTOM1").Top() + 5);
    EXPECT_EQ(platform.colourDialogs(), dialogs);
    EXPECT_FALSE(colors->popupVisible());
}

// --- the face --------------------------------------------------------------------------------

TEST_F(ColorsTest, FaceLayoutAtAnySize) {
    struct Row {
        float twipsW, twipsH;
        float frameW, frameH, sepLeft;
    };
    const Row rows[] = {
        {300, 300, 10, 10, 19}, {1125, 345, 65, 13, 74}, {90, 60, -4, -6, 5}, {0, 0, -10, -10, -1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.twipsW);
        colors->site()->resizeTwips(r.twipsW, r.twipsH);
        EXPECT_EQ(box("picfraCOLOR").Left(), 5);
        EXPECT_EQ(box("picfraCOLOR").Top(), 5);
        EXPECT_EQ(box("picfraCOLOR").Width(), r.frameW);
        EXPECT_EQ(box("picfraCOLOR").Height(), r.frameH);
        EXPECT_EQ(shape("shpCOLOR").Width(), r.frameW);
        EXPECT_EQ(box("picsepBAR").Left(), r.sepLeft);
        EXPECT_EQ(box("picsepBAR").Height(), r.frameH - 1);
    }
}

TEST_F(ColorsTest, SwatchAndPicturesByState) {
    struct Row {
        bool show, enabled, pictureVisible;
        bool swatch, outline, picture, disabledPicture;
    };
    const Row rows[] = {
        {true, true, false, true, false, false, false}, {true, false, false, false, true, false, false},
        {false, true, true, false, false, true, false}, {false, false, true, false, false, false, true},
        {true, true, true, true, false, true, false},   {false, false, false, false, false, false, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.show << r.enabled << r.pictureVisible);
        colors->setShowButtonColor(r.show);
        colors->setEnabled(r.enabled);
        colors->setPictureVisible(r.pictureVisible);
        EXPECT_EQ(shape("shpCOLOR").Visible(), r.swatch);
        EXPECT_EQ(shape("shpBORDERDIS").Visible(), r.outline);
        EXPECT_EQ(box("picIMAGEBOX").Visible(), r.picture);
        EXPECT_EQ(box("fraIMAGEBOXDIS").Visible(), r.disabledPicture);
        EXPECT_EQ(colors->site()->Enabled(), r.enabled);
    }
}

TEST_F(ColorsTest, BackColorAndThemes) {
    colors->setBackColor(0x00112233);
    EXPECT_EQ(colors->BackColor(), 0x00112233u);
    EXPECT_EQ(colors->site()->BackColor(), 0x00112233u);
    colors->setBackcolorCustom(true);
    EXPECT_EQ(colors->site()->BackColor(), 0x00112233u); // not reapplied until the next let
    colors->setBackColor(0x00445566);
    EXPECT_EQ(colors->BackColor(), kFace);
    colors->setBackcolorCustom(false);
    colors->SetTheme();
    EXPECT_EQ(colors->site()->BackColor(), kFace);
    // Every ButtonType gives the same face.
    const QImage face = colors->widget()->grab().toImage();
    for (int32_t t = 1; t <= 14; ++t) {
        colors->setButtonType(t);
        EXPECT_EQ(colors->widget()->grab().toImage(), face) << t;
    }
}

TEST(ColorsAccessKey, FromTheCaption) {
    struct Row {
        const char* caption;
        const char* key;
    };
    const Row rows[] = {{"&Red", "r"}, {"A&&B&k", "k"}, {"A&&B", ""},      {"Ends&", ""},  {"&&&x", "x"},
                        {"x", ""},     {"", ""},        {"   Button", ""}, {"A&&&&B", ""}, {"&&", ""}};
    for (const Row& r : rows)
        EXPECT_EQ(AccessKeyOf(QString::fromUtf8(r.caption)), QString::fromUtf8(r.key)) << r.caption;
}

// --- pictures ---------------------------------------------------------------------------------

namespace {
QImage keyed(int width, int height) {
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(QColor(0, 0, 255));
    img.setPixel(0, 0, qRgb(255, 0, 255));   // key colour
    img.setPixel(1, 0, qRgb(128, 128, 128)); // shadow key
    return img;
}
} // namespace

TEST_F(ColorsTest, PicturesGetTheirKeyColoursReplaced) {
    // A palette whose face and shadow differ from both keys shows which rule ran.
    const QPalette saved = QApplication::palette();
    QPalette pal = saved;
    pal.setColor(QPalette::Button, QColor(1, 2, 3));
    pal.setColor(QPalette::Dark, QColor(10, 20, 30));
    QApplication::setPalette(pal);
    platform.setFollowQtPalette(true);

    colors->setPicture(Picture{keyed(11, 11)});
    PictureBoxElement& enabledBox = box("picIMAGEBOX");
    EXPECT_EQ(enabledBox.Point(0, 0), 0x00030201);
    EXPECT_EQ(enabledBox.Point(1, 0), 0x00808080); // the enabled rule keeps grey
    EXPECT_EQ(enabledBox.Point(2, 0), 0x00FF0000);
    EXPECT_EQ(colors->Picture().image, keyed(11, 11)); // the picture itself is kept

    colors->setPictureDisabled(Picture{keyed(11, 11)});
    PictureBoxElement& disabledBox = box("picIMAGEBOXDIS");
    EXPECT_EQ(disabledBox.Point(0, 0), 0x00030201);
    EXPECT_EQ(disabledBox.Point(1, 0), 0x001E140A);

    platform.setFollowQtPalette(false);
    QApplication::setPalette(saved);

    struct Row {
        int width;
        float enabledW, enabledH, disabledW, disabledH;
    };
    const Row rows[] = {{11, 410, 320, 410, 320}, {18, 520, 300, 480, 405}, {16, 480, 405, 480, 405}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.width);
        colors->setPicture(Picture{keyed(r.width, 16)});
        EXPECT_EQ(box("picIMAGEBOXDIS").Width(), r.enabledW);
        EXPECT_EQ(box("picIMAGEBOXDIS").Height(), r.enabledH);
        EXPECT_EQ(box("fraIMAGEBOXDIS").Height(), 17);
        colors->setPictureDisabled(Picture{keyed(r.width, 16)});
        EXPECT_EQ(box("picIMAGEBOXDIS").Width(), r.disabledW);
        EXPECT_EQ(box("picIMAGEBOXDIS").Height(), r.disabledH);
    }
    // No picture at all, and a huge one, are taken without trouble.
    colors->setPicture(Picture{});
    colors->setPicture(Picture{keyed(2000, 2000)});
    EXPECT_EQ(box("picIMAGEBOX").Width(), 2000);
}

// --- persistence -----------------------------------------------------------------------------

namespace {
std::unique_ptr<Colors> loaded(const PropertyBag& bag) {
    auto c = std::make_unique<Colors>();
    c->Initialize();
    c->ReadProperties(bag);
    c->Resize();
    return c;
}
} // namespace

TEST_F(ColorsTest, SaveAndLoadRoundTrip) {
    colors->setPalette(AP16X8X6);
    colors->setColor(0x00123456);
    colors->setCaption("&Pick");
    colors->setButtonType(5);
    colors->setEnabled(false);
    colors->setFocusRect(false);
    colors->setPictureVisible(true);
    colors->setBackcolorCustom(true);
    colors->setShowButtonColor(false);
    colors->setPopupEnabled(false);
    colors->setMaskHLightColor(0x00ABCDEF);
    PropertyBag bag;
    colors->WriteProperties(bag);

    QStringList keys;
    for (const auto& e : bag.entries())
        keys << e.key;
    EXPECT_EQ(keys, QStringList({"FONT", "SELECTEDCOLOR", "Backcolor", "FORECOLOR", "ENABLED", "Palette",
                                 "POPUPENABLED", "MASKHLIGHT", "BUTTONTYPE", "TOOLTIP", "TEXT", "FOCUSRECT",
                                 "SHOWPICTURE", "FILLCOLOR", "BackcolorCUST", "ShowButtonCLR"}));
    EXPECT_EQ(bag.ReadProperty("ENABLED", Value()), Value(false));

    // Every key but one comes back as written: the loaded control saves the same bag.
    const auto back = loaded(bag);
    PropertyBag again;
    back->WriteProperties(again);
    for (const auto& e : bag.entries()) {
        if (e.key != "MASKHLIGHT") {
            EXPECT_EQ(again.ReadProperty(e.key, Value()), e.value) << e.key.toStdString();
        }
    }
    // Written as MASKHLIGHT, read from MASKHLIGHTCOLOR: it comes back as the button face.
    EXPECT_EQ(back->MaskHLightColor(), 0x8000000Fu);
    // The name is the nearest cell's, the colour the saved one.
    EXPECT_EQ(back->Text(), QString::fromStdString(back->paletteModel().FindCell(0x00123456).Name));
    EXPECT_EQ(back->paletteModel().SelectedCell().Color, 0x00123456u);
}

TEST_F(ColorsTest, LoadingBadOrMissingValues) {
    PropertyBag bag;
    bag.WriteProperty("Palette", Value(int32_t{99}));
    bag.WriteProperty("SELECTEDCOLOR", Value(QStringLiteral("not a colour")));
    bag.WriteProperty("FILLCOLOR", Value(QStringLiteral("red")));
    bag.WriteProperty("PICTURE", Value(QStringLiteral("picture.txt")));
    bag.WriteProperty("ENABLED", Value(QStringLiteral("maybe")));
    bag.WriteProperty("BUTTONTYPE", Value(1e12));
    const auto c = loaded(bag);
    EXPECT_EQ(c->Palette(), AP24X8);
    EXPECT_EQ(c->Caption(), "Button"); // no TEXT: no leading blanks
    EXPECT_TRUE(c->Enabled());
    EXPECT_EQ(c->ButtonType(), 1);
    EXPECT_TRUE(c->Picture().isNull());
    EXPECT_EQ(c->Text(), "EARTH RED"); // colour 2, the default
    // A layout that exists is taken from the store.
    PropertyBag good;
    good.WriteProperty("Palette", Value(int32_t{AP8X2}));
    good.WriteProperty("SELECTEDCOLOR", Value(Colour{kDarkRed}));
    EXPECT_EQ(loaded(good)->Text(), "DARK RED");
}

TEST_F(ColorsTest, DispatchReachesMembersAndByReferenceArguments) {
    const ClassInfo& info = colors->classInfo();
    std::vector<Value> args{Value(int32_t{AP8X2})};
    Value result;
    EXPECT_EQ(colors->invoke(info.memberByName(u"Palette")->dispId, InvokeKind::Let, args, result),
              InvokeStatus::Ok);
    EXPECT_EQ(colors->Palette(), AP8X2);
    args = {Value(QStringLiteral("x"))};
    EXPECT_EQ(colors->invoke(info.memberByName(u"Palette")->dispId, InvokeKind::Let, args, result),
              InvokeStatus::TypeMismatch);
    args = {};
    EXPECT_EQ(colors->invoke(kDispIdCaption, InvokeKind::Get, args, result), InvokeStatus::Ok);
    EXPECT_EQ(result, Value(QStringLiteral("   Button")));
    EXPECT_EQ(colors->invoke(info.memberByName(u"Text")->dispId, InvokeKind::Let, args, result),
              InvokeStatus::NotSupported);
    // The host's handler of MouseOut changes X; the caller sees it.
    rec.handler = [](int32_t number, std::span<Value* const> a) {
        if (number == kEvMouseOut)
            *a[2] = Value(99.0f);
    };
    args = {Value(int16_t{0}), Value(int16_t{0}), Value(3.0f), Value(3.0f)};
    EXPECT_EQ(
        colors->invoke(info.memberByName(u"UserControlMouseOut")->dispId, InvokeKind::Call, args, result),
        InvokeStatus::Ok);
    EXPECT_EQ(args[2], Value(99.0f));
    EXPECT_EQ(info.events.size(), 14u);
    EXPECT_EQ(info.eventByNumber(5)->name, "FocusHidden");
}

TEST_F(ColorsTest, QColorAccessor) {
    colors->setQColor(QColor(1, 2, 3));
    EXPECT_EQ(colors->Color(), 0x00030201u);
    colors->setColor(0x8000000F);
    EXPECT_EQ(colors->qColor(), QColor(212, 208, 200));
    colors->setColor(0x800000FF); // no such system colour
    EXPECT_FALSE(colors->qColor().isValid());
}

TEST_F(ColorsTest, TheAccessKeyRunsTheClickSequence) {
    colors->setCaption("Pick &Red");
    auto* shortcut = colors->widget()->findChild<QShortcut*>();
    ASSERT_NE(shortcut, nullptr);
    EXPECT_EQ(shortcut->key(), QKeySequence(Qt::ALT | Qt::Key_R));
    EXPECT_TRUE(shortcut->isEnabled());
    QMetaObject::invokeMethod(shortcut, "activated");
    EXPECT_TRUE(colors->popupVisible());
    EXPECT_EQ(rec.names(), QStringList({"Click"}));
    colors->setCaption("No key");
    EXPECT_FALSE(shortcut->isEnabled());
}
