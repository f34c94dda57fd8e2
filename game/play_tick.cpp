// One game tick of a level in play and of the level-complete count-down.
#include "game/game_context.h"

namespace {

void countDown(int32_t& ticks) {
    if (ticks > 0) --ticks;
}

}  // namespace

void GameContext::runClock(TickEvents& events) {
    if (relaxedClock) return;
    if (--clockSubTicks < 0) {
        clockSubTicks = CLOCK_UNIT_TICKS;
        --clock;
    }
    if (clock < 0) {
        clock = 0;
        clockSubTicks = 0;
        events.add(EVENT_TIME_OVER);
    }
}

void GameContext::playTick(const Click& click, TickEvents& events) {
    // Time over still lets the rest of this tick run, so a level cleared in
    // the same tick ends as cleared.
    runClock(events);
    countDown(elimDelay);
    countDown(settleTicks);
    if (elimDelay == 0) {
        // The board step still runs in the removal tick, so the blocks above
        // the vanishing ones can be matched before they fall.
        stepBoard();
        handleClick(click, events);
        removeEliminated();
    }
    if (settleTicks == 0) {
        checkLevelCleared(events);
        matchBlocks(events);
    }
}

void GameContext::levelCompleteTick(TickEvents& events) {
    // The clock left over is counted into the score one unit per tick.
    --clock;
    ++score;
    if (clock <= 0) {
        ++levelIndex;
        if (levelIndex >= PLAYED_LEVELS) {
            finishWorld();
            events.add(EVENT_WORLD_FINISHED);
        } else {
            clock = LEVEL_CLOCK;
            installLevel(levelIndex);
            events.add(EVENT_NEXT_LEVEL);
        }
    }
    countDown(elimDelay);
    countDown(settleTicks);
    if (elimDelay == 0) removeEliminated();
}
