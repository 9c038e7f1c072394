// What every fuzz target shares: a headless application, value comparison
// that treats NaN as itself, and a check that stops the run with a message.
//
// A target is one file defining LLVMFuzzerTestOneInput; it checks a property
// of what it exercises (what is written reads back the same, a bag never
// holds a value of the wrong type), not only that nothing crashes.
#pragma once

#include "frame/values/value.h"

#include <QApplication>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace korva::fuzz {

// Created on first use and kept for the whole run: controls need widgets.
inline void ensureApplication() {
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "korva-fuzz";
        static char* argv[] = {name, nullptr};
        return new QApplication(argc, argv);
    }();
    (void)app;
}

// Equal values, where a NaN equals a NaN of the same type (and -0.0 differs from 0.0).
inline bool sameValue(const Value& a, const Value& b) {
    if (a.type() != b.type())
        return false;
    if (const double* x = a.ptr<double>())
        return std::memcmp(x, b.ptr<double>(), sizeof(double)) == 0 ||
               (std::isnan(*x) && std::isnan(*b.ptr<double>()));
    if (const float* x = a.ptr<float>())
        return std::memcmp(x, b.ptr<float>(), sizeof(float)) == 0 ||
               (std::isnan(*x) && std::isnan(*b.ptr<float>()));
    if (const FontSpec* f = a.ptr<FontSpec>()) {
        FontSpec x = *f;
        FontSpec y = b.as<FontSpec>();
        if (std::isnan(x.size) && std::isnan(y.size))
            x.size = y.size = 0;
        return x == y;
    }
    return a == b;
}

[[noreturn]] inline void failed(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, what);
    std::fflush(stderr);
    std::abort();
}

} // namespace korva::fuzz

#define FUZZ_CHECK(cond)                                                                                     \
    do {                                                                                                     \
        if (!(cond))                                                                                         \
            ::korva::fuzz::failed(#cond, __FILE__, __LINE__);                                                \
    } while (0)
