// Storage that only grows, in chunks that never move: what the search keeps
// for every node and push is added a piece at a time into chunks of fixed
// size, so nothing is copied when it grows and each page is touched once.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace solver {

// Runs of T, each run whole inside one chunk of 2^BITS, found by the index
// of its first element.
template <typename T, int BITS = 16>
class Arena {
public:
    static constexpr size_t CHUNK = size_t{1} << BITS;

    // Room for a run of `n` (at most CHUNK) elements; answers its index.
    size_t add(size_t n) {
        if (chunks_.empty() || (end_ & (CHUNK - 1)) + n > CHUNK || end_ == chunks_.size() * CHUNK) {
            end_ = chunks_.size() * CHUNK;
            chunks_.emplace_back(new T[CHUNK]);
        }
        const size_t at = end_;
        end_ += n;
        return at;
    }

    size_t push(const T& value) {
        const size_t at = add(1);
        (*this)[at] = value;
        return at;
    }

    size_t append(const T* values, size_t n) {
        if (n == 0) return 0;
        const size_t at = add(n);
        std::copy(values, values + n, &(*this)[at]);
        return at;
    }

    T& operator[](size_t i) { return chunks_[i >> BITS][i & (CHUNK - 1)]; }
    const T& operator[](size_t i) const { return chunks_[i >> BITS][i & (CHUNK - 1)]; }

    // The index the next element goes to, unless it opens a chunk.
    size_t end() const { return end_; }

private:
    std::vector<std::unique_ptr<T[]>> chunks_;
    size_t end_ = 0;
};

// A snapshot a node, `stride` bytes each, 2^BITS to a chunk.
class SnapStore {
public:
    static constexpr int BITS = 12;

    void init(size_t stride) {
        stride_ = stride;
        chunks_.clear();
        count_ = 0;
    }

    uint8_t* add() {
        if ((count_ >> BITS) >= chunks_.size()) chunks_.emplace_back(new uint8_t[stride_ << BITS]);
        return at(count_++);
    }

    uint8_t* at(size_t id) { return chunks_[id >> BITS].get() + (id & ((size_t{1} << BITS) - 1)) * stride_; }
    const uint8_t* at(size_t id) const {
        return chunks_[id >> BITS].get() + (id & ((size_t{1} << BITS) - 1)) * stride_;
    }

private:
    std::vector<std::unique_ptr<uint8_t[]>> chunks_;
    size_t stride_ = 0;
    size_t count_ = 0;
};

}  // namespace solver
