// The level-select menu: a button for each world that has levels, the
// pointed world's texts, the credits and the maker's logo; a left click on a
// world the profile has opened starts it.
#pragma once

#include <cstdint>

#include "frontend/shadowed_line.h"
#include "game/game_context.h"

constexpr int32_t MENU_BUTTON_LEFT = 175;
constexpr int32_t MENU_BUTTON_TOP = 200;
constexpr int32_t MENU_BUTTON_SIZE = 64;
// The clock switch, in the row of worlds a little right of the last one.
constexpr int32_t MENU_CLOCK_LEFT = MENU_BUTTON_LEFT + MENU_BUTTON_SIZE * PLAYED_WORLDS + 24;

// The help the menu shows while the pointer is off the row of buttons.
constexpr int MENU_HELP_LINES = 4;
extern const ShadowedLine MENU_HELP[MENU_HELP_LINES];
// The message put up while a world loads.
extern const ShadowedLine LOADING_MESSAGE;

// The texture of the background behind the board; start-up loads the first.
extern int32_t levelBackgroundTexture;

void drawMenu(const GameContext& game, const Click& pointer);
// The world whose button holds the pointer, or -1 (between the rows' ends,
// above or below the row).
int32_t menuWorldAt(int32_t mouseX, int32_t mouseY);
// Whether the pointer is on the clock switch.
bool menuClockAt(int32_t mouseX, int32_t mouseY);
// The clock switch, drawn as a clock face, crossed out while relaxed.
void drawClockSwitch(bool relaxed);
// Puts the picture at `path` behind the board, giving the last one back.
void loadLevelBackground(const char* path);
// Puts up the loading message, loads world j's background and level file
// and starts its first level.
void startWorld(GameContext& game, int32_t j);
