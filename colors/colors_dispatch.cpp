// The dispatch face of Colors: its members in interface order, its events,
// member access by identifier, and the input notifications of the control
// surface itself.
#include "colors/colors.h"

#include "colors/colors_p.h"
#include "frame/component/catalogue_p.h"
#include "frame/values/convert_p.h"

namespace korva {

namespace {

// Member numbers n (identifier 0x68030000 + n for properties, 0x60030000 + n
// for methods), in the order of the default interface.
enum MemberNo : int {
    kActiveColor,
    kActiveText,
    kBackColor,
    kBackcolorCustom,
    kbMOUSEPOSLOC,
    kbPOSITIONDEFAULT,
    kButtonType,
    kCaption,
    kColor,
    kEnabled,
    kFocusRect,
    kFont,
    kForeColor,
    kHidePopUp,
    khWnd,
    kMaskHLightColor,
    kMousePosn,
    kPalette,
    kPicture,
    kPictureDisabled,
    kPictureVisible,
    kPopupEnabled,
    kSetTheme,
    kShowButtonColor,
    kShowPopUp,
    kText,
    kUserControl_Click,
    kUserControl_ExitFocus,
    kUserControlMouseOut,
};

MemberInfo prop(const char* name, int n, uint8_t flags, ValueType type, int32_t id = 0) {
    return {QString::fromLatin1(name), id ? id : propertyId(n), flags, type, {}};
}
MemberInfo method(const char* name, int n, std::vector<ParamInfo> params = {}) {
    return {QString::fromLatin1(name), methodId(n), kCall, ValueType::Empty, std::move(params)};
}
ParamInfo byRef(const char* name, ValueType t) { return {QString::fromLatin1(name), t, true, false}; }

std::vector<MemberInfo> colorsMembers() {
    using T = ValueType;
    return {
        prop("ActiveColor", kActiveColor, kGet, T::Colour),
        prop("ActiveText", kActiveText, kGet, T::String),
        prop("BackColor", kBackColor, kGet | kLet, T::Colour),
        prop("BackcolorCustom", kBackcolorCustom, kGet | kLet, T::Boolean),
        prop("bMOUSEPOSLOC", kbMOUSEPOSLOC, kGet | kLet, T::Boolean),
        prop("bPOSITIONDEFAULT", kbPOSITIONDEFAULT, kGet | kLet, T::Boolean),
        prop("ButtonType", kButtonType, kGet | kLet, T::Long),
        prop("Caption", kCaption, kGet | kLet, T::String, kDispIdCaption),
        prop("Color", kColor, kGet | kLet, T::Colour),
        prop("Enabled", kEnabled, kGet | kLet, T::Boolean),
        prop("FocusRect", kFocusRect, kGet | kLet, T::Boolean),
        prop("Font", kFont, kGet | kSet, T::Font, kDispIdFont),
        prop("ForeColor", kForeColor, kGet | kLet, T::Colour, kDispIdForeColor),
        method("HidePopUp", kHidePopUp),
        prop("hWnd", khWnd, kGet, T::Long),
        prop("MaskHLightColor", kMaskHLightColor, kGet | kLet, T::Colour),
        prop("MousePosn", kMousePosn, kGet | kLet, T::Boolean),
        // The let takes its argument by reference, as the interface declares it.
        {QStringLiteral("Palette"), propertyId(kPalette), kGet | kLet, T::Long, {byRef("Palette", T::Long)}},
        prop("Picture", kPicture, kGet | kSet, T::Picture),
        prop("PictureDisabled", kPictureDisabled, kGet | kSet, T::Picture),
        prop("PictureVisible", kPictureVisible, kGet | kLet, T::Boolean),
        prop("PopupEnabled", kPopupEnabled, kGet | kLet, T::Boolean),
        method("SetTheme", kSetTheme),
        prop("ShowButtonColor", kShowButtonColor, kGet | kLet, T::Boolean),
        method("ShowPopUp", kShowPopUp),
        prop("Text", kText, kGet, T::String),
        method("UserControl_Click", kUserControl_Click),
        method("UserControl_ExitFocus", kUserControl_ExitFocus),
        method("UserControlMouseOut", kUserControlMouseOut,
               {byRef("Button", T::Integer), byRef("Shift", T::Integer), byRef("X", T::Single),
                byRef("Y", T::Single)}),
    };
}

std::vector<EventInfo> colorsEvents() {
    using T = ValueType;
    const std::vector<ParamInfo> colour = {byRef("sCOLORCHANGED", T::Colour)};
    const std::vector<ParamInfo> key = {byRef("KeyCode", T::Integer), byRef("Shift", T::Integer)};
    const std::vector<ParamInfo> mouse = {byRef("Button", T::Integer), byRef("Shift", T::Integer),
                                          byRef("X", T::Single), byRef("Y", T::Single)};
    return {
        {QStringLiteral("Change"), kEvChange, colour},
        {QStringLiteral("ChangeCustom"), kEvChangeCustom, colour},
        {QStringLiteral("Click"), kEvClick, {}},
        {QStringLiteral("DblClick"), kEvDblClick, {}},
        {QStringLiteral("FocusHidden"), kEvFocusHidden, {}},
        {QStringLiteral("FocusLost"), kEvFocusLost, {}},
        {QStringLiteral("KeyDown"), kEvKeyDown, key},
        {QStringLiteral("KeyPress"), kEvKeyPress, {byRef("KeyAscii", T::Integer)}},
        {QStringLiteral("KeyUp"), kEvKeyUp, key},
        {QStringLiteral("MouseDown"), kEvMouseDown, mouse},
        {QStringLiteral("MouseMove"), kEvMouseMove, mouse},
        {QStringLiteral("MouseOut"), kEvMouseOut, mouse},
        {QStringLiteral("MouseUp"), kEvMouseUp, mouse},
        {QStringLiteral("PopUp"), kEvPopUp, {}},
    };
}

std::unique_ptr<Control> createColors() { return std::make_unique<Colors>(); }

// Argument conversion for a let; false with the status to return.
template <class T, class Conv> InvokeStatus letArg(std::vector<Value>& args, Conv conv, T& out) {
    if (args.size() != 1)
        return InvokeStatus::BadParamCount;
    return conv(args[0], out) ? InvokeStatus::Ok : InvokeStatus::TypeMismatch;
}

bool toPicture(const Value& v, Picture& out) {
    if (const Picture* p = v.ptr<Picture>()) {
        out = *p;
        return true;
    }
    if (v.isEmpty()) { // Nothing: no picture
        out = {};
        return true;
    }
    return false;
}

bool toFont(const Value& v, FontSpec& out) {
    if (const FontSpec* f = v.ptr<FontSpec>()) {
        out = *f;
        return true;
    }
    return false;
}

} // namespace

KORVA_REGISTER_CLASS(Colors, colorsMembers(), colorsEvents(), &createColors);

const ClassInfo& Colors::staticClassInfo() { return *catalogue::byName(u"Colors"); }

InvokeStatus Colors::onInvoke(const MemberInfo& m, InvokeKind kind, std::vector<Value>& args, Value& result) {
    const bool get = kind == InvokeKind::Get;
    InvokeStatus st = InvokeStatus::Ok;
    auto boolMember = [&](bool current, auto setter) {
        if (get) {
            result = Value(current);
            return InvokeStatus::Ok;
        }
        bool v = false;
        if ((st = letArg(args, valueToBool, v)) == InvokeStatus::Ok)
            (this->*setter)(v);
        return st;
    };
    auto colourMember = [&](uint32_t current, auto setter) {
        if (get) {
            result = Value(Colour{current});
            return InvokeStatus::Ok;
        }
        uint32_t v = 0;
        if ((st = letArg(args, valueToColour, v)) == InvokeStatus::Ok)
            (this->*setter)(v);
        return st;
    };
    auto call = [&](auto fn) {
        if (!args.empty())
            return InvokeStatus::BadParamCount;
        (this->*fn)();
        return InvokeStatus::Ok;
    };

    switch (m.dispId) {
    case propertyId(kActiveColor):
        result = Value(Colour{ActiveColor()});
        return InvokeStatus::Ok;
    case propertyId(kActiveText):
        result = Value(ActiveText());
        return InvokeStatus::Ok;
    case propertyId(kText):
        result = Value(Text());
        return InvokeStatus::Ok;
    case propertyId(khWnd):
        result = Value(static_cast<int32_t>(hWnd()));
        return InvokeStatus::Ok;
    case propertyId(kBackColor):
        return colourMember(BackColor(), &Colors::setBackColor);
    case propertyId(kColor):
        return colourMember(Color(), &Colors::setColor);
    case kDispIdForeColor:
        return colourMember(ForeColor(), &Colors::setForeColor);
    case propertyId(kMaskHLightColor):
        return colourMember(MaskHLightColor(), &Colors::setMaskHLightColor);
    case propertyId(kBackcolorCustom):
        return boolMember(BackcolorCustom(), &Colors::setBackcolorCustom);
    case propertyId(kbMOUSEPOSLOC):
    case propertyId(kMousePosn):
        return boolMember(MousePosn(), &Colors::setMousePosn);
    case propertyId(kbPOSITIONDEFAULT):
        return boolMember(bPOSITIONDEFAULT(), &Colors::setbPOSITIONDEFAULT);
    case propertyId(kEnabled):
        return boolMember(Enabled(), &Colors::setEnabled);
    case propertyId(kFocusRect):
        return boolMember(FocusRect(), &Colors::setFocusRect);
    case propertyId(kPictureVisible):
        return boolMember(PictureVisible(), &Colors::setPictureVisible);
    case propertyId(kPopupEnabled):
        return boolMember(PopupEnabled(), &Colors::setPopupEnabled);
    case propertyId(kShowButtonColor):
        return boolMember(ShowButtonColor(), &Colors::setShowButtonColor);
    case propertyId(kButtonType): {
        if (get) {
            result = Value(ButtonType());
            return InvokeStatus::Ok;
        }
        int32_t v = 0;
        if ((st = letArg(args, valueToLong, v)) == InvokeStatus::Ok)
            setButtonType(v);
        return st;
    }
    case propertyId(kPalette): {
        if (get) {
            result = Value(Palette());
            return InvokeStatus::Ok;
        }
        int32_t v = 0;
        if ((st = letArg(args, valueToLong, v)) == InvokeStatus::Ok)
            setPalette(v);
        return st;
    }
    case kDispIdCaption: {
        if (get) {
            result = Value(Caption());
            return InvokeStatus::Ok;
        }
        QString v;
        if ((st = letArg(args, valueToString, v)) == InvokeStatus::Ok)
            setCaption(v);
        return st;
    }
    case kDispIdFont: {
        if (get) {
            result = Value(Font());
            return InvokeStatus::Ok;
        }
        FontSpec v;
        if ((st = letArg(args, toFont, v)) == InvokeStatus::Ok)
            setFont(v);
        return st;
    }
    case propertyId(kPicture):
    case propertyId(kPictureDisabled): {
        const bool enabledOne = m.dispId == propertyId(kPicture);
        if (get) {
            result = Value(enabledOne ? Picture() : PictureDisabled());
            return InvokeStatus::Ok;
        }
        korva::Picture v;
        if ((st = letArg(args, toPicture, v)) != InvokeStatus::Ok)
            return st;
        if (enabledOne)
            setPicture(v);
        else
            setPictureDisabled(v);
        return InvokeStatus::Ok;
    }
    case methodId(kHidePopUp):
        return call(&Colors::HidePopUp);
    case methodId(kShowPopUp):
        return call(&Colors::ShowPopUp);
    case methodId(kSetTheme):
        return call(&Colors::SetTheme);
    case methodId(kUserControl_Click):
        return call(&Colors::UserControl_Click);
    case methodId(kUserControl_ExitFocus):
        return call(&Colors::UserControl_ExitFocus);
    case methodId(kUserControlMouseOut): {
        if (args.size() != 4)
            return InvokeStatus::BadParamCount;
        int16_t b = 0, s = 0;
        float x = 0, y = 0;
        if (!valueToInteger(args[0], b) || !valueToInteger(args[1], s) || !valueToSingle(args[2], x) ||
            !valueToSingle(args[3], y))
            return InvokeStatus::TypeMismatch;
        UserControlMouseOut(b, s, x, y);
        args[0] = Value(b);
        args[1] = Value(s);
        args[2] = Value(x);
        args[3] = Value(y);
        return InvokeStatus::Ok;
    }
    default:
        return InvokeStatus::UnknownMember;
    }
}

// Input notifications of the control surface: the same handlers as the button's.
bool Colors::onNotify(Notification n, std::vector<Value>& args) {
    auto mouseArgs = [&](int16_t& b, int16_t& s, float& x, float& y) {
        return args.size() == 4 && valueToInteger(args[0], b) && valueToInteger(args[1], s) &&
               valueToSingle(args[2], x) && valueToSingle(args[3], y);
    };
    int16_t b = 0, s = 0;
    float x = 0, y = 0;
    switch (n) {
    case Notification::Click:
        d->clickSequence();
        return true;
    case Notification::DblClick:
        d->buttonDblClick();
        return true;
    case Notification::MouseDown:
    case Notification::MouseMove:
    case Notification::MouseUp:
        if (!mouseArgs(b, s, x, y))
            return false;
        if (n == Notification::MouseDown)
            d->buttonMouseDown(b, s, x, y);
        else if (n == Notification::MouseMove)
            d->buttonMouseMove(b, s, x, y);
        else
            d->buttonMouseUp(b, s, x, y);
        return true;
    case Notification::KeyDown:
    case Notification::KeyUp: {
        if (args.size() != 2 || !valueToInteger(args[0], b) || !valueToInteger(args[1], s))
            return false;
        if (n == Notification::KeyDown)
            d->buttonKeyDown(b, s);
        else
            d->buttonKeyUp(b, s);
        args[0] = Value(b);
        return true;
    }
    case Notification::KeyPress:
        if (args.size() != 1)
            return false;
        d->buttonKeyPress();
        return true;
    default:
        return false;
    }
}

} // namespace korva
