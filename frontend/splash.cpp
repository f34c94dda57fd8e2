#include "frontend/splash.h"

#include "app/frame_timer.h"
#include "render/sprite_sheet.h"

int32_t splashPhase = 0;
int32_t splashTicks = 0;
float splashFade = 1.0f;

void runSplashFrame() {
    sprites.beginFrame();
    if (frameTimer.isTickDue(tickClock)) ++splashTicks;
    sprites.endFrame();
}

void drawCredits() {}
