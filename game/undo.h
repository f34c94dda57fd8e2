// Taking back pushes. Before every push that moves a block, the board and
// everything on it is remembered: the cells, the blocks and lifts where they
// stand and how they move, the marks of a blink under way, the trails, the
// score and the chain bonus. Undo puts the last of those moments back. The
// clock is never part of a moment: time spent stays spent.
#pragma once

#include <cstddef>
#include <vector>

#include "game/game_context.h"

struct PlayMoment {
    int32_t board[BOARD_SIZE][BOARD_SIZE];
    Block blocks[MAX_BLOCKS];
    Trail trails[TRAIL_LENGTH];
    int32_t score;
    int32_t settleTicks;
    int32_t elimDelay;
    uint8_t comboFlag;
};

PlayMoment momentOf(const GameContext& game);
void restoreMoment(GameContext& game, const PlayMoment& moment);

// The pushes of the level in play, oldest first. Unlimited within a level;
// the dustbin's restart and a new level start it empty.
class UndoHistory {
public:
    void clear() { moments_.clear(); }
    // After a tick that began at `before`: keeps the moment when the tick
    // moved a block, and forgets everything when it restarted the level.
    void afterTick(const PlayMoment& before, const TickEvents& events);
    // Puts the board back as it stood before the last push; false, with the
    // game untouched, when there is nothing to take back.
    bool undo(GameContext& game);
    std::size_t size() const { return moments_.size(); }
    const std::vector<PlayMoment>& moments() const { return moments_; }

private:
    std::vector<PlayMoment> moments_;
};
