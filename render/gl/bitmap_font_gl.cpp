// Placeholder until the glyphs are rasterised: prints draw nothing yet.
#include "render/bitmap_font.h"
#include "render/sprite_sheet.h"

BitmapFont font;

BitmapFont::~BitmapFont() {}
uint32_t BitmapFont::buildFont(const char*) { return listBase; }
void BitmapFont::printFormatted(const char*, ...) {}
void SpriteSheet::printShadowed(float, float, const char*, float, float, float) {}
void SpriteSheet::printValue(float, float, const char*, int32_t) {}
void SpriteSheet::printTwoValues(float, float, const char*, int32_t, int32_t) {}
