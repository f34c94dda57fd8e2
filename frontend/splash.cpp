#include "frontend/splash.h"

#include "frontend/screen.h"
#include "render/sprite_sheet.h"

int32_t splashPhase = 0;
int32_t splashTicks = 0;
float splashFade = 1.0f;

namespace {

constexpr int32_t SPLASH_PHASE_TICKS = 500;  // each phase ends on the first frame past this
constexpr float FADE_STEP = 0.01f;           // per frame, so a fade lasts about 100 frames

float fadeStep(float fade) {
    fade -= FADE_STEP;
    return fade < 0.0f ? 0.0f : fade;
}

bool makersLineEnds() { return splashPhase == 0 && splashTicks > SPLASH_PHASE_TICKS; }

void enterSplash(GameContext&) {
    splashPhase = 0;
    splashTicks = 0;
    splashFade = 1.0f;
}

void drawSplash(const GameContext&, const Click&) {
    if (splashPhase == 0) {
        // The maker's line, rising out of the black.
        const float grey = 1.0f - splashFade;
        sprites.printShadowed(400, 300, "Halvoren Games Presents....", grey, grey, grey);
    }
    // The frame that ends the maker's line already shows the picture, still
    // under a black veil, which then thins away frame by frame.
    if (splashPhase == 1 || makersLineEnds()) {
        const uint64_t key = LayerKey(LAYER_SPLASH).hash;
        if (!sprites.restoreLayer(key)) {
            sprites.drawSpriteScaled(FRAME_SPLASH, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
            sprites.keepLayer(key);
        }
        sprites.setColour(0, 0, 0, splashPhase == 1 ? splashFade : 1.0f);
        sprites.fillRect(0, SCREEN_HEIGHT, SCREEN_WIDTH, SCREEN_HEIGHT);
    }
}

// The fades step every frame; the phases last a count of ticks.
int32_t tickSplash(GameContext&, const FrameInput& input) {
    int32_t next = STATE_SPLASH;
    if (splashPhase == 0) {
        splashFade = fadeStep(splashFade);
        if (splashTicks > SPLASH_PHASE_TICKS) {
            splashPhase = 1;
            splashTicks = 0;
            splashFade = 1.0f;
        }
    }
    if (splashPhase == 1) {
        splashFade = fadeStep(splashFade);
        if (splashTicks > SPLASH_PHASE_TICKS) next = STATE_MENU;
    }
    if (input.tickDue) ++splashTicks;
    if (input.skipPressed || (input.keys & KEY_ACTION_ENTER)) next = STATE_MENU;
    return next;
}

}  // namespace

const Screen SPLASH_SCREEN = {enterSplash, drawSplash, tickSplash};

const ShadowedLine CREDITS[CREDIT_LINES] = {
    {510, 370, "Credits", 1, 1, 1},
    {510, 420, "Programming / Design : Orrin Vale, Tamsin Brook", 1, 1, 0},
    {510, 450, "Graphics : Juniper Hale", 1, 1, 0},
    {510, 480, "Wallpapers : Corwin Ashby", 0, 1, 0},
    {510, 510, "Lead Testing : Mirela Stone", 0, 1, 0},
    {510, 540, "Additional Testing : Pip Calloway, Rowan Teague", 1, 0, 1},
    {510, 570, "Music : Elsbeth Marrow", 1, 0, 1},
    {510, 600, "And thanks to everyone else!", 1, 0, 0},
};

void drawCredits() {
    for (const ShadowedLine& line : CREDITS) printLine(line);
}
