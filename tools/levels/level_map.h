// The readable level maps: each world is one text file of nine levels, each
// level a title line and sixteen rows of sixteen characters between bars.
//
//   ; a comment line (also blank lines between levels)
//   level 1: Pushing and joining
//   |                |
//   |   ##########   |
//   |   #.a....a.#   |
//   ...sixteen rows in all
//
// Legend, one character a cell:
//   ' ' nothing   '#' wall   '.' open floor
//   'a' to 'g' the seven kinds of block
//   'R' Rock-Block   'T' Icky-Block (tar)   'L' red lift block
// A block stands on open floor: installing the level leaves floor behind it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace levelmap {

constexpr int32_t MAP_SIZE = 16;
constexpr int32_t MAP_LEVELS = 9;       // played levels in one world
constexpr int32_t FILE_LEVELS = 10;     // boards in a level file; the last one stays empty
constexpr int32_t MAX_MAP_BLOCKS = 50;  // block slots in the game

struct Level {
    std::string title;
    int32_t par = 0;  // the fewest pushes, from the "par N" line under the title; 0 without one
    int32_t cells[MAP_SIZE][MAP_SIZE];  // cell codes as the level file holds them
};

struct World {
    std::vector<Level> levels;
    std::vector<std::string> errors;  // "file:line: what is wrong"; empty when the world is sound
};

// The cell code of one map character, or -1 when the legend has no such character.
int32_t codeForChar(char c);

// Reads a world from the text of a map file. `name` is used in error messages.
World parseWorld(const std::string& text, const std::string& name);

// Reads the map file at `path`; a file that cannot be read is a world
// with that one error.
World readWorld(const std::string& path);

// The world a map file holds, from its name: 0 for the tutorial, N for
// LevelSetN, -1 for a name with no number.
int32_t worldNumber(const std::string& path);

// The level file: 2560 lines, one cell code a line, the tenth board empty;
// then ten lines, each level's par (0 for none, and for the tenth).
std::string levelFileText(const World& world);

// The map's text with a "par N" line under the title of every level n
// (1 to 9) for which pars[n - 1] is above 0, in place of any it had.
std::string withPars(const std::string& mapText, const std::vector<int32_t>& pars);

}  // namespace levelmap
