// The shell between the toolkit and the game: the display callback's
// dispatch on the game state, resource loading and the game's start.
#pragma once

#include <cstdint>

// Texture names of the pictures loaded at start-up.
extern int32_t tilesetTexture;
extern int32_t titleTexture;
extern int32_t menuTileTexture;
extern int32_t guiTexture;
extern int32_t mangaTexture;
extern int32_t logoTexture;
extern int32_t woodboxTexture;
extern int32_t levelCompleteTexture;
extern int32_t levelBackgroundTexture;
extern int32_t splashTexture;

// Runs the one screen of the current state, then forgets the frame's press.
void onDisplay();
// Runs the screen of the current state once; a state outside 1 to 5 draws nothing.
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
// each screen's tick question waits until its tick is due, so every frame
// drawn faster than the tick rate carries one tick, 120 a second.
void setFramePacing(bool on);

// Font, GL state, mixer, then the six sounds and ten pictures with a dot
// after each on the "Loading..." line; ends by starting the game.
void loadResources();
