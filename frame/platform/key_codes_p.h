// Key codes as the runtime reports them in KeyDown and KeyUp (the virtual-key
// numbers: letters 65..90, digits 48..57, arrows 37..40, F1 112 ...), the
// shift state as a bit set (1 Shift, 2 Ctrl, 4 Alt), and the character code
// (KeyAscii) a key press produces. The controls and korvahost both translate
// through here, so a script's `key` line and a real key press look the same
// to a control.
//
// Punctuation keys are named by their place on a US keyboard: Qt reports a
// shifted key by its character (Key_Colon, Key_Exclam), the runtime by the key
// that was pressed, so both spellings map to the same code.
#pragma once

#include <QString>
#include <Qt>

#include <cstdint>

namespace korva {

namespace keycode {
constexpr int16_t Back = 8, Tab = 9, Return = 13, Shift = 16, Control = 17, Menu = 18, Escape = 27,
                  Space = 32;
constexpr int16_t PageUp = 33, PageDown = 34, End = 35, Home = 36, Left = 37, Up = 38, Right = 39, Down = 40;
constexpr int16_t Insert = 45, Delete = 46, F1 = 112, Numpad0 = 96;
} // namespace keycode

// The key code of a Qt key; 0 when the runtime has no code for it. With the
// keypad modifier, digits and operators give the numeric-pad codes.
int16_t keyCodeOf(int qtKey, Qt::KeyboardModifiers modifiers = {});

// The Qt key for a key code (the unshifted key); Qt::Key_unknown when unknown.
int qtKeyOf(int16_t keyCode);

// True when the code names a numeric-pad key (sent with Qt::KeypadModifier).
bool isKeypadCode(int16_t keyCode);

// The character code a key press produces, 0 when it produces none: the
// editing keys give 8, 9, 13 and 27, Ctrl with a letter gives 1..26, Alt
// combinations and keys without text (arrows, Delete, F-keys) give none.
int16_t keyAsciiOf(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text);

// The text a key produces under a shift state on a US keyboard, for
// synthesising key events; empty when the key produces no character.
QString keyTextOf(int16_t keyCode, int16_t shift);

// Shift state bits <-> Qt modifiers.
int16_t shiftStateOf(Qt::KeyboardModifiers modifiers);
Qt::KeyboardModifiers modifiersOf(int16_t shift);

} // namespace korva
