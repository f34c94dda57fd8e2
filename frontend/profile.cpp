#include "frontend/profile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "common/files.h"
#include "common/line_reader.h"

namespace {

std::string currentPath = PROFILE_PATH;

}  // namespace

int (*profileCommit)(const char* from, const char* to) = std::rename;

void setProfilePath(const char* path) { currentPath = path; }
const char* profilePath() { return currentPath.c_str(); }

std::string besideProfile(const std::string& name) {
    const size_t slash = currentPath.rfind('/');
    return slash == std::string::npos ? name : currentPath.substr(0, slash + 1) + name;
}

void loadProfile(GameContext& game) {
    {
        LineReader reader(currentPath.c_str());
        for (int w = 0; w < WORLD_COUNT; ++w) {
            game.worldStatus[w] = reader.nextValue();
            game.bestScore[w] = reader.nextValue();
        }
    }
    // A fresh profile opens the tutorial and world 1, and play only opens
    // more: a profile in which no world can be started is missing or
    // damaged, and would leave the player nothing to play. The game starts
    // from the fresh values instead; the file stays as it is until a
    // finished world saves over it.
    for (int w = 0; w < PLAYED_WORLDS; ++w)
        if (game.worldStatus[w] != WORLD_LOCKED) return;
    for (int w = 0; w < WORLD_COUNT; ++w) {
        game.worldStatus[w] = w < FRESH_OPEN_WORLDS ? WORLD_OPEN : WORLD_LOCKED;
        game.bestScore[w] = 0;
    }
    struct stat st {};
    const char* why = stat(currentPath.c_str(), &st) != 0 ? "it is missing"
                      : !S_ISREG(st.st_mode)             ? "it is not a file"
                                                         : "it opens no world";
    std::printf("Your progress in %s could not be used (%s): the game starts as new, with the tutorial and world 1 "
                "open. The file is left as it is until you finish a world.\n",
                currentPath.c_str(), why);
    std::fflush(stdout);
}

namespace {

// The thirty lines, down to the disk; the file is closed either way.
bool writeProgress(FILE* file, const GameContext& g) {
    bool ok = true;
    for (int w = 0; ok && w < WORLD_COUNT; ++w)
        ok = std::fprintf(file, "%d\n%d\n", g.worldStatus[w], g.bestScore[w]) > 0;
    ok = std::fflush(file) == 0 && ok;
    ok = fsync(fileno(file)) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    return ok;
}

}  // namespace

bool saveProfile(const GameContext& game) {
    // Write beside the old file and rename over it, so a crash, a kill or a
    // full disk leaves either the old profile or the new one, never half of one.
    const std::string temporary = currentPath + ".new";
    bool ok = false;
    // Only ever a regular file, opened without waiting: a FIFO at either
    // name fails the save (and says so) instead of freezing the game.
    if (FILE* file = createRegularFile(temporary.c_str())) {
        ok = writeProgress(file, game);
        if (ok) ok = profileCommit(temporary.c_str(), currentPath.c_str()) == 0;
        if (!ok) std::remove(temporary.c_str());
    } else if (errno == EACCES || errno == EPERM) {
        // A folder that takes no new file, where the player may still write
        // profile.txt itself (a shared game folder, say): save in place, as
        // a plain write would. Any other failure to create the new file (a
        // full disk, a read-only disk) leaves the old profile untouched.
        if (FILE* file = createRegularFile(currentPath.c_str())) ok = writeProgress(file, game);
    }
    if (!ok) {
        std::printf("Your progress could not be saved to %s\n", currentPath.c_str());
        std::fflush(stdout);
    }
    return ok;
}
