// The rooms the level drafter lays out before it drops blocks into them:
// families of shapes, so that a world's levels read as different places and
// not as one box with a notch. Each family carves open floor into solid
// wall; the drafter then drops the blocks, walls up what they can never
// reach and trims the walls to those bordering open floor.
//
//   box        a small room with a stepped ground, a ledge or two, a pit
//   chambers   two or three rooms side by side, each with its own floor,
//              joined by doorways or by gaps above their dividing walls
//   shafts     a wide upper floor with narrow shafts down to a room below,
//              and wells that stack what falls in
//   stairs     a flight of steps down across the board under a stepped ceiling
//   pillars    a wide hall with pillars standing on its floor
//   overhangs  a wide hall whose ceiling hangs low over parts of the floor
//   hall       a wide hall, its floor mirrored about the middle or not
//   any        one of the families above, picked afresh for each draft
#pragma once

#include <cstdint>
#include <random>
#include <string>

#include "tools/levels/level_map.h"

namespace rooms {

constexpr int32_t N = levelmap::MAP_SIZE;
using Cells = int32_t[N][N];

enum class Shape { BOX, CHAMBERS, SHAFTS, STAIRS, PILLARS, OVERHANGS, HALL, ANY };

// The family named `name`, or false when there is none by that name.
bool shapeNamed(const std::string& name, Shape& shape);
// Every family's name, comma separated, for the usage line.
const char* shapeNames();

// Lays out a room of `shape` on a cleared board: open floor inside wall,
// never on the outer ring of cells. `world` makes the boxes grow as the
// worlds go on; the other families use the board whatever the world.
void carve(Cells& c, Shape shape, int32_t world, std::mt19937& rng);

// How far the open floor reaches across the board: the larger of the
// columns and the rows between its outermost cells, both counted.
int32_t floorSpan(const Cells& c);

}  // namespace rooms
