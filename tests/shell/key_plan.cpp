// The keys that play a world's levels on the keyboard alone, for the
// keyboard's end-to-end test. The pushes come from replays; each becomes
// arrow steps of the game's own cursor from where it stands to the block,
// and Z or X, timed from the level's first tick: once the board is at rest
// after the push before, and where a lift has the say, well inside the ticks
// the push still clears the level in. The whole schedule is then played
// here with every push early or late by up to JITTER ticks, and must clear
// every time.
//
// Usage: key_plan LEVELFILE REPLAY...   (the replays of levels 1, 2, ... in order)
// Prints per level "level N", then per push "push TICK KEY..." and last
// "cleared TICK COUNTDOWN": the tick it is cleared on and the ticks its
// count-down then takes. Exits 1 when a schedule is not robust.
#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "game/cursor.h"
#include "game/game_context.h"
#include "game/replay.h"

namespace {

constexpr int32_t REST_GAP = 64;  // ticks a push waits after the board has come to rest
constexpr int32_t EDGE = 40;      // ticks a push keeps from the edges of the ticks it works on
constexpr int32_t JITTER = 24;   // ticks a push may come early or late
constexpr int32_t LONGEST = 3000;
constexpr int TRIALS = 300;

struct Push {
    int32_t tick;
    int32_t button;
    int32_t slot;
    std::vector<CursorDirection> steps;  // the arrows before it
};

const char* const ARROW_NAMES[] = {"Left", "Right", "Up", "Down"};

struct Outcome {
    int32_t cleared = 0;  // the tick the level is cleared on, or 0
    int32_t clock = 0;    // the clock then
};

// Plays the pushes, the cursor stepping before each as the play screen
// steps it, or else straight at their blocks; `stopAt` keeps the board as
// it stands before that tick in `at`.
Outcome play(GameContext g, const std::vector<Push>& pushes, bool useSteps, GameContext* at = nullptr,
             int32_t stopAt = 0) {
    int32_t cursor = cursorFirst(g), lastX = 0, lastY = 0;
    size_t next = 0;
    for (int32_t t = 1; t < LONGEST; ++t) {
        if (t == stopAt) {
            *at = g;
            return {};
        }
        Click click;
        if (next < pushes.size() && pushes[next].tick == t) {
            const Push& p = pushes[next++];
            int32_t slot = p.slot;
            if (useSteps) {
                for (CursorDirection d : p.steps) cursor = cursorStep(g, cursor, d);
                slot = cursor;
            }
            const Block& b = g.blocks[slot];
            if (b.alive) click = Click{p.button, b.x + CELL_PIXELS / 2, b.y + CELL_PIXELS / 2};
        }
        TickEvents events;
        g.playTick(click, events);
        cursor = cursorFollow(g, cursor, lastX, lastY);
        if (cursor != NO_BLOCK) lastX = g.blocks[cursor].x, lastY = g.blocks[cursor].y;
        if (events.has(EVENT_LEVEL_CLEARED)) return {t, g.clock};
        if (events.has(EVENT_TIME_OVER)) return {};
    }
    return {};
}

GameContext boardAt(const GameContext& start, const std::vector<Push>& pushes, int32_t tick) {
    GameContext g;
    play(start, pushes, true, &g, tick);
    return g;
}

// The fewest arrows that take the cursor from one block to another.
std::vector<CursorDirection> stepsBetween(const GameContext& g, int32_t from, int32_t to) {
    std::vector<std::vector<CursorDirection>> path(MAX_BLOCKS);
    std::vector<bool> seen(MAX_BLOCKS, false);
    std::vector<int32_t> queue{from};
    seen[from] = true;
    for (size_t n = 0; n < queue.size(); ++n) {
        const int32_t here = queue[n];
        if (here == to) return path[here];
        for (int d = CURSOR_LEFT; d <= CURSOR_DOWN; ++d) {
            const int32_t there = cursorStep(g, here, static_cast<CursorDirection>(d));
            if (there == NO_BLOCK || seen[there]) continue;
            seen[there] = true;
            path[there] = path[here];
            path[there].push_back(static_cast<CursorDirection>(d));
            queue.push_back(there);
        }
    }
    return {};
}

// Where the cursor stands before a tick: the schedule so far played with its arrows.
int32_t cursorBefore(const GameContext& start, const std::vector<Push>& done, int32_t tick) {
    GameContext g = start;
    int32_t cursor = cursorFirst(g), lastX = 0, lastY = 0;
    size_t next = 0;
    for (int32_t t = 1; t < tick; ++t) {
        Click click;
        if (next < done.size() && done[next].tick == t) {
            for (CursorDirection d : done[next].steps) cursor = cursorStep(g, cursor, d);
            const Block& b = g.blocks[cursor];
            click = Click{done[next].button, b.x + CELL_PIXELS / 2, b.y + CELL_PIXELS / 2};
            ++next;
        }
        TickEvents events;
        g.playTick(click, events);
        cursor = cursorFollow(g, cursor, lastX, lastY);
        if (cursor != NO_BLOCK) lastX = g.blocks[cursor].x, lastY = g.blocks[cursor].y;
    }
    return cursor;
}

bool atRest(const GameContext& g) {
    if (g.settleTicks != 0 || g.elimDelay != 0) return false;
    for (const Block& b : g.blocks)
        if (b.alive && b.marked) return false;
    return true;
}

// The level's pushes timed for the keyboard; false when no timing is robust.
bool schedule(const GameContext& start, const Replay& replay, std::vector<Push>& plan) {
    // The replay's clicks as pushes of slots, at the replay's ticks.
    std::vector<Push> planned;
    GameContext g = start;
    for (int32_t t = 1, next = 0; next < static_cast<int32_t>(replay.clicks.size()); ++t) {
        Click click;
        const ReplayClick& c = replay.clicks[next];
        if (c.tick == t) {
            click = Click{c.button, c.x, c.y};
            planned.push_back({t, c.button, g.blockAt(c.x, c.y), {}});
            ++next;
        }
        TickEvents events;
        g.playTick(click, events);
    }
    for (size_t i = 0; i < planned.size(); ++i) {
        // The board at rest after the pushes timed so far.
        int32_t rest = plan.empty() ? 1 : plan.back().tick + 1;
        while (!atRest(boardAt(start, plan, rest + 1)) && rest < LONGEST) ++rest;
        // The ticks push i clears the level on, the later ones following it at their own pace.
        const auto clearsWith = [&](int32_t t) {
            std::vector<Push> trial = plan;
            for (size_t j = i; j < planned.size(); ++j) trial.push_back(planned[j]), trial.back().tick += t - planned[i].tick;
            return play(start, trial, false).cleared != 0;
        };
        // The first stretch of such ticks wide enough: a push in the open
        // comes REST_GAP ticks after the rest, one that ends in its middle.
        int32_t chosen = 0;
        for (int32_t lo = rest; lo < rest + LONGEST && chosen == 0; ++lo) {
            if (!clearsWith(lo)) continue;
            int32_t hi = lo;
            while (hi < lo + REST_GAP + 4 * EDGE && clearsWith(hi + 1)) ++hi;
            const int32_t from = std::max(lo, rest + REST_GAP - EDGE);
            if (hi - from >= 4 * EDGE) chosen = from + EDGE;
            else if (hi - from >= 2 * EDGE) chosen = (from + hi) / 2;
            lo = hi;
        }
        if (chosen == 0) return false;
        Push push = planned[i];
        push.tick = chosen;
        const GameContext before = boardAt(start, plan, chosen);
        push.steps = stepsBetween(before, cursorBefore(start, plan, chosen), push.slot);
        plan.push_back(push);
    }
    return true;
}

// The schedule with every push early or late: the level must clear each time.
int jitteredFailures(const GameContext& start, const std::vector<Push>& plan, std::mt19937& random) {
    std::uniform_int_distribution<int32_t> shift(-JITTER, JITTER);
    int failures = 0;
    for (int trial = 0; trial < TRIALS; ++trial) {
        std::vector<Push> jittered = plan;
        int32_t last = 0;
        for (Push& p : jittered) {
            p.tick += shift(random);
            if (p.tick <= last) p.tick = last + 1;
            last = p.tick;
        }
        if (play(start, jittered, true).cleared == 0) ++failures;
    }
    return failures;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s LEVELFILE REPLAY...\n", argv[0]);
        return 2;
    }
    GameContext world;
    world.loadLevelSet(argv[1]);
    std::mt19937 random(7);
    bool robust = true;
    for (int a = 2; a < argc; ++a) {
        Replay replay;
        std::string error;
        if (!readReplay(argv[a], replay, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 2;
        }
        GameContext start = world;
        start.startFreshLevel(replay.level - 1);
        std::vector<Push> plan;
        if (!schedule(start, replay, plan)) {
            std::fprintf(stderr, "level %d: no timing of its pushes keeps clear of the lifts\n", replay.level);
            return 1;
        }
        std::printf("level %d\n", replay.level);
        for (const Push& p : plan) {
            std::printf("push %d", p.tick);
            for (CursorDirection d : p.steps) std::printf(" %s", ARROW_NAMES[d]);
            std::printf(" %s\n", p.button == BUTTON_LEFT ? "z" : "x");
        }
        // The clock left is counted into the score a unit a tick before the next level.
        const Outcome outcome = play(start, plan, true);
        std::printf("cleared %d %d\n", outcome.cleared, outcome.clock);
        const int failures = outcome.cleared == 0 ? TRIALS : jitteredFailures(start, plan, random);
        if (failures > 0) {
            std::fprintf(stderr, "level %d: %d of %d plays with pushes up to %d ticks off did not clear\n",
                         replay.level, failures, TRIALS, JITTER);
            robust = false;
        }
    }
    return robust ? 0 : 1;
}
