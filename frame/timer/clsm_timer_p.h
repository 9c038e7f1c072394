// The library's interval timer: OnTimer once per Interval milliseconds while
// Enabled. It does not use the event loop: switching it on runs a waiting loop
// on the calling thread that polls the platform's tick counter and returns
// only once a handler of OnTimer has switched the timer off. Internal to the
// library; the host cannot create it.
//
// A round of the waiting loop, while enabled:
//   start == 0            -> start = tick        (0 means "not started", so a
//                                                 tick of exactly 0 is read again)
//   now = tick
//   now - start >= period -> start = tick (read again), raise OnTimer
// The difference is a signed 32-bit subtraction; when it overflows (the
// counter crossing 2^31 during a period) the period counts as elapsed. The
// next period starts from the tick read just before the event, so a handler's
// own time counts into the next period.
//
// A let from inside a handler runs the loop again, nested: switching off
// returns at once and lets the outer loop end too; a new Interval keeps it
// running inside the handler until something switches it off.
#pragma once

#include <QObject>

#include <cstdint>
#include <functional>

namespace korva {

class clsm_TIMER : public QObject {
    Q_OBJECT
public:
    clsm_TIMER();
    ~clsm_TIMER() override; // Terminate: switches the timer off

    // Let only. Resets the period start, then runs the waiting loop (which
    // returns at once when switching off).
    void setEnabled(bool on);
    // Let only. Below 1 switches the timer off with a period of 0 and runs no
    // loop; otherwise resets the period start, stores the period and runs the
    // waiting loop (which returns at once while the timer is off).
    void setInterval(int32_t ms);

    // Raised once per elapsed period, after the OnTimer signal.
    std::function<void()> onTimer;

signals:
    void OnTimer();

private:
    void waitingLoop();
    void raiseOnTimer();

    bool enabled_ = false;
    int32_t period_ = 450;
    int32_t start_ = 0;
};

} // namespace korva
