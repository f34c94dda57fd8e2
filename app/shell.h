// The shell between the toolkit and the game: the program's one game, the
// table of screens, each frame's run through the current screen, resource
// loading and the game's start.
#pragma once

#include <cstdint>

#include "game/game_context.h"

// The game the program plays, zero-filled at start.
extern GameContext game;

// The one place the game's state changes: the current screen's tick answers
// the next state, Esc asks for the menu, the start for the splash. The new
// screen's enter runs here.
void changeState(int32_t state);

// The display callback: one frame of the current screen, then the frame's
// press is forgotten.
void onDisplay();
// One frame: draws the current screen, shows the frame, hands the screen
// the frame's click and applies the state it answers. A state outside the
// table draws nothing.
void runScreenFrame();
// An idle menu (pointer still, no press, for this many frames) need not be
// drawn again and again: nothing on it moves by itself, and a software
// renderer would otherwise spend most of a core on the same picture. The
// program then redraws it twice a second, and at once on any input.
constexpr int MENU_IDLE_AFTER_FRAMES = 30;
constexpr unsigned MENU_IDLE_REDRAW_MS = 500;

// True while the menu is idle in that sense.
bool displayIsIdle();

// Frame pacing (on in the program, off in tests that drive frames by hand):
// each frame's tick question waits until its tick is due, so every frame
// drawn faster than the tick rate carries one tick, 120 a second.
void setFramePacing(bool on);

// The game's font is drawn at a size in pixels, not in the picture's
// units: where the picture is drawn at another size than the 1024 by 768
// layout (the window's picture rectangle, bars left out), as in a small
// window or on a large full screen, it is built again smaller or larger by
// as much, so every text keeps to its place and its size in the picture.
constexpr int32_t FONT_HEIGHT = 22;
constexpr int32_t MIN_FONT_HEIGHT = 8;
void fitFontToPicture(int32_t width, int32_t height);

// Font, GL state, mixer, then the six sounds and ten pictures with a dot
// after each on the "Loading..." line; ends by starting the game.
void loadResources();
// The splash, the tick clock, the profile, the world table, the best
// pushes and the music, as the player's settings have it.
void startGame();
