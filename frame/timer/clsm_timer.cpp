#include "frame/timer/clsm_timer_p.h"

#include "frame/values/guarded_p.h"

#include "frame/platform/platform_p.h"

#include <QPointer>

#include <exception>
#include <limits>

namespace korva {

namespace {

// The tick counter as the timer sees it: a signed 32-bit count that wraps.
int32_t tickCount() { return static_cast<int32_t>(Platform::instance().tickCount()); }

} // namespace

clsm_TIMER::clsm_TIMER() = default;

clsm_TIMER::~clsm_TIMER() { enabled_ = false; }

void clsm_TIMER::setEnabled(bool on) {
    enabled_ = on;
    start_ = 0;
    waitingLoop();
}

void clsm_TIMER::setInterval(int32_t ms) {
    if (ms < 1) {
        period_ = 0;
        start_ = 0;
        enabled_ = false;
        return;
    }
    start_ = 0;
    period_ = ms;
    waitingLoop();
}

void clsm_TIMER::waitingLoop() {
    // A handler may destroy the timer (its control going away) while the
    // loop that called it still runs.
    const QPointer<clsm_TIMER> self(this);
    bool polled = false;
    int32_t lastNow = 0;
    while (self && enabled_) {
        if (start_ == 0)
            start_ = tickCount();
        const int32_t now = tickCount();
        const int64_t elapsed = static_cast<int64_t>(now) - start_;
        // An elapsed time outside the 32-bit range is the subtraction
        // overflowing, which the runtime's error policy lets through as passed.
        const bool overflowed =
            elapsed > std::numeric_limits<int32_t>::max() || elapsed < std::numeric_limits<int32_t>::min();
        if (overflowed || elapsed >= period_) {
            start_ = tickCount();
            raiseOnTimer();
            polled = false;
            continue;
        }
        // A scripted clock moves only when someone moves it, and while no
        // handler runs nobody can: a round that found the clock where the last
        // one left it would repeat forever.
        if (polled && now == lastNow && Platform::instance().drivesTimers()) {
            qWarning("clsm_TIMER: the scripted clock does not move; leaving the waiting loop");
            return;
        }
        polled = true;
        lastNow = now;
    }
}

void clsm_TIMER::raiseOnTimer() {
    const QPointer<clsm_TIMER> self(this);
    runGuarded("an OnTimer handler", [&] {
        emit OnTimer();
        // A copy: the handler may replace itself while it runs.
        if (const std::function<void()> handler = self ? onTimer : nullptr)
            handler();
    });
}

} // namespace korva
