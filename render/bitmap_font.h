// The font of every text in the game: 256 glyphs turned once, at start-up,
// into display lists that each draw one character as a bitmap at the raster
// position and advance it by the character's width.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int FONT_GLYPH_COUNT = 256;
// The face every text of the game was laid out in. The lines of the lessons
// and the credits are as long as the screen allows in it, so a wider face
// pushes their ends off the right edge.
constexpr const char* GAME_FACE = "Arial";
constexpr int FONT_LINE_BUFFER = 256;  // one formatted line holds at most 255 characters
constexpr int FONT_ATLAS_WIDTH = 512;  // texels across the glyph atlas
// glBitmap places a glyph at the floor of the raster position less its
// origin, the position nudged up by this much first (Mesa's own rounding).
constexpr float BITMAP_EPSILON = 0.0001f;

// A glyph's place in the atlas texture (texels, row 0 at the bottom) and its
// bitmap's origin and advance.
struct AtlasGlyph {
    int32_t x = 0, y = 0, width = 0, height = 0;
    float xorig = 0.0f, yorig = 0.0f, advance = 0.0f;
};
struct GlyphBits;

class BitmapFont {
public:
    BitmapFont() = default;
    ~BitmapFont();  // deletes the glyph lists

    void setHeight(int32_t height) { charHeight = height; }
    void setStyleFlags(int32_t flags) { styleFlags = flags; }
    void setRasterPos(float x, float y) {
        rasterX = x;
        rasterY = y;
    }

    // Rasterises the 256 glyphs of the installed face that best answers the
    // given name and returns the first list. Needs a current GL context.
    uint32_t buildFont(const char* faceName);

    // Formats one line (cut at 255 characters) and draws it at the raster position.
    void printFormatted(const char* format, ...) __attribute__((format(printf, 2, 3)));

private:
    void buildAtlas(const std::vector<GlyphBits>& glyphs);
    void drawFromAtlas(const char* line, size_t length) const;

public:

    uint32_t listBase = 0;
    // The same glyphs in one texture, which lines are drawn from; the lists
    // draw exactly the same pixels, and do when the atlas is off.
    bool useAtlas = true;
    uint32_t atlasTexture = 0;
    int32_t atlasHeight = 0;
    int32_t atlasSpace = 0;  // the window-pixel square the quads are placed in
    AtlasGlyph atlas[FONT_GLYPH_COUNT] = {};
    int32_t styleFlags = 0;  // 2 asks for an italic face
    int32_t charHeight = 32;
    float rasterX = 0.0f;
    float rasterY = 0.0f;
    const char* resolvedFace = nullptr;  // file of the face the build used, for the curious
};

extern BitmapFont font;

// The character a code 0 to 255 stands for in the game's texts: the Western
// Windows code page, so 128 to 159 hold the euro sign, typographic quotes and
// dashes, and 160 to 255 the Latin-1 letters. Codes the page leaves empty
// keep their own value.
uint32_t windows1252ToUnicode(uint8_t code);

// A text that carries no number: "%%" is its only conversion and stands for
// one percent sign; any other '%' is kept as it is rather than read as a
// conversion with no value behind it. Cut like a formatted line.
inline void expandPercentSigns(const char* text, char* line, size_t size) {
    size_t n = 0;
    for (const char* p = text; *p != '\0' && n + 1 < size; ++p) {
        if (p[0] == '%' && p[1] == '%') ++p;
        line[n++] = *p;
    }
    if (size > 0) line[n] = '\0';
}
