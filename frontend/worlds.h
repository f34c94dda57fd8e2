// The world table: names, descriptions, level files and backgrounds.
#pragma once

#include "game/game_context.h"

void fillWorldTable(GameContext& game);

// The name of the world's level file as it stands in levels/
// ("LevelSet3.txt"), which its replays and best pushes go by; null for a
// level file anywhere else.
const char* levelFileName(const World& world);
