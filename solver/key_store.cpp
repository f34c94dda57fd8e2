#include "solver/key_store.h"

namespace solver {

int32_t* KeyStore::findHashed(const uint8_t* key, size_t length, uint64_t hash) {
    if (table_.empty()) return nullptr;
    const uint32_t check = static_cast<uint32_t>(hash >> 32);
    for (size_t at = hash & mask_;; at = (at + 1) & mask_) {
        const Slot& slot = table_[at];
        if (slot.entry < 0) return nullptr;
        if (slot.check != check) continue;
        Entry& e = entries_[static_cast<size_t>(slot.entry)];
        if (e.length == length && std::memcmp(arena_.data() + e.offset, key, length) == 0) return &e.value;
    }
}

void KeyStore::add(const uint8_t* key, size_t length, uint64_t hash, int32_t value) {
    // At most half full, so a probe meets an empty slot soon.
    if ((entries_.size() + 1) * 2 > table_.size()) grow();
    const int32_t id = static_cast<int32_t>(entries_.size());
    entries_.push_back(Entry{arena_.size(), static_cast<uint32_t>(length), value});
    hashes_.push_back(hash);
    arena_.insert(arena_.end(), key, key + length);
    size_t at = hash & mask_;
    while (table_[at].entry >= 0) at = (at + 1) & mask_;
    table_[at] = Slot{static_cast<uint32_t>(hash >> 32), id};
}

void KeyStore::grow() {
    const size_t size = table_.empty() ? 1024 : table_.size() * 2;
    table_.assign(size, Slot{0, -1});
    mask_ = size - 1;
    for (size_t id = 0; id < entries_.size(); ++id) {
        size_t at = hashes_[id] & mask_;
        while (table_[at].entry >= 0) at = (at + 1) & mask_;
        table_[at] = Slot{static_cast<uint32_t>(hashes_[id] >> 32), static_cast<int32_t>(id)};
    }
}

}  // namespace solver
