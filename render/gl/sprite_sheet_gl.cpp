// OpenGL backend of the graphics object: the frame bracket, the fixed 2D
// space and the four sprite draws, all fixed function and immediate mode.
// Framebuffer objects are called directly: Mesa's libGL exports them.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "render/gl/texture_filters.h"
#include "render/sprite_sheet.h"

namespace {

// The window's pixels per screen unit, as the frame began.
double pixelsPerUnitX = 1.0, pixelsPerUnitY = 1.0;
// The picture the latest sprite draw bound.
GLuint lastBound = 0;

}  // namespace

// [SECTION] Frame set-up and 2D projection

void SpriteSheet::initGraphics() {
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    // The model-view matrix carries the whole 2D mapping for the run: x 0 to
    // 1024 left to right, y 0 to 768 bottom to top.
    glOrtho(0, SCREEN_WIDTH, 0, SCREEN_HEIGHT, 0, -2);
}

void SpriteSheet::beginFrame() {
    GLint view[4] = {0, 0, SCREEN_WIDTH, SCREEN_HEIGHT};
    glGetIntegerv(GL_VIEWPORT, view);
    pixelsPerUnitX = static_cast<double>(view[2]) / SCREEN_WIDTH;
    pixelsPerUnitY = static_cast<double>(view[3]) / SCREEN_HEIGHT;
    glDisable(GL_ALPHA_TEST);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    frameIsBlank = true;
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
    frameIsBlank = false;
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

// Whether a frame drawn over this span of screen units covers fewer window
// pixels than it has texels, either way: only then do its mipmaps matter.
bool drawnSmaller(const SpriteFrame& f, double left, double right, double top, double bottom) {
    return std::abs(right - left) * pixelsPerUnitX < f.width || std::abs(top - bottom) * pixelsPerUnitY < f.height;
}

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
    lastBound = f.texture;
    sprites.frameIsBlank = false;
    sampleBoundTexture(f.texture, !sprites.minifiesByNeed || drawnSmaller(f, left, right, top, bottom));
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

// [SECTION] Still layers
// One layer is kept at a time, as large as the window's view. It is taken
// from the buffer being drawn, right after the layer's own draws, and put
// back pixel for pixel: by a framebuffer blit where the OpenGL has one, else
// as a texture drawn with nothing blended, sampled texel for pixel.

namespace {

struct KeptLayer {
    GLuint framebuffer = 0;   // holding the layer upside down, where blits exist
    GLuint bufferTexture = 0;
    GLsizei bufferWidth = 0, bufferHeight = 0;
    GLuint texture = 0;       // holding it the right way up, where they do not
    GLsizei textureWidth = 0, textureHeight = 0;
    bool valid = false;
    bool inFramebuffer = false;  // which of the two holds the layer now
    uint64_t key = 0;
    GLint view[4] = {};
    GLuint lastBound = 0;    // what the layer's draws left bound
    GLfloat colour[4] = {};  // and the colour they left
};

void drawKeptTexture(const GLint* view);
bool keepInFramebuffer(const GLint* view);
void blitKeptFramebuffer(const GLint* view);
void leaveLayerState();

KeptLayer kept;
bool layerFromBlank = false;  // the layer being drawn began on a blank frame

// Framebuffer objects and their blit (OpenGL 3.0, or the extension before it).
bool framebuffersBlit() {
    static int known = -1;
    if (known < 0) {
        const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
        const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
        int major = 0;
        known = (version != nullptr && std::sscanf(version, "%d", &major) == 1 && major >= 3) ||
                (extensions != nullptr && std::strstr(extensions, "GL_ARB_framebuffer_object") != nullptr);
    }
    return known == 1;
}

GLsizei powerOfTwoAtLeast(GLint n) {
    GLsizei p = 1;
    while (p < n) p *= 2;
    return p;
}

}  // namespace

void SpriteSheet::keepLayer(uint64_t key) {
    kept.valid = false;
    if (!keepsLayers || !layerFromBlank) return;
    GLint view[4] = {};
    glGetIntegerv(GL_VIEWPORT, view);
    if (view[2] <= 0 || view[3] <= 0) return;
    kept.inFramebuffer = keepInFramebuffer(view);
    if (!kept.inFramebuffer) {
        glPushAttrib(GL_TEXTURE_BIT);
        if (kept.texture == 0) glGenTextures(1, &kept.texture);
        glBindTexture(GL_TEXTURE_2D, kept.texture);
        // Sides of powers of two, which every OpenGL takes; the view fills the
        // lower left of it.
        const GLsizei w = powerOfTwoAtLeast(view[2]), h = powerOfTwoAtLeast(view[3]);
        if (w != kept.textureWidth || h != kept.textureHeight) {
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
            // In the order of the window's own pixels (BGRA on an X server).
            GLint order = GL_RGBA;
            glGetIntegerv(GL_IMPLEMENTATION_COLOR_READ_FORMAT, &order);
            while (glGetError() != GL_NO_ERROR) {
            }  // an OpenGL that does not know the question says so, and keeps RGBA
            if (order != GL_BGRA) order = GL_RGBA;
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, static_cast<GLenum>(order), GL_UNSIGNED_BYTE, nullptr);
            kept.textureWidth = w;
            kept.textureHeight = h;
        }
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, view[0], view[1], view[2], view[3]);
        glPopAttrib();
    }
    glGetFloatv(GL_CURRENT_COLOR, kept.colour);
    std::memcpy(kept.view, view, sizeof view);
    kept.lastBound = lastBound;
    kept.key = key;
    kept.valid = true;
    ++layersKept;
}

bool SpriteSheet::restoreLayer(uint64_t key) {
    layerFromBlank = frameIsBlank;
    if (!keepsLayers || !frameIsBlank || !kept.valid || kept.key != key) return false;
    GLint view[4] = {};
    glGetIntegerv(GL_VIEWPORT, view);
    if (std::memcmp(view, kept.view, sizeof view) != 0) return false;
    if (kept.inFramebuffer)
        blitKeptFramebuffer(view);
    else
        drawKeptTexture(view);
    leaveLayerState();
    frameIsBlank = false;
    ++layersPutBack;
    return true;
}

namespace {

// The layer is held upside down: the renderer counts a window's rows from
// the top and a framebuffer object's from the bottom, so the blit that puts
// it back is a flip to OpenGL and to the renderer a plain copy of rows, which
// a software renderer does as one memory copy. Held the right way up, it
// would be drawn back pixel by pixel, several times slower.
bool keepInFramebuffer(const GLint* view) {
    if (!framebuffersBlit() || glIsEnabled(GL_SCISSOR_TEST)) return false;
    const GLsizei w = view[2], h = view[3];
    GLint read = 0, draw = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read);
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &draw);
    if (kept.framebuffer == 0) {
        glGenFramebuffers(1, &kept.framebuffer);
        glGenTextures(1, &kept.bufferTexture);
    }
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, kept.framebuffer);
    bool complete = true;
    if (w != kept.bufferWidth || h != kept.bufferHeight) {
        // An unsized RGBA texture given BGRA pixels is held in BGRA order,
        // as an X server holds a window's: only between the same orders is
        // the blit a copy of rows. Any other order still blits right.
        glPushAttrib(GL_TEXTURE_BIT);
        glBindTexture(GL_TEXTURE_2D, kept.bufferTexture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
        glPopAttrib();
        glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, kept.bufferTexture, 0);
        complete = glCheckFramebufferStatus(GL_DRAW_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
        kept.bufferWidth = complete ? w : 0;
        kept.bufferHeight = complete ? h : 0;
    }
    if (complete)
        glBlitFramebuffer(view[0], view[1], view[0] + w, view[1] + h, 0, h, w, 0, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(draw));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(read));
    if (!complete) {
        glDeleteTextures(1, &kept.bufferTexture);
        glDeleteFramebuffers(1, &kept.framebuffer);
        kept.framebuffer = kept.bufferTexture = 0;
    }
    return complete;
}

void blitKeptFramebuffer(const GLint* view) {
    GLint read = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, kept.framebuffer);
    glBlitFramebuffer(0, 0, view[2], view[3], view[0], view[1] + view[3], view[0] + view[2], view[1],
                      GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(read));
}

void drawKeptTexture(const GLint* view) {
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_TEXTURE_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, view[2], 0, view[3], -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, kept.texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    const float s = static_cast<float>(view[2]) / kept.textureWidth;
    const float t = static_cast<float>(view[3]) / kept.textureHeight;
    const float w = static_cast<float>(view[2]), h = static_cast<float>(view[3]);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(0, 0);
    glTexCoord2f(s, 0);
    glVertex2f(w, 0);
    glTexCoord2f(s, t);
    glVertex2f(w, h);
    glTexCoord2f(0, t);
    glVertex2f(0, h);
    glEnd();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

// The state the layer's own sprite draws leave behind.
void leaveLayerState() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glMatrixMode(GL_MODELVIEW);
    glBindTexture(GL_TEXTURE_2D, kept.lastBound);
    lastBound = kept.lastBound;
    glColor4fv(kept.colour);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_ALPHA_TEST);
}

}  // namespace
