// Where blocks can go. Without lifts a block only ever moves sideways into
// open cells and falls down through them: the cells it can ever stand in are
// those, from where it stands. Tar and walls never move. Worked out once per
// level for every cell a block can start from.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "game/game_context.h"

namespace solver {

class Reach {
public:
    static constexpr int32_t CELLS = BOARD_SIZE * BOARD_SIZE;

    // From the level on the table: its terrain and the tar among its blocks.
    void build(const GameContext& g);

    // Whether a block standing in cell a can ever come next to, onto or
    // under a block standing in cell b.
    bool canMeet(int32_t a, int32_t b) {
        uint8_t& known = meet_[static_cast<size_t>(a * CELLS + b)];
        if (known) return known == MEETS;
        bool meets = false;
        for (int32_t at = 0; at < CELLS && !meets; ++at) meets = near_[a][at] && reach_[b][at];
        known = meets ? MEETS : NEVER;
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
    static constexpr uint8_t MEETS = 1, NEVER = 2;   // canMeet's answers so far, 0 for not asked
    std::vector<uint8_t> meet_ = std::vector<uint8_t>(CELLS * CELLS);
    std::array<int32_t, CELLS> lowest_{};  // the lowest row a block falls to from a cell, -1 in a wall
};

}  // namespace solver
