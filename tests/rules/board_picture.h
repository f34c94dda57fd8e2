// Test boards drawn as pictures: up to 16 rows of up to 16 characters, one
// character a cell. Missing rows and columns are nothing (code 0).
//   ' ' nothing (0)   '1' nothing (1)   '#' wall   '.' open floor
//   'a'..'g' the seven ordinary kinds   'R' Rock-Block   'I' Icky-Block
//   'L' lift   'P' the pointer-faced ordinary block (14)
//   '-' code -1   '?' code 99 (stray codes that are drawn but never entered)
//
// The game under test is picture::game. The helpers play it the way the
// program does: a tick takes the frame's click, and the game then goes to
// the screen that tick's events call for. Every event the helpers see
// is tallied from play() on, so a test can ask how often a block was
// pushed or matched.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>

#include "game/game_context.h"

namespace picture {

inline GameContext game;
inline Click pending;  // the click the next tick takes
inline int32_t tally[EVENT_KINDS];

inline void hear(const TickEvents& events) {
    for (int32_t i = 0; i < events.count; ++i) ++tally[events.list[i]];
}

// How often the event was reported since play().
inline int32_t heard(GameEvent event) { return tally[event]; }

inline void forgetHeard() {
    for (int32_t& n : tally) n = 0;
}

inline int32_t codeFor(char c) {
    switch (c) {
    case ' ': return 0;
    case '1': return 1;
    case '#': return CELL_WALL;
    case '.': return CELL_EMPTY;
    case 'R': return KIND_ROCK;
    case 'I': return KIND_ICKY;
    case 'L': return KIND_LIFT;
    case 'P': return KIND_POINTER;
    case '-': return -1;
    case '?': return 99;
    default: break;
    }
    if (c >= 'a' && c <= 'g') return KIND_FIRST + (c - 'a');
    ADD_FAILURE() << "no cell code for '" << c << "'";
    return 0;
}

// Lays the picture into level n of the loaded set.
inline void drawLevel(int32_t n, std::initializer_list<const char*> rows) {
    for (int32_t r = 0; r < BOARD_SIZE; ++r)
        for (int32_t c = 0; c < BOARD_SIZE; ++c) game.levels[n][r][c] = 0;
    int32_t r = 0;
    for (const char* row : rows) {
        EXPECT_LT(r, BOARD_SIZE) << "a picture has at most 16 rows";
        if (r >= BOARD_SIZE) break;
        for (int32_t c = 0; row[c] != '\0'; ++c) {
            EXPECT_LT(c, BOARD_SIZE) << "row " << r << " is longer than 16 cells";
            if (c >= BOARD_SIZE) break;
            game.levels[n][r][c] = codeFor(row[c]);
        }
        ++r;
    }
}

// A fresh game as the program starts, with no click pending and nothing
// heard yet.
inline void fresh() {
    game = GameContext{};
    forgetHeard();
    pending = Click{};
}

// A fresh game playing the picture as level 0 of world 1, with no chain
// bonus armed.
inline void play(std::initializer_list<const char*> rows) {
    fresh();
    drawLevel(0, rows);
    game.worldIndex = 1;
    game.clock = LEVEL_CLOCK;
    game.comboFlag = 0;
    game.state = STATE_PLAY;
    game.installLevel(0);
}

inline int32_t cellX(int32_t column) { return BOARD_LEFT + CELL_PIXELS * column; }
inline int32_t cellY(int32_t row) { return BOARD_TOP + CELL_PIXELS * row; }

// The slot of the live block standing exactly on a cell, or NO_BLOCK.
inline int32_t slotAt(int32_t row, int32_t column) {
    for (int32_t i = 0; i < MAX_BLOCKS; ++i) {
        const Block& b = game.blocks[i];
        if (b.alive && b.x == cellX(column) && b.y == cellY(row)) return i;
    }
    return NO_BLOCK;
}

inline Click onBlock(int32_t button, int32_t slot) {
    return Click{button, game.blocks[slot].x + 16, game.blocks[slot].y + 16};
}

// A click for the next tick, at a point or on the middle of a block.
inline void press(int32_t button, int32_t x, int32_t y) { pending = Click{button, x, y}; }
inline void pressBlock(int32_t button, int32_t slot) { pending = onBlock(button, slot); }

// A click handled on the spot, outside a tick.
inline void click(int32_t button, int32_t x, int32_t y) {
    TickEvents events;
    game.handleClick(Click{button, x, y}, events);
    hear(events);
}
inline void clickBlock(int32_t button, int32_t slot) {
    const Click c = onBlock(button, slot);
    click(c.button, c.x, c.y);
}

// One play tick with the pending click acted on or lost, as a frame would;
// answers what the tick reported.
inline TickEvents tick() {
    TickEvents events;
    game.playTick(pending, events);
    pending = Click{};
    hear(events);
    game.state = stateAfter(game.state, events);
    return events;
}

inline void ticks(int32_t count) {
    for (int32_t i = 0; i < count; ++i) tick();
}

// One tick of the level-complete count-down, as its screen runs it.
inline TickEvents countDownTick() {
    TickEvents events;
    game.levelCompleteTick(events);
    hear(events);
    game.state = stateAfter(game.state, events);
    return events;
}

// A temporary file that is removed when the test ends.
class TempFile {
public:
    explicit TempFile(const std::string& contents) {
        char name[] = "/tmp/tolvane_rules_XXXXXX";
        const int fd = mkstemp(name);
        path_ = name;
        FILE* file = fdopen(fd, "w");
        std::fputs(contents.c_str(), file);
        std::fclose(file);
    }
    ~TempFile() { std::remove(path_.c_str()); }
    const char* path() const { return path_.c_str(); }

private:
    std::string path_;
};

}  // namespace picture
