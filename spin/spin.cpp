// Sections: catalogue entry; elements and their wiring; the component by
// dispatch identifier; stepping and validation; layout; members; lifecycle;
// dispatch.
#include "spin/spin.h"

#include "frame/colour/colour_p.h"
#include "frame/component/catalogue_p.h"
#include "frame/elements/combobox_element_p.h"
#include "frame/elements/label_element_p.h"
#include "frame/elements/picturebox_element_p.h"
#include "frame/elements/textbox_element_p.h"
#include "frame/platform/key_codes_p.h"
#include "frame/platform/platform_p.h"
#include "frame/runtime/control_accessible_p.h"
#include "frame/runtime/site.h"
#include "frame/values/convert_p.h"
#include "frame/values/property_bag.h"
#include "spin/spin_input_p.h"
#include "spin/spin_layout_p.h"
#include "spin/spin_p.h"
#include "spin/updown_element_p.h"

#include <QScopedValueRollback>

#include <cmath>

namespace korva {

namespace {

constexpr uint32_t kWindowBackground = 0x80000005u;
constexpr uint32_t kWindowText = 0x80000008u;
constexpr uint32_t kButtonFace = 0x8000000Fu;
// The disabled background: 140/255 button face, the rest window background.
constexpr int32_t kDisabledWeight = 140;
// The frame's width is nudged by this and back, so that it repaints.
constexpr float kFrameNudge = 15.0f;

enum MemberN {
    kThousandsSeparatorN = 0x00,
    kTextN = 0x01,
    kSyncBuddyN = 0x02,
    kMinN = 0x03,
    kMaxLengthN = 0x04,
    kMaxN = 0x05,
    kIntervalN = 0x06,
    kForeColorN = 0x07,
    kEnabledN = 0x08,
    kBuddyAlignmentN = 0x09,
    kBorderStyleN = 0x0A,
    kBackColorN = 0x0B,
    kAllowDecpointN = 0x0C,
    kAllowArrowKeysN = 0x0D,
    kAlignmentN = 0x0E,
    kDecimalpointCheckN = 0x0F,
    kKeyLockN = 0x10,
    kRefreshN = 0x11,
};

enum EventN : int32_t {
    kChange = 1,
    kClick = 2,
    kDblClick = 3,
    kDownClick = 4,
    kKeyDown = 5,
    kKeyPress = 6,
    kKeyUp = 7,
    kMouseDown = 8,
    kMouseMove = 9,
    kMouseUp = 10,
    kUpClick = 11,
};

std::vector<MemberInfo> spinMembers() {
    const auto prop = [](const char* name, int n, ValueType t) {
        return MemberInfo{QString::fromLatin1(name), propertyId(n), kGet | kLet, t, {}};
    };
    return {
        prop("ThousandsSeparator", kThousandsSeparatorN, ValueType::Boolean),
        prop("Text", kTextN, ValueType::String),
        prop("SyncBuddy", kSyncBuddyN, ValueType::Boolean),
        prop("Min", kMinN, ValueType::Long),
        prop("MaxLength", kMaxLengthN, ValueType::Long),
        prop("Max", kMaxN, ValueType::Long),
        prop("Interval", kIntervalN, ValueType::Double),
        prop("ForeColor", kForeColorN, ValueType::Colour),
        prop("Enabled", kEnabledN, ValueType::Boolean),
        prop("BuddyAlignment", kBuddyAlignmentN, ValueType::Long),
        prop("BorderStyle", kBorderStyleN, ValueType::Long),
        prop("BackColor", kBackColorN, ValueType::Colour),
        prop("AllowDecpoint", kAllowDecpointN, ValueType::Boolean),
        prop("AllowArrowKeys", kAllowArrowKeysN, ValueType::Boolean),
        prop("Alignment", kAlignmentN, ValueType::Long),
        {QStringLiteral("DecimalpointCheck"),
         methodId(kDecimalpointCheckN),
         kCall,
         ValueType::Long,
         {{QStringLiteral("Number"), ValueType::String, false, false}}},
        {QStringLiteral("KeyLock"),
         methodId(kKeyLockN),
         kCall,
         ValueType::Integer,
         {{QStringLiteral("KeyAscii"), ValueType::Long, false, false},
          {QStringLiteral("Extra_Check"), ValueType::Boolean, false, false},
          {QStringLiteral("Extra_sText"), ValueType::String, true, false}}},
        {QStringLiteral("Refresh"), methodId(kRefreshN), kCall, ValueType::Empty, {}},
        {QStringLiteral("Font"), kDispIdFont, kGet | kSet, ValueType::Font, {}},
    };
}

std::vector<EventInfo> spinEvents() {
    const ParamInfo code{QStringLiteral("KeyCode"), ValueType::Integer, true, false};
    const ParamInfo shift{QStringLiteral("Shift"), ValueType::Integer, true, false};
    const std::vector<ParamInfo> mouse = {{QStringLiteral("Button"), ValueType::Integer, true, false},
                                          shift,
                                          {QStringLiteral("X"), ValueType::Single, true, false},
                                          {QStringLiteral("Y"), ValueType::Single, true, false}};
    return {
        {QStringLiteral("Change"), kChange, {}},
        {QStringLiteral("Click"), kClick, {}},
        {QStringLiteral("DblClick"), kDblClick, {}},
        {QStringLiteral("DownClick"), kDownClick, {}},
        {QStringLiteral("KeyDown"), kKeyDown, {code, shift}},
        {QStringLiteral("KeyPress"),
         kKeyPress,
         {{QStringLiteral("KeyAscii"), ValueType::Integer, true, false}}},
        {QStringLiteral("KeyUp"), kKeyUp, {code, shift}},
        {QStringLiteral("MouseDown"), kMouseDown, mouse},
        {QStringLiteral("MouseMove"), kMouseMove, mouse},
        {QStringLiteral("MouseUp"), kMouseUp, mouse},
        {QStringLiteral("UpClick"), kUpClick, {}},
    };
}

std::unique_ptr<Control> createSpin() { return std::make_unique<Spin>(); }

FontSpec designFont(const char* name, double size) {
    FontSpec f;
    f.name = QString::fromLatin1(name);
    f.size = size;
    return f;
}

int32_t disabledBackground() { return BlendColor(kButtonFace, kWindowBackground, kDisabledWeight); }

// The same blend under the default system colours: what a form saved there
// holds for a disabled Spin, whatever palette is in force now.
int32_t defaultDisabledBackground() {
    uint32_t face = 0, window = 0;
    defaultSystemColour(static_cast<int>(kButtonFace & 0xFFu), face);
    defaultSystemColour(static_cast<int>(kWindowBackground & 0xFFu), window);
    return BlendColor(face, window, kDisabledWeight);
}

} // namespace

KORVA_REGISTER_CLASS(Spin, spinMembers(), spinEvents(), &createSpin);

// ---- elements ---------------------------------------------------------------

void SpinPrivate::createElements() {
    // Creation order is stacking order: the frame at the back, the box on it.
    // Locked, never focused and never given text: the control's window
    // draws it, and it costs no edit field.
    txtBORDER = q.addElement<TextBoxElement>(q, QStringLiteral("txtBORDER"), -1,
                                             TextBoxElement::Start::LockedNoFocus);
    // A right click is the control's MouseDown and MouseUp and nothing else:
    // no edit menu of the text boxes' own.
    txtBORDER->refuseContextMenu();
    txtBORDER->setBorderStyle(TextBoxElement::FixedSingle);
    txtBORDER->setBackColor(kWindowBackground);

    picfraBOX = q.addElement<PictureBoxElement>(q, QStringLiteral("picfraBOX"));
    picfraBOX->setBackColor(kWindowBackground);
    // A click anywhere in the control leaves the keys with the text box.
    picfraBOX->refuseFocus();

    if (std::unique_ptr<UpDownElement> udn = createUpDown(q)) {
        udnCTRL = udn.release();
        q.adoptElement(udnCTRL);
        udnCTRL->setContainer(picfraBOX);
        // The text box keeps the focus while the buttons are used.
        udnCTRL->widget()->setFocusPolicy(Qt::NoFocus);
    }
    // Without the component the text and band lie in the box instead.
    ContainerElement* inner = udnCTRL ? static_cast<ContainerElement*>(udnCTRL) : picfraBOX;

    lblBACK = q.addElement<LabelElement>(q, QStringLiteral("lblBACK"));
    lblBACK->setContainer(inner);
    lblBACK->setCaption(QStringLiteral(" "));
    lblBACK->setBackColor(kWindowBackground);

    txtUPDOWN = q.addElement<TextBoxElement>(q, QStringLiteral("txtUPDOWN"));
    txtUPDOWN->setContainer(inner);
    txtUPDOWN->setBorderStyle(TextBoxElement::NoBorder);
    txtUPDOWN->setFont(designFont("Tahoma", 8.25));
    txtUPDOWN->Move(0, 0, 2445, 285);
    txtUPDOWN->setText(QStringLiteral("1"));
    // The focus the control is given as a whole (Tab, setFocus(), a dialog's
    // first focus) lands where the keys are handled.
    q.site()->setFocusProxy(txtUPDOWN->widget());
    txtUPDOWN->refuseContextMenu();

    // Follows the text box's font with a whole-number size, out of sight below.
    cboHEIGHT = q.addElement<ComboBoxElement>(q, QStringLiteral("cboHEIGHT"));
    cboHEIGHT->setFont(designFont("Tahoma", 9));
    cboHEIGHT->setText(QStringLiteral("Combo1"));
    cboHEIGHT->Move(0, 1200, 1215, 315);
    cboHEIGHT->setFocusPolicy(Qt::NoFocus);
}

void SpinPrivate::wireElements() {
    txtUPDOWN->handlers().onChange = [this] {
        raise(kChange);
        emit q.Change();
        // Screen readers hear the value the text now holds (spin_accessible.cpp).
        const auto n = number();
        accessibility::notifyValueChanged(q, n ? QVariant(*n) : QVariant());
    };
    txtUPDOWN->handlers().onGotFocus = [this] { accessibility::notifyFocus(q); };
    txtUPDOWN->handlers().onClick = [this] {
        raise(kClick);
        emit q.Click();
    };
    txtUPDOWN->handlers().onDblClick = [this] {
        raise(kDblClick);
        emit q.DblClick();
    };
    txtUPDOWN->handlers().onKeyDown = [this](int16_t& keyCode, int16_t shift) { keyDown(keyCode, shift); };
    txtUPDOWN->handlers().onKeyPress = [this](int16_t& keyAscii) { keyPress(keyAscii); };
    txtUPDOWN->handlers().onKeyUp = [this](int16_t& keyCode, int16_t shift) {
        raiseKey(kKeyUp, keyCode, shift);
    };
    txtUPDOWN->handlers().onMouseDown = [this](int16_t b, int16_t s, float x, float y) {
        layout();
        raiseMouse(kMouseDown, b, s, x, y);
    };
    txtUPDOWN->handlers().onMouseMove = [this](int16_t b, int16_t s, float x, float y) {
        raiseMouse(kMouseMove, b, s, x, y);
    };
    txtUPDOWN->handlers().onMouseUp = [this](int16_t b, int16_t s, float x, float y) {
        raiseMouse(kMouseUp, b, s, x, y);
    };
    txtUPDOWN->handlers().onLostFocus = [this] { validateTextBox(); };

    if (udnCTRL) {
        udnCTRL->onStepUp = [this] { increase(); };
        udnCTRL->onStepDown = [this] { decrease(); };
        udnCTRL->onPressed = [this] { txtUPDOWN->SetFocus(); };
    }
}

// ---- the component ------------------------------------------------------------

bool SpinPrivate::componentBool(int32_t dispId) const {
    std::vector<Value> none;
    Value v;
    bool out = false;
    if (udnCTRL && udnCTRL->invoke(dispId, InvokeKind::Get, none, v) == InvokeStatus::Ok)
        valueToBool(v, out);
    return out;
}

int32_t SpinPrivate::componentLong(int32_t dispId) const {
    std::vector<Value> none;
    Value v;
    int32_t out = 0;
    if (udnCTRL && udnCTRL->invoke(dispId, InvokeKind::Get, none, v) == InvokeStatus::Ok)
        valueToLong(v, out);
    return out;
}

void SpinPrivate::componentLet(int32_t dispId, const Value& v) {
    std::vector<Value> args{v};
    Value ignored;
    if (udnCTRL)
        udnCTRL->invoke(dispId, InvokeKind::Let, args, ignored);
}

void SpinPrivate::componentCall(int32_t dispId, std::vector<Value> args) {
    Value ignored;
    if (udnCTRL)
        udnCTRL->invoke(dispId, InvokeKind::Call, args, ignored);
}

// ---- stepping and validation ----------------------------------------------------
//
// The text is the value. A step whose number cannot be had (an empty text, a
// sum that overflows) is skipped; a bound test that cannot be evaluated runs
// what it guards, so an empty text steps to the bound.

std::optional<double> SpinPrivate::number() const {
    double v = 0;
    if (textToNumber(txtUPDOWN->Text(), v))
        return v;
    return std::nullopt;
}

QString SpinPrivate::format(double x) const { return allowDecimal ? formatOneDecimal(x) : formatWhole(x); }

void SpinPrivate::increase() {
    txtUPDOWN->SetFocus();
    raise(kDownClick);
    emit q.DownClick();
    if (const auto n = number(); n && std::isfinite(*n + step))
        txtUPDOWN->setText(format(*n + step));
    const int32_t max = componentLong(UpDownElement::kMax);
    if (const auto n = number(); !n || *n > max)
        txtUPDOWN->setText(format(max));
}

void SpinPrivate::decrease() {
    txtUPDOWN->SetFocus();
    raise(kUpClick);
    emit q.UpClick();
    if (const auto n = number(); n && std::isfinite(*n - step))
        txtUPDOWN->setText(format(*n - step));
    const int32_t min = componentLong(UpDownElement::kMin);
    if (allowDecimal) {
        if (const auto n = number(); !n || *n < min)
            txtUPDOWN->setText(formatOneDecimal(min));
    } else if (leadingNumber(txtUPDOWN->Text()) < min) {
        // The one place that reads the leading number: an empty text counts as 0.
        txtUPDOWN->setText(QString::number(min));
    }
}

void SpinPrivate::validateTextBox() {
    if (lettingEnabled)
        return;
    const int32_t max = componentLong(UpDownElement::kMax);
    if (const auto n = number(); !n || *n > max)
        txtUPDOWN->setText(format(max));
    const int32_t min = componentLong(UpDownElement::kMin);
    if (const auto n = number(); !n || *n < min)
        txtUPDOWN->setText(format(min));
}

// Whatever the mode, leaving the control writes a bound with one decimal.
void SpinPrivate::validateControl() {
    if (lettingEnabled)
        return;
    const int32_t max = componentLong(UpDownElement::kMax);
    if (const auto n = number(); !n || *n > max)
        txtUPDOWN->setText(formatOneDecimal(max));
    const int32_t min = componentLong(UpDownElement::kMin);
    if (const auto n = number(); !n || *n < min)
        txtUPDOWN->setText(formatOneDecimal(min));
}

void SpinPrivate::keyDown(int16_t& keyCode, int16_t shift) {
    // The modifiers are not looked at: Shift+Up steps like Up.
    switch (keyCode) {
    case keycode::PageDown:
    case keycode::Down:
        decrease();
        txtUPDOWN->setSelStart(0);
        break;
    case keycode::PageUp:
    case keycode::Up:
        increase();
        txtUPDOWN->setSelStart(0);
        break;
    default:
        break;
    }
    raiseKey(kKeyDown, keyCode, shift);
}

void SpinPrivate::keyPress(int16_t& keyAscii) {
    if (keyAscii == spin_input::kFullStop && !allowDecimal)
        keyAscii = 0;
    keyAscii = spin_input::KeyLock(keyAscii, true, txtUPDOWN->Text());
    Value a(keyAscii);
    Value* args[] = {&a};
    q.RaiseEvent(kKeyPress, args);
    valueToInteger(a, keyAscii);
    emit q.KeyPress(keyAscii);
}

void SpinPrivate::raise(int32_t number) { q.RaiseEvent(number); }

void SpinPrivate::raiseKey(int32_t number, int16_t& code, int16_t& shift) {
    q.RaiseKeyEvent(number, code, shift);
    if (number == kKeyDown)
        emit q.KeyDown(code, shift);
    else
        emit q.KeyUp(code, shift);
}

void SpinPrivate::raiseMouse(int32_t number, int16_t& button, int16_t& shift, float& x, float& y) {
    q.RaiseMouseEvent(number, button, shift, x, y);
    if (number == kMouseDown)
        emit q.MouseDown(button, shift, x, y);
    else if (number == kMouseMove)
        emit q.MouseMove(button, shift, x, y);
    else
        emit q.MouseUp(button, shift, x, y);
}

// ---- layout -------------------------------------------------------------------
//
// Runs on every paint. It only assigns what it computes, and assigning an
// unchanged position or font changes no window, so a paint that lays out
// does not ask for another paint.

void SpinPrivate::followFont(bool wholeSize) {
    FontSpec f = cboHEIGHT->Font();
    f.name = txtUPDOWN->Font().name;
    f.size = wholeSize ? wholeFontSize(txtUPDOWN->Font().size) : txtUPDOWN->Font().size;
    if (!(f == cboHEIGHT->Font()))
        cboHEIGHT->setFont(f);
}

void SpinPrivate::place(Element* e, const SpinBox4& r) {
    // A negative size is refused: the element keeps its place and size.
    if (!e || r.width < 0 || r.height < 0)
        return;
    e->Move(r.left, r.top, r.width, r.height);
}

void SpinPrivate::layout() {
    followFont(true);
    const Site& s = *q.site();
    const auto tp = static_cast<float>(Platform::instance().twipsPerPixelX());
    const SpinLayout l = computeSpinLayout(s.ScaleWidth(), s.ScaleHeight(), s.Height(), tp);
    place(txtBORDER, l.frame);
    place(picfraBOX, l.box);
    if (l.textWidth)
        txtUPDOWN->setWidth(*l.textWidth);
    componentCall(UpDownElement::kMove,
                  {Value(l.updown.left), Value(l.updown.top), Value(l.updown.width), Value(l.updown.height)});
    txtUPDOWN->setLeft(l.textLeft);
    place(lblBACK, l.label);
    txtUPDOWN->setTop(l.textTop);
}

void SpinPrivate::notifyChange(const QString& key) {
    q.PropertyChanged(key);
    // Text changes are reported by Change, typed or set.
    static const std::pair<const char*, void (Spin::*)()> signals_[] = {
        {"Alignment", &Spin::AlignmentChanged},
        {"AllowArrowKeys", &Spin::AllowArrowKeysChanged},
        {"AllowDecpoint", &Spin::AllowDecpointChanged},
        {"Backcolor", &Spin::BackColorChanged},
        {"BorderStyle", &Spin::BorderStyleChanged},
        {"BuddyAlignment", &Spin::BuddyAlignmentChanged},
        {"Enabled", &Spin::EnabledChanged},
        {"Font", &Spin::FontChanged},
        {"ForeColor", &Spin::ForeColorChanged},
        {"Interval", &Spin::IntervalChanged},
        {"Max", &Spin::MaxChanged},
        {"MaxLength", &Spin::MaxLengthChanged},
        {"Min", &Spin::MinChanged},
        {"SyncBuddy", &Spin::SyncBuddyChanged},
        {"ThousandsSeparator", &Spin::ThousandsSeparatorChanged},
    };
    for (const auto& [name, sig] : signals_)
        if (key == QLatin1String(name)) {
            emit(q.*sig)();
            return;
        }
}

// ---- members ------------------------------------------------------------------

const ClassInfo& Spin::staticClassInfo() { return *catalogue::byName(u"Spin"); }

Spin::Spin() : Control(staticClassInfo()), d(std::make_unique<SpinPrivate>(*this)) {
    d->createElements();
    d->wireElements();
}

Spin::~Spin() {
    if (d->udnCTRL)
        d->udnCTRL->clearComponentHandlers();
}

std::unique_ptr<Spin> Spin::createNew() {
    auto s = std::make_unique<Spin>();
    s->Initialize();
    s->Resize();
    return s;
}

int32_t Spin::Alignment() const { return d->txtUPDOWN->Alignment(); }
void Spin::setAlignment(int32_t v) {
    int16_t a = 0;
    if (toInteger(v, a))
        d->txtUPDOWN->setAlignment(a);
    d->notifyChange(QStringLiteral("Alignment"));
}

bool Spin::AllowArrowKeys() const { return d->componentBool(UpDownElement::kAllowArrowKeys); }
void Spin::setAllowArrowKeys(bool v) {
    d->componentLet(UpDownElement::kAllowArrowKeys, Value(v));
    d->notifyChange(QStringLiteral("AllowArrowKeys"));
}

bool Spin::AllowDecpoint() const { return d->allowDecimal; }
void Spin::setAllowDecpoint(bool v) {
    d->allowDecimal = v;
    d->notifyChange(QStringLiteral("AllowDecpoint"));
}

uint32_t Spin::BackColor() const { return d->txtUPDOWN->BackColor(); }
void Spin::setBackColor(uint32_t v) {
    d->backDerived = false;
    d->txtUPDOWN->setBackColor(v);
    d->lblBACK->setBackColor(v);
    d->txtBORDER->setBackColor(v);
    d->picfraBOX->setBackColor(v);
    d->notifyChange(QStringLiteral("Backcolor"));
}

int32_t Spin::BorderStyle() const { return d->txtBORDER->borderStyle(); }
void Spin::setBorderStyle(int32_t v) {
    int16_t s = 0;
    if (toInteger(v, s))
        d->txtBORDER->setBorderStyle(s);
    d->notifyChange(QStringLiteral("BorderStyle"));
}

int32_t Spin::BuddyAlignment() const { return d->componentLong(UpDownElement::kBuddyAlignment); }
void Spin::setBuddyAlignment(int32_t v) {
    d->componentLet(UpDownElement::kBuddyAlignment, Value(v));
    d->notifyChange(QStringLiteral("BuddyAlignment"));
}

bool Spin::Enabled() const { return d->componentBool(UpDownElement::kEnabled); }
void Spin::setEnabled(bool v) {
    // The let's own order: background, frame nudge, component, elements,
    // control, repaint, report, layout.
    if (v) {
        setBackColor(kWindowBackground);
        d->lblBACK->setBackColor(kWindowBackground);
        d->txtBORDER->setBackColor(kWindowBackground);
        d->picfraBOX->setBackColor(kWindowBackground);
    } else {
        setBackColor(static_cast<uint32_t>(disabledBackground()));
        d->lblBACK->setBackColor(static_cast<uint32_t>(disabledBackground()));
        d->txtBORDER->setBackColor(static_cast<uint32_t>(disabledBackground()));
        d->picfraBOX->setBackColor(static_cast<uint32_t>(disabledBackground()));
        d->backDerived = true;
    }
    d->txtBORDER->setWidth(d->txtBORDER->Width() + kFrameNudge);
    d->txtBORDER->setWidth(d->txtBORDER->Width() - kFrameNudge);
    {
        // Qt moves the focus off a window being disabled (the component's
        // holds the text box); the let itself leaves the text alone, so that
        // move validates nothing.
        const QScopedValueRollback<bool> letting(d->lettingEnabled, true);
        d->componentLet(UpDownElement::kEnabled, Value(v));
        d->txtBORDER->setEnabled(v);
        d->txtUPDOWN->setEnabled(v);
        d->cboHEIGHT->setEnabled(v);
        site()->letEnabled(v);
    }
    site()->update();
    d->componentCall(UpDownElement::kRefresh, {});
    d->notifyChange(QStringLiteral("Enabled"));
    QAccessible::State changed;
    changed.disabled = true;
    accessibility::notifyStateChanged(*this, changed);
    d->layout();
}

FontSpec Spin::Font() const {
    site()->update();
    d->cboHEIGHT->setFont(d->txtUPDOWN->Font());
    d->followFont(false);
    d->layout();
    return d->txtUPDOWN->Font();
}
void Spin::setFont(const FontSpec& f) {
    d->txtUPDOWN->setFont(f);
    d->cboHEIGHT->setFont(f);
    d->followFont(false);
    d->layout();
    d->notifyChange(QStringLiteral("Font"));
}

uint32_t Spin::ForeColor() const { return d->txtUPDOWN->ForeColor(); }
void Spin::setForeColor(uint32_t v) {
    d->txtUPDOWN->setForeColor(v);
    d->notifyChange(QStringLiteral("ForeColor"));
}

double Spin::Interval() const { return d->step; }
void Spin::setInterval(double v) {
    d->step = v;
    d->notifyChange(QStringLiteral("Interval"));
}

int32_t Spin::Max() const { return d->componentLong(UpDownElement::kMax); }
void Spin::setMax(int32_t v) {
    d->componentLet(UpDownElement::kMax, Value(v));
    d->notifyChange(QStringLiteral("Max"));
}

int32_t Spin::MaxLength() const { return d->txtUPDOWN->MaxLength(); }
void Spin::setMaxLength(int32_t v) {
    d->txtUPDOWN->setMaxLength(v);
    d->notifyChange(QStringLiteral("MaxLength"));
}

int32_t Spin::Min() const { return d->componentLong(UpDownElement::kMin); }
void Spin::setMin(int32_t v) {
    d->componentLet(UpDownElement::kMin, Value(v));
    d->notifyChange(QStringLiteral("Min"));
}

bool Spin::SyncBuddy() const { return d->componentBool(UpDownElement::kSyncBuddy); }
void Spin::setSyncBuddy(bool v) {
    d->componentLet(UpDownElement::kSyncBuddy, Value(v));
    d->notifyChange(QStringLiteral("SyncBuddy"));
}

QString Spin::Text() const { return d->txtUPDOWN->Text(); }
void Spin::setText(const QString& v) {
    d->txtUPDOWN->setText(v);
    d->notifyChange(QStringLiteral("Text"));
}

bool Spin::ThousandsSeparator() const { return d->componentBool(UpDownElement::kThousandsSeparator); }
void Spin::setThousandsSeparator(bool v) {
    d->componentLet(UpDownElement::kThousandsSeparator, Value(v));
    d->notifyChange(QStringLiteral("ThousandsSeparator"));
}

int32_t Spin::DecimalpointCheck(const QString& Number) const { return spin_input::DecimalpointCheck(Number); }

uint8_t Spin::KeyLock(int32_t KeyAscii, bool Extra_Check, QString& Extra_sText) const {
    return spin_input::KeyLock(KeyAscii, Extra_Check, Extra_sText);
}

void Spin::Refresh() {
    d->layout();
    d->componentCall(UpDownElement::kRefresh, {});
}

// ---- lifecycle ----------------------------------------------------------------

void Spin::onInitialize() { setInterval(1); }

// No Enabled let here: the backgrounds come from "Backcolor" as saved, so a
// control saved while disabled comes back with its blended background.
void Spin::onReadProperties(const PropertyBag& bag) {
    const auto read = [&](const char* key, const Value& def) {
        return bag.ReadProperty(QString::fromLatin1(key), def);
    };
    if (const Value f = read("Font", Value(site()->AmbientFont())); f.is<FontSpec>())
        d->txtUPDOWN->setFont(f.as<FontSpec>());
    uint32_t colour = 0;
    if (valueToColour(read("ForeColor", Value(Colour{kWindowText})), colour))
        d->txtUPDOWN->setForeColor(colour);
    bool flag = false;
    if (valueToBool(read("Enabled", Value(true)), flag))
        d->componentLet(UpDownElement::kEnabled, Value(flag));
    // Saved under "Backcolor", and applied to the text box alone until the end.
    if (valueToColour(read("Backcolor", Value(Colour{kWindowBackground})), colour))
        d->txtUPDOWN->setBackColor(colour);
    int16_t small = 0;
    if (valueToInteger(read("BorderStyle", Value(int16_t{1})), small))
        d->txtBORDER->setBorderStyle(small);
    if (valueToInteger(read("Alignment", Value(int16_t{0})), small))
        d->txtUPDOWN->setAlignment(small);
    if (valueToBool(read("AllowArrowKeys", Value(true)), flag))
        d->componentLet(UpDownElement::kAllowArrowKeys, Value(flag));
    int32_t whole = 0;
    if (valueToLong(read("BuddyAlignment", Value(int32_t{0})), whole))
        d->componentLet(UpDownElement::kBuddyAlignment, Value(whole));
    if (valueToLong(read("Max", Value(int32_t{10})), whole))
        d->componentLet(UpDownElement::kMax, Value(whole));
    double step = 0;
    if (valueToDouble(read("Interval", Value(1.0)), step))
        d->step = step;
    if (valueToBool(read("AllowDecpoint", Value(false)), flag))
        d->allowDecimal = flag;
    if (valueToLong(read("MaxLength", Value(int32_t{0})), whole))
        d->txtUPDOWN->setMaxLength(whole);
    if (valueToLong(read("Min", Value(int32_t{0})), whole))
        d->componentLet(UpDownElement::kMin, Value(whole));
    if (valueToBool(read("SyncBuddy", Value(true)), flag))
        d->componentLet(UpDownElement::kSyncBuddy, Value(flag));
    if (valueToBool(read("ThousandsSeparator", Value(true)), flag))
        d->componentLet(UpDownElement::kThousandsSeparator, Value(flag));
    QString text;
    if (valueToString(read("Text", Value(QStringLiteral("1"))), text))
        d->txtUPDOWN->setText(text);

    const bool enabled = d->componentBool(UpDownElement::kEnabled);
    // A disabled control saved with its blended background gets the blend of
    // the palette in force.
    const auto saved = static_cast<int32_t>(d->txtUPDOWN->BackColor());
    d->backDerived = !enabled && (saved == defaultDisabledBackground() || saved == disabledBackground());
    if (d->backDerived)
        d->txtUPDOWN->setBackColor(static_cast<uint32_t>(disabledBackground()));
    const uint32_t back = d->txtUPDOWN->BackColor();
    d->lblBACK->setBackColor(back);
    d->picfraBOX->setBackColor(back);
    d->txtBORDER->setBackColor(back);
    d->txtBORDER->setEnabled(enabled);
    d->txtUPDOWN->setEnabled(enabled);
    d->cboHEIGHT->setEnabled(enabled);
    site()->letEnabled(enabled);
    d->layout();
}

void Spin::onWriteProperties(PropertyBag& bag) {
    const auto write = [&](const char* key, const Value& v, const Value& def) {
        bag.WriteProperty(QString::fromLatin1(key), v, def);
    };
    // "Backcolor" with a small c, here and when reading.
    const uint32_t back =
        d->backDerived ? static_cast<uint32_t>(defaultDisabledBackground()) : d->txtUPDOWN->BackColor();
    write("Backcolor", Value(Colour{back}), Value(Colour{kWindowBackground}));
    write("ForeColor", Value(Colour{d->txtUPDOWN->ForeColor()}), Value(Colour{kWindowText}));
    write("Enabled", Value(d->componentBool(UpDownElement::kEnabled)), Value(true));
    write("Font", Value(d->txtUPDOWN->Font()), Value(site()->AmbientFont()));
    write("BorderStyle", Value(d->txtBORDER->borderStyle()), Value(int16_t{1}));
    write("Alignment", Value(d->txtUPDOWN->Alignment()), Value(int16_t{0}));
    write("AllowArrowKeys", Value(d->componentBool(UpDownElement::kAllowArrowKeys)), Value(true));
    write("BuddyAlignment", Value(d->componentLong(UpDownElement::kBuddyAlignment)), Value(int32_t{0}));
    write("Max", Value(d->componentLong(UpDownElement::kMax)), Value(int32_t{10}));
    write("Interval", Value(d->step), Value(1.0));
    write("AllowDecpoint", Value(d->allowDecimal), Value(false));
    write("MaxLength", Value(d->txtUPDOWN->MaxLength()), Value(int32_t{0}));
    write("Min", Value(d->componentLong(UpDownElement::kMin)), Value(int32_t{0}));
    write("SyncBuddy", Value(d->componentBool(UpDownElement::kSyncBuddy)), Value(true));
    write("ThousandsSeparator", Value(d->componentBool(UpDownElement::kThousandsSeparator)), Value(true));
    write("Text", Value(d->txtUPDOWN->Text()), Value(QStringLiteral("1")));
    d->followFont(false);
    d->layout();
}

void Spin::onResize() { d->layout(); }
void Spin::onShow() { d->layout(); }
void Spin::onPaint() { d->layout(); }
void Spin::onGotFocus() { d->layout(); }
void Spin::onEnterFocus() { d->layout(); }
void Spin::onExitFocus() { d->layout(); }
void Spin::onSystemColoursChanged() {
    if (!d->backDerived)
        return;
    const auto back = static_cast<uint32_t>(disabledBackground());
    d->txtUPDOWN->setBackColor(back);
    d->lblBACK->setBackColor(back);
    d->txtBORDER->setBackColor(back);
    d->picfraBOX->setBackColor(back);
}

void Spin::onLostFocus() {
    d->validateControl();
    d->layout();
}

// ---- dispatch -------------------------------------------------------------------

InvokeStatus Spin::onInvoke(const MemberInfo& m, InvokeKind kind, std::vector<Value>& args, Value& result) {
    const bool get = kind == InvokeKind::Get;
    if (m.flags & (kGet | kLet | kSet)) {
        if (get ? !args.empty() : args.size() != 1)
            return InvokeStatus::BadParamCount;
    }
    const auto boolProp = [&](bool (Spin::*read)() const, void (Spin::*write)(bool)) {
        if (get) {
            result = Value((this->*read)());
            return InvokeStatus::Ok;
        }
        bool v = false;
        if (!valueToBool(args[0], v))
            return InvokeStatus::TypeMismatch;
        (this->*write)(v);
        return InvokeStatus::Ok;
    };
    const auto longProp = [&](int32_t (Spin::*read)() const, void (Spin::*write)(int32_t)) {
        if (get) {
            result = Value((this->*read)());
            return InvokeStatus::Ok;
        }
        int32_t v = 0;
        if (!valueToLong(args[0], v))
            return InvokeStatus::TypeMismatch;
        (this->*write)(v);
        return InvokeStatus::Ok;
    };
    const auto colourProp = [&](uint32_t (Spin::*read)() const, void (Spin::*write)(uint32_t)) {
        if (get) {
            result = Value(Colour{(this->*read)()});
            return InvokeStatus::Ok;
        }
        uint32_t v = 0;
        if (!valueToColour(args[0], v))
            return InvokeStatus::TypeMismatch;
        (this->*write)(v);
        return InvokeStatus::Ok;
    };

    switch (m.dispId) {
    case propertyId(kThousandsSeparatorN):
        return boolProp(&Spin::ThousandsSeparator, &Spin::setThousandsSeparator);
    case propertyId(kSyncBuddyN):
        return boolProp(&Spin::SyncBuddy, &Spin::setSyncBuddy);
    case propertyId(kEnabledN):
        return boolProp(&Spin::Enabled, &Spin::setEnabled);
    case propertyId(kAllowDecpointN):
        return boolProp(&Spin::AllowDecpoint, &Spin::setAllowDecpoint);
    case propertyId(kAllowArrowKeysN):
        return boolProp(&Spin::AllowArrowKeys, &Spin::setAllowArrowKeys);
    case propertyId(kMinN):
        return longProp(&Spin::Min, &Spin::setMin);
    case propertyId(kMaxN):
        return longProp(&Spin::Max, &Spin::setMax);
    case propertyId(kMaxLengthN):
        return longProp(&Spin::MaxLength, &Spin::setMaxLength);
    case propertyId(kBuddyAlignmentN):
        return longProp(&Spin::BuddyAlignment, &Spin::setBuddyAlignment);
    case propertyId(kBorderStyleN):
        return longProp(&Spin::BorderStyle, &Spin::setBorderStyle);
    case propertyId(kAlignmentN):
        return longProp(&Spin::Alignment, &Spin::setAlignment);
    case propertyId(kForeColorN):
        return colourProp(&Spin::ForeColor, &Spin::setForeColor);
    case propertyId(kBackColorN):
        return colourProp(&Spin::BackColor, &Spin::setBackColor);
    case propertyId(kIntervalN): {
        if (get) {
            result = Value(Interval());
            return InvokeStatus::Ok;
        }
        double v = 0;
        if (!valueToDouble(args[0], v))
            return InvokeStatus::TypeMismatch;
        setInterval(v);
        return InvokeStatus::Ok;
    }
    case propertyId(kTextN): {
        if (get) {
            result = Value(Text());
            return InvokeStatus::Ok;
        }
        QString v;
        if (!valueToString(args[0], v))
            return InvokeStatus::TypeMismatch;
        setText(v);
        return InvokeStatus::Ok;
    }
    case kDispIdFont:
        if (get) {
            result = Value(Font());
            return InvokeStatus::Ok;
        }
        if (!args[0].is<FontSpec>())
            return InvokeStatus::TypeMismatch;
        setFont(args[0].as<FontSpec>());
        return InvokeStatus::Ok;
    case methodId(kDecimalpointCheckN): {
        QString number;
        if (args.size() != 1)
            return InvokeStatus::BadParamCount;
        if (!valueToString(args[0], number))
            return InvokeStatus::TypeMismatch;
        result = Value(DecimalpointCheck(number));
        return InvokeStatus::Ok;
    }
    case methodId(kKeyLockN): {
        int32_t ascii = 0;
        bool check = false;
        QString text;
        if (args.size() != 3)
            return InvokeStatus::BadParamCount;
        if (!valueToLong(args[0], ascii) || !valueToBool(args[1], check) || !valueToString(args[2], text))
            return InvokeStatus::TypeMismatch;
        result = Value(static_cast<int16_t>(KeyLock(ascii, check, text)));
        args[2] = Value(text);
        return InvokeStatus::Ok;
    }
    case methodId(kRefreshN):
        if (!args.empty())
            return InvokeStatus::BadParamCount;
        Refresh();
        return InvokeStatus::Ok;
    default:
        return InvokeStatus::UnknownMember;
    }
}

} // namespace korva
