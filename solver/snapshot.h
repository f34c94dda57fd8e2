// The board on the table: the search's own game value, stepped one tick at
// a time, and the snapshots it is saved to and loaded from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "game/game_context.h"

namespace solver {

// [SECTION] One tick
inline bool hasLevel(int32_t n) { return n >= 0 && n < LEVEL_COUNT; }

// A slot a click can name: one of the table's, holding a live block.
inline bool liveSlot(const GameContext& g, int32_t slot) {
    return slot >= 0 && slot < MAX_BLOCKS && g.blocks[slot].alive;
}

inline bool movable(const GameContext& g, int32_t slot) {
    const Block& b = g.blocks[slot];
    return b.alive && (b.motion == MOTION_NORMAL || b.motion == MOTION_ROCK);
}

inline bool hasLift(const GameContext& g) {
    for (const Block& b : g.blocks)
        if (b.alive && b.motion == MOTION_LIFT) return true;
    return false;
}

// One play tick with a click on the middle of a block, as a frame takes it;
// answers whether the level was cleared in it.
inline bool clickTick(GameContext& g, int32_t slot, int32_t button) {
    const Block& b = g.blocks[slot];
    TickEvents events;
    g.playTick(::Click{button, b.x + 16, b.y + 16}, events);
    return events.has(EVENT_LEVEL_CLEARED);
}

inline bool idleTick(GameContext& g) {
    TickEvents events;
    g.playTick(::Click{}, events);
    return events.has(EVENT_LEVEL_CLEARED);
}

// [SECTION] Snapshots
constexpr int32_t SLOT_BYTES = 6;
constexpr int32_t TAIL_BYTES = 3;  // elimDelay, settleTicks, comboFlag (last: not part of a key)

// Only what the rules read: each block's position, flags and lift pause, and
// the countdowns. Kinds and motions never change within a level, and the
// trails and the ten boards of level data are left where they are.
class Codec {
public:
    // For the level on the table: the slots in use, their kinds and lifts.
    void init(const GameContext& g) {
        count_ = 0;
        for (int32_t i = 0; i < MAX_BLOCKS; ++i) {
            kind_[i] = g.blocks[i].kind;
            lift_[i] = g.blocks[i].motion == MOTION_LIFT;
            if (g.blocks[i].alive) count_ = i + 1;
        }
        stride_ = count_ * SLOT_BYTES + TAIL_BYTES;
    }
    int32_t count() const { return count_; }
    size_t stride() const { return static_cast<size_t>(stride_); }

    void save(const GameContext& g, uint8_t* out) const {
        for (int32_t i = 0; i < count_; ++i) {
            const Block& b = g.blocks[i];
            const uint16_t x = static_cast<uint16_t>(b.x - BOARD_LEFT);
            const uint16_t y = static_cast<uint16_t>(b.y - BOARD_TOP);
            uint8_t* p = out + i * SLOT_BYTES;
            p[0] = static_cast<uint8_t>(x);
            p[1] = static_cast<uint8_t>(x >> 8);
            p[2] = static_cast<uint8_t>(y);
            p[3] = static_cast<uint8_t>(y >> 8);
            p[4] = static_cast<uint8_t>(b.pauseTicks);
            p[5] = static_cast<uint8_t>(b.alive | (b.marked << 1) | (b.goingUp << 2));
        }
        uint8_t* t = out + count_ * SLOT_BYTES;
        t[0] = static_cast<uint8_t>(g.elimDelay);
        t[1] = static_cast<uint8_t>(g.settleTicks);
        t[2] = g.comboFlag;
    }

    void load(const uint8_t* in, GameContext& g) const {
        for (int32_t i = 0; i < count_; ++i) {
            Block& b = g.blocks[i];
            const uint8_t* p = in + i * SLOT_BYTES;
            b.x = BOARD_LEFT + (p[0] | (p[1] << 8));
            b.y = BOARD_TOP + (p[2] | (p[3] << 8));
            b.pauseTicks = p[4];
            b.alive = p[5] & 1;
            b.marked = (p[5] >> 1) & 1;
            b.goingUp = (p[5] >> 2) & 1;
        }
        const uint8_t* t = in + count_ * SLOT_BYTES;
        g.elimDelay = t[0];
        g.settleTicks = t[1];
        g.comboFlag = t[2];
        // The clock never runs out inside the search; the tick count says how
        // much of it a solution uses.
        g.clock = LEVEL_CLOCK;
        g.clockSubTicks = CLOCK_UNIT_TICKS;
    }

    // The whole state but the chain bonus, which only ever changes the score.
    // Blocks of one kind are interchangeable here too; lifts keep their slots.
    std::string fullKey(const uint8_t* snap) const;

    // At rest, blocks of one kind are interchangeable: the key is the sorted
    // list of kinds and places of the live blocks.
    std::string restKey(const uint8_t* snap, bool withoutLifts = false) const;

    // The same board as restKey, packed tighter: when every live block stands
    // exactly in a cell of the grid, a tag byte 0 and two bytes a block (its
    // kind, its cell), sorted; otherwise a tag byte 1 and restKey's bytes. Two
    // boards have equal packed keys exactly when they have equal rest keys.
    // Answers the length written to `out`, which holds PACKED_KEY_BYTES.
    static constexpr size_t PACKED_KEY_BYTES = 1 + MAX_BLOCKS * 8;
    size_t packedRestKey(const uint8_t* snap, uint8_t* out) const;

private:
    int32_t count_ = 0;
    int32_t stride_ = TAIL_BYTES;
    int32_t kind_[MAX_BLOCKS] = {};
    bool lift_[MAX_BLOCKS] = {};
};

}  // namespace solver
