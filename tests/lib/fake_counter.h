// A performance counter that only moves when a test moves it (or when the
// frame pacing sleeps on it), in microsecond counts.
#pragma once

#include <cstdint>

#include "app/frame_timer.h"

namespace fake_counter {

inline int64_t now = 0;
inline int64_t slept = 0;  // counts slept through the pacing

inline int64_t read() { return now; }
inline void sleep(int64_t counts) {
    slept += counts;
    now += counts;
}

constexpr int64_t FREQUENCY = 1000000;

// Installs the fake counter at zero; the returned guard puts the real clock back.
struct Scope {
    Scope() {
        now = 0;
        slept = 0;
        setPerformanceCounter({read, FREQUENCY, sleep});
    }
    ~Scope() { setPerformanceCounter(systemCounter()); }
};

}  // namespace fake_counter
