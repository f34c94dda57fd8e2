// A step that may block for good (an open of a FIFO, say) would hang the
// whole test run: while a Watchdog lives, an alarm after a few seconds ends
// the test program with a word on what it was stuck on.
#pragma once

#include <unistd.h>

#include <csignal>
#include <cstring>
#include <string>

namespace watchdog {

inline const char*& step() {
    static const char* current = "";
    return current;
}

inline void stuck(int) {
    const char* head = "FAIL: blocked on ";
    (void)!write(STDERR_FILENO, head, std::strlen(head));
    (void)!write(STDERR_FILENO, step(), std::strlen(step()));
    (void)!write(STDERR_FILENO, "\n", 1);
    _exit(1);
}

}  // namespace watchdog

class Watchdog {
public:
    explicit Watchdog(const std::string& step, unsigned seconds = 5) : step_(step) {
        watchdog::step() = step_.c_str();
        std::signal(SIGALRM, watchdog::stuck);
        alarm(seconds);
    }
    ~Watchdog() {
        alarm(0);
        std::signal(SIGALRM, SIG_DFL);
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    std::string step_;
};
