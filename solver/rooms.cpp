// Rooms apart: a level whose blocks fall into groups that never meet is
// solved group by group, each on a level set of its own. And the entry that
// picks between that and the search of the whole level.
#include <algorithm>
#include <ctime>

#include "solver/reach.h"
#include "solver/search.h"
#include "solver/snapshot.h"
#include "solver/solver.h"

namespace solver {

namespace {

// The blocks (by slot) of level n, in groups that can never touch, stand on
// or get in the way of one another: rooms apart, or parts of one room no
// block can cross. Only without lifts, and only groups with ordinary blocks.
std::vector<std::vector<int32_t>> roomsApart(const GameContext& start) {
    if (hasLift(start)) return {};
    Reach reach;
    reach.build(start);
    std::vector<int32_t> movable, group(MAX_BLOCKS, -1);
    for (int32_t i = 0; i < MAX_BLOCKS; ++i) {
        const Block& b = start.blocks[i];
        if (b.alive && (b.motion == MOTION_NORMAL || b.motion == MOTION_ROCK)) movable.push_back(i), group[i] = i;
    }
    auto root = [&](int32_t i) {
        while (group[i] != i) i = group[i] = group[group[i]];
        return i;
    };
    for (size_t a = 0; a < movable.size(); ++a)
        for (size_t b = a + 1; b < movable.size(); ++b) {
            const int32_t ca = Reach::cellOf(start.blocks[movable[a]]), cb = Reach::cellOf(start.blocks[movable[b]]);
            if (reach.canMeet(ca, cb) || reach.canMeet(cb, ca)) group[root(movable[a])] = root(movable[b]);
        }
    std::vector<std::vector<int32_t>> rooms;
    for (int32_t i : movable) {
        if (start.blocks[i].motion != MOTION_NORMAL || root(i) != i) continue;
        std::vector<int32_t> room;
        for (int32_t j : movable)
            if (root(j) == i) room.push_back(j);
        rooms.push_back(room);
    }
    return rooms;
}

// A level whose blocks fall into rooms apart is as many puzzles as rooms:
// its fewest pushes are the sum of theirs. Each room is searched alone, on
// a copy of the level set whose board n has the other rooms' blocks turned
// to open floor, and their clicks are played one room after the other.
// Answers false when the level is one room, or when the rooms' clicks
// together do not clear it in time; the whole level is then searched.
bool solveByRooms(const GameContext& set, int32_t n, const Limits& limits, Result& out) {
    GameContext start = set;
    start.startFreshLevel(n);
    const std::vector<std::vector<int32_t>> rooms = roomsApart(start);
    if (rooms.size() < 2) return false;
    const double started = cpuSeconds();
    // Each block's cell at the start, and its slot in the whole level.
    int32_t slotAt[BOARD_SIZE * BOARD_SIZE];
    std::fill(std::begin(slotAt), std::end(slotAt), -1);
    for (int32_t i = 0; i < MAX_BLOCKS; ++i)
        if (start.blocks[i].alive) slotAt[Reach::cellOf(start.blocks[i])] = i;

    out = Result{};
    std::vector<Click> clicks;
    int32_t offset = 0;
    GameContext alone = set;
    for (const std::vector<int32_t>& room : rooms) {
        int32_t (&board)[BOARD_SIZE][BOARD_SIZE] = alone.levels[n];
        std::copy(&set.levels[n][0][0], &set.levels[n][0][0] + BOARD_SIZE * BOARD_SIZE, &board[0][0]);
        for (int32_t cell = 0; cell < BOARD_SIZE * BOARD_SIZE; ++cell) {
            const int32_t slot = slotAt[cell];
            if (slot < 0) continue;
            const bool mine = std::find(room.begin(), room.end(), slot) != room.end();
            if (!mine && start.blocks[slot].motion != MOTION_ICKY) board[cell / BOARD_SIZE][cell % BOARD_SIZE] = CELL_EMPTY;
        }
        Limits part = limits;
        part.maxSeconds = std::max(0.0, limits.maxSeconds - (cpuSeconds() - started));
        part.maxStates = std::max<int64_t>(1, limits.maxStates - out.states);
        // The room's slots: its blocks and the tar, in reading order as in the whole level.
        std::vector<int32_t> whole;
        for (int32_t cell = 0; cell < BOARD_SIZE * BOARD_SIZE; ++cell) {
            const int32_t code = board[cell / BOARD_SIZE][cell % BOARD_SIZE];
            if (code > CELL_EMPTY && code <= KIND_POINTER) whole.push_back(slotAt[cell]);
        }
        const Result r = Search(alone, n, part).run();
        out.states += r.states;
        out.hopeless += r.hopeless;
        out.ticksRunAhead += r.ticksRunAhead;
        out.pushesPlayed += r.pushesPlayed;
        if (!r.solved && !r.clearedWithoutPush) {
            // A room that cannot be cleared leaves the level uncleared.
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
    int32_t clearedAt = 0;
    if (clicks.empty() || !steady(set, n, clicks, limits.tickLimit, &clearedAt)) return false;
    out.solved = true;
    out.ticks = clearedAt;
    out.clicks = clicks;
    out.seconds = cpuSeconds() - started;
    return true;
}

}  // namespace

Result solve(const GameContext& set, int32_t n, const Limits& limits) {
    if (!hasLevel(n)) {
        Result none;
        none.why = "no such level";
        return none;
    }
    Result byRooms;
    if (limits.byRooms && limits.opening.empty() && !limits.forceTimed && solveByRooms(set, n, limits, byRooms))
        return byRooms;
    return Search(set, n, limits).run();
}

bool hopelessBoard(const GameContext& game) {
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

}  // namespace solver
