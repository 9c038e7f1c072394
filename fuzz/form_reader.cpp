// The form reader: any text either loads or fails with a located, short
// message; what loads, written back, reads back as the same document and
// the same text.
#include "frame/values/form_file_p.h"
#include "fuzz/fuzz_support.h"

#include <cstddef>
#include <cstdint>

using namespace korva;

namespace {

bool sameDocument(const FormDocument& a, const FormDocument& b) {
    if (a.controls.size() != b.controls.size())
        return false;
    for (size_t i = 0; i < a.controls.size(); ++i) {
        const FormControl& x = a.controls[i];
        const FormControl& y = b.controls[i];
        if (x.className != y.className || x.name != y.name || x.left != y.left || x.top != y.top ||
            x.width != y.width || x.height != y.height || x.bag.size() != y.bag.size())
            return false;
        for (qsizetype k = 0; k < x.bag.size(); ++k) {
            const auto& e = x.bag.entries()[static_cast<size_t>(k)];
            const auto& f = y.bag.entries()[static_cast<size_t>(k)];
            if (e.key != f.key || !fuzz::sameValue(e.value, f.value))
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    FormDocument doc;
    FormError error;
    if (!parseForm(text, QStringLiteral("fuzz.form"), doc, error)) {
        FUZZ_CHECK(doc.controls.empty());
        FUZZ_CHECK(error.line >= 0 && error.line <= text.count(u'\n') + 1);
        FUZZ_CHECK(!error.message.isEmpty() && error.message.size() < 600);
        return 0;
    }
    const QString written = writeForm(doc);
    FormDocument again;
    FUZZ_CHECK(parseForm(written, QStringLiteral("again.form"), again, error));
    FUZZ_CHECK(sameDocument(doc, again));
    FUZZ_CHECK(writeForm(again) == written);
    return 0;
}
