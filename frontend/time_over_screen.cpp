// The time-over screen: the board as the clock ran out, under the question
// "Try Again?" with a yes and a no button.
#include "frontend/play_screen.h"
#include "frontend/screen.h"
#include "render/sprite_sheet.h"

namespace {

constexpr int32_t YES_LEFT = 490;
constexpr int32_t NO_LEFT = 600;
constexpr int32_t BUTTONS_TOP = 360;
constexpr int32_t BUTTON_SIZE = 64;

// Hit inside a button's open rectangle.
bool inside(const Click& click, int32_t left, int32_t top) {
    return left < click.x && click.x < left + BUTTON_SIZE && top < click.y && click.y < top + BUTTON_SIZE;
}

void drawTimeOver(const GameContext& game, const Click& pointer) {
    drawPlayScreen(game, pointer);
    sprites.drawSprite(FRAME_WOODBOX, 450, 200);
    sprites.printShadowed(510, 230, "Time Over!", 1, 0, 0);
    sprites.printShadowed(510, 260, "Try Again?", 0, 1, 0);
    sprites.drawSprite(FRAME_BUTTON, YES_LEFT, BUTTONS_TOP);
    sprites.drawSprite(FRAME_TICK, YES_LEFT, BUTTONS_TOP);
    sprites.drawSprite(FRAME_BUTTON, NO_LEFT, BUTTONS_TOP);
    sprites.drawSprite(FRAME_CROSS, NO_LEFT, BUTTONS_TOP);
    sprites.drawSprite(FRAME_POINTER, pointer.x, pointer.y);
    drawClock(game);
}

// A left click in a ticked frame answers the question, or in any frame Y
// or Enter for yes and N for no; the board and the clock stand still
// meanwhile.
int32_t tickTimeOver(GameContext& game, const FrameInput& input) {
    const bool clicked = input.tickDue && input.click.button == BUTTON_LEFT;
    if ((clicked && inside(input.click, YES_LEFT, BUTTONS_TOP)) || (input.keys & (KEY_ACTION_YES | KEY_ACTION_ENTER))) {
        game.retryLevel();
        return STATE_PLAY;
    }
    if ((clicked && inside(input.click, NO_LEFT, BUTTONS_TOP)) || (input.keys & KEY_ACTION_NO)) return STATE_MENU;
    return game.state;
}

}  // namespace

const Screen TIME_OVER_SCREEN = {nullptr, drawTimeOver, tickTimeOver};
