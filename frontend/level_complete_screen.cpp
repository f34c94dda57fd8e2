// The level-complete screen: the cleared board under its banner while the
// clock left over is counted into the score; then the next level, or, after
// the ninth, the menu with the world finished and the progress saved.
#include <cstring>

#include "frontend/play_screen.h"
#include "frontend/profile.h"
#include "frontend/screen.h"
#include "render/sprite_sheet.h"

namespace {

// Under the banner, how the pushes made compare with the level's par; a
// level cleared after a hint counts as cleared, but not for par.
const char* parVerdict(const GameContext& game) {
    const int32_t par = levelPar(game);
    const auto made = static_cast<int32_t>(playHistory.size());
    if (par <= 0) return nullptr;
    if (playHinted) return "Cleared with a hint";
    if (made < par) return "Fewer pushes than par!";
    if (made == par) return "Par matched!";
    return nullptr;
}

void drawLevelComplete(const GameContext& game, const Click& pointer) {
    drawPlayScreen(game, pointer);
    drawClock(game);
    drawPushes(game);
    sprites.drawSprite(FRAME_LEVEL_COMPLETE, 480, 300);
    // Centred under the banner, at about ten pixels a letter.
    if (const char* verdict = parVerdict(game))
        sprites.printShadowed(600.0f - 4.9f * static_cast<float>(std::strlen(verdict)), 460, verdict, 1, 1, 0);
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
