// The one record of a game in progress: board, blocks, trails, clock, score,
// the world table and the saved progress, plus the few counters that live
// beside it. Everything here is plain data with fixed sizes; nothing is
// allocated while the game runs.
#pragma once

#include <cstdint>

// [SECTION] Sizes and geometry
constexpr int BOARD_SIZE = 16;      // cells per row and per column
constexpr int LEVEL_COUNT = 10;     // boards in one level file (0 to 8 are played)
constexpr int PLAYED_LEVELS = 9;
constexpr int MAX_BLOCKS = 50;
constexpr int TRAIL_LENGTH = 15;
constexpr int WORLD_COUNT = 15;
constexpr int CELL_PIXELS = 32;
constexpr int BOARD_LEFT = 384;     // screen x of column 0
constexpr int BOARD_TOP = 224;      // screen y of row 0
constexpr int NO_BLOCK = 100;       // what blockAt answers when nothing is there
// Ticks the board waits after a push or a free fall before it matches.
constexpr int32_t SETTLE_TICKS = 5;
// What the clock's tick count is reloaded with: a clock unit lasts one tick more.
constexpr int32_t CLOCK_UNIT_TICKS = 100;

// [SECTION] Game states
constexpr int32_t STATE_SPLASH = 1;
constexpr int32_t STATE_PLAY = 2;
constexpr int32_t STATE_MENU = 3;
constexpr int32_t STATE_LEVEL_COMPLETE = 4;
constexpr int32_t STATE_TIME_OVER = 5;

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

// World progress values kept in the profile.
constexpr int32_t WORLD_LOCKED = 0;
constexpr int32_t WORLD_OPEN = 1;
constexpr int32_t WORLD_FINISHED = 2;

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

// [SECTION] The game context
struct GameContext {
    int32_t score;
    int32_t clock;
    int32_t worldIndex;
    int32_t state;
    int32_t board[BOARD_SIZE][BOARD_SIZE];
    int32_t levels[LEVEL_COUNT][BOARD_SIZE][BOARD_SIZE];
    Block blocks[MAX_BLOCKS];
    Trail trails[TRAIL_LENGTH];
    int32_t settleTicks;
    World worlds[WORLD_COUNT];
    int32_t worldStatus[WORLD_COUNT];
    int32_t bestScore[WORLD_COUNT];

    // Start-up: splash state, tick clock, profile, world table, music.
    void startGame();

    // Board queries. Points are screen pixels. A point off the 16 by 16 grid
    // reads as solid (0), so no probe ever looks outside the board.
    int32_t cellAt(int32_t px, int32_t py) const;
    // Lowest slot of a live block whose open 31-pixel box holds the point.
    int32_t blockAt(int32_t px, int32_t py) const;

    // Level files and installation.
    void loadLevelSet(const char* path);
    void installLevel(int32_t n);

    // The player's clicks.
    void handleClick();
    void pushLeft(Block& block);
    void pushRight(Block& block);
    void spawnTrail(int32_t x, int32_t y, int32_t direction, int32_t kind);
    void snapToRow(int32_t slot);

    // The board's own motion, matching and the level-end test.
    void stepBoard();
    void updateBlock(Block& block);
    void fadeTrail(Trail& trail);
    void matchBlocks();
    void removeEliminated();
    void checkLevelCleared();

    // One game tick of the play screen and of the level-complete screen,
    // in the order the screens run them.
    void playTick();
    void levelCompleteTick();

    // The screens of a level in progress: draw, then tick when one is due.
    void runPlayFrame();
    void runLevelCompleteFrame();
    void runTimeOverFrame();

    // Worlds and progress.
    void startWorld(int32_t j);
    void loadProfile();
    bool saveProfile();
    void finishWorld();
    void unlockNextWorld();
};

// The single instance, zero-filled at start.
extern GameContext game;

// [SECTION] Counters beside the context
extern int32_t levelIndex;     // current level 0 to 8; 9 once the world is done
extern int32_t elimDelay;      // ticks left of the elimination blink
extern int32_t clockSubTicks;  // ticks left until the clock drops by one
extern uint8_t comboFlag;      // 1 while the chain bonus is armed

// Puts the context and its counters back to their start-of-program values.
// Tests and tools use it to begin from a known state.
void resetGame();
