// The value text parser: any text either parses or fails with a located,
// short message; what parses, written in the typed form, reads back as the
// same value, and the printed form parses too.
#include "frame/values/value_text_p.h"
#include "fuzz/fuzz_support.h"

#include <cstddef>
#include <cstdint>

using namespace korva;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    Value v;
    ValueParseError error;
    if (!parseValue(text, v, error)) {
        FUZZ_CHECK(error.column >= 1 && error.column <= text.size() + 1);
        FUZZ_CHECK(!error.message.isEmpty() && error.message.size() < 400);
        return 0;
    }
    const QString typed = formatTypedValue(v);
    FUZZ_CHECK(!typed.contains(u'\n') && !typed.contains(u'\r'));
    Value back;
    FUZZ_CHECK(parseValue(typed, back, error));
    if (v.is<Picture>())
        FUZZ_CHECK(formatTypedValue(back) == typed); // pixel formats may differ, the PNG may not
    else
        FUZZ_CHECK(fuzz::sameValue(back, v));
    Value printed;
    FUZZ_CHECK(parseValue(formatValue(v), printed, error));
    return 0;
}
