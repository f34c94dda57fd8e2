// Fuzz target for the picture decoder: any bytes at all must either be
// refused or give a picture whose rows hold exactly what its size says, and
// the mipmap halving of any accepted picture must stay within its buffers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "render/tga_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TgaImage image;
    const TgaResult result = decodeTga(data, size, image);
    if (result != TGA_OK) {
        if (!image.pixels.empty() || result != TGA_REFUSED) std::abort();
        return 0;
    }
    if (image.width < 1 || image.height < 1 || image.width > TGA_MAX_SIDE || image.height > TGA_MAX_SIDE)
        std::abort();
    if (image.channels != 1 && image.channels != 4) std::abort();
    if (image.pixels.size() != static_cast<size_t>(image.width) * image.height * image.channels) std::abort();
    uint32_t sum = 0;
    for (uint8_t v : image.pixels) sum += v;  // every byte is read, so the sanitiser sees it
    TgaImage level = image;
    while (level.width > 1 || level.height > 1) level = halveTgaImage(level);
    if (level.pixels.size() != static_cast<size_t>(image.channels)) std::abort();
    return static_cast<int>(sum & 0);
}
