// A compact store of board keys: the bytes of each key (64 KiB at most)
// kept end to end in chunks, found again through a flat open-addressing
// table of 64-bit hashes, each with a value (an int32). Keys compare by
// their bytes, so two keys are one entry exactly when their bytes are
// equal: the hash only decides where to look.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "solver/arena.h"

namespace solver {

class KeyStore {
public:
    // The value stored with the key, or nullptr when the key is not here.
    int32_t* find(const uint8_t* key, size_t length) { return findHashed(key, length, hashOf(key, length)); }

    // Stores the key with `value` unless it is already here; answers whether it was new.
    bool insert(const uint8_t* key, size_t length, int32_t value) {
        const uint64_t hash = hashOf(key, length);
        if (findHashed(key, length, hash)) return false;
        add(key, length, hash, value);
        return true;
    }

    size_t size() const { return count_; }

    static uint64_t hashOf(const uint8_t* key, size_t length) {
        // FNV-1a over 8-byte words, then a final mix.
        uint64_t h = 0xcbf29ce484222325ull ^ length;
        size_t i = 0;
        for (; i + 8 <= length; i += 8) {
            uint64_t w;
            std::memcpy(&w, key + i, 8);
            h = (h ^ w) * 0x100000001b3ull;
            h ^= h >> 29;
        }
        uint64_t tail = 0;
        std::memcpy(&tail, key + i, length - i);
        h = (h ^ tail) * 0x9e3779b97f4a7c15ull;
        h ^= h >> 32;
        h *= 0xd6e8feb86659fd93ull;
        h ^= h >> 32;
        return h;
    }

private:
    struct Entry {
        uint64_t hash;    // to place it again when the table grows
        uint64_t offset;  // into bytes_
        uint32_t length;
        int32_t value;
    };
    struct Slot {
        uint32_t check;  // high half of the hash
        int32_t entry;   // -1 for an empty slot
    };

    int32_t* findHashed(const uint8_t* key, size_t length, uint64_t hash);
    void add(const uint8_t* key, size_t length, uint64_t hash, int32_t value);
    void grow();

    Arena<uint8_t, 16> bytes_;
    Arena<Entry, 12> entries_;
    size_t count_ = 0;
    std::vector<Slot> table_;
    size_t mask_ = 0;
};

}  // namespace solver
