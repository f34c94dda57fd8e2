// Where the 1024 by 768 picture lies in a window of any shape: whole, as
// large as fits, centred, with black bars left and right (a window wider
// than 4:3) or above and below (a taller one). Plain arithmetic, no toolkit
// and no GL, so the mapping can be tested headless.
#pragma once

#include <cstdint>

// A rectangle of window pixels, y counted from the window's top row.
struct PictureRect {
    int32_t x, y;
    int32_t width, height;
};

// The picture's rectangle in a window of this size. At 1024 by 768 it is
// the whole window; a window of no size is treated as one pixel.
PictureRect pictureRect(int32_t windowWidth, int32_t windowHeight);

// The same rectangle in OpenGL's window coordinates, y counted from the
// bottom row, as glViewport takes it.
PictureRect viewportOf(const PictureRect& picture, int32_t windowHeight);

// Whether a window pixel lies on the picture, not on a bar.
bool onPicture(const PictureRect& picture, int32_t x, int32_t y);

// The layout unit under the middle of a window pixel, along one axis: the
// pixel's offset into the picture scaled onto the layout's size. One to one
// when the picture is drawn at the layout's own size. A pixel off the
// picture maps outside 0 to layoutSize - 1.
int32_t toLayout(int32_t pixel, int32_t pictureStart, int32_t pictureSize, int32_t layoutSize);
