// Runs the screens headless: a fake clock that makes every frame carry a
// tick (or none), the recording draw backend, and a profile in a
// temporary directory so the tests never touch a real one.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>

#include "app/frame_timer.h"
#include "app/input_state.h"
#include "app/key_state.h"
#include "app/shell.h"
#include "audio/sound_bank.h"
#include "frontend/best_pushes.h"
#include "frontend/profile.h"
#include "frontend/saved_replays.h"
#include "frontend/settings.h"
#include "frontend/worlds.h"
#include "game/game_context.h"
#include "lib/fake_counter.h"
#include "render/null/draw_log.h"
#include "render/sprite_sheet.h"

class ScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        game = GameContext{};
        fillWorldTable(game);
        drawLog.clear();
        drawLog.recording = true;
        input = {0, 0, BUTTON_NONE};
        soundBank.clearPlayCounts();
        char dir[] = "/tmp/tolvane-screens-XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        dir_ = dir;
        profile_ = dir_ + "/profile.txt";
        setProfilePath(profile_.c_str());
        setSettingsPath(dir_ + "/settings");
        playerSettings = Settings{};
        loadBestPushes();  // none there: an empty record
        playRecording.start();
        frameTimer.counterFrequency = fake_counter::FREQUENCY;
        resetTickClock(tickClock, TICK_INTERVAL);
    }
    void TearDown() override {
        drawLog.recording = false;
        setProfilePath(PROFILE_PATH);
        profileCommit = std::rename;
        bestPushesCommit = std::rename;
        std::system(("rm -rf " + dir_).c_str());
    }

    // One display callback; with a tick, the clock first moves past the interval.
    void frame(bool tick = true) {
        fake_counter::now += tick ? 10000 : 1;
        onDisplay();
    }
    void frames(int n) {
        for (int i = 0; i < n; ++i) frame();
    }
    // Each letter a key in a ticked frame: L R U D the arrows, E Enter, u
    // Backspace, others themselves; Z a z between ticks; '.' a tick without
    // a key; m the pointer moving.
    void pressKeys(const char* keys) {
        for (const char* k = keys; *k != '\0'; ++k) {
            const int code = *k == 'L' ? KEY_ARROW_LEFT : *k == 'R' ? KEY_ARROW_RIGHT : *k == 'U' ? KEY_ARROW_UP
                           : *k == 'D' ? KEY_ARROW_DOWN : *k == 'E' ? '\r' : *k == 'Z' ? 'z' : *k == 'u' ? '\b' : *k;
            if (*k == 'm') input.mouseX += 5;
            else if (*k != '.') keyState.press(code), keyState.release(code);
            frame(*k != 'Z');
        }
    }
    // Where the screen drew the first rectangle in this colour after a
    // frame without a tick: its left edge, and its top counted down the screen.
    std::pair<int32_t, int32_t> rectangleIn(float r, float g, float b) {
        drawLog.clear();
        frame(false);
        for (size_t i = 0; i + 1 < drawLog.calls.size(); ++i) {
            const DrawCall& c = drawLog.calls[i];
            const DrawCall& rect = drawLog.calls[i + 1];
            if (c.op == DrawOp::SetColour && c.r == r && c.g == g && c.b == b && rect.op == DrawOp::FillRect)
                return {rect.x, SCREEN_HEIGHT - rect.y};
        }
        return {-1, -1};
    }

    // Level n of the loaded set from 16 rows of characters: '#' wall,
    // '.' floor, ' ' nothing, 'a' to 'g' the ordinary kinds 4 to 10.
    void setLevel(int n, const char* const rows[16]) {
        for (int r = 0; r < 16; ++r)
            for (int c = 0; c < 16; ++c) {
                const char ch = rows[r][c];
                int32_t code = 0;
                if (ch == '#') code = CELL_WALL;
                else if (ch == '.') code = CELL_EMPTY;
                else if (ch >= 'a' && ch <= 'g') code = KIND_FIRST + (ch - 'a');
                game.levels[n][r][c] = code;
            }
    }

    static std::string readFile(const std::string& path) {
        std::string text;
        if (FILE* f = std::fopen(path.c_str(), "r")) {
            char buf[256];
            size_t got;
            while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, got);
            std::fclose(f);
        }
        return text;
    }
    static void writeFile(const std::string& path, const std::string& text) {
        FILE* f = std::fopen(path.c_str(), "w");
        std::fputs(text.c_str(), f);
        std::fclose(f);
    }
    std::string readProfile() const { return readFile(profile_); }
    void writeProfile(const std::string& text) const { writeFile(profile_, text); }

    fake_counter::Scope fake_;
    std::string dir_;
    std::string profile_;
};

// Two kinds that never meet: a level that stays unsolved while the clock runs.
inline const char* const STUCK_LEVEL[16] = {
    "                ", "                ", "                ", "                ",
    "                ", "                ", "   ##########   ", "   #........#   ",
    "   #........#   ", "   #a......b#   ", "   ##########   ", "                ",
    "                ", "                ", "                ", "                ",
};
