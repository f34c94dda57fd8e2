// The font of every text in the game: 256 glyphs turned once, at start-up,
// into display lists that each draw one character as a bitmap at the raster
// position and advance it by the character's width.
#pragma once

#include <cstdint>

constexpr int FONT_GLYPH_COUNT = 256;
constexpr int FONT_LINE_BUFFER = 256;  // one formatted line holds at most 255 characters

class BitmapFont {
public:
    BitmapFont() = default;
    ~BitmapFont();  // deletes the glyph lists

    void setHeight(int32_t height) { charHeight = height; }
    void setStyleFlags(int32_t flags) { styleFlags = flags; }
    void setOutlineMode(int32_t mode) { outlineMode = mode; }
    void setEscapement(int32_t value) { escapement = value; }
    void setOrientation(int32_t value) { orientation = value; }
    void setOutlineFormat(int32_t value) { outlineFormat = value; }
    void setExtrusion(float value) { extrusion = value; }
    void setDeviation(float value) { deviation = value; }
    void setRasterPos(float x, float y) {
        rasterX = x;
        rasterY = y;
    }

    // Rasterises the 256 glyphs of the installed face that best answers the
    // given name and returns the first list. Needs a current GL context.
    uint32_t buildFont(const char* faceName);

    // Formats one line (cut at 255 characters) and draws it at the raster position.
    void printFormatted(const char* format, ...) __attribute__((format(printf, 2, 3)));

    uint32_t listBase = 0;
    float glyphAdvance[FONT_GLYPH_COUNT] = {};  // outline glyphs only; bitmap glyphs keep 0
    int32_t styleFlags = 0;
    int32_t escapement = 0;
    int32_t orientation = 0;
    float extrusion = 0.4f;
    float deviation = 0.0f;
    int32_t charHeight = 32;
    int32_t outlineFormat = 0;
    float rasterX = 0.0f;
    float rasterY = 0.0f;
    int32_t outlineMode = 0;
    const char* resolvedFace = nullptr;  // file of the face the build used, for the curious
};

extern BitmapFont font;
