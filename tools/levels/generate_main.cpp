// tolvane_levelgen [options] WORLD: drafts the nine levels of a world for a
// designer to read, title and keep. Each draft is a room (a box of ledges
// and steps, or one of the bigger families of room_shapes.h) with blocks
// dropped into it, trimmed to the floor its blocks can reach,
// and kept only when it measures as the world's place on the curve asks:
// the fewest pushes the slot wants, few random players clearing it, a first
// push that loses it, and the lift or tar the slot asks for actually needed.
//   --seed N         the first seed (default 1); the same seed drafts the same world
//   --against MAP    a map whose rooms the drafts must not copy (repeatable)
//   --lift LEVELS    the levels (1 to 9, comma separated) that need a lift
//   --tar LEVELS     the levels that need tar
//   --tries N        drafts per level before the slot's bounds widen (default 4000)
//   --only LEVEL     draft this level alone
//   --shape NAME     the family of rooms: box (default), chambers, shafts,
//                    stairs, pillars, overhangs, hall, or any (one of the
//                    families beyond the box for each draft); see room_shapes.h
//   --blocks MIN-MAX the blocks a level holds, tar, rocks and lifts counted;
//                    the window slides up from the first level to the ninth
//   --pushes MIN-MAX the fewest pushes, rising from MIN at the first level to
//                    MAX at the ninth, give or take one
//   --span N         the open floor must reach across N columns or rows
//   --alike X        turn away a draft whose walls or open floor are more than
//                    X alike (over every shift) to a level of the maps given
//                    with --against or drafted before it (default 0.8)
//   --give N         how far the fewest pushes may stray from the slot's (default 1)
//   --walk N         turn away a draft whose solution pushes one block the same
//                    way more than N times running, or in which over half the
//                    pushes move a block on the way its last push did: depth
//                    from long walks is no puzzle (default 0, no limit)
//   --states N       the states the solver may spend on a draft's first proof
//                    (default 30000; beside a lift 200000): deeper levels need more
// With TOLVANE_GEN_VERBOSE set, each draft the solver could not prove is
// reported with the reason.
//   --survey BLOCKS  instead, draft crowded boards of that many blocks (or,
//                    given as -BLOCKS, rooms like the worlds') and print how
//                    the solver fares on each: a gauge of its reach
//   --kinds K        the kinds a crowded board mixes (1 to 7, default 7): with
//                    all seven most such boards have no solution at all, with
//                    three most have one
//   --seconds S      the processor time the survey gives each board (default 20)
//   --min-pushes P   report only boards whose fewest pushes are P or more, and
//                    those the solver runs out on; a count of the others ends it
// The map is written to standard output; progress to standard error.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "game/game_context.h"
#include "solver/solver.h"
#include "tools/levels/level_map.h"
#include "tools/levels/measures.h"
#include "tools/levels/room_shapes.h"

namespace {

constexpr int32_t N = levelmap::MAP_SIZE;
using Cells = int32_t[N][N];

struct Slot {
    int32_t world = 1, level = 1;
    int32_t pushes = 3;          // the fewest pushes wanted, give or take one
    double minRandom = 0.0;      // the share of random players that must clear it: early worlds stay kind
    double maxRandom = 0.5;      // the share of random players allowed to clear it
    double minTraps = 0.0;       // the share of first pushes that must lose it
    bool lift = false, tar = false;
    int32_t minBlocks = 4, maxBlocks = 6;
    int32_t minKinds = 2, maxKinds = 2;
};

Slot slotFor(int32_t world, int32_t level) {
    Slot s;
    s.world = world;
    s.level = level;
    // From world 3 on the pushes climb more gently across the worlds; traps
    // and fewer ways through make the later worlds harder.
    const int32_t base = world <= 2 ? 2 + world : 3 + world / 3;
    const int32_t rise = world <= 2 ? 6 : 6 + world / 3;
    s.pushes = base + (level - 1) * rise / 8;
    const double caps[PLAYED_WORLDS] = {1, 0.45, 0.25, 0.12, 0.04, 0.04, 0.04, 0.04, 0.04, 0.04, 0.0};
    s.maxRandom = caps[world];
    const double floors[PLAYED_WORLDS] = {0, 0.15, 0.05, 0.02, 0, 0, 0, 0, 0, 0, 0};
    s.minRandom = floors[world] * (9 - level) / 8.0;  // kind at the start of a world, less so at its end
    s.minTraps = world >= 8 ? 0.3 : 0.01;
    s.minKinds = world <= 2 ? 2 : world <= 6 ? 3 : 3;
    s.maxKinds = world <= 1 ? 2 : world <= 4 ? 3 : world <= 7 ? 4 : 5;
    s.minBlocks = std::min(4 + world / 2 + level / 3, 12);
    s.maxBlocks = std::min(s.minBlocks + 3, 14);
    return s;
}

class Drafter {
public:
    explicit Drafter(uint32_t seed) : rng_(seed) {}

    int32_t pick(int32_t lo, int32_t hi) { return lo + static_cast<int32_t>(rng_() % static_cast<uint32_t>(hi - lo + 1)); }
    bool chance(int32_t percent) { return pick(1, 100) <= percent; }

    // A room of open floor with steps, ledges and pits, walled all round.
    void room(Cells& c, const Slot& s) {
        for (auto& row : c)
            for (int32_t& v : row) v = 0;
        // Small rooms, crowded as the worlds go on: fewer ways through, more
        // ways to go wrong, and a search the tests can afford.
        int32_t w = bigRooms_ ? pick(11, 14) : pick(5, std::min(9, 6 + s.world / 3));
        int32_t h = bigRooms_ ? pick(5, 6) : pick(4, 7);
        if (s.lift) w = pick(5, 8), h = pick(5, 7);  // the lift's timing is searched: keep its rooms small
        const int32_t left = pick(1, 15 - w), top = pick(1, 15 - h);
        const int32_t bottom = top + h - 1;
        for (int32_t r = top; r <= bottom; ++r)
            for (int32_t col = left; col < left + w; ++col) c[r][col] = CELL_EMPTY;
        // The ground: a walk of heights along the room.
        int32_t ground = pick(0, 1);
        for (int32_t col = left; col < left + w; ++col) {
            if (chance(35)) ground = std::clamp(ground + pick(-1, 1), 0, 2);
            for (int32_t k = 0; k < ground; ++k) c[bottom - k][col] = CELL_WALL;
        }
        // Ledges hanging in the room.
        const int32_t ledges = pick(0, 2 + s.world / 4);
        for (int32_t i = 0; i < ledges; ++i) {
            const int32_t len = pick(1, std::max(1, w / 2));
            const int32_t r = pick(top + 1, bottom - 1);
            const int32_t col = pick(left, left + w - len);
            for (int32_t k = 0; k < len; ++k) c[r][col + k] = CELL_WALL;
        }
        // Now and then a pit in the floor.
        if (chance(30) && bottom + 1 <= 14) {
            const int32_t col = pick(left, left + w - 1);
            c[bottom + 1][col] = CELL_EMPTY;
        }
    }

    // Drops a block of `code` at a random open cell; answers false when it
    // lands next to a block of its kind or on nothing open.
    bool drop(Cells& c, int32_t code) {
        std::vector<std::pair<int32_t, int32_t>> cells;
        for (int32_t r = 1; r < N - 1; ++r)
            for (int32_t col = 1; col < N - 1; ++col)
                if (c[r][col] == CELL_EMPTY) cells.emplace_back(r, col);
        if (cells.empty()) return false;
        // In the big rooms blocks are dropped in heaps half the time: piles
        // that must be taken apart, not blocks strewn one by one.
        if (shape_ != rooms::Shape::BOX && lastColumn_ >= 0 && chance(50)) {
            std::vector<std::pair<int32_t, int32_t>> near;
            for (const auto& cell : cells)
                if (std::abs(cell.second - lastColumn_) <= 1) near.push_back(cell);
            if (!near.empty()) cells.swap(near);
        } else if (shape_ != rooms::Shape::BOX && code <= KIND_LAST_ORDINARY && chance(50)) {
            // Or within a few columns of a twin: in a room this big, twins
            // strewn at random are mostly twins that can never meet.
            std::vector<std::pair<int32_t, int32_t>> near;
            for (const auto& cell : cells)
                for (int32_t k = cell.first - 3; k <= cell.first + 3 && k < N; ++k) {
                    bool twin = false;
                    for (int32_t col = cell.second - 3; col <= cell.second + 3; ++col)
                        twin = twin || (k >= 0 && col >= 0 && col < N && c[k][col] == code);
                    if (twin) {
                        near.push_back(cell);
                        break;
                    }
                }
            if (!near.empty()) cells.swap(near);
        }
        auto [r, col] = cells[rng_() % cells.size()];
        while (r + 1 < N - 1 && c[r + 1][col] == CELL_EMPTY) ++r;
        if (c[r + 1][col] == 0) return false;  // nothing under it
        if (code <= KIND_LAST_ORDINARY)
            for (const auto& [dr, dc] : {std::pair{0, 1}, {0, -1}, {1, 0}, {-1, 0}})
                if (c[r + dr][col + dc] == code) return false;
        c[r][col] = code;
        lastColumn_ = col;
        return true;
    }

    // Walls up what no block can reach and all but a row of the air above
    // the blocks, then keeps only the walls that border open floor.
    void trim(Cells& c) {
        bool reach[N][N];
        measures::reachable(c, reach);
        int32_t highest = N;
        for (int32_t r = 0; r < N && highest == N; ++r)
            for (int32_t col = 0; col < N; ++col)
                if (reach[r][col] || c[r][col] >= KIND_FIRST) highest = r;
        const int32_t keepAbove = chance(40) ? 1 : 0;
        for (int32_t r = 0; r < N; ++r)
            for (int32_t col = 0; col < N; ++col) {
                if (c[r][col] != CELL_EMPTY) continue;
                if (r < highest - keepAbove || (r >= highest && !reach[r][col])) c[r][col] = CELL_WALL;
            }
        // A kept row of air must lie over reachable floor, or it is filler.
        for (int32_t col = 0; col < N; ++col)
            if (highest - 1 >= 0 && c[highest - 1][col] == CELL_EMPTY && !(c[highest][col] != CELL_WALL))
                c[highest - 1][col] = CELL_WALL;
        auto isOpen = [&](int32_t r, int32_t col) {
            return r >= 0 && col >= 0 && r < N && col < N && (c[r][col] == CELL_EMPTY || c[r][col] >= KIND_FIRST);
        };
        for (int32_t r = 0; r < N; ++r)
            for (int32_t col = 0; col < N; ++col) {
                if (isOpen(r, col)) continue;
                bool borders = false;
                for (int32_t dr = -1; dr <= 1; ++dr)
                    for (int32_t dc = -1; dc <= 1; ++dc) borders = borders || isOpen(r + dr, col + dc);
                c[r][col] = borders ? CELL_WALL : 0;
            }
        centre(c, pick(-2, 2), pick(-2, 2));
    }

    // Moves the room to the middle of the board, give or take a little.
    static void centre(Cells& c, int32_t offsetRows, int32_t offsetColumns) {
        int32_t top = N, bottom = -1, left = N, right = -1;
        for (int32_t r = 0; r < N; ++r)
            for (int32_t col = 0; col < N; ++col)
                if (c[r][col] != 0) top = std::min(top, r), bottom = std::max(bottom, r), left = std::min(left, col),
                                    right = std::max(right, col);
        if (bottom < 0) return;
        const int32_t height = bottom - top + 1, width = right - left + 1;
        const int32_t toTop = std::clamp((N - height) / 2 + offsetRows, 0, N - height);
        const int32_t toLeft = std::clamp((N - width) / 2 + offsetColumns, 0, N - width);
        const int32_t dr = toTop - top, dc = toLeft - left;
        Cells moved = {};
        for (int32_t r = 0; r < N; ++r)
            for (int32_t col = 0; col < N; ++col)
                if (c[r][col] != 0) moved[r + dr][col + dc] = c[r][col];
        std::memcpy(c, moved, sizeof moved);
    }

    // A lift on the floor of a tall column, and a shelf beside its shaft
    // with a block on it: what the lift brings up can meet what the shelf holds.
    bool liftAndShelf(Cells& c) {
        std::vector<std::pair<int32_t, int32_t>> bottoms;
        for (int32_t r = 3; r < N - 1; ++r)
            for (int32_t col = 2; col < N - 2; ++col)
                if (c[r][col] == CELL_EMPTY && c[r + 1][col] == CELL_WALL && c[r - 1][col] == CELL_EMPTY &&
                    c[r - 2][col] == CELL_EMPTY)
                    bottoms.emplace_back(r, col);
        if (bottoms.empty()) return false;
        const auto [r, col] = bottoms[rng_() % bottoms.size()];
        c[r][col] = KIND_LIFT;
        int32_t top = r;
        while (top - 1 >= 1 && c[top - 1][col] == CELL_EMPTY) --top;
        if (r - top < 2) return false;
        // A short shaft: a lift's whole trip is part of what the solver
        // times, and two or three cells of travel make a readable puzzle.
        const int32_t travel = pick(2, 3);
        if (r - top > travel) {
            top = r - travel;
            c[top - 1][col] = CELL_WALL;
        }
        const int32_t shelf = pick(top, r - 2);
        const int32_t side = chance(50) ? 1 : -1;
        const int32_t len = pick(1, 3);
        for (int32_t k = 1; k <= len; ++k) {
            const int32_t cc = col + side * k;
            if (cc < 1 || cc > N - 2 || shelf + 1 > N - 2) break;
            if (c[shelf][cc] != CELL_EMPTY) break;
            c[shelf + 1][cc] = CELL_WALL;
        }
        shelfCell_ = {shelf, col + side * pick(1, len)};
        return c[shelfCell_.first][shelfCell_.second] == CELL_EMPTY && c[shelfCell_.first + 1][shelfCell_.second] == CELL_WALL;
    }

    // A crowded board for the survey: a room fourteen wide whose lower rows
    // are packed with blocks, every kind in pairs and threes, no two alike
    // touching, and a few holes to start from.
    bool dense(Cells& c, int32_t blocks) {
        for (auto& row : c)
            for (int32_t& v : row) v = 0;
        const int32_t width = pick(9, 12);
        const int32_t rows = (blocks + width - 3) / (width - 2) + 1;
        const int32_t top = 13 - rows;
        for (int32_t r = top; r <= 13; ++r)
            for (int32_t col = 1; col <= width; ++col) c[r][col] = CELL_EMPTY;
        std::vector<int32_t> codes;
        for (int32_t k = 0; static_cast<int32_t>(codes.size()) < blocks; k = (k + 1) % denseKinds_) {
            const int32_t n = std::min(blocks - static_cast<int32_t>(codes.size()), pick(2, 3));
            if (n < 2) {
                codes.back() = codes[codes.size() - 2];
                codes.push_back(codes.back());
                break;
            }
            for (int32_t i = 0; i < n; ++i) codes.push_back(KIND_FIRST + k);
        }
        codes.resize(blocks);
        std::shuffle(codes.begin(), codes.end(), rng_);
        for (int32_t code : codes) {
            bool placed = false;
            for (int32_t t = 0; t < 200 && !placed; ++t) {
                int32_t col = pick(1, width), r = top;
                if (c[r][col] != CELL_EMPTY) continue;
                while (r + 1 <= 13 && c[r + 1][col] == CELL_EMPTY) ++r;
                bool clash = false;
                for (const auto& [dr, dc] : {std::pair{0, 1}, {0, -1}, {1, 0}, {-1, 0}}) clash = clash || c[r + dr][col + dc] == code;
                if (clash || r == top) continue;
                c[r][col] = code;
                placed = true;
            }
            if (!placed) return false;
        }
        trim(c);
        return true;
    }

    // A whole draft for a slot, or false when this try went nowhere.
    bool draft(Cells& c, const Slot& s, int32_t blocks, int32_t kinds) {
        if (shape_ == rooms::Shape::BOX) room(c, s);
        else rooms::carve(c, shape_, s.world, rng_);
        lastColumn_ = -1;
        if (s.lift && !liftAndShelf(c)) return false;
        if (s.tar) {
            const int32_t n = pick(1, 2);
            for (int32_t i = 0; i < n; ++i)
                for (int32_t t = 0; t < 20; ++t)
                    if (drop(c, KIND_ICKY)) break;
        }
        if (s.world >= 2 && chance(30))
            for (int32_t t = 0; t < 20; ++t)
                if (drop(c, KIND_ROCK)) break;
        // Kinds in pairs and threes.
        std::vector<int32_t> order;
        for (int32_t k = 0; k < kinds; ++k) order.push_back(KIND_FIRST + k);
        std::vector<int32_t> codes;
        int32_t left = blocks;
        for (int32_t k = 0; k < kinds; ++k) {
            int32_t n;
            if (shape_ != rooms::Shape::BOX) {
                // The big rooms share the blocks out evenly, two at least a kind.
                n = std::max(2, left / (kinds - k));
            } else {
                const int32_t rest = kinds - k - 1;
                n = std::clamp(left - 2 * rest, 2, 3);
                if (k == kinds - 1) n = std::max(2, left);
                if (n > (bigRooms_ ? 6 : 4)) n = bigRooms_ ? 6 : 4;
            }
            for (int32_t i = 0; i < n; ++i) codes.push_back(order[k]);
            left -= n;
        }
        std::shuffle(codes.begin(), codes.end(), rng_);
        if (s.lift && !codes.empty()) {
            // The first block goes on the lift's shelf.
            c[shelfCell_.first][shelfCell_.second] = codes.back();
            codes.pop_back();
        }
        for (int32_t code : codes) {
            bool placed = false;
            for (int32_t t = 0; t < 30 && !placed; ++t) placed = drop(c, code);
            if (!placed) return false;
        }
        trim(c);
        measures::Measures m;
        measures::measureBoard(c, m);
        if (s.lift && m.lifts == 0) return false;
        if (s.tar && m.tar == 0) return false;
        return m.unreachableFloor == 0 && m.inertTar == 0 && m.openAboveBlock == 0 && m.headroomShare() <= 0.4;
    }

private:
    std::mt19937 rng_;
    std::pair<int32_t, int32_t> shelfCell_{0, 0};
    int32_t lastColumn_ = -1;  // where the last block was dropped

public:
    bool bigRooms_ = false;
    int32_t denseKinds_ = 7;  // how many kinds a crowded board mixes
    rooms::Shape shape_ = rooms::Shape::BOX;
};

std::string mapText(const Cells& c) {
    std::string out;
    for (int32_t r = 0; r < N; ++r) {
        out += '|';
        for (int32_t col = 0; col < N; ++col) {
            const int32_t v = c[r][col];
            char ch = ' ';
            if (v == CELL_WALL) ch = '#';
            else if (v == CELL_EMPTY) ch = '.';
            else if (v >= KIND_FIRST && v <= KIND_LAST_ORDINARY) ch = static_cast<char>('a' + v - KIND_FIRST);
            else if (v == KIND_ROCK) ch = 'R';
            else if (v == KIND_ICKY) ch = 'T';
            else if (v == KIND_LIFT) ch = 'L';
            out += ch;
        }
        out += "|\n";
    }
    return out;
}

// "MIN-MAX" (or one number for both); false when it is not that.
bool range(const char* text, std::pair<int32_t, int32_t>& out) {
    int32_t lo = 0, hi = 0;
    const int n = std::sscanf(text, "%d-%d", &lo, &hi);
    if (n < 1 || lo < 1) return false;
    out = {lo, n == 2 ? std::max(lo, hi) : lo};
    return true;
}

std::vector<int32_t> numbers(const char* text) {
    std::vector<int32_t> out;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) out.push_back(std::atoi(item.c_str()));
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    uint32_t seed = 1;
    int32_t world = -1, tries = 4000, only = 0, survey = 0, kinds = 7;
    double surveySeconds = 20;
    int32_t minPushes = 0;
    std::vector<int32_t> lifts, tars;
    rooms::Shape shape = rooms::Shape::BOX;
    std::pair<int32_t, int32_t> blockRange{0, 0}, pushRange{0, 0};
    int32_t span = 0, firstStates = 30000, give = 1, walk = 0;
    double alike = 0.8;
    bool usage = false;
    std::vector<levelmap::Level> against;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        const bool more = i + 1 < argc;
        if (std::strcmp(a, "--seed") == 0 && more) seed = static_cast<uint32_t>(std::atol(argv[++i]));
        else if (std::strcmp(a, "--tries") == 0 && more) tries = std::atoi(argv[++i]);
        else if (std::strcmp(a, "--only") == 0 && more) only = std::atoi(argv[++i]);
        else if (std::strcmp(a, "--survey") == 0 && more) survey = std::atoi(argv[++i]);
        else if (std::strcmp(a, "--kinds") == 0 && more) kinds = std::clamp(std::atoi(argv[++i]), 1, 7);
        else if (std::strcmp(a, "--seconds") == 0 && more) surveySeconds = std::max(0.0, std::atof(argv[++i]));
        else if (std::strcmp(a, "--min-pushes") == 0 && more) minPushes = std::atoi(argv[++i]);
        else if (std::strcmp(a, "--lift") == 0 && more) lifts = numbers(argv[++i]);
        else if (std::strcmp(a, "--tar") == 0 && more) tars = numbers(argv[++i]);
        else if (std::strcmp(a, "--shape") == 0 && more) usage = !rooms::shapeNamed(argv[++i], shape);
        else if (std::strcmp(a, "--blocks") == 0 && more) usage = !range(argv[++i], blockRange);
        else if (std::strcmp(a, "--pushes") == 0 && more) usage = !range(argv[++i], pushRange);
        else if (std::strcmp(a, "--span") == 0 && more) span = std::atoi(argv[++i]);
        else if (std::strcmp(a, "--alike") == 0 && more) alike = std::atof(argv[++i]);
        else if (std::strcmp(a, "--walk") == 0 && more) walk = std::max(0, std::atoi(argv[++i]));
        else if (std::strcmp(a, "--give") == 0 && more) give = std::max(0, std::atoi(argv[++i]));
        else if (std::strcmp(a, "--states") == 0 && more) firstStates = std::max(1000, std::atoi(argv[++i]));
        else if (std::strcmp(a, "--against") == 0 && more) {
            const levelmap::World w = levelmap::readWorld(argv[++i]);
            against.insert(against.end(), w.levels.begin(), w.levels.end());
        } else if (a[0] != '-' && world < 0) world = std::atoi(a);
        else {
            std::fprintf(stderr, "usage: %s [--seed N] [--against MAP]... [--lift L,..] [--tar L,..] [--tries N] [--only L] [--survey BLOCKS [--kinds K] [--seconds S] [--min-pushes P]] WORLD\n",
                         argv[0]);
            std::fprintf(stderr, "  and for the worlds: [--shape %s] [--blocks MIN-MAX] [--pushes MIN-MAX] [--span N] [--alike X] [--give N] [--walk N] [--states N]\n",
                         rooms::shapeNames());
            return 2;
        }
        if (usage) {
            std::fprintf(stderr, "%s: bad value for %s (shapes: %s)\n", argv[0], a, rooms::shapeNames());
            return 2;
        }
    }
    if (world < 1 || world > 10) return 2;
    // The drafts are tried as board 0 of a level set of their own.
    GameContext set;
    if (survey) {
        Slot s = slotFor(world, 9);
        Drafter drafter(seed);
        drafter.bigRooms_ = survey > 0;
        drafter.denseKinds_ = kinds;
        int32_t shallow = 0, unsolvable = 0;
        for (int32_t n = 0; n < tries;) {
            Cells c;
            // A negative count drafts rooms like the worlds' instead of crowded ones.
            if (survey > 0 ? !drafter.dense(c, survey) : !drafter.draft(c, s, -survey, drafter.pick(5, 7))) continue;
            ++n;
            std::memcpy(set.levels[0], c, sizeof c);
            solver::Limits limits;
            limits.maxSeconds = surveySeconds;
            limits.maxStates = 5000000;
            const solver::Result r = solver::solve(set, 0, limits);
            if (r.solved && r.pushes < minPushes) {
                ++shallow;
                continue;
            }
            if (minPushes > 0 && !r.solved && r.why == "no solution") {
                ++unsolvable;
                continue;
            }
            measures::Measures m;
            measures::measureBoard(c, m);
            std::printf("blocks %d: %s pushes %d states %lld hopeless %lld %.2f s (%.0f states/s)\n%s", m.blocks,
                        r.solved ? "solved" : r.why.c_str(), r.pushes, static_cast<long long>(r.states),
                        static_cast<long long>(r.hopeless), r.seconds, r.seconds > 0 ? r.states / r.seconds : 0.0,
                        mapText(c).c_str());
            std::fflush(stdout);
        }
        if (minPushes > 0)
            std::printf("not shown: %d solved in fewer than %d pushes, %d without a solution\n", shallow, minPushes,
                        unsolvable);
        return 0;
    }
    measures::Options options;
    options.proofSeconds = 3.0;
    options.proofStates = 120000;
    std::printf("; World %d\n; Nine levels, rising from the first to the last.\n;\n", world);
    std::printf("; Legend, one character a cell, sixteen cells between the bars:\n");
    std::printf(";   (blank) nothing    #  wall          .  open floor\n");
    std::printf(";   a b c d e f g      the seven kinds of block\n");
    std::printf(";   R  Rock-Block      T  Icky-Block (covered in tar)    L  red lift block\n");
    std::printf("; Blocks stand on open floor. No block or lift on the outer ring of cells.\n");
    int32_t previous = 0;
    for (int32_t level = 1; level <= levelmap::MAP_LEVELS; ++level) {
        if (only && level != only) continue;
        Slot s = slotFor(world, level);
        s.lift = std::count(lifts.begin(), lifts.end(), level) > 0;
        s.tar = std::count(tars.begin(), tars.end(), level) > 0;
        if (s.tar) s.minBlocks = std::max(4, s.minBlocks - 3), s.maxBlocks = std::max(6, s.maxBlocks - 3);
        if (s.lift) s.minBlocks = 4, s.maxBlocks = 5 + world / 5, s.minKinds = 2, s.maxKinds = 2 + world / 8;
        // The slot asked for on the command line: the blocks' window slides up
        // through the world, lift levels staying at its foot (the lift's timing
        // is searched), and the pushes climb from the first level to the ninth.
        int32_t fewestBlocks = 0, mostBlocks = 0;
        if (blockRange.first > 0) {
            const int32_t width = blockRange.second - blockRange.first;
            fewestBlocks = blockRange.first + width * (level - 1) / 16;
            mostBlocks = std::min(blockRange.second, fewestBlocks + width / 2 + 1);
            if (s.lift) mostBlocks = fewestBlocks, fewestBlocks = std::max(5, fewestBlocks - 3);
        }
        if (pushRange.first > 0) s.pushes = pushRange.first + ((pushRange.second - pushRange.first) * (level - 1) + 4) / 8;
        Drafter drafter(seed * 1000003u + static_cast<uint32_t>(world * 100 + level));
        drafter.shape_ = shape;
        Cells c;
        bool found = false;
        int32_t slack = 0;
        int32_t drafts = 0;
        int32_t rejected[8] = {};
        for (int32_t attempt = 0; !found; ++attempt) {
            if (attempt > 0 && attempt % 100 == 0)
                std::fprintf(stderr, "%d-%d: %d tries, %d drafts; turned away: unsolved %d, pushes %d, random %d, traps %d, feature %d\n",
                             world, level, attempt, drafts, rejected[0], rejected[1], rejected[2], rejected[3], rejected[4]);
            if (attempt > 0 && attempt % tries == 0) {
                ++slack;
                std::fprintf(stderr, "%d-%d: widening, slack %d\n", world, level, slack);
            }
            int32_t kinds = drafter.pick(s.minKinds, s.maxKinds);
            int32_t blocks = std::max(2 * kinds, drafter.pick(s.minBlocks, s.maxBlocks));
            if (fewestBlocks > 0) {
                // The lift and the tar are blocks too; rocks are counted when they land.
                blocks = drafter.pick(fewestBlocks, mostBlocks) - s.lift - s.tar;
                // Four blocks a kind at most, seven kinds at most: big rooms mix more kinds.
                const int32_t fewestKinds = std::clamp((blocks + 3) / 4, 2, 7);
                kinds = drafter.pick(fewestKinds, std::max(fewestKinds, std::min(5, blocks / 3)));
                blocks = std::max(blocks, 2 * kinds);
            }
            if (!drafter.draft(c, s, blocks, kinds)) continue;
            if (rooms::floorSpan(c) < span) continue;
            if (fewestBlocks > 0) {
                measures::Measures board;
                measures::measureBoard(c, board);
                if (board.blocks < fewestBlocks || board.blocks > mostBlocks + 1) continue;
            }
            ++drafts;
            bool copies = false;
            for (const levelmap::Level& l : against)
                copies = copies || measures::wallLikeness(c, l.cells) > alike || measures::floorLikeness(c, l.cells) > alike;
            if (copies) continue;
            std::memcpy(set.levels[0], c, sizeof c);
            solver::Limits quick;
            quick.maxSeconds = 3.0;
            // Levels that take the solver long also take the tests long: a
            // draft that needs many states is passed over.
            quick.maxStates = s.lift ? std::max(200000, firstStates) : firstStates;
            const solver::Result r = solver::solve(set, 0, quick);
            if (!r.solved) {
                if (std::getenv("TOLVANE_GEN_VERBOSE")) std::fprintf(stderr, "unsolved: %s, %lld states, %.2f s\n", r.why.c_str(), static_cast<long long>(r.states), r.seconds);
                ++rejected[0];
                continue;
            }
            const int32_t want = std::max(s.pushes, previous - 1);
            int32_t longest = 0, onward = 0;
            int32_t lastWay[MAX_BLOCKS];
            std::fill(std::begin(lastWay), std::end(lastWay), BUTTON_NONE);
            for (size_t k = 0, run = 0; k < r.clicks.size(); ++k) {
                const solver::Click& click = r.clicks[k];
                const bool same = k > 0 && click.slot == r.clicks[k - 1].slot && click.button == r.clicks[k - 1].button;
                run = same ? run + 1 : 1;
                longest = std::max(longest, static_cast<int32_t>(run));
                onward += lastWay[click.slot] == click.button;
                lastWay[click.slot] = click.button;
            }
            if (walk > 0 && (longest > walk || 2 * onward > r.pushes)) {
                ++rejected[1];
                continue;
            }
            const int32_t room = s.lift ? give + 1 : give;  // lift levels are rarer: their slot is wider
            if (r.pushes < want - room - slack || r.pushes > want + room + slack || (level > 1 && r.pushes < previous - 2) ||
                (level == levelmap::MAP_LEVELS && r.pushes <= 2 + world)) {
                ++rejected[1];
                continue;
            }
            const int32_t wins = measures::randomWins(set, 0, 40, 99);
            if (s.lift || s.tar) s.minRandom = 0.0;  // the world's other levels keep its share up
            if (wins > s.maxRandom * 40 + slack || wins < s.minRandom * 40 - 4) {
                ++rejected[2];
                continue;
            }
            const measures::Measures m = measures::measure(set, 0, options);
            if (!m.solved || m.unknownFirstPushes || m.losingFirstPushes == 0 || m.trapDensity() < s.minTraps) {
                ++rejected[3];
                continue;
            }
            if (m.randomSuccess() > s.maxRandom || m.randomSuccess() < s.minRandom) {
                ++rejected[2];
                continue;
            }
            if ((s.lift && m.needsLift != measures::Proof::YES) || (s.tar && m.needsTar != measures::Proof::YES)) {
                ++rejected[4];
                continue;
            }
            found = true;
            previous = m.pushes;
            levelmap::Level kept;
            std::memcpy(kept.cells, c, sizeof c);
            against.push_back(kept);
            std::fprintf(stderr, "%d-%d: pushes %d, random %.1f %%, traps %d/%d, %d drafts\n", world, level, m.pushes,
                         100.0 * m.randomSuccess(), m.losingFirstPushes, m.firstPushes, drafts);
            std::printf("\nlevel %d: %s%s%s\n%s", level, "Draft", s.lift ? " with a lift" : "", s.tar ? " with tar" : "",
                        mapText(c).c_str());
            std::fflush(stdout);
        }
    }
    return 0;
}
