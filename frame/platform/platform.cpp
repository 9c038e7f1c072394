#include "frame/platform/platform_p.h"

#include "frame/values/ole_color.h"

#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QPointer>
#include <QScreen>
#include <QWidget>

#include <array>
#include <chrono>

namespace korva {

namespace {

Platform* g_installed = nullptr;

Platform& nativePlatform() {
    static Platform native;
    return native;
}

// Guarded: the window holding the capture may be deleted while it holds it.
QPointer<QWidget> g_capture;

constexpr uint32_t kNoColour = 0xFFFFFFFFu;

// Index 25 is a gap in the platform's numbering: it names no colour.
constexpr std::array<uint32_t, 31> kClassicColours = {
    rgb(212, 208, 200), // 0 scroll bar
    rgb(58, 110, 165),  // 1 desktop
    rgb(10, 36, 106),   // 2 active caption
    rgb(128, 128, 128), // 3 inactive caption
    rgb(212, 208, 200), // 4 menu
    rgb(255, 255, 255), // 5 window background
    rgb(0, 0, 0),       // 6 window frame
    rgb(0, 0, 0),       // 7 menu text
    rgb(0, 0, 0),       // 8 window text
    rgb(255, 255, 255), // 9 caption text
    rgb(212, 208, 200), // 10 active border
    rgb(212, 208, 200), // 11 inactive border
    rgb(128, 128, 128), // 12 application workspace
    rgb(10, 36, 106),   // 13 highlight
    rgb(255, 255, 255), // 14 highlight text
    rgb(212, 208, 200), // 15 button face
    rgb(128, 128, 128), // 16 button shadow
    rgb(128, 128, 128), // 17 grey text
    rgb(0, 0, 0),       // 18 button text
    rgb(212, 208, 200), // 19 inactive caption text
    rgb(255, 255, 255), // 20 button highlight
    rgb(64, 64, 64),    // 21 3-D dark shadow
    rgb(212, 208, 200), // 22 3-D light
    rgb(0, 0, 0),       // 23 tooltip text
    rgb(255, 255, 225), // 24 tooltip background
    kNoColour,          // 25
    rgb(0, 0, 128),     // 26 hot-tracked item
    rgb(166, 202, 240), // 27 active caption gradient
    rgb(192, 192, 192), // 28 inactive caption gradient
    rgb(10, 36, 106),   // 29 menu highlight
    rgb(212, 208, 200), // 30 menu bar
};

uint32_t fromQColor(const QColor& c) { return rgb(c.red(), c.green(), c.blue()); }

bool paletteColour(int index, uint32_t& out) {
    const QPalette pal = QGuiApplication::palette();
    QPalette::ColorRole role;
    switch (index) {
    case 4:
    case 15:
    case 22:
    case 30:
    case 0:
    case 10:
    case 11:
    case 19:
        role = QPalette::Button;
        break;
    case 5:
        role = QPalette::Base;
        break;
    case 7:
    case 8:
        role = QPalette::WindowText;
        break;
    case 13:
    case 29:
        role = QPalette::Highlight;
        break;
    case 14:
        role = QPalette::HighlightedText;
        break;
    case 16:
    case 3:
    case 12:
        role = QPalette::Dark;
        break;
    case 17:
        out = fromQColor(pal.color(QPalette::Disabled, QPalette::Text));
        return true;
    case 18:
        role = QPalette::ButtonText;
        break;
    case 20:
        role = QPalette::Light;
        break;
    case 21:
    case 6:
        role = QPalette::Shadow;
        break;
    case 23:
        role = QPalette::ToolTipText;
        break;
    case 24:
        role = QPalette::ToolTipBase;
        break;
    case 26:
        role = QPalette::Link;
        break;
    default:
        return defaultSystemColour(index, out);
    }
    out = fromQColor(pal.color(QPalette::Active, role));
    return true;
}

} // namespace

bool defaultSystemColour(int index, uint32_t& out) {
    if (index < 0 || index >= static_cast<int>(kClassicColours.size()) ||
        kClassicColours[static_cast<size_t>(index)] == kNoColour)
        return false;
    out = kClassicColours[static_cast<size_t>(index)];
    return true;
}

Platform::~Platform() = default;

Platform& Platform::instance() { return g_installed ? *g_installed : nativePlatform(); }
void Platform::install(Platform* p) { g_installed = p; }

static double twipsFromDpi(double dpi) { return dpi > 0 ? 1440.0 / dpi : 15.0; }

double Platform::twipsPerPixelX() const {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? twipsFromDpi(s->logicalDotsPerInchX()) : 15.0;
}

double Platform::twipsPerPixelY() const {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? twipsFromDpi(s->logicalDotsPerInchY()) : 15.0;
}

QRect Platform::screenRect() const {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry() : QRect(0, 0, 1024, 768);
}

QPoint Platform::cursorPos() const { return QCursor::pos(); }

WindowRect Platform::windowRect(const QWidget* w) const {
    if (!w)
        return {};
    const QPoint tl = w->mapToGlobal(QPoint(0, 0));
    return {tl.x(), tl.y(), tl.x() + w->width(), tl.y() + w->height()};
}

void Platform::setCapture(QWidget* w) {
    if (g_capture && g_capture != w)
        g_capture->releaseMouse();
    g_capture = w;
    if (w && w->isVisible())
        w->grabMouse();
}

QWidget* Platform::capture() const { return g_capture; }

void Platform::activateWindow(QWidget* w) {
    if (w)
        w->activateWindow();
}

void Platform::releaseCapture() {
    if (g_capture)
        g_capture->releaseMouse();
    g_capture = nullptr;
}

void Platform::setCursor(QWidget* w, CursorShape shape) {
    if (w)
        w->setCursor(shape == CursorShape::Hand ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

bool Platform::systemColour(int index, uint32_t& out) const {
    if (followPalette_ && qApp)
        return paletteColour(index, out);
    return defaultSystemColour(index, out);
}

void Platform::sendShiftTab(QWidget* from) {
    QWidget* target = QApplication::focusWidget();
    if (!target)
        target = from;
    if (!target)
        return;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Backtab, Qt::ShiftModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Backtab, Qt::ShiftModifier);
    QApplication::sendEvent(target, &press);
    // The release goes where the press moved the focus, as a keyboard's does.
    if (QWidget* now = QApplication::focusWidget())
        target = now;
    QApplication::sendEvent(target, &release);
}

bool Platform::chooseColour(QWidget* parent, uint32_t initial, uint32_t& chosen) {
    const QColor start(static_cast<int>(initial & 0xFFu), static_cast<int>((initial >> 8) & 0xFFu),
                       static_cast<int>((initial >> 16) & 0xFFu));
    const QColor c = QColorDialog::getColor(start, parent);
    if (!c.isValid())
        return false;
    chosen = fromQColor(c);
    return true;
}

uint32_t Platform::tickCount() const {
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace korva
