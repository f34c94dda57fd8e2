#include "solver/search.h"

#include <algorithm>
#include <cstring>

namespace solver {

namespace {

constexpr int32_t FRAGILE_CAP = 40;  // finely timed solutions to throw away before giving up

}  // namespace

Search::Search(const GameContext& start, const Limits& limits) : start_(start), game_(start), limits_(limits) {}

Result Search::run() {
    started_ = cpuSeconds();
    game_ = start_;
    codec_.init(game_);
    snaps_.init(codec_.stride());
    result_.timed = limits_.forceTimed || hasLift(game_);
    if (playOpening()) {
        if (result_.timed)
            runTimed();
        else
            runAtRest();
    }
    result_.states = static_cast<int64_t>(nodes_.size());
    result_.seconds = elapsed();
    return result_;
}

bool Search::playOpening() {
    int32_t tick = 0;
    bool cleared = false;
    for (const Click& c : limits_.opening) {
        while (tick + 1 < c.tick && !cleared) {
            cleared = idleTick(game_);
            ++tick;
        }
        if (cleared || !liveSlot(game_, c.slot)) break;
        cleared = clickTick(game_, c.slot, c.button);
        ++tick;
    }
    openingTick_ = tick;
    openingPushes_ = static_cast<int32_t>(limits_.opening.size());
    if (cleared) {
        result_.why = openingPushes_ ? "cleared by the opening" : "cleared without a push";
        result_.clearedWithoutPush = openingPushes_ == 0;
        return false;
    }
    if (tick < static_cast<int32_t>(limits_.opening.empty() ? 0 : limits_.opening.back().tick)) {
        result_.why = "the opening clicks a block that is gone";
        return false;
    }
    return true;
}

bool Search::prune() {
    if (!hopelessBoard(game_) && !(strandsABlock_ && strandedBlock())) return false;
    ++result_.hopeless;
    return true;
}

bool Search::strandedBlock() {
    for (int32_t i = 0; i < codec_.count(); ++i) {
        const Block& a = game_.blocks[i];
        if (!a.alive || a.motion != MOTION_NORMAL) continue;
        bool partner = false;
        for (int32_t j = 0; j < codec_.count() && !partner; ++j) {
            const Block& b = game_.blocks[j];
            partner = j != i && b.alive && b.motion == MOTION_NORMAL && b.kind == a.kind &&
                      reach_.canMeet(Reach::cellOf(a), Reach::cellOf(b));
        }
        if (!partner) return true;
    }
    return false;
}

bool Search::overBudget() {
    if (static_cast<int64_t>(nodes_.size()) >= limits_.maxStates) {
        result_.why = "state limit";
        return true;
    }
    // The clock is asked only now and then (a few times in a hundredth of a
    // second): it is slow beside a tick, a system call on some machines.
    if (limits_.cancel && limits_.cancel->load(std::memory_order_relaxed)) {
        result_.why = "cancelled";
        return true;
    }
    if ((++budgetCalls_ & 16383) == 0 && elapsed() > limits_.maxSeconds) {
        result_.why = "time limit";
        return true;
    }
    return false;
}

int32_t Search::addNode(const Node& node, int32_t copyOf) {
    nodes_.push_back(node);
    sleeps_.emplace_back();
    expanded_.push_back(0);
    triedUpTo_.push_back(-1);
    boardOf_.push_back(copyOf >= 0 ? boardOf_[copyOf] : -1);
    uint8_t* at = snaps_.add();
    if (copyOf >= 0)
        std::memcpy(at, snap(copyOf), codec_.stride());
    else
        codec_.save(game_, at);
    return static_cast<int32_t>(nodes_.size()) - 1;
}

size_t Search::restKeyOfBoard() {
    scratch_.resize(codec_.stride());
    codec_.save(game_, scratch_.data());
    return codec_.packedRestKey(scratch_.data(), key_);
}

std::vector<Click> Search::pathTo(int32_t id, const Click* last) const {
    std::vector<Click> clicks;
    if (last) clicks.push_back(*last);
    for (int32_t n = id; n >= 0 && nodes_[n].parent >= 0; n = nodes_[n].parent) {
        if (nodes_[n].slot < 0) continue;
        clicks.push_back(describe(nodes_[n].parent, nodes_[n].slot, nodes_[n].button, nodes_[n].lastClick));
    }
    std::reverse(clicks.begin(), clicks.end());
    return clicks;
}

Click Search::describe(int32_t from, int32_t slot, int32_t button, int32_t tick) const {
    const uint8_t* p = snap(from) + slot * SLOT_BYTES;
    const int32_t x = p[0] | (p[1] << 8);
    const int32_t y = p[2] | (p[3] << 8);
    return Click{tick, slot, button, (x + 16) / CELL_PIXELS, (y + 16) / CELL_PIXELS};
}

bool Search::acceptGoal(int32_t from, const Click* last, int32_t pushes, int32_t tick) {
    if (tick > limits_.tickLimit) return false;
    std::vector<Click> clicks = limits_.opening;
    for (const Click& c : pathTo(from, last)) clicks.push_back(c);
    int32_t clearedAt = 0;
    if (!steadyFrom(start_, clicks, limits_.tickLimit, &clearedAt, limits_.earliestClick)) {
        ++result_.fragile;
        if (result_.fragile >= FRAGILE_CAP) {
            result_.why = "only finely timed solutions";
            stop_ = true;
        }
        return false;
    }
    result_.solved = true;
    result_.pushes = pushes;
    result_.ticks = clearedAt;
    result_.clicks = clicks;
    stop_ = true;
    return true;
}

}  // namespace solver
