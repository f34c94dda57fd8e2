#include "render/sprite_sheet.h"

SpriteSheet sprites;

void SpriteSheet::setupFrames(int32_t imageWidth, int32_t imageHeight, uint32_t texture,
                              int32_t frameWidth, int32_t frameHeight, int32_t first, int32_t last) {
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
