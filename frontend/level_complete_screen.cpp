// The level-complete screen: the cleared board under its banner while the
// clock left over is counted into the score; then the next level, or, after
// the ninth, the menu with the world finished and the progress saved.
#include "frontend/play_screen.h"
#include "frontend/profile.h"
#include "frontend/screen.h"
#include "render/sprite_sheet.h"

namespace {

void drawLevelComplete(const GameContext& game, const Click& pointer) {
    drawPlayScreen(game, pointer);
    drawClock(game);
    sprites.drawSprite(FRAME_LEVEL_COMPLETE, 480, 300);
}

int32_t tickLevelComplete(GameContext& game, const FrameInput& input) {
    if (!input.tickDue) return game.state;
    TickEvents events;
    game.levelCompleteTick(events);
    if (events.has(EVENT_WORLD_FINISHED)) saveProfile(game);
    return stateAfter(game.state, events);
}

}  // namespace

const Screen LEVEL_COMPLETE_SCREEN = {nullptr, drawLevelComplete, tickLevelComplete};
