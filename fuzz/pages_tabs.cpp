// The tab string helpers: any text normalises to a string that normalising
// again leaves alone; its fields, counted, split in one pass and read one at
// a time, agree; and the captions a tab list is built from, joined again,
// make a tab string that gives back the same captions.
#include "fuzz/fuzz_support.h"
#include "pages/tab_string_p.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

using namespace korva;
using namespace korva::pages;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString sep = QStringLiteral(",");

    const QString norm = normaliseTabString(text);
    FUZZ_CHECK(normaliseTabString(norm) == norm);
    FUZZ_CHECK(!norm.contains(QLatin1String("\r\n")));
    FUZZ_CHECK(trimSpaces(norm) == norm);

    const int32_t n = CountFields(text);
    FUZZ_CHECK(n == CountFields(norm));
    FUZZ_CHECK((n == 0) == norm.isEmpty());
    const QStringList fields = splitFields(norm);
    FUZZ_CHECK(fields.size() == n);
    // Reading fields one by one costs a scan each: check the first ones and the last.
    for (int32_t i = 1; i <= n; i = i < 32 ? i + 1 : std::max(i + 1, n))
        FUZZ_CHECK(GetField(norm, sep, i) == fields[i - 1]);
    FUZZ_CHECK(GetField(norm, sep, 0) == QLatin1String("0"));
    FUZZ_CHECK(GetField(norm, sep, -1) == QLatin1String("0"));
    if (n > 0)
        FUZZ_CHECK(GetField(norm, sep, n + 1) == QLatin1String("0"));
    else
        FUZZ_CHECK(GetField(norm, sep, 1).isEmpty());
    // A separator longer than one character never matches: the whole text is field 1.
    FUZZ_CHECK(GetField(norm, QStringLiteral(",,"), 1) == norm);

    QStringList captions;
    captions.reserve(fields.size());
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QString c = captionOfField(fields[i], static_cast<int32_t>(i + 1));
        FUZZ_CHECK(!c.isEmpty() && trimSpaces(c) == c);
        captions.append(c);
    }
    const QString rebuilt = captions.join(sep);
    FUZZ_CHECK(normaliseTabString(rebuilt) == rebuilt);
    FUZZ_CHECK(CountFields(rebuilt) == n);
    const QStringList again = splitFields(rebuilt);
    FUZZ_CHECK(again.size() == captions.size());
    for (qsizetype i = 0; i < again.size(); ++i)
        FUZZ_CHECK(captionOfField(again[i], static_cast<int32_t>(i + 1)) == captions[i]);
    return 0;
}
