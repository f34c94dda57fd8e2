// The headless drawing backend: every draw, print and frame bracket is
// written to a log instead of the screen, so tests can check what a screen
// draws and where, and tools can run the screens without a display.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class DrawOp {
    BeginFrame,
    EndFrame,
    Sprite,
    SpriteScaled,
    SpriteFaded,
    SpriteTinted,
    FillRect,
    SetColour,
    PrintShadowed,
    PrintValue,
    PrintTwoValues,
};

struct DrawCall {
    DrawOp op;
    int32_t frame;
    int32_t x, y, w, h;      // sprite corner and size; fillRect's rectangle
    float fx, fy;            // a print's anchor
    float r, g, b, a;        // colour or tint; a is the fade's opacity
    std::string text;        // a print's formatted text
    bool afterSprite;        // a print made after a sprite of the same frame
};

struct DrawLog {
    bool recording = false;
    std::vector<DrawCall> calls;
    std::vector<std::string> texturesLoaded;  // every path handed to loadTga
    std::vector<int32_t> texturesReleased;    // every handle handed to releaseTexture
    int framesBegun = 0;
    int framesEnded = 0;

    void clear() {
        calls.clear();
        texturesLoaded.clear();
        texturesReleased.clear();
        framesBegun = framesEnded = 0;
    }
    // The calls of one kind, in order.
    std::vector<DrawCall> of(DrawOp op) const;
    // The first print whose text is exactly the given one, or null.
    const DrawCall* findText(const std::string& text) const;
    // Sprite draws (any of the four) of one frame, in order.
    std::vector<DrawCall> spritesOf(int32_t frame) const;
};

extern DrawLog drawLog;
