// Placeholder bodies of the board's rules, replaced by the real rules.
#include "game/game_context.h"

void GameContext::loadLevelSet(const char*) {}
void GameContext::installLevel(int32_t) { state = STATE_PLAY; }
void GameContext::handleClick() {}
void GameContext::pushLeft(Block&) {}
void GameContext::pushRight(Block&) {}
void GameContext::spawnTrail(int32_t, int32_t, int32_t, int32_t) {}
void GameContext::snapToRow(int32_t) {}
void GameContext::stepBoard() {}
void GameContext::updateBlock(Block&) {}
void GameContext::fadeTrail(Trail&) {}
void GameContext::matchBlocks() {}
void GameContext::removeEliminated() {}
void GameContext::checkLevelCleared() {}
void GameContext::playTick() {}
void GameContext::levelCompleteTick() {}
