// The keyboard's cursor on the board. It stands on a block and the arrow
// keys step it to the nearest block that way; the push keys then act as a
// click on the middle of its block. It follows its block by slot, so it
// rides along as the block is pushed, falls or is carried by a lift.
#pragma once

#include <cstdint>

#include "game/game_context.h"

enum CursorDirection : int32_t { CURSOR_LEFT, CURSOR_RIGHT, CURSOR_UP, CURSOR_DOWN };

// Whether the cursor stops at the block in this slot: a live block a push
// can still move. Tar and lifts never move, nor does a block standing on
// tar; a block blinking its way out is passed over.
bool cursorVisits(const GameContext& game, int32_t slot);

// The first block the cursor visits in reading order (the lowest slot), or
// NO_BLOCK on a board without one. A level's cursor starts there.
int32_t cursorFirst(const GameContext& game);

// From the block in `from`, the nearest visited block in the direction:
// rows and columns count in cells, a block one cell across weighs as two
// along. When none lies that way the search goes on from the opposite wall,
// as if the board wrapped round. Answers `from` itself when no other block
// is visited.
int32_t cursorStep(const GameContext& game, int32_t from, CursorDirection direction);

// The visited block nearest to a block standing at (x, y), or NO_BLOCK.
int32_t cursorNearest(const GameContext& game, int32_t x, int32_t y);

// Where a cursor on `slot` stands once the board has moved on: on its own
// block while that lives, whatever the block does; once it is gone, on the
// visited block nearest to where it was last seen, (lastX, lastY).
int32_t cursorFollow(const GameContext& game, int32_t slot, int32_t lastX, int32_t lastY);
