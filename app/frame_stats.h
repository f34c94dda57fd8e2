// What each screen costs the machine, for scripts/measure: with the
// environment variable TOLVANE_FRAME_STATS naming a file, the program keeps,
// per screen, its frames, its ticks, the wall and processor time between
// them (the renderer's threads included) and the most memory it held, and
// writes the table there whenever the screen changes and when it exits.
// Without the variable nothing is measured.
//
// Only steady frames count: not the first few of a screen (a new screen's
// pictures and the renderer's first use of a way of drawing cost extra
// once), not a frame that changes the screen (a world start reads files),
// and not an idle menu's, which waits for input on purpose.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int FRAME_STATS_WARM_UP = 10;     // frames of a screen left out at its start
constexpr int FRAME_STATS_RSS_EVERY = 60;  // frames between two looks at resident memory

struct ScreenCost {
    std::string screen;
    int64_t frames = 0;
    int64_t ticks = 0;
    double wallSeconds = 0.0;
    double cpuSeconds = 0.0;
    int64_t maxResidentKiB = 0;

    double ticksPerSecond() const { return wallSeconds > 0 ? ticks / wallSeconds : 0.0; }
    double cpuMsPerFrame() const { return frames > 0 ? cpuSeconds * 1000.0 / frames : 0.0; }
};

// The clocks and the memory gauge the table is kept with; tests hand in fakes.
struct StatsClocks {
    double (*wallSeconds)();
    double (*cpuSeconds)();   // the whole process, every thread
    int64_t (*residentKiB)();
};
StatsClocks systemStatsClocks();

class FrameStats {
public:
    // Starts keeping the table, written to path (nullptr or "" keeps none).
    void start(const char* path, const StatsClocks& clocks);
    bool active() const { return active_; }

    // Around each frame: the screen it starts and ends on, the ticks granted
    // so far, and whether the frame was an idle menu's.
    void frameStarts(const std::string& screen, int64_t ticksSoFar);
    void frameEnds(const std::string& screen, bool idle);

    const std::vector<ScreenCost>& table() const { return table_; }
    // The table as written: a line a screen, fields by tabs.
    std::string text() const;
    bool write() const;

private:
    ScreenCost& costOf(const std::string& screen);

    bool active_ = false;
    std::string path_;
    StatsClocks clocks_{};
    std::vector<ScreenCost> table_;
    // The frame in progress, or the last one.
    bool started_ = false;
    std::string screen_;
    double wall_ = 0.0, cpu_ = 0.0;
    int64_t ticks_ = 0;
    int32_t run_ = 0;        // frames in a row on this screen
    bool countable_ = false; // the interval from the last frame's start counts
    int64_t frames_ = 0;
};

extern FrameStats frameStats;

// The name a screen goes by in the table: "splash 1", "splash 2", "menu",
// "play tutorial", "play world N", "level complete", "time over", "replay".
std::string currentScreenName();
