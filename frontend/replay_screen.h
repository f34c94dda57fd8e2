// A replay shown in the window (tolvane --replay FILE): the level played
// with the replay's clicks at the normal pace, the pointer drawn where each
// click lands; at its end the board stays under the level's outcome until
// Esc goes back to the menu.
#pragma once

#include <string>

#include "game/game_context.h"
#include "game/replay.h"

// Loads the replay's level (from levels/, with its world's background) onto
// the game as the first level of a fresh world run. Answers false, with the
// reason in `error`, when its level file cannot be read.
bool prepareReplay(GameContext& game, const Replay& replay, std::string& error);
