#include "solver/bound.h"

#include <algorithm>
#include <cstdlib>

#include "solver/snapshot.h"
#include "solver/solver.h"

namespace solver {

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

Kinds::Kinds(const GameContext& g, const Reach& reach) : reach_(reach) {
    for (int32_t i = 0; i < MAX_BLOCKS; ++i) {
        const Block& b = g.blocks[i];
        index_[i] = -1;
        kind_[i] = -1;
        movable_[i] = movable(g, i);
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

Kinds::AfterFirst Kinds::afterFirst(int32_t slot, int32_t step) const {
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

int32_t Kinds::needs(int32_t kind, const Moved* moved, int32_t movedCount, bool anyWillDo) const {
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
    // Which like blocks each could meet unpushed; with `anyWillDo`, a block
    // with none is enough.
    uint64_t partners[MAX_BLOCKS];
    for (int32_t i = 0; i < n; ++i) {
        if ((movedBits >> i) & 1) {
            partners[i] = 0;
            for (int32_t j = 0; j < n; ++j)
                if (j != i && meet(i, j)) partners[i] |= uint64_t{1} << j;
        } else {
            partners[i] = partners_[kind][i] & ~movedBits;
            for (int32_t m = 0; m < movedCount; ++m)
                if (meet(i, moved[m].index)) partners[i] |= uint64_t{1} << moved[m].index;
        }
        if (anyWillDo && partners[i] == 0) return 1;
    }
    int32_t columns[MAX_BLOCKS];
    for (int32_t i = 0; i < n; ++i) columns[i] = column(i);
    return fewestToGroupAndMeet(columns, partners, n);
}

// A kind's blocks vanish in groups of two or more, and the pushes made on a
// group's own blocks are at least the most that any of these asks of it:
// - the narrowing of its columns (fewestToGroup);
// - for each of its blocks, the pushes to bring the nearest other block of
//   the group within a column of it: a block touches some block of its
//   group when they vanish, and a push moves one of the two a column at
//   most, so their pushes together are at least the columns between them,
//   and at least one when they could not meet with neither pushed
//   (Reach::canMeetUnpushed);
// - the windows of three columns that cover its blocks with no block of the
//   group they could meet unpushed: such a block touches a block of its
//   group when they vanish, so one of the two was pushed, and as
//   windowsToCover argues a push of the group's blocks serves one window.
// The groups share no block, so their pushes add up. As in fewestToGroup,
// merging two groups whose column ranges overlap costs no more than both:
// the narrowing does not grow, a block's nearest partner in the merged
// group is no farther than in its own part, and a block alone in the
// merged group was alone in its own part. The best split thus runs along
// the sorted columns.
int32_t fewestToGroupAndMeet(const int32_t* columns, const uint64_t* partners, int32_t n) {
    constexpr int32_t NONE = 1 << 20;
    n = std::clamp(n, 0, static_cast<int32_t>(MAX_BLOCKS));
    int32_t order[MAX_BLOCKS];
    for (int32_t i = 0; i < n; ++i) {  // by column; a handful of blocks, so inserted one by one
        int32_t k = i;
        for (; k > 0 && columns[order[k - 1]] > columns[i]; --k) order[k] = order[k - 1];
        order[k] = i;
    }
    // By place in column order: the column, and the nearest partners before
    // and after it in that order (-1 and n for none).
    int32_t at[MAX_BLOCKS], before[MAX_BLOCKS], after[MAX_BLOCKS], place[MAX_BLOCKS];
    for (int32_t k = 0; k < n; ++k) at[k] = columns[order[k]], place[order[k]] = k;
    for (int32_t k = 0; k < n; ++k) {
        before[k] = -1;
        after[k] = n;
        for (uint64_t p = partners[order[k]]; p != 0; p &= p - 1) {
            const int32_t other = place[__builtin_ctzll(p)];
            if (other < k) before[k] = std::max(before[k], other);
            if (other > k) after[k] = std::min(after[k], other);
        }
    }
    int32_t best[MAX_BLOCKS + 1];  // best[i]: the first i in column order split into groups
    best[0] = 0;
    for (int32_t i = 1; i <= n; ++i) {
        best[i] = NONE;
        for (int32_t j = i - 2; j >= 0; --j) {  // the group of places j to i - 1
            int32_t need = std::max(0, at[i - 1] - at[j] - (i - 1 - j));
            if (best[j] + need >= best[i]) continue;  // the group's need is no less
            int32_t windows = 0;
            for (int32_t k = j, end = -NONE; k < i; ++k) {
                if (before[k] >= j || after[k] < i) continue;  // a partner in the group
                // The nearest other block of the group stands next to it in column order.
                const int32_t gap = std::min(k > j ? at[k] - at[k - 1] : NONE, k + 1 < i ? at[k + 1] - at[k] : NONE);
                need = std::max(need, std::max(1, gap - 1));
                if (at[k] <= end) continue;
                ++windows;
                end = at[k] + 2;
            }
            best[i] = std::min(best[i], best[j] + std::max(need, windows));
        }
    }
    return best[n] < NONE ? best[n] : 0;
}

// The blocks of a kind left alone (no like block they could meet unpushed)
// each need a push of their kind before they can vanish: only a push moves
// a block to another column, falling only ever takes a partner away (a block
// that falls lower can reach fewer rows beside it), and a pushed block, on
// whatever row it falls to, can only meet a like block in its own column or
// the two beside it. So a block pushed once ends up a column from where it
// stood and serves the alone blocks of a window of three columns: itself,
// and those beside where it went. A block pushed twice or more serves two
// such windows at most, one about where it stood and one about where it
// went, for two pushes or more. So a kind's pushes are at least the fewest
// windows of three columns that cover the columns of its alone blocks, which
// a walk along them from the left finds: each window starts at the first
// column not yet covered.
int32_t windowsToCover(int32_t* columns, int32_t n) {
    std::sort(columns, columns + n);
    int32_t windows = 0;
    for (int32_t i = 0; i < n;) {
        ++windows;
        const int32_t end = columns[i] + 2;
        while (i < n && columns[i] <= end) ++i;
    }
    return windows;
}

}  // namespace solver
