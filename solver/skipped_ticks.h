// Playing a board to rest after a push: where the push and all it set off
// reached, and the stretches of ticks whose outcome is known in advance,
// played as one jump.
#pragma once

#include <algorithm>
#include <cstdint>

#include "game/game_context.h"

namespace solver {

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

// [SECTION] Coming to rest
struct Settled {
    int32_t ticks;  // ticks run; -1 when the board did not come to rest
    bool cleared;
};

// Runs ticks of the board on the table, whose first `count` slots are in
// use, until a tick changes nothing and no countdown is left; the cells it
// changed go into `area` when one is given. With `runFallsAhead`, falls and
// waits are played as jumps, their ticks added to `ranAhead`.
Settled settle(GameContext& g, int32_t count, bool runFallsAhead, int64_t* ranAhead, Area* area = nullptr);

}  // namespace solver
