// Hints on the shipped levels, played through the game's own value: from
// each level's start and from boards a few random pushes in, following the
// hints alone (and the undos they ask for) clears the level, from the start
// in exactly its par; a first push the level measures know to lose it is
// answered with one undo. Prints each world's hint latency.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "game/undo.h"
#include "tools/levels/measures.h"
#include "solver/hint.h"
#include "solver/snapshot.h"

namespace {

std::vector<std::string> shippedFiles() {
    std::vector<std::string> files;
    std::istringstream list(TOLVANE_SHIPPED_LEVELS);
    for (std::string file; std::getline(list, file, ';');)
        if (!file.empty()) files.push_back(file);
    return files;
}

// One tick of play with this click; answers whether the level was cleared.
bool playTick(GameContext& g, UndoHistory& history, const Click& click, bool* pushed = nullptr) {
    const PlayMoment before = momentOf(g);
    TickEvents events;
    g.playTick(click, events);
    history.afterTick(before, events);
    if (pushed) *pushed = events.has(EVENT_PUSHED);
    return events.has(EVENT_LEVEL_CLEARED);
}

struct Followed {
    bool cleared = false;
    int32_t pushes = 0;  // pushes kept: those undone do not count
    int32_t restarts = 0;
    std::string why;
};

solver::Hint askHint(const GameContext& g, const UndoHistory& history, std::vector<std::vector<solver::Click>> plans = {}) {
    solver::HintQuestion question;
    question.board = g;
    question.history = history.moments();
    question.plans = std::move(plans);
    return solver::findHint(question);
}

// Plays on from `g` doing only what the hints say, as the play screen asks
// them; the latencies of the hints asked are added to `seconds`.
Followed followHints(GameContext g, UndoHistory& history, std::vector<double>& seconds) {
    Followed out;
    std::vector<std::vector<solver::Click>> plans;
    for (int32_t asked = 0; asked < 100; ++asked) {
        const solver::Hint h = askHint(g, history, plans);
        plans.clear();
        seconds.push_back(h.seconds);
        if (h.kind == solver::HINT_NO_WAY && h.undos > 0) {
            for (int32_t k = 0; k < h.undos; ++k) history.undo(g);
            continue;
        }
        // Lost before any push (a lift carried a block away), or a board too
        // deep for the budget: the dustbin, as the hint suggests.
        const bool stuck = (h.kind == solver::HINT_NO_WAY && h.undos == 0) || h.kind == solver::HINT_NOT_FOUND;
        if (stuck && out.restarts++ == 0) {
            playTick(g, history, Click{BUTTON_LEFT, 290, 550});
            continue;
        }
        if (h.kind == solver::HINT_CLEARS_ITSELF) {
            for (int32_t t = solver::ticksLeft(g); t > 0; --t)
                if (playTick(g, history, Click{})) return out.cleared = true, out.pushes = static_cast<int32_t>(history.size()), out;
        }
        if (h.kind != solver::HINT_PUSH) {
            out.why = "hint " + std::to_string(h.kind) + " after " + std::to_string(asked) + " hints";
            return out;
        }
        // Waits as the hint says, then pushes on the first tick it allows.
        for (int32_t t = 1; t < h.first; ++t)
            if (playTick(g, history, Click{})) return out.why = "cleared while waiting", out;
        const Block& b = g.blocks[h.slot];
        bool pushed = false;
        const bool cleared = playTick(g, history, Click{h.button, b.x + 16, b.y + 16}, &pushed);
        if (!pushed) return out.why = "the hinted push moved nothing", out;
        plans = solver::plansLater(solver::plansAfterPush(h, h.first), h.first);
        if (cleared) return out.cleared = true, out.pushes = static_cast<int32_t>(history.size()), out;
    }
    out.why = "too many hints";
    return out;
}

// A few random pushes that move a block, each made once the board is still.
void randomPushes(GameContext& g, UndoHistory& history, std::mt19937& rng, int32_t count) {
    for (int32_t made = 0, tries = 0; made < count && tries < 200; ++tries) {
        for (int32_t t = 0; t < 40; ++t) playTick(g, history, Click{});
        const Block& b = g.blocks[rng() % MAX_BLOCKS];
        if (!b.alive || b.motion != MOTION_NORMAL) continue;
        bool pushed = false;
        if (playTick(g, history, Click{rng() % 2 ? BUTTON_LEFT : BUTTON_RIGHT, b.x + 16, b.y + 16}, &pushed)) return;
        made += pushed;
    }
}

TEST(Hints, FollowingThemClearsEveryShippedLevel) {
    std::mt19937 rng(23);
    for (const std::string& file : shippedFiles()) {
        GameContext set;
        set.loadLevelSet(file.c_str());
        std::vector<double> seconds;
        for (int32_t n = 0; n < PLAYED_LEVELS; ++n) {
            const std::string level = file.substr(file.find_last_of('/') + 1) + " level " + std::to_string(n + 1);
            UndoHistory history;
            const Followed fromStart = followHints(solver::startOf(set, n), history, seconds);
            EXPECT_TRUE(fromStart.cleared) << level << ": " << fromStart.why;
            EXPECT_EQ(fromStart.pushes, set.par[n]) << level << ": hints from the start take the fewest pushes";
            EXPECT_EQ(fromStart.restarts, 0) << level;

            GameContext g = solver::startOf(set, n);
            history.clear();
            randomPushes(g, history, rng, 1 + static_cast<int32_t>(rng() % 3));
            if (!solver::anythingToClear(g)) continue;
            const Followed fromRandom = followHints(g, history, seconds);
            EXPECT_TRUE(fromRandom.cleared) << level << " after random pushes: " << fromRandom.why;
        }
        std::sort(seconds.begin(), seconds.end());
        std::printf("%-16s hints %3zu  median %.3f s  worst %.3f s\n", file.substr(file.find_last_of('/') + 1).c_str(),
                    seconds.size(), seconds[seconds.size() / 2], seconds.back());
    }
}

// The first pushes of a few levels that the level measures prove lose the
// level: the hint says there is no way through and that one undo mends it.
TEST(Hints, ALosingFirstPushIsMendedByOneUndo) {
    int32_t losing = 0;
    for (const std::string& file : shippedFiles()) {
        if (file.find("LevelSet8") == std::string::npos && file.find("LevelSet3") == std::string::npos) continue;
        GameContext set;
        set.loadLevelSet(file.c_str());
        for (int32_t n = 0; n < PLAYED_LEVELS; n += 4) {
            for (const solver::Click& p : measures::losingFirstPushes(set, n)) {
                GameContext g = solver::startOf(set, n);
                UndoHistory history;
                for (int32_t t = 1; t < p.tick; ++t) playTick(g, history, Click{});
                const Block& b = g.blocks[p.slot];
                playTick(g, history, Click{p.button, b.x + 16, b.y + 16});
                ASSERT_EQ(history.size(), 1u);
                const solver::Hint h = askHint(g, history);
                EXPECT_EQ(h.kind, solver::HINT_NO_WAY) << file << " level " << n + 1 << " slot " << p.slot;
                EXPECT_EQ(h.undos, 1) << file << " level " << n + 1 << " slot " << p.slot;
                ++losing;
            }
        }
    }
    EXPECT_GT(losing, 5) << "the levels chosen have losing first pushes to try";
}

// Many questions on the worker thread, most of them dropped while it
// thinks, as a new level, an undo or Esc drops them: only the last one
// asked is ever answered, and its answer is for its own board. Run under
// ThreadSanitizer too.
TEST(HintThinker, OnlyTheLastQuestionIsAnswered) {
    // Deep boards to drop while they are thought about, and quick ones to
    // answer (under the sanitizer too, with a budget to match).
    std::vector<GameContext> deep, quick;
    for (const std::string& file : shippedFiles()) {
        const bool isDeep = file.find("LevelSet10") != std::string::npos;
        if (!isDeep && file.find("LevelSet1.") == std::string::npos) continue;
        GameContext set;
        set.loadLevelSet(file.c_str());
        for (int32_t n = 0; n < PLAYED_LEVELS; n += 2) (isDeep ? deep : quick).push_back(solver::startOf(set, n));
    }
    ASSERT_FALSE(deep.empty() || quick.empty());
    const auto question = [&](const std::vector<GameContext>& boards, size_t i) {
        solver::HintQuestion q;
        q.board = boards[i % boards.size()];
        q.budgetSeconds = 60.0;
        return q;
    };
    const auto waitFor = [](solver::HintThinker& t, solver::Hint& h) {
        for (int i = 0; i < 2000; ++i) {
            if (t.answer(h)) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    };
    std::mt19937 rng(7);
    solver::Hint h;
    for (int32_t round = 0; round < 12; ++round) {
        solver::HintThinker thinker;
        for (int32_t i = 0; i < 6; ++i) {
            thinker.ask(question(deep, rng()));
            std::this_thread::sleep_for(std::chrono::microseconds(rng() % 3000));
            if (rng() % 2) thinker.abandon();  // a push, an undo, a new level or Esc
        }
        thinker.abandon();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_FALSE(thinker.answer(h)) << "an abandoned question is never answered";
        EXPECT_FALSE(thinker.thinking());
        const size_t last = rng();
        thinker.ask(question(quick, last));
        EXPECT_TRUE(thinker.thinking());
        if (round % 3 == 2) continue;  // the thinker goes while still thinking
        ASSERT_TRUE(waitFor(thinker, h));
        ASSERT_EQ(h.kind, solver::HINT_PUSH);
        const GameContext& board = quick[last % quick.size()];
        EXPECT_GE(solver::replayFrom(board, h.plan, solver::ticksLeft(board)), 0)
            << "the answer leads through the board last asked about";
        EXPECT_FALSE(thinker.answer(h)) << "an answer is given once";
    }
}

}  // namespace
