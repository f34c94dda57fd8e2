// What a level designer wants to know about a level beyond "it can be
// solved": how many pushes it takes, how easily a careless player loses it,
// how much of it is used, and whether its tar and lifts matter.
//
// Every measure plays the level through the game's own rules (the level is
// board n of a level set, which is never changed), and every random choice
// comes from a seed, so the same level always measures the same.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/game_context.h"
#include "solver/solver.h"
#include "tools/levels/level_map.h"

struct GameContext;

namespace measures {

constexpr int32_t RANDOM_PLAYERS = 200;
constexpr int32_t FULL_CLOCK_TICKS = LEVEL_CLOCK * CLOCK_UNIT_TICKS;  // the clock's units, of about 100 ticks

struct Options {
    int32_t players = RANDOM_PLAYERS;
    uint32_t seed = 20261208;
    // Each proof of a board after a first push, and of a board with its lifts
    // or tar walled up, gives up after this much processor time.
    double proofSeconds = 8.0;
    int64_t proofStates = 300000;
};

// A three-way answer: a search that ran out of budget proves nothing.
enum class Proof { NO, YES, UNKNOWN };

struct Measures {
    bool solved = false;
    std::string why;                // why not, when not solved
    int32_t pushes = 0;             // fewest pushes, made at rest
    bool timed = false;             // lifts make timing part of the search
    int32_t firstPushes = 0;        // legal first pushes
    int32_t losingFirstPushes = 0;  // after which the level can no longer be solved
    int32_t unknownFirstPushes = 0; // the proof ran out of budget
    int32_t randomWins = 0;         // of `players` random players
    int32_t players = 0;
    int32_t openFloor = 0;          // open cells, those under blocks included
    int32_t unreachableFloor = 0;   // open cells no block can ever get to
    int32_t headroom = 0;           // open cells above the highest cell a block can reach
    int32_t inertTar = 0;           // tar no block can ever stand on
    int32_t tar = 0;
    int32_t lifts = 0;
    int32_t blocks = 0;             // every block the map places: rocks, tar and lifts included
    int32_t span = 0;               // the open floor's widest extent, in columns or in rows
    int32_t openAboveBlock = 0;     // blocks with no wall above them in their column
    Proof needsLift = Proof::NO;    // with its lifts walled up it has no solution, or a different one
    Proof needsTar = Proof::NO;

    double trapDensity() const { return firstPushes ? static_cast<double>(losingFirstPushes) / firstPushes : 0.0; }
    double randomSuccess() const { return players ? static_cast<double>(randomWins) / players : 0.0; }
    double headroomShare() const { return openFloor ? static_cast<double>(headroom) / openFloor : 0.0; }
};

// The measures of board n of the set.
Measures measure(const GameContext& set, int32_t n, const Options& options);

// The first pushes of board n that lose it (see losingFirstPushes in
// Measures): each as the click that makes it, on the tick it is made.
std::vector<solver::Click> losingFirstPushes(const GameContext& set, int32_t n, const Options& options = {});

// The cells a block could ever get to, over-estimated: sideways and down
// through open cells from where the blocks stand, and all the way up and
// down a lift's shaft. Tar never moves and stops the others like wall.
void reachable(const int32_t cells[levelmap::MAP_SIZE][levelmap::MAP_SIZE],
               bool reach[levelmap::MAP_SIZE][levelmap::MAP_SIZE]);

// The board measures alone, which need no play: floor, headroom, tar, walls.
void measureBoard(const int32_t cells[levelmap::MAP_SIZE][levelmap::MAP_SIZE], Measures& m);

// How far the open floor (the cells under blocks included) stretches: the
// columns from its leftmost to its rightmost cell, or the rows from its
// highest to its lowest, whichever is more; 0 for a board without floor.
int32_t span(const int32_t cells[levelmap::MAP_SIZE][levelmap::MAP_SIZE]);

// The middle of the values, or the mean of the two middle ones when their
// count is even; 0 for none.
double median(std::vector<double> values);

// How many of `players` random players, each pushing a random block at
// random once the board is at rest, clear board n of the set before the
// clock runs out.
int32_t randomWins(const GameContext& set, int32_t n, int32_t players, uint32_t seed);

// How alike two layouts are wherever either room sits on the board: the
// best overlap over every shift of one against the other, the cells both
// have over the cells either has. A room moved across the board is the same
// room to a player, so a likeness that sees only fixed places says nothing.
// `wallLikeness` compares the walls, `floorLikeness` the open floor (the
// cells blocks can stand in, those under blocks included).
double wallLikeness(const int32_t a[levelmap::MAP_SIZE][levelmap::MAP_SIZE],
                    const int32_t b[levelmap::MAP_SIZE][levelmap::MAP_SIZE]);
double floorLikeness(const int32_t a[levelmap::MAP_SIZE][levelmap::MAP_SIZE],
                     const int32_t b[levelmap::MAP_SIZE][levelmap::MAP_SIZE]);

// Puts a map level on board n of the set.
void placeLevel(GameContext& set, int32_t n, const levelmap::Level& level);

}  // namespace measures
