// Colors: defaults, the drop-down's events and capture, keys, the custom
// colour, the face, pictures and persistence. The control is fed the
// notifications its elements send; real mouse and focus routing runs on a
// real window in tests/xcb.
#include "colors/colors.h"
#include "colors/colors_p.h"
#include "colors/palette_model_p.h"
#include "frame/elements/picturebox_element_p.h"
#include "frame/elements/shape_element_p.h"
#include "frame/runtime/site.h"
#include "frame/values/convert_p.h"
#include "frame/values/property_bag.h"
#include "support/platform_test.h"

#include <QApplication>
#include <QShortcut>
#include <gtest/gtest.h>

#include <functional>

using namespace korva;
using N = Notification;
using L = QStringList;
using Colours = std::vector<uint32_t>;

// Readable failures for event names and element rectangles.
void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
void PrintTo(const QRectF& r, std::ostream* os) {
    *os << r.x() << ',' << r.y() << ' ' << r.width() << 'x' << r.height();
}

namespace {

constexpr uint32_t kRed = 0x000000FF, kDarkRed = 0x00000080, kYellow = 0x0000FFFF;
constexpr uint32_t kFace = 0x00C8D0D4; // the classic button face (212, 208, 200)

// Every raised event's name and arguments; the handler stands in for the host's.
struct Recorder : EventSink {
    void onEvent(Control& c, int32_t number, std::span<Value* const> a) override {
        names << c.classInfo().eventByNumber(number)->name;
        args.emplace_back();
        for (Value* v : a)
            args.back().push_back(*v);
        if (handler)
            handler(number, a);
    }
    void clear() {
        names.clear();
        args.clear();
    }
    // The colours that Change and ChangeCustom carried, in order.
    Colours colours() const {
        Colours out;
        for (qsizetype i = 0; i < names.size(); ++i)
            if (names[i].startsWith("Change"))
                valueToColour(args[static_cast<size_t>(i)].at(0), out.emplace_back());
        return out;
    }
    QStringList names;
    std::vector<std::vector<Value>> args;
    std::function<void(int32_t, std::span<Value* const>)> handler;
};

class ColorsTest : public fixtures::PlatformTest {
protected:
    ColorsTest() {
        colors->site()->resizeTwips(1125, 345); // 75 x 23 pixels
        platform.placeWindow(colors->site(), QPoint(100, 100));
        colors->addSink(&rec);
    }

    void notify(const char* element, N n, std::vector<Value> args = {}) {
        QString error;
        EXPECT_TRUE(colors->notify(QString::fromLatin1(element), -1, n, args, &error)) << error.toStdString();
    }
    void mouse(const char* element, N n, int16_t button, float x = 1, float y = 1) {
        notify(element, n, {Value(button), Value(int16_t{0}), Value(x), Value(y)});
    }
    void key(N n, int16_t code, int16_t shift = 0) { notify("cmdMAINBTN", n, {Value(code), Value(shift)}); }
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
    QPointF centre(const char* name) {
        const ColorCell& c = cell(name);
        return {(c.Left + c.Right) / 2.0, (c.Top + c.Bottom) / 2.0};
    }
    void panel(N n, int16_t button, QPointF p) {
        mouse("picDROPDOWNPANEL", n, button, static_cast<float>(p.x()), static_cast<float>(p.y()));
    }
    // The mouse at the middle of the named cell.
    void at(N n, const char* name, int16_t button = 1) { panel(n, button, centre(name)); }
    // A fresh start for the next event sequence, with the panel open or closed.
    void fresh(bool open) {
        colors->HidePopUp();
        colors->setEnabled(true);
        colors->setPopupEnabled(true);
        if (open)
            colors->ShowPopUp();
        ASSERT_EQ(colors->popupVisible(), open);
        rec.clear();
    }
    template <class T = PictureBoxElement> T& el(const char* name) {
        return *static_cast<T*>(colors->element(QString::fromLatin1(name)));
    }
    QRectF rect(const char* name) {
        const Element& e = el<Element>(name);
        return {e.Left(), e.Top(), e.Width(), e.Height()};
    }

    Recorder rec;
    std::unique_ptr<Colors> colors = Colors::createNew();
};

} // namespace

TEST_F(ColorsTest, NewInstanceDefaults) {
    EXPECT_EQ(colors->Palette(), AP24X8);
    EXPECT_EQ(colors->ButtonType(), 1);
    EXPECT_EQ(colors->Caption(), "   Button");
    // PopupEnabled, ShowButtonColor, bPOSITIONDEFAULT, FocusRect; PictureVisible, MousePosn, open.
    EXPECT_EQ(std::tuple(colors->PopupEnabled(), colors->ShowButtonColor(), colors->bPOSITIONDEFAULT(),
                         colors->FocusRect(), colors->PictureVisible(), colors->MousePosn(),
                         colors->popupVisible()),
              std::tuple(true, true, true, true, false, false, false));
    // Color, BackColor, ForeColor (the classic button text), MaskHLightColor.
    EXPECT_EQ(
        std::tuple(colors->Color(), colors->BackColor(), colors->ForeColor(), colors->MaskHLightColor()),
        std::tuple(0u, 0x8000000Fu, 0u, 0u));
    // Colour 2 is nearest to EARTH RED (hue 0, luminance 1 against 40).
    EXPECT_EQ(colors->Text(), "EARTH RED");
    EXPECT_TRUE(colors->popupWidget()->isWindow());
}

// --- the drop-down's events --------------------------------------------------------

// A drag previews each new colour once and only while the button is held; the
// release chooses.
TEST_F(ColorsTest, DragPreviewsThenReleaseChooses) {
    fresh(true);
    at(N::MouseDown, "RED");
    at(N::MouseMove, "RED"); // same colour: no second Change
    at(N::MouseMove, "DARK RED");
    at(N::MouseMove, "GREEN", 0); // no button held: no preview
    EXPECT_EQ(colors->ActiveText(), "DARK RED");
    at(N::MouseUp, "YELLOW");
    EXPECT_EQ(rec.names, L({"Change", "Change", "FocusHidden", "FocusHidden", "Click", "Change"}));
    EXPECT_EQ(rec.colours(), Colours({kRed, kDarkRed, kYellow}));
    EXPECT_FALSE(colors->popupVisible());
    EXPECT_EQ(colors->Text(), "YELLOW");
    EXPECT_EQ(colors->site()->accessibleName(), "YELLOW");
    EXPECT_EQ(colors->Color(), kYellow);
    EXPECT_EQ(el<ShapeElement>("shpCOLOR").FillColor(), kYellow);
    EXPECT_TRUE(colors->changedKeys().contains("SELECTEDCOLOR"));
    EXPECT_TRUE(colors->changedKeys().contains("TEXT"));
}

// A release that chooses nothing new keeps YELLOW; a preview of another colour
// is taken back with a Change to YELLOW.
TEST_F(ColorsTest, ReleaseTable) {
    const QPointF yellow = centre("YELLOW");
    struct Row {
        const char* what;
        const char* previewed; // dragged over before the release, or null
        QPointF releasedAt;
        QStringList events;
    };
    const Row rows[] = {
        {"the chosen cell after a preview", "RED", yellow, {"FocusHidden", "FocusHidden", "Change"}},
        {"the chosen cell, no preview", nullptr, yellow, {"FocusHidden", "FocusHidden"}},
        {"a gap", "RED", {5, 5}, {"FocusHidden"}},
        {"outside after a preview", "RED", {-40, 10}, {"FocusHidden", "Change"}},
        {"outside, no preview", nullptr, {500, 500}, {"FocusHidden"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        // Start from YELLOW chosen and previewed, so only the row's own moves count.
        fresh(true);
        at(N::MouseMove, "YELLOW");
        at(N::MouseUp, "YELLOW");
        fresh(true);
        if (r.previewed)
            at(N::MouseMove, r.previewed);
        rec.clear();
        panel(N::MouseUp, 1, r.releasedAt);
        EXPECT_EQ(rec.names, r.events);
        EXPECT_EQ(rec.colours(), Colours(static_cast<size_t>(r.events.count("Change")), kYellow));
        EXPECT_EQ(colors->Text(), "YELLOW");
        EXPECT_FALSE(colors->popupVisible());
    }
}

// Each sequence runs from a fresh start with the panel open or closed: the
// events it raises, in order, and whether the panel is open after it. Arrow keys
// that move the focus are driven on a real window (tests/xcb).
TEST_F(ColorsTest, EventSequences) {
    const auto on = [&](N n) { notify("cmdMAINBTN", n); };
    const auto press = [&](int16_t button) { mouse("cmdMAINBTN", N::MouseDown, button); };
    const auto hover = [&](N n, int16_t button, float x) { mouse("cmdMAINBTN", n, button, x, 5); };
    const auto firstArg = [&](size_t i) { return rec.args.at(0).at(i); };
    struct Row {
        const char* what;
        bool openBefore;
        std::function<void()> act;
        QStringList events;
        bool openAfter;
    };
    // clang-format off
    const Row rows[] = {
        // Only a click after a left press opens the panel.
        {"left click", false, [&] { press(1); on(N::Click); }, {"MouseDown", "Click"}, true},
        {"click after a right press", false, [&] { press(2); on(N::Click); }, {"MouseDown"}, false},
        {"click after a middle press", false, [&] { press(4); on(N::Click); }, {"MouseDown"}, false},
        {"click, popup switched off", false, [&] { colors->setPopupEnabled(false); press(1); on(N::Click); },
         {"MouseDown", "PopUp", "Click"}, false},
        {"click while disabled", false, [&] { colors->setEnabled(false); press(1); on(N::Click); },
         {"MouseDown"}, false},
        {"a second click closes what the first opened", false,
         [&] { colors->UserControl_Click(); rec.clear(); colors->UserControl_Click(); },
         {"FocusHidden", "Click"}, false},
        // A double click presses first when the last press was the left button's.
        {"double click", false, [&] {
             on(N::DblClick);
             EXPECT_EQ(firstArg(0), Value(int16_t{1}));
             EXPECT_EQ(firstArg(1), Value(int16_t{1}));
         }, {"MouseDown", "DblClick"}, false},
        {"double click after a right press", false, [&] { press(2); on(N::DblClick); },
         {"MouseDown", "DblClick"}, false},
        // Hovering raises MouseOut on every move without a held button.
        {"hover, then press, drag and release", false, [&] {
             hover(N::MouseMove, 0, 5); hover(N::MouseDown, 1, 5);
             hover(N::MouseMove, 1, 6); hover(N::MouseUp, 1, 6);
         }, {"MouseOut", "MouseMove", "MouseDown", "MouseMove", "MouseUp"}, false},
        {"Space: a press and a release, then a click", false, [&] { key(N::KeyDown, 32); key(N::KeyUp, 32); },
         {"KeyDown", "MouseDown", "MouseUp", "Click", "KeyUp"}, true},
        // A press inside the panel previews without capture; one outside only closes.
        {"press inside, then outside the panel", true, [&] {
             at(N::MouseDown, "RED");
             EXPECT_EQ(platform.capture(), nullptr);
             EXPECT_TRUE(colors->popupVisible());
             panel(N::MouseDown, 1, {-5, -5});
         }, {"Change", "FocusHidden"}, false},
        {"a key over the panel is a release at its corner", true, [&] {
             notify("picDROPDOWNPANEL", N::KeyPress, {Value(int16_t{65})});
             EXPECT_EQ(firstArg(0), Value(int16_t{1}));
             EXPECT_EQ(firstArg(2), Value(0.0f));
         }, {"MouseUp", "FocusLost"}, true},
        // A character typed on the button closes the panel without an event of its own.
        {"a character on the button", true, [&] { notify("cmdMAINBTN", N::KeyPress, {Value(int16_t{65})}); },
         {"FocusHidden"}, false},
        {"the panel loses the focus", true, [&] { notify("picDROPDOWNPANEL", N::LostFocus); },
         {"FocusHidden"}, false},
        {"LostFocus", false, [&] { colors->LostFocus(); }, {"FocusLost", "MouseUp"}, false},
        {"ExitFocus", true, [&] { colors->ExitFocus(); }, {"FocusHidden", "FocusLost"}, false},
        {"UserControl_ExitFocus", false, [&] { colors->UserControl_ExitFocus(); }, {"FocusLost"}, false},
        // Keys on the button.
        {"Page Down opens", false, [&] { key(N::KeyDown, 34); }, {"Click", "KeyDown"}, true},
        {"Down opens", false, [&] { key(N::KeyDown, 40); }, {"Click", "KeyDown"}, true},
        {"Down closes", true, [&] { key(N::KeyDown, 40); }, {"FocusHidden", "Click", "KeyDown"}, false},
        {"Escape closes", true, [&] { key(N::KeyDown, 27); }, {"FocusHidden", "KeyDown"}, false},
        {"Escape while closed", false, [&] { key(N::KeyDown, 27); }, {"FocusHidden", "KeyDown"}, false},
        // The control goes on with the key code its host's handler, or a direct slot, left.
        {"the host turns Space into 'A': no press, and no Space release", false, [&] {
             rec.handler = [](int32_t number, std::span<Value* const> args) {
                 if (number == kEvKeyDown)
                     *args[0] = Value(int16_t{65});
             };
             key(N::KeyDown, 32);
             key(N::KeyUp, 32);
             rec.handler = nullptr;
         }, {"KeyDown", "KeyUp"}, false},
        {"a slot turns Space into 0", false, [&] {
             const auto c =
                 QObject::connect(colors.get(), &Colors::KeyDown, [](int16_t& code, int16_t&) { code = 0; });
             key(N::KeyDown, 32);
             QObject::disconnect(c);
         }, {"KeyDown"}, false},
    };
    // clang-format on
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        fresh(r.openBefore);
        r.act();
        EXPECT_EQ(rec.names, r.events);
        EXPECT_EQ(colors->popupVisible(), r.openAfter);
    }
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

// --- shades and painting ---------------------------------------------------------------

TEST_F(ColorsTest, DragOntoAnotherHueRebuildsAndRepaintsTheShades) {
    colors->setColor(kRed);
    colors->setPalette(AP8X4X4);
    const PaletteModel& m = colors->paletteModel();
    ASSERT_EQ(m.BaseCell().Name, "RED");
    fresh(true);
    at(N::MouseMove, "YELLOW");
    EXPECT_EQ(m.BaseCell().Name, "YELLOW");
    const ColorCell& first = m.ShadeGrid().front();
    EXPECT_EQ(first.Name, "BARLEY YELLOW");
    EXPECT_EQ(el("picDROPDOWNPANEL").Point(first.Left + 2.0f, first.Top + 2.0f),
              static_cast<int32_t>(first.Color));

    // Over a shade cell, and over a main cell without the button: the shades stay.
    at(N::MouseMove, "LIGHT YELLOW");
    at(N::MouseMove, "GREEN", 0);
    EXPECT_EQ(m.BaseCell().Name, "YELLOW");
    // The hidden frame follows the pointer, with or without the button.
    EXPECT_FALSE(el<ShapeElement>("shpBORDER").Visible());
    EXPECT_EQ(rect("shpBORDER"), QRectF(cell("GREEN").Left, cell("GREEN").Top, 14, 14));
    // Choosing a shade keeps its name.
    at(N::MouseUp, "LIGHT YELLOW");
    EXPECT_EQ(colors->Text(), "LIGHT YELLOW");
}

TEST_F(ColorsTest, CellsArePaintedWithTheirOutlines) {
    // Opened on one layout, switched to another while open: painted afresh.
    colors->setColor(kRed);
    colors->setPalette(AP8X2);
    const float sepTop = el("picfraSEPBAR").Top();
    const float rowLeft = el("lblCUSTOM1").Left();
    EXPECT_FLOAT_EQ(sepTop, 1337.0f / 15 - 35);
    colors->ShowPopUp();
    colors->setPalette(AP8X4X4);
    // A layout with shades leaves the separator and the custom row where the last one without put them.
    EXPECT_EQ(el("picfraSEPBAR").Top(), sepTop);
    EXPECT_EQ(el("lblCUSTOM1").Left(), rowLeft);
    const ColorCell& red = colors->paletteModel().MainGrid().front();
    const ColorCell& shade = colors->paletteModel().ShadeGrid().front();
    const auto px = [&](int x, int y) {
        return static_cast<uint32_t>(
            el("picDROPDOWNPANEL").Point(static_cast<float>(x), static_cast<float>(y)));
    };
    // Main cells: outline one pixel outside, face and shadow blended 150 : 105.
    EXPECT_EQ(px(red.Left, red.Top), kRed);
    EXPECT_EQ(px(red.Right - 1, red.Bottom - 1), kRed);
    EXPECT_EQ(px(red.Left - 1, red.Top - 1), 0x00AAAFB1u);
    EXPECT_EQ(px(red.Right, red.Bottom), 0x00AAAFB1u);
    // Shade cells: a button-face outline on their own edge.
    EXPECT_EQ(px(shade.Left, shade.Top), kFace);
    EXPECT_EQ(px(shade.Left + 1, shade.Top + 1), shade.Color);
    // The edge frame covers the whole panel.
    EXPECT_EQ(rect("shpEDGE").size(), QSizeF(1560.0f / 15, 1135.0f / 15));
}

// Where the panel opens near every edge is worked out without windows; here the
// window lands there: below or above, pulled back to the screen's right edge.
TEST_F(ColorsTest, PanelOpensBelowOrAboveWithinTheScreen) {
    struct Row {
        QPoint control;
        int screenW, screenH;
        bool below;
    };
    for (const Row& r : {Row{{1000, 300}, 1024, 768, true}, Row{{1010, 750}, 1024, 768, false},
                         Row{{600, 100}, 640, 480, true}}) {
        SCOPED_TRACE(testing::Message() << r.control.x() << "," << r.control.y());
        colors->HidePopUp();
        platform.setScreenRect(QRect(0, 0, r.screenW, r.screenH));
        platform.placeWindow(colors->site(), r.control);
        colors->ShowPopUp();
        const QRect g = colors->popupWidget()->geometry();
        EXPECT_EQ(r.below ? g.top() : g.bottom() + 1, r.control.y() + (r.below ? 23 + 1 : 1));
        EXPECT_EQ(g.right() + 1, r.screenW);
    }
}

TEST_F(ColorsTest, CustomColourFromTheDialog) {
    colors->setColor(kRed);
    const QString text = colors->Text();
    // Chosen, then cancelled: the colour stays the last one chosen.
    for (const std::optional<uint32_t> answer :
         {std::optional<uint32_t>(0x00123456u), std::optional<uint32_t>()}) {
        SCOPED_TRACE(answer.has_value());
        fresh(true);
        platform.queueColourAnswer(answer);
        const int dialogs = platform.colourDialogs();
        const PictureBoxElement& row = el("lblCUSTOM1");
        panel(N::MouseDown, 1, {row.Left() + 40.0, row.Top() + 7.0}); // the middle of the custom row
        EXPECT_EQ(platform.colourDialogs(), dialogs + 1);
        EXPECT_EQ(platform.lastDialogStart(), 0x00FFFFFFu); // the window background
        EXPECT_EQ(rec.names, answer ? L({"FocusHidden", "ChangeCustom"}) : L({"FocusHidden"}));
        EXPECT_EQ(rec.colours(), answer ? Colours{*answer} : Colours{});
        EXPECT_EQ(colors->Color(), 0x00123456u);
        EXPECT_EQ(colors->Text(), text); // the last palette choice keeps its name
        EXPECT_FALSE(colors->popupVisible());
    }
    // The label itself, and a press too near the panel's edge (which only closes).
    platform.queueColourAnswer(0x00654321u);
    notify("lblCUSTOM", N::Click);
    EXPECT_EQ(colors->Color(), 0x00654321u);
    fresh(true);
    const int dialogs = platform.colourDialogs();
    panel(N::MouseDown, 1, {5, el("lblCUSTOM1").Top() + 5.0});
    EXPECT_EQ(platform.colourDialogs(), dialogs);
    EXPECT_FALSE(colors->popupVisible());
}

// --- the face --------------------------------------------------------------------------------

TEST_F(ColorsTest, FaceLayoutAtAnySize) {
    struct Row {
        float twipsW, twipsH, frameW, frameH, sepLeft;
    };
    for (const Row& r : {Row{300, 300, 10, 10, 19}, Row{1125, 345, 65, 13, 74}, Row{90, 60, -4, -6, 5},
                         Row{0, 0, -10, -10, -1}}) {
        SCOPED_TRACE(r.twipsW);
        colors->site()->resizeTwips(r.twipsW, r.twipsH);
        EXPECT_EQ(rect("picfraCOLOR"), QRectF(5, 5, r.frameW, r.frameH));
        EXPECT_EQ(el<ShapeElement>("shpCOLOR").Width(), r.frameW);
        EXPECT_EQ(el("picsepBAR").Left(), r.sepLeft);
        EXPECT_EQ(el("picsepBAR").Height(), r.frameH - 1);
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
        EXPECT_EQ(el<ShapeElement>("shpCOLOR").Visible(), r.swatch);
        EXPECT_EQ(el<ShapeElement>("shpBORDERDIS").Visible(), r.outline);
        EXPECT_EQ(el("picIMAGEBOX").Visible(), r.picture);
        EXPECT_EQ(el("fraIMAGEBOXDIS").Visible(), r.disabledPicture);
        EXPECT_EQ(colors->site()->Enabled(), r.enabled);
    }
}

TEST_F(ColorsTest, BackColorAndThemes) {
    colors->setBackColor(0x00112233);
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

TEST_F(ColorsTest, TheAccessKeyRunsTheClickSequence) {
    colors->setCaption("Pick &Red");
    auto* shortcut = colors->widget()->findChild<QShortcut*>();
    ASSERT_NE(shortcut, nullptr);
    EXPECT_EQ(shortcut->key(), QKeySequence(Qt::ALT | Qt::Key_R));
    EXPECT_TRUE(shortcut->isEnabled());
    QMetaObject::invokeMethod(shortcut, "activated");
    EXPECT_TRUE(colors->popupVisible());
    EXPECT_EQ(rec.names, L({"Click"}));
    colors->setCaption("No key");
    EXPECT_FALSE(shortcut->isEnabled());
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
    EXPECT_EQ(el("picIMAGEBOX").Point(0, 0), 0x00030201);
    EXPECT_EQ(el("picIMAGEBOX").Point(1, 0), 0x00808080); // the enabled rule keeps grey
    EXPECT_EQ(el("picIMAGEBOX").Point(2, 0), 0x00FF0000);
    EXPECT_EQ(colors->Picture().image, keyed(11, 11)); // the picture itself is kept
    colors->setPictureDisabled(Picture{keyed(11, 11)});
    EXPECT_EQ(el("picIMAGEBOXDIS").Point(0, 0), 0x00030201);
    EXPECT_EQ(el("picIMAGEBOXDIS").Point(1, 0), 0x001E140A);

    platform.setFollowQtPalette(false);
    QApplication::setPalette(saved);

    // The disabled box is sized by the disabled picture once there is one.
    struct Row {
        int width;
        QSizeF enabled, disabled;
    };
    for (const Row& r : {Row{11, {410, 320}, {410, 320}}, Row{18, {520, 300}, {480, 405}},
                         Row{16, {480, 405}, {480, 405}}}) {
        SCOPED_TRACE(r.width);
        colors->setPicture(Picture{keyed(r.width, 16)});
        EXPECT_EQ(rect("picIMAGEBOXDIS").size(), r.enabled);
        EXPECT_EQ(el("fraIMAGEBOXDIS").Height(), 17);
        colors->setPictureDisabled(Picture{keyed(r.width, 16)});
        EXPECT_EQ(rect("picIMAGEBOXDIS").size(), r.disabled);
    }
    // No picture at all, and a huge one, are taken without trouble.
    colors->setPicture(Picture{});
    colors->setPicture(Picture{keyed(2000, 2000)});
    EXPECT_EQ(el("picIMAGEBOX").Width(), 2000);
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
    colors->setEnabled(false);
    colors->setPopupEnabled(false); // POPUPENABLED is saved only when off
    colors->setMaskHLightColor(0x00ABCDEF);
    PropertyBag bag;
    colors->WriteProperties(bag);

    QStringList keys;
    for (const auto& e : bag.entries())
        keys << e.key;
    EXPECT_EQ(keys, L({"FONT", "SELECTEDCOLOR", "Backcolor", "FORECOLOR", "ENABLED", "Palette",
                       "POPUPENABLED", "MASKHLIGHT", "BUTTONTYPE", "TOOLTIP", "TEXT", "FOCUSRECT",
                       "SHOWPICTURE", "FILLCOLOR", "BackcolorCUST", "ShowButtonCLR"}));
    EXPECT_EQ(bag.ReadProperty("ENABLED", Value()), Value(false));

    // Every saved value coming back is checked for every member by the round-trip tests.
    const auto back = loaded(bag);
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

// A layout outside the enumeration, set directly or through the dispatch
// interface, leaves the layout, the colour and the saved keys alone.
TEST_F(ColorsTest, DispatchAndPaletteRefusal) {
    const ClassInfo& info = colors->classInfo();
    const int32_t palette = info.memberByName(u"Palette")->dispId;
    Value result;
    std::vector<Value> args;
    colors->setColor(kRed);
    for (int32_t bad : {-1, 12, 1000000}) {
        colors->setPalette(bad);
        args = {Value(bad)};
        EXPECT_EQ(colors->invoke(palette, InvokeKind::Let, args, result), InvokeStatus::Ok);
        EXPECT_EQ(colors->Palette(), AP24X8);
        EXPECT_EQ(colors->Color(), kRed);
    }
    EXPECT_FALSE(colors->changedKeys().contains("Palette"));
    args = {Value(int32_t{AP8X2})};
    EXPECT_EQ(colors->invoke(palette, InvokeKind::Let, args, result), InvokeStatus::Ok);
    EXPECT_EQ(colors->Palette(), AP8X2);
    EXPECT_EQ(colors->paletteModel().MainGrid().size(), 16u);
    EXPECT_EQ(colors->Text(), "RED");
    EXPECT_TRUE(colors->changedKeys().contains("Palette"));
    args = {Value(QStringLiteral("x"))};
    EXPECT_EQ(colors->invoke(palette, InvokeKind::Let, args, result), InvokeStatus::TypeMismatch);
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
}

TEST_F(ColorsTest, QColorAccessor) {
    colors->setQColor(QColor(1, 2, 3));
    EXPECT_EQ(colors->Color(), 0x00030201u);
    colors->setColor(0x8000000F);
    EXPECT_EQ(colors->qColor(), QColor(212, 208, 200));
    colors->setColor(0x800000FF); // no such system colour
    EXPECT_FALSE(colors->qColor().isValid());
}
