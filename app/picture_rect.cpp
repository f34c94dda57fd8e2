#include "app/picture_rect.h"

#include <cmath>

#include "render/sprite_sheet.h"

PictureRect pictureRect(int32_t windowWidth, int32_t windowHeight) {
    const int64_t w = windowWidth > 0 ? windowWidth : 1;
    const int64_t h = windowHeight > 0 ? windowHeight : 1;
    PictureRect r{};
    // The side that fits fills the window; the other is the 4:3 share of it,
    // rounded to the nearest pixel, so a circle in the picture stays round.
    if (w * SCREEN_HEIGHT <= h * SCREEN_WIDTH) {
        r.width = static_cast<int32_t>(w);
        r.height = static_cast<int32_t>((w * SCREEN_HEIGHT * 2 + SCREEN_WIDTH) / (2 * SCREEN_WIDTH));
    } else {
        r.height = static_cast<int32_t>(h);
        r.width = static_cast<int32_t>((h * SCREEN_WIDTH * 2 + SCREEN_HEIGHT) / (2 * SCREEN_HEIGHT));
    }
    if (r.width < 1) r.width = 1;
    if (r.height < 1) r.height = 1;
    r.x = static_cast<int32_t>((w - r.width) / 2);
    r.y = static_cast<int32_t>((h - r.height) / 2);
    return r;
}

PictureRect viewportOf(const PictureRect& picture, int32_t windowHeight) {
    const int32_t h = windowHeight > 0 ? windowHeight : 1;
    return PictureRect{picture.x, h - picture.y - picture.height, picture.width, picture.height};
}

bool onPicture(const PictureRect& picture, int32_t x, int32_t y) {
    return x >= picture.x && x < picture.x + picture.width && y >= picture.y && y < picture.y + picture.height;
}

int32_t toLayout(int32_t pixel, int32_t pictureStart, int32_t pictureSize, int32_t layoutSize) {
    return static_cast<int32_t>(std::floor((pixel - pictureStart + 0.5) * layoutSize / pictureSize));
}
