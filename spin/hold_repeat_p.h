// Hold-to-repeat timing of the up/down buttons, apart from any window or
// clock so it can be checked on its own. Time arrives as ticks of kTickMs;
// whoever owns the clock (a Qt timer, a timer element on the platform clock)
// calls tick() while a button is held.
//
//   press            step once at once (the caller does that), counting starts
//   ticks 1..7       nothing: the delay before repeating (400 ms)
//   tick 8, 10, ...  one step each (every 100 ms) while the pointer is over
//                    the pressed button; ticks away from it step nothing
//   release          stops; later ticks step nothing
#pragma once

#include <cstdint>

namespace korva {

class HoldRepeat {
public:
    static constexpr uint32_t kTickMs = 50;
    static constexpr uint32_t kDelayTicks = 8;
    static constexpr uint32_t kEveryTicks = 2;

    void press() {
        held_ = true;
        over_ = true;
        ticks_ = 0;
    }
    void release() { held_ = false; }
    bool held() const { return held_; }
    // The pointer left or came back over the held button.
    void setOver(bool over) { over_ = over; }

    // One tick of the clock; true when a repeated step is due now.
    bool tick() {
        if (!held_)
            return false;
        ++ticks_;
        return over_ && ticks_ >= kDelayTicks && (ticks_ - kDelayTicks) % kEveryTicks == 0;
    }

private:
    bool held_ = false;
    bool over_ = false;
    uint32_t ticks_ = 0;
};

} // namespace korva
