// The play screen: background, board, blocks and trails, the side panel
// with the problem number, the blocks still to clear and the score, the
// dustbin, the lesson panel of the tutorial world and the pointer.
#pragma once

#include "game/game_context.h"

// The lesson of one tutorial level: a title and up to three lines ("" for none).
struct Lesson {
    const char* title;
    const char* lines[3];
};

extern const Lesson LESSONS[PLAYED_LEVELS];

void drawPlayScreen();
void drawTutorialPanel();
