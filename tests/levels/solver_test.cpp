// The solver on small boards whose answers are known, and the replay and
// timing checks that keep its solutions playable by a person.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>
#include <chrono>

#include "app/input_state.h"
#include "game/game_context.h"
#include "tools/levels/level_map.h"
#include "tools/levels/solver.h"

namespace {

// Lays rows of map characters (legend of the level maps) into level 0.
void board(std::initializer_list<const char*> rows) {
    resetGame();
    for (auto& row : game.levels[0])
        for (int32_t& cell : row) cell = 0;
    int r = 0;
    for (const char* row : rows) {
        for (int c = 0; row[c] != '\0' && c < 16; ++c) {
            const int32_t code = levelmap::codeForChar(row[c]);
            ASSERT_GE(code, 0) << "row " << r << " column " << c;
            game.levels[0][r][c] = code;
        }
        ++r;
    }
}

// Three of a kind: the pair on the floor must wait for the third to drop
// between them; joining the two first strands the third. Three pushes.
const std::initializer_list<const char*> THREE_OF_A_KIND = {
    "                ", "  ##########    ", "  #.a......#    ", "  #.###....#    ", "  #...a.a..#    ", "  ##########    ",
};

solver::Limits quick() {
    solver::Limits limits;
    limits.maxStates = 200000;
    limits.maxSeconds = 10.0;
    return limits;
}

// A board solved with the usual search, then again with other limits.
struct TwoWays {
    solver::Result usual;
    solver::Result other;
};

TwoWays solveTwoWays(std::initializer_list<const char*> rows, const solver::Limits& other) {
    TwoWays r;
    board(rows);
    r.usual = solver::solve(0, quick());
    board(rows);
    r.other = solver::solve(0, other);
    return r;
}

void expectPlayable(const solver::Result& r) {
    ASSERT_TRUE(r.solved) << r.why;
    ASSERT_EQ(static_cast<int32_t>(r.clicks.size()), r.pushes);
    int32_t last = 0;
    for (const solver::Click& c : r.clicks) {
        EXPECT_GE(c.tick - last, solver::CLICK_SPACING) << "clicks a person can keep up with";
        last = c.tick;
    }
    EXPECT_LE(r.ticks, solver::TWO_THIRDS_CLOCK);
    // Played again from the very start through the rules, the clicks clear
    // the level on the tick the solver says.
    EXPECT_EQ(solver::replay(0, r.clicks, solver::TWO_THIRDS_CLOCK), r.ticks);
    EXPECT_TRUE(solver::robust(0, r.clicks, solver::TWO_THIRDS_CLOCK));
}

TEST(Solver, OnePushJoinsAPair) {
    board({
        "                ",
        "  ######        ",
        "  #....#        ",
        "  #a.a.#        ",
        "  ######        ",
    });
    const solver::Result r = solver::solve(0, quick());
    expectPlayable(r);
    EXPECT_FALSE(r.timed);
    EXPECT_EQ(r.pushes, 1);
    EXPECT_EQ(r.clicks[0].button, BUTTON_RIGHT);
    EXPECT_EQ(r.clicks[0].column, 3);
    EXPECT_EQ(r.clicks[0].row, 3);
    // Push, settle, match, blink and removal: the level ends within a second.
    EXPECT_GT(r.ticks, r.clicks[0].tick + 20);
    EXPECT_LT(r.ticks, r.clicks[0].tick + 60);
}

TEST(Solver, FindsTheFewestPushesAndTheGroupOfThree) {
    board(THREE_OF_A_KIND);
    const solver::Result r = solver::solve(0, quick());
    expectPlayable(r);
    EXPECT_EQ(r.pushes, 3);
    for (const solver::Click& c : r.clicks) EXPECT_EQ(c.row, 2) << "only the top block moves";
}

TEST(Solver, ReportsAnImpossibleLevelQuickly) {
    struct Case {
        const char* name;
        std::initializer_list<const char*> rows;
    } cases[] = {
        {"a wall between the pair", {"            ", "  #########", "  #a..#..a#", "  #########"}},
        {"an odd one out", {"            ", "  #########", "  #a.b..a.#", "  #########"}},
        {"both blocks stuck on tar", {"            ", "  #########", "  #a..a...#", "  #T##T####"}},
    };
    for (const Case& c : cases) {
        board(c.rows);
        const solver::Result r = solver::solve(0, quick());
        EXPECT_FALSE(r.solved) << c.name;
        EXPECT_EQ(r.why, "no solution") << c.name;
        EXPECT_LT(r.seconds, 2.0) << c.name;
        EXPECT_GT(r.states + r.hopeless, 0) << c.name << ": explored, or seen to be hopeless";
    }
}

TEST(Solver, GivesUpAtItsLimits) {
    // Three pairs with room to move and a lift to wait for: far more states
    // than allowed before an answer.
    board({
        "                ",
        " ############## ",
        " #............# ",
        " #.#########..# ",
        " #.#       #..# ",
        " #.#########..# ",
        " #L.a.b.c#a.b.c#",
        " ############## ",
    });
    solver::Limits limits = quick();
    limits.maxStates = 500;
    solver::Result r = solver::solve(0, limits);
    EXPECT_FALSE(r.solved);
    EXPECT_EQ(r.why, "state limit");
    EXPECT_LE(r.states, 500);

    limits.maxStates = 10000000;
    limits.maxSeconds = 0.2;
    r = solver::solve(0, limits);
    EXPECT_FALSE(r.solved);
    EXPECT_EQ(r.why, "time limit");
    EXPECT_LT(r.seconds, 1.0);
}

TEST(Solver, RefusesALevelThatClearsWithoutAPush) {
    board({"            ", "  ######", "  #.aa.#", "  ######"});
    const solver::Result r = solver::solve(0, quick());
    EXPECT_FALSE(r.solved);
    EXPECT_TRUE(r.clearedWithoutPush);
}

// The lift starts rising: a block pushed into the shaft above it drops to
// the tar at the bottom and is lost. The solver has to wait for the lift to
// come back down, ride it up and step off beside the block held by the tar.
const std::initializer_list<const char*> LIFT_BOARD = {
    "                ",
    "                ",
    "   #####        ",
    "   #..a#        ",
    "   #.#T#        ",
    "   #.#          ",
    "   #.#          ",
    "   #..a#        ",
    "   #L###        ",
    "   #T#          ",
    "   ###          ",
};

TEST(Solver, WaitsForTheLift) {
    board(LIFT_BOARD);
    const solver::Result r = solver::solve(0, quick());
    expectPlayable(r);
    EXPECT_TRUE(r.timed);
    EXPECT_EQ(r.pushes, 3);

    // The same pushes made as fast as a person can click miss the lift.
    std::vector<solver::Click> hasty = r.clicks;
    for (size_t i = 0; i < hasty.size(); ++i) hasty[i].tick = solver::CLICK_SPACING * static_cast<int32_t>(i + 1);
    board(LIFT_BOARD);
    EXPECT_EQ(solver::replay(0, hasty, solver::TWO_THIRDS_CLOCK), -1);
    EXPECT_GT(r.clicks.back().tick, hasty.back().tick + 40);
}

TEST(Solver, MovesAClickOffTheEdgeOfItsWindow) {
    board(LIFT_BOARD);
    const solver::Result r = solver::solve(0, quick());
    ASSERT_TRUE(r.solved) << r.why;
    // The push onto the lift, made on the first tick that still works.
    const size_t boarding = 1;
    std::vector<solver::Click> edge = r.clicks;
    while (edge[boarding].tick > edge[boarding - 1].tick + solver::CLICK_SPACING) {
        --edge[boarding].tick;
        board(LIFT_BOARD);
        if (solver::replay(0, edge, solver::TWO_THIRDS_CLOCK) < 0) {
            ++edge[boarding].tick;
            break;
        }
    }
    board(LIFT_BOARD);
    ASSERT_GT(solver::replay(0, edge, solver::TWO_THIRDS_CLOCK), 0);
    ASSERT_FALSE(solver::robust(0, edge, solver::TWO_THIRDS_CLOCK)) << "a tick earlier misses the lift";

    std::vector<solver::Click> moved = edge;
    int32_t clearedAt = 0;
    ASSERT_TRUE(solver::steady(0, moved, solver::TWO_THIRDS_CLOCK, &clearedAt));
    EXPECT_GE(moved[boarding].tick, edge[boarding].tick + solver::CLICK_MARGIN);
    EXPECT_TRUE(solver::robust(0, moved, solver::TWO_THIRDS_CLOCK));
    EXPECT_EQ(solver::replay(0, moved, solver::TWO_THIRDS_CLOCK), clearedAt);
}

TEST(Solver, ThrowsAwayASolutionTimedToTheTick) {
    // A block drops down a shaft past a side opening one cell high; only a
    // push in the eight ticks its top edge is in that row gets it to its
    // partner, which the tar holds in place.
    board({
        "                ",
        "   #####        ",
        "   #a..#        ",
        "   ##.###       ",
        "    #.#         ",
        "    #.##        ",
        "    #..a#       ",
        "    #.#T#       ",
        "    #.#         ",
        "    #.#         ",
        "    ###         ",
    });
    EXPECT_FALSE(solver::solve(0, quick()).solved) << "no answer from rest states";

    std::set<int32_t> working;
    for (int32_t t = 40; t < 140; ++t) {
        const std::vector<solver::Click> clicks = {{24, 0, BUTTON_RIGHT, 4, 2}, {t, 0, BUTTON_RIGHT, 5, 6}};
        if (solver::replay(0, clicks, 1000) > 0) working.insert(t);
    }
    ASSERT_FALSE(working.empty()) << "the falling block can be caught";
    EXPECT_LT(*working.rbegin() - *working.begin(), 2 * solver::CLICK_MARGIN) << "but only within a narrow window";
    const std::vector<solver::Click> exact = {{24, 0, BUTTON_RIGHT, 4, 2}, {*working.begin() + 3, 0, BUTTON_RIGHT, 5, 6}};
    EXPECT_GT(solver::replay(0, exact, 1000), 0);
    EXPECT_FALSE(solver::robust(0, exact, 1000));

    solver::Limits timed = quick();
    timed.forceTimed = true;
    const solver::Result r = solver::solve(0, timed);
    EXPECT_FALSE(r.solved) << "a solution on the tick grid is too fine for a person";
}

TEST(Solver, CountsPushesMadeAtRestThoughAPushInMidFallCanSaveOne) {
    // A shaft with a side room halfway down, where the partner waits. At
    // rest it takes three pushes: the partner out of its room and down the
    // shaft, then the top block after it. Caught in mid-fall, the top block
    // steps into the side room beside its partner: two pushes.
    const std::initializer_list<const char*> shaft = {
        "                ",
        "   #####        ",
        "   #a..#        ",
        "   ##.###       ",
        "    #.#         ",
        "    #.###       ",
        "    #..a#       ",
        "    #.###       ",
        "    #.#         ",
        "    #.#         ",
        "    ###         ",
    };
    board(shaft);
    const solver::Result r = solver::solve(0, quick());
    expectPlayable(r);
    EXPECT_EQ(r.pushes, 3);

    std::set<int32_t> working;
    for (int32_t t = 40; t < 160; ++t) {
        board(shaft);
        const std::vector<solver::Click> clicks = {{24, 0, BUTTON_RIGHT, 4, 2}, {t, 0, BUTTON_RIGHT, 5, 6}};
        if (solver::replay(0, clicks, 1000) > 0) working.insert(t);
    }
    ASSERT_FALSE(working.empty()) << "two pushes, the second in mid-fall, clear it";
    EXPECT_GE(working.size(), 8u) << "in a window a person can hit";
}

TEST(Solver, NeverExploresABoardWithAKindDownToOneBlock) {
    // Three of a kind: joining the pair on the floor first strands the third
    // block, and nothing after that is explored.
    board(THREE_OF_A_KIND);
    const solver::Result r = solver::solve(0, quick());
    expectPlayable(r);
    EXPECT_GT(r.hopeless, 0);

    // Each kind down to one block is hopeless; an empty kind, or two, is not.
    board({"            ", "  #########", "  #a..b..b#", "  #########"});
    solver::startLevel(0);
    EXPECT_TRUE(solver::hopelessBoard());
    board({"            ", "  #########", "  #a.ab..b#", "  #########"});
    solver::startLevel(0);
    EXPECT_FALSE(solver::hopelessBoard());
    board({"            ", "  #########", "  #a.aR..T#", "  #########"});
    solver::startLevel(0);
    EXPECT_FALSE(solver::hopelessBoard()) << "a single rock or tar needs no partner";
}

TEST(Solver, AnswersForTheBoardAnOpeningLeaves) {
    // Three of a kind with one wrong first push: after it the level cannot
    // be cleared; after the right one, two more pushes clear it.
    board(THREE_OF_A_KIND);
    const solver::Result best = solver::solve(0, quick());
    ASSERT_TRUE(best.solved);
    solver::Limits after = quick();
    after.opening = {best.clicks.front()};
    const solver::Result right = solver::solve(0, after);
    expectPlayable(right);
    EXPECT_EQ(right.pushes, best.pushes);
    EXPECT_EQ(right.clicks.front().tick, best.clicks.front().tick);

    // The pair on the floor joined first strands the third block.
    after.opening = {{best.clicks.front().tick, 1, BUTTON_RIGHT, 6, 4}};
    const solver::Result wrong = solver::solve(0, after);
    EXPECT_FALSE(wrong.solved);
    EXPECT_EQ(wrong.why, "no solution");
}

TEST(Solver, CountsProcessorTimeNotTheClockOnTheWall) {
    const double before = solver::cpuSeconds();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_LT(solver::cpuSeconds() - before, 0.05) << "a sleeping solver spends no budget";
    volatile uint64_t spin = 0;
    const double busy = solver::cpuSeconds();
    while (solver::cpuSeconds() - busy < 0.1) ++spin;
    EXPECT_GT(spin, 0u);
}

// The least narrowing over every split of the columns into groups of two or
// more, tried one by one: the group holding the first column left, then the rest.
int32_t everySplit(std::vector<int32_t> left) {
    if (left.empty()) return 0;
    constexpr int32_t NONE = 1 << 20;
    int32_t best = NONE;
    const int32_t n = static_cast<int32_t>(left.size());
    for (uint32_t mask = 1; mask < (1u << n); mask += 2) {  // always holding left[0]
        std::vector<int32_t> group, rest;
        for (int32_t k = 0; k < n; ++k) (mask & (1u << k) ? group : rest).push_back(left[k]);
        if (group.size() < 2) continue;
        const int32_t span = *std::max_element(group.begin(), group.end()) - *std::min_element(group.begin(), group.end());
        const int32_t others = everySplit(rest);
        if (others < NONE) best = std::min(best, std::max(0, span - static_cast<int32_t>(group.size() - 1)) + others);
    }
    return best;
}

TEST(Solver, BoundIsTheLeastNarrowingOverEverySplitOfAKind) {
    // The walk along the sorted columns against every split tried: equal on
    // seeded random kinds of two to ten blocks, crowded and spread.
    std::mt19937 rng(20261208);
    for (int trial = 0; trial < 400; ++trial) {
        const int32_t n = 2 + static_cast<int32_t>(rng() % 9);
        const int32_t width = 1 + static_cast<int32_t>(rng() % 14);
        std::vector<int32_t> columns(n);
        for (int32_t& c : columns) c = static_cast<int32_t>(rng() % (width + 1));
        ASSERT_EQ(solver::fewestToGroup(columns.data(), n), everySplit(columns)) << "trial " << trial;
    }
    // Worked cases: a pair four apart needs three; twelve of a kind every
    // third column need two a pair, twelve, where the closest pair alone
    // would say two; twelve with neighbours among them need only the ends
    // brought in.
    const int32_t pair[] = {2, 6};
    EXPECT_EQ(solver::fewestToGroup(pair, 2), 3);
    const int32_t spread[] = {0, 3, 6, 9, 12, 15, 18, 21, 24, 27, 30, 33};
    EXPECT_EQ(solver::fewestToGroup(spread, 12), 12);
    const int32_t neighbours[] = {17, 0, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15};
    EXPECT_EQ(solver::fewestToGroup(neighbours, 12), 2);
    const int32_t lone[] = {7};
    EXPECT_EQ(solver::fewestToGroup(lone, 1), 0) << "a lone block is the hopeless check's, not the bound's";
}

TEST(Solver, GuidedByItsBoundFindsAsFewPushesAsBreadthFirstWithLessWork) {
    // Pairs far apart on one floor (fourteen pushes), and a group of three
    // over a ledge: the bound (columns between the closest blocks of a kind)
    // steers the search to the pushes that bring them together.
    const std::initializer_list<const char*> boards[] = {
        {"                ", " ############## ", " #a....b.....a# ", " #b...........# ", " ############## "},
        THREE_OF_A_KIND,
    };
    solver::Limits breadthFirst = quick();
    breadthFirst.guided = false;
    for (const auto& rows : boards) {
        const auto [guided, wide] = solveTwoWays(rows, breadthFirst);
        ASSERT_TRUE(wide.solved) << wide.why;
        expectPlayable(guided);
        EXPECT_EQ(guided.pushes, wide.pushes);
        EXPECT_LE(guided.states, wide.states);
    }
    const auto [guided, wide] = solveTwoWays(boards[0], breadthFirst);
    EXPECT_LT(guided.states * 4, wide.states) << "far fewer boards explored";
    // Pushes played in turns, those that could still finish soonest first.
    solver::Limits allAtOnce = quick();
    allAtOnce.lookAhead = false;
    const auto [inTurns, atOnce] = solveTwoWays(boards[0], allAtOnce);
    EXPECT_EQ(inTurns.pushes, atOnce.pushes);
    EXPECT_LT(inTurns.pushesPlayed, atOnce.pushesPlayed);
}

TEST(Solver, ShortcutsReachTheSameBoardsOnTheSameTicks) {
    // Stacks on high ledges over a deep floor: every push drops blocks many
    // rows, stacked blocks fall with the gaps their slot order gives them,
    // and blocks land on blocks still falling. Falls played as jumps, and
    // pushes into walls and blocks left unplayed, must leave every board,
    // tick and solution as playing every tick and every push does.
    const std::initializer_list<const char*> boards[] = {
        {"                ", " ############## ", " #ab.....ba...# ", " #ba.....ab...# ", " ###.....###..# ",
         " #............# ", " #............# ", " #............# ", " #............# ", " #.....a......# ",
         " ############## "},
        {"                ", " ##########     ", " #abc.....#     ", " #bca.....#     ", " ####.....#     ",
         " #........#     ", " #........#     ", " #........#     ", " #..c.....#     ", " ##########     "},
    };
    solver::Limits plain = quick();
    plain.runFallsAhead = false;
    plain.skipRefused = false;
    for (const auto& rows : boards) {
        const auto [ahead, stepped] = solveTwoWays(rows, plain);
        ASSERT_TRUE(stepped.solved) << stepped.why;
        expectPlayable(ahead);
        EXPECT_GT(ahead.ticksRunAhead, 0) << "some falls were played as jumps";
        EXPECT_EQ(stepped.ticksRunAhead, 0);
        EXPECT_EQ(ahead.pushes, stepped.pushes);
        EXPECT_EQ(ahead.ticks, stepped.ticks);
        EXPECT_EQ(ahead.states, stepped.states) << "the same boards explored";
        EXPECT_EQ(ahead.pushesPlayed, stepped.pushesPlayed) << "only refused pushes left unplayed";
        EXPECT_EQ(ahead.hopeless, stepped.hopeless);
        ASSERT_EQ(ahead.clicks.size(), stepped.clicks.size());
        for (size_t i = 0; i < ahead.clicks.size(); ++i) {
            EXPECT_EQ(ahead.clicks[i].tick, stepped.clicks[i].tick) << i;
            EXPECT_EQ(ahead.clicks[i].slot, stepped.clicks[i].slot) << i;
            EXPECT_EQ(ahead.clicks[i].button, stepped.clicks[i].button) << i;
        }
    }
}

TEST(Solver, TriesPushesThatNeverTouchInOneOrderOnlyAndFindsTheSameFewest) {
    // Small rooms with blocks dropped at random: pushes that start cascades
    // side by side, next to each other's falls and into each other's rows.
    // Trying pushes that never touch in one order only must leave every
    // answer as trying every order gives it, with less played. So must
    // leaving for later the pushes the bound, read one push ahead, says
    // cannot finish in time: on ledges and steps, with tar and rocks.
    // First a board found among thousands of such rooms: two of its pushes
    // must come in one order, and their areas touch without overlapping.
    // Taking them as independent whenever the areas do not overlap loses
    // its only solution.
    const std::initializer_list<const char*> touching = {
        "                ", " ###########    ", " #.........#    ", " #.c.......#    ", " #.b.......#    ",
        " #.acb....c#    ", " #a#ab.a..b#    ", " ###########    ",
    };
    solver::Limits everyOrder = quick();
    everyOrder.commute = false;
    const auto [once, every] = solveTwoWays(touching, everyOrder);
    ASSERT_TRUE(every.solved) << every.why;
    expectPlayable(once);
    EXPECT_EQ(once.pushes, every.pushes);

    std::mt19937 rng(12);
    int32_t compared = 0, solvedBoth = 0;
    int64_t playedOnce = 0, playedEvery = 0, putOff = 0;
    for (int32_t n = 0; n < 300; ++n) {
        std::vector<std::string> rows(8, std::string(16, ' '));
        const int32_t width = 5 + static_cast<int32_t>(rng() % 4);
        for (int32_t c = 1; c <= width + 2; ++c) rows[1][c] = rows[7][c] = '#';
        for (int32_t r = 2; r <= 6; ++r) {
            rows[r][1] = rows[r][width + 2] = '#';
            for (int32_t c = 2; c <= width + 1; ++c) rows[r][c] = '.';
        }
        if (rng() % 2) rows[6][2 + static_cast<int32_t>(rng() % width)] = '#';  // a step in the floor
        if (n % 3 == 1) rows[4][2 + static_cast<int32_t>(rng() % width)] = '#';  // a ledge
        const auto drop = [&](char block) {
            const int32_t c = 2 + static_cast<int32_t>(rng() % width);
            int32_t r = 2;
            if (rows[r][c] != '.') return;
            while (rows[r + 1][c] == '.') ++r;
            rows[r][c] = block;
        };
        if (n % 5 == 3) drop('T');  // tar on the floor, to pin what lands on it
        const int32_t kinds = 2 + static_cast<int32_t>(rng() % 2);
        for (int32_t k = 0; k < kinds; ++k) {
            const int32_t count = 2 + static_cast<int32_t>(rng() % 3);
            for (int32_t i = 0; i < count; ++i) drop(static_cast<char>('a' + k));
        }
        if (n % 4 == 2) drop('R');  // a rock, which never breaks
        std::vector<const char*> lines;
        for (const std::string& row : rows) lines.push_back(row.c_str());
        const auto lay = [&] {
            resetGame();
            for (auto& row : game.levels[0])
                for (int32_t& cell : row) cell = 0;
            for (int32_t r = 0; r < static_cast<int32_t>(rows.size()); ++r)
                for (int32_t c = 0; c < 16; ++c) game.levels[0][r][c] = levelmap::codeForChar(rows[r][c]);
        };
        solver::Limits once = quick();
        once.maxStates = 30000;
        solver::Limits every = once;
        every.commute = false;
        solver::Limits unread = once;
        unread.lookAhead = false;
        lay();
        const solver::Result a = solver::solve(0, once);
        lay();
        const solver::Result b = solver::solve(0, every);
        lay();
        const solver::Result c = solver::solve(0, unread);
        const auto finished = [](const solver::Result& r) { return r.solved || r.why == "no solution"; };
        if (!finished(a) || !finished(b) || !finished(c)) continue;
        ++compared;
        std::string picture;
        for (const std::string& row : rows) picture += row + "\n";
        ASSERT_EQ(a.solved, b.solved) << picture;
        ASSERT_EQ(a.solved, c.solved) << picture;
        if (a.solved) {
            ++solvedBoth;
            EXPECT_EQ(a.pushes, b.pushes) << picture;
            EXPECT_EQ(a.pushes, c.pushes) << picture;
            EXPECT_EQ(solver::replay(0, a.clicks, solver::TWO_THIRDS_CLOCK), a.ticks) << picture;
        }
        playedOnce += a.pushesPlayed;
        playedEvery += b.pushesPlayed;
        putOff += a.putOff;
    }
    EXPECT_GE(compared, 40);
    EXPECT_GE(solvedBoth, 15);
    EXPECT_LT(playedOnce, playedEvery) << "fewer pushes played";
    EXPECT_GT(putOff, 0) << "some pushes were left for a later turn";
}

TEST(Solver, SolvesABoardOfRoomsApartRoomByRoom) {
    // Four rooms of eight blocks each, 32 in all: four pairs in a row per
    // room, joined one after another. Searched whole, the rooms multiply
    // one another's boards; room by room they add up.
    const std::initializer_list<const char*> rooms = {
        "                ",
        "################",
        "#a.ab.bc.cd.d..#",
        "################",
        "#e.e.f..fg.gb.b#",
        "################",
        "#c..c.d.da.ab.b#",
        "################",
        "#f.f.g..ge.ea.a#",
        "################",
    };
    board(rooms);
    const solver::Result r = solver::solve(0, quick());
    expectPlayable(r);
    EXPECT_LT(r.seconds, 5.0);

    // The same pushes as the rooms searched one at a time.
    int32_t sum = 0;
    for (int room = 0; room < 4; ++room) {
        std::vector<const char*> alone;
        for (int row = 0; row < 10; ++row) {
            const bool mine = row == 2 + 2 * room;
            alone.push_back(mine || row == 0 ? rooms.begin()[row] : "################");
        }
        resetGame();
        for (auto& line : game.levels[0])
            for (int32_t& cell : line) cell = 0;
        for (int row = 0; row < 10; ++row)
            for (int c = 0; c < 16; ++c) game.levels[0][row][c] = levelmap::codeForChar(alone[row][c]);
        const solver::Result one = solver::solve(0, quick());
        ASSERT_TRUE(one.solved) << "room " << room << ": " << one.why;
        sum += one.pushes;
    }
    EXPECT_EQ(r.pushes, sum);

    // Searched whole, the same board runs through a budget the rooms never need.
    board(rooms);
    solver::Limits whole = quick();
    whole.byRooms = false;
    whole.maxStates = 20 * r.states;
    const solver::Result all = solver::solve(0, whole);
    EXPECT_TRUE(!all.solved || all.pushes == r.pushes);
    EXPECT_GT(all.states, 4 * r.states);
}

}  // namespace
