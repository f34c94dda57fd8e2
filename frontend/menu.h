// The level-select menu: eleven world buttons, the pointed world's texts,
// the credits and the maker's logo.
#pragma once

#include <cstdint>

#include "frontend/shadowed_line.h"

constexpr int32_t MENU_WORLDS = 11;
constexpr int32_t MENU_BUTTON_LEFT = 175;
constexpr int32_t MENU_BUTTON_TOP = 200;
constexpr int32_t MENU_BUTTON_SIZE = 64;

// The help the menu shows while the pointer is off the row of buttons.
constexpr int MENU_HELP_LINES = 4;
extern const ShadowedLine MENU_HELP[MENU_HELP_LINES];
// The message put up while a world loads.
extern const ShadowedLine LOADING_MESSAGE;

void runMenuFrame();
void drawMenu();
// The world whose button holds the pointer, or -1 (between the rows' ends,
// above or below the row).
int32_t menuWorldAt(int32_t mouseX, int32_t mouseY);
