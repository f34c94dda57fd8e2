// tolvane_solve [options] LEVELFILE [LEVEL...]: proves the levels of a world
// by finding clicks a person could make that clear each one in time.
//   --clicks          print each solution's clicks
//   --write-replays DIR  write each solution as a replay, DIR/NAME-LEVEL.replay
//   --write-par MAP   write each level's fewest pushes into MAP as its par
//   --max-states N    give up after N states (default 1500000, about a gigabyte)
//   --max-seconds S   give up on a level after S seconds of processor time (default 20)
//   --ticks T         a level must be cleared by tick T (default 6600)
//   --timed           search on the tick grid even without a lift
//   --breadth-first   search boards without lifts plainly breadth-first
//   --stats           print the search's counts for each level (pushes played,
//                     boards put off, ticks run ahead)
//   --every-order     try pushes that never touch in every order, play every
//                     tick of a fall and every push, all of a board's pushes at
//                     once (slower, the same fewest pushes)
// LEVEL numbers count from 1; without any, levels 1 to 9 are solved. Exits
// 0 only when every level asked for is solved, with at least one push and
// within the ticks allowed.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "game/game_context.h"
#include "solver/solver.h"
#include "tools/levels/level_map.h"

namespace {

int usage(const char* program, FILE* out = stderr) {
    std::fprintf(out,
                 "usage: %s [--clicks] [--stats] [--write-replays DIR] [--write-par MAP] [--max-states N] [--max-seconds S] [--ticks T] [--timed] [--breadth-first] [--every-order] LEVELFILE [LEVEL...]\n"
                 "Proves levels by finding clicks a person could make that clear each one in time.\n"
                 "  --clicks          print each solution's clicks\n"
                 "  --stats           print the search's counts for each level\n"
                 "  --write-replays DIR  write each solution as a replay, DIR/NAME-LEVEL.replay\n"
                 "  --write-par MAP   write each level's fewest pushes into MAP (the world's map) as its par\n"
                 "  --max-states N    give up on a level after N states (default 1500000)\n"
                 "  --max-seconds S   give up on a level after S seconds of processor time (default 20)\n"
                 "  --ticks T         a level must be cleared by tick T (default 6600)\n"
                 "  --timed           search on the tick grid even without a lift\n"
                 "  --breadth-first   search boards without lifts plainly breadth-first, unguided\n"
                 "  --every-order     try pushes that never touch in every order, play every tick\n"
                 "                    of a fall and every push, all of a board's pushes at once\n"
                 "                    (slower, the same fewest pushes)\n"
                 "\"Fewest pushes\" counts pushes made at rest, when nothing falls. The rules also\n"
                 "let a block be pushed in mid-fall, and such a push can sometimes save one.\n"
                 "LEVEL numbers count from 1; without any, levels 1 to 9 are solved.\n",
                 program);
    return 2;
}

// The solution of level n of the file at `path`, read into `set`, as a
// replay with its end line.
bool writeReplay(const char* dir, const char* path, const GameContext& set, int32_t n, const solver::Result& r) {
    const char* slash = std::strrchr(path, '/');
    const std::string file = slash ? slash + 1 : path;
    const std::string name = file.substr(0, file.rfind('.'));
    Replay replay;
    replay.levelFile = file;
    replay.level = n;
    replay.clicks = solver::pointerClicks(set, n - 1, r.clicks);
    replay.end = playReplay(set, replay);
    replay.hasEnd = true;
    const std::string text = "# " + name + " level " + std::to_string(n) + ": the fewest pushes tolvane_solve finds, " +
                             std::to_string(r.pushes) + "\n" + replayText(replay);
    const std::string out = std::string(dir) + "/" + name + "-" + std::to_string(n) + ".replay";
    FILE* f = std::fopen(out.c_str(), "w");
    if (f == nullptr || std::fputs(text.c_str(), f) < 0 || std::fclose(f) != 0) {
        std::fprintf(stderr, "%s: cannot be written\n", out.c_str());
        return false;
    }
    return true;
}

// The map with the pars found, written beside it and moved into place.
bool writePars(const char* map, const std::vector<int32_t>& pars) {
    std::ifstream in(map, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in) {
        std::fprintf(stderr, "%s: cannot read the map\n", map);
        return false;
    }
    const std::string temp = std::string(map) + ".part";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << levelmap::withPars(text.str(), pars);
        if (!out.flush()) {
            std::fprintf(stderr, "%s: cannot be written\n", temp.c_str());
            std::remove(temp.c_str());
            return false;
        }
    }
    if (std::rename(temp.c_str(), map) != 0) {
        std::fprintf(stderr, "%s: cannot be moved into place\n", map);
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    solver::Limits limits;
    bool showClicks = false;
    bool showStats = false;
    const char* path = nullptr;
    const char* replayDir = nullptr;
    const char* parMap = nullptr;
    std::vector<int32_t> wanted;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(a, "--help") == 0 || std::strcmp(a, "-h") == 0) {
            usage(argv[0], stdout);
            return 0;
        } else if (std::strcmp(a, "--clicks") == 0) {
            showClicks = true;
        } else if (std::strcmp(a, "--stats") == 0) {
            showStats = true;
        } else if (std::strcmp(a, "--write-replays") == 0 && hasValue) {
            replayDir = argv[++i];
        } else if (std::strcmp(a, "--write-par") == 0 && hasValue) {
            parMap = argv[++i];
        } else if (std::strcmp(a, "--breadth-first") == 0) {
            limits.guided = false;
        } else if (std::strcmp(a, "--every-order") == 0) {
            limits.commute = false;
            limits.runFallsAhead = false;
            limits.skipRefused = false;
            limits.lookAhead = false;
        } else if (std::strcmp(a, "--timed") == 0) {
            limits.forceTimed = true;
        } else if (std::strcmp(a, "--max-states") == 0 && hasValue) {
            limits.maxStates = std::atoll(argv[++i]);
        } else if (std::strcmp(a, "--max-seconds") == 0 && hasValue) {
            limits.maxSeconds = std::atof(argv[++i]);
        } else if (std::strcmp(a, "--ticks") == 0 && hasValue) {
            limits.tickLimit = std::atoi(argv[++i]);
        } else if (a[0] == '-') {
            return usage(argv[0]);
        } else if (!path) {
            path = a;
        } else {
            const int32_t n = std::atoi(a);
            if (n < 1 || n > PLAYED_LEVELS) return usage(argv[0]);
            wanted.push_back(n);
        }
    }
    if (!path) return usage(argv[0]);
    if (wanted.empty())
        for (int32_t n = 1; n <= PLAYED_LEVELS; ++n) wanted.push_back(n);

    // The level file is read the way the game reads it; a missing file reads
    // as empty boards, which the push count below refuses.
    GameContext set;
    set.loadLevelSet(path);

    bool allGood = true;
    std::vector<int32_t> pars(PLAYED_LEVELS, 0);
    int64_t states = 0;
    double seconds = 0.0;
    for (int32_t n : wanted) {
        const solver::Result r = solver::solve(set, n - 1, limits);
        states += r.states;
        seconds += r.seconds;
        if (r.solved) {
            std::printf("level %d: solved   pushes %3d  ticks %5d  states %8lld  hopeless %7lld  %7.3f s%s%s\n", n,
                        r.pushes, r.ticks, static_cast<long long>(r.states), static_cast<long long>(r.hopeless), r.seconds, r.timed ? "  timed" : "",
                        r.fragile ? "  (finely timed solutions skipped)" : "");
        } else {
            std::printf("level %d: not proven (%s)  states %lld  %.3f s%s\n", n, r.why.c_str(),
                        static_cast<long long>(r.states), r.seconds, r.timed ? "  timed" : "");
            allGood = false;
        }
        if (showStats)
            std::printf("    pushes played %lld (%.0f a second)  put off %lld  ticks run ahead %lld\n",
                        static_cast<long long>(r.pushesPlayed), r.seconds > 0 ? r.pushesPlayed / r.seconds : 0.0,
                        static_cast<long long>(r.putOff), static_cast<long long>(r.ticksRunAhead));
        if (replayDir && r.solved && !writeReplay(replayDir, path, set, n, r)) allGood = false;
        // The par the game shows is the level's fewest pushes, kept with it.
        if (r.solved) pars[n - 1] = r.pushes;
        if (r.solved && !parMap && set.par[n - 1] != r.pushes) {
            std::printf("level %d: its par is %d, but its fewest pushes are %d (tolvane_solve --write-par MAP)\n", n,
                        set.par[n - 1], r.pushes);
            allGood = false;
        }
        if (showClicks)
            for (const solver::Click& c : r.clicks)
                std::printf("    tick %5d  %s on the block at column %2d, row %2d\n", c.tick,
                            c.button == BUTTON_LEFT ? "left " : "right", c.column, c.row);
    }
    std::printf("%s: %zu levels, %lld states in %.3f s of processor time (%.0f states a second)\n", path, wanted.size(),
                static_cast<long long>(states), seconds, seconds > 0 ? states / seconds : 0.0);
    if (parMap && !writePars(parMap, pars)) allGood = false;
    return allGood ? 0 : 1;
}
