// Replays: a solution's clicks played again from the level's start, as a
// player would make them, and with their timing shaken to see whether a
// person could make them too.
#include <cstring>

#include "solver/snapshot.h"
#include "solver/solver.h"

namespace solver {

namespace {

constexpr int32_t WEAK_NONE = -1;
constexpr int32_t WEAK_ALL = -2;
constexpr int32_t STEADY_ATTEMPTS = 16;

// The first click found that fails when moved, and by how much.
struct Weakness {
    int32_t click = WEAK_NONE;  // its index, or WEAK_ALL for the whole sequence moved
    int32_t shift = 0;
};

struct Checkpoint {
    int32_t tick;
    std::vector<uint8_t> snap;
};

// Plays from the state after tick `from` with the given click ticks; stops
// early when the board at a checkpoint equals the one the nominal run had
// there (the rest of the run is then the nominal one, shifted by `shift`).
// Answers the clear tick, a positive "converged" tick, or -1.
int32_t playFrom(GameContext& g, const Codec& codec, int32_t from, const std::vector<Click>& clicks,
                 const std::vector<int32_t>& at, size_t firstClick, const std::vector<Checkpoint>* compare,
                 int32_t shift, int32_t tickLimit) {
    size_t next = firstClick;
    size_t check = firstClick + 1;
    std::vector<uint8_t> tmp(codec.stride());
    for (int32_t tick = from + 1; tick <= tickLimit; ++tick) {
        bool cleared = false;
        if (next < clicks.size() && at[next] == tick) {
            if (!liveSlot(g, clicks[next].slot)) return -1;
            cleared = clickTick(g, clicks[next].slot, clicks[next].button);
            ++next;
        } else {
            cleared = idleTick(g);
        }
        if (cleared) return tick;
        if (compare && check < compare->size() && tick == (*compare)[check].tick + shift) {
            codec.save(g, tmp.data());
            if (std::memcmp(tmp.data(), (*compare)[check].snap.data(), codec.stride() - 1) == 0) return tick;
            ++check;
        }
    }
    return -1;
}

std::vector<int32_t> ticksOf(const std::vector<Click>& clicks) {
    std::vector<int32_t> at;
    for (const Click& c : clicks) at.push_back(c.tick);
    return at;
}

Weakness weakest(const GameContext& start, const std::vector<Click>& clicks, int32_t tickLimit) {
    if (clicks.empty()) return {};
    // The nominal run, with the board six ticks before each click kept.
    GameContext g = start;
    Codec codec;
    codec.init(g);
    std::vector<Checkpoint> checkpoints;
    const std::vector<int32_t> at = ticksOf(clicks);
    {
        int32_t tick = 0;
        for (size_t i = 0; i < clicks.size(); ++i) {
            const int32_t stop = at[i] - CLICK_MARGIN - 2;
            if (stop < tick) return {static_cast<int32_t>(i), -CLICK_MARGIN};  // too close to shift apart
            for (; tick < stop; ++tick) {
                bool cleared = false;
                if (i > 0 && tick + 1 == at[i - 1]) {
                    if (!liveSlot(g, clicks[i - 1].slot)) return {static_cast<int32_t>(i - 1), 0};
                    cleared = clickTick(g, clicks[i - 1].slot, clicks[i - 1].button);
                } else {
                    cleared = idleTick(g);
                }
                if (cleared) return {static_cast<int32_t>(i), 0};
            }
            Checkpoint cp{stop, std::vector<uint8_t>(codec.stride())};
            codec.save(g, cp.snap.data());
            checkpoints.push_back(cp);
        }
    }
    const int32_t slack = tickLimit + 2 * CLICK_MARGIN;

    // Each click alone, early and late.
    for (size_t i = 0; i < clicks.size(); ++i) {
        for (int32_t shift = -CLICK_MARGIN; shift <= CLICK_MARGIN; ++shift) {
            if (shift == 0) continue;
            std::vector<int32_t> moved = at;
            moved[i] += shift;
            codec.load(checkpoints[i].snap.data(), g);
            if (playFrom(g, codec, checkpoints[i].tick, clicks, moved, i, &checkpoints, 0, slack) < 0)
                return {static_cast<int32_t>(i), shift};
        }
    }
    // All of them together.
    for (int32_t shift = -CLICK_MARGIN; shift <= CLICK_MARGIN; ++shift) {
        if (shift == 0) continue;
        std::vector<int32_t> moved = at;
        for (int32_t& t : moved) t += shift;
        g = start;
        if (playFrom(g, codec, 0, clicks, moved, 0, &checkpoints, shift, slack) < 0) return {WEAK_ALL, shift};
    }
    return {};
}

}  // namespace

GameContext startOf(const GameContext& set, int32_t n) {
    GameContext start = set;
    start.startFreshLevel(n);
    return start;
}

int32_t replayFrom(const GameContext& start, const std::vector<Click>& clicks, int32_t tickLimit) {
    GameContext g = start;
    Codec codec;
    codec.init(g);
    return playFrom(g, codec, 0, clicks, ticksOf(clicks), 0, nullptr, 0, tickLimit);
}

int32_t replay(const GameContext& set, int32_t n, const std::vector<Click>& clicks, int32_t tickLimit) {
    return hasLevel(n) ? replayFrom(startOf(set, n), clicks, tickLimit) : -1;
}

std::vector<ReplayClick> pointerClicks(const GameContext& set, int32_t n, const std::vector<Click>& clicks) {
    std::vector<ReplayClick> out;
    if (!hasLevel(n)) return out;
    GameContext g = startOf(set, n);
    size_t next = 0;
    bool cleared = false;
    for (int32_t tick = 1; next < clicks.size() && !cleared; ++tick) {
        if (clicks[next].tick != tick) {
            cleared = idleTick(g);
            continue;
        }
        const Click& c = clicks[next++];
        if (c.slot < 0 || c.slot >= MAX_BLOCKS) break;
        const Block& b = g.blocks[c.slot];
        out.push_back(ReplayClick{tick, c.button, b.x + 16, b.y + 16});
        cleared = clickTick(g, c.slot, c.button);
    }
    return out;
}

bool robust(const GameContext& set, int32_t n, const std::vector<Click>& clicks, int32_t tickLimit) {
    return hasLevel(n) && weakest(startOf(set, n), clicks, tickLimit).click == WEAK_NONE;
}

bool steady(const GameContext& set, int32_t n, std::vector<Click>& clicks, int32_t tickLimit, int32_t* clearedAt) {
    return hasLevel(n) && steadyFrom(startOf(set, n), clicks, tickLimit, clearedAt);
}

bool steadyFrom(const GameContext& start, std::vector<Click>& clicks, int32_t tickLimit, int32_t* clearedAt,
                int32_t earliestClick) {
    // A click on the edge of its window is moved into it, a few ticks at a
    // time; the clicks after it move along when they would come too soon.
    for (int32_t attempt = 0; attempt < STEADY_ATTEMPTS; ++attempt) {
        const int32_t at = replayFrom(start, clicks, tickLimit);
        if (at < 0) return false;
        const Weakness w = weakest(start, clicks, tickLimit);
        if (w.click == WEAK_NONE) {
            *clearedAt = at;
            return true;
        }
        const int32_t delta = w.shift < 0 ? CLICK_MARGIN : -CLICK_MARGIN;
        if (w.click == WEAK_ALL) return false;
        const size_t i = static_cast<size_t>(w.click);
        const bool tooSoonAfter = i > 0 && clicks[i].tick + delta - clicks[i - 1].tick < CLICK_SPACING;
        if (clicks[i].tick + delta < earliestClick || tooSoonAfter) return false;
        clicks[i].tick += delta;
        for (size_t k = i + 1; k < clicks.size(); ++k)
            if (clicks[k].tick - clicks[k - 1].tick < CLICK_SPACING)
                clicks[k].tick += CLICK_SPACING - (clicks[k].tick - clicks[k - 1].tick);
    }
    return false;
}

}  // namespace solver
