// Boards with lifts: searched on a grid of ticks, layer by layer in pushes.
#include <cstdlib>
#include <cstring>

#include "solver/search.h"

namespace solver {

namespace {

constexpr int32_t CYCLE_CAP = 200;  // waits in one idle lift cycle, at most

}  // namespace

// Whether the board only waits on its lifts: everything else at rest, no
// countdown, and nothing riding a lift or standing above one. Then the
// lifts run their cycle untouched, any point of it can be waited for,
// and states that differ only in where the lifts are count as one.
bool Search::liftsIdle() {
    if (game_.elimDelay != 0 || game_.settleTicks != 0) return false;
    for (int32_t i = 0; i < codec_.count(); ++i) {
        const Block& b = game_.blocks[i];
        if (!b.alive) continue;
        if (b.marked) return false;
        if (b.motion != MOTION_LIFT) continue;
        for (int32_t j = 0; j < codec_.count(); ++j) {
            const Block& o = game_.blocks[j];
            if (o.alive && o.motion != MOTION_LIFT && o.x == b.x && o.y < b.y) return false;
        }
    }
    // At rest: one more tick moves nothing but the lifts.
    probe_.resize(codec_.stride());
    codec_.save(game_, probe_.data());
    bool still = !idleTick(game_) && game_.elimDelay == 0;
    for (int32_t i = 0; i < codec_.count() && still; ++i) {
        const Block& b = game_.blocks[i];
        if (b.motion == MOTION_LIFT) continue;
        const uint8_t* p = probe_.data() + i * SLOT_BYTES;
        still = b.alive == (p[5] & 1) && b.y == BOARD_TOP + (p[2] | (p[3] << 8)) &&
                b.x == BOARD_LEFT + (p[0] | (p[1] << 8));
    }
    codec_.load(probe_.data(), game_);
    return still;
}

// The key of the board in a timed search; `idleLifts` tells which kind.
std::string Search::timedKey(bool& idleLifts) {
    idleLifts = liftsIdle();
    scratch_.resize(codec_.stride());
    codec_.save(game_, scratch_.data());
    return idleLifts ? "I" + codec_.restKey(scratch_.data(), true) : "T" + codec_.fullKey(scratch_.data());
}

// Runs `count` idle ticks; answers the tick the level cleared on, or 0.
int32_t Search::idle(int32_t from, int32_t count) {
    for (int32_t t = 1; t <= count; ++t)
        if (idleTick(game_)) return from + t;
    return 0;
}

// The waits from a board whose lifts run idle, one lift cycle long: the
// points at which a click that reaches a lift can be made.
std::vector<int32_t> Search::cycleOf(int32_t head) {
    std::vector<int32_t> chain;
    int32_t from = head;
    for (int32_t k = 1; k <= CYCLE_CAP && !overBudget(); ++k) {
        const Node node = nodes_[from];
        if (node.tick + WAIT_STEP + CLICK_SPACING > limits_.tickLimit) break;
        load(from);
        if (idle(node.tick, WAIT_STEP)) break;  // lifts alone never clear a level
        scratch_.resize(codec_.stride());
        codec_.save(game_, scratch_.data());
        if (std::memcmp(scratch_.data(), snap(head), codec_.stride() - 1) == 0) break;
        from = addNode(Node{from, -1, 0, node.tick + WAIT_STEP, node.lastClick, node.pushes, 1});
        chain.push_back(from);
    }
    return chain;
}

// Whether the push from node `id` also moves the block when made
// CLICK_MARGIN ticks later, and as many earlier when the board of those
// ticks is known (the node was reached by waiting).
bool Search::pushHolds(int32_t id, int32_t slot, int32_t button) {
    const Node node = nodes_[id];
    load(id);
    if (idle(node.tick, CLICK_MARGIN) || !movable(game_, slot)) return false;
    int32_t oldX = game_.blocks[slot].x;
    if (!clickTick(game_, slot, button) && game_.blocks[slot].x == oldX) return false;
    if (node.parent < 0 || node.slot >= 0 || nodes_[node.parent].tick != node.tick - WAIT_STEP) return true;
    load(node.parent);
    if (idle(node.tick - WAIT_STEP, WAIT_STEP - CLICK_MARGIN) || !movable(game_, slot)) return false;
    oldX = game_.blocks[slot].x;
    return clickTick(game_, slot, button) || game_.blocks[slot].x != oldX;
}

// Whether a push of a block from column x either way starts or ends
// beside or in a lift's column.
bool Search::nearLift(int32_t x, int32_t button) const {
    const int32_t to = x + (button == BUTTON_LEFT ? -CELL_PIXELS : CELL_PIXELS);
    for (int32_t i = 0; i < codec_.count(); ++i) {
        const Block& b = game_.blocks[i];
        if (!b.alive || b.motion != MOTION_LIFT) continue;
        if (std::abs(b.x - x) <= CELL_PIXELS || std::abs(b.x - to) <= CELL_PIXELS) return true;
    }
    return false;
}

// One click from node `id` and the ticks up to the next click. Answers
// false when the search is over (solved or out of budget).
bool Search::clickFrom(int32_t id, int32_t slot, int32_t button, std::vector<int32_t>& next, bool* idleAfter) {
    const Node node = nodes_[id];
    const int32_t at = node.tick + 1;
    load(id);
    if (!movable(game_, slot)) return true;
    // Clicks wait for falls and blinks to end; only the lifts keep moving.
    if (game_.elimDelay != 0 || game_.settleTicks != 0) return true;
    // While something rides a lift, only the blocks by the lifts are
    // pushed: a push anywhere else can as well be made before or after.
    if (!node.idleLifts && !nearLift(game_.blocks[slot].x, button)) return true;
    const int32_t oldX = game_.blocks[slot].x;
    const Click click = describe(id, slot, button, at);
    int32_t done = clickTick(game_, slot, button) ? at : 0;
    if (!done && game_.blocks[slot].x == oldX) {
        // Refused here; beside a lift the same push may go through at
        // another point of the lift's cycle, when the lift is out of the way.
        if (idleAfter) *idleAfter = !nearLift(oldX, button);
        return true;
    }
    // A push into or out of a lift's column meets the lift wherever it is.
    const int32_t newX = game_.blocks[slot].x;
    bool touchesLift = false;
    for (int32_t i = 0; i < codec_.count(); ++i) {
        const Block& b = game_.blocks[i];
        if (b.alive && b.motion == MOTION_LIFT && (b.x == oldX || b.x == newX)) touchesLift = true;
    }
    // A push that meets a lift must also go through a few ticks earlier
    // and later, or a person could not make it.
    if ((touchesLift || !node.idleLifts) && !pushHolds(id, slot, button)) return true;
    if (!done) {
        load(id);
        done = clickTick(game_, slot, button) ? at : idle(at, CLICK_SPACING - 1);
    }
    if (done) return !acceptGoal(id, &click, node.pushes + 1, done);
    bool idleLifts = false;
    const std::string key = timedKey(idleLifts);
    if (idleAfter) *idleAfter = idleLifts && !touchesLift;
    if (!visit(key) || prune()) return true;
    next.push_back(addNode(Node{id, static_cast<int16_t>(slot), static_cast<int8_t>(button),
                                node.tick + CLICK_SPACING, at, node.pushes + 1, idleLifts}));
    return true;
}

// Layer by layer in pushes; within a layer every wait on the tick grid is
// followed, since waiting costs no push.
void Search::runTimed() {
    bool idleLifts = false;
    const std::string rootKey = timedKey(idleLifts);
    if (prune()) {
        result_.why = "no solution";
        return;
    }
    const int32_t lastOpening = openingPushes_ ? limits_.opening.back().tick : limits_.earliestClick - CLICK_SPACING;
    addNode(Node{-1, -1, 0, openingTick_, lastOpening, openingPushes_, idleLifts});
    visit(rootKey);
    std::vector<int32_t> layer{0};
    for (int32_t pushes = openingPushes_; !layer.empty() && !stop_; ++pushes) {
        for (size_t i = 0; i < layer.size() && !stop_; ++i) {
            const int32_t id = layer[i];
            const Node node = nodes_[id];
            // A board with idle lifts waits through its cycle when it clicks.
            if (node.idleLifts || node.tick + WAIT_STEP > limits_.tickLimit) continue;
            if (overBudget()) {
                stop_ = true;
                break;
            }
            load(id);
            if (const int32_t at = idle(node.tick, WAIT_STEP)) {
                if (pushes == 0 && openingPushes_ == 0) {
                    result_.clearedWithoutPush = true;
                    result_.why = "cleared without a push";
                    stop_ = true;
                } else if (acceptGoal(id, nullptr, pushes, at)) {
                    return;
                }
                continue;
            }
            bool idleAfter = false;
            if (!visit(timedKey(idleAfter)) || prune()) continue;
            layer.push_back(addNode(Node{id, -1, 0, node.tick + WAIT_STEP, node.lastClick, pushes, idleAfter}));
        }
        std::vector<int32_t> next;
        for (size_t i = 0; i < layer.size() && !stop_; ++i) {
            const int32_t id = layer[i];
            const Node node = nodes_[id];
            int32_t from = id;
            // The first click a person may make: wait out the spacing.
            while (nodes_[from].tick + 1 < nodes_[from].lastClick + CLICK_SPACING && !stop_) {
                const Node n = nodes_[from];
                load(from);
                if (idle(n.tick, WAIT_STEP)) break;
                from = addNode(Node{from, -1, 0, n.tick + WAIT_STEP, n.lastClick, n.pushes, n.idleLifts});
            }
            if (nodes_[from].tick + 1 < nodes_[from].lastClick + CLICK_SPACING) continue;
            if (nodes_[from].tick + CLICK_SPACING > limits_.tickLimit) continue;
            std::vector<int32_t> cycle;
            bool cycleBuilt = false;
            for (int32_t slot = 0; slot < codec_.count() && !stop_; ++slot) {
                for (int32_t button : {BUTTON_LEFT, BUTTON_RIGHT}) {
                    if (overBudget()) {
                        stop_ = true;
                        break;
                    }
                    bool idleAfter = true;
                    if (!clickFrom(from, slot, button, next, &idleAfter)) {
                        stop_ = true;
                        break;
                    }
                    // A click whose outcome leaves the lifts idle is the same
                    // at any point of their cycle; one that reaches a lift is
                    // tried at every point.
                    if (!node.idleLifts || idleAfter) continue;
                    if (!cycleBuilt) {
                        cycle = cycleOf(from);
                        cycleBuilt = true;
                    }
                    for (int32_t c : cycle) {
                        if (stop_ || overBudget() || !clickFrom(c, slot, button, next, nullptr)) {
                            stop_ = true;
                            break;
                        }
                    }
                }
            }
        }
        layer.swap(next);
    }
    if (!stop_) result_.why = "no solution";
}

}  // namespace solver
