// Writes the fuzzer's starting corpus: one small file of every kind the
// decoder meets, accepted and refused, into the folder named on the command line.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> header(uint8_t type, int w, int h, uint8_t depth, uint8_t descriptor, uint8_t idLength = 0,
                            uint16_t mapLength = 0, uint8_t mapBits = 0) {
    return {idLength, static_cast<uint8_t>(mapLength ? 1 : 0), type, 0, 0,
            static_cast<uint8_t>(mapLength), static_cast<uint8_t>(mapLength >> 8), mapBits, 0, 0, 0, 0,
            static_cast<uint8_t>(w), static_cast<uint8_t>(w >> 8), static_cast<uint8_t>(h),
            static_cast<uint8_t>(h >> 8), depth, descriptor};
}

void write(const std::string& dir, const char* name, std::vector<uint8_t> bytes, size_t pixelBytes,
           size_t extra = 0) {
    for (size_t i = 0; i < extra + pixelBytes; ++i) bytes.push_back(static_cast<uint8_t>(i * 37 + 11));
    FILE* f = std::fopen((dir + "/" + name).c_str(), "wb");
    if (!f) return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 1;
    const std::string dir = argv[1];
    write(dir, "rgb_bottom", header(2, 2, 2, 24, 0), 2 * 2 * 3);
    write(dir, "rgba_top", header(2, 3, 2, 32, 0x20), 3 * 2 * 4);
    write(dir, "grey_id", header(3, 5, 3, 8, 0x20, 6), 5 * 3, 6);
    write(dir, "rgb_map", header(2, 4, 1, 24, 0, 0, 3, 24), 4 * 3, 9);
    write(dir, "odd_title", header(2, 7, 5, 32, 0), 7 * 5 * 4);
    write(dir, "rle", header(10, 2, 2, 24, 0), 12);
    write(dir, "short", header(2, 4, 4, 32, 0), 20);
    write(dir, "grey_deep", header(3, 2, 2, 16, 0), 8);
    return 0;
}
