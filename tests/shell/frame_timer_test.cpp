#include <gtest/gtest.h>

#include "app/frame_timer.h"
#include "lib/fake_counter.h"

namespace {

// 1/120 s in microseconds is 8333.33: 8333 counts are not enough, 8334 are.
constexpr int64_t BELOW_INTERVAL = 8333;
constexpr int64_t ABOVE_INTERVAL = 8334;

TEST(TickGate, GrantsOnlyStrictlyMoreThanTheInterval) {
    fake_counter::Scope fake;
    FrameTimer timer;
    TickClock clock{};
    resetTickClock(clock, TICK_INTERVAL);
    EXPECT_EQ(clock.lastTick, 0);

    fake_counter::now = BELOW_INTERVAL;
    EXPECT_FALSE(timer.isTickDue(clock));
    EXPECT_EQ(clock.lastTick, 0) << "a refused question leaves the period running";
    EXPECT_EQ(clock.now, BELOW_INTERVAL);

    fake_counter::now = ABOVE_INTERVAL;
    EXPECT_TRUE(timer.isTickDue(clock));
    EXPECT_EQ(clock.lastTick, ABOVE_INTERVAL) << "the new period starts at the granting question";

    // Exactly one interval after a tick, to the counter's resolution: no.
    TickClock exact{};
    setPerformanceCounter({fake_counter::read, 120, fake_counter::sleep});
    timer.counterFrequency = 120;
    fake_counter::now = 0;
    resetTickClock(exact, TICK_INTERVAL);
    fake_counter::now = 1;
    EXPECT_FALSE(timer.isTickDue(exact));
    fake_counter::now = 2;
    EXPECT_TRUE(timer.isTickDue(exact));
}

TEST(TickGate, AStallIsNeverPaidBack) {
    fake_counter::Scope fake;
    FrameTimer timer;
    TickClock clock{};
    resetTickClock(clock, TICK_INTERVAL);
    fake_counter::now = 3 * fake_counter::FREQUENCY;
    EXPECT_TRUE(timer.isTickDue(clock));
    fake_counter::now += 1000;  // the next question in the same millisecond
    EXPECT_FALSE(timer.isTickDue(clock));
    fake_counter::now += ABOVE_INTERVAL;
    EXPECT_TRUE(timer.isTickDue(clock));
}

TEST(TickGate, AtMostOneTickPerQuestionAt120PerSecond) {
    fake_counter::Scope fake;
    FrameTimer timer;
    TickClock clock{};
    resetTickClock(clock, TICK_INTERVAL);
    // Frames every millisecond for one second: ticks come no more than 120 times.
    int ticks = 0;
    for (int frame = 0; frame < 1000; ++frame) {
        fake_counter::now += 1000;
        if (timer.isTickDue(clock)) ++ticks;
    }
    EXPECT_LE(ticks, 120);
    EXPECT_GE(ticks, 110);  // a tick every 9 ms at this frame spacing
}

TEST(FramePacing, TheQuestionWaitsUntilItsTickIsDueAndNoLonger) {
    fake_counter::Scope fake;
    FrameTimer timer;
    timer.pacing = true;
    TickClock clock{};
    resetTickClock(clock, TICK_INTERVAL);

    fake_counter::now = 3000;  // the frame was drawn in 3 ms
    EXPECT_TRUE(timer.isTickDue(clock)) << "a paced question always carries its tick";
    EXPECT_GT(fake_counter::now, BELOW_INTERVAL);
    EXPECT_LE(fake_counter::now, ABOVE_INTERVAL + 1) << "slept no longer than needed";
    EXPECT_EQ(clock.lastTick, fake_counter::now) << "the next period starts when the wait ends";

    // Already late: no sleep at all, and the lateness is not paid back.
    fake_counter::slept = 0;
    fake_counter::now += 50000;
    EXPECT_TRUE(timer.isTickDue(clock));
    EXPECT_EQ(fake_counter::slept, 0);
    fake_counter::now += 1000;
    EXPECT_TRUE(timer.isTickDue(clock));
    EXPECT_EQ(fake_counter::now - clock.lastTick, 0);
    EXPECT_EQ(fake_counter::slept, ABOVE_INTERVAL - 1000) << "the next tick is one interval after the late one";
}

TEST(FramePacing, DrawingTimeCountsTowardsThePeriod) {
    // The tick rate must not depend on how long a frame takes to draw, as
    // long as it takes less than a tick: 120 ticks a second, whether a frame
    // is drawn in a tenth of a millisecond or in eight milliseconds.
    for (const int64_t drawing : {100, 1000, 5000, 8000}) {
        SCOPED_TRACE(drawing);
        fake_counter::Scope fake;
        FrameTimer timer;
        timer.pacing = true;
        TickClock clock{};
        resetTickClock(clock, TICK_INTERVAL);
        int ticks = 0;
        for (int frame = 0; frame < 240; ++frame) {
            fake_counter::now += drawing;
            if (timer.isTickDue(clock)) ++ticks;
        }
        EXPECT_EQ(ticks, 240);
        const double seconds = static_cast<double>(fake_counter::now) / fake_counter::FREQUENCY;
        EXPECT_NEAR(seconds, 2.0, 0.01) << "240 ticks take two seconds at 120 a second";
    }
}

TEST(FramePacing, SlowFramesEachCarryOneTickAndNeverSleep) {
    fake_counter::Scope fake;
    FrameTimer timer;
    timer.pacing = true;
    TickClock clock{};
    resetTickClock(clock, TICK_INTERVAL);
    // 75 frames a second: each frame is already late, so the game runs at
    // the frame rate and nothing sleeps.
    for (int frame = 0; frame < 75; ++frame) {
        fake_counter::now += fake_counter::FREQUENCY / 75;
        EXPECT_TRUE(timer.isTickDue(clock));
    }
    EXPECT_EQ(fake_counter::slept, 0);
}

TEST(FramePacing, OffItNeverSleeps) {
    fake_counter::Scope fake;
    FrameTimer timer;
    TickClock clock{};
    resetTickClock(clock, TICK_INTERVAL);
    fake_counter::now = 1000;
    EXPECT_FALSE(timer.isTickDue(clock));
    EXPECT_EQ(fake_counter::slept, 0);
}

TEST(TickGate, RealClockIsMonotonic) {
    const PerformanceCounter real = systemCounter();
    EXPECT_EQ(real.frequency, 1000000000LL);
    const int64_t a = real.read();
    real.sleepCounts(2000000);  // 2 ms
    const int64_t b = real.read();
    EXPECT_GE(b - a, 2000000);
}

}  // namespace
