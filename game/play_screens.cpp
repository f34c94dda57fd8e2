#include "app/frame_timer.h"
#include "game/game_context.h"
#include "render/sprite_sheet.h"

void GameContext::runPlayFrame() {
    sprites.beginFrame();
    if (frameTimer.isTickDue(tickClock)) playTick();
    sprites.endFrame();
}

void GameContext::runLevelCompleteFrame() {
    sprites.beginFrame();
    if (frameTimer.isTickDue(tickClock)) levelCompleteTick();
    sprites.endFrame();
}

void GameContext::runTimeOverFrame() {
    sprites.beginFrame();
    frameTimer.isTickDue(tickClock);
    sprites.endFrame();
}

void GameContext::startWorld(int32_t) {}
