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

// One character as one list: its 1-bit picture, bottom row first, placed so
// the glyph's origin sits on the raster position, then the advance.
void compileGlyph(FT_Face face, uint8_t code, GLuint list) {
    FT_UInt index = FT_Get_Char_Index(face, windows1252ToUnicode(code));
    glNewList(list, GL_COMPILE);
    if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) == 0) {
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bm = slot->bitmap;
        const float advance = static_cast<float>(std::round(slot->advance.x / 64.0));
        const unsigned rows = bm.rows;
        const unsigned width = bm.width;
        if (bm.pixel_mode == FT_PIXEL_MODE_MONO && rows > 0 && width > 0 && bm.buffer != nullptr) {
            const size_t rowBytes = (width + 7) / 8;
            std::vector<GLubyte> bits(rowBytes * rows);
            const int pitch = bm.pitch;
            for (unsigned r = 0; r < rows; ++r) {
                // FreeType keeps the top row first (pitch > 0) or last (pitch < 0).
                const unsigned char* src = pitch >= 0 ? bm.buffer + static_cast<size_t>(r) * pitch
                                                      : bm.buffer + static_cast<size_t>(rows - 1 - r) * -pitch;
                std::memcpy(&bits[(rows - 1 - r) * rowBytes], src, rowBytes);
            }
            glBitmap(static_cast<GLsizei>(width), static_cast<GLsizei>(rows),
                     static_cast<GLfloat>(-slot->bitmap_left),
                     static_cast<GLfloat>(static_cast<int>(rows) - slot->bitmap_top), advance, 0.0f,
                     bits.data());
        } else {
            glBitmap(0, 0, 0.0f, 0.0f, advance, 0.0f, nullptr);
        }
    }
    glEndList();
}

}  // namespace

BitmapFont::~BitmapFont() {
    if (listBase != 0) glDeleteLists(listBase, FONT_GLYPH_COUNT);
    listBase = 0;
}

uint32_t BitmapFont::buildFont(const char* faceName) {
    // A second build replaces the first one's lists instead of leaking them.
    if (listBase != 0) glDeleteLists(listBase, FONT_GLYPH_COUNT);
    listBase = glGenLists(FONT_GLYPH_COUNT);
    if (listBase == 0) return 0;
    // Outline glyphs are not built on this platform; bitmap glyphs keep no
    // advance table, so every line starts at its anchor.
    for (float& a : glyphAdvance) a = 0.0f;

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
        for (int c = 0; c < FONT_GLYPH_COUNT; ++c) compileGlyph(face, static_cast<uint8_t>(c), listBase + c);
        glPopClientAttrib();
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return listBase;
}

void BitmapFont::printFormatted(const char* format, ...) {
    glPushMatrix();
    if (format == nullptr) {
        glPopMatrix();
        return;
    }
    char line[FONT_LINE_BUFFER];
    va_list values;
    va_start(values, format);
    // A longer line is cut at 255 characters instead of running past the buffer.
    std::vsnprintf(line, sizeof line, format, values);
    va_end(values);
    const size_t length = std::strlen(line);
    float width = 0.0f;
    for (size_t i = 0; i < length; ++i) width += glyphAdvance[static_cast<uint8_t>(line[i])];
    glTranslatef(-width / 2.0f, 0.0f, 0.0f);
    // Glyphs are never textured: until the first sprite of the run texturing
    // is still on with the last picture loaded bound, which would tint the
    // text with that picture's corner instead of the colour asked for.
    glPushAttrib(GL_LIST_BIT | GL_ENABLE_BIT);
    glDisable(GL_TEXTURE_2D);
    glRasterPos2f(rasterX, rasterY);
    glListBase(listBase);
    glCallLists(static_cast<GLsizei>(length), GL_UNSIGNED_BYTE, line);
    glPopAttrib();
    glPopMatrix();
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
