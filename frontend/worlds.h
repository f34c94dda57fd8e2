// The world table: names, descriptions, level files and backgrounds.
#pragma once

#include "game/game_context.h"

void fillWorldTable(GameContext& game);
