#include "render/tga_image.h"

#include <cstdio>

#include "common/files.h"

namespace {

constexpr size_t TGA_HEADER_SIZE = 18;

uint32_t read16(const uint8_t* p) { return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8); }

}  // namespace

TgaResult decodeTga(const uint8_t* data, size_t size, TgaImage& image) {
    image = TgaImage{};
    if (data == nullptr || size < TGA_HEADER_SIZE) return TGA_REFUSED;
    const uint32_t idLength = data[0];
    const uint32_t imageType = data[2];
    const uint32_t mapLength = read16(data + 5);
    const uint32_t mapEntryBits = data[7];
    const uint32_t width = read16(data + 12);
    const uint32_t height = read16(data + 14);
    const uint32_t depth = data[16];
    const bool topRowFirst = (data[17] & 0x20) != 0;

    int32_t channels = 0;
    if (imageType == 2 && (depth == 24 || depth == 32)) channels = 4;
    else if (imageType == 3 && depth == 8) channels = 1;
    else return TGA_REFUSED;
    if (width == 0 || height == 0 || width > TGA_MAX_SIDE || height > TGA_MAX_SIDE) return TGA_REFUSED;

    const size_t bytesPerPixel = depth / 8;
    const size_t rowSize = static_cast<size_t>(width) * bytesPerPixel;
    const size_t imageSize = rowSize * height;
    const size_t pixelStart = TGA_HEADER_SIZE + idLength + static_cast<size_t>(mapLength) * (mapEntryBits / 8);
    if (pixelStart > size || size - pixelStart < imageSize) return TGA_REFUSED;
    const uint8_t* raw = data + pixelStart;

    image.width = static_cast<int32_t>(width);
    image.height = static_cast<int32_t>(height);
    image.channels = channels;
    image.pixels.resize(static_cast<size_t>(width) * height * channels);
    uint8_t* out = image.pixels.data();
    for (uint32_t row = 0; row < height; ++row) {
        const uint8_t* in = raw + (topRowFirst ? row : height - 1 - row) * rowSize;
        for (uint32_t col = 0; col < width; ++col, in += bytesPerPixel) {
            if (channels == 1) {
                *out++ = in[0];
            } else {
                *out++ = in[2];
                *out++ = in[1];
                *out++ = in[0];
                *out++ = depth == 32 ? in[3] : 255;
            }
        }
    }
    return TGA_OK;
}

TgaResult decodeTgaFile(const char* path, TgaImage& image) {
    image = TgaImage{};
    // Anything but a regular file (a FIFO, a device) counts as a file that
    // cannot be opened, rather than one the game waits on for good.
    FILE* file = openRegularFile(path);
    if (file == nullptr) {
        std::printf("unable to open file %s\n", path ? path : "(null)");
        return TGA_CANNOT_OPEN;
    }
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
        // Nothing the game loads comes near this; a larger file is refused
        // rather than read without end.
        if (bytes.size() > TGA_HEADER_SIZE + 255 + 65535 * 4 + static_cast<size_t>(TGA_MAX_SIDE) * TGA_MAX_SIDE * 4) {
            std::fclose(file);
            return TGA_REFUSED;
        }
    }
    std::fclose(file);
    return decodeTga(bytes.data(), bytes.size(), image);
}

TgaImage halveTgaImage(const TgaImage& image) {
    TgaImage half;
    half.width = image.width > 1 ? image.width / 2 : 1;
    half.height = image.height > 1 ? image.height / 2 : 1;
    half.channels = image.channels;
    half.pixels.resize(static_cast<size_t>(half.width) * half.height * half.channels);
    const size_t c = static_cast<size_t>(image.channels);
    uint8_t* out = half.pixels.data();
    for (int32_t y = 0; y < half.height; ++y) {
        // An odd side folds its last row or column into the last block.
        const int64_t y0 = static_cast<int64_t>(y) * image.height / half.height;
        const int64_t y1 = static_cast<int64_t>(y + 1) * image.height / half.height;
        for (int32_t x = 0; x < half.width; ++x) {
            const int64_t x0 = static_cast<int64_t>(x) * image.width / half.width;
            const int64_t x1 = static_cast<int64_t>(x + 1) * image.width / half.width;
            const uint32_t count = static_cast<uint32_t>((y1 - y0) * (x1 - x0));
            for (size_t k = 0; k < c; ++k) {
                uint32_t sum = 0;
                for (int64_t sy = y0; sy < y1; ++sy)
                    for (int64_t sx = x0; sx < x1; ++sx)
                        sum += image.pixels[(static_cast<size_t>(sy) * image.width + sx) * c + k];
                *out++ = static_cast<uint8_t>((sum + count / 2) / count);
            }
        }
    }
    return half;
}
