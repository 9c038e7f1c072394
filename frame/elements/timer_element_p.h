// Timer element: raises Timer every Interval milliseconds while enabled.
// Under the native platform a Qt timer drives it; under a scripted platform
// the scripted clock does (ScriptedPlatform::advance), so tests and scripts
// decide when time passes.
#pragma once

#include "frame/runtime/element_p.h"

#include <QBasicTimer>

#include <functional>

namespace korva {

class TimerElement : public Element {
public:
    TimerElement(Control& owner, const QString& name, int index = -1);
    ~TimerElement() override;

    int32_t Interval() const { return interval_; }
    void setInterval(int32_t ms);
    bool timerEnabled() const { return enabled_; }
    void setTimerEnabled(bool on);

    std::unique_ptr<Element> cloneAs(Control& owner, int index) const override;

    // Moves every scripted timer on by `ms`, firing what falls due in time
    // order. `clock` is told each step before the timers of that moment fire,
    // so a handler reading the clock sees the time it fired at.
    static void advanceAll(uint32_t ms, const std::function<void(uint32_t step)>& clock);

    // A tick of the element's basic timer, from the clock that runs them all.
    void tick();

private:
    void sync();
    void fire();

    int32_t interval_ = 0;
    bool enabled_ = true;
    uint32_t elapsed_ = 0;
    // No QTimer: forms hold many timers that never run, and a basic timer
    // costs no object and no connection.
    QBasicTimer timer_;
};

} // namespace korva
