// How many play ticks a second the rules manage on a crowded board: fifty
// blocks with lifts, rocks, tar, falling rows and an elimination under way.
// A level solver plays millions of these ticks.
#include <benchmark/benchmark.h>

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

// The crowded board as it stands when play starts; every run plays a copy.
bool setUpCrowdedBoard(GameContext& start) {
    start = GameContext{};
    for (int32_t r = 0; r < BOARD_SIZE; ++r)
        for (int32_t c = 0; c < BOARD_SIZE; ++c) start.levels[0][r][c] = codeFor(CROWDED[r][c]);
    start.clock = LEVEL_CLOCK;
    start.installLevel(0);
    int32_t alive = 0;
    for (const Block& b : start.blocks) alive += b.alive;
    // The pair at the left of row 11 is blinking.
    start.blocks[40].marked = 1;
    start.blocks[41].marked = 1;
    start.elimDelay = 10;
    start.clockSubTicks = CLOCK_UNIT_TICKS;
    start.comboFlag = 0;
    return alive == MAX_BLOCKS;
}

void BM_PlayTickCrowded(benchmark::State& state) {
    static GameContext start;
    static GameContext play;
    if (!setUpCrowdedBoard(start)) {
        state.SkipWithError("the crowded board must hold fifty blocks");
        return;
    }
    int64_t ticks = 0;
    int64_t reported = 0;
    for (auto _ : state) {
        play = start;
        for (int32_t t = 0; t < TICKS_PER_RUN; ++t) {
            TickEvents events;
            play.playTick(Click{}, events);
            reported += events.count;
        }
        benchmark::DoNotOptimize(play.score);
        ticks += TICKS_PER_RUN;
    }
    state.counters["ticks_per_second"] = benchmark::Counter(static_cast<double>(ticks), benchmark::Counter::kIsRate);
    state.counters["score"] = play.score;
    state.counters["events_per_run"] =
        benchmark::Counter(static_cast<double>(reported), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PlayTickCrowded);

// Matching alone on a board of fifty settled blocks, the worst case of its
// pairwise scan.
void BM_MatchSettledBoard(benchmark::State& state) {
    static GameContext board;
    board = GameContext{};
    for (int32_t r = 0; r < BOARD_SIZE; ++r)
        for (int32_t c = 0; c < BOARD_SIZE; ++c) board.levels[0][r][c] = r >= 11 ? CELL_WALL : CELL_EMPTY;
    for (int32_t n = 0; n < MAX_BLOCKS; ++n) board.levels[0][10 - n / 10][3 + n % 10] = KIND_FIRST + (n * 3 + n / 10) % 7;
    board.installLevel(0);
    board.elimDelay = 1;  // marks only, so every call does the same work
    for (auto _ : state) {
        TickEvents events;
        board.matchBlocks(events);
        benchmark::DoNotOptimize(board.blocks[0].marked);
    }
    state.counters["calls_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MatchSettledBoard);

}  // namespace

BENCHMARK_MAIN();
