// The tick gate: game logic advances in ticks at least 1/120 second apart,
// at most one per frame, and a late frame is never paid back with extra
// ticks. The performance counter is read through a seam that tests replace
// with a fake clock.
#pragma once

#include <cstdint>

constexpr double TICK_INTERVAL = 1.0 / 120.0;

struct TickClock {
    int64_t lastTick;  // counter value at the last granted tick
    int64_t now;       // counter value read by the latest question
    double interval;   // seconds that must pass before the next tick
};

// Where the counter comes from. The real one is the monotonic clock in
// nanoseconds; a fake one lets tests move time by hand.
struct PerformanceCounter {
    int64_t (*read)();
    int64_t frequency;                 // counts per second
    void (*sleepCounts)(int64_t counts);  // block for about this many counts
};

// The monotonic clock of the system.
PerformanceCounter systemCounter();
// Replaces the counter used by every FrameTimer and by resetTickClock.
void setPerformanceCounter(const PerformanceCounter& counter);
const PerformanceCounter& performanceCounter();

class FrameTimer {
public:
    FrameTimer();

    // Is a tick due? If so the next tick period starts now. With pacing on,
    // the question first sleeps until more than the interval has passed
    // since the last tick, so a frame drawn faster than the tick rate still
    // carries its tick (and its click is not thrown away) without spinning a
    // core, and the time spent drawing counts towards the period.
    bool isTickDue(TickClock& clock);

    int64_t counterFrequency;
    bool pacing = false;  // on in the program, off in tests that drive frames by hand
    int64_t ticksGranted = 0;  // every tick this timer has granted, for the frame statistics

private:
    void sleepUntilDue(const TickClock& clock) const;
};

void resetTickClock(TickClock& clock, double interval);

extern FrameTimer frameTimer;
extern TickClock tickClock;
