// TGA pictures decoded into rows with the picture's top row first: RGBA for
// true-colour files, one grey byte per pixel for grey files. Kept apart from
// the texture upload so it runs (and is fuzzed) without a GL context.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int TGA_MAX_SIDE = 8192;

enum TgaResult {
    TGA_OK = 0,
    TGA_CANNOT_OPEN,  // the only failure that is reported on the console
    TGA_REFUSED,      // a type, depth, size or length the loader will not take
};

struct TgaImage {
    int32_t width = 0;
    int32_t height = 0;
    int32_t channels = 0;         // 4 for RGBA, 1 for grey
    std::vector<uint8_t> pixels;  // width * height * channels bytes, top row first
};

// Decodes a whole file held in memory.
TgaResult decodeTga(const uint8_t* data, size_t size, TgaImage& image);
// Reads and decodes a file; prints "unable to open file %s\n" when it cannot be opened.
TgaResult decodeTgaFile(const char* path, TgaImage& image);

// The next smaller mipmap level of a picture: each side halved (rounded
// down, never below 1), every pixel the rounded mean of the block it covers.
// Pictures of any size get their levels this way, so a 257 by 103 title
// keeps its own proportions instead of being squeezed to a power of two.
TgaImage halveTgaImage(const TgaImage& image);
