// The opening splash screen and the credits panel the menu shows.
#pragma once

#include <cstdint>

extern int32_t splashPhase;  // 0 the maker's line, 1 the splash picture
extern int32_t splashTicks;  // ticks counted in the current phase
extern float splashFade;     // darkness of the fade: 1 black, 0 fully shown

void runSplashFrame();
void drawCredits();
