// The offscreen screen for the drawing tests: a 1024 by 768 Mesa buffer
// made current before any test runs, with the game's fixed 2D state set up
// once as at start-up, and helpers to read the screen back.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <string>
#include <vector>

namespace offscreen {

struct Rgba {
    int r, g, b, a;
};

// The whole screen, bottom row first, 4 bytes a pixel.
std::vector<uint8_t> readScreen();
// One pixel in the bottom-up 2D space (x, y) as drawn.
Rgba pixelAt(const std::vector<uint8_t>& screen, int x, int y);
// Clears to a colour by the game's own frame start.
void beginFrameOn(float r, float g, float b);
// A picture of the given pixels (top row first, RGBA) written to a file and
// loaded as the game loads its pictures.
int32_t loadPicture(const std::string& name, int w, int h, const std::vector<uint8_t>& rgba,
                    bool topRowFirst = false);

}  // namespace offscreen
