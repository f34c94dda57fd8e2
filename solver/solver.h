// A solver that plays a level through the game's own rules and looks for a
// sequence of clicks a person could make that clears it in time.
//
// Most of a level's life is spent at rest: nothing falling, no blink, no
// lift. There only the next click matters, so a board without lifts is
// searched breadth-first over its rest states, with the ticks in between
// simulated. Its "fewest pushes" therefore counts pushes made at rest: a
// push on a block in mid-fall, which the rules allow, can sometimes save one.
// Lifts make timing matter; a board with one is searched on a grid of ticks,
// where waiting is a move of its own that costs no push.
//
// The entries that play a level take the level set as a value (a
// GameContext whose `levels` hold the boards) and a level n of it, counted
// from 0. The level is started as the first of a fresh world run, whatever
// else the value holds; the solver plays on copies of its own and never
// changes the set it is given.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "game/game_context.h"
#include "game/replay.h"

namespace solver {

constexpr int32_t CLICK_SPACING = 24;  // a person clicks no faster than this, in ticks
constexpr int32_t CLICK_MARGIN = 4;    // nor more exactly than this either side
constexpr int32_t WAIT_STEP = 8;       // the grid of ticks a timed search waits on
// Two thirds of the level clock, counted in units of a round 100 ticks (a
// unit lasts 101).
constexpr int32_t TWO_THIRDS_CLOCK = LEVEL_CLOCK * CLOCK_UNIT_TICKS * 2 / 3;

struct Click {
    int32_t tick;    // the level's play tick that takes the click, counted from 1
    int32_t slot;    // the block clicked, by its slot
    int32_t button;  // BUTTON_LEFT or BUTTON_RIGHT
    int32_t column;  // where the block was, for a person to read
    int32_t row;
};

struct Limits {
    // About a gigabyte; on the biggest boards the processor time runs out first.
    int64_t maxStates = 1500000;
    double maxSeconds = 20.0;  // processor time, so a busy machine proves what a quiet one does
    int32_t tickLimit = TWO_THIRDS_CLOCK;
    bool forceTimed = false;  // search on the tick grid even without a lift
    // Boards without lifts are searched guided by a lower bound on the pushes
    // still needed; without it, plainly breadth-first. Both find the fewest.
    bool guided = true;
    // A board whose blocks fall into rooms that never meet is solved room by
    // room, its fewest pushes the sum of theirs.
    bool byRooms = true;
    // Falls through open air, and the waits for the settle count, are played
    // as one jump instead of tick by tick: the same boards on the same ticks,
    // sooner.
    bool runFallsAhead = true;
    // Pushes whose effects never touch are tried in one order only.
    bool commute = true;
    // Pushes the rules would surely refuse at rest (into a wall or onto a
    // block) are not played.
    bool skipRefused = true;
    // Guided, a board's pushes are played in turns: first those after which
    // the bound, read on the board the push leaves, still allows the fewest
    // pushes hoped for; the others only once more are needed. A push after
    // which no further push, or one, or two, could set every block moving
    // and bring the bound to nought needs at least one, two or three more.
    bool lookAhead = true;
    // Clicks played, at their ticks, before the search starts: the search
    // then answers for the board they leave, and its solution begins with them.
    std::vector<Click> opening;
    // The first click's tick at the soonest: from a level's start a person
    // is taken to have just clicked (to start it). Mid-level, searching on
    // from a board the player is looking at, only the margin either side
    // of a click holds it back.
    int32_t earliestClick = CLICK_SPACING;
    // Set from another thread to stop the search early, as if out of time.
    const std::atomic<bool>* cancel = nullptr;
};

struct Result {
    bool solved = false;
    bool timed = false;               // searched on the tick grid
    bool clearedWithoutPush = false;  // the level clears on its own
    int32_t pushes = 0;
    int32_t ticks = 0;                // the tick on which the level is cleared
    int64_t states = 0;               // states explored
    int64_t hopeless = 0;             // boards left unexplored: a kind down to a single block
    double seconds = 0.0;             // processor time
    int64_t ticksRunAhead = 0;        // ticks of falls and waits played as jumps
    int64_t putOff = 0;               // boards without lifts: boards with pushes left for a later turn
    int64_t pushesPlayed = 0;         // boards without lifts: pushes played through to rest, the search's work
    int32_t fragile = 0;  // solutions thrown away for needing a click timed too finely
    // When not solved: "no solution", "state limit", "time limit", or "no
    // such level" for a level the set does not have.
    std::string why;
    std::vector<Click> clicks;
};

// Searches level n of the set, played as the first level of a fresh world
// run, with the clock full.
Result solve(const GameContext& set, int32_t n, const Limits& limits);

// Searches on from a level as it stands on the table, mid-play: the clicks'
// ticks count from it, the first one after it being 1.
Result solveFrom(const GameContext& start, const Limits& limits);

// Level n of the set as it starts: the first level of a fresh world run.
GameContext startOf(const GameContext& set, int32_t n);

// Whether the board can never be cleared: some kind is down to a single
// live block, which has nothing left to meet.
bool hopelessBoard(const GameContext& game);

// The least total narrowing that splits blocks of one kind, standing in
// these columns, into groups of two or more, each spanning no more columns
// than its size less one: the pushes the kind still needs at the least.
int32_t fewestToGroup(const int32_t* columns, int32_t n);

// Processor time of the calling thread, in seconds.
double cpuSeconds();

// Plays the clicks from the start of level n of the set through the rules;
// answers the tick on which the level is cleared, or -1 when it is not
// cleared by then (or a click names no live block).
int32_t replay(const GameContext& set, int32_t n, const std::vector<Click>& clicks, int32_t tickLimit);

// The solution's clicks as a player makes them: at the middle of each
// clicked block, where it stands on the click's tick.
std::vector<ReplayClick> pointerClicks(const GameContext& set, int32_t n, const std::vector<Click>& clicks);

// Whether the clicks still clear the level when each one, alone, and all of
// them together, come up to CLICK_MARGIN ticks early or late.
bool robust(const GameContext& set, int32_t n, const std::vector<Click>& clicks, int32_t tickLimit);

// Moves clicks that sit on the edge of their window a few ticks into it
// until the whole sequence is robust; answers whether that worked, and the
// tick the level is then cleared on.
bool steady(const GameContext& set, int32_t n, std::vector<Click>& clicks, int32_t tickLimit, int32_t* clearedAt);

// replay and steady from a level as it stands on the table.
int32_t replayFrom(const GameContext& start, const std::vector<Click>& clicks, int32_t tickLimit);
bool steadyFrom(const GameContext& start, std::vector<Click>& clicks, int32_t tickLimit, int32_t* clearedAt,
                int32_t earliestClick = CLICK_SPACING);

}  // namespace solver
