// Level files: ten boards of 16 by 16 cell codes, one code a line, then
// each board's par (older files end before the pars), and the installation
// of one of them as the running level.
#include "game/level_file.h"

#include "common/line_reader.h"
#include "game/game_context.h"

namespace {

constexpr int32_t CELLS_IN_A_SET = LEVEL_COUNT * BOARD_SIZE * BOARD_SIZE;

// The pars follow the boards. A par can only be a number of pushes;
// anything else is no par.
void readPars(LineReader& reader, int32_t (&par)[LEVEL_COUNT]) {
    for (int32_t& p : par) {
        p = reader.nextValue();
        if (p < 0 || p > 999) p = 0;
    }
}

}  // namespace

void readLevelPars(const char* path, int32_t (&par)[LEVEL_COUNT]) {
    LineReader reader(path);
    for (int32_t cell = 0; cell < CELLS_IN_A_SET; ++cell) reader.nextValue();
    readPars(reader, par);
}

bool levelHasBlocks(const GameContext& game, int32_t n) {
    if (n < 0 || n >= LEVEL_COUNT) return false;
    for (const auto& row : game.levels[n])
        for (int32_t code : row)
            if (code >= KIND_FIRST && code <= KIND_POINTER) return true;
    return false;
}

void GameContext::loadLevelSet(const char* path) {
    // Every value is written whatever the file holds: a missing or short file
    // leaves zeros, which play as boards without a block.
    LineReader reader(path);
    for (int32_t level = 0; level < LEVEL_COUNT; ++level)
        for (int32_t row = 0; row < BOARD_SIZE; ++row)
            for (int32_t column = 0; column < BOARD_SIZE; ++column)
                levels[level][row][column] = reader.nextValue();
    readPars(reader, par);
}

void GameContext::installLevel(int32_t n) {
    // Only the ten boards that were read exist; anything else would read
    // past the level set.
    if (n < 0 || n >= LEVEL_COUNT) return;
    for (int32_t row = 0; row < BOARD_SIZE; ++row)
        for (int32_t column = 0; column < BOARD_SIZE; ++column) board[row][column] = levels[n][row][column];
    // A new level starts fresh: a blink still running from the level before
    // (time ran out, or Esc, in the middle of it) would otherwise mark and
    // remove the new level's blocks without a score, and a lift would wait
    // out a pause it never made.
    elimDelay = 0;
    for (Block& block : blocks) block = Block{};

    // Blocks take their slots in reading order, so the top-left block is
    // slot 0. A level drawn with more block cells than there are slots keeps
    // the first fifty; the rest are left as bare floor.
    int32_t made = 0;
    for (int32_t row = 0; row < BOARD_SIZE; ++row) {
        for (int32_t column = 0; column < BOARD_SIZE; ++column) {
            const int32_t code = board[row][column];
            if (code <= CELL_EMPTY || code > KIND_POINTER) continue;
            board[row][column] = CELL_EMPTY;
            if (made >= MAX_BLOCKS) continue;
            Block& block = blocks[made];
            block.x = BOARD_LEFT + CELL_PIXELS * column;
            block.y = BOARD_TOP + CELL_PIXELS * row;
            block.kind = code;
            block.alive = 1;
            block.slot = made;
            block.marked = 0;
            block.motion = MOTION_NORMAL;
            if (code == KIND_LIFT) {
                block.motion = MOTION_LIFT;
                block.goingUp = 1;
            } else if (code == KIND_ICKY) {
                block.motion = MOTION_ICKY;
                block.goingUp = 1;
            } else if (code == KIND_ROCK) {
                block.motion = MOTION_ROCK;
                block.goingUp = 1;
            }
            ++made;
        }
    }
}

void GameContext::startFreshLevel(int32_t n) {
    score = 0;
    clock = LEVEL_CLOCK;
    clockSubTicks = CLOCK_UNIT_TICKS;
    comboFlag = 0;
    settleTicks = 0;
    levelIndex = n;
    for (Trail& trail : trails) trail = Trail{};
    installLevel(n);
}
