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
        if (e.length == length && (length == 0 || std::memcmp(&bytes_[e.offset], key, length) == 0)) return &e.value;
    }
}

void KeyStore::add(const uint8_t* key, size_t length, uint64_t hash, int32_t value) {
    // At most half full, so a probe meets an empty slot soon.
    if ((count_ + 1) * 2 > table_.size()) grow();
    const int32_t id = static_cast<int32_t>(count_++);
    entries_.push(Entry{hash, bytes_.append(key, length), static_cast<uint32_t>(length), value});
    size_t at = hash & mask_;
    while (table_[at].entry >= 0) at = (at + 1) & mask_;
    table_[at] = Slot{static_cast<uint32_t>(hash >> 32), id};
}

void KeyStore::grow() {
    const size_t size = table_.empty() ? 1024 : table_.size() * 2;
    table_.assign(size, Slot{0, -1});
    mask_ = size - 1;
    for (size_t id = 0; id < count_; ++id) {
        const uint64_t hash = entries_[id].hash;
        size_t at = hash & mask_;
        while (table_[at].entry >= 0) at = (at + 1) & mask_;
        table_[at] = Slot{static_cast<uint32_t>(hash >> 32), static_cast<int32_t>(id)};
    }
}

}  // namespace solver
