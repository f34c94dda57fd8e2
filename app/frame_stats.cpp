#include "app/frame_stats.h"

#include <unistd.h>

#include <cstdio>
#include <ctime>

#include "app/shell.h"
#include "frontend/play_screen.h"
#include "frontend/splash.h"

FrameStats frameStats;

namespace {

double clockSeconds(clockid_t id) {
    timespec ts{};
    clock_gettime(id, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

double systemWall() { return clockSeconds(CLOCK_MONOTONIC); }
double systemCpu() { return clockSeconds(CLOCK_PROCESS_CPUTIME_ID); }

int64_t systemResident() {
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (f == nullptr) return 0;
    long long size = 0, resident = 0;
    const bool read = std::fscanf(f, "%lld %lld", &size, &resident) == 2;
    std::fclose(f);
    return read ? resident * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

}  // namespace

StatsClocks systemStatsClocks() { return StatsClocks{systemWall, systemCpu, systemResident}; }

void FrameStats::start(const char* path, const StatsClocks& clocks) {
    active_ = path != nullptr && path[0] != '\0';
    path_ = active_ ? path : "";
    clocks_ = clocks;
    table_.clear();
    started_ = false;
}

ScreenCost& FrameStats::costOf(const std::string& screen) {
    for (ScreenCost& c : table_)
        if (c.screen == screen) return c;
    table_.push_back(ScreenCost{});
    table_.back().screen = screen;
    return table_.back();
}

void FrameStats::frameStarts(const std::string& screen, int64_t ticksSoFar) {
    if (!active_) return;
    const double wall = clocks_.wallSeconds();
    const double cpu = clocks_.cpuSeconds();
    // The last frame lasted until now, its ticks included.
    if (started_ && countable_) {
        ScreenCost& c = costOf(screen_);
        ++c.frames;
        c.ticks += ticksSoFar - ticks_;
        c.wallSeconds += wall - wall_;
        c.cpuSeconds += cpu - cpu_;
    }
    if (!started_ || screen != screen_) run_ = 0;
    started_ = true;
    screen_ = screen;
    wall_ = wall;
    cpu_ = cpu;
    ticks_ = ticksSoFar;
}

void FrameStats::frameEnds(const std::string& screen, bool idle) {
    if (!active_ || !started_) return;
    const bool changed = screen != screen_;
    run_ = changed ? 0 : run_ + 1;
    countable_ = !changed && !idle && run_ > FRAME_STATS_WARM_UP;
    if ((++frames_ % FRAME_STATS_RSS_EVERY) == 0 || changed) {
        ScreenCost& c = costOf(screen_);
        const int64_t resident = clocks_.residentKiB();
        if (resident > c.maxResidentKiB) c.maxResidentKiB = resident;
    }
    if (changed) write();
}

std::string FrameStats::text() const {
    std::string out;
    char line[256];
    for (const ScreenCost& c : table_) {
        std::snprintf(line, sizeof line, "%s\t%lld\t%lld\t%.4f\t%.4f\t%lld\t%.2f\t%.3f\n", c.screen.c_str(),
                      static_cast<long long>(c.frames), static_cast<long long>(c.ticks), c.wallSeconds,
                      c.cpuSeconds, static_cast<long long>(c.maxResidentKiB), c.ticksPerSecond(), c.cpuMsPerFrame());
        out += line;
    }
    return out;
}

bool FrameStats::write() const {
    if (!active_) return false;
    // Written aside and renamed, so a reader never sees half a table.
    const std::string aside = path_ + ".new";
    std::FILE* f = std::fopen(aside.c_str(), "w");
    if (f == nullptr) return false;
    const std::string body = "screen\tframes\tticks\twall_s\tcpu_s\tmax_rss_kib\tticks_per_s\tcpu_ms_per_frame\n" + text();
    const bool written = std::fwrite(body.data(), 1, body.size(), f) == body.size();
    if (std::fclose(f) != 0 || !written) return false;
    return std::rename(aside.c_str(), path_.c_str()) == 0;
}

std::string currentScreenName() {
    switch (game.state) {
        case STATE_SPLASH: return splashPhase == 0 ? "splash 1" : "splash 2";
        case STATE_MENU: return "menu";
        case STATE_PLAY:
            // Play while the hint's thread thinks, counted apart: the game must keep its pace.
            if (hintThinking()) return "play thinking";
            return game.worldIndex == 0 ? "play tutorial" : "play world " + std::to_string(game.worldIndex);
        case STATE_LEVEL_COMPLETE: return "level complete";
        case STATE_TIME_OVER: return "time over";
        case STATE_REPLAY: return "replay";
        default: return "state " + std::to_string(game.state);
    }
}
