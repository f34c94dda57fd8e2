// The level clock, time over and its retry, the count-down into the score,
// and the end of a world, driven frame by frame through the display callback.
#include <chrono>
#include <cstring>
#include <functional>
#include <random>
#include <thread>

#include "app/input_state.h"
#include "app/key_state.h"
#include "frontend/play_screen.h"
#include "game/replay.h"
#include "screens/screen_fixture.h"

namespace {

class PlayFlowTest : public ScreenTest {
protected:
    void startStuckLevel() {
        setLevel(0, STUCK_LEVEL);
        game.clock = 99;
        game.installLevel(0);
        game.state = STATE_PLAY;
    }
};

TEST_F(PlayFlowTest, FirstClockUnitOfTheRunLasts121TicksThen101) {
    startStuckLevel();
    frames(120);
    EXPECT_EQ(game.clock, 99);
    frame();
    EXPECT_EQ(game.clock, 98) << "after the 121st play tick";
    frames(100);
    EXPECT_EQ(game.clock, 98);
    frame();
    EXPECT_EQ(game.clock, 97) << "after the 222nd play tick";
}

TEST_F(PlayFlowTest, FramesWithoutATickLeaveTheClockAndTheClickAlone) {
    startStuckLevel();
    const Block before = game.blocks[0];
    input = {before.x + 10, before.y + 10, BUTTON_RIGHT};
    frame(false);
    EXPECT_EQ(game.clockSubTicks, 120);
    EXPECT_EQ(game.blocks[0].x, before.x) << "a press in a frame without a tick is lost";
    EXPECT_EQ(input.pendingButton, BUTTON_NONE);
}

TEST_F(PlayFlowTest, TimeOverShowsZeroFor101TicksSoundsOnceAndRetriesAtOnce) {
    startStuckLevel();
    game.score = 300;
    int ticksAtZero = 0;
    while (game.state == STATE_PLAY) {
        frame();
        if (game.clock == 0 && game.state == STATE_PLAY) ++ticksAtZero;
        ASSERT_LT(ticksAtZero, 200);
    }
    EXPECT_EQ(game.state, STATE_TIME_OVER);
    EXPECT_EQ(ticksAtZero, 101);
    EXPECT_EQ(soundBank.playCount(SOUND_TIMEUP), 1u);
    EXPECT_EQ(game.clockSubTicks, 0);

    // The screen stands still until a button is chosen.
    frames(50);
    EXPECT_EQ(game.state, STATE_TIME_OVER);
    EXPECT_EQ(soundBank.playCount(SOUND_TIMEUP), 1u);
    ASSERT_NE(drawLog.findText("Try Again?"), nullptr);

    // Yes, clicked at its very corner.
    input = {491, 361, BUTTON_LEFT};
    frame();
    EXPECT_EQ(game.state, STATE_PLAY);
    EXPECT_EQ(game.clock, 99);
    EXPECT_EQ(game.score, 0) << "a retry loses the whole run's score";
    frame();
    EXPECT_EQ(game.clock, 98) << "the first unit after a time over lasts one tick";
}

TEST_F(PlayFlowTest, TryAgainButtonsTakeOnlyALeftClickInsideInATickingFrameOrYNAndEnter) {
    startStuckLevel();
    game.state = STATE_TIME_OVER;
    struct Case {
        int32_t x, y, button;
        bool tick;
        int32_t expected;
        int key = 0;
    } cases[] = {
        {490, 392, BUTTON_LEFT, true, STATE_TIME_OVER},   // yes's left border
        {554, 392, BUTTON_LEFT, true, STATE_TIME_OVER},   // yes's right border
        {520, 392, BUTTON_RIGHT, true, STATE_TIME_OVER},  // right button
        {630, 392, BUTTON_RIGHT, true, STATE_TIME_OVER},
        {520, 392, BUTTON_LEFT, false, STATE_TIME_OVER},  // no tick due
        {630, 392, BUTTON_LEFT, true, STATE_MENU},        // no
        {0, 0, BUTTON_NONE, false, STATE_PLAY, 'Y'},      // the keys need no tick
        {0, 0, BUTTON_NONE, false, STATE_PLAY, '\r'},
        {0, 0, BUTTON_NONE, false, STATE_MENU, 'n'},
        {0, 0, BUTTON_NONE, true, STATE_TIME_OVER, 'x'},
    };
    for (const Case& c : cases) {
        game.state = STATE_TIME_OVER;
        input = {c.x, c.y, c.button};
        if (c.key != 0) keyState.press(c.key);
        frame(c.tick);
        EXPECT_EQ(game.state, c.expected) << c.x << "," << c.y << " button " << c.button;
    }
}

TEST_F(PlayFlowTest, ARetryInTheMiddleOfABlinkStartsTheLevelFresh) {
    // A pair on the floor, matched in the very tick the clock runs out.
    const char* const pair[16] = {
        "                ", "                ", "                ", "                ",
        "                ", "                ", "   ##########   ", "   #........#   ",
        "   #........#   ", "   #aa......#   ", "   ##########   ", "                ",
        "                ", "                ", "                ", "                ",
    };
    setLevel(0, pair);
    game.installLevel(0);
    game.state = STATE_PLAY;
    game.clock = 0;
    game.clockSubTicks = 0;
    frame();
    ASSERT_EQ(game.state, STATE_TIME_OVER);
    ASSERT_EQ(game.elimDelay, 20) << "the pair was blinking when time ran out";

    input = {520, 392, BUTTON_LEFT};  // "Try Again?" yes
    frame();
    ASSERT_EQ(game.state, STATE_PLAY);
    ASSERT_EQ(game.score, 0);
    EXPECT_EQ(game.elimDelay, 0) << "the old blink ended with the old level";

    // The retried pair is matched and scored anew in its first tick, blinks
    // its full twenty ticks, and goes in the twenty-first.
    frame();
    EXPECT_EQ(game.score, 220) << "scored, with the chain bonus the last elimination armed";
    EXPECT_EQ(game.elimDelay, 20);
    for (int tick = 2; tick <= 20; ++tick) {
        frame();
        ASSERT_TRUE(game.blocks[0].alive && game.blocks[1].alive) << "tick " << tick;
        ASSERT_EQ(game.state, STATE_PLAY) << "tick " << tick;
    }
    frame();
    EXPECT_FALSE(game.blocks[0].alive || game.blocks[1].alive);
    EXPECT_EQ(game.state, STATE_LEVEL_COMPLETE);
    EXPECT_EQ(game.score, 220);
}

TEST_F(PlayFlowTest, TimeOverAndClearedInOneTickEndsCleared) {
    // Nothing to clear, and the clock's last tick.
    game.installLevel(0);
    game.state = STATE_PLAY;
    game.clock = 0;
    game.clockSubTicks = 0;
    frame();
    EXPECT_EQ(soundBank.playCount(SOUND_TIMEUP), 1u);
    EXPECT_EQ(soundBank.playCount(SOUND_FINISH), 1u);
    EXPECT_EQ(game.state, STATE_LEVEL_COMPLETE);
}

TEST_F(PlayFlowTest, CountDownAddsExactlyTheClockThenStartsTheNextLevel) {
    setLevel(1, STUCK_LEVEL);
    game.state = STATE_LEVEL_COMPLETE;
    game.clock = 57;
    game.score = 1000;
    game.levelIndex = 0;
    for (int i = 0; i < 56; ++i) {
        frame();
        ASSERT_EQ(game.state, STATE_LEVEL_COMPLETE);
        EXPECT_EQ(game.score, 1001 + i);
    }
    ASSERT_EQ(drawLog.spritesOf(FRAME_LEVEL_COMPLETE).size(), 56u);
    frame();
    EXPECT_EQ(game.score, 1057);
    EXPECT_EQ(game.state, STATE_PLAY);
    EXPECT_EQ(game.levelIndex, 1);
    EXPECT_EQ(game.clock, 99);
    EXPECT_EQ(game.blocks[0].alive, 1) << "the next level is on the board";
}

TEST_F(PlayFlowTest, AWorldWithoutALevelFilePlaysThroughToTheMenu) {
    writeProfile("1\n0\n1\n0\n");
    loadProfile(game);
    game.worlds[0].levelFile = "/nonexistent/levels.txt";
    game.state = STATE_MENU;
    input = {200, 230, BUTTON_LEFT};
    frame();
    ASSERT_EQ(game.state, STATE_PLAY);
    int played = 0;
    while (game.state != STATE_MENU) {
        frame();
        ASSERT_LT(++played, 2000);
    }
    // Each level is cleared on its first tick and counts 99 into the score.
    EXPECT_EQ(played, 9 * 100);
    EXPECT_EQ(game.score, 891);
    EXPECT_EQ(soundBank.playCount(SOUND_FINISH), 9u);
    std::string expected = "2\n891\n1\n0\n1\n0\n";
    for (int line = 6; line < 30; ++line) expected += "0\n";
    EXPECT_EQ(readProfile(), expected);
    EXPECT_EQ(game.worldStatus[2], WORLD_OPEN) << "the lowest locked world opens";
}

TEST_F(PlayFlowTest, FinishingAWorldAgainKeepsTheBestScore) {
    writeProfile("2\n5000\n1\n0\n");
    loadProfile(game);
    game.worldIndex = 0;
    game.score = 4000;
    game.levelIndex = 8;
    game.state = STATE_LEVEL_COMPLETE;
    game.clock = 1;
    frame();
    EXPECT_EQ(game.state, STATE_MENU);
    EXPECT_EQ(game.bestScore[0], 5000);
    EXPECT_EQ(game.worldStatus[2], WORLD_LOCKED) << "only a first finish opens a world";
    EXPECT_EQ(readProfile().substr(0, 10), "2\n5000\n1\n0");
}

// A lift between two shelves, pairs to join and a lone block that keeps the
// level from ever being cleared, so that random pushes can go on and on.
const char* const LIFT_ROOM[16] = {
    "                ", "                ", "                ", "                ",
    "  ############  ", "  #..........#  ", "  #.ab...ba..#  ", "  #####..#####  ",
    "  #....L.....#  ", "  #..........#  ", "  #.b.a.a..b.c#  ", "  ############  ",
    "                ", "                ", "                ", "                ",
};

bool sameBoard(const GameContext& a, const GameContext& b) {
    return std::memcmp(a.board, b.board, sizeof a.board) == 0 && std::memcmp(a.blocks, b.blocks, sizeof a.blocks) == 0 &&
           a.score == b.score && a.comboFlag == b.comboFlag && a.elimDelay == b.elimDelay;
}

// Backspace, U and u each take back the last push that moved a block: ten
// random pushes and ten undos on a lift level give back the starting board,
// lifts, marks and score, while the clock runs on. A push into a wall is
// not remembered, nothing is taken back when nothing is left, and the
// dustbin empties the history.
TEST_F(PlayFlowTest, UndoTakesBackEachPushButNotTheTime) {
    setLevel(0, LIFT_ROOM);
    game.levels[0][8][7] = KIND_LIFT;
    game.clock = 99;
    game.par[0] = 9;
    game.installLevel(0);
    changeState(STATE_PLAY);
    const GameContext start = game;
    std::mt19937 rng(5);
    int pushes = 0;
    for (int tries = 0; pushes < 10 && tries < 400; ++tries) {
        const Block& b = game.blocks[rng() % MAX_BLOCKS];
        if (!b.alive || b.motion != MOTION_NORMAL) continue;
        input = {b.x + 16, b.y + 16, rng() % 2 ? BUTTON_LEFT : BUTTON_RIGHT};
        frame();
        frames(rng() % 40);  // undo comes at any moment: in a fall, a blink, at rest
        pushes = static_cast<int>(playHistory.size());
    }
    ASSERT_EQ(pushes, 10);
    ASSERT_EQ(game.state, STATE_PLAY);
    ASSERT_GT(game.score, 0) << "the pushes joined a pair, so the score too must go back";
    drawLog.clear();
    frame(false);
    EXPECT_NE(drawLog.findText("Pushes : 10   Par : 9"), nullptr);
    EXPECT_GT(start.clockSubTicks + 121 * (start.clock - game.clock), game.clockSubTicks);
    const char keys[] = {'\b', 'U', 'u'};
    for (int i = 0; i < 10; ++i) {
        keyState.press(keys[i % 3]);
        keyState.release(keys[i % 3]);
        frame(false);
    }
    EXPECT_TRUE(sameBoard(game, start));
    drawLog.clear();
    frame(false);
    EXPECT_NE(drawLog.findText("Pushes : 0   Par : 9"), nullptr) << "pushes taken back do not count";
    EXPECT_LT(game.clock * 1000 + game.clockSubTicks, start.clock * 1000 + start.clockSubTicks) << "time spent stays spent";
    EXPECT_EQ(soundBank.playCount(SOUND_RESTART), 10u);
    keyState.press('\b');
    frame(false);
    EXPECT_TRUE(sameBoard(game, start)) << "nothing left to take back";
    EXPECT_EQ(soundBank.playCount(SOUND_RESTART), 10u);

    // A push into the wall moves nothing and is not remembered.
    const Block& lone = game.blocks[game.blockAt(384 + 32 * 13 + 16, 224 + 32 * 10 + 16)];
    ASSERT_EQ(lone.kind, KIND_FIRST + 2);
    input = {lone.x + 16, lone.y + 16, BUTTON_RIGHT};
    frame();
    EXPECT_EQ(playHistory.size(), 0u);
    input = {lone.x + 16, lone.y + 16, BUTTON_LEFT};
    frame();
    EXPECT_EQ(playHistory.size(), 1u);
    input = {290, 550, BUTTON_LEFT};  // the dustbin
    frame();
    EXPECT_EQ(playHistory.size(), 0u);
}

// The tutorial's lift level cleared through the play screen with pushes
// taken back and the dustbin is kept as a replay that plays it straight; of
// a level's clears the fewest pushes are kept, and one that does not replay
// is never saved. A hinted clear is no best; an empty board leaves nothing.
TEST_F(PlayFlowTest, ClearsAreKeptAsReplaysThatPlayThemStraight) {
    Replay solution;
    std::string error;
    ASSERT_TRUE(readReplay(TOLVANE_SOLUTIONS_DIR "/Tutorial-3.replay", solution, error)) << error;
    game.loadLevelSet(TOLVANE_LEVEL_DIR "/Tutorial.txt");
    Replay longer = solution;  // the top block pushed right and back first
    longer.clicks.insert(longer.clicks.begin(), {{1, BUTTON_RIGHT, 592, 368}, {3, BUTTON_LEFT, 624, 368}});
    Replay unfinished = solution;
    unfinished.clicks.pop_back();
    auto saveAsPlayed = [&](const Replay& played) {
        PlayRecording recording;
        recording.start();
        for (const ReplayClick& c : played.clicks) {
            while (recording.ticks() < c.tick - 1) recording.afterTick(Click{}, TickEvents{});
            recording.afterTick(Click{c.button, c.x, c.y}, TickEvents{});
        }
        return saveClearedLevel(game, recording, false);
    };
    Replay kept;
    int32_t pushes = 0;
    auto keptPushes = [&]() {
        EXPECT_TRUE(readReplay((dir_ + "/replays/Tutorial-3.replay").c_str(), kept, error)) << error;
        EXPECT_EQ(playReplay(game, kept, &pushes).outcome, OUTCOME_CLEARED);
        return pushes;
    };
    game.levelIndex = 2;
    EXPECT_TRUE(saveAsPlayed(longer));
    EXPECT_EQ(keptPushes(), 6);

    game.startFreshLevel(2);
    changeState(STATE_PLAY);
    int32_t straight = 0;  // the tick the straight way has reached
    auto clickOn = [&](int32_t tick, int32_t x, int32_t y, int32_t button) {
        for (; straight < tick - 1; ++straight) frame();
        input = {x, y, button};
        frame();
        ++straight;
    };
    auto detour = [&](int32_t x, int32_t y) {  // a push, 40 ticks, and undo
        const int32_t pushed = straight + 1;
        clickOn(pushed, x, y, BUTTON_RIGHT);
        clickOn(pushed + 40, 0, 0, BUTTON_NONE);
        keyState.press('u');
        frame(false);
        straight = pushed - 1;
    };
    detour(592, 368);
    clickOn(10, 290, 550, BUTTON_LEFT);  // the dustbin
    for (size_t k = 0; k < solution.clicks.size(); ++k) {
        const ReplayClick& c = solution.clicks[k];
        if (k == 1) detour(c.x, c.y);  // the first block, pushed back where it came from
        clickOn(10 + c.tick, c.x, c.y, c.button);
    }
    while (game.state == STATE_PLAY && straight < 2000) clickOn(straight + 1, 0, 0, BUTTON_NONE);
    ASSERT_EQ(game.state, STATE_LEVEL_COMPLETE);
    EXPECT_EQ(bestPushes.of("Tutorial.txt", 3), 4);
    EXPECT_EQ(keptPushes(), 4);
    EXPECT_EQ(kept.clicks.at(0).tick, 10) << "the dustbin";
    EXPECT_EQ(kept.end.tick, straight);

    EXPECT_FALSE(saveAsPlayed(longer));
    testing::internal::CaptureStdout();
    EXPECT_FALSE(saveAsPlayed(unfinished));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("not kept"), std::string::npos);
    EXPECT_EQ(keptPushes(), 4);
    for (int run = 0; run < 3; ++run) {  // nothing, a pair that meets at once after a hint, and without
        std::memset(game.levels[8], 0, sizeof game.levels[8]);
        game.levels[8][10][5] = game.levels[8][10][6] = run > 0 ? KIND_FIRST : 0;
        game.startFreshLevel(8);
        changeState(STATE_PLAY);
        playHinted = run == 1;
        frames(21);
        EXPECT_EQ(bestPushes.of("Tutorial.txt", 9), run == 2 ? 0 : -1);
    }
    EXPECT_NE(readFile(dir_ + "/replays/Tutorial-9.replay").find("0 pushes, after a hint"), std::string::npos);
}

// H through the play screen, the solver thinking on its own thread while
// frames go on: following the outlined block and its arrow alone clears the
// tutorial's first level in its par, which then counts as cleared with a
// hint; a question dropped by a push, an undo, Esc or a new level is never
// answered.
TEST_F(PlayFlowTest, FollowingTheDrawnHintsClearsALevelInItsPar) {
    game.loadLevelSet(TOLVANE_LEVEL_DIR "/Tutorial.txt");
    game.startFreshLevel(0);
    changeState(STATE_PLAY);
    const auto askAndWait = [&] {
        keyState.press('h');
        frame();
        for (int i = 0; i < 400 && hintThinking(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        frame();
        drawLog.clear();
        frame(false);
    };
    int32_t pushes = 0;
    while (game.state == STATE_PLAY && pushes < 20) {
        askAndWait();
        // The hint as drawn: the outline's top edge first, the arrow after the four edges.
        const std::vector<DrawCall> rects = drawLog.of(DrawOp::FillRect);
        ASSERT_GE(rects.size(), 5u) << "no outline and arrow after " << pushes << " pushes";
        const int32_t x = rects[0].x + 3, y = SCREEN_HEIGHT - rects[0].y + 3;
        input = {x + 16, y + 16, rects[4].x < x ? BUTTON_LEFT : BUTTON_RIGHT};
        frame();
        ++pushes;
        frames(60);
    }
    EXPECT_EQ(game.state, STATE_LEVEL_COMPLETE);
    EXPECT_EQ(pushes, game.par[0]);
    drawLog.clear();
    frame(false);
    EXPECT_NE(drawLog.findText("Cleared with a hint"), nullptr);

    const auto pushSome = [&] {  // the first block that moves, after the board has come to rest
        frames(60);
        for (int32_t i = 0; i < MAX_BLOCKS && playHistory.size() == 0; ++i) {
            input = {game.blocks[i].x + 16, game.blocks[i].y + 16, BUTTON_LEFT};
            if (game.blocks[i].alive) frame();
        }
        ASSERT_EQ(playHistory.size(), 1u);
    };
    using Drop = std::function<void()>;
    const Drop drops[] = {
        [&] { input = {290, 550, BUTTON_LEFT}; frame(); },  // the dustbin
        [&] { playHistory.clear(); pushSome(); },
        [&] { keyState.press('u'); frame(false); },
        [&] { onKeyboard(27, 0, 0); },
        [&] { game.startFreshLevel(1); changeState(STATE_PLAY); },
    };
    for (const Drop& drop : drops) {
        // The deepest level's hint takes long enough to be caught thinking.
        game.loadLevelSet(TOLVANE_LEVEL_DIR "/LevelSet8.txt");
        game.startFreshLevel(8);
        changeState(STATE_PLAY);
        pushSome();
        keyState.press('h');
        frame();
        drawLog.clear();
        frame(false);
        EXPECT_NE(drawLog.findText("Thinking..."), nullptr);
        drop();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(hintThinking());
        drawLog.clear();
        frame(false);
        EXPECT_EQ(drawLog.findText("Thinking..."), nullptr);
        size_t onBoard = 0;  // the menu's clock switch is drawn of rectangles too, right of the board
        for (const DrawCall& fill : drawLog.of(DrawOp::FillRect)) onBoard += fill.x < BOARD_LEFT + BOARD_SIZE * CELL_PIXELS;
        EXPECT_EQ(onBoard, 0u) << "no hint for a board that is gone";
    }
}

// P stops the clock and the board and hides the board; P again, or a
// click that pushes nothing, goes on.
TEST_F(PlayFlowTest, PauseStopsTheClockAndHidesTheBoard) {
    startStuckLevel();
    frames(5);
    const GameContext before = game;
    keyState.press('p');
    frame();
    frames(500);
    EXPECT_EQ(game.clock * 1000 + game.clockSubTicks, before.clock * 1000 + before.clockSubTicks);
    drawLog.clear();
    frame(false);
    EXPECT_NE(drawLog.findText("Paused"), nullptr);
    const std::vector<DrawCall> rects = drawLog.of(DrawOp::FillRect);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_TRUE(rects[0].x == BOARD_LEFT && rects[0].y == SCREEN_HEIGHT - BOARD_TOP && rects[0].w == 512 && rects[0].h == 512);
    input = {before.blocks[0].x + 16, before.blocks[0].y + 16, BUTTON_RIGHT};
    frame();
    EXPECT_EQ(game.blocks[0].x, before.blocks[0].x) << "the click that goes on pushes nothing";
    frames(10);
    EXPECT_LT(game.clock * 1000 + game.clockSubTicks, before.clock * 1000 + before.clockSubTicks);
    for (const char key : {'P', 'p'}) {
        keyState.press(key);
        frame(false);
    }
    drawLog.clear();
    frame();
    EXPECT_EQ(drawLog.findText("Paused"), nullptr);
}

}  // namespace

