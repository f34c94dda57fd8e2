// The screens of the game, one file each, behind one small interface. Every
// frame the shell draws the current screen, shows the frame, and then hands
// the screen the frame's input; what the screen answers is the state the
// game goes to.
#pragma once

#include "game/game_context.h"

// What a frame brings a screen.
struct FrameInput {
    Click click;       // the pointer, and the button pressed in this frame if any
    bool tickDue;      // the tick gate granted a game tick in this frame
    bool skipPressed;  // the space bar is down, or was pressed since the last frame
    bool undoPressed;  // Backspace or U was pressed since the last frame
    bool hintPressed = false;  // H was pressed since the last frame
    bool pausePressed = false; // P was pressed since the last frame
    bool clockPressed = false; // C was pressed since the last frame
};

struct Screen {
    // The game has just turned to this screen (none where nothing needs setting up).
    void (*enter)(GameContext& game);
    // The frame's picture: the game as it stands before this frame's tick,
    // with the pointer where it is.
    void (*draw)(const GameContext& game, const Click& pointer);
    // Once a frame, after the picture: the screen's game tick when one is
    // due (the menu takes its click and the splash steps its fades in any
    // frame). Answers the state the game goes to.
    int32_t (*tick)(GameContext& game, const FrameInput& input);
};

extern const Screen SPLASH_SCREEN;
extern const Screen MENU_SCREEN;
extern const Screen PLAY_SCREEN;
extern const Screen LEVEL_COMPLETE_SCREEN;
extern const Screen TIME_OVER_SCREEN;
extern const Screen REPLAY_SCREEN;
