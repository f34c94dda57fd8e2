// The game's one graphics object: the table of sprite frames cut from the
// loaded pictures, the four ways of drawing a frame, the frame bracket and
// the text prints. The table itself is plain data; the drawing is done by a
// backend: OpenGL in the program, a recording one in headless tests and tools.
#pragma once

#include <cstdint>

// Frame numbers the game uses are 1 to 29.
constexpr int FRAME_TABLE_SIZE = 30;

constexpr int FRAME_POINTER = 14;
constexpr int FRAME_TITLE = 17;
constexpr int FRAME_MENU_TILE = 18;
constexpr int FRAME_BACKGROUND = 19;
constexpr int FRAME_BUTTON = 20;
constexpr int FRAME_DUSTBIN = 21;
constexpr int FRAME_TICK = 22;
constexpr int FRAME_CROSS = 23;
constexpr int FRAME_MASCOT = 24;
constexpr int FRAME_LOGO = 26;
constexpr int FRAME_WOODBOX = 27;
constexpr int FRAME_LEVEL_COMPLETE = 28;
constexpr int FRAME_SPLASH = 29;

constexpr int SCREEN_WIDTH = 1024;
constexpr int SCREEN_HEIGHT = 768;

struct SpriteFrame {
    uint32_t texture;
    double s0, t0;  // top-left texture coordinate (t = 0 is the picture's top row)
    double s1, t1;  // bottom-right texture coordinate
    double width, height;  // natural drawn size in screen units
};

// True for frame numbers that have a place in the table.
inline bool isValidFrame(int32_t frame) { return frame >= 0 && frame < FRAME_TABLE_SIZE; }

class SpriteSheet {
public:
    // Registers frames first..last cut left to right, then row by row, from
    // an image of the given size. Numbers outside the table are skipped.
    void setupFrames(int32_t imageWidth, int32_t imageHeight, uint32_t texture, int32_t frameWidth,
                     int32_t frameHeight, int32_t first, int32_t last);

    // Positions are the picture's top-left corner, y growing downward.
    // A frame number outside the table draws nothing.
    void drawSprite(int32_t frame, int32_t x, int32_t y);
    void drawSpriteScaled(int32_t frame, int32_t x, int32_t y, int32_t w, int32_t h);
    void drawSpriteFaded(int32_t frame, int32_t x, int32_t y, float alpha);
    void drawSpriteTinted(int32_t frame, int32_t x, int32_t y, float r, float g, float b);

    // The frame bracket and the fixed 2D space.
    void initGraphics();
    void beginFrame();
    void endFrame();
    // Untextured rectangle in bottom-up 2D coordinates, drawn in the current colour.
    void fillRect(int32_t x, int32_t y, int32_t w, int32_t h);
    void setColour(float r, float g, float b, float a);

    // Text, anchored in screen coordinates.
    void printShadowed(float x, float y, const char* text, float r, float g, float b);
    void printValue(float x, float y, const char* format, int32_t value);
    void printTwoValues(float x, float y, const char* format, int32_t a, int32_t b);

    // A still layer: what a screen draws first, the same way frame after
    // frame (the play screen's background and board, the menu's backdrop,
    // the splash picture), is drawn once, kept as a copy of the window's
    // pixels and put back one to one on the frames after. restoreLayer puts
    // back the layer kept under this key, at this window size, and answers
    // true; otherwise the caller draws the layer itself, right after
    // beginFrame, and then calls keepLayer with the key. Either way the
    // frame goes on in the same GL state.
    // Keys come from LayerKey over all the layer depends on; framesVersion
    // is part of each, so a picture loaded anew never shows an old layer.
    bool restoreLayer(uint64_t key);
    void keepLayer(uint64_t key);
    bool keepsLayers = true;  // off: every frame draws every picture
    uint32_t layersPutBack = 0;  // how often a kept layer was put back
    uint32_t layersKept = 0;     // how often a layer was kept
    // Nothing drawn yet since beginFrame: a layer is kept and put back only
    // as the first thing of a frame.
    bool frameIsBlank = true;

    // A picture drawn no smaller than its own size on the window samples its
    // top level alone, the same pixels the mipmapped filter gives it there,
    // for less work; one drawn smaller keeps the mipmaps.
    bool minifiesByNeed = true;

    SpriteFrame frames[FRAME_TABLE_SIZE];
    uint32_t framesVersion = 0;  // counts the registrations of frames

    // Shows the finished frame and asks for the next one (the program hands
    // in the toolkit's buffer swap and redisplay); none in offscreen tests.
    void (*presentFrame)() = nullptr;
};

extern SpriteSheet sprites;

// The screens that keep a still layer.
constexpr uint64_t LAYER_SPLASH = 1;
constexpr uint64_t LAYER_MENU = 2;
constexpr uint64_t LAYER_PLAY = 3;

// A key for a still layer: a hash of the values fed in.
struct LayerKey {
    uint64_t hash = 14695981039346656037ull;
    explicit LayerKey(uint64_t screen) { add(screen); add(sprites.framesVersion); }
    uint64_t add(uint64_t value);
};

// Reads a TGA picture into a new texture; -1 when the file cannot be opened
// or is refused.
int32_t loadTga(const char* path);
// Gives a texture made by loadTga back; no frame may draw it afterwards.
// A negative handle (a picture that never loaded) is ignored.
void releaseTexture(int32_t texture);
