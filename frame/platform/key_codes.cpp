#include "frame/platform/key_codes_p.h"

#include <array>
#include <utility>

namespace korva {

namespace {

// Keys whose code does not follow from a range. Where a code has several Qt
// spellings, the first row is the unshifted key that qtKeyOf() returns.
constexpr std::pair<int, int16_t> kKeys[] = {
    {Qt::Key_Backspace, 8},
    {Qt::Key_Tab, 9},
    {Qt::Key_Backtab, 9},
    {Qt::Key_Clear, 12},
    {Qt::Key_Return, 13},
    {Qt::Key_Enter, 13},
    {Qt::Key_Shift, 16},
    {Qt::Key_Control, 17},
    {Qt::Key_Alt, 18},
    {Qt::Key_Pause, 19},
    {Qt::Key_CapsLock, 20},
    {Qt::Key_Escape, 27},
    {Qt::Key_Space, 32},
    {Qt::Key_PageUp, 33},
    {Qt::Key_PageDown, 34},
    {Qt::Key_End, 35},
    {Qt::Key_Home, 36},
    {Qt::Key_Left, 37},
    {Qt::Key_Up, 38},
    {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},
    {Qt::Key_Select, 41},
    {Qt::Key_Printer, 42},
    {Qt::Key_Execute, 43},
    {Qt::Key_Print, 44},
    {Qt::Key_SysReq, 44},
    {Qt::Key_Insert, 45},
    {Qt::Key_Delete, 46},
    {Qt::Key_Help, 47},
    {Qt::Key_Meta, 91},
    {Qt::Key_Menu, 93},
    {Qt::Key_Sleep, 95},
    {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145},
    // Shifted digits on a US keyboard.
    {Qt::Key_ParenRight, 48},
    {Qt::Key_Exclam, 49},
    {Qt::Key_At, 50},
    {Qt::Key_NumberSign, 51},
    {Qt::Key_Dollar, 52},
    {Qt::Key_Percent, 53},
    {Qt::Key_AsciiCircum, 54},
    {Qt::Key_Ampersand, 55},
    {Qt::Key_Asterisk, 56},
    {Qt::Key_ParenLeft, 57},
    // Punctuation keys, unshifted then shifted.
    {Qt::Key_Semicolon, 186},
    {Qt::Key_Colon, 186},
    {Qt::Key_Equal, 187},
    {Qt::Key_Plus, 187},
    {Qt::Key_Comma, 188},
    {Qt::Key_Less, 188},
    {Qt::Key_Minus, 189},
    {Qt::Key_Underscore, 189},
    {Qt::Key_Period, 190},
    {Qt::Key_Greater, 190},
    {Qt::Key_Slash, 191},
    {Qt::Key_Question, 191},
    {Qt::Key_QuoteLeft, 192},
    {Qt::Key_AsciiTilde, 192},
    {Qt::Key_BracketLeft, 219},
    {Qt::Key_BraceLeft, 219},
    {Qt::Key_Backslash, 220},
    {Qt::Key_Bar, 220},
    {Qt::Key_BracketRight, 221},
    {Qt::Key_BraceRight, 221},
    {Qt::Key_Apostrophe, 222},
    {Qt::Key_QuoteDbl, 222},
};

// Numeric-pad operators, by Qt key.
constexpr std::array<std::pair<int, int16_t>, 6> kKeypad = {{
    {Qt::Key_Asterisk, 106},
    {Qt::Key_Plus, 107},
    {Qt::Key_Minus, 109},
    {Qt::Key_Period, 110},
    {Qt::Key_Comma, 110},
    {Qt::Key_Slash, 111},
}};

// US keyboard: the character of each punctuation key, unshifted and shifted.
struct PunctuationKey {
    int16_t code;
    char plain, shifted;
};
constexpr std::array<PunctuationKey, 11> kPunctuation = {{
    {186, ';', ':'},
    {187, '=', '+'},
    {188, ',', '<'},
    {189, '-', '_'},
    {190, '.', '>'},
    {191, '/', '?'},
    {192, '`', '~'},
    {219, '[', '{'},
    {220, '\\', '|'},
    {221, ']', '}'},
    {222, '\'', '"'},
}};

constexpr const char* kShiftedDigits = ")!@#$%^&*(";

} // namespace

int16_t keyCodeOf(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::KeypadModifier) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
            return static_cast<int16_t>(keycode::Numpad0 + (qtKey - Qt::Key_0));
        for (const auto& [key, code] : kKeypad)
            if (key == qtKey)
                return code;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return static_cast<int16_t>(65 + (qtKey - Qt::Key_A));
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return static_cast<int16_t>(48 + (qtKey - Qt::Key_0));
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return static_cast<int16_t>(keycode::F1 + (qtKey - Qt::Key_F1));
    for (const auto& [key, code] : kKeys)
        if (key == qtKey)
            return code;
    return 0;
}

bool isKeypadCode(int16_t keyCode) { return keyCode >= 96 && keyCode <= 111 && keyCode != 108; }

int qtKeyOf(int16_t keyCode) {
    if (keyCode >= 65 && keyCode <= 90)
        return Qt::Key_A + (keyCode - 65);
    if (keyCode >= 48 && keyCode <= 57)
        return Qt::Key_0 + (keyCode - 48);
    if (keyCode >= keycode::Numpad0 && keyCode <= keycode::Numpad0 + 9)
        return Qt::Key_0 + (keyCode - keycode::Numpad0);
    if (keyCode >= keycode::F1 && keyCode <= keycode::F1 + 23)
        return Qt::Key_F1 + (keyCode - keycode::F1);
    for (const auto& [key, code] : kKeypad)
        if (code == keyCode)
            return key;
    if (keyCode == 0)
        return Qt::Key_unknown;
    for (const auto& [key, code] : kKeys)
        if (code == keyCode)
            return key;
    return Qt::Key_unknown;
}

int16_t keyAsciiOf(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text) {
    const bool ctrl = modifiers & Qt::ControlModifier;
    // Alt combinations are menu keys to the runtime, not characters. AltGr
    // arrives as Ctrl+Alt and does type characters.
    if ((modifiers & Qt::AltModifier) && !ctrl)
        return 0;
    switch (qtKey) {
    case Qt::Key_Backspace:
        return ctrl ? 127 : 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return ctrl ? 10 : 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Delete:
        return 0;
    default:
        break;
    }
    if (ctrl && !(modifiers & Qt::AltModifier)) {
        if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
            return static_cast<int16_t>(1 + (qtKey - Qt::Key_A));
        if (qtKey == Qt::Key_BracketLeft)
            return 27;
        if (qtKey == Qt::Key_Backslash)
            return 28;
        if (qtKey == Qt::Key_BracketRight)
            return 29;
        return 0;
    }
    if (text.isEmpty())
        return 0;
    const char16_t c = text.front().unicode();
    if (c == 127)
        return 0;
    // KeyAscii is a signed 16-bit value; characters beyond it arrive as '?'.
    return c <= 0x7FFF ? static_cast<int16_t>(c) : int16_t{'?'};
}

QString keyTextOf(int16_t keyCode, int16_t shift) {
    const bool shifted = shift & 1;
    if (shift & 4)
        return {};
    if (shift & 2) {
        if (keyCode >= 65 && keyCode <= 90)
            return QString(QChar(keyCode - 64));
        return {};
    }
    if (keyCode >= 65 && keyCode <= 90)
        return QString(QChar(shifted ? keyCode : keyCode + 32));
    if (keyCode >= 48 && keyCode <= 57)
        return QString(QChar(shifted ? kShiftedDigits[keyCode - 48] : keyCode));
    if (keyCode >= keycode::Numpad0 && keyCode <= keycode::Numpad0 + 9)
        return QString(QChar('0' + (keyCode - keycode::Numpad0)));
    switch (keyCode) {
    case keycode::Back:
        return QStringLiteral("\b");
    case keycode::Tab:
        return QStringLiteral("\t");
    case keycode::Return:
        return QStringLiteral("\r");
    case keycode::Escape:
        return QStringLiteral("\x1b");
    case keycode::Space:
        return QStringLiteral(" ");
    case 106:
        return QStringLiteral("*");
    case 107:
        return QStringLiteral("+");
    case 109:
        return QStringLiteral("-");
    case 110:
        return QStringLiteral(".");
    case 111:
        return QStringLiteral("/");
    default:
        break;
    }
    for (const PunctuationKey& k : kPunctuation)
        if (k.code == keyCode)
            return QString(QChar(shifted ? k.shifted : k.plain));
    return {};
}

int16_t shiftStateOf(Qt::KeyboardModifiers modifiers) {
    int16_t s = 0;
    if (modifiers & Qt::ShiftModifier)
        s |= 1;
    if (modifiers & Qt::ControlModifier)
        s |= 2;
    if (modifiers & Qt::AltModifier)
        s |= 4;
    return s;
}

Qt::KeyboardModifiers modifiersOf(int16_t shift) {
    Qt::KeyboardModifiers m;
    if (shift & 1)
        m |= Qt::ShiftModifier;
    if (shift & 2)
        m |= Qt::ControlModifier;
    if (shift & 4)
        m |= Qt::AltModifier;
    return m;
}

} // namespace korva
