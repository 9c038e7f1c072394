// Runs before main(): with no X server to reach, Qt would abort at the first
// window. Falling back to offscreen lets each case skip itself with its reason.
#include <QByteArray>

namespace {

const bool fallBackToOffscreen = [] {
    if (qgetenv("QT_QPA_PLATFORM") == "xcb")
        qputenv("QT_QPA_PLATFORM", "xcb;offscreen");
    return true;
}();

} // namespace
