// A line of text the front end always prints at the same place in the same
// colour, with its shadow. Kept as data so the screens' texts can be listed.
#pragma once

#include "render/sprite_sheet.h"

struct ShadowedLine {
    float x;
    float y;
    const char* text;
    float r, g, b;
};

inline void printLine(const ShadowedLine& line) {
    sprites.printShadowed(line.x, line.y, line.text, line.r, line.g, line.b);
}
