// OpenGL backend of the graphics object: the frame bracket, the fixed 2D
// space and the four sprite draws, all fixed function and immediate mode.
#include <GL/gl.h>

#include "render/sprite_sheet.h"

// [SECTION] Frame set-up and 2D projection

void SpriteSheet::initGraphics() {
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    // The model-view matrix carries the whole 2D mapping for the run: x 0 to
    // 1024 left to right, y 0 to 768 bottom to top.
    glOrtho(0, SCREEN_WIDTH, 0, SCREEN_HEIGHT, 0, -2);
}

void SpriteSheet::beginFrame() {
    glDisable(GL_ALPHA_TEST);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
}

void SpriteSheet::endFrame() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    if (presentFrame != nullptr) presentFrame();
}

void SpriteSheet::fillRect(int32_t x, int32_t y, int32_t w, int32_t h) {
    glBegin(GL_QUADS);
    glVertex2f(static_cast<float>(x), static_cast<float>(y));
    glVertex2f(static_cast<float>(x + w), static_cast<float>(y));
    glVertex2f(static_cast<float>(x + w), static_cast<float>(y - h));
    glVertex2f(static_cast<float>(x), static_cast<float>(y - h));
    glEnd();
}

void SpriteSheet::setColour(float r, float g, float b, float a) { glColor4f(r, g, b, a); }

// [SECTION] Sprite drawing

namespace {

// The state every sprite draw sets again, then the quad from bottom-left
// counter-clockwise, the frame's top edge at the top.
void drawQuad(const SpriteFrame& f, double left, double right, double top, double bottom, float r, float g,
              float b, float a) {
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    glMatrixMode(GL_MODELVIEW);
    glBindTexture(GL_TEXTURE_2D, f.texture);
    glColor4f(r, g, b, a);
    glBegin(GL_QUADS);
    glTexCoord2f(static_cast<float>(f.s0), static_cast<float>(f.t1));
    glVertex2f(static_cast<float>(left), static_cast<float>(bottom));
    glTexCoord2f(static_cast<float>(f.s1), static_cast<float>(f.t1));
    glVertex2f(static_cast<float>(right), static_cast<float>(bottom));
    glTexCoord2f(static_cast<float>(f.s1), static_cast<float>(f.t0));
    glVertex2f(static_cast<float>(right), static_cast<float>(top));
    glTexCoord2f(static_cast<float>(f.s0), static_cast<float>(f.t0));
    glVertex2f(static_cast<float>(left), static_cast<float>(top));
    glEnd();
}

void finishQuad() {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_ALPHA_TEST);
}

}  // namespace

void SpriteSheet::drawSprite(int32_t frame, int32_t x, int32_t y) {
    if (!isValidFrame(frame)) return;
    const SpriteFrame& f = frames[frame];
    const double top = SCREEN_HEIGHT - static_cast<double>(y);
    drawQuad(f, x, x + f.width, top, top - f.height, 1, 1, 1, 1);
    finishQuad();
}

void SpriteSheet::drawSpriteScaled(int32_t frame, int32_t x, int32_t y, int32_t w, int32_t h) {
    if (!isValidFrame(frame)) return;
    // Corners in integer arithmetic, as the callers give whole units; a
    // negative width mirrors the picture.
    const int32_t left = x;
    const int32_t right = x + w;
    const int32_t top = SCREEN_HEIGHT - y;
    const int32_t bottom = SCREEN_HEIGHT - y - h;
    drawQuad(frames[frame], left, right, top, bottom, 1, 1, 1, 1);
    finishQuad();
}

void SpriteSheet::drawSpriteFaded(int32_t frame, int32_t x, int32_t y, float alpha) {
    if (!isValidFrame(frame)) return;
    const SpriteFrame& f = frames[frame];
    const double top = SCREEN_HEIGHT - static_cast<double>(y);
    drawQuad(f, x, x + f.width, top, top - f.height, 1, 1, 1, alpha);
    finishQuad();
}

void SpriteSheet::drawSpriteTinted(int32_t frame, int32_t x, int32_t y, float r, float g, float b) {
    if (!isValidFrame(frame)) return;
    const SpriteFrame& f = frames[frame];
    const double top = SCREEN_HEIGHT - static_cast<double>(y);
    drawQuad(f, x, x + f.width, top, top - f.height, r, g, b, 1);
    glColor4f(1, 1, 1, 1);
    finishQuad();
}
