// tolvane_replay [--levels DIR] [--write] FILE...: plays each replay through
// the game's rules, headless, and says how it ended:
//   FILE: ok TICK SCORE CLOCK OUTCOME
//   FILE: differs: expected TICK SCORE CLOCK OUTCOME, got TICK SCORE CLOCK OUTCOME
// A file it cannot take is refused with its name, the line and what was
// expected there. --write fills in or replaces each file's end line instead
// of comparing. The level files are read from DIR (default: levels, as the
// game reads them from its own folder). Exits 1 when any file differs or is
// refused.
#include <cstdio>
#include <cstring>
#include <string>

#include "common/files.h"
#include "game/game_context.h"
#include "game/replay.h"

namespace {

int usage(const char* program, FILE* out) {
    std::fprintf(out,
                 "usage: %s [--levels DIR] [--write] FILE...\n"
                 "Plays each replay headless and compares how it ended with its end line.\n"
                 "  --levels DIR   where the level files are (default: levels)\n"
                 "  --write        fill in or replace each file's end line instead\n",
                 program);
    return 2;
}

std::string readWhole(const char* path) {
    std::string text;
    if (FILE* f = openRegularFile(path)) {
        char buffer[65536];
        for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, got);
        std::fclose(f);
    }
    return text;
}

bool writeWhole(const char* path, const std::string& text) {
    const std::string temporary = std::string(path) + ".new";
    FILE* f = createRegularFile(temporary.c_str());
    if (f == nullptr) return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = std::fclose(f) == 0 && ok;
    ok = ok && std::rename(temporary.c_str(), path) == 0;
    if (!ok) std::remove(temporary.c_str());
    return ok;
}

// Plays one file; answers whether it passed.
bool check(const char* path, const std::string& levels, bool write) {
    Replay replay;
    std::string error;
    if (!readReplay(path, replay, error)) {
        std::printf("%s\n", error.c_str());
        return false;
    }
    const std::string levelPath = levels + "/" + replay.levelFile;
    if (FILE* f = openRegularFile(levelPath.c_str())) {
        std::fclose(f);
    } else {
        std::printf("%s: the level file %s cannot be read\n", path, levelPath.c_str());
        return false;
    }
    GameContext set;
    set.loadLevelSet(levelPath.c_str());
    const ReplayEnd got = playReplay(set, replay);
    if (write) {
        if (!writeWhole(path, withEndLine(readWhole(path), got))) {
            std::printf("%s: cannot be written\n", path);
            return false;
        }
        std::printf("%s: written %s\n", path, describeEnd(got).c_str());
        return true;
    }
    if (replay.hasEnd && replay.end != got) {
        std::printf("%s: differs: expected %s, got %s\n", path, describeEnd(replay.end).c_str(), describeEnd(got).c_str());
        return false;
    }
    std::printf("%s: ok %s\n", path, describeEnd(got).c_str());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string levels = "levels";
    bool write = false;
    int first = 1;
    for (; first < argc && argv[first][0] == '-'; ++first) {
        if (std::strcmp(argv[first], "--write") == 0) {
            write = true;
        } else if (std::strcmp(argv[first], "--levels") == 0 && first + 1 < argc) {
            levels = argv[++first];
        } else if (std::strcmp(argv[first], "--help") == 0 || std::strcmp(argv[first], "-h") == 0) {
            usage(argv[0], stdout);
            return 0;
        } else {
            return usage(argv[0], stderr);
        }
    }
    if (first >= argc) return usage(argv[0], stderr);
    bool allGood = true;
    for (int i = first; i < argc; ++i) allGood = check(argv[i], levels, write) && allGood;
    return allGood ? 0 : 1;
}
