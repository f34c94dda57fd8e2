// A board at rest, as a grid: which block stands in each cell. A push at
// rest that the rules would refuse for certain (its block cannot be pushed,
// or the cell it goes to is not open floor or holds a block) is not worth
// playing, and a push after which some block can never move again is one
// that cannot lead anywhere.
#pragma once

#include <array>
#include <cstdint>

#include "game/game_context.h"
#include "solver/reach.h"

namespace solver {

static_assert(MAX_BLOCKS <= 64, "a bit a slot");

class RestBoard {
public:
    // From the board on the table, whose blocks are then free to change; its
    // terrain is read on, so the value must outlive this.
    explicit RestBoard(const GameContext& g);

    bool surelyRefused(int32_t slot, int32_t button) const {
        if (!pushable_[slot]) return true;
        const Cell at = where_[slot];
        if (at.row < 0) return false;  // off the grid: the rules decide
        const int32_t to = at.column + (button == BUTTON_LEFT ? -1 : 1);
        if (to < 0 || to >= BOARD_SIZE) return true;
        return terrain_[at.row][to] != CELL_EMPTY || at_[at.row][to] >= 0;
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
                     int32_t secondColumn = 0) const;

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
    void fileMeets(const Reach& reach) const;

    // Which like blocks the block in `slot` could meet, pushed into `toCell`
    // and neither pushed again; worked out once for each push.
    uint64_t meetsAfterPush(int32_t slot, int32_t button, int32_t toCell, const Reach& reach) const;

    const int32_t (&terrain_)[BOARD_SIZE][BOARD_SIZE];  // the level's walls and open floor
    Cell where_[MAX_BLOCKS];
    bool pushable_[MAX_BLOCKS];
    int32_t kind_[MAX_BLOCKS];   // ordinary blocks' kinds, -1 for any other slot
    int32_t above_[MAX_BLOCKS];  // the block standing on each, -1 for none
    uint64_t ordinary_ = 0;      // a bit a slot
    uint64_t byColumn_[KIND_POINTER + 1][BOARD_SIZE] = {};  // ordinary blocks by kind and column
    uint64_t byKind_[KIND_POINTER + 1] = {};
    mutable uint64_t pushedMeets_[MAX_BLOCKS][2];  // meetsAfterPush, by slot and way
    mutable uint64_t pushedReady_[2] = {};
    mutable uint64_t meets_[MAX_BLOCKS];
    mutable bool meetsReady_ = false;
    std::array<std::array<int32_t, BOARD_SIZE>, BOARD_SIZE> at_;  // slot by cell, -1 for none
    bool offGrid_ = false;  // some live block stands between cells, or is of a kind beyond the filed ones
};

}  // namespace solver
