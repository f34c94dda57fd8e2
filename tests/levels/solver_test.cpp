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

#include "game/game_context.h"
#include "solver/solver.h"
#include "tools/levels/level_map.h"

namespace {

// Lays rows of map characters (legend of the level maps) into board 0 of a
// level set of its own.
template <typename Rows>
GameContext board(const Rows& rows) {
    GameContext set;
    int r = 0;
    for (const auto& row : rows) {
        const std::string line(row);
        for (int c = 0; c < static_cast<int>(line.size()) && c < 16; ++c) {
            const int32_t code = levelmap::codeForChar(line[c]);
            EXPECT_GE(code, 0) << "row " << r << " column " << c;
            set.levels[0][r][c] = code;
        }
        ++r;
    }
    return set;
}

GameContext board(std::initializer_list<const char*> rows) { return board<>(rows); }

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
    const GameContext set = board(rows);
    return TwoWays{solver::solve(set, 0, quick()), solver::solve(set, 0, other)};
}

void expectPlayable(const GameContext& set, const solver::Result& r) {
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
    EXPECT_EQ(solver::replay(set, 0, r.clicks, solver::TWO_THIRDS_CLOCK), r.ticks);
    EXPECT_TRUE(solver::robust(set, 0, r.clicks, solver::TWO_THIRDS_CLOCK));
}

TEST(Solver, OnePushJoinsAPair) {
    const GameContext set = board({
        "                ",
        "  ######        ",
        "  #....#        ",
        "  #a.a.#        ",
        "  ######        ",
    });
    const solver::Result r = solver::solve(set, 0, quick());
    expectPlayable(set, r);
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
    const GameContext set = board(THREE_OF_A_KIND);
    const solver::Result r = solver::solve(set, 0, quick());
    expectPlayable(set, r);
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
        const GameContext set = board(c.rows);
        const solver::Result r = solver::solve(set, 0, quick());
        EXPECT_FALSE(r.solved) << c.name;
        EXPECT_EQ(r.why, "no solution") << c.name;
        EXPECT_LT(r.seconds, 2.0) << c.name;
        EXPECT_GT(r.states + r.hopeless, 0) << c.name << ": explored, or seen to be hopeless";
    }
}

TEST(Solver, GivesUpAtItsLimits) {
    // Three pairs with room to move and a lift to wait for: far more states
    // than allowed before an answer.
    const GameContext set = board({
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
    solver::Result r = solver::solve(set, 0, limits);
    EXPECT_FALSE(r.solved);
    EXPECT_EQ(r.why, "state limit");
    EXPECT_LE(r.states, 500);

    limits.maxStates = 10000000;
    limits.maxSeconds = 0.2;
    r = solver::solve(set, 0, limits);
    EXPECT_FALSE(r.solved);
    EXPECT_EQ(r.why, "time limit");
    EXPECT_LT(r.seconds, 1.0);
}

TEST(Solver, RefusesALevelThatClearsWithoutAPush) {
    const GameContext set = board({"            ", "  ######", "  #.aa.#", "  ######"});
    const solver::Result r = solver::solve(set, 0, quick());
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
    const GameContext set = board(LIFT_BOARD);
    const solver::Result r = solver::solve(set, 0, quick());
    expectPlayable(set, r);
    EXPECT_TRUE(r.timed);
    EXPECT_EQ(r.pushes, 3);

    // The same pushes made as fast as a person can click miss the lift.
    std::vector<solver::Click> hasty = r.clicks;
    for (size_t i = 0; i < hasty.size(); ++i) hasty[i].tick = solver::CLICK_SPACING * static_cast<int32_t>(i + 1);
    EXPECT_EQ(solver::replay(set, 0, hasty, solver::TWO_THIRDS_CLOCK), -1);
    EXPECT_GT(r.clicks.back().tick, hasty.back().tick + 40);
}

TEST(Solver, MovesAClickOffTheEdgeOfItsWindow) {
    const GameContext set = board(LIFT_BOARD);
    const solver::Result r = solver::solve(set, 0, quick());
    ASSERT_TRUE(r.solved) << r.why;
    // The push onto the lift, made on the first tick that still works.
    const size_t boarding = 1;
    std::vector<solver::Click> edge = r.clicks;
    while (edge[boarding].tick > edge[boarding - 1].tick + solver::CLICK_SPACING) {
        --edge[boarding].tick;
        if (solver::replay(set, 0, edge, solver::TWO_THIRDS_CLOCK) < 0) {
            ++edge[boarding].tick;
            break;
        }
    }
    ASSERT_GT(solver::replay(set, 0, edge, solver::TWO_THIRDS_CLOCK), 0);
    ASSERT_FALSE(solver::robust(set, 0, edge, solver::TWO_THIRDS_CLOCK)) << "a tick earlier misses the lift";

    std::vector<solver::Click> moved = edge;
    int32_t clearedAt = 0;
    ASSERT_TRUE(solver::steady(set, 0, moved, solver::TWO_THIRDS_CLOCK, &clearedAt));
    EXPECT_GE(moved[boarding].tick, edge[boarding].tick + solver::CLICK_MARGIN);
    EXPECT_TRUE(solver::robust(set, 0, moved, solver::TWO_THIRDS_CLOCK));
    EXPECT_EQ(solver::replay(set, 0, moved, solver::TWO_THIRDS_CLOCK), clearedAt);
}

TEST(Solver, ThrowsAwayASolutionTimedToTheTick) {
    // A block drops down a shaft past a side opening one cell high; only a
    // push in the eight ticks its top edge is in that row gets it to its
    // partner, which the tar holds in place.
    const GameContext set = board({
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
    EXPECT_FALSE(solver::solve(set, 0, quick()).solved) << "no answer from rest states";

    std::set<int32_t> working;
    for (int32_t t = 40; t < 140; ++t) {
        const std::vector<solver::Click> clicks = {{24, 0, BUTTON_RIGHT, 4, 2}, {t, 0, BUTTON_RIGHT, 5, 6}};
        if (solver::replay(set, 0, clicks, 1000) > 0) working.insert(t);
    }
    ASSERT_FALSE(working.empty()) << "the falling block can be caught";
    EXPECT_LT(*working.rbegin() - *working.begin(), 2 * solver::CLICK_MARGIN) << "but only within a narrow window";
    const std::vector<solver::Click> exact = {{24, 0, BUTTON_RIGHT, 4, 2}, {*working.begin() + 3, 0, BUTTON_RIGHT, 5, 6}};
    EXPECT_GT(solver::replay(set, 0, exact, 1000), 0);
    EXPECT_FALSE(solver::robust(set, 0, exact, 1000));

    solver::Limits timed = quick();
    timed.forceTimed = true;
    const solver::Result r = solver::solve(set, 0, timed);
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
    const GameContext set = board(shaft);
    const solver::Result r = solver::solve(set, 0, quick());
    expectPlayable(set, r);
    EXPECT_EQ(r.pushes, 3);

    std::set<int32_t> working;
    for (int32_t t = 40; t < 160; ++t) {
        const std::vector<solver::Click> clicks = {{24, 0, BUTTON_RIGHT, 4, 2}, {t, 0, BUTTON_RIGHT, 5, 6}};
        if (solver::replay(set, 0, clicks, 1000) > 0) working.insert(t);
    }
    ASSERT_FALSE(working.empty()) << "two pushes, the second in mid-fall, clear it";
    EXPECT_GE(working.size(), 8u) << "in a window a person can hit";
}

TEST(Solver, NeverExploresABoardWithAKindDownToOneBlock) {
    // Three of a kind: joining the pair on the floor first strands the third
    // block, and nothing after that is explored.
    const GameContext set = board(THREE_OF_A_KIND);
    const solver::Result r = solver::solve(set, 0, quick());
    expectPlayable(set, r);
    EXPECT_GT(r.hopeless, 0);

    // Each kind down to one block is hopeless; an empty kind, or two, is not.
    const auto hopeless = [](std::initializer_list<const char*> rows) {
        GameContext g = board(rows);
        g.startFreshLevel(0);
        return solver::hopelessBoard(g);
    };
    EXPECT_TRUE(hopeless({"            ", "  #########", "  #a..b..b#", "  #########"}));
    EXPECT_FALSE(hopeless({"            ", "  #########", "  #a.ab..b#", "  #########"}));
    EXPECT_FALSE(hopeless({"            ", "  #########", "  #a.aR..T#", "  #########"}))
        << "a single rock or tar needs no partner";
}

TEST(Solver, AnswersForTheBoardAnOpeningLeaves) {
    // Three of a kind with one wrong first push: after it the level cannot
    // be cleared; after the right one, two more pushes clear it.
    const GameContext set = board(THREE_OF_A_KIND);
    const solver::Result best = solver::solve(set, 0, quick());
    ASSERT_TRUE(best.solved);
    solver::Limits after = quick();
    after.opening = {best.clicks.front()};
    const solver::Result right = solver::solve(set, 0, after);
    expectPlayable(set, right);
    EXPECT_EQ(right.pushes, best.pushes);
    EXPECT_EQ(right.clicks.front().tick, best.clicks.front().tick);

    // The pair on the floor joined first strands the third block.
    after.opening = {{best.clicks.front().tick, 1, BUTTON_RIGHT, 6, 4}};
    const solver::Result wrong = solver::solve(set, 0, after);
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
        expectPlayable(board(rows), guided);
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
        expectPlayable(board(rows), ahead);
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

TEST(Solver, GuidedFindsAsFewPushesAsBreadthFirstOnRandomWideRooms) {
    // Wide rooms with few blocks of a kind dropped far apart: blocks left
    // with no like block they could meet unpushed, in columns a window of
    // three apart, which the bound counts a push each. Guided by it, the
    // search must find exactly the pushes plain breadth-first finds. The
    // last eighty have three to five blocks of a kind, stacked: the bound
    // splits each kind into groups and counts the columns from a block to
    // the nearest of its group.
    std::mt19937 rng(2026);
    int32_t compared = 0;
    for (int32_t n = 0; n < 240; ++n) {
        const int32_t fewest = n < 160 ? 2 : 3, more = n < 160 ? 2 : 3;
        std::vector<std::string> rows(7, std::string(16, ' '));
        const int32_t width = 8 + static_cast<int32_t>(rng() % 5);
        for (int32_t c = 1; c <= width + 2; ++c) rows[1][c] = rows[6][c] = '#';
        for (int32_t r = 2; r <= 5; ++r) {
            rows[r][1] = rows[r][width + 2] = '#';
            for (int32_t c = 2; c <= width + 1; ++c) rows[r][c] = '.';
        }
        for (int32_t s = rng() % 3; s > 0; --s) rows[5 - rng() % 2][2 + rng() % width] = '#';  // steps and ledges
        for (int32_t k = 0, kinds = 2 + rng() % 2; k < kinds; ++k)
            for (int32_t i = 0, count = fewest + rng() % more; i < count; ++i) {
                const int32_t c = 2 + static_cast<int32_t>(rng() % width);
                int32_t r = 2;
                if (rows[r][c] != '.') continue;
                while (rows[r + 1][c] == '.') ++r;
                rows[r][c] = static_cast<char>('a' + k);
            }
        const GameContext set = board(rows);
        solver::Limits guided = quick();
        guided.maxStates = 40000;
        solver::Limits wide = guided;
        wide.guided = false;
        const solver::Result a = solver::solve(set, 0, guided);
        const solver::Result b = solver::solve(set, 0, wide);
        if (!b.solved && b.why != "no solution") continue;
        ++compared;
        std::string picture;
        for (const std::string& row : rows) picture += row + "\n";
        ASSERT_EQ(a.solved, b.solved) << picture << a.why;
        EXPECT_EQ(a.solved ? a.pushes : -1, b.solved ? b.pushes : -1) << picture;
    }
    EXPECT_GE(compared, 85);
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
    expectPlayable(board(touching), once);
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
        const GameContext set = board(rows);
        solver::Limits once = quick();
        once.maxStates = 30000;
        solver::Limits every = once;
        every.commute = false;
        solver::Limits unread = once;
        unread.lookAhead = false;
        const solver::Result a = solver::solve(set, 0, once);
        const solver::Result b = solver::solve(set, 0, every);
        const solver::Result c = solver::solve(set, 0, unread);
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
            EXPECT_EQ(solver::replay(set, 0, a.clicks, solver::TWO_THIRDS_CLOCK), a.ticks) << picture;
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
    const GameContext set = board(rooms);
    const solver::Result r = solver::solve(set, 0, quick());
    expectPlayable(set, r);
    EXPECT_LT(r.seconds, 5.0);

    // The same pushes as the rooms searched one at a time.
    int32_t sum = 0;
    for (int room = 0; room < 4; ++room) {
        std::vector<const char*> alone;
        for (int row = 0; row < 10; ++row) {
            const bool mine = row == 2 + 2 * room;
            alone.push_back(mine || row == 0 ? rooms.begin()[row] : "################");
        }
        const solver::Result one = solver::solve(board(alone), 0, quick());
        ASSERT_TRUE(one.solved) << "room " << room << ": " << one.why;
        sum += one.pushes;
    }
    EXPECT_EQ(r.pushes, sum);

    // Searched whole, the same board runs through a budget the rooms never need.
    solver::Limits whole = quick();
    whole.byRooms = false;
    whole.maxStates = 20 * r.states;
    const solver::Result all = solver::solve(set, 0, whole);
    EXPECT_TRUE(!all.solved || all.pushes == r.pushes);
    EXPECT_GT(all.states, 4 * r.states);
}

TEST(Solver, SearchesEachRoomWithOnlyItsOwnBlocks) {
    // Two rooms whose slots interleave: the left room's pair has a block
    // before the right room's pair in reading order and one after, and the
    // tar comes last. Each room is searched alone with all the tar; one that
    // kept a block of the other room would have a kind with no partner.
    const GameContext set = board({
        "                ",
        "  ###########   ",
        "  #a....#b.b#   ",
        "  ####.a#####   ",
        "     ###T       ",
    });
    const solver::Result r = solver::solve(set, 0, quick());
    expectPlayable(set, r);
    EXPECT_EQ(r.pushes, 4);
    solver::Limits whole = quick();
    whole.byRooms = false;
    EXPECT_EQ(solver::solve(set, 0, whole).pushes, r.pushes);
}

TEST(Solver, StartsTheLevelAfreshWhateverTheSetHolds) {
    // A set in the middle of a game (a block moved, a blink running, the
    // clock nearly out, the chain bonus armed) answers as one fresh from its
    // file does.
    const GameContext fresh = board(THREE_OF_A_KIND);
    GameContext played = fresh;
    played.startFreshLevel(0);
    played.blocks[0].x += CELL_PIXELS;
    played.elimDelay = 7;
    played.settleTicks = 3;
    played.clock = 1;
    played.clockSubTicks = 2;
    played.comboFlag = 1;
    played.levelIndex = 4;
    const solver::Result r = solver::solve(fresh, 0, quick());
    const solver::Result again = solver::solve(played, 0, quick());
    ASSERT_TRUE(again.solved) << again.why;
    EXPECT_EQ(again.pushes, r.pushes);
    EXPECT_EQ(again.ticks, r.ticks);
    EXPECT_EQ(again.states, r.states);
    EXPECT_EQ(solver::replay(played, 0, r.clicks, solver::TWO_THIRDS_CLOCK), r.ticks);
    const std::vector<ReplayClick> pointer = solver::pointerClicks(played, 0, r.clicks);
    ASSERT_EQ(pointer.size(), r.clicks.size());
    for (size_t i = 0; i < pointer.size(); ++i) EXPECT_EQ(pointer[i].tick, r.clicks[i].tick) << i;

    // A level the set does not have is no board left over from the game, and
    // a click must name a block.
    for (int32_t n : {-1, LEVEL_COUNT}) {
        EXPECT_EQ(solver::solve(played, n, quick()).why, "no such level") << n;
        EXPECT_EQ(solver::replay(played, n, r.clicks, solver::TWO_THIRDS_CLOCK), -1) << n;
        EXPECT_TRUE(solver::pointerClicks(played, n, r.clicks).empty()) << n;
    }
    EXPECT_EQ(solver::replay(fresh, 0, {{24, MAX_BLOCKS, BUTTON_LEFT, 0, 0}}, solver::TWO_THIRDS_CLOCK), -1);
}

}  // namespace
