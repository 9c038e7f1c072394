// Sections: construction, events and reports, lifecycle, members, persistence.
#include "colors/colors.h"

#include "colors/colors_accessible_p.h"
#include "colors/colors_p.h"

#include "frame/colour/colour_p.h"
#include "frame/elements/commandbutton_element_p.h"
#include "frame/elements/label_element_p.h"
#include "frame/elements/picturebox_element_p.h"
#include "frame/elements/shape_element_p.h"
#include "frame/platform/platform_p.h"
#include "frame/runtime/site.h"
#include "frame/timer/clsm_timer_p.h"
#include "frame/values/convert_p.h"
#include "frame/values/guarded_p.h"
#include "frame/values/property_bag.h"

#include <QShortcut>

namespace korva {

namespace {

constexpr uint32_t kButtonFace = 0x8000000Fu;
constexpr uint32_t kButtonText = 0x80000012u;
constexpr uint32_t kWindowBackground = 0x80000005u;
constexpr uint32_t kButtonShadow = 0x80000010u;
constexpr uint32_t kMenu = 0x80000004u;
constexpr uint32_t kWindowText = 0x80000008u;
constexpr int32_t kDefaultChosen = 2; // what "SELECTEDCOLOR" falls back to

template <class F> void guarded(const char* what, F&& f) { runGuarded(what, std::forward<F>(f)); }

} // namespace

// --- construction -------------------------------------------------------------

Colors::Colors() : Control(staticClassInfo()), d(std::make_unique<ColorsPrivate>(*this)) {
    d->createElements();
    d->wireElements();
    d->model.SetSizePanelHook([this](const PaletteModel& m) { d->SizePanel(m); });
    site()->setAccessibleDescription(QStringLiteral("colour picker button"));
    // Screen readers name the button after the chosen colour, as its swatch shows it.
    connect(this, &Colors::colourChanged, this, [this] { site()->setAccessibleName(Text()); });
    announceAccessibleChanges(*this);
}

Colors::~Colors() = default;
ColorsPrivate::ColorsPrivate(Colors& owner) : q(owner) {}
ColorsPrivate::~ColorsPrivate() = default;

std::unique_ptr<Colors> Colors::createNew() {
    auto c = std::make_unique<Colors>();
    c->Initialize();
    c->InitProperties();
    c->Resize();
    return c;
}

void ColorsPrivate::createElements() {
    // Every position on the control and in the panel is in pixels; the design
    // values below are given in them.
    q.site()->setScaleMode(ScaleMode::Pixels);
    // The face: the button under everything, the swatch frame and the
    // separator over it, the pictures in front. The swatch, separator and
    // picture boxes let the mouse through to the button.
    cmdMAINBTN = q.addElement<CommandButtonElement>(q, QStringLiteral("cmdMAINBTN"));
    cmdMAINBTN->Move(0, 0, 75, 23);

    picfraCOLOR = q.addElement<PictureBoxElement>(q, QStringLiteral("picfraCOLOR"));
    picfraCOLOR->setScaleMode(ScaleMode::Pixels);
    picfraCOLOR->setEnabled(false);
    shpCOLOR = q.addElement<ShapeElement>(q, QStringLiteral("shpCOLOR"));
    shpCOLOR->setContainer(picfraCOLOR);
    shpCOLOR->setFillStyle(ShapeElement::FillSolid);
    shpCOLOR->setBorderColor(kButtonShadow);
    shpBORDERDIS = q.addElement<ShapeElement>(q, QStringLiteral("shpBORDERDIS"));
    shpBORDERDIS->setContainer(picfraCOLOR);
    shpBORDERDIS->setBorderColor(kButtonShadow);
    shpBORDERDIS->setVisible(false);

    picsepBAR = q.addElement<PictureBoxElement>(q, QStringLiteral("picsepBAR"));
    picsepBAR->setScaleMode(ScaleMode::Pixels);
    picsepBAR->setEnabled(false);
    picsepBAR->setBackColor(kButtonFace);

    picIMAGEBOX = q.addElement<PictureBoxElement>(q, QStringLiteral("picIMAGEBOX"));
    picIMAGEBOX->setScaleMode(ScaleMode::Pixels);
    picIMAGEBOX->setEnabled(false);
    picIMAGEBOX->setVisible(false);
    fraIMAGEBOXDIS = q.addElement<PictureBoxElement>(q, QStringLiteral("fraIMAGEBOXDIS"));
    fraIMAGEBOXDIS->setEnabled(false);
    fraIMAGEBOXDIS->setVisible(false);
    fraIMAGEBOXDIS->Move(8, 4, 33, 28);
    picIMAGEBOXDIS = q.addElement<PictureBoxElement>(q, QStringLiteral("picIMAGEBOXDIS"));
    picIMAGEBOXDIS->setContainer(fraIMAGEBOXDIS);
    picIMAGEBOXDIS->setScaleMode(ScaleMode::Pixels);
    picIMAGEBOXDIS->setEnabled(false);

    // The drop-down and what lies in it; hidden until it opens.
    picDROPDOWNPANEL = q.addElement<PictureBoxElement>(q, QStringLiteral("picDROPDOWNPANEL"));
    picDROPDOWNPANEL->setVisible(false);
    // A window of its own from the start (Initialize asks again); its extent is
    // then in screen twips, its content in pixels.
    picDROPDOWNPANEL->makeToolWindow();
    picDROPDOWNPANEL->setScaleMode(ScaleMode::Pixels);
    picDROPDOWNPANEL->setBackColor(kMenu);
    picDROPDOWNPANEL->Move(0, 0, 2955, 525);

    picfraSEPBAR = q.addElement<PictureBoxElement>(q, QStringLiteral("picfraSEPBAR"));
    picfraSEPBAR->setContainer(picDROPDOWNPANEL);
    picfraSEPBAR->setScaleMode(ScaleMode::Pixels);
    picfraSEPBAR->setBackColor(kMenu);
    picfraSEPBAR->setEnabled(false);
    lblCUSTOM1 = q.addElement<PictureBoxElement>(q, QStringLiteral("lblCUSTOM1"));
    lblCUSTOM1->setContainer(picDROPDOWNPANEL);
    lblCUSTOM1->setBackColor(kMenu);
    // A press on the row or its label keeps the focus on the panel: the panel
    // closes when it loses the focus, and the click has yet to open the dialog.
    lblCUSTOM1->refuseFocus();
    lblCUSTOM = q.addElement<LabelElement>(q, QStringLiteral("lblCUSTOM"));
    lblCUSTOM->setContainer(lblCUSTOM1);
    lblCUSTOM->setCaption(QStringLiteral("More colors"));
    lblCUSTOM->setAlignment(LabelElement::Center);
    lblCUSTOM->setBackStyle(LabelElement::Transparent);
    lblCUSTOM->setForeColor(kWindowText);
    FontSpec tahoma;
    tahoma.name = QStringLiteral("Tahoma");
    tahoma.size = 8.25;
    lblCUSTOM->setFont(tahoma);
    lblCUSTOM->Move(0, 0, 1155, 255);

    shpEDGE = q.addElement<ShapeElement>(q, QStringLiteral("shpEDGE"));
    shpEDGE->setContainer(picDROPDOWNPANEL);
    shpEDGE->setBorderColor(kButtonShadow);
    shpEDGE->setBackColor(kMenu);
    shpBORDER = q.addElement<ShapeElement>(q, QStringLiteral("shpBORDER"));
    shpBORDER->setContainer(picDROPDOWNPANEL);
    shpBORDER->setBorderColor(kButtonShadow);
    shpBORDER->setBackColor(kWindowBackground);
    shpBORDER->setVisible(false);

    // Design positions in pixels of the panel (the panel's scale is pixels
    // from the start; the label lies in its twips-scaled row box).
    picfraSEPBAR->Move(3, 7, 188, 10);
    lblCUSTOM1->Move(58, 18, 80, 15);
    shpEDGE->Move(0, 0, 197, 35);
    shpBORDER->Move(0, 0, 19, 19);

    accessShortcut = new QShortcut(q.site());
    accessShortcut->setContext(Qt::WindowShortcut);
    accessShortcut->setEnabled(false);
    QObject::connect(accessShortcut, &QShortcut::activated, &q,
                     [this] { guarded("the access key of Colors", [&] { clickSequence(); }); });
}

void ColorsPrivate::wireElements() {
    // The button's input is the control's own, and the focus the control is
    // given (by Tab or by the host) goes to the button, which handles the keys.
    q.site()->setFocusProxy(cmdMAINBTN->widget());
    ElementHandlers& button = cmdMAINBTN->handlers();
    button.onClick = [this] { clickSequence(); };
    button.onDblClick = [this] { buttonDblClick(); };
    button.onMouseDown = [this](int16_t b, int16_t s, float x, float y) { buttonMouseDown(b, s, x, y); };
    button.onMouseMove = [this](int16_t b, int16_t s, float x, float y) { buttonMouseMove(b, s, x, y); };
    button.onMouseUp = [this](int16_t b, int16_t s, float x, float y) { buttonMouseUp(b, s, x, y); };
    button.onKeyDown = [this](int16_t& code, int16_t shift) {
        const int16_t pressed = code;
        buttonKeyDown(code, shift);
        // Space is the control's own press and release; the push button must
        // not click a second time on it.
        if (pressed == 32)
            code = 0;
    };
    button.onKeyPress = [this](int16_t&) { buttonKeyPress(); };
    button.onKeyUp = [this](int16_t& code, int16_t shift) { buttonKeyUp(code, shift); };

    ElementHandlers& panel = picDROPDOWNPANEL->handlers();
    panel.onMouseMove = [this](int16_t b, int16_t s, float x, float y) { panelMouseMove(b, s, x, y); };
    panel.onMouseDown = [this](int16_t b, int16_t s, float x, float y) { panelMouseDown(b, s, x, y); };
    panel.onMouseUp = [this](int16_t b, int16_t s, float x, float y) { panelMouseUp(b, s, x, y); };
    panel.onKeyPress = [this](int16_t&) { panelKeyPress(); };
    panel.onLostFocus = [this] { panelLostFocus(); };

    lblCUSTOM->handlers().onMouseMove = [this](int16_t, int16_t, float, float) {
        lblCUSTOM->setCursor(CursorShape::Hand);
    };
    lblCUSTOM->handlers().onClick = [this] { ChooseCustomColor(); };
}

// --- events and reports -------------------------------------------------------

void ColorsPrivate::report(const char* key) { q.PropertyChanged(QString::fromLatin1(key)); }

void ColorsPrivate::raise(ColorsEvent number) {
    q.RaiseEvent(number);
    switch (number) {
    case kEvClick:
        emit q.Click();
        break;
    case kEvDblClick:
        emit q.DblClick();
        break;
    case kEvFocusHidden:
        emit q.FocusHidden();
        break;
    case kEvFocusLost:
        emit q.FocusLost();
        break;
    case kEvPopUp:
        emit q.PopUp();
        break;
    default:
        break;
    }
}

void ColorsPrivate::raiseColour(ColorsEvent number, uint32_t colour) {
    Value v(Colour{colour});
    Value* args[] = {&v};
    q.RaiseEvent(number, args);
    valueToColour(v, colour);
    if (number == kEvChange)
        emit q.Change(colour);
    else
        emit q.ChangeCustom(colour);
}

void ColorsPrivate::raiseKey(ColorsEvent number, int16_t& keyCode, int16_t& shift) {
    q.RaiseKeyEvent(number, keyCode, shift);
    if (number == kEvKeyDown)
        emit q.KeyDown(keyCode, shift);
    else
        emit q.KeyUp(keyCode, shift);
}

void ColorsPrivate::raiseMouse(ColorsEvent number, int16_t& button, int16_t& shift, float& x, float& y) {
    q.RaiseMouseEvent(number, button, shift, x, y);
    switch (number) {
    case kEvMouseDown:
        emit q.MouseDown(button, shift, x, y);
        break;
    case kEvMouseMove:
        emit q.MouseMove(button, shift, x, y);
        break;
    case kEvMouseOut:
        emit q.MouseOut(button, shift, x, y);
        break;
    default:
        emit q.MouseUp(button, shift, x, y);
        break;
    }
}

uint32_t ColorsPrivate::systemColour(int index) const {
    uint32_t rgb = 0;
    Platform::instance().systemColour(index, rgb);
    return rgb;
}

// --- lifecycle ----------------------------------------------------------------

void Colors::onInitialize() {
    d->positionDefault = true;
    d->picIMAGEBOX->setVisible(false);
    d->fraIMAGEBOXDIS->setVisible(false);
    d->buttonDown = false;
    d->lastButton = 1;
    d->setTheme();
    d->picDROPDOWNPANEL->makeToolWindow();
    site()->setScaleMode(ScaleMode::Pixels);
    d->picDROPDOWNPANEL->setScaleMode(ScaleMode::Pixels);
    for (Element* e : elements())
        e->relayout();
    d->cls_TIMER = std::make_unique<clsm_TIMER>();
    d->cls_TIMER->setInterval(450);
    d->cls_TIMER->setEnabled(false);
    d->lastButton = 1;
    d->setTheme();
    d->layout();
    const auto face = static_cast<uint32_t>(TranslateColor(kButtonFace));
    d->letBackColor(face);
    d->fraIMAGEBOXDIS->setBackColor(face);
}

void Colors::onInitProperties() {
    site()->resizeTwips(1125, 345);
    d->positionDefault = true;
    d->picIMAGEBOX->setVisible(false);
    d->fraIMAGEBOXDIS->setVisible(false);
    d->focusRect = true;
    d->font = d->controlFont;
    d->buttonType = 1;
    d->backColor = d->systemColour(15);
    d->foreColor = d->systemColour(18);
    d->controlFont = site()->AmbientFont();
    d->model.SetPaletteValue(AP24X8);
    d->model.SetSelectedColor(kDefaultChosen);
    d->model.RebuildPalette();
    d->enabled = true;
    setPopupEnabled(true);
    setShowButtonColor(true);
    // Stored directly: the leading blanks are kept and no access key is made.
    d->caption = QStringLiteral("   Button");
    setBackColor(kButtonFace);
    emit paletteChanged();
    emit colourChanged();
}

void Colors::onResize() { d->layout(); }

// The focus going into the panel is no loss (the site sees the panel as the
// control's). Closing the panel hands the focus back to the button; where the
// button cannot take it (its window is not shown), that is still no loss.
void Colors::onLostFocus() {
    if (d->hidingPanel)
        return;
    d->buttonDown = false;
    d->raise(kEvFocusLost);
    d->raiseMouseCopy(kEvMouseUp, 1, 0, 0, 0);
}

void Colors::onExitFocus() {
    if (d->hidingPanel)
        return;
    UserControl_ExitFocus();
}

void Colors::onTerminate() {
    d->cls_TIMER.reset();
    // No window region is ever created, so there is none to free.
}

// --- members ------------------------------------------------------------------

uint32_t Colors::ActiveColor() const { return d->model.ActiveCell().Color; }
QString Colors::ActiveText() const { return QString::fromStdString(d->model.ActiveCell().Name); }
QString Colors::Text() const { return QString::fromStdString(d->model.SelectedCell().Name); }

uint32_t Colors::BackColor() const { return d->backColor; }
void Colors::setBackColor(uint32_t NewColor) {
    guarded("Colors.BackColor", [&] { d->letBackColor(NewColor); });
}

bool Colors::BackcolorCustom() const { return d->backcolorCustom; }
// Only lays out: the face keeps its colours until the next BackColor let or SetTheme.
void Colors::setBackcolorCustom(bool on) {
    guarded("Colors.BackcolorCustom", [&] {
        d->backcolorCustom = on;
        d->report("BackcolorCUST");
        d->layout();
        emit lookChanged();
    });
}

bool Colors::MousePosn() const { return d->mousePosn; }
void Colors::setMousePosn(bool on) {
    if (d->mousePosn == on)
        return;
    d->mousePosn = on;
    emit hoverChanged();
}

bool Colors::bPOSITIONDEFAULT() const { return d->positionDefault; }
void Colors::setbPOSITIONDEFAULT(bool on) {
    d->positionDefault = on;
    emit popupSettingsChanged();
}

int32_t Colors::ButtonType() const { return d->buttonType; }
void Colors::setButtonType(int32_t v) {
    guarded("Colors.ButtonType", [&] {
        d->buttonType = v;
        d->layout();
        d->report("BUTTONTYPE");
        d->layout();
        emit lookChanged();
    });
}

QString Colors::Caption() const { return d->caption; }
void Colors::setCaption(const QString& sCaption) {
    guarded("Colors.Caption", [&] {
        d->caption = sCaption;
        d->setAccessKey();
        d->report("TEXT");
        d->layout();
        emit lookChanged();
    });
}

uint32_t Colors::Color() const { return d->color; }
void Colors::setColor(uint32_t NewColor) {
    guarded("Colors.Color", [&] {
        d->color = NewColor;
        d->model.SetSelectedColor(NewColor);
        d->shpCOLOR->setFillColor(NewColor);
        d->setTheme();
        d->report("FILLCOLOR");
        d->layout();
        emit colourChanged();
    });
}

QColor Colors::qColor() const {
    const int32_t rgb = TranslateColor(d->color);
    if (rgb < 0)
        return {};
    const auto c = static_cast<uint32_t>(rgb);
    return QColor(redOf(c), greenOf(c), blueOf(c));
}
void Colors::setQColor(const QColor& c) {
    if (c.isValid())
        setColor(korva::rgb(c.red(), c.green(), c.blue()));
}

bool Colors::Enabled() const { return d->enabled; }
void Colors::setEnabled(bool NewEnabled) {
    guarded("Colors.Enabled", [&] {
        d->enabled = NewEnabled;
        if (!NewEnabled)
            d->fraIMAGEBOXDIS->setVisible(true);
        d->updateSwatch();
        d->updatePictures();
        d->report("ENABLED");
        emit lookChanged();
    });
}

bool Colors::FocusRect() const { return d->focusRect; }
void Colors::setFocusRect(bool on) {
    guarded("Colors.FocusRect", [&] {
        d->focusRect = on;
        d->report("FOCUSRECT");
        d->layout();
        emit lookChanged();
    });
}

FontSpec Colors::Font() const { return d->font; }
void Colors::setFont(const FontSpec& f) {
    guarded("Colors.Font", [&] {
        d->font = f;
        d->report("FONT");
        d->layout();
        emit lookChanged();
    });
}

uint32_t Colors::ForeColor() const { return d->foreColor; }
void Colors::setForeColor(uint32_t c) {
    guarded("Colors.ForeColor", [&] {
        d->foreColor = c;
        d->setTheme();
        d->report("FORECOLOR");
        d->layout();
        emit lookChanged();
    });
}

quintptr Colors::hWnd() const { return site() ? site()->hWnd() : 0; }

uint32_t Colors::MaskHLightColor() const { return d->maskHLight; }
void Colors::setMaskHLightColor(uint32_t c) {
    guarded("Colors.MaskHLightColor", [&] {
        d->maskHLight = c;
        d->report("MASKHLIGHTCOLOR");
        d->layout();
        emit lookChanged();
    });
}

int32_t Colors::Palette() const { return d->model.Palette(); }
void Colors::setPalette(int32_t v) {
    guarded("Colors.Palette", [&] {
        // A value outside the enumeration would leave no layout to draw; the
        // previous layout, its grids and the chosen colour stay.
        if (!d->model.SetPalette(v))
            return;
        d->report("Palette");
        emit paletteChanged();
        emit colourChanged();
    });
}

Picture Colors::Picture() const { return d->picIMAGEBOX->picture(); }
void Colors::setPicture(const korva::Picture& p) {
    guarded("Colors.Picture", [&] { d->setPicture(p); });
}
Picture Colors::PictureDisabled() const { return d->picIMAGEBOXDIS->picture(); }
void Colors::setPictureDisabled(const korva::Picture& p) {
    guarded("Colors.PictureDisabled", [&] { d->setPictureDisabled(p); });
}

bool Colors::PictureVisible() const { return d->pictureVisible; }
void Colors::setPictureVisible(bool on) {
    guarded("Colors.PictureVisible", [&] {
        d->pictureVisible = on;
        d->report("PICTUREVisible");
        d->updatePictures();
        d->layout();
        emit lookChanged();
    });
}

bool Colors::PopupEnabled() const { return d->popupEnabled; }
void Colors::setPopupEnabled(bool on) {
    d->popupEnabled = on;
    d->report("POPUPENABLED");
    emit popupSettingsChanged();
}

bool Colors::ShowButtonColor() const { return d->showButtonColor; }
void Colors::setShowButtonColor(bool on) {
    guarded("Colors.ShowButtonColor", [&] {
        d->showButtonColor = on;
        d->updateSwatch();
        d->report("ShowButtonCLR");
        d->layout();
        emit lookChanged();
    });
}

const PaletteModel& Colors::paletteModel() const { return d->model; }

bool Colors::popupVisible() const { return d->panelVisible(); }
QWidget* Colors::popupWidget() const { return d->picDROPDOWNPANEL->widget(); }
QWidget* Colors::popupWidgetIfMade() const { return d->picDROPDOWNPANEL->existingWidget(); }

void Colors::ShowPopUp() {
    guarded("Colors.ShowPopUp", [&] { d->showPopUp(); });
}
void Colors::HidePopUp() {
    guarded("Colors.HidePopUp", [&] { d->hidePopUp(); });
}
void Colors::SetTheme() {
    guarded("Colors.SetTheme", [&] { d->setTheme(); });
}
void Colors::UserControl_Click() {
    guarded("Colors.UserControl_Click", [&] { d->clickSequence(); });
}
void Colors::UserControl_ExitFocus() {
    guarded("Colors.UserControl_ExitFocus", [&] {
        if (d->panelVisible())
            d->hidePopUp();
        d->raise(kEvFocusLost);
    });
}
void Colors::UserControlMouseOut(int16_t& Button, int16_t& Shift, float& X, float& Y) {
    guarded("Colors.UserControlMouseOut", [&] { d->mouseOut(Button, Shift, X, Y); });
}

// --- persistence --------------------------------------------------------------

namespace {

bool readFont(const PropertyBag& bag, const QString& key, const Value& def, FontSpec& out) {
    const Value v = bag.ReadProperty(key, def);
    if (const FontSpec* f = v.ptr<FontSpec>()) {
        out = *f;
        return true;
    }
    return false;
}

// A saved picture that is not a picture (a string, a number) is skipped; an
// absent one reads as no picture.
bool readPicture(const PropertyBag& bag, const QString& key, Picture& out) {
    const Value v = bag.ReadProperty(key, Value());
    if (v.isEmpty()) {
        out = {};
        return true;
    }
    if (const Picture* p = v.ptr<Picture>()) {
        out = *p;
        return true;
    }
    return false;
}

} // namespace

void Colors::onReadProperties(const PropertyBag& bag) {
    auto key = [](const char* k) { return QString::fromLatin1(k); };
    auto readBool = [&](const char* k, bool def, bool& out) {
        valueToBool(bag.ReadProperty(key(k), Value(def)), out);
    };
    auto readColour = [&](const char* k, uint32_t def, uint32_t& out) {
        valueToColour(bag.ReadProperty(key(k), Value(Colour{def})), out);
    };
    const uint32_t face = d->systemColour(15);

    FontSpec f;
    if (readFont(bag, key("FONT"), Value(), f))
        setFont(f);
    if (readFont(bag, key("FONT"), Value(d->controlFont), f)) {
        d->font = f;
        d->controlFont = f;
    }

    int32_t layout = d->model.Palette();
    if (valueToLong(bag.ReadProperty(key("Palette"), Value(int32_t{AP24X8})), layout))
        d->model.SetPaletteValue(layout); // refuses a value outside the enumeration
    readBool("POPUPENABLED", true, d->popupEnabled);
    uint32_t chosen = kDefaultChosen;
    readColour("SELECTEDCOLOR", kDefaultChosen, chosen);

    d->model.BuildMainGrid();
    if (d->model.HasShades()) {
        d->model.SetBaseCell(d->model.NearestBaseCell(chosen));
        d->model.BuildShadeGrid();
    }
    d->SizePanel(d->model);

    readBool("BackcolorCUST", false, d->backcolorCustom);
    d->model.SetSelectedCell(d->model.FindCell(chosen));
    ColorCell inactive = d->model.ActiveCell();
    inactive.IsValid = ColorCell::kFalse;
    d->model.SetActiveCell(inactive);

    readBool("ShowButtonCLR", true, d->showButtonColor);
    korva::Picture pic;
    if (readPicture(bag, key("PICTURE"), pic))
        setPicture(pic);
    if (readPicture(bag, key("PICTUREDISABLED"), pic))
        setPictureDisabled(pic);

    readColour("MASKHLIGHTCOLOR", kButtonFace, d->maskHLight);
    valueToLong(bag.ReadProperty(key("BUTTONTYPE"), Value(int32_t{1})), d->buttonType);
    valueToString(bag.ReadProperty(key("TEXT"), Value(QStringLiteral("Button"))), d->caption);
    valueToString(bag.ReadProperty(key("TOOLTIP"), Value(QString())), d->tooltip);
    readBool("ENABLED", true, d->enabled);

    if (!d->enabled)
        d->fraIMAGEBOXDIS->setVisible(true);

    if (bag.contains(key("Backcolor"))) {
        uint32_t back = 0;
        if (valueToColour(bag.ReadProperty(key("Backcolor"), Value()), back))
            site()->setBackColor(back);
    }

    readBool("FOCUSRECT", true, d->focusRect);
    bool showPicture = false;
    if (valueToBool(bag.ReadProperty(key("SHOWPICTURE"), Value(false)), showPicture))
        setPictureVisible(showPicture);

    readColour("Backcolor", face, d->backColor);
    readColour("FORECOLOR", d->systemColour(18), d->foreColor);
    readColour("FILLCOLOR", face, d->color);

    d->cmdMAINBTN->setBackColor(site()->BackColor());

    d->shpCOLOR->setFillColor(d->color);
    d->model.SetSelectedColor(d->color);
    setColor(d->color);

    uint32_t fore = kButtonText;
    if (valueToColour(bag.ReadProperty(key("FORECOLOR"), Value(Colour{kButtonText})), fore))
        site()->setForeColor(fore);

    d->setTheme();
    d->setAccessKey();
    d->releaseCapture();
    setMousePosn(false);

    d->picfraCOLOR->setBackColor(static_cast<uint32_t>(BlendColor(kButtonFace, kWindowBackground, 140)));
    emit paletteChanged();
    emit colourChanged();
    emit lookChanged();
}

// "MASKHLIGHT" is written where "MASKHLIGHTCOLOR" is read, so the value never
// comes back from a save: controls saved long ago depend on loading with the
// system button face. Four keys are written twice; the second value stands.
void Colors::onWriteProperties(PropertyBag& bag) {
    auto key = [](const char* k) { return QString::fromLatin1(k); };
    auto colour = [](uint32_t c) { return Value(Colour{c}); };
    bag.WriteProperty(key("FONT"), Value(d->font), Value());
    bag.WriteProperty(key("SELECTEDCOLOR"), colour(d->model.SelectedCell().Color), colour(kDefaultChosen));
    bag.WriteProperty(key("Backcolor"), colour(site()->BackColor()), colour(kWindowBackground));
    bag.WriteProperty(key("FORECOLOR"), colour(site()->ForeColor()), colour(kButtonText));
    bag.WriteProperty(key("ENABLED"), Value(site()->Enabled()), Value(true));
    bag.WriteProperty(key("Palette"), Value(int32_t{d->model.Palette()}), Value(int32_t{AP24X8}));
    bag.WriteProperty(key("POPUPENABLED"), Value(d->popupEnabled), Value(true));
    bag.WriteProperty(key("MASKHLIGHT"), colour(d->maskHLight), colour(kButtonFace));
    bag.WriteProperty(key("PICTURE"), Value(d->picIMAGEBOX->picture()), Value(korva::Picture{}));
    bag.WriteProperty(key("PICTUREDISABLED"), Value(d->picIMAGEBOXDIS->picture()), Value(korva::Picture{}));
    bag.WriteProperty(key("BUTTONTYPE"), Value(d->buttonType));
    bag.WriteProperty(key("TOOLTIP"), Value(d->tooltip));
    bag.WriteProperty(key("TEXT"), Value(d->caption));
    bag.WriteProperty(key("ENABLED"), Value(d->enabled));
    bag.WriteProperty(key("FONT"), Value(d->font));
    bag.WriteProperty(key("FOCUSRECT"), Value(d->focusRect));
    bag.WriteProperty(key("SHOWPICTURE"), Value(d->pictureVisible));
    bag.WriteProperty(key("Backcolor"), colour(d->backColor));
    bag.WriteProperty(key("FORECOLOR"), colour(d->foreColor));
    bag.WriteProperty(key("FILLCOLOR"), colour(d->color));
    bag.WriteProperty(key("BackcolorCUST"), Value(d->backcolorCustom));
    bag.WriteProperty(key("ShowButtonCLR"), Value(d->showButtonColor));
}

} // namespace korva
