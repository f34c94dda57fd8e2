#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "app/frame_timer.h"
#include "app/input_state.h"
#include "app/shell.h"
#include "audio/sound_bank.h"
#include "frontend/profile.h"
#include "game/game_context.h"
#include "render/null/draw_log.h"
#include "render/sprite_sheet.h"
#include "lib/fake_counter.h"

namespace {

class DispatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        game = GameContext{};
        drawLog.clear();
        drawLog.recording = true;
        input = {0, 0, BUTTON_NONE};
    }
    void TearDown() override { drawLog.recording = false; }
};

TEST_F(DispatchTest, EveryKnownStateRunsOneBracketedFrame) {
    for (int32_t state = STATE_SPLASH; state <= STATE_REPLAY; ++state) {
        drawLog.clear();
        game.state = state;
        input.pendingButton = BUTTON_RIGHT;
        onDisplay();
        EXPECT_EQ(drawLog.framesBegun, 1) << "state " << state;
        EXPECT_EQ(drawLog.framesEnded, 1) << "state " << state;
        ASSERT_FALSE(drawLog.calls.empty());
        EXPECT_EQ(drawLog.calls.front().op, DrawOp::BeginFrame);
        EXPECT_EQ(drawLog.calls.back().op, DrawOp::EndFrame);
        EXPECT_EQ(input.pendingButton, BUTTON_NONE) << "the press lives one frame";
    }
}

TEST_F(DispatchTest, AnUnknownStateDrawsNothingAndStillClearsThePress) {
    for (int32_t state : {0, 7, -1, 1000}) {
        drawLog.clear();
        game.state = state;
        input.pendingButton = BUTTON_LEFT;
        onDisplay();
        EXPECT_TRUE(drawLog.calls.empty()) << "state " << state;
        EXPECT_EQ(input.pendingButton, BUTTON_NONE);
    }
}

TEST_F(DispatchTest, PacedFramesWaitForTheirTickAfterDrawing) {
    fake_counter::Scope fake;
    resetTickClock(tickClock, TICK_INTERVAL);
    frameTimer.counterFrequency = fake_counter::FREQUENCY;
    setFramePacing(true);
    for (int32_t state : {STATE_SPLASH, STATE_MENU, STATE_PLAY}) {
        game.state = state;
        const int64_t before = fake_counter::now;
        drawLog.clear();
        onDisplay();
        EXPECT_EQ(fake_counter::now - before, 8334) << "state " << state << ": one tick period a frame";
        EXPECT_EQ(tickClock.lastTick, fake_counter::now) << "state " << state << ": the frame took the due tick";
        ASSERT_FALSE(drawLog.calls.empty());
        EXPECT_EQ(drawLog.calls.back().op, DrawOp::EndFrame) << "the frame is shown after its tick";
    }
    setFramePacing(false);
}

// Start-up with no files at all: every loader complains, the game still
// starts on the splash, and the loading line carries its 17 dots.
TEST_F(DispatchTest, LoadingWithNothingToLoadStillStartsTheGame) {
    char dir[] = "/tmp/tolvane-empty-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string profile = std::string(dir) + "/profile.txt";
    setProfilePath(profile.c_str());
    testing::internal::CaptureStdout();
    loadResources();
    const std::string said = testing::internal::GetCapturedStdout();
    setProfilePath(PROFILE_PATH);
    // Last comes the word on the missing profile: the game starts as new.
    const size_t profileLine = said.find("Your progress in " + profile + " could not be used (it is missing)");
    ASSERT_NE(profileLine, std::string::npos) << said;
    const std::string out = said.substr(0, profileLine);

    EXPECT_EQ(out.rfind("Loading...", 0), 0u) << out;
    // The last line says where the game looked; the dots' line before it is ended.
    ASSERT_GE(out.size(), 2u);
    const size_t lastLine = out.rfind('\n', out.size() - 2) + 1;
    const std::string loading = out.substr(0, lastLine);
    const std::string explanation = out.substr(lastLine);
    EXPECT_EQ(loading.substr(loading.size() - 2), ".\n") << out;
    size_t dots = 0;
    for (char c : loading) dots += c == '.';
    // "Loading..." itself has three, each "unable to open file gfx/....tga" one.
    EXPECT_EQ(dots, 3u + 17u + 10u) << out;
    EXPECT_NE(out.find("File not found\n"), std::string::npos);
    EXPECT_NE(out.find("unable to open file gfx/tilesets/classic.tga\n"), std::string::npos);
    EXPECT_EQ(game.state, STATE_SPLASH);
    EXPECT_EQ(soundBank.playCount(SOUND_MUSIC), 1u) << "the music is started once";
    EXPECT_EQ(game.worldStatus[0], WORLD_OPEN) << "no profile: the game starts as new";
    EXPECT_STREQ(game.worlds[0].name, "Tutorial Level");
    EXPECT_STREQ(game.worlds[14].name, "Classic World");

    char folder[4096];
    ASSERT_NE(getcwd(folder, sizeof folder), nullptr);
    EXPECT_EQ(explanation.rfind("None of the pictures could be opened in " + std::string(folder) + ". ", 0), 0u)
        << explanation;
    EXPECT_NE(explanation.find("from the folder it is started in (scripts/play starts it in build/data)"),
              std::string::npos);

    // A progress that cannot be saved later says so on a line of its own.
    const std::string unsavable = std::string(dir) + "/missing-folder/profile.txt";
    setProfilePath(unsavable.c_str());
    testing::internal::CaptureStdout();
    std::fputs(out.c_str(), stdout);  // the console as loading left it
    game.worldIndex = 0;
    game.finishWorld();
    saveProfile(game);
    const std::string console = testing::internal::GetCapturedStdout();
    setProfilePath(PROFILE_PATH);
    const size_t failure = console.find("Your progress could not be saved to " + unsavable + "\n");
    ASSERT_NE(failure, std::string::npos) << console;
    EXPECT_EQ(console[failure - 1], '\n') << console;
    rmdir(dir);
}

TEST_F(DispatchTest, LoadingWithThePicturesThereSaysNothingMore) {
    char dir[] = "/tmp/tolvane-pictures-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(dir), 0);
    // One picture the game can read is enough to show it is in its folder.
    ASSERT_EQ(mkdir("gfx", 0755), 0);
    const unsigned char grey1x1[] = {0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 8, 0, 128};
    FILE* f = std::fopen("gfx/title.tga", "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(grey1x1, 1, sizeof grey1x1, f);
    std::fclose(f);
    testing::internal::CaptureStdout();
    loadResources();
    const std::string out = testing::internal::GetCapturedStdout();
    ASSERT_EQ(chdir(previous), 0);
    std::system((std::string("rm -rf ") + dir).c_str());
    EXPECT_EQ(out.find("None of the pictures"), std::string::npos) << out;
    EXPECT_EQ(out.back(), '\n') << "the dots' line is ended";
}

}  // namespace

namespace {

class IdleMenuTest : public DispatchTest {
protected:
    void frames(int n) {
        for (int i = 0; i < n; ++i) onDisplay();
    }
};

TEST_F(IdleMenuTest, AStillMenuGoesIdleAndAnyInputWakesIt) {
    game.state = STATE_MENU;
    input = {300, 300, BUTTON_NONE};
    frames(MENU_IDLE_AFTER_FRAMES);
    EXPECT_FALSE(displayIsIdle());
    frames(2);
    EXPECT_TRUE(displayIsIdle()) << "nothing moved for a while";
    onPassiveMotion(301, 300);
    frames(1);
    EXPECT_FALSE(displayIsIdle()) << "the moved pointer is drawn at the full rate";
    frames(MENU_IDLE_AFTER_FRAMES + 1);
    ASSERT_TRUE(displayIsIdle());
    onMouse(BUTTON_RIGHT, BUTTON_STATE_DOWN, 301, 300);  // a press where the pointer already is
    frames(1);
    EXPECT_FALSE(displayIsIdle());
}

// Whether the menu counted as idle each time a frame was shown.
std::vector<bool> idleWhenShown;
void noteIdleWhenShown() { idleWhenShown.push_back(displayIsIdle()); }

TEST_F(IdleMenuTest, AFrameWithAPressOrThatLeavesTheMenuIsFollowedAtOnce) {
    char dir[] = "/tmp/tolvane-idle-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string none = std::string(dir) + "/missing";
    game.worlds[0] = {"Tutorial Level", "", "", none.c_str(), none.c_str()};
    game.worldStatus[0] = WORLD_OPEN;
    game.state = STATE_MENU;
    input = {205, 232, BUTTON_NONE};
    frames(MENU_IDLE_AFTER_FRAMES + 2);
    ASSERT_TRUE(displayIsIdle());

    sprites.presentFrame = noteIdleWhenShown;
    idleWhenShown.clear();
    onMouse(BUTTON_LEFT, BUTTON_STATE_DOWN, 205, 232);  // on world 0, where the pointer already is
    onDisplay();
    sprites.presentFrame = nullptr;
    EXPECT_EQ(game.state, STATE_PLAY);
    ASSERT_EQ(idleWhenShown.size(), 2u) << "the menu's frame with the press, then the loading message's own";
    EXPECT_FALSE(idleWhenShown[0]) << "the loading message follows at once";
    EXPECT_FALSE(idleWhenShown[1]) << "the play screen follows at once";
    rmdir(dir);
}

TEST_F(IdleMenuTest, OnlyTheMenuEverIdles) {
    for (int32_t state : {STATE_SPLASH, STATE_PLAY, STATE_LEVEL_COMPLETE, STATE_TIME_OVER}) {
        game.state = state;
        input = {5, 5, BUTTON_NONE};
        frames(3 * MENU_IDLE_AFTER_FRAMES);
        EXPECT_FALSE(displayIsIdle()) << "state " << state;
    }
}

}  // namespace
