// The screens of the game, one file each, behind one small interface. Every
// frame the shell draws the current screen, shows the frame, and then hands
// the screen the frame's input; what the screen answers is the state the
// game goes to.
#pragma once

#include "game/game_context.h"

// The keys a screen acts on, one bit each; the shell maps the keyboard onto them.
enum KeyAction : uint32_t {
    KEY_ACTION_LEFT = 1u << 0,  // the arrows
    KEY_ACTION_RIGHT = 1u << 1,
    KEY_ACTION_UP = 1u << 2,
    KEY_ACTION_DOWN = 1u << 3,
    KEY_ACTION_PUSH_LEFT = 1u << 4,   // Z or ,
    KEY_ACTION_PUSH_RIGHT = 1u << 5,  // X or .
    KEY_ACTION_RESTART = 1u << 6,     // R, the dustbin
    KEY_ACTION_ENTER = 1u << 7,
    KEY_ACTION_YES = 1u << 8,  // Y
    KEY_ACTION_NO = 1u << 9,   // N
};

// What a frame brings a screen.
struct FrameInput {
    Click click;       // the pointer, and the button pressed in this frame if any
    bool tickDue;      // the tick gate granted a game tick in this frame
    bool skipPressed;  // the space bar is down, or was pressed since the last frame
    bool undoPressed;  // Backspace or U was pressed since the last frame
    bool hintPressed = false;  // H was pressed since the last frame
    bool pausePressed = false; // P was pressed since the last frame
    bool clockPressed = false; // C was pressed since the last frame
    uint32_t keys = 0;         // the KeyAction bits pressed since the last frame
    // The keys were in use before this frame and the mouse has not been
    // since: the board's cursor and the menu's selection are on show, so
    // the keys that act on them act. A first key only puts them on show.
    bool keyboardInUse = false;
};

// Whether the keyboard's cursor shows from this frame on.
inline bool cursorShown(const FrameInput& input) { return input.keyboardInUse || input.keys != 0; }

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
