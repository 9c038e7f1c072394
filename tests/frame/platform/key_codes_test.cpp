// Key codes, character codes and shift bits between Qt and the runtime.
#include "frame/platform/key_codes_p.h"

#include <gtest/gtest.h>

using namespace korva;

namespace {

struct KeyRow {
    int qtKey;
    Qt::KeyboardModifiers mods;
    const char* text;
    int16_t code;
    int16_t ascii;
};

TEST(KeyCodes, QtKeysMapToTheRuntimesCodes) {
    const KeyRow rows[] = {
        {Qt::Key_A, {}, "a", 65, 97},
        {Qt::Key_A, Qt::ControlModifier, "a", 65, 1},
        {Qt::Key_A, Qt::AltModifier, "a", 65, 0},
        {Qt::Key_5, {}, "5", 53, 53},
        {Qt::Key_5, Qt::KeypadModifier, "5", 101, 53},
        {Qt::Key_Exclam, Qt::ShiftModifier, "!", 49, 33},
        {Qt::Key_Period, Qt::KeypadModifier, ".", 110, 46},
        {Qt::Key_Colon, Qt::ShiftModifier, ":", 186, 58},
        {Qt::Key_Left, {}, "", 37, 0},
        {Qt::Key_Tab, {}, "\t", 9, 9},
        {Qt::Key_Return, {}, "\r", 13, 13},
        {Qt::Key_Enter, Qt::KeypadModifier, "\r", 13, 13},
        {Qt::Key_Backspace, {}, "\b", 8, 8},
        {Qt::Key_Delete, {}, "\x7f", 46, 0},
        {Qt::Key_F1, {}, "", 112, 0},
        {Qt::Key_Shift, Qt::ShiftModifier, "", 16, 0},
    };
    for (const KeyRow& r : rows) {
        SCOPED_TRACE(r.code);
        EXPECT_EQ(keyCodeOf(r.qtKey, r.mods), r.code);
        EXPECT_EQ(keyAsciiOf(r.qtKey, r.mods, QString::fromLatin1(r.text)), r.ascii);
    }
    // Codes lead back to a key with the same code, and to the text a US keyboard types.
    for (int16_t code : {8, 9, 13, 27, 32, 37, 46, 48, 57, 65, 90, 96, 105, 107, 112, 186, 222}) {
        SCOPED_TRACE(code);
        const Qt::KeyboardModifiers mods = isKeypadCode(code) ? Qt::KeypadModifier : Qt::NoModifier;
        EXPECT_EQ(keyCodeOf(qtKeyOf(code), mods), code);
    }
    EXPECT_EQ(keyTextOf(65, 0), "a");
    EXPECT_EQ(keyTextOf(65, 1), "A");
    EXPECT_EQ(keyTextOf(65, 2), QString(QChar(1)));
    EXPECT_EQ(keyTextOf(49, 1), "!");
    EXPECT_EQ(keyTextOf(186, 1), ":");
    EXPECT_EQ(keyTextOf(37, 0), "");
    EXPECT_EQ(qtKeyOf(0), Qt::Key_unknown);
    EXPECT_EQ(qtKeyOf(255), Qt::Key_unknown);
    EXPECT_EQ(modifiersOf(shiftStateOf(Qt::ShiftModifier | Qt::AltModifier)),
              Qt::ShiftModifier | Qt::AltModifier);
}

} // namespace
