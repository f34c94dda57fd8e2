// The level in play, recorded as the player plays it, so that a level once
// cleared can be kept as a replay (see game/replay.h). Every click of a play
// tick is kept with the tick it came in, counted from the level's first
// play tick: a click that moves nothing still spends the chain bonus and
// holds the matching for a few ticks, so leaving it out could make the
// replay play differently.
//
// Undo puts the board back as it stood before the last push while the clock
// runs on. The recording goes back with it: the undone push and every click
// after it are forgotten, and the tick count steps back to the tick before
// that push, so the replay plays the level the straight way, as though the
// pushes taken back had never been made. The dustbin starts the level anew
// but not its clock: the clicks before it are forgotten, the dustbin's own
// click is kept at its tick, and the replay's clock runs down as the
// player's did.
#pragma once

#include <cstdint>
#include <vector>

#include "game/game_context.h"
#include "game/replay.h"

class PlayRecording {
public:
    // A level begins: no tick played, nothing clicked.
    void start();
    // After a play tick with the frame's click and what the tick reported.
    void afterTick(const Click& click, const TickEvents& events);
    // Undo took back the last push (call it only when it did).
    void undo();

    const std::vector<ReplayClick>& clicks() const { return clicks_; }
    // The play ticks of the level so far, in straight time.
    int32_t ticks() const { return tick_; }

private:
    int32_t tick_ = 0;
    std::vector<ReplayClick> clicks_;
    std::vector<int32_t> pushTicks_;  // the tick of each push undo can take back, oldest first
};
