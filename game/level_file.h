// Level files as the game reads them (GameContext::loadLevelSet reads the
// whole set): ten boards of 16 by 16 cell codes, then each board's par.
#pragma once

#include <cstdint>

#include "game/game_context.h"

// Only the pars of the level file at `path`, as loadLevelSet reads them:
// 0 for a level without one, and for all of a missing or short file.
void readLevelPars(const char* path, int32_t (&par)[LEVEL_COUNT]);

// Whether level n of the set in `game` has a block on it. A level file that
// could not be read plays as boards without any, cleared at once, and such
// a clear says nothing about the level.
bool levelHasBlocks(const GameContext& game, int32_t n);
