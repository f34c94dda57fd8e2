#include "app/input_state.h"

#include <cstdlib>

#include "app/picture_rect.h"
#include "app/shell.h"
#include "render/sprite_sheet.h"

InputState input = {0, 0, BUTTON_NONE};

namespace {

PictureRect picture = pictureRect(SCREEN_WIDTH, SCREEN_HEIGHT);

// One to one in a 1024 by 768 window. A pointer on a bar, or held outside
// the window while dragging, lies outside the layout.
void movePointer(int x, int y) {
    input.mouseX = toLayout(x, picture.x, picture.width, SCREEN_WIDTH);
    input.mouseY = toLayout(y, picture.y, picture.height, SCREEN_HEIGHT);
}

}  // namespace

void setWindowSize(int width, int height) {
    // A window shrunk to nothing keeps the last usable picture.
    if (width > 0 && height > 0) picture = pictureRect(width, height);
}

PictureRect currentPicture() { return picture; }

void onMouse(int button, int buttonState, int x, int y) {
    movePointer(x, y);
    // A press on a bar is no press: the game never hears of it.
    if (!onPicture(picture, x, y)) return;
    // The first press of a frame wins; releases only move the pointer.
    if (input.pendingButton < 0 && buttonState == BUTTON_STATE_DOWN) input.pendingButton = button;
}

void onMotion(int x, int y) { movePointer(x, y); }

void onPassiveMotion(int x, int y) { movePointer(x, y); }

void onKeyboard(unsigned char key, int, int) {
    if (key != KEY_ESCAPE) return;
    if (game.state == STATE_MENU) {
        // The standard exit runs the static destructors: the font frees its
        // glyph lists and the sound bank closes the mixer.
        std::exit(0);
    }
    changeState(STATE_MENU);
}
