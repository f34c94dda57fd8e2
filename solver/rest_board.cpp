#include "solver/rest_board.h"

#include <algorithm>

#include "solver/snapshot.h"

namespace solver {

RestBoard::RestBoard(const GameContext& g) : terrain_(g.board) {
    for (auto& row : at_) row.fill(-1);
    for (int32_t i = 0; i < MAX_BLOCKS; ++i) {
        const Block& b = g.blocks[i];
        const bool grid = b.alive && onGrid(b);
        where_[i] = grid ? Cell{row(b), column(b)} : Cell{-1, -1};
        pushable_[i] = movable(g, i);
        kind_[i] = b.alive && b.motion == MOTION_NORMAL ? b.kind : -1;
        if (grid) at_[row(b)][column(b)] = i;
        const bool unfiled = b.alive && b.motion == MOTION_NORMAL && (b.kind < 0 || b.kind > KIND_POINTER);
        offGrid_ = offGrid_ || (b.alive && !grid) || unfiled;
    }
    for (int32_t i = 0; i < MAX_BLOCKS && !offGrid_; ++i) {
        above_[i] = where_[i].row > 0 ? at_[where_[i].row - 1][where_[i].column] : -1;
        if (kind_[i] < 0) continue;
        ordinary_ |= uint64_t{1} << i;
        byKind_[kind_[i]] |= uint64_t{1} << i;
        byColumn_[kind_[i]][where_[i].column] |= uint64_t{1} << i;
    }
}

uint64_t RestBoard::mayMove(int32_t slot, int32_t button, const Reach& reach, int32_t second,
                            int32_t secondColumn) const {
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
            meets = meetsAfterPush(slot, button, toCell, reach);
        }
        for (uint64_t fresh = meets & ~moves; fresh != 0; fresh &= fresh - 1) mayMove(__builtin_ctzll(fresh));
    }
    return moves;
}

void RestBoard::fileMeets(const Reach& reach) const {
    for (int32_t i = 0; i < MAX_BLOCKS; ++i) {
        meets_[i] = 0;
        if (kind_[i] < 0) continue;
        for (uint64_t like = byKind_[kind_[i]] & ~(uint64_t{1} << i); like != 0; like &= like - 1) {
            const int32_t j = __builtin_ctzll(like);
            if (reach.canMeetUnpushed(cellOf(i), cellOf(j))) meets_[i] |= uint64_t{1} << j;
        }
    }
    meetsReady_ = true;
}

uint64_t RestBoard::meetsAfterPush(int32_t slot, int32_t button, int32_t toCell, const Reach& reach) const {
    const int32_t way = button == BUTTON_LEFT ? 0 : 1;
    if ((pushedReady_[way] >> slot) & 1) return pushedMeets_[slot][way];
    uint64_t meets = 0;
    for (uint64_t like = byKind_[kind_[slot]] & ~(uint64_t{1} << slot); like != 0; like &= like - 1) {
        const int32_t j = __builtin_ctzll(like);
        if (reach.canMeetUnpushed(toCell, cellOf(j))) meets |= uint64_t{1} << j;
    }
    pushedReady_[way] |= uint64_t{1} << slot;
    pushedMeets_[slot][way] = meets;
    return meets;
}

}  // namespace solver
