#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <random>
#include <sstream>
#include <vector>

#include "rules/board_picture.h"

namespace {

using picture::cellX;
using picture::cellY;
using picture::game;
using picture::heard;
using picture::slotAt;

// A level that stays in play: one ordinary block resting alone.
void playQuietLevel() {
    picture::play({"################", "#..............#", "#......a.......#", "################"});
}

// [SECTION] The level clock

TEST(Clock, FirstUnitAfterStartLasts121Ticks) {
    playQuietLevel();
    picture::ticks(120);
    EXPECT_EQ(game.clock, 99);
    picture::tick();
    EXPECT_EQ(game.clock, 98) << "after the 121st tick";
    picture::ticks(100);
    EXPECT_EQ(game.clock, 98);
    picture::tick();
    EXPECT_EQ(game.clock, 97) << "after the 222nd tick";
    EXPECT_EQ(game.state, STATE_PLAY);
}

TEST(Clock, ALevelStartedFreshLosesItsFirstUnitAfter101Ticks) {
    // As replays and the solver start their levels: the run begins again
    // from whatever the game was doing.
    playQuietLevel();
    game.score = 500;
    game.clock = 0;
    game.clockSubTicks = 3;
    game.state = STATE_TIME_OVER;
    game.startFreshLevel(0);
    EXPECT_EQ(game.state, STATE_TIME_OVER) << "which screen shows is the shell's to change";
    game.state = STATE_PLAY;
    EXPECT_EQ(game.score, 0);
    picture::ticks(100);
    EXPECT_EQ(game.clock, 99);
    picture::tick();
    EXPECT_EQ(game.clock, 98);
}

TEST(Clock, ShowsZeroFor101TicksThenTimeIsOver) {
    playQuietLevel();
    game.clock = 1;
    game.clockSubTicks = 0;
    picture::tick();
    ASSERT_EQ(game.clock, 0);
    for (int32_t t = 1; t <= 100; ++t) {
        picture::tick();
        ASSERT_EQ(game.clock, 0) << "tick " << t;
        ASSERT_EQ(game.state, STATE_PLAY) << "tick " << t;
    }
    picture::tick();
    EXPECT_EQ(game.state, STATE_TIME_OVER);
    EXPECT_EQ(game.clock, 0);
    EXPECT_EQ(game.clockSubTicks, 0);
    EXPECT_EQ(heard(EVENT_TIME_OVER), 1);

    // "Try Again?" starts the run's score again, and the retried level's
    // clock drops at once.
    game.score = 350;
    game.retryLevel();
    EXPECT_EQ(game.score, 0);
    picture::tick();
    EXPECT_EQ(game.clock, 98);
}

TEST(Clock, RestartInTheTickTimeRunsOutPlaysOnForOneTick) {
    // The dustbin pressed in the very tick the time runs out puts the level
    // back and play goes on, but with an empty clock the next tick ends it.
    playQuietLevel();
    game.clock = 0;
    game.clockSubTicks = 0;
    picture::press(BUTTON_LEFT, 290, 550);
    const TickEvents last = picture::tick();
    ASSERT_EQ(last.count, 2);
    EXPECT_EQ(last.list[0], EVENT_TIME_OVER);
    EXPECT_EQ(last.list[1], EVENT_RESTARTED);
    EXPECT_EQ(game.state, STATE_PLAY);
    EXPECT_EQ(game.clock, 0);
    picture::tick();
    EXPECT_EQ(game.state, STATE_TIME_OVER);
    EXPECT_EQ(heard(EVENT_TIME_OVER), 2);
}

TEST(Clock, TheRelaxedClockStandsAndNeverRunsOut) {
    playQuietLevel();
    game.relaxedClock = true;
    game.clock = 1;
    game.clockSubTicks = 0;
    picture::ticks(LEVEL_CLOCK * (CLOCK_UNIT_TICKS + 1) * 2);
    EXPECT_EQ(game.clock, 1);
    EXPECT_EQ(game.state, STATE_PLAY);
    game.relaxedClock = false;
    picture::ticks(CLOCK_UNIT_TICKS + 2);
    EXPECT_EQ(game.state, STATE_TIME_OVER) << "with the clock on again it runs as before";
}

TEST(Clock, TimeOverStillFinishesTheTick) {
    // The last block goes in the very tick the time runs out: the level ends cleared.
    picture::play({"################", "#..............#", "#....aa........#", "################"});
    game.blocks[0].marked = 1;
    game.blocks[1].marked = 1;
    game.elimDelay = 1;
    game.clock = 0;
    game.clockSubTicks = 0;
    picture::tick();
    EXPECT_EQ(game.blocks[0].alive, 0);
    EXPECT_EQ(game.state, STATE_LEVEL_COMPLETE);
    EXPECT_EQ(heard(EVENT_TIME_OVER), 1);
    EXPECT_EQ(heard(EVENT_LEVEL_CLEARED), 1);
}

// [SECTION] Elimination within play ticks

TEST(PlayTick, PairBlinksTwentyTicksWhileClicksAreLost) {
    picture::play({
        "################",
        "#..............#",
        "#....aab.......#",
        "################",
    });
    const int32_t other = slotAt(2, 7);
    picture::tick();
    ASSERT_EQ(game.elimDelay, 20);
    EXPECT_EQ(game.score, 20);
    EXPECT_EQ(heard(EVENT_BLOCK_MATCHED), 2);
    // Ticks 2 to 20: the board is frozen and every push is lost.
    for (int32_t t = 2; t <= 20; ++t) {
        picture::pressBlock(BUTTON_RIGHT, other);
        picture::tick();
        ASSERT_EQ(game.blocks[other].x, cellX(7)) << "tick " << t;
        ASSERT_EQ(game.blocks[0].alive, 1) << "tick " << t;
        EXPECT_EQ(game.comboFlag, 1) << "a lost click spends no chain bonus, tick " << t;
        EXPECT_EQ(game.settleTicks, 0) << "tick " << t;
    }
    EXPECT_EQ(heard(EVENT_PUSHED), 0);
    EXPECT_EQ(heard(EVENT_BLOCK_MATCHED), 2) << "the blink re-marks without scoring again";
    // Tick 21 takes the click before it removes the pair, so the blinking
    // block still bars the way.
    picture::pressBlock(BUTTON_LEFT, other);
    picture::tick();
    EXPECT_EQ(game.blocks[0].alive, 0);
    EXPECT_EQ(game.blocks[1].alive, 0);
    EXPECT_EQ(game.blocks[other].x, cellX(7));
    EXPECT_EQ(game.settleTicks, 5);
    EXPECT_EQ(game.comboFlag, 0);
    picture::pressBlock(BUTTON_LEFT, other);
    picture::tick();
    EXPECT_EQ(game.blocks[other].x, cellX(6));
    EXPECT_EQ(game.score, 20);
    EXPECT_EQ(game.state, STATE_PLAY);
}

TEST(PlayTick, LiftPausesDoNotCountDownDuringTheBlink) {
    picture::play({
        "################",
        "#.....###......#",
        "#.....#L#......#",
        "#.....#.#......#",
        "#.....###......#",
        "#..aa..........#",
        "################",
    });
    const int32_t lift = slotAt(2, 7);
    picture::tick();  // the lift turns at once, and the pair goes
    ASSERT_EQ(game.elimDelay, 20);
    ASSERT_EQ(game.blocks[lift].pauseTicks, 100);
    picture::ticks(19);
    EXPECT_EQ(game.blocks[lift].pauseTicks, 100);
    picture::tick();
    EXPECT_EQ(game.blocks[lift].pauseTicks, 99);
}

// [SECTION] The level-complete count-down

TEST(LevelComplete, CountsTheClockIntoTheScoreThenInstallsTheNextLevel) {
    playQuietLevel();
    picture::drawLevel(1, {"################", "#..............#", "#..b....b......#", "################"});
    game.state = STATE_LEVEL_COMPLETE;
    game.clock = 57;
    game.score = 400;
    for (int32_t t = 1; t < 57; ++t) {
        picture::countDownTick();
        ASSERT_EQ(game.clock, 57 - t);
        ASSERT_EQ(game.score, 400 + t);
        ASSERT_EQ(game.state, STATE_LEVEL_COMPLETE);
    }
    picture::countDownTick();
    EXPECT_EQ(game.score, 457);
    EXPECT_EQ(game.clock, 99);
    EXPECT_EQ(game.levelIndex, 1);
    EXPECT_EQ(game.state, STATE_PLAY);
    EXPECT_EQ(game.blocks[0].kind, 5);
    EXPECT_EQ(game.blocks[0].x, cellX(3));
    EXPECT_EQ(heard(EVENT_NEXT_LEVEL), 1);

    // A level cleared with nothing on the clock still earns one point.
    game.state = STATE_LEVEL_COMPLETE;
    game.clock = 0;
    picture::countDownTick();
    EXPECT_EQ(game.score, 458);
    EXPECT_EQ(game.levelIndex, 2);
    EXPECT_EQ(game.state, STATE_PLAY);
}

TEST(LevelComplete, NinthLevelFinishesTheWorld) {
    playQuietLevel();
    game.worldIndex = 3;
    for (int32_t w = 0; w < 3; ++w) game.worldStatus[w] = WORLD_FINISHED;
    game.worldStatus[3] = WORLD_OPEN;
    game.bestScore[3] = 100;
    game.score = 900;
    game.levelIndex = 8;
    game.state = STATE_LEVEL_COMPLETE;
    game.clock = 2;
    picture::countDownTick();
    EXPECT_EQ(game.state, STATE_LEVEL_COMPLETE);
    picture::countDownTick();
    EXPECT_EQ(game.state, STATE_MENU);
    EXPECT_EQ(heard(EVENT_WORLD_FINISHED), 1);
    EXPECT_EQ(heard(EVENT_NEXT_LEVEL), 0);
    EXPECT_EQ(game.levelIndex, 9);
    EXPECT_EQ(game.worldStatus[3], WORLD_FINISHED);
    EXPECT_EQ(game.worldStatus[4], WORLD_OPEN) << "finishing an open world opens the next locked one";
    EXPECT_EQ(game.worldStatus[5], WORLD_LOCKED);
    EXPECT_EQ(game.bestScore[3], 902);
    EXPECT_EQ(game.blocks[0].x, cellX(7)) << "the tenth board is never installed";
}

TEST(LevelComplete, RemovesWhatIsLeftOfTheBlink) {
    picture::play({"################", "#..............#", "#.R..a.........#", "################"});
    game.blocks[1].marked = 1;
    game.elimDelay = 2;
    game.settleTicks = 2;
    game.state = STATE_LEVEL_COMPLETE;
    game.clock = 10;
    picture::countDownTick();
    EXPECT_EQ(game.blocks[1].alive, 1);
    EXPECT_EQ(game.elimDelay, 1);
    picture::countDownTick();
    EXPECT_EQ(game.blocks[1].alive, 0);
    EXPECT_EQ(game.settleTicks, 0);
    EXPECT_EQ(game.blocks[0].y, cellY(2)) << "no board step on this screen";
}

// [SECTION] A replayed game

struct ReplayClick {
    int32_t tick, x, y, button;
};

// What a slot holds after a given tick.
struct Checkpoint {
    int32_t tick, slot, x, y;
    uint8_t alive, marked;
    int32_t score, state;
};

// Clicks at the given ticks through playTick, as frames would deliver them,
// compared with the block table at the checkpoints.
void replay(const std::vector<ReplayClick>& clicks, const std::vector<Checkpoint>& checkpoints) {
    int32_t last = 0;
    for (const Checkpoint& c : checkpoints) last = std::max(last, c.tick);
    for (int32_t t = 1; t <= last; ++t) {
        for (const ReplayClick& c : clicks)
            if (c.tick == t) picture::press(c.button, c.x, c.y);
        picture::tick();
        for (const Checkpoint& c : checkpoints) {
            if (c.tick != t) continue;
            const Block& b = game.blocks[c.slot];
            std::ostringstream where;
            where << "after tick " << t << ", slot " << c.slot;
            EXPECT_EQ(b.x, c.x) << where.str();
            EXPECT_EQ(b.y, c.y) << where.str();
            EXPECT_EQ(b.alive, c.alive) << where.str();
            EXPECT_EQ(b.marked, c.marked) << where.str();
            EXPECT_EQ(game.score, c.score) << where.str();
            EXPECT_EQ(game.state, c.state) << where.str();
        }
    }
}

TEST(Replay, TwoPushesClearTheLevel) {
    picture::play({
        "################",
        "#..............#",
        "#......a.......#",
        "#......#.......#",
        "#...a..........#",
        "################",
    });
    // Slot 0 starts on the pillar at (608, 288); slot 1 waits at (512, 352).
    replay(
        {
            {5, 624, 304, BUTTON_LEFT},   // off the pillar: it drops two rows
            {30, 592, 340, BUTTON_MIDDLE},  // does nothing
            {50, 592, 368, BUTTON_LEFT},  // beside the other one
        },
        {
            {4, 0, 608, 288, 1, 0, 0, STATE_PLAY},
            {5, 0, 576, 288, 1, 0, 0, STATE_PLAY},
            {6, 0, 576, 290, 1, 0, 0, STATE_PLAY},
            {20, 0, 576, 318, 1, 0, 0, STATE_PLAY},
            {36, 0, 576, 350, 1, 0, 0, STATE_PLAY},
            {37, 0, 576, 352, 1, 0, 0, STATE_PLAY},
            {42, 0, 576, 352, 1, 0, 0, STATE_PLAY},
            {49, 1, 512, 352, 1, 0, 0, STATE_PLAY},
            {50, 0, 544, 352, 1, 0, 0, STATE_PLAY},
            {54, 0, 544, 352, 1, 0, 0, STATE_PLAY},
            {55, 0, 544, 352, 1, 1, 20, STATE_PLAY},
            {55, 1, 512, 352, 1, 1, 20, STATE_PLAY},
            {74, 1, 512, 352, 1, 1, 20, STATE_PLAY},
            {75, 0, 544, 352, 0, 1, 20, STATE_LEVEL_COMPLETE},
            {75, 1, 512, 352, 0, 1, 20, STATE_LEVEL_COMPLETE},
        });
    EXPECT_EQ(heard(EVENT_PUSHED), 2);
    EXPECT_EQ(heard(EVENT_BLOCK_MATCHED), 2);
    EXPECT_EQ(heard(EVENT_LEVEL_CLEARED), 1);
    EXPECT_EQ(game.clock, 99);
    EXPECT_EQ(game.clockSubTicks, 45);
}

TEST(Replay, RestartMidwayPutsTheLevelBack) {
    picture::play({
        "################",
        "#..............#",
        "#......a.......#",
        "#......#.......#",
        "#...a..........#",
        "################",
    });
    game.score = 70;
    replay(
        {
            {3, 624, 304, BUTTON_LEFT},
            {12, 290, 550, BUTTON_LEFT},  // the dustbin, while the block is still falling
        },
        {
            {11, 0, 576, 304, 1, 0, 70, STATE_PLAY},
            {12, 0, 608, 288, 1, 0, 70, STATE_PLAY},
            {40, 0, 608, 288, 1, 0, 70, STATE_PLAY},
            {40, 1, 512, 352, 1, 0, 70, STATE_PLAY},
        });
    EXPECT_EQ(heard(EVENT_RESTARTED), 1);
}

// [SECTION] Random play

TEST(RandomPlay, NoTwoBlocksEverShareACellAndAClickMovesOneBlockAtMost) {
    // Crowded rooms of every kind of block, clicked at random, also on
    // blocks in mid-fall and on lifts carrying riders. Two blocks of one
    // column never overlap by more than the few pixels that a lift makes
    // with what it meets or carries, let alone share a cell, and a click
    // never moves two blocks.
    std::mt19937 random(20261208);
    int32_t pushes = 0;
    for (int32_t round = 0; round < 150; ++round) {
        picture::fresh();
        for (int32_t r = 0; r < BOARD_SIZE; ++r)
            for (int32_t c = 0; c < BOARD_SIZE; ++c) {
                const uint32_t roll = random() % 24;
                int32_t code = CELL_EMPTY;
                if (r < 2 || r > 13 || c < 2 || c > 13 || roll < 2) code = CELL_WALL;
                else if (roll < 9) code = 4 + random() % 4;
                else if (roll == 9) code = 11 + random() % 3;
                game.levels[0][r][c] = code;
            }
        game.clock = LEVEL_CLOCK;
        game.state = STATE_PLAY;
        game.installLevel(0);
        for (int32_t t = 0; t < 600 && game.state == STATE_PLAY; ++t) {
            if (random() % 4 == 0) {
                const Block& target = game.blocks[random() % MAX_BLOCKS];
                if (target.alive)
                    picture::press(random() % 2 ? BUTTON_LEFT : BUTTON_RIGHT, target.x + 1 + random() % 30,
                                   target.y + 1 + random() % 30);
            }
            Block before[MAX_BLOCKS];
            std::copy(std::begin(game.blocks), std::end(game.blocks), before);
            const bool clicked = picture::pending.button != BUTTON_NONE;
            picture::tick();
            int32_t movedSideways = 0;
            for (int32_t i = 0; i < MAX_BLOCKS; ++i) movedSideways += game.blocks[i].alive && game.blocks[i].x != before[i].x;
            ASSERT_LE(movedSideways, clicked ? 1 : 0) << "round " << round << " tick " << t;
            pushes += movedSideways;
            for (int32_t i = 0; i < MAX_BLOCKS; ++i)
                for (int32_t j = i + 1; j < MAX_BLOCKS; ++j) {
                    const Block& a = game.blocks[i];
                    const Block& b = game.blocks[j];
                    if (!a.alive || !b.alive || a.x != b.x) continue;
                    ASSERT_GE(std::abs(a.y - b.y), 28)
                        << "round " << round << " tick " << t << ": slots " << i << " and " << j << " at x " << a.x
                        << ", y " << a.y << " and " << b.y;
                }
        }
    }
    EXPECT_GT(pushes, 2000) << "the clicks must keep blocks moving";
}

}  // namespace
