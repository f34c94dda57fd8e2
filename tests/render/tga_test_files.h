// Small TGA files and pixel helpers shared by the render tests: a scratch
// folder, raw file bytes, and the writer the drawing tests use for their
// pictures (the decoder itself is checked against ImageMagick's files).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace tga_test {

inline std::string scratchDir() {
    static std::string dir;
    if (dir.empty()) {
        char name[] = "/tmp/tolvane-render-XXXXXX";
        const char* made = mkdtemp(name);
        dir = made ? made : "/tmp";
    }
    return dir;
}

inline std::vector<uint8_t> readFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return bytes;
    int c;
    while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(f);
    return bytes;
}

inline void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// A deterministic mix of values, different in every channel.
inline uint8_t noise(uint32_t i) {
    i = i * 2654435761u + 0x9E3779B9u;
    i ^= i >> 15;
    i *= 2246822519u;
    i ^= i >> 13;
    return static_cast<uint8_t>(i >> 7);
}

// An uncompressed true-colour file from top-row-first RGBA pixels.
inline std::vector<uint8_t> encodeRgba(int w, int h, const std::vector<uint8_t>& rgba, int depth,
                                       bool topRowFirst) {
    std::vector<uint8_t> out(18, 0);
    out[2] = 2;
    out[12] = static_cast<uint8_t>(w);
    out[13] = static_cast<uint8_t>(w >> 8);
    out[14] = static_cast<uint8_t>(h);
    out[15] = static_cast<uint8_t>(h >> 8);
    out[16] = static_cast<uint8_t>(depth);
    out[17] = topRowFirst ? 0x20 : 0;
    for (int r = 0; r < h; ++r) {
        const int row = topRowFirst ? r : h - 1 - r;
        for (int c = 0; c < w; ++c) {
            const uint8_t* p = &rgba[(static_cast<size_t>(row) * w + c) * 4];
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
            if (depth == 32) out.push_back(p[3]);
        }
    }
    return out;
}

}  // namespace tga_test
