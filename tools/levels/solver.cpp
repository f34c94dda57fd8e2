#include "tools/levels/solver.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <ctime>
#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "app/input_state.h"
#include "game/game_context.h"

namespace solver {

namespace {

constexpr int32_t SETTLE_CAP = 3000;  // ticks a board may take to come to rest after a push
constexpr int32_t FRAGILE_CAP = 40;   // finely timed solutions to throw away before giving up
constexpr int32_t CYCLE_CAP = 200;    // waits in one idle lift cycle, at most
constexpr int32_t SLOT_BYTES = 6;
constexpr int32_t TAIL_BYTES = 4;     // elimDelay, settleTicks, state, comboFlag (last: not part of a key)

// [SECTION] Snapshots
// Only what the rules read: each block's position, flags and lift pause, and
// the countdowns. Kinds and motions never change within a level, and the
// trails and the ten boards of level data are left where they are.
class Codec {
public:
    void init() {
        count_ = 0;
        for (int32_t i = 0; i < MAX_BLOCKS; ++i)
            if (game.blocks[i].alive) count_ = i + 1;
        stride_ = count_ * SLOT_BYTES + TAIL_BYTES;
    }
    int32_t count() const { return count_; }
    size_t stride() const { return static_cast<size_t>(stride_); }

    void save(uint8_t* out) const {
        for (int32_t i = 0; i < count_; ++i) {
            const Block& b = game.blocks[i];
            const uint16_t x = static_cast<uint16_t>(b.x - BOARD_LEFT);
            const uint16_t y = static_cast<uint16_t>(b.y - BOARD_TOP);
            uint8_t* p = out + i * SLOT_BYTES;
            p[0] = static_cast<uint8_t>(x);
            p[1] = static_cast<uint8_t>(x >> 8);
            p[2] = static_cast<uint8_t>(y);
            p[3] = static_cast<uint8_t>(y >> 8);
            p[4] = static_cast<uint8_t>(b.pauseTicks);
            p[5] = static_cast<uint8_t>(b.alive | (b.marked << 1) | (b.goingUp << 2));
        }
        uint8_t* t = out + count_ * SLOT_BYTES;
        t[0] = static_cast<uint8_t>(elimDelay);
        t[1] = static_cast<uint8_t>(game.settleTicks);
        t[2] = static_cast<uint8_t>(game.state);
        t[3] = comboFlag;
    }

    void load(const uint8_t* in) const {
        for (int32_t i = 0; i < count_; ++i) {
            Block& b = game.blocks[i];
            const uint8_t* p = in + i * SLOT_BYTES;
            b.x = BOARD_LEFT + (p[0] | (p[1] << 8));
            b.y = BOARD_TOP + (p[2] | (p[3] << 8));
            b.pauseTicks = p[4];
            b.alive = p[5] & 1;
            b.marked = (p[5] >> 1) & 1;
            b.goingUp = (p[5] >> 2) & 1;
        }
        const uint8_t* t = in + count_ * SLOT_BYTES;
        elimDelay = t[0];
        game.settleTicks = t[1];
        game.state = t[2];
        comboFlag = t[3];
        // The clock never runs out inside the search; the tick count says how
        // much of it a solution uses.
        game.clock = 99;
        clockSubTicks = 100;
    }

    // The whole state but the chain bonus, which only ever changes the score.
    // Blocks of one kind are interchangeable here too; lifts keep their slots.
    std::string fullKey(const uint8_t* snap) const {
        uint64_t entries[MAX_BLOCKS];
        int32_t n = 0;
        std::string key;
        for (int32_t i = 0; i < count_; ++i) {
            const uint8_t* p = snap + i * SLOT_BYTES;
            if (game.blocks[i].motion == MOTION_LIFT) {
                key.append(reinterpret_cast<const char*>(p), SLOT_BYTES);
                continue;
            }
            if (!(p[5] & 1)) continue;
            const uint64_t x = p[0] | (p[1] << 8);
            const uint64_t y = p[2] | (p[3] << 8);
            entries[n++] = (static_cast<uint64_t>(game.blocks[i].kind) << 48) | (static_cast<uint64_t>(p[5]) << 40) |
                           (x << 20) | y;
        }
        std::sort(entries, entries + n);
        key.append(reinterpret_cast<const char*>(snap + count_ * SLOT_BYTES), TAIL_BYTES - 1);
        key.append(reinterpret_cast<const char*>(entries), n * sizeof(uint64_t));
        return key;
    }

    // At rest, blocks of one kind are interchangeable: the key is the sorted
    // list of kinds and places of the live blocks.
    std::string restKey(const uint8_t* snap, bool withoutLifts = false) const {
        uint64_t entries[MAX_BLOCKS];
        int32_t n = 0;
        for (int32_t i = 0; i < count_; ++i) {
            const uint8_t* p = snap + i * SLOT_BYTES;
            if (!(p[5] & 1) || (withoutLifts && game.blocks[i].motion == MOTION_LIFT)) continue;
            const uint64_t x = p[0] | (p[1] << 8);
            const uint64_t y = p[2] | (p[3] << 8);
            entries[n++] = (static_cast<uint64_t>(game.blocks[i].kind) << 40) | (x << 20) | y;
        }
        std::sort(entries, entries + n);
        return std::string(reinterpret_cast<const char*>(entries), n * sizeof(uint64_t));
    }

private:
    int32_t count_ = 0;
    int32_t stride_ = TAIL_BYTES;
};

bool movable(int32_t slot) {
    const Block& b = game.blocks[slot];
    return b.alive && (b.motion == MOTION_NORMAL || b.motion == MOTION_ROCK);
}

bool cleared() { return game.state == STATE_LEVEL_COMPLETE; }

// One play tick with a click on the middle of a block, as a frame takes it.
void clickTick(int32_t slot, int32_t button) {
    const Block& b = game.blocks[slot];
    input = InputState{b.x + 16, b.y + 16, button};
    game.playTick();
    input.pendingButton = BUTTON_NONE;
}

void idleTick() {
    input.pendingButton = BUTTON_NONE;
    game.playTick();
}

struct Settled {
    int32_t ticks;  // ticks run; -1 when the board did not come to rest
    bool cleared;
};

// A blink holds the board still: until its last tick nothing steps, nothing
// is clicked or removed, and no fall is free, so the settle count stays at
// nought and every tick marks the same blocks again on the same board. Such a
// tick only counts down; answers whether it was one.
bool blinkOnlyTick() {
    if (elimDelay <= 1 || game.settleTicks != 0 || game.clock < 1) return false;
    if (--clockSubTicks < 0) {
        clockSubTicks = CLOCK_UNIT_TICKS;
        --game.clock;
    }
    --elimDelay;
    return true;
}

// [SECTION] Where a push reaches
// The cells a push and everything it set off ever covered: the pushed block
// where it was and where it went, every block that fell through them, every
// block that blinked and vanished. The rules only ever look at a block's
// own cell and the cells touching it, so two pushes from one board whose
// areas do not touch play the same wherever the other one went first.
struct Area {
    uint16_t rows[BOARD_SIZE] = {};  // a bit a column

    // The cells a block's box covers at (x, y), and those in between when it
    // went from y down to toY in its own column.
    void cover(int32_t x, int32_t y, int32_t toY) {
        const int32_t column = (x - BOARD_LEFT) / CELL_PIXELS;
        if (column < 0 || column >= BOARD_SIZE) return;
        const int32_t first = std::max(0, (std::min(y, toY) - BOARD_TOP) / CELL_PIXELS);
        const int32_t last = std::min(BOARD_SIZE - 1, (std::max(y, toY) + CELL_PIXELS - 1 - BOARD_TOP) / CELL_PIXELS);
        for (int32_t r = first; r <= last; ++r) rows[r] = static_cast<uint16_t>(rows[r] | (1u << column));
    }

    // These cells and every cell touching them, diagonals too.
    Area grown() const {
        Area out;
        for (int32_t r = 0; r < BOARD_SIZE; ++r) {
            const uint32_t wide = rows[r] | (rows[r] << 1) | (rows[r] >> 1);
            for (int32_t rr = std::max(0, r - 1); rr <= std::min(BOARD_SIZE - 1, r + 1); ++rr)
                out.rows[rr] = static_cast<uint16_t>(out.rows[rr] | wide);
        }
        return out;
    }

    bool overlaps(const Area& other) const {
        for (int32_t r = 0; r < BOARD_SIZE; ++r)
            if (rows[r] & other.rows[r]) return true;
        return false;
    }
};

// Whether some block differs from `before`; covers the boxes of those that
// do, where they were and where they are, when there is an area to cover.
template <typename Seen>
bool coverChanges(const Seen* before, int32_t count, Area* area) {
    bool changed = false;
    for (int32_t i = 0; i < count; ++i) {
        const Block& b = game.blocks[i];
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
int32_t clockTicksLeft() { return std::max(0, game.clock * (CLOCK_UNIT_TICKS + 1) + clockSubTicks - 1); }

// What a run of skipped ticks does besides moving blocks: the clock runs and
// the trails fade.
void passTicks(int32_t ticks) {
    for (int32_t t = 0; t < ticks; ++t) {
        if (--clockSubTicks < 0) {
            clockSubTicks = CLOCK_UNIT_TICKS;
            --game.clock;
        }
        for (Trail& trail : game.trails) game.fadeTrail(trail);
    }
}

// After a tick that changed nothing, with no blink: the ticks until the
// settle count runs out change nothing either, since the board step sees the
// same board and nothing is matched before then. Skips them, up to the tick
// that matches; answers how many.
int32_t waitOutSettle(int32_t count) {
    if (elimDelay != 0 || game.state != STATE_PLAY || game.settleTicks <= 1) return 0;
    for (int32_t i = 0; i < count; ++i)
        if (game.blocks[i].alive && (game.blocks[i].motion == MOTION_LIFT || game.blocks[i].pauseTicks > 0)) return 0;
    const int32_t ticks = std::min(game.settleTicks - 1, clockTicksLeft());
    passTicks(ticks);
    game.settleTicks -= ticks;
    return ticks;
}

// A fall through open air is the same tick after tick: every falling block
// drops two pixels, the stacks keep their gaps, and the settle count is set
// again. The rules only look at what lies under a block, so while nothing
// new comes within reach of a falling block's probes, the ticks to come
// repeat the last one and can be played as one jump.
class FallRunner {
public:
    explicit FallRunner(int32_t count) : count_(count) {}

    // After a tick played in full, with `before` the blocks as it found them:
    // jumps over the ticks that can only repeat it; answers how many.
    template <typename Seen>
    int32_t runAhead(const Seen* before, Area* area) {
        const bool steady = repeatsLastTick(before);
        if (!steady) return 0;
        const int32_t room = fallRoom();
        // The falling blocks stop short of anything by four pixels, which a
        // falling block's probes (two and three pixels below it) never reach.
        const int32_t ticks = std::min((room - MIN_GAP) / FALL_STEP, clockTicksLeft());
        if (ticks < 1) return 0;
        for (int32_t i = 0; i < count_; ++i) {
            if (dy_[i] == 0) continue;
            Block& b = game.blocks[i];
            if (area) area->cover(b.x, b.y, b.y + FALL_STEP * ticks);
            b.y += FALL_STEP * ticks;
        }
        passTicks(ticks);
        // Each skipped tick counts the settle count down and sets it again.
        game.settleTicks = SETTLE_TICKS;
        known_ = false;
        return ticks;
    }

private:
    static constexpr int32_t FALL_STEP = 2;
    static constexpr int32_t MIN_GAP = 4;

    // Whether the tick just played moved the same blocks the same two pixels
    // down as the one before it, changed nothing else, and left the settle
    // count freshly set with no blink running.
    template <typename Seen>
    bool repeatsLastTick(const Seen* before) {
        bool same = known_ && elimDelay == 0 && game.settleTicks == SETTLE_TICKS && game.state == STATE_PLAY;
        bool moving = false;
        for (int32_t i = 0; i < count_; ++i) {
            const Block& b = game.blocks[i];
            const int32_t dy = b.y - before[i].y;
            const bool plain = b.x == before[i].x && b.alive == before[i].alive && b.marked == before[i].marked &&
                               (dy == 0 || dy == FALL_STEP) && (dy == 0 || b.motion == MOTION_NORMAL || b.motion == MOTION_ROCK);
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

    // The least room under a falling block, in pixels, to the terrain or to
    // a block that is not falling with it.
    int32_t fallRoom() const {
        int32_t room = 1 << 20;
        for (int32_t i = 0; i < count_ && room > MIN_GAP; ++i) {
            if (dy_[i] == 0) continue;
            const Block& b = game.blocks[i];
            const int32_t bottom = b.y + CELL_PIXELS;
            // Terrain: the first cell in the column at or below the bottom edge that is not open floor.
            int32_t terrain = bottom - (bottom - BOARD_TOP) % CELL_PIXELS;
            if (terrain < bottom) terrain += CELL_PIXELS;
            while (game.cellAt(b.x, terrain) == CELL_EMPTY) terrain += CELL_PIXELS;
            room = std::min(room, terrain - bottom);
            for (int32_t j = 0; j < count_; ++j) {
                const Block& o = game.blocks[j];
                if (j == i || !o.alive || dy_[j] != 0 || o.x + CELL_PIXELS <= b.x || b.x + CELL_PIXELS <= o.x) continue;
                if (o.y + CELL_PIXELS > b.y) room = std::min(room, o.y - bottom);
            }
        }
        return room;
    }

    int32_t count_;
    bool known_ = false;
    int32_t dy_[MAX_BLOCKS] = {};
};

// Runs ticks until a tick changes nothing and no countdown is left; the
// cells it changed go into `area` when one is given.
Settled settle(const Codec& codec, bool runFallsAhead, int64_t* ranAhead, Area* area = nullptr) {
    struct Seen {
        int32_t x, y;
        uint8_t alive, marked;
    } before[MAX_BLOCKS];
    FallRunner falls(codec.count());
    for (int32_t t = 1; t <= SETTLE_CAP; ++t) {
        if (blinkOnlyTick()) continue;
        for (int32_t i = 0; i < codec.count(); ++i) {
            const Block& b = game.blocks[i];
            before[i] = {b.x, b.y, b.alive, b.marked};
        }
        idleTick();
        if (cleared()) return {t, true};
        const bool changed = coverChanges(before, codec.count(), area);
        if (!changed && elimDelay == 0 && game.settleTicks == 0) return {t, false};
        if (runFallsAhead) {
            const int32_t skipped = changed ? falls.runAhead(before, area) : waitOutSettle(codec.count());
            t += skipped;
            *ranAhead += skipped;
        }
    }
    return {-1, false};
}

bool hasLift() {
    for (const Block& b : game.blocks)
        if (b.alive && b.motion == MOTION_LIFT) return true;
    return false;
}

// [SECTION] Where blocks can go
// Without lifts a block only ever moves sideways into open cells and falls
// down through them: the cells it can ever stand in are those, from where it
// stands. Tar and walls never move. Worked out once per level for every cell
// a block can start from.
class Reach {
public:
    static constexpr int32_t CELLS = BOARD_SIZE * BOARD_SIZE;

    // From the board on the table (game.board and the tar among game.blocks).
    void build() {
        bool open[BOARD_SIZE][BOARD_SIZE];
        for (int32_t r = 0; r < BOARD_SIZE; ++r)
            for (int32_t c = 0; c < BOARD_SIZE; ++c) open[r][c] = game.board[r][c] == CELL_EMPTY;
        for (const Block& b : game.blocks)
            if (b.alive && b.motion == MOTION_ICKY) open[cellOf(b) / BOARD_SIZE][cellOf(b) % BOARD_SIZE] = false;
        meet_.clear();
        for (int32_t c = 0; c < BOARD_SIZE; ++c) {
            int32_t floor = -1;
            for (int32_t r = BOARD_SIZE - 1; r >= 0; --r) {
                if (!open[r][c])
                    floor = -1;
                else if (floor < 0)
                    floor = r;
                lowest_[r * BOARD_SIZE + c] = floor;
            }
        }
        for (int32_t start = 0; start < CELLS; ++start) {
            Cells& reach = reach_[start];
            Cells& near = near_[start];
            reach.fill(false);
            near.fill(false);
            if (!open[start / BOARD_SIZE][start % BOARD_SIZE]) continue;
            std::vector<int32_t> todo{start};
            reach[start] = true;
            while (!todo.empty()) {
                const int32_t at = todo.back();
                todo.pop_back();
                const int32_t r = at / BOARD_SIZE, c = at % BOARD_SIZE;
                for (const auto& [dr, dc] : {std::pair{0, -1}, {0, 1}, {1, 0}}) {
                    const int32_t rr = r + dr, cc = c + dc;
                    if (rr < 0 || cc < 0 || rr >= BOARD_SIZE || cc >= BOARD_SIZE || !open[rr][cc]) continue;
                    if (!reach[rr * BOARD_SIZE + cc]) reach[rr * BOARD_SIZE + cc] = true, todo.push_back(rr * BOARD_SIZE + cc);
                }
            }
            for (int32_t at = 0; at < CELLS; ++at) {
                if (!reach[at]) continue;
                const int32_t r = at / BOARD_SIZE, c = at % BOARD_SIZE;
                near[at] = true;
                for (const auto& [dr, dc] : {std::pair{0, -1}, {0, 1}, {1, 0}, {-1, 0}}) {
                    const int32_t rr = r + dr, cc = c + dc;
                    if (rr >= 0 && cc >= 0 && rr < BOARD_SIZE && cc < BOARD_SIZE) near[rr * BOARD_SIZE + cc] = true;
                }
            }
        }
    }

    // Whether a block standing in cell a can ever come next to, onto or
    // under a block standing in cell b.
    bool canMeet(int32_t a, int32_t b) {
        const int32_t key = a * CELLS + b;
        const auto known = meet_.find(key);
        if (known != meet_.end()) return known->second;
        bool meets = false;
        for (int32_t at = 0; at < CELLS && !meets; ++at) meets = near_[a][at] && reach_[b][at];
        meet_[key] = meets;
        return meets;
    }

    // Whether blocks standing in cells a and b can ever touch with neither
    // pushed again: one above the other in a stretch of column with no wall
    // or tar between them, or side by side in neighbouring columns, on a row
    // both can fall to.
    bool canMeetUnpushed(int32_t a, int32_t b) const {
        const int32_t ca = a % BOARD_SIZE, cb = b % BOARD_SIZE;
        if (ca == cb) return lowest_[a] == lowest_[b];
        if (ca - cb != 1 && cb - ca != 1) return false;
        return std::max(a / BOARD_SIZE, b / BOARD_SIZE) <= std::min(lowest_[a], lowest_[b]);
    }

    static int32_t cellOf(const Block& b) {
        const int32_t r = (b.y - BOARD_TOP + CELL_PIXELS / 2) / CELL_PIXELS;
        const int32_t c = (b.x - BOARD_LEFT + CELL_PIXELS / 2) / CELL_PIXELS;
        return std::clamp(r, 0, BOARD_SIZE - 1) * BOARD_SIZE + std::clamp(c, 0, BOARD_SIZE - 1);
    }

private:
    using Cells = std::array<bool, CELLS>;
    std::vector<Cells> reach_ = std::vector<Cells>(CELLS);  // the cells a block in a cell can ever stand in
    std::vector<Cells> near_ = std::vector<Cells>(CELLS);   // those cells and their neighbours
    std::unordered_map<int32_t, bool> meet_;
    std::array<int32_t, CELLS> lowest_{};  // the lowest row a block falls to from a cell, -1 in a wall
};

}  // namespace

// [SECTION] The bound
// Some best split has groups that follow one another along the row. Two
// groups whose column ranges overlap never need less than the one group of
// both, which needs R - L less its size less one from its lowest column L
// to its highest R: if one of the two holds both L and R, it alone needs
// R - L less a smaller size less one; if not, their spans add up to at
// least R - L while their sizes less one add up to less. So merging until
// no ranges overlap loses nothing, and the groups left run along the
// sorted columns, where one walk finds the best.
int32_t fewestToGroup(const int32_t* columns, int32_t n) {
    constexpr int32_t NONE = 1 << 20;
    n = std::clamp(n, 0, static_cast<int32_t>(MAX_BLOCKS));
    int32_t sorted[MAX_BLOCKS];
    std::copy(columns, columns + n, sorted);
    std::sort(sorted, sorted + n);
    int32_t best[MAX_BLOCKS + 1];  // best[i]: the first i columns split into groups
    best[0] = 0;
    for (int32_t i = 1; i <= n; ++i) {
        best[i] = NONE;
        for (int32_t j = 0; j + 2 <= i; ++j)  // the group of columns j to i - 1
            if (best[j] < NONE)
                best[i] = std::min(best[i], best[j] + std::max(0, sorted[i - 1] - sorted[j] - (i - 1 - j)));
    }
    return best[n] < NONE ? best[n] : 0;
}

namespace {

// What the bound reads of a board: the cells each kind's blocks stand in. A
// kind needs at least the pushes that group its columns (fewestToGroup), and
// at least one while some block of it has no other of its kind it could meet
// with neither pushed again (Reach::canMeetUnpushed, which sees walls and tar
// but no block in the way): only a push of a block of that kind can bring it
// one. Each push moves a block of one kind, so the kinds' needs add up.
class Kinds {
public:
    // From the board on the table.
    explicit Kinds(const Reach& reach) : reach_(reach) {
        for (int32_t i = 0; i < MAX_BLOCKS; ++i) {
            const Block& b = game.blocks[i];
            index_[i] = -1;
            kind_[i] = -1;
            movable_[i] = movable(i);
            column_[i] = Reach::cellOf(b) % BOARD_SIZE;
            if (!b.alive || b.motion != MOTION_NORMAL || b.kind < 0 || b.kind > KIND_POINTER) continue;
            kind_[i] = b.kind;
            index_[i] = count_[b.kind]++;
            cells_[b.kind][index_[i]] = Reach::cellOf(b);
            slots_[b.kind][index_[i]] = i;
        }
        for (int32_t kind = 0; kind <= KIND_POINTER; ++kind) {
            const int32_t* cells = cells_[kind];
            for (int32_t i = 0; i < count_[kind]; ++i) partners_[kind][i] = 0;
            for (int32_t i = 0; i < count_[kind]; ++i)
                for (int32_t j = i + 1; j < count_[kind]; ++j)
                    if (reach_.canMeetUnpushed(cells[i], cells[j])) {
                        partners_[kind][i] |= uint64_t{1} << j;
                        partners_[kind][j] |= uint64_t{1} << i;
                    }
            total_ += need_[kind] = needs(kind, nullptr, 0);
        }
    }

    int32_t total() const { return total_; }

    // The total with the block in `slot` one column along, `step` -1 or 1,
    // on the row it stood in.
    int32_t totalWithMoved(int32_t slot, int32_t step) const {
        const AfterFirst after = afterFirst(slot, step);
        if (!after.atRest) return 0;        // claim nothing
        if (after.kind < 0) return total_;  // no ordinary block: every column stays
        return total_ - need_[after.kind] + after.need[after.kind];
    }

    // Whether, after `slot` moves by `step` and leaves the bound at one, a
    // second push could bring it to nought, and `frees(second, column)`
    // agrees that the two pushes could leave every block free to move (the
    // second block pushed into that column). Where the second block stands
    // when it is pushed, after what the first set off, is not known: it is
    // taken to meet any block of its kind in the columns beside its new one.
    // The board the first push leaves still holds the blocks its cascade
    // will take, but they leave in touching groups, which the bound lets
    // off for nothing, and none of them was alone.
    template <typename Frees>
    bool secondPushMayFinish(int32_t slot, int32_t step, const Frees& frees) const {
        const AfterFirst after = afterFirst(slot, step);
        if (!after.atRest) return true;  // claim nothing
        const int32_t firstKind = after.kind;
        const Moved& first = after.first;
        // One push serves one kind: at most one may still be in need.
        int32_t inNeed = -1;
        for (int32_t kind = 0; kind <= KIND_POINTER; ++kind) {
            const int32_t need = after.need[kind];
            if (need > 1 || (need == 1 && inNeed >= 0)) return false;
            if (need == 1) inNeed = kind;
        }
        for (int32_t second = 0; second < MAX_BLOCKS; ++second) {
            if (!movable_[second]) continue;
            const int32_t kind = kind_[second];
            if (inNeed >= 0 && kind != inNeed) continue;
            int32_t from = column_[second];
            if (second == slot) from += step;
            for (int32_t to : {from - 1, from + 1}) {
                if (to < 0 || to >= BOARD_SIZE) continue;
                if (kind >= 0) {
                    // The first push's block, where it went, unless it is the second too.
                    const Moved wild{index_[second], to, true};
                    const Moved both[2] = {first, wild};
                    const bool afterFirst = kind == firstKind && second != slot;
                    if (needs(kind, afterFirst ? both : &wild, afterFirst ? 2 : 1, true) > 0) continue;
                }
                if (frees(second, to)) return true;
            }
        }
        return false;
    }

    // The same, two pushes on: after `slot` moves by `step` and leaves the
    // bound at two, whether two more pushes could bring it to nought and,
    // by `moves(second, column)`, the blocks that a push of `second` into
    // that column could set moving with the first, set moving every block
    // in `still` (those the first alone leaves still). Two kinds in need
    // take a push each, one kind in need takes both, of two blocks or one
    // twice.
    // Reaching is the same from any set of pushes as from each alone, put
    // together: each block set moving is reached from the push it was last
    // set moving by, through blocks no push moved.
    template <typename Moves>
    bool twoMoreMayFinish(int32_t slot, int32_t step, uint64_t still, const Moves& moves) const {
        const AfterFirst after = afterFirst(slot, step);
        if (!after.atRest) return true;  // claim nothing
        const int32_t firstKind = after.kind;
        const Moved& first = after.first;
        int32_t inNeed[2] = {-1, -1};
        int32_t total = 0;
        for (int32_t kind = 0; kind <= KIND_POINTER; ++kind) {
            const int32_t need = after.need[kind];
            total += need;
            if (need > 0) inNeed[inNeed[0] < 0 ? 0 : 1] = kind;
        }
        if (total != 2) return true;  // claim nothing
        // A later push of block `index` of a kind, into `column` on a row not
        // known, and what it sets moving.
        struct Later {
            int32_t index, column;
            uint64_t moves;
        };
        auto column = [&](int32_t kind, int32_t i) {
            return (kind == firstKind && i == first.index ? first.cell : cells_[kind][i]) % BOARD_SIZE;
        };
        auto needsNone = [&](int32_t kind, const Later* a, const Later* b) {
            Moved all[3];
            int32_t n = 0;
            for (const Later* p : {a, b})
                if (p) all[n++] = Moved{p->index, p->column, true};
            const bool afterFirst =
                kind == firstKind && (!a || a->index != first.index) && (!b || b->index != first.index);
            if (afterFirst) all[n++] = first;
            return needs(kind, all, n, true) == 0;
        };
        // The later pushes of a kind's blocks, one column either way, or two
        // pushes of one block, two columns or none; with `alone`, only those
        // that alone would leave the kind in no need.
        auto laterPushes = [&](int32_t kind, bool twice, bool alone, Later* out) {
            int32_t n = 0;
            for (int32_t i = 0; i < count_[kind]; ++i) {
                const int32_t c = column(kind, i);
                for (int32_t to : {twice ? c - 2 : c - 1, twice ? c : c + 1, twice ? c + 2 : -1}) {
                    if (to < 0 || to >= BOARD_SIZE || !movable_[slots_[kind][i]]) continue;
                    out[n] = Later{i, to, ~uint64_t{0}};
                    if (alone && !needsNone(kind, &out[n], nullptr)) continue;
                    if (still != 0) out[n].moves = moves(slots_[kind][i], to);
                    ++n;
                }
            }
            return n;
        };
        auto covers = [&](const Later& a, const Later& b) { return (still & ~(a.moves | b.moves)) == 0; };
        Later one[MAX_BLOCKS * 3], other[MAX_BLOCKS * 3];
        if (inNeed[1] >= 0) {  // a push for each kind
            const int32_t a = laterPushes(inNeed[0], false, true, one);
            const int32_t b = a > 0 ? laterPushes(inNeed[1], false, true, other) : 0;
            for (int32_t i = 0; i < a; ++i)
                for (int32_t j = 0; j < b; ++j)
                    if (covers(one[i], other[j])) return true;
            return false;
        }
        const int32_t kind = inNeed[0];
        const int32_t a = laterPushes(kind, false, false, one);  // two blocks, a push each
        for (int32_t i = 0; i < a; ++i)
            for (int32_t j = i + 1; j < a; ++j)
                if (one[i].index != one[j].index && covers(one[i], one[j]) && needsNone(kind, &one[i], &one[j]))
                    return true;
        const int32_t b = laterPushes(kind, true, true, other);  // one block twice
        for (int32_t i = 0; i < b; ++i)
            if (covers(other[i], other[i])) return true;
        return false;
    }

private:
    // A block of a kind standing elsewhere than the board has it: in `cell`,
    // or, `wild`, in column `cell` on a row not known.
    struct Moved {
        int32_t index = -1;
        int32_t cell = 0;
        bool wild = false;
    };

    // The board after a first push: the block pushed where it went, if it is
    // an ordinary one, and each kind's need.
    struct AfterFirst {
        bool atRest = true;  // false for a push that would leave the board
        int32_t kind = -1;
        Moved first;
        int32_t need[KIND_POINTER + 1];
    };

    AfterFirst afterFirst(int32_t slot, int32_t step) const {
        AfterFirst after;
        std::copy(need_, need_ + KIND_POINTER + 1, after.need);
        after.kind = kind_[slot];
        if (after.kind < 0) return after;
        const int32_t cell = cells_[after.kind][index_[slot]];
        const int32_t to = cell % BOARD_SIZE + step;
        after.atRest = to >= 0 && to < BOARD_SIZE;
        if (!after.atRest) return after;
        after.first = Moved{index_[slot], cell + step, false};
        after.need[after.kind] = needs(after.kind, &after.first, 1);
        return after;
    }

    // The need of a kind with some of its blocks moved. With `anyWillDo`,
    // any need above nought may be answered as one.
    int32_t needs(int32_t kind, const Moved* moved, int32_t movedCount, bool anyWillDo = false) const {
        const int32_t n = count_[kind];
        if (n < 2) return 0;
        int32_t cells[MAX_BLOCKS];
        std::copy(cells_[kind], cells_[kind] + n, cells);
        uint64_t movedBits = 0, wildBits = 0;
        for (int32_t m = 0; m < movedCount; ++m) {
            cells[moved[m].index] = moved[m].cell;
            movedBits |= uint64_t{1} << moved[m].index;
            if (moved[m].wild) wildBits |= uint64_t{1} << moved[m].index;
        }
        auto column = [&](int32_t i) { return (wildBits >> i) & 1 ? cells[i] : cells[i] % BOARD_SIZE; };
        auto meet = [&](int32_t i, int32_t j) {
            if (((wildBits >> i) | (wildBits >> j)) & 1) return std::abs(column(i) - column(j)) <= 1;
            return reach_.canMeetUnpushed(cells[i], cells[j]);
        };
        bool alone = false;
        for (int32_t i = 0; i < n && !alone; ++i) {
            bool partner = false;
            if ((movedBits >> i) & 1) {
                for (int32_t j = 0; j < n && !partner; ++j) partner = j != i && meet(i, j);
            } else {
                partner = (partners_[kind][i] & ~movedBits) != 0;
                for (int32_t m = 0; m < movedCount && !partner; ++m) partner = meet(i, moved[m].index);
            }
            alone = !partner;
        }
        if (alone && anyWillDo) return 1;
        int32_t columns[MAX_BLOCKS];
        for (int32_t i = 0; i < n; ++i) columns[i] = column(i);
        return std::max(fewestToGroup(columns, n), alone ? 1 : 0);
    }

    const Reach& reach_;
    int32_t count_[KIND_POINTER + 1] = {};
    int32_t cells_[KIND_POINTER + 1][MAX_BLOCKS];
    int32_t slots_[KIND_POINTER + 1][MAX_BLOCKS];
    uint64_t partners_[KIND_POINTER + 1][MAX_BLOCKS];  // by kind and place: the like blocks each could meet unpushed
    int32_t need_[KIND_POINTER + 1] = {};
    // By slot: the place in its kind's cells, its kind (ordinary blocks, -1
    // for any other), whether a push can move it, and its column.
    int32_t index_[MAX_BLOCKS];
    int32_t kind_[MAX_BLOCKS];
    bool movable_[MAX_BLOCKS];
    int32_t column_[MAX_BLOCKS];
    int32_t total_ = 0;
};

// [SECTION] The search
// A board at rest, as a grid: which block stands in each cell. A push at
// rest that the rules would refuse for certain (its block cannot be pushed,
// or the cell it goes to is not open floor or holds a block) is not worth
// playing.
class RestBoard {
public:
    // From the board on the table, which is then free to change.
    RestBoard() {
        for (auto& row : at_) row.fill(-1);
        for (int32_t i = 0; i < MAX_BLOCKS; ++i) {
            const Block& b = game.blocks[i];
            const bool grid = b.alive && onGrid(b);
            where_[i] = grid ? Cell{row(b), column(b)} : Cell{-1, -1};
            pushable_[i] = movable(i);
            kind_[i] = b.alive && b.motion == MOTION_NORMAL ? b.kind : -1;
            if (grid) at_[row(b)][column(b)] = i;
            const bool unfiled = b.alive && b.motion == MOTION_NORMAL && (b.kind < 0 || b.kind > KIND_POINTER);
            offGrid_ = offGrid_ || (b.alive && !grid) || unfiled;
        }
        for (int32_t i = 0; i < MAX_BLOCKS && !offGrid_; ++i) {
            above_[i] = where_[i].row > 0 ? at_[where_[i].row - 1][where_[i].column] : -1;
            if (kind_[i] < 0) continue;
            ordinary_ |= uint64_t{1} << i;
            byColumn_[kind_[i]][where_[i].column] |= uint64_t{1} << i;
        }
    }

    bool surelyRefused(int32_t slot, int32_t button) const {
        if (!pushable_[slot]) return true;
        const Cell at = where_[slot];
        if (at.row < 0) return false;  // off the grid: the rules decide
        const int32_t to = at.column + (button == BUTTON_LEFT ? -1 : 1);
        if (to < 0 || to >= BOARD_SIZE) return true;
        return game.board[at.row][to] != CELL_EMPTY || at_[at.row][to] >= 0;
    }

    // Whether, after this push (one the rules take) and no other, some
    // ordinary block can never move again, so never vanish. The board was
    // at rest with no pair of like blocks touching. A block can only ever
    // move if it is the one pushed, or the block it stands on can move (or
    // is gone), or a like block that can move could come to touch it
    // (Reach::canMeetUnpushed); any other stays where it is for good.
    // A second block, `second`, pushed into `secondColumn` once all is at
    // rest again, also moves, and it is taken to meet any block of its kind
    // in the columns beside that one, on whatever row.
    bool leavesOneStill(int32_t slot, int32_t button, const Reach& reach, int32_t second = -1,
                        int32_t secondColumn = 0) const {
        return (ordinary_ & ~mayMove(slot, button, reach, second, secondColumn)) != 0;
    }

    // The blocks that may ever move after those pushes, a bit a slot; all of
    // them where the board is not one this can read.
    uint64_t mayMove(int32_t slot, int32_t button, const Reach& reach, int32_t second = -1,
                     int32_t secondColumn = 0) const {
        if (offGrid_) return ~uint64_t{0};  // not a board at rest, or kinds the grid does not file: claim nothing
        if (!meetsReady_) fileMeets(reach);
        const Cell from = where_[slot];
        const int32_t toCell = from.row * BOARD_SIZE + from.column + (button == BUTTON_LEFT ? -1 : 1);
        uint64_t moves = 0;
        int32_t todo[MAX_BLOCKS];
        int32_t count = 0;
        auto mayMove = [&](int32_t i) {
            if (i >= 0 && !((moves >> i) & 1)) moves |= uint64_t{1} << i, todo[count++] = i;
        };
        mayMove(slot);
        mayMove(above_[slot]);  // what stood on it
        if (second >= 0 && second != slot) {
            mayMove(second);
            mayMove(above_[second]);
        }
        while (count > 0) {
            const int32_t i = todo[--count];
            if (i != slot) mayMove(above_[i]);  // what stands on it; nothing stands where the pushed block went
            if (kind_[i] < 0) continue;
            uint64_t meets = meets_[i];
            if (i == second) {
                meets = 0;
                for (int32_t c = std::max(0, secondColumn - 1); c <= std::min(BOARD_SIZE - 1, secondColumn + 1); ++c)
                    meets |= byColumn_[kind_[i]][c];
            } else if (i == slot) {
                meets = 0;
                for (int32_t j = 0; j < MAX_BLOCKS; ++j)
                    if (j != slot && kind_[j] == kind_[i] && reach.canMeetUnpushed(toCell, cellOf(j)))
                        meets |= uint64_t{1} << j;
            }
            for (uint64_t fresh = meets & ~moves; fresh != 0; fresh &= fresh - 1) mayMove(__builtin_ctzll(fresh));
        }
        return moves;
    }

    uint64_t ordinaryBlocks() const { return ordinary_; }

private:
    struct Cell {
        int32_t row, column;
    };
    static bool onGrid(const Block& b) {
        return (b.x - BOARD_LEFT) % CELL_PIXELS == 0 && (b.y - BOARD_TOP) % CELL_PIXELS == 0 && b.x >= BOARD_LEFT &&
               b.y >= BOARD_TOP && b.x < BOARD_LEFT + BOARD_SIZE * CELL_PIXELS && b.y < BOARD_TOP + BOARD_SIZE * CELL_PIXELS;
    }
    static int32_t row(const Block& b) { return (b.y - BOARD_TOP) / CELL_PIXELS; }
    static int32_t column(const Block& b) { return (b.x - BOARD_LEFT) / CELL_PIXELS; }

    int32_t cellOf(int32_t i) const { return where_[i].row * BOARD_SIZE + where_[i].column; }

    // Which like blocks each ordinary block could meet, neither pushed.
    void fileMeets(const Reach& reach) const {
        for (int32_t i = 0; i < MAX_BLOCKS; ++i) {
            meets_[i] = 0;
            if (kind_[i] < 0) continue;
            for (int32_t j = 0; j < MAX_BLOCKS; ++j)
                if (j != i && kind_[j] == kind_[i] && reach.canMeetUnpushed(cellOf(i), cellOf(j)))
                    meets_[i] |= uint64_t{1} << j;
        }
        meetsReady_ = true;
    }

    Cell where_[MAX_BLOCKS];
    bool pushable_[MAX_BLOCKS];
    int32_t kind_[MAX_BLOCKS];   // ordinary blocks' kinds, -1 for any other slot
    int32_t above_[MAX_BLOCKS];  // the block standing on each, -1 for none
    uint64_t ordinary_ = 0;      // a bit a slot
    uint64_t byColumn_[KIND_POINTER + 1][BOARD_SIZE] = {};  // ordinary blocks by kind and column
    mutable uint64_t meets_[MAX_BLOCKS];
    mutable bool meetsReady_ = false;
    std::array<std::array<int32_t, BOARD_SIZE>, BOARD_SIZE> at_;  // slot by cell, -1 for none
    bool offGrid_ = false;  // some live block stands between cells, or is of a kind beyond the filed ones
};
static_assert(MAX_BLOCKS <= 64, "a bit a slot");

// Pushes by the cell of the block pushed and the way it goes.
using Asleep = std::bitset<BOARD_SIZE * BOARD_SIZE * 2>;

struct Node {
    int32_t parent;     // -1 for the start
    int16_t slot;       // the block clicked to get here, or -1 for a wait
    int8_t button;
    int32_t tick;       // the level's tick this state stands at
    int32_t lastClick;  // tick of the latest click on the way here
    int32_t pushes;
    uint8_t idleLifts;  // timed search: the lifts run idle, their place is not part of the key
};

class Search {
public:
    Search(int32_t level, const Limits& limits) : level_(level), limits_(limits) {}

    Result run() {
        started_ = cpuSeconds();
        startLevel(level_);
        codec_.init();
        result_.timed = limits_.forceTimed || hasLift();
        if (playOpening()) {
            if (result_.timed)
                runTimed();
            else
                runAtRest();
        }
        result_.states = static_cast<int64_t>(nodes_.size());
        result_.seconds = elapsed();
        return result_;
    }

private:
    double elapsed() const { return cpuSeconds() - started_; }

    // Plays the opening clicks; answers false when the search has nothing
    // left to do (the opening cleared the level or a click met no block).
    bool playOpening() {
        int32_t tick = 0;
        for (const Click& c : limits_.opening) {
            while (tick + 1 < c.tick) {
                idleTick();
                ++tick;
                if (cleared()) break;
            }
            if (cleared() || !game.blocks[c.slot].alive) break;
            clickTick(c.slot, c.button);
            ++tick;
        }
        openingTick_ = tick;
        openingPushes_ = static_cast<int32_t>(limits_.opening.size());
        if (cleared()) {
            result_.why = openingPushes_ ? "cleared by the opening" : "cleared without a push";
            result_.clearedWithoutPush = openingPushes_ == 0;
            return false;
        }
        if (tick < static_cast<int32_t>(limits_.opening.empty() ? 0 : limits_.opening.back().tick)) {
            result_.why = "the opening clicks a block that is gone";
            return false;
        }
        return true;
    }

    // A board some kind of which is down to one block is never explored;
    // without lifts, nor is one with a block that can never get next to any
    // other block of its kind.
    bool prune() {
        if (!hopelessBoard() && !(strandsABlock_ && strandedBlock())) return false;
        ++result_.hopeless;
        return true;
    }

    // Whether some block can never get next to any other block of its kind,
    // so can never be cleared.
    bool strandedBlock() {
        for (int32_t i = 0; i < codec_.count(); ++i) {
            const Block& a = game.blocks[i];
            if (!a.alive || a.motion != MOTION_NORMAL) continue;
            bool partner = false;
            for (int32_t j = 0; j < codec_.count() && !partner; ++j) {
                const Block& b = game.blocks[j];
                partner = j != i && b.alive && b.motion == MOTION_NORMAL && b.kind == a.kind &&
                          reach_.canMeet(Reach::cellOf(a), Reach::cellOf(b));
            }
            if (!partner) return true;
        }
        return false;
    }

    bool overBudget() {
        if (static_cast<int64_t>(nodes_.size()) >= limits_.maxStates) {
            result_.why = "state limit";
            return true;
        }
        // The clock is asked only now and then; it is slow beside a tick.
        if ((++budgetCalls_ & 63) == 0 && elapsed() > limits_.maxSeconds) {
            result_.why = "time limit";
            return true;
        }
        return false;
    }

    // A node for the board on the table, or for the board of node `copyOf`.
    int32_t addNode(const Node& node, int32_t copyOf = -1) {
        nodes_.push_back(node);
        sleeps_.emplace_back();
        expanded_.push_back(0);
        triedUpTo_.push_back(-1);
        boardOf_.push_back(copyOf >= 0 ? boardOf_[copyOf] : -1);
        const size_t at = snaps_.size();
        snaps_.resize(at + codec_.stride());
        if (copyOf >= 0)
            std::memcpy(snaps_.data() + at, snap(copyOf), codec_.stride());
        else
            codec_.save(snaps_.data() + at);
        return static_cast<int32_t>(nodes_.size()) - 1;
    }

    const uint8_t* snap(int32_t id) const { return snaps_.data() + static_cast<size_t>(id) * codec_.stride(); }

    bool visit(const std::string& key) { return visited_.insert(key).second; }

    std::string restKeyOfBoard() {
        scratch_.resize(codec_.stride());
        codec_.save(scratch_.data());
        return codec_.restKey(scratch_.data());
    }

    // The clicks on the way to a node, and a final one that clears the level.
    std::vector<Click> pathTo(int32_t id, const Click* last) const {
        std::vector<Click> clicks;
        if (last) clicks.push_back(*last);
        for (int32_t n = id; n >= 0 && nodes_[n].parent >= 0; n = nodes_[n].parent) {
            if (nodes_[n].slot < 0) continue;
            clicks.push_back(describe(nodes_[n].parent, nodes_[n].slot, nodes_[n].button, nodes_[n].lastClick));
        }
        std::reverse(clicks.begin(), clicks.end());
        return clicks;
    }

    Click describe(int32_t from, int32_t slot, int32_t button, int32_t tick) const {
        const uint8_t* p = snap(from) + slot * SLOT_BYTES;
        const int32_t x = p[0] | (p[1] << 8);
        const int32_t y = p[2] | (p[3] << 8);
        return Click{tick, slot, button, (x + 16) / CELL_PIXELS, (y + 16) / CELL_PIXELS};
    }

    // A goal is taken only when a person could play it: in time, and not
    // hanging on a click timed to the tick.
    bool acceptGoal(int32_t from, const Click* last, int32_t pushes, int32_t tick) {
        if (tick > limits_.tickLimit) return false;
        std::vector<Click> clicks = limits_.opening;
        for (const Click& c : pathTo(from, last)) clicks.push_back(c);
        int32_t clearedAt = 0;
        if (!steady(level_, clicks, limits_.tickLimit, &clearedAt)) {
            ++result_.fragile;
            if (result_.fragile >= FRAGILE_CAP) {
                result_.why = "only finely timed solutions";
                stop_ = true;
            }
            return false;
        }
        result_.solved = true;
        result_.pushes = pushes;
        result_.ticks = clearedAt;
        result_.clicks = clicks;
        stop_ = true;
        return true;
    }

    // A lower bound on the pushes the board still needs (Kinds below, at
    // least one while the board is not cleared). A block only moves
    // sideways when it is pushed, one column a push (falls and blinks never
    // move it sideways, and there is no lift here). Every block of a kind
    // goes in some group of two or more that touch as they vanish, and a
    // touching group of n blocks spans at most n - 1 columns. So a kind
    // needs at least the pushes that bring the spans of its best split into
    // groups down to that. A push moves one block one column, which narrows
    // one group by at most one, and a group that vanishes takes nothing from
    // the bound of the blocks left: the bound falls by at most one a push,
    // and searching in order of pushes made plus this bound still finds the
    // fewest pushes first. A board not yet cleared needs at least one.
    int32_t pushesStillNeeded() const {
        if (!limits_.guided) return 1;
        const Kinds kinds(reach_);
        return std::max(1, kinds.total());
    }

    // Boards without lifts: over rest states in order of pushes made plus the
    // bound above (with the bound left out, plain breadth-first), fewest
    // pushes first. A board met again by fewer pushes is explored again.
    void runAtRest() {
        const Settled first = settle(codec_, limits_.runFallsAhead, &result_.ticksRunAhead);
        if (first.cleared) {
            if (openingPushes_ == 0) {
                result_.clearedWithoutPush = true;
                result_.why = "cleared without a push";
            } else {
                acceptGoal(-1, nullptr, openingPushes_, openingTick_ + first.ticks);
            }
            return;
        }
        if (first.ticks < 0) {
            result_.why = "never comes to rest";
            return;
        }
        reach_.build();
        strandsABlock_ = true;
        if (prune()) {
            result_.why = "no solution";
            return;
        }
        const int32_t lastOpening = openingPushes_ ? limits_.opening.back().tick : 0;
        const int32_t root = addNode(Node{-1, -1, 0, openingTick_ + first.ticks, lastOpening, openingPushes_, 0});
        know(restKeyOfBoard(), -1, root, Known{openingPushes_, root});
        enqueue(root, openingPushes_ + pushesStillNeeded());
        for (bucket_ = 0; bucket_ < open_.size() && !stop_; ++bucket_) {
            for (int32_t head = takeFrom(bucket_); head >= 0 && !stop_; head = takeFrom(bucket_)) {
                const Node node = nodes_[head];
                // Met again by fewer pushes after this one was queued: that one counts.
                if (known_[boardOf_[head]].pushes < node.pushes) {
                    madeEarlier_.erase(head);
                    continue;
                }
                expandAtRest(head, node, static_cast<int32_t>(bucket_) - node.pushes - 1);
            }
        }
        if (!stop_) result_.why = "no solution";
    }

    // Queues a node by pushes made plus the bound; never behind the bucket
    // being worked through. Within a bucket any order finds the fewest
    // pushes, and the boards with the fewest blocks left go first: the last
    // bucket, often the largest, then tends to meet a cleared board early.
    void enqueue(int32_t id, int32_t f) {
        const size_t at = std::max(static_cast<size_t>(f), bucket_);
        if (at >= open_.size()) open_.resize(at + 1);
        int32_t left = 0;
        for (int32_t i = 0; i < codec_.count(); ++i)
            left += game.blocks[i].alive && game.blocks[i].motion == MOTION_NORMAL;
        open_[at][static_cast<size_t>(left)].push_back(id);
    }

    // The next node of a bucket, or -1 when it is empty.
    int32_t takeFrom(size_t bucket) {
        for (std::vector<int32_t>& byLeft : open_[bucket]) {
            if (byLeft.empty()) continue;
            const int32_t id = byLeft.back();
            byLeft.pop_back();
            return id;
        }
        return -1;
    }

    // A push by the cell its block stands in, the same for every slot
    // numbering of one board.
    int32_t pushId(int32_t from, int32_t slot, int32_t button) const {
        const uint8_t* p = snap(from) + slot * SLOT_BYTES;
        const int32_t x = p[0] | (p[1] << 8);
        const int32_t y = p[2] | (p[3] << 8);
        return ((y / CELL_PIXELS) * BOARD_SIZE + x / CELL_PIXELS) * 2 + (button == BUTTON_RIGHT);
    }

    // Pushes that commute need trying in one order only. Each push made from
    // a node is left asleep in the boards after the later pushes whose areas
    // it does not touch: the board after both is also reached, by as many
    // pushes, through the earlier one. A push asleep in a node stays asleep
    // after a push whose area it does not touch. A board met again by as
    // many pushes keeps asleep only what is asleep both ways in; a push it
    // loses that way after it was expanded is tried then, by a copy of the
    // node that tries only those.
    struct Sleeper {
        int32_t push;  // pushId
        Area area;     // where it reaches from the board it sleeps in
    };
    struct SleepList {
        int32_t first = 0;  // into sleepList_
        int32_t count = 0;
    };

    SleepList storeSleepList(const int32_t* sleepers, int32_t count) {
        SleepList list{static_cast<int32_t>(sleepList_.size()), count};
        sleepList_.insert(sleepList_.end(), sleepers, sleepers + count);
        return list;
    }

    void reviseSleep(int32_t id, const int32_t* arriving, int32_t arrivingCount) {
        if (id < 0) return;  // a hopeless board: nothing after it matters
        Asleep both;
        for (int32_t k = 0; k < arrivingCount; ++k) both.set(static_cast<size_t>(sleepers_[arriving[k]].push));
        int32_t kept[MAX_BLOCKS * 2];
        int32_t keptCount = 0;
        Asleep missed;
        const SleepList old = sleeps_[id];
        for (int32_t k = 0; k < old.count; ++k) {
            const int32_t sleeper = sleepList_[old.first + k];
            if (both.test(static_cast<size_t>(sleepers_[sleeper].push)))
                kept[keptCount++] = sleeper;
            else
                missed.set(static_cast<size_t>(sleepers_[sleeper].push));
        }
        if (missed.none()) return;
        sleeps_[id] = storeSleepList(kept, keptCount);
        if (!expanded_[id]) return;
        const Node node = nodes_[id];
        const int32_t copy = addNode(node, id);
        sleeps_[copy] = sleeps_[id];
        onlyThese_[copy] = missed;
        codec_.load(snap(id));
        enqueue(copy, node.pushes + pushesStillNeeded());
    }

    static constexpr int32_t NO_PUSH = 1 << 20;

    // Plays the pushes of a node, but guided only those that the bound, read
    // on the board each push leaves before anything falls (Kinds: the pushed
    // block only moves down from where it lands), says could finish within
    // `upTo` more pushes after it. The node is queued again for the rest, by
    // the least such bound among them; pushes tried in an earlier turn are
    // not tried again.
    void expandAtRest(int32_t head, const Node& node, int32_t upTo) {
        // A person needs the board at rest before the click, with a margin,
        // and time since the last click.
        const int32_t at = std::max(node.lastClick + CLICK_SPACING, node.tick + 1 + CLICK_MARGIN);
        if (at > limits_.tickLimit) return;
        const bool inTurns = limits_.guided && limits_.lookAhead;
        const int32_t done = triedUpTo_[head];
        if (inTurns && upTo <= done) return;
        expanded_[head] = 1;
        const SleepList sleeping = sleeps_[head];
        Asleep asleep;
        for (int32_t k = 0; k < sleeping.count; ++k)
            asleep.set(static_cast<size_t>(sleepers_[sleepList_[sleeping.first + k]].push));
        const auto only = onlyThese_.find(head);
        if (only != onlyThese_.end()) asleep |= ~only->second;
        int32_t made[MAX_BLOCKS * 2];  // sleepers, one for each push made here, in any turn
        int32_t madeCount = 0;
        const auto earlier = madeEarlier_.find(head);
        if (earlier != madeEarlier_.end()) {
            madeCount = static_cast<int32_t>(std::min(earlier->second.size(), std::size(made)));
            std::copy(earlier->second.begin(), earlier->second.begin() + madeCount, made);
        }
        codec_.load(snap(head));
        const RestBoard rest;
        const Kinds kinds(reach_);
        int32_t later = NO_PUSH;  // the least bound of the pushes left for a later turn
        for (int32_t slot = 0; slot < codec_.count() && !stop_; ++slot) {
            for (int32_t button : {BUTTON_LEFT, BUTTON_RIGHT}) {
                if (overBudget()) {
                    stop_ = true;
                    break;
                }
                const bool refused = rest.surelyRefused(slot, button);
                if (limits_.skipRefused && refused) continue;
                const int32_t id = pushId(head, slot, button);
                if (asleep.test(static_cast<size_t>(id))) continue;
                if (inTurns) {
                    // A push surely refused, when played at all, is played in the first turn.
                    int32_t needs = refused ? 0 : kinds.totalWithMoved(slot, button == BUTTON_LEFT ? -1 : 1);
                    // Each look further on may raise the need by one. Looks are taken
                    // in order, and only while the need found so far is within this
                    // turn: one that does not raise it settles it, and past the turn
                    // a need already known to be more decides as well.
                    const int32_t step = button == BUTTON_LEFT ? -1 : 1;
                    const auto frees = [&](int32_t second, int32_t column) {
                        return !rest.leavesOneStill(slot, button, reach_, second, column);
                    };
                    const auto movesWith = [&](int32_t second, int32_t column) {
                        return rest.mayMove(slot, button, reach_, second, column);
                    };
                    for (bool raised = !refused; raised && needs <= upTo && needs <= 2;) {
                        if (needs == 0)
                            raised = rest.leavesOneStill(slot, button, reach_);
                        else if (needs == 1)
                            raised = !kinds.secondPushMayFinish(slot, step, frees);
                        else
                            raised = !kinds.twoMoreMayFinish(
                                slot, step, rest.ordinaryBlocks() & ~rest.mayMove(slot, button, reach_), movesWith);
                        needs += raised;
                    }
                    if (needs <= done) continue;
                    if (needs > upTo) {
                        later = std::min(later, needs);
                        continue;
                    }
                }
                codec_.load(snap(head));
                if (!movable(slot)) break;
                const int32_t oldX = game.blocks[slot].x;
                const int32_t oldY = game.blocks[slot].y;
                const Click click = describe(head, slot, button, at);
                clickTick(slot, button);
                if (cleared()) {
                    if (acceptGoal(head, &click, node.pushes + 1, at)) return;
                    continue;
                }
                if (game.blocks[slot].x == oldX) continue;  // refused: a wasted click
                Area area;
                area.cover(oldX, oldY, oldY);
                area.cover(game.blocks[slot].x, game.blocks[slot].y, game.blocks[slot].y);
                const Settled s = settle(codec_, limits_.runFallsAhead, &result_.ticksRunAhead, &area);
                ++result_.pushesPlayed;
                if (s.cleared) {
                    if (acceptGoal(head, &click, node.pushes + 1, at + s.ticks)) return;
                    continue;
                }
                if (s.ticks < 0) continue;
                int32_t after[MAX_BLOCKS * 2];
                int32_t afterCount = 0;
                if (limits_.commute) {
                    const Area near = area.grown();  // what touches the area
                    // Each push of a board sleeps once at most: no list outgrows the blocks' pushes.
                    for (int32_t k = 0; k < sleeping.count && afterCount < MAX_BLOCKS * 2; ++k) {
                        const int32_t sleeper = sleepList_[sleeping.first + k];
                        if (!sleepers_[sleeper].area.overlaps(near)) after[afterCount++] = sleeper;
                    }
                    for (int32_t m = 0; m < madeCount && afterCount < MAX_BLOCKS * 2; ++m)
                        if (!sleepers_[made[m]].area.overlaps(near)) after[afterCount++] = made[m];
                    made[madeCount++] = static_cast<int32_t>(sleepers_.size());
                    sleepers_.push_back(Sleeper{id, area});
                }
                const std::string key = restKeyOfBoard();
                const auto found = fewest_.find(key);
                const int32_t board = found == fewest_.end() ? -1 : found->second;
                if (board >= 0 && known_[board].pushes < node.pushes + 1) continue;
                if (board >= 0 && known_[board].pushes == node.pushes + 1) {
                    reviseSleep(known_[board].node, after, afterCount);
                    continue;
                }
                if (prune()) {
                    know(key, board, -1, Known{node.pushes + 1, -1});
                    continue;
                }
                const int32_t child = addNode(Node{head, static_cast<int16_t>(slot), static_cast<int8_t>(button),
                                                   at + s.ticks, at, node.pushes + 1, 0});
                sleeps_[child] = storeSleepList(after, afterCount);
                know(key, board, child, Known{node.pushes + 1, child});
                enqueue(child, node.pushes + 1 + pushesStillNeeded());
            }
        }
        triedUpTo_[head] = std::max(done, upTo);
        if (later < NO_PUSH && !stop_) {
            if (limits_.commute) madeEarlier_[head].assign(made, made + madeCount);
            ++result_.putOff;
            codec_.load(snap(head));
            enqueue(head, node.pushes + 1 + later);
        } else if (earlier != madeEarlier_.end()) {
            madeEarlier_.erase(earlier);
        }
    }

    // Whether the board only waits on its lifts: everything else at rest, no
    // countdown, and nothing riding a lift or standing above one. Then the
    // lifts run their cycle untouched, any point of it can be waited for,
    // and states that differ only in where the lifts are count as one.
    bool liftsIdle() {
        if (elimDelay != 0 || game.settleTicks != 0) return false;
        for (int32_t i = 0; i < codec_.count(); ++i) {
            const Block& b = game.blocks[i];
            if (!b.alive) continue;
            if (b.marked) return false;
            if (b.motion != MOTION_LIFT) continue;
            for (int32_t j = 0; j < codec_.count(); ++j) {
                const Block& o = game.blocks[j];
                if (o.alive && o.motion != MOTION_LIFT && o.x == b.x && o.y < b.y) return false;
            }
        }
        // At rest: one more tick moves nothing but the lifts.
        probe_.resize(codec_.stride());
        codec_.save(probe_.data());
        idleTick();
        bool still = !cleared() && elimDelay == 0;
        for (int32_t i = 0; i < codec_.count() && still; ++i) {
            const Block& b = game.blocks[i];
            if (b.motion == MOTION_LIFT) continue;
            const uint8_t* p = probe_.data() + i * SLOT_BYTES;
            still = b.alive == (p[5] & 1) && b.y == BOARD_TOP + (p[2] | (p[3] << 8)) &&
                    b.x == BOARD_LEFT + (p[0] | (p[1] << 8));
        }
        codec_.load(probe_.data());
        return still;
    }

    // The key of the board in a timed search; `idleLifts` tells which kind.
    std::string timedKey(bool& idleLifts) {
        idleLifts = liftsIdle();
        scratch_.resize(codec_.stride());
        codec_.save(scratch_.data());
        return idleLifts ? "I" + codec_.restKey(scratch_.data(), true) : "T" + codec_.fullKey(scratch_.data());
    }

    // Runs `count` idle ticks; answers the tick the level cleared on, or 0.
    int32_t idle(int32_t from, int32_t count) {
        for (int32_t t = 1; t <= count; ++t) {
            idleTick();
            if (cleared()) return from + t;
        }
        return 0;
    }

    // The waits from a board whose lifts run idle, one lift cycle long: the
    // points at which a click that reaches a lift can be made.
    std::vector<int32_t> cycleOf(int32_t head) {
        std::vector<int32_t> chain;
        int32_t from = head;
        for (int32_t k = 1; k <= CYCLE_CAP && !overBudget(); ++k) {
            const Node node = nodes_[from];
            if (node.tick + WAIT_STEP + CLICK_SPACING > limits_.tickLimit) break;
            codec_.load(snap(from));
            if (idle(node.tick, WAIT_STEP)) break;  // lifts alone never clear a level
            scratch_.resize(codec_.stride());
            codec_.save(scratch_.data());
            if (std::memcmp(scratch_.data(), snap(head), codec_.stride() - 1) == 0) break;
            from = addNode(Node{from, -1, 0, node.tick + WAIT_STEP, node.lastClick, node.pushes, 1});
            chain.push_back(from);
        }
        return chain;
    }

    // Whether the push from node `id` also moves the block when made
    // CLICK_MARGIN ticks later, and as many earlier when the board of those
    // ticks is known (the node was reached by waiting).
    bool pushHolds(int32_t id, int32_t slot, int32_t button) {
        const Node node = nodes_[id];
        codec_.load(snap(id));
        if (idle(node.tick, CLICK_MARGIN) || !movable(slot)) return false;
        int32_t oldX = game.blocks[slot].x;
        clickTick(slot, button);
        if (!cleared() && game.blocks[slot].x == oldX) return false;
        if (node.parent < 0 || node.slot >= 0 || nodes_[node.parent].tick != node.tick - WAIT_STEP) return true;
        codec_.load(snap(node.parent));
        if (idle(node.tick - WAIT_STEP, WAIT_STEP - CLICK_MARGIN) || !movable(slot)) return false;
        oldX = game.blocks[slot].x;
        clickTick(slot, button);
        return cleared() || game.blocks[slot].x != oldX;
    }

    // Whether a push of a block from column x either way starts or ends
    // beside or in a lift's column.
    bool nearLift(int32_t x, int32_t button) const {
        const int32_t to = x + (button == BUTTON_LEFT ? -CELL_PIXELS : CELL_PIXELS);
        for (int32_t i = 0; i < codec_.count(); ++i) {
            const Block& b = game.blocks[i];
            if (!b.alive || b.motion != MOTION_LIFT) continue;
            if (std::abs(b.x - x) <= CELL_PIXELS || std::abs(b.x - to) <= CELL_PIXELS) return true;
        }
        return false;
    }

    // One click from node `id` and the ticks up to the next click. Answers
    // false when the search is over (solved or out of budget).
    bool clickFrom(int32_t id, int32_t slot, int32_t button, std::vector<int32_t>& next, bool* idleAfter) {
        const Node node = nodes_[id];
        const int32_t at = node.tick + 1;
        codec_.load(snap(id));
        if (!movable(slot)) return true;
        // Clicks wait for falls and blinks to end; only the lifts keep moving.
        if (elimDelay != 0 || game.settleTicks != 0) return true;
        // While something rides a lift, only the blocks by the lifts are
        // pushed: a push anywhere else can as well be made before or after.
        if (!node.idleLifts && !nearLift(game.blocks[slot].x, button)) return true;
        const int32_t oldX = game.blocks[slot].x;
        const Click click = describe(id, slot, button, at);
        clickTick(slot, button);
        int32_t done = cleared() ? at : 0;
        if (!done && game.blocks[slot].x == oldX) {
            // Refused here; beside a lift the same push may go through at
            // another point of the lift's cycle, when the lift is out of the way.
            if (idleAfter) *idleAfter = !nearLift(oldX, button);
            return true;
        }
        // A push into or out of a lift's column meets the lift wherever it is.
        const int32_t newX = game.blocks[slot].x;
        bool touchesLift = false;
        for (int32_t i = 0; i < codec_.count(); ++i) {
            const Block& b = game.blocks[i];
            if (b.alive && b.motion == MOTION_LIFT && (b.x == oldX || b.x == newX)) touchesLift = true;
        }
        // A push that meets a lift must also go through a few ticks earlier
        // and later, or a person could not make it.
        if ((touchesLift || !node.idleLifts) && !pushHolds(id, slot, button)) return true;
        if (!done) {
            codec_.load(snap(id));
            clickTick(slot, button);
            done = cleared() ? at : idle(at, CLICK_SPACING - 1);
        }
        if (done) return !acceptGoal(id, &click, node.pushes + 1, done);
        bool idleLifts = false;
        const std::string key = timedKey(idleLifts);
        if (idleAfter) *idleAfter = idleLifts && !touchesLift;
        if (!visit(key) || prune()) return true;
        next.push_back(addNode(Node{id, static_cast<int16_t>(slot), static_cast<int8_t>(button),
                                    node.tick + CLICK_SPACING, at, node.pushes + 1, idleLifts}));
        return true;
    }

    // Boards with lifts: layer by layer in pushes; within a layer every wait
    // on the tick grid is followed, since waiting costs no push.
    void runTimed() {
        bool idleLifts = false;
        const std::string rootKey = timedKey(idleLifts);
        if (prune()) {
            result_.why = "no solution";
            return;
        }
        const int32_t lastOpening = openingPushes_ ? limits_.opening.back().tick : 0;
        addNode(Node{-1, -1, 0, openingTick_, lastOpening, openingPushes_, idleLifts});
        visit(rootKey);
        std::vector<int32_t> layer{0};
        for (int32_t pushes = openingPushes_; !layer.empty() && !stop_; ++pushes) {
            for (size_t i = 0; i < layer.size() && !stop_; ++i) {
                const int32_t id = layer[i];
                const Node node = nodes_[id];
                // A board with idle lifts waits through its cycle when it clicks.
                if (node.idleLifts || node.tick + WAIT_STEP > limits_.tickLimit) continue;
                if (overBudget()) {
                    stop_ = true;
                    break;
                }
                codec_.load(snap(id));
                if (const int32_t at = idle(node.tick, WAIT_STEP)) {
                    if (pushes == 0 && openingPushes_ == 0) {
                        result_.clearedWithoutPush = true;
                        result_.why = "cleared without a push";
                        stop_ = true;
                    } else if (acceptGoal(id, nullptr, pushes, at)) {
                        return;
                    }
                    continue;
                }
                bool idleAfter = false;
                if (!visit(timedKey(idleAfter)) || prune()) continue;
                layer.push_back(
                    addNode(Node{id, -1, 0, node.tick + WAIT_STEP, node.lastClick, pushes, idleAfter}));
            }
            std::vector<int32_t> next;
            for (size_t i = 0; i < layer.size() && !stop_; ++i) {
                const int32_t id = layer[i];
                const Node node = nodes_[id];
                int32_t from = id;
                // The first click a person may make: wait out the spacing.
                while (nodes_[from].tick + 1 < nodes_[from].lastClick + CLICK_SPACING && !stop_) {
                    const Node n = nodes_[from];
                    codec_.load(snap(from));
                    if (idle(n.tick, WAIT_STEP)) break;
                    from = addNode(Node{from, -1, 0, n.tick + WAIT_STEP, n.lastClick, n.pushes, n.idleLifts});
                }
                if (nodes_[from].tick + 1 < nodes_[from].lastClick + CLICK_SPACING) continue;
                if (nodes_[from].tick + CLICK_SPACING > limits_.tickLimit) continue;
                std::vector<int32_t> cycle;
                bool cycleBuilt = false;
                for (int32_t slot = 0; slot < codec_.count() && !stop_; ++slot) {
                    for (int32_t button : {BUTTON_LEFT, BUTTON_RIGHT}) {
                        if (overBudget()) {
                            stop_ = true;
                            break;
                        }
                        bool idleAfter = true;
                        if (!clickFrom(from, slot, button, next, &idleAfter)) {
                            stop_ = true;
                            break;
                        }
                        // A click whose outcome leaves the lifts idle is the same
                        // at any point of their cycle; one that reaches a lift is
                        // tried at every point.
                        if (!node.idleLifts || idleAfter) continue;
                        if (!cycleBuilt) {
                            cycle = cycleOf(from);
                            cycleBuilt = true;
                        }
                        for (int32_t c : cycle) {
                            if (stop_ || overBudget() || !clickFrom(c, slot, button, next, nullptr)) {
                                stop_ = true;
                                break;
                            }
                        }
                    }
                }
            }
            layer.swap(next);
        }
        if (!stop_) result_.why = "no solution";
    }

    int32_t level_;
    Limits limits_;
    Result result_;
    Codec codec_;
    std::vector<Node> nodes_;
    std::vector<uint8_t> snaps_;
    std::unordered_set<std::string> visited_;
    // Rest boards, the fewest pushes known to reach them and the node that
    // did (-1 for a hopeless board).
    struct Known {
        int32_t pushes;
        int32_t node;
    };
    std::unordered_map<std::string, int32_t> fewest_;  // rest board to its place in known_
    std::vector<Known> known_;
    std::vector<int32_t> boardOf_;  // by node: its board's place in known_

    // Records what is known of a rest board (`board`, its place in known_,
    // or -1 for one met for the first time); `node`, if any, stands on it.
    void know(const std::string& key, int32_t board, int32_t node, const Known& what) {
        if (board < 0) {
            board = static_cast<int32_t>(known_.size());
            known_.push_back(what);
            fewest_.emplace(key, board);
        } else {
            known_[board] = what;
        }
        if (node >= 0) boardOf_[node] = board;
    }
    std::vector<SleepList> sleeps_;  // by node: pushes not to try from it
    std::vector<Sleeper> sleepers_;
    std::vector<int32_t> sleepList_;
    std::unordered_map<int32_t, Asleep> onlyThese_;  // copies made by reviseSleep: the pushes they try
    std::vector<uint8_t> expanded_;  // by node
    std::unordered_map<int32_t, std::vector<int32_t>> madeEarlier_;  // nodes with pushes left: the sleepers made
    std::vector<int16_t> triedUpTo_;  // by node: the bound up to which its pushes were tried
    // Node ids by pushes made plus the bound, then by ordinary blocks left.
    std::vector<std::array<std::vector<int32_t>, MAX_BLOCKS + 1>> open_;
    size_t bucket_ = 0;
    bool strandsABlock_ = false;  // without lifts: see strandedBlock
    Reach reach_;
    std::vector<uint8_t> scratch_;
    std::vector<uint8_t> probe_;
    double started_ = 0.0;
    int32_t openingTick_ = 0;
    int32_t openingPushes_ = 0;
    uint64_t budgetCalls_ = 0;
    bool stop_ = false;
};

// [SECTION] Replays
constexpr int32_t WEAK_NONE = -1;
constexpr int32_t WEAK_ALL = -2;

// The first click found that fails when moved, and by how much.
struct Weakness {
    int32_t click = WEAK_NONE;  // its index, or WEAK_ALL for the whole sequence moved
    int32_t shift = 0;
};


struct Checkpoint {
    int32_t tick;
    std::vector<uint8_t> snap;
};

// Plays from the state after tick `from` with the given click ticks; stops
// early when the board at a checkpoint equals the one the nominal run had
// there (the rest of the run is then the nominal one, shifted by `shift`).
// Answers the clear tick, a positive "converged" tick, or -1.
int32_t playFrom(const Codec& codec, int32_t from, const std::vector<Click>& clicks, const std::vector<int32_t>& at,
                 size_t firstClick, const std::vector<Checkpoint>* compare, int32_t shift, int32_t tickLimit) {
    size_t next = firstClick;
    size_t check = firstClick + 1;
    std::vector<uint8_t> tmp(codec.stride());
    for (int32_t tick = from + 1; tick <= tickLimit; ++tick) {
        if (next < clicks.size() && at[next] == tick) {
            if (!game.blocks[clicks[next].slot].alive) return -1;
            clickTick(clicks[next].slot, clicks[next].button);
            ++next;
        } else {
            idleTick();
        }
        if (cleared()) return tick;
        if (compare && check < compare->size() && tick == (*compare)[check].tick + shift) {
            codec.save(tmp.data());
            if (std::memcmp(tmp.data(), (*compare)[check].snap.data(), codec.stride() - 1) == 0) return tick;
            ++check;
        }
    }
    return -1;
}

}  // namespace

void startLevel(int32_t n) {
    // A clean program start, keeping the level set that was read.
    for (Block& b : game.blocks) b = Block{};
    elimDelay = 0;
    comboFlag = 0;
    clockSubTicks = 100;
    levelIndex = n;
    game.settleTicks = 0;
    game.clock = 99;
    input = InputState{0, 0, BUTTON_NONE};
    game.installLevel(n);
}

namespace {

// [SECTION] Rooms apart
constexpr int32_t SCRATCH_BOARD = LEVEL_COUNT - 1;  // the board a level file leaves empty

// The blocks (by slot) of level n, in groups that can never touch, stand on
// or get in the way of one another: rooms apart, or parts of one room no
// block can cross. Only without lifts, and only groups with ordinary blocks.
std::vector<std::vector<int32_t>> roomsApart(int32_t n) {
    startLevel(n);
    if (hasLift()) return {};
    Reach reach;
    reach.build();
    std::vector<int32_t> movable, group(MAX_BLOCKS, -1);
    for (int32_t i = 0; i < MAX_BLOCKS; ++i) {
        const Block& b = game.blocks[i];
        if (b.alive && (b.motion == MOTION_NORMAL || b.motion == MOTION_ROCK)) movable.push_back(i), group[i] = i;
    }
    auto root = [&](int32_t i) {
        while (group[i] != i) i = group[i] = group[group[i]];
        return i;
    };
    for (size_t a = 0; a < movable.size(); ++a)
        for (size_t b = a + 1; b < movable.size(); ++b) {
            const int32_t ca = Reach::cellOf(game.blocks[movable[a]]), cb = Reach::cellOf(game.blocks[movable[b]]);
            if (reach.canMeet(ca, cb) || reach.canMeet(cb, ca)) group[root(movable[a])] = root(movable[b]);
        }
    std::vector<std::vector<int32_t>> rooms;
    for (int32_t i : movable) {
        if (game.blocks[i].motion != MOTION_NORMAL || root(i) != i) continue;
        std::vector<int32_t> room;
        for (int32_t j : movable)
            if (root(j) == i) room.push_back(j);
        rooms.push_back(room);
    }
    return rooms;
}

// A level whose blocks fall into rooms apart is as many puzzles as rooms:
// its fewest pushes are the sum of theirs. Each room is searched alone (the
// other rooms' blocks left out) and their clicks are played one room after
// the other. Answers false when the level is one room, or when the rooms'
// clicks together do not clear it in time; the whole level is then searched.
bool solveByRooms(int32_t n, const Limits& limits, Result& out) {
    const std::vector<std::vector<int32_t>> rooms = roomsApart(n);
    if (rooms.size() < 2) return false;
    const double started = cpuSeconds();
    int32_t scratch[BOARD_SIZE][BOARD_SIZE];
    std::memcpy(scratch, game.levels[SCRATCH_BOARD], sizeof scratch);
    // Each block's cell at the start, and its slot in the whole level.
    startLevel(n);
    int32_t slotAt[BOARD_SIZE * BOARD_SIZE];
    std::fill(std::begin(slotAt), std::end(slotAt), -1);
    for (int32_t i = 0; i < MAX_BLOCKS; ++i)
        if (game.blocks[i].alive) slotAt[Reach::cellOf(game.blocks[i])] = i;

    out = Result{};
    std::vector<Click> clicks;
    int32_t offset = 0;
    for (const std::vector<int32_t>& room : rooms) {
        std::memcpy(game.levels[SCRATCH_BOARD], game.levels[n], sizeof scratch);
        for (int32_t cell = 0; cell < BOARD_SIZE * BOARD_SIZE; ++cell) {
            const int32_t slot = slotAt[cell];
            if (slot < 0) continue;
            const Block& b = game.blocks[slot];
            const bool mine = std::find(room.begin(), room.end(), slot) != room.end();
            if (!mine && b.motion != MOTION_ICKY) game.levels[SCRATCH_BOARD][cell / BOARD_SIZE][cell % BOARD_SIZE] = CELL_EMPTY;
        }
        Limits part = limits;
        part.maxSeconds = std::max(0.0, limits.maxSeconds - (cpuSeconds() - started));
        part.maxStates = std::max<int64_t>(1, limits.maxStates - out.states);
        // The room's slots: its blocks and the tar, in reading order as in the whole level.
        std::vector<int32_t> whole;
        for (int32_t cell = 0; cell < BOARD_SIZE * BOARD_SIZE; ++cell) {
            const int32_t code = game.levels[SCRATCH_BOARD][cell / BOARD_SIZE][cell % BOARD_SIZE];
            if (code > CELL_EMPTY && code <= KIND_POINTER) whole.push_back(slotAt[cell]);
        }
        const Result r = Search(SCRATCH_BOARD, part).run();
        out.states += r.states;
        out.hopeless += r.hopeless;
        out.ticksRunAhead += r.ticksRunAhead;
        out.pushesPlayed += r.pushesPlayed;
        if (!r.solved && !r.clearedWithoutPush) {
            // A room that cannot be cleared leaves the level uncleared.
            std::memcpy(game.levels[SCRATCH_BOARD], scratch, sizeof scratch);
            out.why = r.why;
            out.seconds = cpuSeconds() - started;
            return true;
        }
        for (Click c : r.clicks) {
            c.slot = whole[c.slot];
            c.tick += offset;
            clicks.push_back(c);
        }
        out.pushes += r.pushes;
        offset += r.solved ? r.ticks : 0;
    }
    std::memcpy(game.levels[SCRATCH_BOARD], scratch, sizeof scratch);
    int32_t clearedAt = 0;
    if (clicks.empty() || !steady(n, clicks, limits.tickLimit, &clearedAt)) return false;
    out.solved = true;
    out.ticks = clearedAt;
    out.clicks = clicks;
    out.seconds = cpuSeconds() - started;
    return true;
}

}  // namespace

Result solve(int32_t n, const Limits& limits) {
    Result byRooms;
    if (limits.byRooms && limits.opening.empty() && !limits.forceTimed && n != SCRATCH_BOARD &&
        solveByRooms(n, limits, byRooms))
        return byRooms;
    return Search(n, limits).run();
}

bool hopelessBoard() {
    int32_t count[KIND_POINTER + 1] = {};
    for (const Block& b : game.blocks)
        if (b.alive && b.motion == MOTION_NORMAL && b.kind >= 0 && b.kind <= KIND_POINTER) ++count[b.kind];
    for (int32_t kind = 0; kind <= KIND_POINTER; ++kind)
        if (count[kind] == 1) return true;
    return false;
}

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

int32_t replay(int32_t n, const std::vector<Click>& clicks, int32_t tickLimit) {
    startLevel(n);
    Codec codec;
    codec.init();
    std::vector<int32_t> at;
    for (const Click& c : clicks) at.push_back(c.tick);
    return playFrom(codec, 0, clicks, at, 0, nullptr, 0, tickLimit);
}

std::vector<ReplayClick> pointerClicks(int32_t n, const std::vector<Click>& clicks) {
    startLevel(n);
    std::vector<ReplayClick> out;
    size_t next = 0;
    for (int32_t tick = 1; next < clicks.size() && !cleared(); ++tick) {
        if (clicks[next].tick != tick) {
            idleTick();
            continue;
        }
        const Click& c = clicks[next++];
        const Block& b = game.blocks[c.slot];
        out.push_back(ReplayClick{tick, c.button, b.x + 16, b.y + 16});
        clickTick(c.slot, c.button);
    }
    return out;
}

namespace {

Weakness weakest(int32_t n, const std::vector<Click>& clicks, int32_t tickLimit) {
    if (clicks.empty()) return {};
    // The nominal run, with the board six ticks before each click kept.
    startLevel(n);
    Codec codec;
    codec.init();
    std::vector<Checkpoint> checkpoints;
    std::vector<int32_t> at;
    for (const Click& c : clicks) at.push_back(c.tick);
    {
        int32_t tick = 0;
        for (size_t i = 0; i < clicks.size(); ++i) {
            const int32_t stop = at[i] - CLICK_MARGIN - 2;
            if (stop < tick) return {static_cast<int32_t>(i), -CLICK_MARGIN};  // too close to shift apart
            for (; tick < stop; ++tick) {
                if (i > 0 && tick + 1 == at[i - 1]) {
                    clickTick(clicks[i - 1].slot, clicks[i - 1].button);
                } else {
                    idleTick();
                }
                if (cleared()) return {static_cast<int32_t>(i), 0};
            }
            Checkpoint cp{stop, std::vector<uint8_t>(codec.stride())};
            codec.save(cp.snap.data());
            checkpoints.push_back(cp);
        }
    }
    const int32_t slack = tickLimit + 2 * CLICK_MARGIN;

    // Each click alone, early and late.
    for (size_t i = 0; i < clicks.size(); ++i) {
        for (int32_t shift = -CLICK_MARGIN; shift <= CLICK_MARGIN; ++shift) {
            if (shift == 0) continue;
            std::vector<int32_t> moved = at;
            moved[i] += shift;
            codec.load(checkpoints[i].snap.data());
            if (playFrom(codec, checkpoints[i].tick, clicks, moved, i, &checkpoints, 0, slack) < 0)
                return {static_cast<int32_t>(i), shift};
        }
    }
    // All of them together.
    for (int32_t shift = -CLICK_MARGIN; shift <= CLICK_MARGIN; ++shift) {
        if (shift == 0) continue;
        std::vector<int32_t> moved = at;
        for (int32_t& t : moved) t += shift;
        startLevel(n);
        if (playFrom(codec, 0, clicks, moved, 0, &checkpoints, shift, slack) < 0) return {WEAK_ALL, shift};
    }
    return {};
}

}  // namespace

bool robust(int32_t n, const std::vector<Click>& clicks, int32_t tickLimit) {
    return weakest(n, clicks, tickLimit).click == WEAK_NONE;
}

bool steady(int32_t n, std::vector<Click>& clicks, int32_t tickLimit, int32_t* clearedAt) {
    // A click on the edge of its window is moved into it, a few ticks at a
    // time; the clicks after it move along when they would come too soon.
    for (int32_t attempt = 0; attempt < 16; ++attempt) {
        const int32_t at = replay(n, clicks, tickLimit);
        if (at < 0) return false;
        const Weakness w = weakest(n, clicks, tickLimit);
        if (w.click == WEAK_NONE) {
            *clearedAt = at;
            return true;
        }
        const int32_t delta = w.shift < 0 ? CLICK_MARGIN : -CLICK_MARGIN;
        if (w.click == WEAK_ALL) return false;
        const size_t i = static_cast<size_t>(w.click);
        const bool tooSoonAfter = i > 0 && clicks[i].tick + delta - clicks[i - 1].tick < CLICK_SPACING;
        if (clicks[i].tick + delta < CLICK_SPACING || tooSoonAfter) return false;
        clicks[i].tick += delta;
        for (size_t k = i + 1; k < clicks.size(); ++k)
            if (clicks[k].tick - clicks[k - 1].tick < CLICK_SPACING) clicks[k].tick += CLICK_SPACING - (clicks[k].tick - clicks[k - 1].tick);
    }
    return false;
}

}  // namespace solver
