#include "solver/hint.h"

#include <algorithm>

#include "solver/snapshot.h"
#include "solver/solver.h"

namespace solver {

namespace {

// "Is there a way through at all" is asked of a whole clock's worth of play.
constexpr int32_t FULL_CLOCK_TICKS = (LEVEL_CLOCK + 1) * (CLOCK_UNIT_TICKS + 1);
// How far past its planned tick a push next to a lift is tried.
constexpr int32_t WINDOW_LOOKAHEAD = 120;

// Where the click on tick t leaves its block: its x, or -1 when the block
// does not move.
int32_t pushedTo(const GameContext& start, const Click& click, int32_t t) {
    GameContext g = start;
    for (int32_t k = 1; k < t; ++k)
        if (idleTick(g)) return -1;
    const int32_t before = g.blocks[click.slot].x;
    clickTick(g, click.slot, click.button);
    const Block& b = g.blocks[click.slot];
    return b.alive && b.x != before ? b.x : -1;
}

// Whether the first click made on tick t instead of its own pushes its
// block to the same place and, with the rest at their own ticks or moved
// along by as much, still clears in time.
bool pushHoldsAt(const GameContext& start, const std::vector<Click>& clicks, int32_t t, int32_t tickLimit) {
    const int32_t planned = pushedTo(start, clicks[0], clicks[0].tick);
    if (planned < 0 || pushedTo(start, clicks[0], t) != planned) return false;
    std::vector<Click> moved = clicks;
    moved[0].tick = t;
    if (clicks.size() > 1 && t < clicks[1].tick && replayFrom(start, moved, tickLimit) >= 0) return true;
    for (size_t i = 1; i < moved.size(); ++i) moved[i].tick = clicks[i].tick + (t - clicks[0].tick);
    return replayFrom(start, moved, tickLimit) >= 0;
}

// The ticks around the solution's own first click on which that push still
// leads through: a board without lifts keeps them open once it is at rest.
void pushWindow(const GameContext& start, const std::vector<Click>& clicks, int32_t tickLimit, Hint& hint) {
    const int32_t own = clicks[0].tick;
    int32_t first = own;
    while (first > 1 && pushHoldsAt(start, clicks, first - 1, tickLimit)) --first;
    int32_t last = own;
    if (!hasLift(start)) {
        last = HINT_ANY_TIME;
    } else {
        while (last < own + WINDOW_LOOKAHEAD && pushHoldsAt(start, clicks, last + 1, tickLimit)) ++last;
    }
    hint.first = first;
    hint.last = last;
}

Limits hintLimits(double seconds, int32_t tickLimit, const std::atomic<bool>* cancel) {
    Limits limits;
    limits.maxSeconds = seconds;
    limits.tickLimit = tickLimit;
    limits.cancel = cancel;
    limits.earliestClick = CLICK_MARGIN + 2;
    return limits;
}

// A board with lifts is searched on a grid of ticks counted from where it
// starts, so a way through that needs a lift at a moment between the
// grid's points can be missed. Mid-level the grid falls anywhere: the board
// is searched from a few starts two ticks apart, and the fewest pushes of
// them all kept (their clicks counted from `start` all the same). Without
// lifts timing does not matter and one search does.
constexpr int32_t LIFT_PHASES = 4;
constexpr int32_t LIFT_PHASE_STEP = 2;

Result solveAnyPhase(const GameContext& start, double seconds, int32_t tickLimit, const std::atomic<bool>* cancel) {
    if (!hasLift(start)) return solveFrom(start, hintLimits(seconds, tickLimit, cancel));
    const double started = cpuSeconds();
    Result best;
    GameContext phase = start;
    for (int32_t k = 0; k < LIFT_PHASES; ++k) {
        const int32_t offset = k * LIFT_PHASE_STEP;
        if (k > 0)
            for (int32_t t = 0; t < LIFT_PHASE_STEP; ++t) idleTick(phase);
        const double left = std::max(0.0, seconds - (cpuSeconds() - started));
        Result r = solveFrom(phase, hintLimits(left, tickLimit - offset, cancel));
        if (r.clearedWithoutPush) return r;
        for (Click& c : r.clicks) c.tick += offset;
        r.ticks += offset;
        const bool better = r.solved && (!best.solved || r.pushes < best.pushes);
        // Not proven lost while any start ran out of budget.
        if (better || (!best.solved && (k == 0 || r.why != "no solution"))) best = r;
    }
    return best;
}

}  // namespace

bool anythingToClear(const GameContext& g) {
    for (const Block& b : g.blocks)
        if (b.alive && b.motion == MOTION_NORMAL) return true;
    return false;
}

int32_t ticksLeft(const GameContext& game) {
    if (game.clock < 0) return 0;
    return game.clock * (CLOCK_UNIT_TICKS + 1) + game.clockSubTicks + 1;
}

std::vector<std::vector<Click>> plansAfterPush(const Hint& hint, int32_t pushedAt) {
    if (hint.plan.size() < 2) return {};
    std::vector<Click> own(hint.plan.begin() + 1, hint.plan.end());
    std::vector<Click> moved = own;
    for (Click& c : moved) c.tick += pushedAt - hint.plan[0].tick;
    return {own, moved};
}

std::vector<std::vector<Click>> plansLater(std::vector<std::vector<Click>> plans, int32_t ticks) {
    for (std::vector<Click>& plan : plans)
        for (Click& c : plan) c.tick -= ticks;
    return plans;
}

Hint findHint(const HintQuestion& question, const std::atomic<bool>* cancel) {
    const GameContext& board = question.board;
    const std::vector<PlayMoment>& history = question.history;
    const int32_t lead = question.lead;
    const double started = cpuSeconds();
    const auto left = [&] { return std::max(0.0, question.budgetSeconds - (cpuSeconds() - started)); };
    Hint hint;
    const auto done = [&](HintKind kind) {
        hint.kind = kind;
        hint.seconds = cpuSeconds() - started;
        return hint;
    };

    // The board as it will stand when the player may act on the answer.
    GameContext start = board;
    for (int32_t t = 0; t < lead; ++t)
        if (idleTick(start)) return done(HINT_CLEARS_ITSELF);
    if (!anythingToClear(start)) return done(HINT_CLEARS_ITSELF);
    if (ticksLeft(start) <= 0) return done(HINT_NOT_IN_TIME);

    const int32_t inTime = ticksLeft(start);
    const auto push = [&](const std::vector<Click>& plan) {
        hint.slot = plan.front().slot;
        hint.button = plan.front().button;
        hint.pushes = static_cast<int32_t>(plan.size());
        pushWindow(start, plan, inTime, hint);
        hint.first += lead;
        if (hint.last != HINT_ANY_TIME) hint.last += lead;
        hint.plan = plan;
        for (Click& c : hint.plan) c.tick += lead;
        return done(HINT_PUSH);
    };
    // The rest of an earlier hint's way, when it still leads through.
    std::vector<std::vector<Click>> plans = plansLater(question.plans, lead);
    for (size_t i = 0, n = plans.size(); i < n; ++i) {
        // And each one begun now, for a player who waited.
        if (plans[i].empty()) continue;
        std::vector<Click> now = plans[i];
        for (Click& c : now) c.tick += CLICK_SPACING - plans[i].front().tick;
        plans.push_back(now);
    }
    for (const std::vector<Click>& earlier : plans) {
        if (earlier.empty() || earlier.front().tick < 1 || !liveSlot(start, earlier.front().slot)) continue;
        if (pushedTo(start, earlier.front(), earlier.front().tick) >= 0 && replayFrom(start, earlier, inTime) >= 0)
            return push(earlier);
    }

    // The fewest pushes given a whole clock: when that way fits in the time
    // left, no way with fewer pushes does, and when there is none, the
    // board is lost whatever the clock says.
    Result r = solveAnyPhase(start, left(), std::max(inTime, FULL_CLOCK_TICKS), cancel);
    if (r.clearedWithoutPush) return done(HINT_CLEARS_ITSELF);
    if (r.solved && !r.clicks.empty() && r.ticks <= inTime) return push(r.clicks);
    if (r.solved) {
        // Too slow for the clock: a way with more pushes may still be quick enough.
        r = solveAnyPhase(start, left(), inTime, cancel);
        if (r.solved && !r.clicks.empty()) return push(r.clicks);
        return done(r.why == "no solution" ? HINT_NOT_IN_TIME : HINT_NOT_FOUND);
    }
    if (r.why != "no solution") return done(HINT_NOT_FOUND);

    // Lost: the nearest earlier board, undo by undo, that has a way through.
    for (size_t k = 1; k <= history.size(); ++k) {
        GameContext earlier = board;
        restoreMoment(earlier, history[history.size() - k]);
        if (hopelessBoard(earlier)) continue;
        const Result e = solveAnyPhase(earlier, left(), FULL_CLOCK_TICKS, cancel);
        if (e.solved || e.clearedWithoutPush) {
            hint.undos = static_cast<int32_t>(k);
            break;
        }
        if (e.why != "no solution") break;  // out of time: the count stays unknown
    }
    return done(HINT_NO_WAY);
}

// [SECTION] The worker

HintThinker::HintThinker() = default;

HintThinker::~HintThinker() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
        cancel_ = true;
    }
    wake_.notify_all();
    if (worker_.joinable()) worker_.join();
}

void HintThinker::ask(const HintQuestion& question) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        cancel_ = true;  // whatever the worker is on now is no longer wanted
        ++question_;
        asked_ = true;
        answered_ = false;
        waiting_ = question;
        // The worker starts with the first question, not with the game.
        if (!worker_.joinable()) worker_ = std::thread(&HintThinker::work, this);
    }
    wake_.notify_all();
}

void HintThinker::abandon() {
    std::lock_guard<std::mutex> lock(mutex_);
    cancel_ = true;
    ++question_;
    asked_ = false;
    answered_ = false;
}

bool HintThinker::thinking() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return asked_ || (busy_ && !cancel_);
}

bool HintThinker::answer(Hint& hint) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!answered_) return false;
    hint = hint_;
    answered_ = false;
    return true;
}

void HintThinker::work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return quit_ || asked_; });
        if (quit_) return;
        const uint64_t question = question_;
        const HintQuestion asked = waiting_;
        asked_ = false;
        busy_ = true;
        cancel_ = false;
        lock.unlock();
        const Hint hint = findHint(asked, &cancel_);
        lock.lock();
        busy_ = false;
        if (question == question_) {
            hint_ = hint;
            answered_ = true;
        }
    }
}

}  // namespace solver
