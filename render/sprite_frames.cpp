#include "render/sprite_sheet.h"

SpriteSheet sprites;

void SpriteSheet::setupFrames(int32_t imageWidth, int32_t imageHeight, uint32_t texture,
                              int32_t frameWidth, int32_t frameHeight, int32_t first, int32_t last) {
    ++framesVersion;
    const double w = imageWidth;
    const double h = imageHeight;
    double x = 0.0;
    double y = 0.0;
    for (int32_t n = first; n <= last; ++n) {
        if (n >= FRAME_TABLE_SIZE) break;  // nothing further can be registered
        if (n >= 0) {
            SpriteFrame& f = frames[n];
            f.texture = texture;
            f.s0 = x / w;
            f.t0 = y / h;
            f.s1 = f.s0 + frameWidth / w;
            f.t1 = f.t0 + frameHeight / h;
            f.width = frameWidth;
            f.height = frameHeight;
        }
        x += frameWidth;
        if (x >= w) {
            x = 0.0;
            y += frameHeight;
        }
    }
}

uint64_t LayerKey::add(uint64_t value) {
    // FNV-1a, a byte at a time.
    for (int i = 0; i < 8; ++i) {
        hash ^= (value >> (8 * i)) & 0xFF;
        hash *= 1099511628211ull;
    }
    return hash;
}
