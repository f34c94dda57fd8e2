// One game tick of a level in play and of the level-complete count-down.
#include "audio/sound_bank.h"
#include "game/game_context.h"

namespace {

constexpr int32_t LEVEL_CLOCK = 99;

void countDown(int32_t& ticks) {
    if (ticks > 0) --ticks;
}

}  // namespace

void GameContext::playTick() {
    if (--clockSubTicks < 0) {
        clockSubTicks = CLOCK_UNIT_TICKS;
        --clock;
    }
    // Time over still lets the rest of this tick run, so a level cleared in
    // the same tick ends as cleared.
    if (clock < 0) {
        clock = 0;
        clockSubTicks = 0;
        state = STATE_TIME_OVER;
        soundBank.playSound(SOUND_TIMEUP);
    }
    countDown(elimDelay);
    countDown(settleTicks);
    if (elimDelay == 0) {
        // The board step still runs in the removal tick, so the blocks above
        // the vanishing ones can be matched before they fall.
        stepBoard();
        handleClick();
        removeEliminated();
    }
    if (settleTicks == 0) {
        checkLevelCleared();
        matchBlocks();
    }
}

void GameContext::levelCompleteTick() {
    // The clock left over is counted into the score one unit per tick.
    --clock;
    ++score;
    if (clock <= 0) {
        ++levelIndex;
        if (levelIndex >= PLAYED_LEVELS) {
            finishWorld();
        } else {
            clock = LEVEL_CLOCK;
            installLevel(levelIndex);
        }
    }
    countDown(elimDelay);
    countDown(settleTicks);
    if (elimDelay == 0) removeEliminated();
}
