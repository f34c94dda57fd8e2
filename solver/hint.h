// Help for a stuck player: the next push of a fewest-push way through from
// the board as it stands (lifts where they are, the clock as it is), or why
// there is none. The thinking is the solver's, within a budget of processor
// time, and can run on a thread of its own while the game plays on.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "game/game_context.h"
#include "game/undo.h"
#include "solver/solver.h"

namespace solver {

enum HintKind : int32_t {
    HINT_PUSH,          // push this block this way
    HINT_NO_WAY,        // the board can no longer be cleared at all
    HINT_NOT_IN_TIME,   // it can, but not in the time left
    HINT_NOT_FOUND,     // the budget ran out first
    HINT_CLEARS_ITSELF, // nothing to push: the level clears as it stands
};

// Processor time one hint may take.
constexpr double HINT_BUDGET_SECONDS = 3.0;
// The push window of a hint on a board without lifts has no end.
constexpr int32_t HINT_ANY_TIME = 1 << 30;

struct Hint {
    HintKind kind = HINT_NOT_FOUND;
    // HINT_PUSH: the block by its slot, and the button that pushes it the right way.
    int32_t slot = -1;
    int32_t button = BUTTON_NONE;
    // HINT_PUSH: the ticks, counted from the board asked about (the next tick
    // is 1), on which the push keeps the way through: from `first` to `last`.
    // Before `first` the player should wait (a lift is not there yet).
    int32_t first = 0;
    int32_t last = 0;
    int32_t pushes = 0;  // HINT_PUSH: the pushes of the whole way through, this one included
    // HINT_NO_WAY: how many undos lead back to a board that has a way
    // through, the nearest such board; 0 when none of them has one.
    int32_t undos = 0;
    double seconds = 0.0;  // processor time spent
    // HINT_PUSH: the whole way through, this push first, its ticks counted
    // like `first`.
    std::vector<Click> plan;
};

struct HintQuestion {
    GameContext board;                // a level in play
    std::vector<PlayMoment> history;  // the undo history that led to it, oldest first
    int32_t lead = 0;                 // ticks the player is assumed to make no push in
    // Ways through that earlier hints gave, their ticks counted from this
    // board: one that still clears is taken as it is, so a player who
    // follows the hints is shown one plan to its end, at once.
    std::vector<std::vector<Click>> plans;
    double budgetSeconds = HINT_BUDGET_SECONDS;
};

// What is left of a hint's plan once its push was made `pushedAt` ticks
// after the board it was asked of: the rest at their own ticks, and the
// rest moved along by as much as the push came late or early. Ticks still
// count from that board.
std::vector<std::vector<Click>> plansAfterPush(const Hint& hint, int32_t pushedAt);
// The same plans counted from a board `ticks` later.
std::vector<std::vector<Click>> plansLater(std::vector<std::vector<Click>> plans, int32_t ticks);

// Whether any ordinary block is left to clear.
bool anythingToClear(const GameContext& game);

// The ticks a level in play has left before its clock runs out; a clear on
// the last of them still counts.
int32_t ticksLeft(const GameContext& game);

// Thinks about the question's board. `cancel`, when set, stops it early
// with HINT_NOT_FOUND.
Hint findHint(const HintQuestion& question, const std::atomic<bool>* cancel = nullptr);

// One hint at a time on a worker thread. The game asks, polls each frame
// and abandons a question whose board is gone (a push, an undo, a new
// level, Esc); an abandoned question stops thinking soon and its answer is
// never given.
class HintThinker {
public:
    HintThinker();
    ~HintThinker();
    HintThinker(const HintThinker&) = delete;
    HintThinker& operator=(const HintThinker&) = delete;

    // Starts thinking about this board, abandoning any question still open.
    void ask(const HintQuestion& question);
    // Stops thinking about the open question, if any; its answer is dropped.
    void abandon();
    bool thinking() const;
    // The answer to the last question, once, when it has come.
    bool answer(Hint& hint);

private:
    void work();

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::atomic<bool> cancel_{false};
    // Guarded by mutex_.
    bool quit_ = false;
    bool asked_ = false;    // a question waits for the worker
    bool busy_ = false;     // the worker is thinking
    bool answered_ = false; // an answer waits for the game
    uint64_t question_ = 0; // counts the questions; an answer to an older one is dropped
    HintQuestion waiting_;  // the question asked, until the worker takes it
    Hint hint_;
    std::thread worker_;
};

}  // namespace solver
