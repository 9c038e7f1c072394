// How many cases a long randomised test runs. `full` normally; a sanitizer
// build makes each case many times slower, so its run may ask for fewer
// through KORVA_TEST_CASES, but never fewer than 1,000 nor more than `full`.
#pragma once

#include <QtGlobal>

#include <algorithm>

namespace korva::test {

inline int caseCount(int full) {
    bool ok = false;
    const int asked = qEnvironmentVariableIntValue("KORVA_TEST_CASES", &ok);
    if (!ok)
        return full;
    return std::clamp(asked, std::min(1000, full), full);
}

} // namespace korva::test
