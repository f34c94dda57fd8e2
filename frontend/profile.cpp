#include "frontend/profile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
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
    LineReader reader(currentPath.c_str());
    for (int w = 0; w < WORLD_COUNT; ++w) {
        game.worldStatus[w] = reader.nextValue();
        game.bestScore[w] = reader.nextValue();
    }
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
