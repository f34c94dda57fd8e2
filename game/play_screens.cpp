// The three screens of a level in progress. Each draws first, so the screen
// shows the state before the tick of the same frame, then runs one tick
// when one is due.
#include "app/frame_timer.h"
#include "app/input_state.h"
#include "app/shell.h"
#include "frontend/hud.h"
#include "frontend/menu.h"
#include "game/game_context.h"
#include "render/sprite_sheet.h"

namespace {

constexpr int32_t LEVEL_CLOCK = 99;

// The yes and no buttons of "Try Again?", hit inside their open rectangles.
bool inside(int32_t left, int32_t top) {
    return left < input.mouseX && input.mouseX < left + 64 && top < input.mouseY && input.mouseY < top + 64;
}

}  // namespace

void GameContext::runPlayFrame() {
    sprites.beginFrame();
    drawPlayScreen();
    sprites.printValue(100, 200, "Time : %d", clock);
    if (frameTimer.isTickDue(tickClock)) playTick();
    sprites.endFrame();
}

void GameContext::runLevelCompleteFrame() {
    sprites.beginFrame();
    drawPlayScreen();
    sprites.printValue(100, 200, "Time : %d", clock);
    sprites.drawSprite(FRAME_LEVEL_COMPLETE, 480, 300);
    if (frameTimer.isTickDue(tickClock)) levelCompleteTick();
    sprites.endFrame();
}

void GameContext::runTimeOverFrame() {
    sprites.beginFrame();
    drawPlayScreen();
    sprites.drawSprite(FRAME_WOODBOX, 450, 200);
    sprites.printShadowed(510, 230, "Time Over!", 1, 0, 0);
    sprites.printShadowed(510, 260, "Try Again?", 0, 1, 0);
    sprites.drawSprite(FRAME_BUTTON, 490, 360);
    sprites.drawSprite(FRAME_TICK, 490, 360);
    sprites.drawSprite(FRAME_BUTTON, 600, 360);
    sprites.drawSprite(FRAME_CROSS, 600, 360);
    sprites.drawSprite(FRAME_POINTER, input.mouseX, input.mouseY);
    sprites.printValue(100, 200, "Time : %d", clock);
    if (frameTimer.isTickDue(tickClock) && input.pendingButton == BUTTON_LEFT) {
        if (inside(490, 360)) {
            // A retry starts the whole run's score again, not only the level's.
            score = 0;
            clock = LEVEL_CLOCK;
            installLevel(levelIndex);
        }
        if (inside(600, 360)) state = STATE_MENU;
    }
    sprites.endFrame();
}

void GameContext::startWorld(int32_t j) {
    if (j < 0 || j >= WORLD_COUNT) return;
    // Put the message up at once: reading the level file and the picture
    // may take a moment.
    sprites.beginFrame();
    printLine(LOADING_MESSAGE);
    sprites.endFrame();

    worldIndex = j;
    score = 0;
    levelIndex = 0;
    // The new world's background replaces the last one, whose texture goes
    // back, so a player starting world after world never piles them up.
    const int32_t previousBackground = levelBackgroundTexture;
    levelBackgroundTexture = loadTga(worlds[j].backgroundFile);
    if (previousBackground >= 0 && previousBackground != levelBackgroundTexture) releaseTexture(previousBackground);
    sprites.setupFrames(512, 384, static_cast<uint32_t>(levelBackgroundTexture), 512, 384, FRAME_BACKGROUND,
                        FRAME_BACKGROUND);
    loadLevelSet(worlds[j].levelFile);
    clock = LEVEL_CLOCK;
    installLevel(levelIndex);
    state = STATE_PLAY;
}
