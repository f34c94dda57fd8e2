#include "app/input_state.h"

#include <cmath>
#include <cstdlib>

#include "app/shell.h"
#include "render/sprite_sheet.h"

InputState input = {0, 0, BUTTON_NONE};

namespace {

int windowWidth = SCREEN_WIDTH;
int windowHeight = SCREEN_HEIGHT;

// The layout unit under the middle of a window pixel: one to one in a
// 1024 by 768 window. A pointer held outside the window while dragging may
// lie outside the layout too.
int32_t toLayout(int pixel, int windowSize, int layoutSize) {
    return static_cast<int32_t>(std::floor((pixel + 0.5) * layoutSize / windowSize));
}

void movePointer(int x, int y) {
    input.mouseX = toLayout(x, windowWidth, SCREEN_WIDTH);
    input.mouseY = toLayout(y, windowHeight, SCREEN_HEIGHT);
}

}  // namespace

void setWindowSize(int width, int height) {
    // A window shrunk to nothing keeps the last usable size.
    if (width > 0) windowWidth = width;
    if (height > 0) windowHeight = height;
}

void onMouse(int button, int buttonState, int x, int y) {
    movePointer(x, y);
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
