// The keys that play a world on the keyboard alone, for keyboard_world_e2e.
// Each push of the replays becomes the fewest arrow steps of the game's own
// cursor to its block, then Z or X. A push comes REST_GAP ticks after the
// board is at rest, or in the middle of the ticks a lift leaves it; the
// schedule must then clear with every push up to JITTER ticks off.
// Usage: key_plan LEVELFILE REPLAY...   (levels 1, 2, ... in order)
// Prints per level "level N", per push "push TICK KEY...", then "cleared TICK CLOCK".
#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "game/cursor.h"
#include "game/replay.h"

namespace {

constexpr int32_t REST_GAP = 64, EDGE = 40, JITTER = 24, LONGEST = 3000;
const char* const ARROWS[] = {"Left", "Right", "Up", "Down"};

struct Push {
    int32_t tick, button, slot;
    std::vector<int32_t> steps;  // CursorDirection each
};

// Plays the pushes (by their steps when `steps`, else straight at their
// slots) as the play screen would: `g` ends as the board before `stopAt`,
// `cursor` where the cursor stands then. Answers the tick of the clear, or 0.
int32_t play(GameContext& g, const std::vector<Push>& pushes, bool steps, int32_t stopAt = LONGEST,
             int32_t* cursorOut = nullptr) {
    int32_t cursor = cursorFirst(g), lastX = 0, lastY = 0;
    size_t next = 0;
    for (int32_t t = 1; t < stopAt; ++t) {
        Click click;
        if (next < pushes.size() && pushes[next].tick == t) {
            const Push& p = pushes[next++];
            for (int32_t d : p.steps) cursor = cursorStep(g, cursor, static_cast<CursorDirection>(d));
            const Block& b = g.blocks[steps ? cursor : p.slot];
            if (b.alive) click = Click{p.button, b.x + CELL_PIXELS / 2, b.y + CELL_PIXELS / 2};
        }
        TickEvents events;
        g.playTick(click, events);
        cursor = cursorFollow(g, cursor, lastX, lastY);
        if (cursor != NO_BLOCK) lastX = g.blocks[cursor].x, lastY = g.blocks[cursor].y;
        if (events.has(EVENT_LEVEL_CLEARED)) return t;
        if (events.has(EVENT_TIME_OVER)) return 0;
    }
    if (cursorOut != nullptr) *cursorOut = cursor;
    return 0;
}

std::vector<int32_t> stepsBetween(const GameContext& g, int32_t from, int32_t to) {
    std::vector<std::vector<int32_t>> path(MAX_BLOCKS);
    std::vector<int32_t> queue{from};
    std::vector<bool> seen(MAX_BLOCKS, false);
    seen[from] = true;
    for (size_t n = 0; n < queue.size() && queue[n] != to; ++n)
        for (int32_t d = CURSOR_LEFT; d <= CURSOR_DOWN; ++d) {
            const int32_t there = cursorStep(g, queue[n], static_cast<CursorDirection>(d));
            if (there == NO_BLOCK || seen[there]) continue;
            seen[there] = true;
            path[there] = path[queue[n]];
            path[there].push_back(d);
            queue.push_back(there);
        }
    return path[to];
}

bool atRest(const GameContext& g) {
    return g.settleTicks == 0 && g.elimDelay == 0 &&
           std::none_of(g.blocks, g.blocks + MAX_BLOCKS, [](const Block& b) { return b.alive && b.marked; });
}

bool schedule(const GameContext& start, const Replay& replay, std::vector<Push>& plan) {
    std::vector<Push> planned;
    GameContext g = start;
    for (const ReplayClick& c : replay.clicks) {
        play(g = start, planned, false, c.tick);
        planned.push_back({c.tick, c.button, g.blockAt(c.x, c.y), {}});
    }
    for (size_t i = 0; i < planned.size(); ++i) {
        int32_t rest = plan.empty() ? 1 : plan.back().tick + 1;
        while (play(g = start, plan, true, rest + 1), !atRest(g) && rest < LONGEST) ++rest;
        // Push i on tick t, the later ones following at the replay's pace.
        const auto clears = [&](int32_t t) {
            std::vector<Push> trial = plan;
            for (size_t j = i; j < planned.size(); ++j) trial.push_back(planned[j]), trial.back().tick += t - planned[i].tick;
            return play(g = start, trial, false) != 0;
        };
        int32_t chosen = 0;
        for (int32_t lo = rest; lo < rest + LONGEST && chosen == 0; ++lo) {
            if (!clears(lo)) continue;
            int32_t hi = lo;
            while (hi < lo + REST_GAP + 4 * EDGE && clears(hi + 1)) ++hi;
            const int32_t from = std::max(lo, rest + REST_GAP - EDGE);
            if (hi - from >= 4 * EDGE) chosen = from + EDGE;
            else if (hi - from >= 2 * EDGE) chosen = (from + hi) / 2;
            lo = hi;
        }
        if (chosen == 0) return false;
        Push push = planned[i];
        push.tick = chosen;
        int32_t cursor = NO_BLOCK;
        play(g = start, plan, true, chosen, &cursor);
        push.steps = stepsBetween(g, cursor, push.slot);
        plan.push_back(push);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    GameContext world;
    if (argc > 1) world.loadLevelSet(argv[1]);
    std::mt19937 random(7);
    std::uniform_int_distribution<int32_t> jitter(-JITTER, JITTER);
    for (int a = 2; a < argc; ++a) {
        Replay replay;
        std::string error;
        if (!readReplay(argv[a], replay, error)) return std::fprintf(stderr, "%s\n", error.c_str()), 2;
        GameContext start = world, g;
        start.startFreshLevel(replay.level - 1);
        std::vector<Push> plan;
        if (!schedule(start, replay, plan)) return std::fprintf(stderr, "level %d: no timing fits\n", replay.level), 1;
        std::printf("level %d\n", replay.level);
        for (const Push& p : plan) {
            std::printf("push %d", p.tick);
            for (int32_t d : p.steps) std::printf(" %s", ARROWS[d]);
            std::printf(" %s\n", p.button == BUTTON_LEFT ? "z" : "x");
        }
        const int32_t cleared = play(g = start, plan, true);
        std::printf("cleared %d %d\n", cleared, g.clock);
        for (int trial = 0; trial < 300; ++trial) {
            std::vector<Push> late = plan;
            for (size_t i = 0; i < late.size(); ++i)
                late[i].tick = std::max(late[i].tick + jitter(random), i > 0 ? late[i - 1].tick + 1 : 1);
            if (cleared == 0 || play(g = start, late, true) == 0)
                return std::fprintf(stderr, "level %d: a push %d ticks off fails\n", replay.level, JITTER), 1;
        }
    }
    return argc > 2 ? 0 : 2;
}
