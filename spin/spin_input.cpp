#include "spin/spin_input_p.h"

namespace korva::spin_input {

int32_t DecimalpointCheck(const QString& number) {
    for (const QChar c : number)
        if (c == QLatin1Char('.'))
            return 1;
    return 0;
}

uint8_t KeyLock(int32_t keyAscii, bool extraCheck, const QString& extraText) {
    const bool digitOrBack = (keyAscii >= '0' && keyAscii <= '9') || keyAscii == kBackspace;
    if (extraCheck) {
        if (keyAscii == kFullStop)
            return DecimalpointCheck(extraText) == 1 ? 0 : kFullStop;
        // The key code of the full stop key never passes, whatever the text holds.
        if (keyAscii == kFullStopKey)
            return 0;
    }
    return digitOrBack ? static_cast<uint8_t>(keyAscii) : 0;
}

} // namespace korva::spin_input
