// A platform double whose cursor, clock, screen and colour dialog answers are
// set by the caller. Tests install it; korvahost installs it for scripts, so
// that a script can place the cursor and advance time.
#pragma once

#include "frame/platform/platform_p.h"

#include <QPointer>
#include <QWidget>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace korva {

class ScriptedPlatform : public Platform {
public:
    ScriptedPlatform();
    ~ScriptedPlatform() override;

    // Installs itself for its lifetime.
    void installed(bool on);

    double twipsPerPixelX() const override { return twips_; }
    double twipsPerPixelY() const override { return twips_; }
    QRect screenRect() const override { return screen_; }
    QPoint cursorPos() const override { return cursor_; }
    WindowRect windowRect(const QWidget* w) const override;
    void setCapture(QWidget* w) override { capture_ = w; }
    QWidget* capture() const override { return capture_; }
    void releaseCapture() override { capture_ = nullptr; }
    void activateWindow(QWidget* w) override;
    void setCursor(QWidget* w, CursorShape shape) override;
    void sendShiftTab(QWidget* from) override;
    // Answers with the queued answer, oldest first; with none queued the
    // dialog counts as cancelled.
    bool chooseColour(QWidget* parent, uint32_t initial, uint32_t& chosen) override;
    // Each read returns the clock, then moves it on by the tick step (see setTickStep).
    uint32_t tickCount() const override;

    void setTwipsPerPixel(double t) { twips_ = t; }
    void setScreenRect(const QRect& r) { screen_ = r; }
    // The next colour dialog picks `colour`, or is cancelled when none is given.
    void queueColourAnswer(std::optional<uint32_t> colour) { colourAnswers_.push_back(colour); }
    int colourDialogs() const { return colourDialogs_; }
    uint32_t lastDialogStart() const { return lastDialogStart_; }
    void setCursorPos(const QPoint& p) { cursor_ = p; }
    void setTickCount(uint32_t t) { tick_ = t; }
    // Lets time pass by itself: every tickCount() read moves the clock on by
    // `ms` (0, the default, keeps it still). Code that waits by polling the
    // clock, as the interval timer does, then finishes without anyone
    // advancing it. Timer elements do not fire on these steps.
    void setTickStep(uint32_t ms) { tickStep_ = ms; }
    // Moves the clock on; timer elements fire as they fall due.
    void advance(uint32_t ms);
    // What runs the timers that live on this clock: it moves the clock through
    // `clock` in steps and fires what falls due. The timers register it, so
    // the platform layer needs to know nothing of them.
    using TimerDriver = void (*)(uint32_t ms, const std::function<void(uint32_t step)>& clock);
    static void setTimerDriver(TimerDriver driver);
    bool drivesTimers() const override { return true; }
    // Where a window sits on the scripted screen; an unplaced top-level window
    // sits at its Qt position (pos()), a child window within its top-level.
    void placeWindow(const QWidget* w, const QPoint& topLeft);

    CursorShape lastCursor() const { return lastCursor_; }
    int cursorSets() const { return cursorSets_; }
    int shiftTabs() const { return shiftTabs_; }

private:
    double twips_ = 15.0;
    QRect screen_{0, 0, 1024, 768};
    QPoint cursor_{-1000, -1000};
    mutable uint32_t tick_ = 1000;
    uint32_t tickStep_ = 0;
    QPointer<QWidget> capture_;
    CursorShape lastCursor_ = CursorShape::Arrow;
    int cursorSets_ = 0;
    int shiftTabs_ = 0;
    std::deque<std::optional<uint32_t>> colourAnswers_;
    int colourDialogs_ = 0;
    uint32_t lastDialogStart_ = 0;
    std::vector<std::pair<const QWidget*, QPoint>> placed_;
};

} // namespace korva
