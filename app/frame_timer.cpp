#include "app/frame_timer.h"

#include <time.h>

namespace {

int64_t readMonotonic() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

// A sleeping thread wakes a little late, some tens of microseconds on a
// quiet machine. A tick's wait ends that late every period, so the last
// stretch is waited out awake, reading the clock: about 1 % of a core at
// 120 ticks a second, for ticks that come on time.
constexpr int64_t AWAKE_NANOSECONDS = 150000;

void sleepNanoseconds(int64_t counts) {
    if (counts <= 0) return;
    const int64_t deadline = readMonotonic() + counts;
    const int64_t asleep = counts - AWAKE_NANOSECONDS;
    if (asleep > 0) {
        timespec request;
        request.tv_sec = static_cast<time_t>(asleep / 1000000000LL);
        request.tv_nsec = static_cast<long>(asleep % 1000000000LL);
        while (nanosleep(&request, &request) != 0) {
            // Interrupted by a signal: sleep the rest.
        }
    }
    while (readMonotonic() < deadline) {
    }
}

PerformanceCounter& currentCounter() {
    static PerformanceCounter counter = systemCounter();
    return counter;
}

}  // namespace

PerformanceCounter systemCounter() { return {readMonotonic, 1000000000LL, sleepNanoseconds}; }

void setPerformanceCounter(const PerformanceCounter& counter) {
    currentCounter() = counter;
    frameTimer.counterFrequency = counter.frequency;
}

const PerformanceCounter& performanceCounter() { return currentCounter(); }

FrameTimer frameTimer;
TickClock tickClock;

FrameTimer::FrameTimer() : counterFrequency(currentCounter().frequency) {}

bool FrameTimer::isTickDue(TickClock& clock) {
    if (pacing) sleepUntilDue(clock);
    clock.now = currentCounter().read();
    const double elapsed =
        static_cast<double>(clock.now - clock.lastTick) / static_cast<double>(counterFrequency);
    if (elapsed > clock.interval) {
        clock.lastTick = clock.now;
        ++ticksGranted;
        return true;
    }
    return false;
}

void FrameTimer::sleepUntilDue(const TickClock& clock) const {
    const PerformanceCounter& counter = currentCounter();
    const double frequency = static_cast<double>(counterFrequency);
    for (;;) {
        const int64_t now = counter.read();
        const double elapsed = static_cast<double>(now - clock.lastTick) / frequency;
        if (elapsed > clock.interval) return;
        // One count past the end of the period, so the strict test passes.
        const int64_t remaining = static_cast<int64_t>((clock.interval - elapsed) * frequency) + 1;
        counter.sleepCounts(remaining);
    }
}

void resetTickClock(TickClock& clock, double interval) {
    clock.interval = interval;
    clock.lastTick = currentCounter().read();
}
