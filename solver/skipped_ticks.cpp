#include "solver/skipped_ticks.h"

#include "solver/snapshot.h"

namespace solver {

namespace {

constexpr int32_t SETTLE_CAP = 3000;  // ticks a board may take to come to rest after a push

// The clock's part of `ticks` play ticks at once, as runClock plays them one
// by one; the caller makes sure the time does not run out in them.
void runClockFor(GameContext& g, int32_t ticks) {
    g.clockSubTicks -= ticks;
    if (g.clockSubTicks >= 0) return;
    const int32_t units = (CLOCK_UNIT_TICKS - g.clockSubTicks) / (CLOCK_UNIT_TICKS + 1);
    g.clockSubTicks += units * (CLOCK_UNIT_TICKS + 1);
    g.clock -= units;
}

// A blink holds the board still: until its last tick nothing steps, nothing
// is clicked or removed, and no fall is free, so the settle count stays at
// nought and every tick marks the same blocks again on the same board. Such
// ticks only run the clock and count down, and all of them up to the blink's
// last are played at once while the clock keeps at least a unit in each (the
// time cannot run out in such a tick); answers how many were played.
int32_t blinkOnlyTicks(GameContext& g) {
    if (g.elimDelay <= 1 || g.settleTicks != 0 || g.clock < 1) return 0;
    // Ticks that each start with a unit or more on the clock: all but the
    // last unit's ticks.
    const int32_t safe = (g.clock - 1) * (CLOCK_UNIT_TICKS + 1) + g.clockSubTicks + 1;
    const int32_t ticks = std::min(g.elimDelay - 1, safe);
    if (ticks < 1) {
        TickEvents events;
        g.runClock(events);
        --g.elimDelay;
        return 1;
    }
    runClockFor(g, ticks);
    g.elimDelay -= ticks;
    return ticks;
}

// Whether some block differs from `before`; covers the boxes of those that
// do, where they were and where they are, when there is an area to cover.
template <typename Seen>
bool coverChanges(const GameContext& g, const Seen* before, int32_t count, Area* area) {
    bool changed = false;
    for (int32_t i = 0; i < count; ++i) {
        const Block& b = g.blocks[i];
        if (b.x == before[i].x && b.y == before[i].y && b.alive == before[i].alive && b.marked == before[i].marked)
            continue;
        if (!area) return true;
        changed = true;
        area->cover(before[i].x, before[i].y, before[i].y);
        area->cover(b.x, b.y, b.y);
    }
    return changed;
}

// [SECTION] Ticks skipped
// Stretches of ticks whose outcome is known in advance are played as one
// jump: the falls below, and the waits for the settle count to run out.
// Ticks before the level clock would run out, less one: a jump never plays
// the tick that ends the time.
int32_t clockTicksLeft(const GameContext& g) {
    return std::max(0, g.clock * (CLOCK_UNIT_TICKS + 1) + g.clockSubTicks - 1);
}

// What a run of skipped ticks does besides moving blocks: the clock runs.
// The trails would fade too, but the rules never read them, and the search
// keeps none of them in its snapshots.
void passTicks(GameContext& g, int32_t ticks) { runClockFor(g, ticks); }

// After a tick that changed nothing, with no blink: the ticks until the
// settle count runs out change nothing either, since the board step sees the
// same board and nothing is matched before then. Skips them, up to the tick
// that matches; answers how many.
int32_t waitOutSettle(GameContext& g, int32_t count) {
    if (g.elimDelay != 0 || g.settleTicks <= 1) return 0;
    for (int32_t i = 0; i < count; ++i)
        if (g.blocks[i].alive && (g.blocks[i].motion == MOTION_LIFT || g.blocks[i].pauseTicks > 0)) return 0;
    const int32_t ticks = std::min(g.settleTicks - 1, clockTicksLeft(g));
    passTicks(g, ticks);
    g.settleTicks -= ticks;
    return ticks;
}

// A fall through open air is the same tick after tick: every falling block
// drops FALL_PIXELS, the stacks keep their gaps, and the settle count is set
// again. The rules only look at what lies under a block, so while nothing
// new comes within reach of a falling block's probes, the ticks to come
// repeat the last one and can be played as one jump.
class FallRunner {
public:
    FallRunner(GameContext& g, int32_t count) : g_(g), count_(count) {}

    // After a tick played in full, with `before` the blocks as it found them:
    // jumps over the ticks that can only repeat it; answers how many.
    template <typename Seen>
    int32_t runAhead(const Seen* before, Area* area) {
        const bool steady = repeatsLastTick(before);
        if (!steady) return 0;
        const int32_t room = fallRoom();
        // The falling blocks stop short of any block by four pixels, which a
        // falling block's probes (two and three pixels below it) never reach.
        // Terrain they may reach: the probe that stops a fall there asks for
        // terrain at the block's bottom edge, which is open floor until the
        // tick the block comes to stand on it, and that tick, with no block
        // below, is still a free fall like the ones before it.
        const int32_t ticks = std::min(room / FALL_PIXELS, clockTicksLeft(g_));
        if (ticks < 1) return landOnBlock(area);
        for (int32_t i = 0; i < count_; ++i) {
            if (dy_[i] == 0) continue;
            Block& b = g_.blocks[i];
            if (area) area->cover(b.x, b.y, b.y + FALL_PIXELS * ticks);
            b.y += FALL_PIXELS * ticks;
        }
        passTicks(g_, ticks);
        // Each skipped tick counts the settle count down and sets it again.
        g_.settleTicks = SETTLE_TICKS;
        known_ = false;
        return ticks + landOnBlock(area);
    }

private:
    static constexpr int32_t MIN_GAP = 4;
    static constexpr int32_t LANDING_TICKS = 4;

    // A lone block falling onto a still one, MIN_GAP above it, right after
    // a free-fall tick (the settle count just set): its next two ticks take
    // it down to the block, its probe now finding the block, so the fall is
    // no longer free and the settle count runs down; the third tries to fall
    // into the block and is pushed back, changing nothing, and the fourth
    // changes nothing either, before the settle count runs out. Nothing else
    // moves meanwhile: every other block stood still in the tick before,
    // on what still stands under it, nothing is marked with no blink, and
    // nothing matches while the settle count runs. Plays those four ticks
    // as one jump when all of that holds, every block standing on the
    // columns of the grid with no pause to count down; answers how many.
    int32_t landOnBlock(Area* area) {
        if (g_.elimDelay != 0 || g_.settleTicks != SETTLE_TICKS || clockTicksLeft(g_) < LANDING_TICKS) return 0;
        int32_t falling = -1;
        for (int32_t i = 0; i < count_; ++i) {
            const Block& b = g_.blocks[i];
            if (!b.alive) continue;
            if ((b.x - BOARD_LEFT) % CELL_PIXELS != 0 || b.pauseTicks != 0 || b.marked || b.motion == MOTION_LIFT) return 0;
            if (dy_[i] == 0) continue;
            if (falling >= 0) return 0;
            falling = i;
        }
        if (falling < 0) return 0;
        Block& f = g_.blocks[falling];
        const int32_t bottom = f.y + CELL_PIXELS;
        bool onBlock = false;
        for (int32_t j = 0; j < count_; ++j) {
            const Block& o = g_.blocks[j];
            if (j == falling || !o.alive || o.x != f.x || o.y < bottom) continue;
            if (o.y - bottom < MIN_GAP) return 0;
            onBlock = onBlock || o.y - bottom == MIN_GAP;
        }
        // The open floor it falls through down to the block.
        if (!onBlock || g_.cellAt(f.x, bottom) != CELL_EMPTY || g_.cellAt(f.x, bottom + MIN_GAP - 1) != CELL_EMPTY)
            return 0;
        if (area) area->cover(f.x, f.y, f.y + MIN_GAP);
        f.y += MIN_GAP;
        passTicks(g_, LANDING_TICKS);
        g_.settleTicks = SETTLE_TICKS - LANDING_TICKS;
        known_ = false;
        return LANDING_TICKS;
    }

    // Whether the tick just played moved the same blocks the same distance
    // down as the one before it, changed nothing else, and left the settle
    // count freshly set with no blink running.
    template <typename Seen>
    bool repeatsLastTick(const Seen* before) {
        bool same = known_ && g_.elimDelay == 0 && g_.settleTicks == SETTLE_TICKS;
        bool moving = false;
        for (int32_t i = 0; i < count_; ++i) {
            const Block& b = g_.blocks[i];
            const int32_t dy = b.y - before[i].y;
            const bool plain = b.x == before[i].x && b.alive == before[i].alive && b.marked == before[i].marked &&
                               (dy == 0 || dy == FALL_PIXELS) &&
                               (dy == 0 || b.motion == MOTION_NORMAL || b.motion == MOTION_ROCK);
            if (!plain || (b.alive && b.motion == MOTION_LIFT)) {
                known_ = false;
                return false;
            }
            same = same && dy == dy_[i];
            moving = moving || dy != 0;
            dy_[i] = dy;
        }
        known_ = true;
        return same && moving;
    }

    // The least room under a falling block, in pixels, to the terrain, or
    // to a block that is not falling with it less MIN_GAP.
    int32_t fallRoom() const {
        int32_t room = 1 << 20;
        for (int32_t i = 0; i < count_ && room > 0; ++i) {
            if (dy_[i] == 0) continue;
            const Block& b = g_.blocks[i];
            const int32_t bottom = b.y + CELL_PIXELS;
            // Terrain: the first cell in the column at or below the bottom edge that is not open floor.
            int32_t terrain = bottom - (bottom - BOARD_TOP) % CELL_PIXELS;
            if (terrain < bottom) terrain += CELL_PIXELS;
            while (g_.cellAt(b.x, terrain) == CELL_EMPTY) terrain += CELL_PIXELS;
            room = std::min(room, terrain - bottom);
            for (int32_t j = 0; j < count_; ++j) {
                const Block& o = g_.blocks[j];
                if (j == i || !o.alive || dy_[j] != 0 || o.x + CELL_PIXELS <= b.x || b.x + CELL_PIXELS <= o.x) continue;
                if (o.y + CELL_PIXELS > b.y) room = std::min(room, o.y - bottom - MIN_GAP);
            }
        }
        return room;
    }

    GameContext& g_;
    int32_t count_;
    bool known_ = false;
    int32_t dy_[MAX_BLOCKS] = {};
};

}  // namespace

Settled settle(GameContext& g, int32_t count, bool runFallsAhead, int64_t* ranAhead, Area* area) {
    struct Seen {
        int32_t x, y;
        uint8_t alive, marked;
    } before[MAX_BLOCKS];
    FallRunner falls(g, count);
    for (int32_t t = 1; t <= SETTLE_CAP; ++t) {
        if (const int32_t blink = blinkOnlyTicks(g)) {
            t += blink - 1;
            continue;
        }
        for (int32_t i = 0; i < count; ++i) {
            const Block& b = g.blocks[i];
            before[i] = {b.x, b.y, b.alive, b.marked};
        }
        if (idleTick(g)) return {t, true};
        const bool changed = coverChanges(g, before, count, area);
        if (!changed && g.elimDelay == 0 && g.settleTicks == 0) return {t, false};
        if (runFallsAhead) {
            const int32_t skipped = changed ? falls.runAhead(before, area) : waitOutSettle(g, count);
            t += skipped;
            *ranAhead += skipped;
        }
    }
    return {-1, false};
}

}  // namespace solver
