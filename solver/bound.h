// The bound: a lower bound on the pushes a board without lifts still needs,
// read kind by kind, and the looks one and two pushes further on that a
// push's need is raised by.
#pragma once

#include <cstdint>

#include "game/game_context.h"
#include "solver/reach.h"

namespace solver {

// What the bound reads of a board: the cells each kind's blocks stand in. A
// kind needs, over its best split into groups, at least the pushes that
// narrow each group's columns (fewestToGroup), and a push for each window of
// three columns holding blocks with no other of their group they could meet
// with neither pushed again (Reach::canMeetUnpushed, which sees walls and tar
// but no block in the way): only a push of a block of that group can bring
// such a block one (fewestToGroupAndMeet). Each push moves a block of one
// kind, so the kinds' needs add up.
// The fewest windows of three neighbouring columns that cover these
// columns (sorted in place): the pushes a kind with blocks left alone in
// them still needs at the least.
int32_t windowsToCover(int32_t* columns, int32_t n);

// The fewest pushes a kind's blocks, in these columns and each able to meet
// unpushed the like blocks its bit mask names (a bit a place), need to go in
// groups: over every split into groups of two or more, the least sum of each
// group's own need, the more of its narrowing and of the windows that cover
// its blocks with no partner in the group (argued in bound.cpp).
int32_t fewestToGroupAndMeet(const int32_t* columns, const uint64_t* partners, int32_t n);

class Kinds {
public:
    // From the board on the table.
    Kinds(const GameContext& g, const Reach& reach);

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

    AfterFirst afterFirst(int32_t slot, int32_t step) const;

    // The need of a kind with some of its blocks moved. With `anyWillDo`,
    // any need above nought may be answered as one.
    int32_t needs(int32_t kind, const Moved* moved, int32_t movedCount, bool anyWillDo = false) const;

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

}  // namespace solver
