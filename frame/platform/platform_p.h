// The platform layer: the few window-system services the controls rely on
// (screen metrics, cursor, mouse capture, system colours, the tick counter,
// moving the focus backwards). The native implementation sits on Qt; tests and
// scripts install a double that they steer (see scripted_platform.h).
#pragma once

#include <QPoint>
#include <QRect>

#include <cstdint>

class QWidget;

namespace korva {

// A window rectangle in screen pixels with exclusive right and bottom edges,
// as window managers report it (right = left + width).
struct WindowRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

enum class CursorShape { Arrow, Hand };

class Platform {
public:
    virtual ~Platform();

    // The platform in force. The native one unless a double was installed.
    static Platform& instance();
    // Installs `p` (not owned) in place of the native platform; nullptr restores it.
    static void install(Platform* p);

    virtual double twipsPerPixelX() const;
    virtual double twipsPerPixelY() const;
    virtual QRect screenRect() const; // pixels
    virtual QPoint cursorPos() const; // screen pixels
    virtual WindowRect windowRect(const QWidget* w) const;

    // Mouse capture: one window at a time holds it.
    virtual void setCapture(QWidget* w);
    virtual QWidget* capture() const;
    virtual void releaseCapture();

    // Makes the top-level window `w` the active window, so the focus can go
    // into it. A window system answers a request for it later; the scripted
    // platform makes it so at once, as a script expects.
    virtual void activateWindow(QWidget* w);

    // Makes `shape` the current cursor while the pointer is over `w`.
    virtual void setCursor(QWidget* w, CursorShape shape);

    // RGB of a system colour index, false for an index the platform does not know.
    virtual bool systemColour(int index, uint32_t& rgb) const;
    // When on, system colours follow the application's Qt palette instead of
    // the fixed classic table.
    void setFollowQtPalette(bool on) { followPalette_ = on; }
    bool followsQtPalette() const { return followPalette_; }

    // Sends Shift+Tab to the window that holds the focus, moving it backwards.
    virtual void sendShiftTab(QWidget* from);

    // The platform's colour dialog, opened on `initial` (0x00BBGGRR) with its
    // custom-colour part shown. True with the colour the user chose; false when
    // the dialog was cancelled or could not be shown.
    virtual bool chooseColour(QWidget* parent, uint32_t initial, uint32_t& chosen);

    // Milliseconds since an arbitrary start, wrapping at 2^32.
    virtual uint32_t tickCount() const;

    // True when timer elements run on this platform's clock instead of real time.
    virtual bool drivesTimers() const { return false; }

protected:
    bool followPalette_ = false;
};

// The classic default table of system colours (0x00BBGGRR), index 0..30;
// false for indices that name no colour.
bool defaultSystemColour(int index, uint32_t& rgb);

} // namespace korva
