// The pointer and the one button press that a frame may act on.
#pragma once

#include <cstdint>

#include "app/picture_rect.h"
#include "game/game_context.h"

constexpr int32_t BUTTON_STATE_DOWN = 0;  // the toolkit's value for a press
constexpr unsigned char KEY_ESCAPE = 27;

struct InputState {
    int32_t mouseX;
    int32_t mouseY;
    int32_t pendingButton;  // first button pressed since the last frame, or -1
};

extern InputState input;

// The window's size in pixels, from the reshape callback. The picture is
// drawn whole, as large as fits and centred, with black bars beside or
// above and below it (pictureRect), and the pointer, which the toolkit gives
// in window pixels, is mapped back onto the 1024 by 768 layout through that
// rectangle: what the player points at on the screen is what the game sees
// under the pointer, at any window size. A press on a bar reaches no screen.
void setWindowSize(int width, int height);
// Where the picture lies in the window, from the latest usable size.
PictureRect currentPicture();

// The toolkit's mouse and keyboard callbacks, free of any toolkit header.
// Positions are window pixels.
void onMouse(int button, int buttonState, int x, int y);
void onMotion(int x, int y);
void onPassiveMotion(int x, int y);
// Esc: back to the menu, or on the menu the end of the game.
void onKeyboard(unsigned char key, int x, int y);
