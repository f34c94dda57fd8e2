// The opening splash screen and the credits panel the menu shows.
#pragma once

#include <cstdint>

#include "frontend/shadowed_line.h"

extern int32_t splashPhase;  // 0 the maker's line, 1 the splash picture
extern int32_t splashTicks;  // ticks counted in the current phase
extern float splashFade;     // darkness of the fade: 1 black, 0 fully shown

// The credits panel, line by line: each role with the names credited for it.
constexpr int CREDIT_LINES = 8;
extern const ShadowedLine CREDITS[CREDIT_LINES];

void drawCredits();
