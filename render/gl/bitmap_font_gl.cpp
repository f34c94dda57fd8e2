// The font of every text: fontconfig finds the installed face that best
// answers the game's face name, FreeType rasterises its 256 characters once
// into 1-bit bitmaps, and each goes into a display list that draws it at the
// raster position and moves the raster position on by the character's width.
//
// The game asks for Arial; fontconfig answers with Liberation Sans (Debian's
// fonts-liberation2), whose every character has Arial's width, so each line
// ends where it was laid out to end.
#include <GL/gl.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "render/bitmap_font.h"
#include "render/sprite_sheet.h"

BitmapFont font;

// [SECTION] Character set

uint32_t windows1252ToUnicode(uint8_t code) {
    // 0x80 to 0x9F; a 0 marks a code the page leaves empty.
    static const uint16_t upper[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
    };
    if (code >= 0x80 && code < 0xA0 && upper[code - 0x80] != 0) return upper[code - 0x80];
    return code;
}

// [SECTION] Building the glyph lists

namespace {

// Path of the face file the build used, kept for the whole run.
char resolvedFacePath[1024];

// The installed face for a name, or false when fontconfig finds none.
bool findFace(const char* faceName, bool italic, char* path, size_t pathSize, int* index) {
    if (!FcInit()) return false;
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) return false;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(faceName ? faceName : ""));
    if (italic) FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ITALIC);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    bool found = false;
    FcChar8* file = nullptr;
    if (match != nullptr && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        std::snprintf(path, pathSize, "%s", reinterpret_cast<const char*>(file));
        if (FcPatternGetInteger(match, FC_INDEX, 0, index) != FcResultMatch) *index = 0;
        found = true;
    }
    if (match != nullptr) FcPatternDestroy(match);
    return found;
}

// The height asked of the font is the height of its whole character cell,
// ascent plus descent as the face declares them, not of the em square.
void setCellHeight(FT_Face face, int32_t charHeight) {
    const int32_t cell = charHeight != 0 ? charHeight : 16;
    if (!FT_IS_SCALABLE(face)) {
        FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(cell < 0 ? -cell : cell));
        return;
    }
    double emPixels = cell < 0 ? -cell : cell;
    if (cell > 0) {
        const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        double cellUnits = 0;
        if (os2 != nullptr && os2->version != 0xFFFF) cellUnits = os2->usWinAscent + os2->usWinDescent;
        if (cellUnits <= 0) cellUnits = face->ascender - face->descender;
        if (cellUnits > 0) emPixels = cell * static_cast<double>(face->units_per_EM) / cellUnits;
    }
    FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(emPixels * 64.0)), 72, 72);
}

}  // namespace

// One character's picture: 1-bit rows, bottom row first, and where its
// origin and its advance lie.
struct GlyphBits {
    unsigned width = 0, rows = 0;
    float xorig = 0.0f, yorig = 0.0f, advance = 0.0f;
    std::vector<GLubyte> bits;  // (width + 7) / 8 bytes a row
};

namespace {

GlyphBits renderGlyph(FT_Face face, uint8_t code) {
    GlyphBits g;
    FT_UInt index = FT_Get_Char_Index(face, windows1252ToUnicode(code));
    if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) return g;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bm = slot->bitmap;
    g.advance = static_cast<float>(std::round(slot->advance.x / 64.0));
    if (bm.pixel_mode != FT_PIXEL_MODE_MONO || bm.rows == 0 || bm.width == 0 || bm.buffer == nullptr) return g;
    g.width = bm.width;
    g.rows = bm.rows;
    g.xorig = static_cast<float>(-slot->bitmap_left);
    g.yorig = static_cast<float>(static_cast<int>(bm.rows) - slot->bitmap_top);
    const size_t rowBytes = (g.width + 7) / 8;
    g.bits.resize(rowBytes * g.rows);
    const int pitch = bm.pitch;
    for (unsigned r = 0; r < g.rows; ++r) {
        // FreeType keeps the top row first (pitch > 0) or last (pitch < 0).
        const unsigned char* src = pitch >= 0 ? bm.buffer + static_cast<size_t>(r) * pitch
                                              : bm.buffer + static_cast<size_t>(g.rows - 1 - r) * -pitch;
        std::memcpy(&g.bits[(g.rows - 1 - r) * rowBytes], src, rowBytes);
    }
    return g;
}

// One character as one list: its picture placed so the glyph's origin sits
// on the raster position, then the advance.
void compileGlyph(const GlyphBits& g, GLuint list) {
    glNewList(list, GL_COMPILE);
    if (!g.bits.empty())
        glBitmap(static_cast<GLsizei>(g.width), static_cast<GLsizei>(g.rows), g.xorig, g.yorig, g.advance, 0.0f,
                 g.bits.data());
    else
        glBitmap(0, 0, 0.0f, 0.0f, g.advance, 0.0f, nullptr);
    glEndList();
}

}  // namespace

// [SECTION] The glyph atlas
// Every glyph's picture side by side in one texture, an alpha of 255 where
// the glyph has ink: a line is then one batch of textured quads instead of
// a bitmap per character, which a software renderer draws far faster. Each
// quad covers exactly the pixels the glyph's bitmap would.

void BitmapFont::buildAtlas(const std::vector<GlyphBits>& glyphs) {
    // Shelves of glyphs, a blank column and row between neighbours.
    int32_t x = 1, y = 1, shelf = 0;
    for (size_t c = 0; c < glyphs.size() && c < FONT_GLYPH_COUNT; ++c) {
        const GlyphBits& g = glyphs[c];
        AtlasGlyph& a = atlas[c];
        a = AtlasGlyph{};
        a.advance = g.advance;
        if (g.bits.empty()) continue;
        const int32_t w = static_cast<int32_t>(g.width), h = static_cast<int32_t>(g.rows);
        if (x + w + 1 > FONT_ATLAS_WIDTH) x = 1, y += shelf + 1, shelf = 0;
        a.x = x, a.y = y, a.width = w, a.height = h, a.xorig = g.xorig, a.yorig = g.yorig;
        x += w + 1;
        shelf = std::max(shelf, h);
    }
    int32_t height = 1;
    while (height < y + shelf + 1) height *= 2;
    std::vector<GLubyte> alpha(static_cast<size_t>(FONT_ATLAS_WIDTH) * height, 0);
    for (size_t c = 0; c < glyphs.size() && c < FONT_GLYPH_COUNT; ++c) {
        const GlyphBits& g = glyphs[c];
        const AtlasGlyph& a = atlas[c];
        const size_t rowBytes = (g.width + 7) / 8;
        // Row 0 of the bits is the glyph's bottom row, as the atlas keeps it.
        for (unsigned r = 0; r < g.rows; ++r)
            for (unsigned i = 0; i < g.width; ++i)
                if (g.bits[r * rowBytes + i / 8] & (0x80 >> (i % 8)))
                    alpha[static_cast<size_t>(a.y + r) * FONT_ATLAS_WIDTH + a.x + i] = 255;
    }
    if (atlasTexture == 0) glGenTextures(1, &atlasTexture);
    glPushAttrib(GL_TEXTURE_BIT);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glBindTexture(GL_TEXTURE_2D, atlasTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA8, FONT_ATLAS_WIDTH, height, 0, GL_ALPHA, GL_UNSIGNED_BYTE, alpha.data());
    glPopClientAttrib();
    glPopAttrib();
    atlasHeight = height;
    GLint dims[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, dims);
    atlasSpace = std::min<int32_t>(std::min(dims[0], dims[1]), 8192);
}

void BitmapFont::drawFromAtlas(const char* line, size_t length) const {
    // glBitmap draws nothing while the raster position lies outside the view.
    GLboolean valid = GL_FALSE;
    glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    if (!valid) return;
    GLfloat at[4], colour[4], current[4];
    glGetFloatv(GL_CURRENT_RASTER_POSITION, at);
    glGetFloatv(GL_CURRENT_RASTER_COLOR, colour);
    glGetFloatv(GL_CURRENT_COLOR, current);
    // Quads in window pixels, over a view larger than any window, so that
    // like bitmaps they are cut only by the window's own edges.
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_VIEWPORT_BIT | GL_TRANSFORM_BIT | GL_COLOR_BUFFER_BIT);
    glViewport(0, 0, atlasSpace, atlasSpace);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, atlasSpace, 0, atlasSpace, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, atlasTexture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    // The glyph's ink only; its colour is the raster colour, as a bitmap's.
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    glColor4fv(colour);
    const float du = 1.0f / FONT_ATLAS_WIDTH, dv = 1.0f / static_cast<float>(atlasHeight);
    float x = at[0];
    const float y = at[1];
    glBegin(GL_QUADS);
    for (size_t i = 0; i < length; ++i) {
        const AtlasGlyph& g = atlas[static_cast<uint8_t>(line[i])];
        if (g.width > 0) {
            // Where glBitmap puts the glyph's lower-left pixel.
            const float left = std::floor(x + BITMAP_EPSILON - g.xorig);
            const float bottom = std::floor(y + BITMAP_EPSILON - g.yorig);
            const float right = left + static_cast<float>(g.width), top = bottom + static_cast<float>(g.height);
            const float u0 = g.x * du, u1 = (g.x + g.width) * du, v0 = g.y * dv, v1 = (g.y + g.height) * dv;
            glTexCoord2f(u0, v0);
            glVertex2f(left, bottom);
            glTexCoord2f(u1, v0);
            glVertex2f(right, bottom);
            glTexCoord2f(u1, v1);
            glVertex2f(right, top);
            glTexCoord2f(u0, v1);
            glVertex2f(left, top);
        }
        x += g.advance;
    }
    glEnd();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
    glColor4fv(current);
    // The raster position moves on as the lists would move it, glyph by
    // glyph, so whatever reads it after the line finds it where it was.
    for (size_t i = 0; i < length; ++i) glBitmap(0, 0, 0.0f, 0.0f, atlas[static_cast<uint8_t>(line[i])].advance, 0.0f, nullptr);
}

BitmapFont::~BitmapFont() {
    if (listBase != 0) glDeleteLists(listBase, FONT_GLYPH_COUNT);
    listBase = 0;
    if (atlasTexture != 0) glDeleteTextures(1, &atlasTexture);
    atlasTexture = 0;
}

uint32_t BitmapFont::buildFont(const char* faceName) {
    // A second build replaces the first one's lists instead of leaking them.
    if (listBase != 0) glDeleteLists(listBase, FONT_GLYPH_COUNT);
    listBase = glGenLists(FONT_GLYPH_COUNT);
    if (listBase == 0) return 0;

    int faceIndex = 0;
    if (!findFace(faceName, (styleFlags & 2) != 0, resolvedFacePath, sizeof resolvedFacePath, &faceIndex))
        return listBase;
    resolvedFace = resolvedFacePath;
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return listBase;
    FT_Face face = nullptr;
    if (FT_New_Face(library, resolvedFacePath, faceIndex, &face) == 0) {
        FT_Select_Charmap(face, FT_ENCODING_UNICODE);
        setCellHeight(face, charHeight);
        glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
        glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
        glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
        glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
        std::vector<GlyphBits> glyphs;
        for (int c = 0; c < FONT_GLYPH_COUNT; ++c) {
            glyphs.push_back(renderGlyph(face, static_cast<uint8_t>(c)));
            compileGlyph(glyphs.back(), listBase + c);
        }
        glPopClientAttrib();
        buildAtlas(glyphs);
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return listBase;
}

void BitmapFont::printFormatted(const char* format, ...) {
    if (format == nullptr) return;
    char line[FONT_LINE_BUFFER];
    va_list values;
    va_start(values, format);
    // A longer line is cut at 255 characters instead of running past the buffer.
    std::vsnprintf(line, sizeof line, format, values);
    va_end(values);
    const size_t length = std::strlen(line);
    // Glyphs are never textured: until the first sprite of the run texturing
    // is still on with the last picture loaded bound, which would tint the
    // text with that picture's corner instead of the colour asked for.
    glPushAttrib(GL_LIST_BIT | GL_ENABLE_BIT);
    glDisable(GL_TEXTURE_2D);
    glRasterPos2f(rasterX, rasterY);
    sprites.frameIsBlank = false;
    if (useAtlas && atlasTexture != 0) {
        drawFromAtlas(line, length);
    } else {
        glListBase(listBase);
        glCallLists(static_cast<GLsizei>(length), GL_UNSIGNED_BYTE, line);
    }
    glPopAttrib();
}

// [SECTION] The three prints

namespace {

// The placement of a line: the anchor scaled into a space of 40 by 40
// units centred on the screen's middle, then scaled by s. It replaces the
// selected matrix, so where the line lands depends on that stack.
void pushTextPlacement(float x, float y, float s) {
    const float tx = x * 0.0390625f - 19.0f;
    const float ty = y * 0.052083332f - 19.0f;
    glPushMatrix();
    glLoadIdentity();
    glScalef(s, s, 0.0f);
    glTranslatef(tx, -ty, 1.0f);
}

}  // namespace

void SpriteSheet::printShadowed(float x, float y, const char* text, float r, float g, float b) {
    if (text == nullptr) return;
    char line[FONT_LINE_BUFFER];
    expandPercentSigns(text, line, sizeof line);
    pushTextPlacement(x, y, 0.05f);
    // The black copy first; the coloured one a little up and left, so the
    // black shows as a shadow to the lower right.
    glColor3f(0.0f, 0.0f, 0.0f);
    font.printFormatted("%s", line);
    glTranslatef(-0.1f, 0.1f, 1.0f);
    glColor3f(r, g, b);
    font.printFormatted("%s", line);
    glPopMatrix();
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"

void SpriteSheet::printValue(float x, float y, const char* format, int32_t value) {
    pushTextPlacement(x, y, 0.04f);
    glColor3f(1.0f, 1.0f, 1.0f);
    font.printFormatted(format, value);
    glPopMatrix();
}

void SpriteSheet::printTwoValues(float x, float y, const char* format, int32_t a, int32_t b) {
    pushTextPlacement(x, y, 0.04f);
    glColor3f(1.0f, 1.0f, 1.0f);
    font.printFormatted(format, a, b);
    glPopMatrix();
}

#pragma GCC diagnostic pop
