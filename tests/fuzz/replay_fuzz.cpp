// Fuzz target for replay files: any text at all is either refused with a
// line number or read into a replay that plays through the rules to an end,
// on a board with every kind of block, clicks landing wherever they say.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "game/game_context.h"
#include "game/replay.h"

namespace {

// Every level of the set: a walled room with ordinary blocks, a rock, tar
// and a lift in its own shaft.
GameContext boardSet() {
    const char* rows[] = {
        "################",
        "#..............#",
        "#.a.b..R....#..#",
        "#.b.a..c....#..#",
        "#.###.c.a...#..#",
        "#..I.....b..#L.#",
        "################",
    };
    GameContext set;
    for (auto& level : set.levels)
        for (int r = 0; r < 7; ++r)
            for (int c = 0; c < BOARD_SIZE; ++c) {
                const char ch = rows[r][c];
                int32_t code = ch == '#' ? CELL_WALL : CELL_EMPTY;
                if (ch >= 'a' && ch <= 'g') code = KIND_FIRST + (ch - 'a');
                if (ch == 'R') code = KIND_ROCK;
                if (ch == 'I') code = KIND_ICKY;
                if (ch == 'L') code = KIND_LIFT;
                level[r + 4][c] = code;
            }
    return set;
}

const GameContext SET = boardSet();

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Replay replay;
    std::string error;
    if (!parseReplay(std::string(reinterpret_cast<const char*>(data), size), "fuzz", replay, error)) {
        if (error.rfind("fuzz:", 0) != 0) std::abort();
        return 0;
    }
    if (replay.level < 1 || replay.level > PLAYED_LEVELS) std::abort();
    const ReplayEnd end = playReplay(SET, replay);
    if (end.tick < 1 || end.tick > replayTickLimit(replay) || end.clock < 0 || end.clock > LEVEL_CLOCK) std::abort();
    return 0;
}
