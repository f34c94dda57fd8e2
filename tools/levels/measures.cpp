#include "tools/levels/measures.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <random>
#include <utility>

#include "game/game_context.h"
#include "solver/solver.h"

namespace measures {

namespace {

constexpr int32_t N = levelmap::MAP_SIZE;
constexpr int32_t REST_WAIT_CAP = 150;  // a random player waits no longer than this for a board to rest
constexpr int32_t LIFT_WAIT = 48;       // and, beside lifts, a random part of this more

bool open(int32_t code) { return code == CELL_EMPTY || code >= KIND_FIRST; }
bool movableCode(int32_t code) { return (code >= KIND_FIRST && code <= KIND_ROCK) || code == KIND_POINTER; }

// [SECTION] Play
// One tick of the level on `g`, with a click on the middle of the block in
// `slot` if one is given; answers whether the level was cleared in it.
bool tick(GameContext& g, int32_t button = BUTTON_NONE, int32_t slot = -1) {
    Click click;
    if (slot >= 0) {
        const Block& b = g.blocks[slot];
        click = Click{button, b.x + 16, b.y + 16};
    }
    TickEvents events;
    g.playTick(click, events);
    // The clock never runs out here: the players count their own ticks.
    g.clock = LEVEL_CLOCK;
    return events.has(EVENT_LEVEL_CLEARED);
}

bool pushable(const Block& b) { return b.alive && (b.motion == MOTION_NORMAL || b.motion == MOTION_ROCK); }

bool anyLift(const GameContext& g) {
    for (const Block& b : g.blocks)
        if (b.alive && b.motion == MOTION_LIFT) return true;
    return false;
}

// Idles until nothing but lifts and their riders moves and no countdown is
// left, or REST_WAIT_CAP ticks have gone. Answers false when the level
// cleared meanwhile.
bool waitForRest(GameContext& g, int32_t& now) {
    int32_t before[MAX_BLOCKS][2];
    for (int32_t waited = 0; waited < REST_WAIT_CAP; ++waited) {
        for (int32_t i = 0; i < MAX_BLOCKS; ++i) before[i][0] = g.blocks[i].x, before[i][1] = g.blocks[i].y;
        ++now;
        if (tick(g)) return false;
        if (g.elimDelay != 0 || g.settleTicks != 0) continue;
        bool still = true;
        for (int32_t i = 0; i < MAX_BLOCKS && still; ++i) {
            const Block& b = g.blocks[i];
            if (!b.alive || b.motion == MOTION_LIFT) continue;
            still = b.x == before[i][0] && b.y == before[i][1];
        }
        if (still) break;
    }
    return true;
}

// The pushes that move a block from the board as it stands: slot and button.
// Each is tried on a copy of the game, so the board stays as it stands.
std::vector<std::pair<int32_t, int32_t>> legalPushes(const GameContext& g) {
    std::vector<std::pair<int32_t, int32_t>> found;
    for (int32_t slot = 0; slot < MAX_BLOCKS; ++slot) {
        if (!pushable(g.blocks[slot])) continue;
        for (int32_t button : {BUTTON_LEFT, BUTTON_RIGHT}) {
            GameContext trial = g;
            if (tick(trial, button, slot) || trial.blocks[slot].x != g.blocks[slot].x) found.emplace_back(slot, button);
        }
    }
    return found;
}

bool randomGame(const GameContext& set, int32_t n, std::mt19937& rng) {
    GameContext g = set;
    g.startFreshLevel(n);
    const bool lifts = anyLift(g);
    int32_t now = 0;
    int32_t lastClick = -solver::CLICK_SPACING;
    int32_t emptyTurns = 0;
    while (now < FULL_CLOCK_TICKS) {
        if (!waitForRest(g, now)) return true;
        int32_t extra = lifts ? static_cast<int32_t>(rng() % LIFT_WAIT) : 0;
        while (extra-- > 0 || now < lastClick + solver::CLICK_SPACING) {
            ++now;
            if (tick(g)) return true;
        }
        if (solver::hopelessBoard(g)) return false;
        const std::vector<std::pair<int32_t, int32_t>> pushes = legalPushes(g);
        if (pushes.empty()) {
            // Beside a lift a push may open up later; elsewhere the game is stuck.
            if (!lifts || ++emptyTurns > 20) return false;
            continue;
        }
        emptyTurns = 0;
        const auto& p = pushes[rng() % pushes.size()];
        ++now;
        lastClick = now;
        if (tick(g, p.second, p.first)) return true;
    }
    return false;
}

// [SECTION] Proofs
Proof solvedWith(const GameContext& set, int32_t n, const Options& options, const std::vector<solver::Click>& opening,
                 solver::Result* out = nullptr) {
    solver::Limits limits;
    limits.maxSeconds = options.proofSeconds;
    limits.maxStates = options.proofStates;
    limits.opening = opening;
    const solver::Result r = solver::solve(set, n, limits);
    if (out) *out = r;
    if (r.solved) return Proof::YES;
    if (r.why == "no solution" || r.why == "cleared by the opening") return r.why == "no solution" ? Proof::NO : Proof::YES;
    return Proof::UNKNOWN;
}

// [SECTION] Witnesses
// Most first pushes leave a level that can still be cleared, and on a big
// board the search that proves it is the dearest part of the measures. A
// solution is often in plain sight: the first push is one the solution
// makes later anyway, or it can be pushed back, or it touches nothing the
// solution needs. Such a sequence of clicks, played through the rules and
// as steady as the solver demands of its own, proves the board after the
// first push can be cleared; when none works the solver decides.

// Plays the opening click and then each push (slot and button) once the
// board is at rest again and a person could click again; answers the clicks
// when the level cleared within `tickLimit`, or none.
std::vector<solver::Click> restClicks(const GameContext& set, int32_t n, const solver::Click& opening,
                                      const std::vector<std::pair<int32_t, int32_t>>& pushes, int32_t tickLimit) {
    GameContext g = set;
    g.startFreshLevel(n);
    int32_t now = 0;
    while (now + 1 < opening.tick)
        if (++now, tick(g)) return {};
    std::vector<solver::Click> clicks{opening};
    ++now;
    if (tick(g, opening.button, opening.slot)) return clicks;
    for (const auto& [slot, button] : pushes) {
        if (!waitForRest(g, now)) return now <= tickLimit ? clicks : std::vector<solver::Click>{};
        if (solver::hopelessBoard(g)) return {};
        const int32_t at = std::max(clicks.back().tick + solver::CLICK_SPACING, now + 1 + solver::CLICK_MARGIN);
        if (at > tickLimit || !g.blocks[slot].alive) return {};
        while (now + 1 < at)
            if (++now, tick(g)) return now <= tickLimit ? clicks : std::vector<solver::Click>{};
        clicks.push_back(solver::Click{at, slot, button, 0, 0});
        ++now;
        if (tick(g, button, slot)) return clicks;
    }
    // Beside a lift the level may still clear as the lift goes on; elsewhere
    // a board at rest stays as it is.
    if (!waitForRest(g, now)) return now <= tickLimit ? clicks : std::vector<solver::Click>{};
    while (anyLift(g) && now < tickLimit)
        if (++now, tick(g)) return clicks;
    return {};
}

// Whether one of the plain candidates clears the level after `opening`,
// each built from a solution already known (the level's own, or one found
// after another first push): the solution with the same push moved to the
// front, the first push undone and then the solution, or the solution as
// it is. The clicks that worked join the known solutions.
// Only the solutions from `from` on are tried.
bool witnessed(const GameContext& set, int32_t n, const solver::Click& opening,
               std::vector<std::vector<solver::Click>>& known, size_t from) {
    const int32_t limit = solver::Limits{}.tickLimit;
    const int32_t back = opening.button == BUTTON_LEFT ? BUTTON_RIGHT : BUTTON_LEFT;
    for (size_t k = from; k < known.size(); ++k) {
        std::vector<std::pair<int32_t, int32_t>> plain;
        for (const solver::Click& c : known[k]) plain.emplace_back(c.slot, c.button);
        std::vector<std::vector<std::pair<int32_t, int32_t>>> candidates;
        const auto same = std::find(plain.begin(), plain.end(), std::make_pair(opening.slot, opening.button));
        if (same != plain.end()) {
            candidates.push_back(plain);
            candidates.back().erase(candidates.back().begin() + (same - plain.begin()));
        }
        candidates.push_back(plain);
        candidates.back().insert(candidates.back().begin(), {opening.slot, back});
        candidates.push_back(plain);
        for (const auto& pushes : candidates) {
            std::vector<solver::Click> clicks = restClicks(set, n, opening, pushes, limit);
            int32_t clearedAt = 0;
            if (!clicks.empty() && solver::steady(set, n, clicks, limit, &clearedAt)) {
                known.push_back(clicks);
                return true;
            }
        }
    }
    return false;
}

// Whether turning every cell of `code` into wall leaves a level with no
// solution, or one with another number of pushes.
Proof needs(const GameContext& set, int32_t n, int32_t code, int32_t pushes, const Options& options) {
    GameContext walled = set;
    bool any = false;
    for (auto& row : walled.levels[n])
        for (int32_t& c : row)
            if (c == code) c = CELL_WALL, any = true;
    if (!any) return Proof::NO;
    solver::Result r;
    const Proof p = solvedWith(walled, n, options, {}, &r);
    if (p == Proof::NO) return Proof::YES;
    if (p == Proof::UNKNOWN) return Proof::UNKNOWN;
    return r.pushes != pushes ? Proof::YES : Proof::NO;
}

}  // namespace

// [SECTION] Board measures
void reachable(const int32_t cells[N][N], bool reach[N][N]) {
    for (int32_t r = 0; r < N; ++r)
        for (int32_t c = 0; c < N; ++c) reach[r][c] = false;
    std::vector<std::pair<int32_t, int32_t>> todo;
    auto passable = [&](int32_t r, int32_t c) {
        return r >= 0 && c >= 0 && r < N && c < N && open(cells[r][c]) && cells[r][c] != KIND_ICKY;
    };
    auto add = [&](int32_t r, int32_t c) {
        if (passable(r, c) && !reach[r][c]) {
            reach[r][c] = true;
            todo.emplace_back(r, c);
        }
    };
    // Each lift's shaft: the open cells of its column between the terrain
    // above and below it. The lift goes all the way, and so does whatever
    // gets into the shaft.
    struct Shaft {
        int32_t column, top, bottom;
    };
    std::vector<Shaft> shafts;
    for (int32_t r = 0; r < N; ++r) {
        for (int32_t c = 0; c < N; ++c) {
            const int32_t code = cells[r][c];
            if (code == KIND_LIFT) {
                Shaft s{c, r, r};
                while (passable(s.top - 1, c)) --s.top;
                while (passable(s.bottom + 1, c)) ++s.bottom;
                shafts.push_back(s);
                for (int32_t k = s.top; k <= s.bottom; ++k) add(k, c);
            }
            if (movableCode(code)) add(r, c);
        }
    }
    while (!todo.empty()) {
        const auto [r, c] = todo.back();
        todo.pop_back();
        add(r, c - 1);
        add(r, c + 1);
        add(r + 1, c);
        for (const Shaft& s : shafts)
            if (s.column == c && r >= s.top && r <= s.bottom)
                for (int32_t k = s.top; k <= s.bottom; ++k) add(k, c);
    }
}

void measureBoard(const int32_t cells[N][N], Measures& m) {
    m = Measures{};
    bool reach[N][N];
    reachable(cells, reach);
    for (int32_t r = 0; r < N; ++r) {
        for (int32_t c = 0; c < N; ++c) {
            const int32_t code = cells[r][c];
            if (!open(code)) continue;
            ++m.openFloor;
            if (code >= KIND_FIRST) ++m.blocks;
            if (code == KIND_ICKY) ++m.tar;
            if (code == KIND_LIFT) ++m.lifts;
            if (code >= KIND_FIRST) {
                int32_t k = r - 1;
                while (k >= 0 && open(cells[k][c])) --k;
                if (k < 0 || cells[k][c] != CELL_WALL) ++m.openAboveBlock;
            }
        }
    }
    m.span = span(cells);
    int32_t highest = N;
    for (int32_t r = 0; r < N && highest == N; ++r)
        for (int32_t c = 0; c < N; ++c)
            if (reach[r][c] || cells[r][c] >= KIND_FIRST) highest = r;
    for (int32_t r = 0; r < N; ++r) {
        for (int32_t c = 0; c < N; ++c) {
            const int32_t code = cells[r][c];
            if (!open(code)) continue;
            if (r < highest) ++m.headroom;
            else if (!reach[r][c] && code < KIND_FIRST) ++m.unreachableFloor;
            if (code == KIND_ICKY && !(r > 0 && reach[r - 1][c])) ++m.inertTar;
        }
    }
}

int32_t span(const int32_t cells[N][N]) {
    int32_t left = N, right = -1, top = N, bottom = -1;
    for (int32_t r = 0; r < N; ++r) {
        for (int32_t c = 0; c < N; ++c) {
            if (!open(cells[r][c])) continue;
            left = std::min(left, c), right = std::max(right, c);
            top = std::min(top, r), bottom = std::max(bottom, r);
        }
    }
    return right < 0 ? 0 : std::max(right - left, bottom - top) + 1;
}

double median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const size_t half = values.size() / 2;
    return values.size() % 2 ? values[half] : (values[half - 1] + values[half]) / 2.0;
}

namespace {

// One layout as a bit a column in each row.
using Rows = std::array<uint32_t, N>;

template <typename Pick>
Rows rowsOf(const int32_t cells[N][N], Pick pick) {
    Rows rows{};
    for (int32_t r = 0; r < N; ++r)
        for (int32_t c = 0; c < N; ++c)
            if (pick(cells[r][c])) rows[r] |= 1u << c;
    return rows;
}

int32_t cellCount(const Rows& rows) {
    int32_t n = 0;
    for (uint32_t row : rows) n += __builtin_popcount(row);
    return n;
}

// The best overlap of two layouts over every shift of `b` against `a`;
// cells shifted off the board still count as `b`'s.
double bestOverlap(const Rows& a, const Rows& b) {
    const int32_t inA = cellCount(a), inB = cellCount(b);
    if (inA + inB == 0) return 0.0;
    int32_t best = 0;
    for (int32_t dr = -(N - 1); dr < N; ++dr) {
        for (int32_t dc = -(N - 1); dc < N; ++dc) {
            int32_t both = 0;
            for (int32_t r = std::max(0, dr); r < std::min(N, N + dr); ++r) {
                const uint32_t moved = dc >= 0 ? b[r - dr] << dc : b[r - dr] >> -dc;
                both += __builtin_popcount(a[r] & moved);
            }
            best = std::max(best, both);
        }
    }
    return static_cast<double>(best) / (inA + inB - best);
}

}  // namespace

double wallLikeness(const int32_t a[N][N], const int32_t b[N][N]) {
    const auto wall = [](int32_t code) { return code == CELL_WALL; };
    return bestOverlap(rowsOf(a, wall), rowsOf(b, wall));
}

double floorLikeness(const int32_t a[N][N], const int32_t b[N][N]) {
    return bestOverlap(rowsOf(a, open), rowsOf(b, open));
}

void placeLevel(GameContext& set, int32_t n, const levelmap::Level& level) {
    if (n < 0 || n >= LEVEL_COUNT) return;
    std::memcpy(set.levels[n], level.cells, sizeof level.cells);
}

int32_t randomWins(const GameContext& set, int32_t n, int32_t players, uint32_t seed) {
    int32_t wins = 0;
    for (int32_t p = 0; p < players; ++p) {
        // One stream per player, so a player's game does not hang on the others'.
        std::mt19937 rng(seed + 7919u * static_cast<uint32_t>(p));
        wins += randomGame(set, n, rng);
    }
    return wins;
}

// The first pushes: every push that moves a block on the board at rest
// after the level starts, made when the solver would make its first, each
// proven to keep the level or to lose it. Counted in `m`; those that lose
// it are added to `losing`, if given.
namespace {

void proveFirstPushes(const GameContext& set, int32_t n, const Options& options, const solver::Result& best, Measures& m,
                      std::vector<solver::Click>* losing) {
    GameContext g = set;
    g.startFreshLevel(n);
    int32_t now = 0;
    waitForRest(g, now);
    const int32_t at = std::max(solver::CLICK_SPACING, now + 1 + solver::CLICK_MARGIN);
    while (now + 1 < at) tick(g), ++now;
    const std::vector<std::pair<int32_t, int32_t>> first = legalPushes(g);
    m.firstPushes = static_cast<int32_t>(first.size());
    const solver::Click winning = best.clicks.empty() ? solver::Click{} : best.clicks.front();
    struct Pending {
        solver::Click opening;
        size_t tried;  // the known solutions already tried as witnesses
    };
    std::vector<Pending> pending;
    for (const auto& [slot, button] : first)
        if (best.timed || slot != winning.slot || button != winning.button)  // the solution's own is proven
            pending.push_back(Pending{solver::Click{at, slot, button, 0, 0}, 0});
    // Witnesses first, from every solution known; then the solver for the
    // next push still open, whose solution may witness the others.
    std::vector<std::vector<solver::Click>> known{best.clicks};
    while (!pending.empty()) {
        const auto proven = [&](Pending& p) {
            const size_t from = p.tried;
            p.tried = known.size();
            return witnessed(set, n, p.opening, known, from);
        };
        pending.erase(std::remove_if(pending.begin(), pending.end(), proven), pending.end());
        if (pending.empty()) break;
        solver::Result r;
        const solver::Click opening = pending.front().opening;
        const Proof p = solvedWith(set, n, options, {opening}, &r);
        pending.erase(pending.begin());
        m.losingFirstPushes += p == Proof::NO;
        if (p == Proof::NO && losing) losing->push_back(opening);
        m.unknownFirstPushes += p == Proof::UNKNOWN;
        if (p == Proof::YES && !r.clicks.empty()) known.push_back(r.clicks);
    }
}

}  // namespace

Measures measure(const GameContext& set, int32_t n, const Options& options) {
    Measures m;
    if (n < 0 || n >= LEVEL_COUNT) {
        m.why = "no such level";
        return m;
    }
    measureBoard(set.levels[n], m);
    solver::Result best;
    const Proof solved = solvedWith(set, n, options, {}, &best);
    m.solved = solved == Proof::YES && best.solved;
    m.why = m.solved ? "" : best.why;
    m.pushes = best.pushes;
    m.timed = best.timed;
    m.players = options.players;
    m.randomWins = randomWins(set, n, options.players, options.seed);
    if (!m.solved) return m;

    proveFirstPushes(set, n, options, best, m, nullptr);
    if (m.lifts) m.needsLift = needs(set, n, KIND_LIFT, m.pushes, options);
    if (m.tar) m.needsTar = needs(set, n, KIND_ICKY, m.pushes, options);
    return m;
}

std::vector<solver::Click> losingFirstPushes(const GameContext& set, int32_t n, const Options& options) {
    std::vector<solver::Click> losing;
    solver::Result best;
    if (n < 0 || n >= LEVEL_COUNT || solvedWith(set, n, options, {}, &best) != Proof::YES || !best.solved) return losing;
    Measures m;
    proveFirstPushes(set, n, options, best, m, &losing);
    return losing;
}

}  // namespace measures
