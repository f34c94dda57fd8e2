#include "solver/snapshot.h"

#include <algorithm>
#include <cstring>

namespace solver {

std::string Codec::fullKey(const uint8_t* snap) const {
    uint64_t entries[MAX_BLOCKS];
    int32_t n = 0;
    std::string key;
    for (int32_t i = 0; i < count_; ++i) {
        const uint8_t* p = snap + i * SLOT_BYTES;
        if (lift_[i]) {
            key.append(reinterpret_cast<const char*>(p), SLOT_BYTES);
            continue;
        }
        if (!(p[5] & 1)) continue;
        const uint64_t x = p[0] | (p[1] << 8);
        const uint64_t y = p[2] | (p[3] << 8);
        entries[n++] = (static_cast<uint64_t>(kind_[i]) << 48) | (static_cast<uint64_t>(p[5]) << 40) | (x << 20) | y;
    }
    std::sort(entries, entries + n);
    key.append(reinterpret_cast<const char*>(snap + count_ * SLOT_BYTES), TAIL_BYTES - 1);
    key.append(reinterpret_cast<const char*>(entries), n * sizeof(uint64_t));
    return key;
}

std::string Codec::restKey(const uint8_t* snap, bool withoutLifts) const {
    uint64_t entries[MAX_BLOCKS];
    int32_t n = 0;
    for (int32_t i = 0; i < count_; ++i) {
        const uint8_t* p = snap + i * SLOT_BYTES;
        if (!(p[5] & 1) || (withoutLifts && lift_[i])) continue;
        const uint64_t x = p[0] | (p[1] << 8);
        const uint64_t y = p[2] | (p[3] << 8);
        entries[n++] = (static_cast<uint64_t>(kind_[i]) << 40) | (x << 20) | y;
    }
    std::sort(entries, entries + n);
    return std::string(reinterpret_cast<const char*>(entries), n * sizeof(uint64_t));
}

size_t Codec::packedRestKey(const uint8_t* snap, uint8_t* out) const {
    uint16_t entries[MAX_BLOCKS];
    int32_t n = 0;
    for (int32_t i = 0; i < count_; ++i) {
        const uint8_t* p = snap + i * SLOT_BYTES;
        if (!(p[5] & 1)) continue;
        const int32_t x = p[0] | (p[1] << 8);
        const int32_t y = p[2] | (p[3] << 8);
        const bool onGrid = x % CELL_PIXELS == 0 && y % CELL_PIXELS == 0 && x < BOARD_SIZE * CELL_PIXELS &&
                            y < BOARD_SIZE * CELL_PIXELS && kind_[i] >= 0 && kind_[i] < 256;
        if (!onGrid) {
            const std::string key = restKey(snap);
            out[0] = 1;
            std::memcpy(out + 1, key.data(), key.size());
            return key.size() + 1;
        }
        entries[n++] = static_cast<uint16_t>((kind_[i] << 8) | ((y / CELL_PIXELS) * BOARD_SIZE + x / CELL_PIXELS));
    }
    std::sort(entries, entries + n);
    out[0] = 0;
    std::memcpy(out + 1, entries, static_cast<size_t>(n) * sizeof(uint16_t));
    return 1 + static_cast<size_t>(n) * sizeof(uint16_t);
}

}  // namespace solver
