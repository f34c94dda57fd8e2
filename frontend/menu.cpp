#include "frontend/menu.h"

#include "app/frame_timer.h"
#include "app/input_state.h"
#include "frontend/splash.h"
#include "game/game_context.h"
#include "render/sprite_sheet.h"

const ShadowedLine MENU_HELP[MENU_HELP_LINES] = {
    {100, 350, "Level Select", 1, 0, 1},
    {100, 400, "Go ahead and select a World", 0, 1, 1},
    {100, 425, "Your progress is saved when you finish", 0, 1, 1},
    {100, 450, "Unlock new ones... by finishing old ones!", 0, 1, 1},
};

const ShadowedLine LOADING_MESSAGE = {100, 100, "Loading.... Please Wait", 1, 1, 1};

namespace {

void printIfAny(float x, float y, const char* text, float r, float g, float b) {
    if (text != nullptr && text[0] != '\0') sprites.printShadowed(x, y, text, r, g, b);
}

void drawMenuBackdrop() {
    for (int32_t y = 0; y < SCREEN_HEIGHT; y += 32)
        for (int32_t x = 0; x < SCREEN_WIDTH; x += 32) sprites.drawSprite(FRAME_MENU_TILE, x, y);
    sprites.drawSpriteScaled(FRAME_TITLE, 285, 20, 450, 175);
    sprites.drawSpriteScaled(FRAME_WOODBOX, -50, 318, 1150, 500);
    sprites.drawSprite(FRAME_MASCOT, -50, 350);

    // World 0 is pure green, world 10 pure red.
    for (int32_t i = 0; i < MENU_WORLDS; ++i) {
        const int32_t x = MENU_BUTTON_LEFT + MENU_BUTTON_SIZE * i;
        const float t = static_cast<float>(i) / 10.0f;
        sprites.drawSpriteTinted(FRAME_BUTTON, x, MENU_BUTTON_TOP, t, 1.0f - t, 0.0f);
        if (game.worldStatus[i] == WORLD_LOCKED) sprites.drawSprite(FRAME_CROSS, x, MENU_BUTTON_TOP);
        else if (game.worldStatus[i] == WORLD_FINISHED) sprites.drawSprite(FRAME_TICK, x, MENU_BUTTON_TOP);
    }
}

}  // namespace

void runMenuFrame() {
    sprites.beginFrame();
    drawMenu();
    frameTimer.isTickDue(tickClock);  // keeps the shared tick rhythm; the menu has no ticked state
    sprites.endFrame();
}

int32_t menuWorldAt(int32_t mouseX, int32_t mouseY) {
    if (mouseY <= MENU_BUTTON_TOP || mouseY >= MENU_BUTTON_TOP + MENU_BUTTON_SIZE) return -1;
    // In 64 bits, so a pointer far off to the left cannot overflow.
    const int64_t d = static_cast<int64_t>(mouseX) - MENU_BUTTON_LEFT;
    if (d <= 0 || d / MENU_BUTTON_SIZE >= MENU_WORLDS) return -1;
    return static_cast<int32_t>(d / MENU_BUTTON_SIZE);
}

void drawMenu() {
    // Everything under the texts changes only with the worlds' progress.
    LayerKey key(LAYER_MENU);
    for (int32_t i = 0; i < MENU_WORLDS; ++i) key.add(static_cast<uint64_t>(game.worldStatus[i]));
    if (!sprites.restoreLayer(key.hash)) {
        drawMenuBackdrop();
        sprites.keepLayer(key.hash);
    }
    const bool inButtonRow = input.mouseY > MENU_BUTTON_TOP && input.mouseY < MENU_BUTTON_TOP + MENU_BUTTON_SIZE;
    if (!inButtonRow) {
        for (const ShadowedLine& line : MENU_HELP) printLine(line);
    } else {
        const int32_t j = menuWorldAt(input.mouseX, input.mouseY);
        if (j >= 0) {
            const World& w = game.worlds[j];
            printIfAny(100, 350, w.name, 1, 0, 1);
            printIfAny(100, 400, w.line1, 0, 1, 1);
            printIfAny(100, 425, w.line2, 0, 1, 1);
            sprites.printValue(165, 535, "Highest Score : %d", game.bestScore[j]);
            // Any status but locked can be started, also values the profile
            // holds beyond finished.
            if (input.pendingButton == BUTTON_LEFT && game.worldStatus[j] != WORLD_LOCKED) game.startWorld(j);
        }
    }

    drawCredits();
    sprites.drawSprite(FRAME_LOGO, 20, 20);
    sprites.drawSprite(FRAME_POINTER, input.mouseX, input.mouseY);
}
