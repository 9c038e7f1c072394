// The interval timer's waiting loop on a scripted clock that moves one
// millisecond per read, so every case has an exact tick at which it ends.
#include "frame/timer/clsm_timer_p.h"
#include "support/platform_test.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <stdexcept>

using namespace korva;

namespace {

class IntervalTimerTest : public fixtures::PlatformTest {
protected:
    IntervalTimerTest() { platform.setTickStep(1); }

    // The clock without moving it.
    uint32_t now() {
        platform.setTickStep(0);
        const uint32_t t = platform.tickCount();
        platform.setTickStep(1);
        return t;
    }
    // Counts events, records the clock at each, and switches off on the `stopAt`th.
    void countAndStopAt(int stopAt) {
        timer.onTimer = [this, stopAt] {
            ticks.push_back(now());
            if (static_cast<int>(ticks.size()) == stopAt)
                timer.setEnabled(false);
        };
    }

    clsm_TIMER timer;
    std::vector<uint32_t> ticks;
};

// A round reads the clock once (twice when it starts a period); an elapsed
// period reads it once more for the next start. A period starting at S thus
// ends when a read returns S + period; the next one starts at S + period + 1,
// and the handler sees the clock one further on.
TEST_F(IntervalTimerTest, StopsAfterExactlyThreeEventsAboutThreePeriodsLater) {
    QSignalSpy signal(&timer, &clsm_TIMER::OnTimer);
    countAndStopAt(3);
    timer.setEnabled(true);
    EXPECT_EQ(ticks, (std::vector<uint32_t>{1452, 1903, 2354}));
    EXPECT_EQ(signal.count(), 3);
}

TEST_F(IntervalTimerTest, IntervalBelowOneSwitchesOffWithoutEvents) {
    for (int32_t ms : {0, -1, INT32_MIN}) {
        SCOPED_TRACE(ms);
        int events = 0;
        timer.onTimer = [&] { ++events; };
        const uint32_t before = now();
        timer.setInterval(ms);
        EXPECT_EQ(events, 0);
        EXPECT_EQ(now(), before); // the loop never ran
    }
    // Switched on with a period of 0, every round is an event.
    countAndStopAt(2);
    timer.setEnabled(true);
    EXPECT_EQ(ticks, (std::vector<uint32_t>{1003, 1005}));
}

TEST_F(IntervalTimerTest, LetsWhileOffOnlyStore) {
    int events = 0;
    timer.onTimer = [&] { ++events; };
    timer.setInterval(450);
    timer.setEnabled(false);
    timer.setInterval(100);
    EXPECT_EQ(events, 0);
    EXPECT_EQ(now(), 1000u);
    // The stored interval is the one that runs.
    countAndStopAt(1);
    timer.setEnabled(true);
    EXPECT_EQ(ticks, (std::vector<uint32_t>{1102}));
}

TEST_F(IntervalTimerTest, NewIntervalAppliesFromTheMomentItIsSet) {
    timer.onTimer = [this] {
        ticks.push_back(now());
        if (ticks.size() == 1)
            timer.setInterval(100); // runs the loop again, inside this handler
        else if (ticks.size() == 3)
            timer.setEnabled(false);
    };
    timer.setEnabled(true);
    EXPECT_EQ(ticks, (std::vector<uint32_t>{1452, 1554, 1655}));
}

TEST_F(IntervalTimerTest, TickCounterWrapAround) {
    const struct {
        const char* name;
        uint32_t startTick;
        uint32_t firstEvent;
    } cases[] = {
        // Crossing 2^31 overflows the subtraction: the period counts as elapsed at once.
        {"signed overflow", 0x7FFFFF00u, 0x80000002u},
        // Crossing 2^32 is an ordinary difference.
        {"unsigned wrap", 0xFFFFFF00u, 0xFFFFFF00u + 452u},
        // A start read as exactly 0 is "not started" and read again.
        {"start at zero", 0u, 454u},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ticks.clear();
        platform.setTickCount(c.startTick);
        countAndStopAt(1);
        timer.setInterval(450);
        timer.setEnabled(true);
        EXPECT_EQ(ticks, (std::vector<uint32_t>{c.firstEvent}));
    }
}

TEST_F(IntervalTimerTest, HandlerFailuresAndDestructionStayInside) {
    int calls = 0;
    timer.onTimer = [&] {
        if (++calls == 1)
            throw std::runtime_error("first call fails");
        timer.setEnabled(false);
    };
    timer.setEnabled(true);
    EXPECT_EQ(calls, 2);

    auto doomed = std::make_unique<clsm_TIMER>();
    doomed->onTimer = [&] { doomed.reset(); };
    doomed->setEnabled(true); // returns: the loop notices its timer is gone
    EXPECT_EQ(doomed, nullptr);
}

TEST_F(IntervalTimerTest, StillScriptedClockEndsTheLoopInsteadOfHanging) {
    platform.setTickStep(0);
    int events = 0;
    timer.onTimer = [&] { ++events; };
    timer.setEnabled(true);
    EXPECT_EQ(events, 0);
    // The timer stays switched on; once the clock moves, a let runs it again.
    platform.setTickStep(1);
    countAndStopAt(1);
    timer.setEnabled(true);
    EXPECT_EQ(ticks, (std::vector<uint32_t>{1452}));
}

} // namespace
