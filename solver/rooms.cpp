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
// a copy of the board with the other rooms' blocks taken away, and their
// clicks are played one room after the other. Answers false when the level
// is one room, or when the rooms' clicks together do not clear it in time;
// the whole level is then searched.
bool solveByRooms(const GameContext& start, const Limits& limits, Result& out) {
    const std::vector<std::vector<int32_t>> rooms = roomsApart(start);
    if (rooms.size() < 2) return false;
    const double started = cpuSeconds();
    out = Result{};
    std::vector<Click> clicks;
    int32_t offset = 0;
    for (const std::vector<int32_t>& room : rooms) {
        GameContext alone = start;
        for (int32_t slot = 0; slot < MAX_BLOCKS; ++slot) {
            Block& b = alone.blocks[slot];
            const bool mine = std::find(room.begin(), room.end(), slot) != room.end();
            if (b.alive && !mine && b.motion != MOTION_ICKY) b.alive = 0;
        }
        Limits part = limits;
        part.maxSeconds = std::max(0.0, limits.maxSeconds - (cpuSeconds() - started));
        part.maxStates = std::max<int64_t>(1, limits.maxStates - out.states);
        const Result r = Search(alone, part).run();
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
            c.tick += offset;
            clicks.push_back(c);
        }
        out.pushes += r.pushes;
        offset += r.solved ? r.ticks : 0;
    }
    int32_t clearedAt = 0;
    if (clicks.empty() || !steadyFrom(start, clicks, limits.tickLimit, &clearedAt, limits.earliestClick)) return false;
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
    return solveFrom(startOf(set, n), limits);
}

Result solveFrom(const GameContext& start, const Limits& limits) {
    Result byRooms;
    if (limits.byRooms && limits.opening.empty() && !limits.forceTimed && solveByRooms(start, limits, byRooms))
        return byRooms;
    return Search(start, limits).run();
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
