#include "app/input_state.h"

#include <cstdlib>

#include "game/game_context.h"

InputState input = {0, 0, BUTTON_NONE};

void onMouse(int button, int buttonState, int x, int y) {
    input.mouseX = x;
    input.mouseY = y;
    // The first press of a frame wins; releases only move the pointer.
    if (input.pendingButton < 0 && buttonState == BUTTON_STATE_DOWN) input.pendingButton = button;
}

void onMotion(int x, int y) {
    input.mouseX = x;
    input.mouseY = y;
}

void onPassiveMotion(int x, int y) {
    input.mouseX = x;
    input.mouseY = y;
}

void onKeyboard(unsigned char key, int, int) {
    if (key != KEY_ESCAPE) return;
    if (game.state == STATE_MENU) {
        // The standard exit runs the static destructors: the font frees its
        // glyph lists and the sound bank closes the mixer.
        std::exit(0);
    }
    game.state = STATE_MENU;
}
