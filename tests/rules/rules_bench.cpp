// How many play ticks a second the rules manage on a crowded board: fifty
// blocks with lifts, rocks, tar, falling rows and an elimination under way.
// A level solver plays millions of these ticks.
#include <benchmark/benchmark.h>

#include <cstring>

#include "app/input_state.h"
#include "game/game_context.h"

namespace {

const char* const CROWDED[BOARD_SIZE] = {
    "################",
    "#abcdefgabcdef.#",
    "#..............#",
    "#.L..L..L..L...#",
    "#..............#",
    "#.R..I..R..I...#",
    "#..............#",
    "#gfedcbagfedcb.#",
    "#..............#",
    "#.a.b.c.d.e.f..#",
    "#..............#",
    "#aab.cc.dRIe.L.#",
    "#..............#",
    "#..............#",
    "#..............#",
    "################",
};

int32_t codeFor(char c) {
    switch (c) {
    case '#': return CELL_WALL;
    case '.': return CELL_EMPTY;
    case 'R': return KIND_ROCK;
    case 'I': return KIND_ICKY;
    case 'L': return KIND_LIFT;
    default: return c >= 'a' && c <= 'g' ? KIND_FIRST + (c - 'a') : 0;
    }
}

constexpr int32_t TICKS_PER_RUN = 400;

// The crowded board as it stands when play starts, kept to restart each run.
GameContext start;

bool setUpCrowdedBoard() {
    resetGame();
    for (int32_t r = 0; r < BOARD_SIZE; ++r)
        for (int32_t c = 0; c < BOARD_SIZE; ++c) game.levels[0][r][c] = codeFor(CROWDED[r][c]);
    game.clock = 99;
    game.installLevel(0);
    int32_t alive = 0;
    for (const Block& b : game.blocks) alive += b.alive;
    // The pair at the left of row 11 is blinking.
    game.blocks[40].marked = 1;
    game.blocks[41].marked = 1;
    elimDelay = 10;
    input = InputState{0, 0, BUTTON_NONE};
    start = game;
    return alive == MAX_BLOCKS;
}

void restart() {
    std::memcpy(&game, &start, sizeof game);
    elimDelay = 10;
    clockSubTicks = 100;
    comboFlag = 0;
}

void BM_PlayTickCrowded(benchmark::State& state) {
    if (!setUpCrowdedBoard()) {
        state.SkipWithError("the crowded board must hold fifty blocks");
        return;
    }
    int64_t ticks = 0;
    for (auto _ : state) {
        restart();
        for (int32_t t = 0; t < TICKS_PER_RUN; ++t) game.playTick();
        benchmark::DoNotOptimize(game.score);
        ticks += TICKS_PER_RUN;
    }
    state.counters["ticks_per_second"] = benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate);
    state.counters["score"] = game.score;
}
BENCHMARK(BM_PlayTickCrowded);

// Matching alone on a board of fifty settled blocks, the worst case of its
// pairwise scan.
void BM_MatchSettledBoard(benchmark::State& state) {
    resetGame();
    for (int32_t r = 0; r < BOARD_SIZE; ++r)
        for (int32_t c = 0; c < BOARD_SIZE; ++c) game.levels[0][r][c] = r >= 11 ? CELL_WALL : CELL_EMPTY;
    for (int32_t n = 0; n < MAX_BLOCKS; ++n) game.levels[0][10 - n / 10][3 + n % 10] = KIND_FIRST + (n * 3 + n / 10) % 7;
    game.installLevel(0);
    elimDelay = 1;  // marks only, so every call does the same work
    for (auto _ : state) {
        game.matchBlocks();
        benchmark::DoNotOptimize(game.blocks[0].marked);
    }
    state.counters["calls_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MatchSettledBoard);

}  // namespace

BENCHMARK_MAIN();
