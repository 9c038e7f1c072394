// Spin's character filter, apart from any window: which typed characters may
// reach the text. Only digits, backspace and (where asked) one full stop.
#pragma once

#include <QString>

#include <cstdint>

namespace korva::spin_input {

constexpr int32_t kBackspace = 8;
constexpr int32_t kFullStop = 46;
// The key code of the full stop key, which some callers pass as a character.
constexpr int32_t kFullStopKey = 190;

// 1 when `number` holds a full stop anywhere, otherwise 0. Only the full stop
// counts, whatever the locale's decimal separator.
int32_t DecimalpointCheck(const QString& number);

// The character code to let through, or 0 to drop the keystroke. With
// `extraCheck` a full stop passes only while `extraText` holds none.
uint8_t KeyLock(int32_t keyAscii, bool extraCheck, const QString& extraText);

} // namespace korva::spin_input
