// The board's own motion (falling blocks, travelling lifts, fading trails),
// the matching of like blocks with its scoring, and the level-end test.
// Blocks live only in their slots, never in the grid: every collision and
// every support is found by probing single pixels with cellAt and blockAt.
#include "game/game_context.h"

namespace {

constexpr int32_t LIFT_PAUSE_TICKS = 100;
constexpr int32_t BLINK_TICKS = 20;
constexpr double TRAIL_FADE_STEP = 0.1;

constexpr int32_t POINTS_PER_BLOCK = 10;
constexpr int32_t CHAIN_POINTS_PER_BLOCK = 100;
constexpr int32_t CROWD_POINTS_PER_BLOCK = 50;  // for more than two at once

bool onGrid(const Block& block) { return block.x % CELL_PIXELS == 0 && block.y % CELL_PIXELS == 0; }

// Nothing moves sideways during a board step (only pushes do that), so the
// step files the live blocks by column once, in slot order. The probes of
// falling and lift travel look straight down or up a block's own column,
// where no block of another column can answer, so they scan that column's
// few blocks instead of all fifty, with the same answers in the same order.
// Without an index (ready false) they ask the whole table.
struct ColumnIndex {
    bool ready = false;
    int32_t count[BOARD_SIZE];
    int32_t slots[BOARD_SIZE][MAX_BLOCKS];
};

int32_t columnOf(int32_t x) {
    const int32_t offset = x - BOARD_LEFT;
    if (offset < 0 || offset % CELL_PIXELS != 0 || offset / CELL_PIXELS >= BOARD_SIZE) return -1;
    return offset / CELL_PIXELS;
}

// False when some live block stands off the columns, and the probes must
// then ask the whole table.
bool fileByColumn(const GameContext& g, ColumnIndex& columns) {
    for (int32_t& count : columns.count) count = 0;
    for (int32_t i = 0; i < MAX_BLOCKS; ++i) {
        const Block& b = g.blocks[i];
        if (!b.alive) continue;
        const int32_t column = columnOf(b.x);
        if (column < 0) return false;
        columns.slots[column][columns.count[column]++] = i;
    }
    return true;
}

// blockAt at (x + 16, py) of a block: the lowest live slot whose box holds it.
int32_t blockBelowOrAbove(const GameContext& g, const ColumnIndex& columns, const Block& block, int32_t py) {
    if (!columns.ready) return g.blockAt(block.x + 16, py);
    const int32_t column = columnOf(block.x);
    for (int32_t n = 0; n < columns.count[column]; ++n) {
        const int32_t j = columns.slots[column][n];
        const Block& b = g.blocks[j];
        if (b.y < py && py < b.y + 31) return j;
    }
    return NO_BLOCK;
}

}  // namespace

namespace {

void stepBlock(GameContext& g, const ColumnIndex& columns, Block& block);

}  // namespace

void GameContext::stepBoard() {
    // Slot order matters: a block updated later sees where the earlier ones went.
    ColumnIndex columns;
    columns.ready = fileByColumn(*this, columns);
    for (Block& block : blocks)
        if (block.alive) stepBlock(*this, columns, block);
    for (Trail& trail : trails) fadeTrail(trail);
}

void GameContext::updateBlock(Block& block) { stepBlock(*this, ColumnIndex{}, block); }

void GameContext::fadeTrail(Trail& trail) {
    trail.alpha = static_cast<float>(trail.alpha - TRAIL_FADE_STEP);
    if (!(trail.alpha > 0.0f)) trail.active = 0;
}

namespace {

void pushBackFrom(const Block& other, Block& block, bool& freeFall) {
    // A block below in the same column pushes the faller back out of it: a
    // block resting on another tries to fall every tick and never counts as
    // falling freely.
    while (other.alive && &other != &block && other.x == block.x && block.y < other.y &&
           other.y < block.y + CELL_PIXELS) {
        block.y -= FALL_PIXELS;
        freeFall = false;
    }
}

void fall(GameContext& g, const ColumnIndex& columns, Block& block) {
    if (g.cellAt(block.x, block.y + CELL_PIXELS) != CELL_EMPTY) return;
    block.y += FALL_PIXELS;
    bool freeFall = true;
    if (columns.ready) {
        const int32_t column = columnOf(block.x);
        for (int32_t n = 0; n < columns.count[column]; ++n)
            pushBackFrom(g.blocks[columns.slots[column][n]], block, freeFall);
    } else {
        for (const Block& other : g.blocks) pushBackFrom(other, block, freeFall);
    }
    // A block about to land on another (its top up to two pixels below this
    // one's bottom edge) has already stopped falling freely. The probe is only
    // worth asking while the fall is still free, and then this block has not
    // moved since its first step, so one probe answers for every slot.
    if (freeFall && blockBelowOrAbove(g, columns, block, block.y + 35) != NO_BLOCK) freeFall = false;
    if (freeFall) g.settleTicks = SETTLE_TICKS;
}

// Tar never moves and a lift never falls, so neither can ride on a rising
// lift: to the lift below they are as solid as terrain.
bool immovable(const Block& b) { return b.motion == MOTION_ICKY || b.motion == MOTION_LIFT; }

// Does tar or another lift cover this pixel of a lift's column (its whole
// 32-pixel box, edges included)?
bool immovableAt(const GameContext& g, const Block& lift, int32_t py) {
    const int32_t px = lift.x + 15;
    for (int32_t j = 0; j < MAX_BLOCKS; ++j) {
        const Block& b = g.blocks[j];
        if (b.alive && &b != &lift && immovable(b) && b.x <= px && px <= b.x + 31 && b.y <= py && py <= b.y + 31)
            return true;
    }
    return false;
}

void travel(GameContext& g, const ColumnIndex& columns, Block& lift) {
    if (lift.pauseTicks > 0) return;
    if (lift.goingUp) {
        lift.y -= 1;
        // The riders stand stacked on the lift; the lift turns when the top of
        // the stack would reach terrain that is not open floor, or tar or a
        // lift, which the stack can never lift.
        int32_t found = 0;
        for (;;) {
            const int32_t above = blockBelowOrAbove(g, columns, lift, lift.y + 16 - CELL_PIXELS * found);
            if (above == NO_BLOCK || (found > 0 && immovable(g.blocks[above]))) break;
            ++found;
        }
        const int32_t riders = found > 0 ? found - 1 : 0;
        const int32_t top = lift.y - CELL_PIXELS * riders;
        if (g.cellAt(lift.x + 15, top) != CELL_EMPTY || immovableAt(g, lift, top)) {
            lift.y += 1;
            lift.goingUp = 0;
            lift.pauseTicks = LIFT_PAUSE_TICKS;
        }
    }
    // A lift that has just turned at the top already sinks a pixel this tick.
    if (!lift.goingUp) {
        lift.y += 1;
        if (g.cellAt(lift.x + 15, lift.y + 31) != CELL_EMPTY) {
            lift.y -= 1;
            lift.goingUp = 1;
            lift.pauseTicks = LIFT_PAUSE_TICKS;
        }
        // Meeting a block below, the lift stops one pixel into it, not short of it.
        const int32_t below = blockBelowOrAbove(g, columns, lift, lift.y + 33);
        if (below != NO_BLOCK && below != lift.slot) {
            lift.y += 1;
            lift.goingUp = 1;
            lift.pauseTicks = LIFT_PAUSE_TICKS;
        }
    }
}

void stepBlock(GameContext& g, const ColumnIndex& columns, Block& block) {
    if (block.pauseTicks > 0) --block.pauseTicks;
    switch (block.motion) {
    case MOTION_NORMAL:
    case MOTION_ROCK:
        fall(g, columns, block);
        break;
    case MOTION_LIFT:
        travel(g, columns, block);
        break;
    default:  // Icky-Blocks never move
        break;
    }
}

}  // namespace

namespace {

// A horizontal pair only counts when it is held up: ground under both, or a
// block under either one.
bool groundUnder(const GameContext& g, const Block& b) { return g.cellAt(b.x + 16, b.y + 40) != CELL_EMPTY; }
bool blockUnder(const GameContext& g, const Block& b) { return g.blockAt(b.x + 16, b.y + 40) != NO_BLOCK; }

bool supported(const GameContext& g, const Block& a, const Block& b) {
    return (groundUnder(g, a) && groundUnder(g, b)) || blockUnder(g, a) || blockUnder(g, b);
}

}  // namespace

void GameContext::matchBlocks(TickEvents& events) {
    // Only live ordinary blocks standing exactly on the grid can ever pair.
    // For two such blocks the probe pixels of each direction land inside the
    // other exactly when it is the neighbouring cell, so the pairing reduces
    // to comparing positions, and only blocks of one kind need comparing.
    // Marks only accumulate and read no marks, so the order of the pairs does
    // not change which blocks end up marked.
    constexpr int32_t BUCKETS = 16;
    int32_t bucketed[BUCKETS][MAX_BLOCKS];
    int32_t count[BUCKETS] = {};
    for (int32_t i = 0; i < MAX_BLOCKS; ++i) {
        const Block& b = blocks[i];
        if (!b.alive || b.motion != MOTION_NORMAL || !onGrid(b)) continue;
        const int32_t bucket = b.kind & (BUCKETS - 1);
        bucketed[bucket][count[bucket]++] = i;
    }
    for (int32_t bucket = 0; bucket < BUCKETS; ++bucket) {
        for (int32_t a = 0; a < count[bucket]; ++a) {
            Block& first = blocks[bucketed[bucket][a]];
            for (int32_t c = a + 1; c < count[bucket]; ++c) {
                Block& second = blocks[bucketed[bucket][c]];
                if (first.kind != second.kind) continue;  // kinds beyond 15 may share a bucket
                const int32_t dx = second.x - first.x;
                const int32_t dy = second.y - first.y;
                bool pair = false;
                if (dx == 0 && (dy == CELL_PIXELS || dy == -CELL_PIXELS)) {
                    pair = true;  // one on the other needs no support
                } else if (dy == 0 && (dx == CELL_PIXELS || dx == -CELL_PIXELS)) {
                    pair = supported(*this, first, second);
                }
                if (pair) {
                    first.marked = 1;
                    second.marked = 1;
                }
            }
        }
    }

    // While a blink is running the marks are only renewed; the scoring waits.
    if (elimDelay != 0) return;
    int32_t tally = 0;
    int32_t eliminated = 0;
    for (Block& block : blocks) {
        if (!block.marked || !block.alive) continue;
        if (comboFlag == 1) tally += CHAIN_POINTS_PER_BLOCK;
        elimDelay = BLINK_TICKS;
        events.add(EVENT_BLOCK_MATCHED);
        for (Trail& trail : trails) trail.active = 0;
        tally += POINTS_PER_BLOCK;
        ++eliminated;
    }
    score += tally;
    if (eliminated > 2) score += CROWD_POINTS_PER_BLOCK * eliminated;
    if (eliminated > 0) comboFlag = 1;
}

void GameContext::removeEliminated() {
    for (Block& block : blocks)
        if (block.marked && block.alive) block.alive = 0;
}

void GameContext::checkLevelCleared(TickEvents& events) {
    // Marked blocks still blinking count; rocks, tar and lifts never do.
    for (const Block& block : blocks)
        if (block.alive && block.motion == MOTION_NORMAL) return;
    events.add(EVENT_LEVEL_CLEARED);
}
