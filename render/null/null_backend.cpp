// Headless backend of the graphics object: records instead of drawing.
#include <cstdarg>
#include <cstdio>

#include "render/bitmap_font.h"
#include "render/null/draw_log.h"
#include "render/sprite_sheet.h"
#include "render/tga_image.h"

DrawLog drawLog;
BitmapFont font;

namespace {

bool spriteDrawnThisFrame = false;
uint32_t nextTexture = 1;

DrawCall blank(DrawOp op) {
    DrawCall c{};
    c.op = op;
    c.r = c.g = c.b = c.a = 1.0f;
    return c;
}

void record(const DrawCall& c) {
    if (drawLog.recording) drawLog.calls.push_back(c);
}

void recordSprite(DrawOp op, int32_t frame, int32_t x, int32_t y, int32_t w, int32_t h, float r,
                  float g, float b, float a) {
    // A frame outside the table draws nothing and, as on the screen, leaves
    // the selected matrix stack (and so where the next text lands) alone.
    if (!isValidFrame(frame)) return;
    spriteDrawnThisFrame = true;
    DrawCall c = blank(op);
    c.frame = frame;
    c.x = x;
    c.y = y;
    c.w = w;
    c.h = h;
    c.r = r;
    c.g = g;
    c.b = b;
    c.a = a;
    record(c);
}

void recordPrint(DrawOp op, float x, float y, const char* text, float r, float g, float b) {
    DrawCall c = blank(op);
    c.fx = x;
    c.fy = y;
    c.text = text;
    c.r = r;
    c.g = g;
    c.b = b;
    c.afterSprite = spriteDrawnThisFrame;
    record(c);
}

}  // namespace

std::vector<DrawCall> DrawLog::of(DrawOp op) const {
    std::vector<DrawCall> out;
    for (const DrawCall& c : calls)
        if (c.op == op) out.push_back(c);
    return out;
}

const DrawCall* DrawLog::findText(const std::string& text) const {
    for (const DrawCall& c : calls)
        if ((c.op == DrawOp::PrintShadowed || c.op == DrawOp::PrintValue || c.op == DrawOp::PrintTwoValues) &&
            c.text == text)
            return &c;
    return nullptr;
}

std::vector<DrawCall> DrawLog::spritesOf(int32_t frame) const {
    std::vector<DrawCall> out;
    for (const DrawCall& c : calls)
        if ((c.op == DrawOp::Sprite || c.op == DrawOp::SpriteScaled || c.op == DrawOp::SpriteFaded ||
             c.op == DrawOp::SpriteTinted) &&
            c.frame == frame)
            out.push_back(c);
    return out;
}

void SpriteSheet::drawSprite(int32_t frame, int32_t x, int32_t y) {
    const int32_t w = isValidFrame(frame) ? static_cast<int32_t>(frames[frame].width) : 0;
    const int32_t h = isValidFrame(frame) ? static_cast<int32_t>(frames[frame].height) : 0;
    recordSprite(DrawOp::Sprite, frame, x, y, w, h, 1, 1, 1, 1);
}

void SpriteSheet::drawSpriteScaled(int32_t frame, int32_t x, int32_t y, int32_t w, int32_t h) {
    recordSprite(DrawOp::SpriteScaled, frame, x, y, w, h, 1, 1, 1, 1);
}

void SpriteSheet::drawSpriteFaded(int32_t frame, int32_t x, int32_t y, float alpha) {
    const int32_t w = isValidFrame(frame) ? static_cast<int32_t>(frames[frame].width) : 0;
    const int32_t h = isValidFrame(frame) ? static_cast<int32_t>(frames[frame].height) : 0;
    recordSprite(DrawOp::SpriteFaded, frame, x, y, w, h, 1, 1, 1, alpha);
}

void SpriteSheet::drawSpriteTinted(int32_t frame, int32_t x, int32_t y, float r, float g, float b) {
    const int32_t w = isValidFrame(frame) ? static_cast<int32_t>(frames[frame].width) : 0;
    const int32_t h = isValidFrame(frame) ? static_cast<int32_t>(frames[frame].height) : 0;
    recordSprite(DrawOp::SpriteTinted, frame, x, y, w, h, r, g, b, 1);
}

void SpriteSheet::initGraphics() {}

// Nothing is kept here: every frame records every draw.
bool SpriteSheet::restoreLayer(uint64_t) { return false; }
void SpriteSheet::keepLayer(uint64_t) {}

void SpriteSheet::beginFrame() {
    spriteDrawnThisFrame = false;
    ++drawLog.framesBegun;
    record(blank(DrawOp::BeginFrame));
}

void SpriteSheet::endFrame() {
    ++drawLog.framesEnded;
    record(blank(DrawOp::EndFrame));
    if (presentFrame != nullptr) presentFrame();
}

void SpriteSheet::fillRect(int32_t x, int32_t y, int32_t w, int32_t h) {
    DrawCall c = blank(DrawOp::FillRect);
    c.x = x;
    c.y = y;
    c.w = w;
    c.h = h;
    record(c);
}

void SpriteSheet::setColour(float r, float g, float b, float a) {
    DrawCall c = blank(DrawOp::SetColour);
    c.r = r;
    c.g = g;
    c.b = b;
    c.a = a;
    record(c);
}

void SpriteSheet::printShadowed(float x, float y, const char* text, float r, float g, float b) {
    char line[FONT_LINE_BUFFER];
    // "%%" prints one percent sign, as on the screen.
    expandPercentSigns(text ? text : "", line, sizeof line);
    recordPrint(DrawOp::PrintShadowed, x, y, line, r, g, b);
}

void SpriteSheet::printValue(float x, float y, const char* format, int32_t value) {
    char line[FONT_LINE_BUFFER];
    std::snprintf(line, sizeof line, format, value);
    recordPrint(DrawOp::PrintValue, x, y, line, 1, 1, 1);
}

void SpriteSheet::printTwoValues(float x, float y, const char* format, int32_t a, int32_t b) {
    char line[FONT_LINE_BUFFER];
    std::snprintf(line, sizeof line, format, a, b);
    recordPrint(DrawOp::PrintTwoValues, x, y, line, 1, 1, 1);
}

int32_t loadTga(const char* path) {
    if (drawLog.recording) drawLog.texturesLoaded.push_back(path);
    TgaImage image;
    if (decodeTgaFile(path, image) != TGA_OK) return -1;
    return static_cast<int32_t>(nextTexture++);
}

void releaseTexture(int32_t texture) {
    if (texture >= 0 && drawLog.recording) drawLog.texturesReleased.push_back(texture);
}

BitmapFont::~BitmapFont() {}

uint32_t BitmapFont::buildFont(const char*) { return listBase; }

void BitmapFont::printFormatted(const char*, ...) {}
