// How fast the solver proves boards: two shipped worlds whole, as the
// levels_proven tests do, and crowded boards of thirty blocks of three kinds
// as tolvane_levelgen --survey drafts them, fixed here as maps. Each run
// proves its boards once; the counters tell the states and pushes played a
// second of processor time.
#include <benchmark/benchmark.h>

#include <string>

#include "game/game_context.h"
#include "solver/solver.h"

namespace {

// Survey boards (tolvane_levelgen 10 --survey 30 --kinds 3, seeds 1 and 7,
// and a deeper one it found), by the fewest pushes they need.
struct Board {
    const char* name;
    int32_t pushes;
    const char* rows[BOARD_SIZE];
};

const Board BOARDS[] = {
    {"survey30_10", 10,
     {"                ", "                ", "                ", "   ############ ", "   #...a..a..c# ",
      "   #...c..b..a# ", "   #..ab..a.cb# ", "   #.acacacbac# ", "   #bcbcabacba# ", "   ############ ",
      "                ", "                ", "                ", "                ", "                ",
      "                "}},
    {"survey30_12", 12,
     {"                ", "                ", "##############  ", "#............#  ", "#..a.c..ac...#  ",
      "#..c.b.cba..a#  ", "#.ab.a.bcbcbc#  ", "#cbabc.ababab#  ", "##############  ", "                ",
      "                ", "                ", "                ", "                ", "                ",
      "                "}},
    {"survey30_14", 14,
     {"                ", "                ", "                ", "                ", "                ",
      "  ##############", "  #..a.....a.bc#", "  #..b.a..cbaca#", "  #.ba.c..bcbab#", "  #cacba.acbcbc#",
      "  ##############", "                ", "                ", "                ", "                ",
      "                "}},
    {"survey30_20", 20,
     {"                ", "                ", "                ", "                ", "                ",
      "                ", "                ", "  ##############", "  #a......cb...#", "  #b..c...bca.b#",
      "  #ca.bc.acbcac#", "  #ac.abacbcbca#", "  ##############", "                ", "                ",
      "                "}},
};

int32_t codeFor(char c) {
    switch (c) {
    case '#': return CELL_WALL;
    case '.': return CELL_EMPTY;
    case 'R': return KIND_ROCK;
    case 'T': return KIND_ICKY;
    case 'L': return KIND_LIFT;
    default: return c >= 'a' && c <= 'g' ? KIND_FIRST + (c - 'a') : 0;
    }
}

void report(benchmark::State& state, int64_t states, int64_t pushes, double seconds) {
    state.counters["states"] = static_cast<double>(states);
    state.counters["states/s"] = seconds > 0 ? states / seconds : 0.0;
    state.counters["pushes/s"] = seconds > 0 ? pushes / seconds : 0.0;
    state.counters["cpu_s"] = seconds;
}

void BM_SurveyBoard(benchmark::State& state, const Board& board) {
    GameContext set;
    for (int32_t r = 0; r < BOARD_SIZE; ++r)
        for (int32_t c = 0; c < BOARD_SIZE; ++c) set.levels[0][r][c] = codeFor(board.rows[r][c]);
    solver::Limits limits;
    limits.maxSeconds = 600;
    limits.maxStates = 20000000;
    solver::Result r;
    for (auto _ : state) {
        r = solver::solve(set, 0, limits);
        if (!r.solved || r.pushes != board.pushes) state.SkipWithError("not proven with the fewest pushes");
    }
    report(state, r.states, r.pushesPlayed, r.seconds);
}

void BM_ShippedWorld(benchmark::State& state, const char* file) {
    GameContext set;
    set.loadLevelSet((std::string(TOLVANE_BENCH_LEVELS) + "/" + file).c_str());
    int64_t states = 0, pushes = 0;
    double seconds = 0;
    for (auto _ : state) {
        states = pushes = 0;
        seconds = 0;
        for (int32_t n = 0; n < PLAYED_LEVELS; ++n) {
            const solver::Result r = solver::solve(set, n, solver::Limits{});
            if (!r.solved) state.SkipWithError("a level not proven");
            states += r.states;
            pushes += r.pushesPlayed;
            seconds += r.seconds;
        }
    }
    report(state, states, pushes, seconds);
}

BENCHMARK_CAPTURE(BM_ShippedWorld, LevelSet7, "LevelSet7.txt")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_ShippedWorld, LevelSet10, "LevelSet10.txt")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_SurveyBoard, survey30_10, BOARDS[0])->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_SurveyBoard, survey30_12, BOARDS[1])->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_SurveyBoard, survey30_14, BOARDS[2])->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_SurveyBoard, survey30_20, BOARDS[3])->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
