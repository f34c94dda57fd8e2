// The search of one level: its own game value, stepped through the rules
// and saved as snapshots, one node a board. Boards without lifts are
// searched over their rest states (search_at_rest.cpp), boards with lifts on
// a grid of ticks (search_timed.cpp); what both share is in search.cpp.
//
// [SECTION] Nodes
// [SECTION] The search: shared
// [SECTION] At rest
// [SECTION] Timed
// [SECTION] What it holds
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "game/game_context.h"
#include "solver/arena.h"
#include "solver/key_store.h"
#include "solver/reach.h"
#include "solver/skipped_ticks.h"
#include "solver/snapshot.h"
#include "solver/solver.h"

namespace solver {

// [SECTION] Nodes
// Pushes by the cell of the block pushed and the way it goes.
using Asleep = std::bitset<BOARD_SIZE * BOARD_SIZE * 2>;

struct Node {
    int32_t parent;     // -1 for the start
    int16_t slot;       // the block clicked to get here, or -1 for a wait
    int8_t button;
    int32_t tick;       // the level's tick this state stands at
    int32_t lastClick;  // tick of the latest click on the way here
    int32_t pushes;
    uint8_t idleLifts;  // timed search: the lifts run idle, their place is not part of the key
};

class Search {
public:
    // From `start`, a level on the table as it stands: its first tick is
    // the one after it.
    Search(const GameContext& start, const Limits& limits);

    Result run();

private:
    // [SECTION] The search: shared
    double elapsed() const { return cpuSeconds() - started_; }

    // Plays the opening clicks; answers false when the search has nothing
    // left to do (the opening cleared the level or a click met no block).
    bool playOpening();

    // A board some kind of which is down to one block is never explored;
    // without lifts, nor is one with a block that can never get next to any
    // other block of its kind.
    bool prune();

    // Whether some block can never get next to any other block of its kind,
    // so can never be cleared.
    bool strandedBlock();

    bool overBudget();

    // A node for the board on the table, or for the board of node `copyOf`.
    int32_t addNode(const Node& node, int32_t copyOf = -1);

    const uint8_t* snap(int32_t id) const { return snaps_.at(static_cast<size_t>(id)); }

    // Puts the board of node `id` on the table.
    void load(int32_t id) { codec_.load(snap(id), game_); }

    bool visit(const std::string& key) {
        return visited_.insert(reinterpret_cast<const uint8_t*>(key.data()), key.size(), 0);
    }

    // The packed rest key of the board on the table, in key_; answers its length.
    size_t restKeyOfBoard();

    // The clicks on the way to a node, and a final one that clears the level.
    std::vector<Click> pathTo(int32_t id, const Click* last) const;

    Click describe(int32_t from, int32_t slot, int32_t button, int32_t tick) const;

    // A goal is taken only when a person could play it: in time, and not
    // hanging on a click timed to the tick.
    bool acceptGoal(int32_t from, const Click* last, int32_t pushes, int32_t tick);

    // [SECTION] At rest
    // Pushes that commute need trying in one order only. Each push made from
    // a node is left asleep in the boards after the later pushes whose areas
    // it does not touch: the board after both is also reached, by as many
    // pushes, through the earlier one. A push asleep in a node stays asleep
    // after a push whose area it does not touch. A board met again by as
    // many pushes keeps asleep only what is asleep both ways in; a push it
    // loses that way after it was expanded is tried then, by a copy of the
    // node that tries only those.
    struct Sleeper {
        int32_t push;  // pushId
        Area area;     // where it reaches from the board it sleeps in
    };
    struct SleepList {
        int32_t first = 0;  // into sleepList_
        int32_t count = 0;
    };
    // Rest boards, the fewest pushes known to reach them and the node that
    // did (-1 for a hopeless board).
    struct Known {
        int32_t pushes;
        int32_t node;
    };

    int32_t pushesStillNeeded() const;
    void runAtRest();
    void enqueue(int32_t id, int32_t f);
    int32_t takeFrom(size_t bucket);
    int32_t pushId(int32_t from, int32_t slot, int32_t button) const;
    SleepList storeSleepList(const int32_t* sleepers, int32_t count);
    void reviseSleep(int32_t id, const int32_t* arriving, int32_t arrivingCount);
    void expandAtRest(int32_t head, const Node& node, int32_t upTo);
    // Records what is known of a rest board (`board`, its place in known_,
    // or -1 for one met for the first time); `node`, if any, stands on it.
    void know(size_t keyLength, int32_t board, int32_t node, const Known& what);

    // [SECTION] Timed
    bool liftsIdle();
    std::string timedKey(bool& idleLifts);
    int32_t idle(int32_t from, int32_t count);
    std::vector<int32_t> cycleOf(int32_t head);
    bool pushHolds(int32_t id, int32_t slot, int32_t button);
    bool nearLift(int32_t x, int32_t button) const;
    bool clickFrom(int32_t id, int32_t slot, int32_t button, std::vector<int32_t>& next, bool* idleAfter);
    void runTimed();

    // [SECTION] What it holds
    const GameContext start_;
    GameContext game_;  // the board on the table
    Limits limits_;
    Result result_;
    Codec codec_;
    std::vector<Node> nodes_;
    SnapStore snaps_;
    KeyStore visited_;
    KeyStore fewest_;  // rest board (its packed key) to its place in known_
    uint8_t key_[Codec::PACKED_KEY_BYTES];
    std::vector<Known> known_;
    std::vector<int32_t> boardOf_;   // by node: its board's place in known_
    std::vector<SleepList> sleeps_;  // by node: pushes not to try from it
    Arena<Sleeper> sleepers_;
    Arena<int32_t> sleepList_;
    std::unordered_map<int32_t, Asleep> onlyThese_;  // copies made by reviseSleep: the pushes they try
    std::vector<uint8_t> expanded_;                  // by node
    std::unordered_map<int32_t, std::vector<int32_t>> madeEarlier_;  // nodes with pushes left: the sleepers made
    std::vector<int16_t> triedUpTo_;  // by node: the bound up to which its pushes were tried
    // Node ids by pushes made plus the bound, then by ordinary blocks left.
    std::vector<std::array<std::vector<int32_t>, MAX_BLOCKS + 1>> open_;
    size_t bucket_ = 0;
    bool strandsABlock_ = false;  // without lifts: see strandedBlock
    Reach reach_;
    std::vector<uint8_t> scratch_;
    std::vector<uint8_t> probe_;
    double started_ = 0.0;
    int32_t openingTick_ = 0;
    int32_t openingPushes_ = 0;
    uint64_t budgetCalls_ = 0;
    bool stop_ = false;
};

}  // namespace solver
