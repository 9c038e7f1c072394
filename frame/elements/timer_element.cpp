#include "frame/elements/timer_element_p.h"

#include "frame/platform/platform_p.h"
#include "frame/platform/scripted_platform_p.h"

#include <QTimerEvent>

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace korva {

namespace {
std::vector<TimerElement*>& liveTimers() {
    static std::vector<TimerElement*> all;
    return all;
}

// The one object every timer element's basic timer reports to: elements
// are no objects of Qt's own.
class Clock : public QObject {
public:
    std::unordered_map<int, TimerElement*> running;

protected:
    void timerEvent(QTimerEvent* e) override {
        const auto it = running.find(e->timerId());
        if (it != running.end())
            it->second->tick();
    }
};

Clock& clock() {
    static auto* c = new Clock;
    return *c;
}
} // namespace

TimerElement::TimerElement(Control& owner, const QString& name, int index)
    : Element(owner, name, index, false) {
    liveTimers().push_back(this);
    ScriptedPlatform::setTimerDriver(&TimerElement::advanceAll);
}

void TimerElement::tick() {
    if (!Platform::instance().drivesTimers())
        fire();
}

TimerElement::~TimerElement() {
    clock().running.erase(timer_.timerId());
    timer_.stop();
    // Controls usually go in the reverse order of their making: look from the
    // end, so ending n controls stays linear.
    auto& all = liveTimers();
    const auto it = std::find(all.rbegin(), all.rend(), this);
    if (it != all.rend())
        all.erase(std::next(it).base());
}

void TimerElement::setInterval(int32_t ms) {
    // The element's interval is an unsigned 16-bit count of milliseconds.
    if (ms < 0 || ms > 65535)
        return;
    interval_ = ms;
    elapsed_ = 0;
    sync();
}

void TimerElement::setTimerEnabled(bool on) {
    if (on && !enabled_)
        elapsed_ = 0;
    enabled_ = on;
    sync();
}

void TimerElement::sync() {
    const bool run = enabled_ && interval_ > 0 && !Platform::instance().drivesTimers();
    clock().running.erase(timer_.timerId());
    if (run) {
        timer_.start(interval_, Qt::CoarseTimer, &clock());
        clock().running[timer_.timerId()] = this;
    } else {
        timer_.stop();
    }
}

void TimerElement::fire() {
    std::vector<Value> none;
    deliver(Notification::Timer, none, nullptr);
}

std::unique_ptr<Element> TimerElement::cloneAs(Control& owner, int index) const {
    auto e = std::make_unique<TimerElement>(owner, Name(), index);
    e->interval_ = interval_;
    e->enabled_ = enabled_;
    e->sync();
    return e;
}

void TimerElement::advanceAll(uint32_t ms, const std::function<void(uint32_t step)>& clock) {
    // Step in whole intervals so every due tick fires, in time order across timers.
    uint32_t left = ms;
    while (left > 0) {
        uint32_t step = left;
        for (TimerElement* t : liveTimers())
            if (t->enabled_ && t->interval_ > 0)
                step = std::min(step, static_cast<uint32_t>(t->interval_) - t->elapsed_);
        left -= step;
        clock(step);
        std::vector<ElementRef> due;
        for (TimerElement* t : liveTimers()) {
            if (!(t->enabled_ && t->interval_ > 0))
                continue;
            t->elapsed_ += step;
            if (t->elapsed_ >= static_cast<uint32_t>(t->interval_)) {
                t->elapsed_ = 0;
                due.emplace_back(t);
            }
        }
        for (const ElementRef& t : due)
            if (Element* live = t.get())
                static_cast<TimerElement*>(live)->fire();
    }
}

} // namespace korva
