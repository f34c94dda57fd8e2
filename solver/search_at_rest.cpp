// Boards without lifts: searched over their rest states, fewest pushes first.
#include <algorithm>
#include <iterator>

#include "solver/bound.h"
#include "solver/rest_board.h"
#include "solver/search.h"

namespace solver {

namespace {

constexpr int32_t NO_PUSH = 1 << 20;

}  // namespace

// A lower bound on the pushes the board still needs (Kinds, at least one
// while the board is not cleared). A block only moves sideways when it is
// pushed, one column a push (falls and blinks never move it sideways, and
// there is no lift here). Every block of a kind goes in some group of two or
// more that touch as they vanish, and a touching group of n blocks spans at
// most n - 1 columns. So a kind needs at least the pushes that bring the
// spans of its best split into groups down to that. A push moves one block
// one column, which narrows one group by at most one, and a group that
// vanishes takes nothing from the bound of the blocks left: the bound falls
// by at most one a push, and searching in order of pushes made plus this
// bound still finds the fewest pushes first. A board not yet cleared needs
// at least one.
int32_t Search::pushesStillNeeded() const {
    if (!limits_.guided) return 1;
    const Kinds kinds(game_, reach_);
    return std::max(1, kinds.total());
}

// Over rest states in order of pushes made plus the bound above (with the
// bound left out, plain breadth-first), fewest pushes first. A board met
// again by fewer pushes is explored again.
void Search::runAtRest() {
    const Settled first = settle(game_, codec_.count(), limits_.runFallsAhead, &result_.ticksRunAhead);
    if (first.cleared) {
        if (openingPushes_ == 0) {
            result_.clearedWithoutPush = true;
            result_.why = "cleared without a push";
        } else {
            acceptGoal(-1, nullptr, openingPushes_, openingTick_ + first.ticks);
        }
        return;
    }
    if (first.ticks < 0) {
        result_.why = "never comes to rest";
        return;
    }
    reach_.build(game_);
    strandsABlock_ = true;
    if (prune()) {
        result_.why = "no solution";
        return;
    }
    const int32_t lastOpening = openingPushes_ ? limits_.opening.back().tick : limits_.earliestClick - CLICK_SPACING;
    const int32_t root = addNode(Node{-1, -1, 0, openingTick_ + first.ticks, lastOpening, openingPushes_, 0});
    know(restKeyOfBoard(), -1, root, Known{openingPushes_, root});
    enqueue(root, openingPushes_ + pushesStillNeeded());
    for (bucket_ = 0; bucket_ < open_.size() && !stop_; ++bucket_) {
        for (int32_t head = takeFrom(bucket_); head >= 0 && !stop_; head = takeFrom(bucket_)) {
            const Node node = nodes_[head];
            // Met again by fewer pushes after this one was queued: that one counts.
            if (known_[boardOf_[head]].pushes < node.pushes) {
                madeEarlier_.erase(head);
                continue;
            }
            expandAtRest(head, node, static_cast<int32_t>(bucket_) - node.pushes - 1);
        }
    }
    if (!stop_) result_.why = "no solution";
}

// Queues a node by pushes made plus the bound; never behind the bucket
// being worked through. Within a bucket any order finds the fewest
// pushes, and the boards with the fewest blocks left go first: the last
// bucket, often the largest, then tends to meet a cleared board early.
void Search::enqueue(int32_t id, int32_t f) {
    const size_t at = std::max(static_cast<size_t>(f), bucket_);
    if (at >= open_.size()) open_.resize(at + 1);
    int32_t left = 0;
    for (int32_t i = 0; i < codec_.count(); ++i)
        left += game_.blocks[i].alive && game_.blocks[i].motion == MOTION_NORMAL;
    open_[at][static_cast<size_t>(left)].push_back(id);
}

// The next node of a bucket, or -1 when it is empty.
int32_t Search::takeFrom(size_t bucket) {
    for (std::vector<int32_t>& byLeft : open_[bucket]) {
        if (byLeft.empty()) continue;
        const int32_t id = byLeft.back();
        byLeft.pop_back();
        return id;
    }
    return -1;
}

// A push by the cell its block stands in, the same for every slot
// numbering of one board.
int32_t Search::pushId(int32_t from, int32_t slot, int32_t button) const {
    const uint8_t* p = snap(from) + slot * SLOT_BYTES;
    const int32_t x = p[0] | (p[1] << 8);
    const int32_t y = p[2] | (p[3] << 8);
    return ((y / CELL_PIXELS) * BOARD_SIZE + x / CELL_PIXELS) * 2 + (button == BUTTON_RIGHT);
}

Search::SleepList Search::storeSleepList(const int32_t* sleepers, int32_t count) {
    return SleepList{static_cast<int32_t>(sleepList_.append(sleepers, static_cast<size_t>(count))), count};
}

void Search::reviseSleep(int32_t id, const int32_t* arriving, int32_t arrivingCount) {
    if (id < 0) return;  // a hopeless board: nothing after it matters
    Asleep both;
    for (int32_t k = 0; k < arrivingCount; ++k) both.set(static_cast<size_t>(sleepers_[arriving[k]].push));
    int32_t kept[MAX_BLOCKS * 2];
    int32_t keptCount = 0;
    Asleep missed;
    const SleepList old = sleeps_[id];
    for (int32_t k = 0; k < old.count; ++k) {
        const int32_t sleeper = sleepList_[old.first + k];
        if (both.test(static_cast<size_t>(sleepers_[sleeper].push)))
            kept[keptCount++] = sleeper;
        else
            missed.set(static_cast<size_t>(sleepers_[sleeper].push));
    }
    if (missed.none()) return;
    sleeps_[id] = storeSleepList(kept, keptCount);
    if (!expanded_[id]) return;
    const Node node = nodes_[id];
    const int32_t copy = addNode(node, id);
    sleeps_[copy] = sleeps_[id];
    onlyThese_[copy] = missed;
    load(id);
    enqueue(copy, node.pushes + pushesStillNeeded());
}

void Search::know(size_t keyLength, int32_t board, int32_t node, const Known& what) {
    if (board < 0) {
        board = static_cast<int32_t>(known_.size());
        known_.push_back(what);
        fewest_.insert(key_, keyLength, board);
    } else {
        known_[board] = what;
    }
    if (node >= 0) boardOf_[node] = board;
}

// Plays the pushes of a node, but guided only those that the bound, read
// on the board each push leaves before anything falls (Kinds: the pushed
// block only moves down from where it lands), says could finish within
// `upTo` more pushes after it. The node is queued again for the rest, by
// the least such bound among them; pushes tried in an earlier turn are
// not tried again.
void Search::expandAtRest(int32_t head, const Node& node, int32_t upTo) {
    // A person needs the board at rest before the click, with a margin,
    // and time since the last click.
    const int32_t at = std::max(node.lastClick + CLICK_SPACING, node.tick + 1 + CLICK_MARGIN);
    if (at > limits_.tickLimit) return;
    const bool inTurns = limits_.guided && limits_.lookAhead;
    const int32_t done = triedUpTo_[head];
    if (inTurns && upTo <= done) return;
    expanded_[head] = 1;
    const SleepList sleeping = sleeps_[head];
    Asleep asleep;
    for (int32_t k = 0; k < sleeping.count; ++k)
        asleep.set(static_cast<size_t>(sleepers_[sleepList_[sleeping.first + k]].push));
    const auto only = onlyThese_.find(head);
    if (only != onlyThese_.end()) asleep |= ~only->second;
    int32_t made[MAX_BLOCKS * 2];  // sleepers, one for each push made here, in any turn
    int32_t madeCount = 0;
    const auto earlier = madeEarlier_.find(head);
    if (earlier != madeEarlier_.end()) {
        madeCount = static_cast<int32_t>(std::min(earlier->second.size(), std::size(made)));
        std::copy(earlier->second.begin(), earlier->second.begin() + madeCount, made);
    }
    load(head);
    const RestBoard rest(game_);
    const Kinds kinds(game_, reach_);
    int32_t later = NO_PUSH;  // the least bound of the pushes left for a later turn
    for (int32_t slot = 0; slot < codec_.count() && !stop_; ++slot) {
        for (int32_t button : {BUTTON_LEFT, BUTTON_RIGHT}) {
            if (overBudget()) {
                stop_ = true;
                break;
            }
            const bool refused = rest.surelyRefused(slot, button);
            if (limits_.skipRefused && refused) continue;
            const int32_t id = pushId(head, slot, button);
            if (asleep.test(static_cast<size_t>(id))) continue;
            if (inTurns) {
                // A push surely refused, when played at all, is played in the first turn.
                int32_t needs = refused ? 0 : kinds.totalWithMoved(slot, button == BUTTON_LEFT ? -1 : 1);
                // Each look further on may raise the need by one. Looks are taken
                // in order, and only while the need found so far is within this
                // turn: one that does not raise it settles it, and past the turn
                // a need already known to be more decides as well.
                const int32_t step = button == BUTTON_LEFT ? -1 : 1;
                const auto frees = [&](int32_t second, int32_t column) {
                    return !rest.leavesOneStill(slot, button, reach_, second, column);
                };
                const auto movesWith = [&](int32_t second, int32_t column) {
                    return rest.mayMove(slot, button, reach_, second, column);
                };
                for (bool raised = !refused; raised && needs <= upTo && needs <= 2;) {
                    if (needs == 0)
                        raised = rest.leavesOneStill(slot, button, reach_);
                    else if (needs == 1)
                        raised = !kinds.secondPushMayFinish(slot, step, frees);
                    else
                        raised = !kinds.twoMoreMayFinish(
                            slot, step, rest.ordinaryBlocks() & ~rest.mayMove(slot, button, reach_), movesWith);
                    needs += raised;
                }
                if (needs <= done) continue;
                if (needs > upTo) {
                    later = std::min(later, needs);
                    continue;
                }
            }
            load(head);
            if (!movable(game_, slot)) break;
            const int32_t oldX = game_.blocks[slot].x;
            const int32_t oldY = game_.blocks[slot].y;
            const Click click = describe(head, slot, button, at);
            if (clickTick(game_, slot, button)) {
                if (acceptGoal(head, &click, node.pushes + 1, at)) return;
                continue;
            }
            if (game_.blocks[slot].x == oldX) continue;  // refused: a wasted click
            Area area;
            area.cover(oldX, oldY, oldY);
            area.cover(game_.blocks[slot].x, game_.blocks[slot].y, game_.blocks[slot].y);
            const Settled s = settle(game_, codec_.count(), limits_.runFallsAhead, &result_.ticksRunAhead, &area);
            ++result_.pushesPlayed;
            if (s.cleared) {
                if (acceptGoal(head, &click, node.pushes + 1, at + s.ticks)) return;
                continue;
            }
            if (s.ticks < 0) continue;
            int32_t after[MAX_BLOCKS * 2];
            int32_t afterCount = 0;
            if (limits_.commute) {
                const Area near = area.grown();  // what touches the area
                // Each push of a board sleeps once at most: no list outgrows the blocks' pushes.
                for (int32_t k = 0; k < sleeping.count && afterCount < MAX_BLOCKS * 2; ++k) {
                    const int32_t sleeper = sleepList_[sleeping.first + k];
                    if (!sleepers_[sleeper].area.overlaps(near)) after[afterCount++] = sleeper;
                }
                for (int32_t m = 0; m < madeCount && afterCount < MAX_BLOCKS * 2; ++m)
                    if (!sleepers_[made[m]].area.overlaps(near)) after[afterCount++] = made[m];
                made[madeCount++] = static_cast<int32_t>(sleepers_.push(Sleeper{id, area}));
            }
            const size_t key = restKeyOfBoard();
            const int32_t* found = fewest_.find(key_, key);
            const int32_t board = found ? *found : -1;
            if (board >= 0 && known_[board].pushes < node.pushes + 1) continue;
            if (board >= 0 && known_[board].pushes == node.pushes + 1) {
                reviseSleep(known_[board].node, after, afterCount);
                continue;
            }
            if (prune()) {
                know(key, board, -1, Known{node.pushes + 1, -1});
                continue;
            }
            const int32_t child = addNode(Node{head, static_cast<int16_t>(slot), static_cast<int8_t>(button),
                                               at + s.ticks, at, node.pushes + 1, 0});
            sleeps_[child] = storeSleepList(after, afterCount);
            know(key, board, child, Known{node.pushes + 1, child});
            enqueue(child, node.pushes + 1 + pushesStillNeeded());
        }
    }
    triedUpTo_[head] = std::max(done, upTo);
    if (later < NO_PUSH && !stop_) {
        if (limits_.commute) madeEarlier_[head].assign(made, made + madeCount);
        ++result_.putOff;
        load(head);
        enqueue(head, node.pushes + 1 + later);
    } else if (earlier != madeEarlier_.end()) {
        madeEarlier_.erase(earlier);
    }
}

}  // namespace solver
