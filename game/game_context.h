// The game as a value: board, blocks, trails, clock, score, the world table
// and the saved progress, with the counters that run beside them. A copy is
// a whole game; it is stepped one tick at a time with the frame's click, and
// each tick reports what happened as events instead of playing sounds or
// changing screens itself. Everything here is plain data with fixed sizes;
// nothing is allocated while the game runs.
#pragma once

#include <cstdint>

// [SECTION] Sizes and geometry
constexpr int BOARD_SIZE = 16;      // cells per row and per column
constexpr int LEVEL_COUNT = 10;     // boards in one level file (0 to 8 are played)
constexpr int PLAYED_LEVELS = 9;
constexpr int MAX_BLOCKS = 50;
constexpr int TRAIL_LENGTH = 15;
constexpr int CELL_PIXELS = 32;
constexpr int BOARD_LEFT = 384;     // screen x of column 0
constexpr int BOARD_TOP = 224;      // screen y of row 0
constexpr int NO_BLOCK = 100;       // what blockAt answers when nothing is there
// Pixels a falling block drops in a tick.
constexpr int32_t FALL_PIXELS = 2;
// Ticks the board waits after a push or a free fall before it matches.
constexpr int32_t SETTLE_TICKS = 5;
// A level starts with this on its clock.
constexpr int32_t LEVEL_CLOCK = 99;
// What the clock's tick count is reloaded with: a clock unit lasts one tick more.
constexpr int32_t CLOCK_UNIT_TICKS = 100;

// [SECTION] Worlds
// The world table and the profile have this many worlds; the menu offers the
// first PLAYED_WORLDS, which have levels, and finishing a world opens a
// locked one among the first OPENABLE_WORLDS only.
constexpr int WORLD_COUNT = 15;
constexpr int PLAYED_WORLDS = 11;
constexpr int OPENABLE_WORLDS = 13;

// World progress values kept in the profile.
constexpr int32_t WORLD_LOCKED = 0;
constexpr int32_t WORLD_OPEN = 1;
constexpr int32_t WORLD_FINISHED = 2;

// [SECTION] Game states: which screen shows the game.
constexpr int32_t STATE_SPLASH = 1;
constexpr int32_t STATE_PLAY = 2;
constexpr int32_t STATE_MENU = 3;
constexpr int32_t STATE_LEVEL_COMPLETE = 4;
constexpr int32_t STATE_TIME_OVER = 5;
constexpr int32_t STATE_REPLAY = 6;  // a replay shown in the window (tolvane --replay)

// [SECTION] Cell codes. Codes 4 to 14 only ever appear in level data: installing
// a level turns them into blocks and leaves open floor behind.
constexpr int32_t CELL_WALL = 2;
constexpr int32_t CELL_EMPTY = 3;
constexpr int32_t KIND_FIRST = 4;        // the seven ordinary kinds are 4 to 10
constexpr int32_t KIND_LAST_ORDINARY = 10;
constexpr int32_t KIND_ROCK = 11;
constexpr int32_t KIND_ICKY = 12;
constexpr int32_t KIND_LIFT = 13;
constexpr int32_t KIND_POINTER = 14;     // behaves as an ordinary block

// [SECTION] Blocks and trails
enum BlockMotion : int32_t {
    MOTION_NORMAL = 0,
    MOTION_LIFT = 1,
    MOTION_ICKY = 2,
    MOTION_ROCK = 3,
};

constexpr int32_t TRAIL_BEHIND_RIGHT_PUSH = 2;
constexpr int32_t TRAIL_BEHIND_LEFT_PUSH = 3;

struct Block {
    uint8_t goingUp;     // lifts only: 1 rising, 0 sinking
    int32_t motion;      // a BlockMotion
    int32_t slot;        // its own index in the slot table
    int32_t x;           // screen pixel of the left edge
    int32_t y;           // screen pixel of the top edge
    int32_t kind;        // the cell code it came from, also its sprite frame
    int32_t pauseTicks;  // a lift waits this long after turning
    uint8_t marked;      // matched, waiting to vanish
    uint8_t alive;
};

struct Trail {
    int32_t x;
    int32_t y;
    uint8_t active;
    float alpha;
    int32_t kind;
};

struct World {
    const char* name;
    const char* line1;
    const char* line2;
    const char* levelFile;
    const char* backgroundFile;
};

// [SECTION] A click and what a tick reports
// The mouse buttons, as the toolkit numbers them.
constexpr int32_t BUTTON_LEFT = 0;
constexpr int32_t BUTTON_MIDDLE = 1;
constexpr int32_t BUTTON_RIGHT = 2;
constexpr int32_t BUTTON_NONE = -1;

// The frame's click: where the pointer is in the 1024 by 768 layout, and
// the button pressed in this frame, if any.
struct Click {
    int32_t button = BUTTON_NONE;
    int32_t x = 0;
    int32_t y = 0;
};

enum GameEvent : uint8_t {
    EVENT_PUSHED,          // a block moved one cell
    EVENT_RESTARTED,       // the dustbin put the level back as it began
    EVENT_BLOCK_MATCHED,   // a block started to blink: one event a block
    EVENT_LEVEL_CLEARED,   // no ordinary block is left
    EVENT_TIME_OVER,       // the clock ran out
    EVENT_NEXT_LEVEL,      // the count-down ended and the next level is on the board
    EVENT_WORLD_FINISHED,  // the count-down of the world's last level ended; the progress is updated
    EVENT_KINDS,
};

// What happened in one tick, in the order it happened.
struct TickEvents {
    static constexpr int32_t CAPACITY = MAX_BLOCKS + 8;
    int32_t count = 0;
    GameEvent list[CAPACITY];

    void add(GameEvent event) {
        if (count < CAPACITY) list[count++] = event;
    }
    int32_t countOf(GameEvent event) const {
        int32_t n = 0;
        for (int32_t i = 0; i < count; ++i) n += list[i] == event;
        return n;
    }
    bool has(GameEvent event) const { return countOf(event) > 0; }
};

// The state a game in `state` goes to after a tick that reported these
// events: the last event that decides a screen wins, as when time runs out
// on the tick the last block vanishes (the level ends cleared).
int32_t stateAfter(int32_t state, const TickEvents& events);

// [SECTION] The game context
struct GameContext {
    int32_t score = 0;
    int32_t clock = 0;
    int32_t worldIndex = 0;
    int32_t state = 0;
    int32_t board[BOARD_SIZE][BOARD_SIZE] = {};
    int32_t levels[LEVEL_COUNT][BOARD_SIZE][BOARD_SIZE] = {};
    int32_t par[LEVEL_COUNT] = {};  // each level's fewest pushes; 0 where the file gives none
    Block blocks[MAX_BLOCKS] = {};
    Trail trails[TRAIL_LENGTH] = {};
    int32_t settleTicks = 0;
    World worlds[WORLD_COUNT] = {};
    int32_t worldStatus[WORLD_COUNT] = {};
    int32_t bestScore[WORLD_COUNT] = {};
    int32_t levelIndex = 0;       // current level 0 to 8; 9 once the world is done
    int32_t elimDelay = 0;        // ticks left of the elimination blink
    int32_t clockSubTicks = 120;  // ticks left until the clock drops by one
    uint8_t comboFlag = 1;        // 1 while the chain bonus is armed
    // The relaxed clock, a player's choice on the menu: the level clock
    // stands still, so time never runs out, and a world finished so keeps
    // no best score. Everything else plays as with the clock.
    bool relaxedClock = false;

    // Board queries. Points are screen pixels. A point off the 16 by 16 grid
    // reads as solid (0), so no probe ever looks outside the board.
    int32_t cellAt(int32_t px, int32_t py) const;
    // Lowest slot of a live block whose open 31-pixel box holds the point.
    int32_t blockAt(int32_t px, int32_t py) const;

    // Level files and installation.
    void loadLevelSet(const char* path);
    void installLevel(int32_t n);
    // Level n as it starts the first time in a fresh world run: score 0, the
    // clock full, no chain bonus armed, nothing blinking or settling, no
    // trail. Replays and the solver start their levels here.
    void startFreshLevel(int32_t n);

    // The player's clicks.
    void handleClick(const Click& click, TickEvents& events);
    void pushLeft(Block& block, TickEvents& events);
    void pushRight(Block& block, TickEvents& events);
    void spawnTrail(int32_t x, int32_t y, int32_t direction, int32_t kind);
    void snapToRow(int32_t slot);

    // The board's own motion, matching and the level-end test.
    void stepBoard();
    void updateBlock(Block& block);  // one block's own step, as stepBoard takes it
    void fadeTrail(Trail& trail);
    void matchBlocks(TickEvents& events);
    void removeEliminated();
    void checkLevelCleared(TickEvents& events);

    // One game tick of a level in play, and of the level-complete count-down.
    void playTick(const Click& click, TickEvents& events);
    void levelCompleteTick(TickEvents& events);
    // The clock's part of a play tick.
    void runClock(TickEvents& events);

    // Worlds and progress.
    void beginWorld(int32_t j);  // the level set of world j is loaded
    void retryLevel();           // "Try Again?" after time over
    void finishWorld();
    void unlockNextWorld();
};
