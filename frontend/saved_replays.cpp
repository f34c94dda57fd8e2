#include "frontend/saved_replays.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "common/files.h"
#include "frontend/profile.h"
#include "frontend/worlds.h"
#include "game/level_file.h"
#include "game/replay.h"

PlayRecording playRecording;

namespace {

// A replay of ours holds at most a click a tick of a level's clock: a file
// far bigger is none of ours, and is not read in full.
constexpr std::size_t KEPT_REPLAY_MAX_BYTES = 1024 * 1024;

void say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// Whether the replay already at `path` is as good as this clear or better:
// it reads, is of the same level, and clears it with fewer pushes, or as
// few and as high a score. One that does not is replaced.
bool keptIsAsGood(const GameContext& game, const std::string& path, const Replay& cleared, int32_t pushes,
                  int32_t score) {
    std::string text;
    if (readSmallFile(path.c_str(), KEPT_REPLAY_MAX_BYTES, text) != 0) return false;
    Replay kept;
    std::string error;
    if (!parseReplay(text, path.c_str(), kept, error)) return false;
    if (kept.levelFile != cleared.levelFile || kept.level != cleared.level) return false;
    int32_t keptPushes = 0;
    const ReplayEnd end = playReplay(game, kept, &keptPushes);
    if (end.outcome != OUTCOME_CLEARED) return false;
    return keptPushes < pushes || (keptPushes == pushes && end.score >= score);
}

}  // namespace

bool saveClearedLevel(const GameContext& game, const PlayRecording& recording, bool hinted) {
    if (game.worldIndex < 0 || game.worldIndex >= WORLD_COUNT) return false;
    if (game.levelIndex < 0 || game.levelIndex >= PLAYED_LEVELS || !levelHasBlocks(game, game.levelIndex)) return false;
    // A level file outside levels/ could not be named in a replay.
    const char* levelFile = levelFileName(game.worlds[game.worldIndex]);
    if (levelFile == nullptr) return false;
    Replay replay;
    replay.levelFile = levelFile;
    replay.level = game.levelIndex + 1;
    replay.clicks = recording.clicks();
    const std::string stem = replay.levelFile.substr(0, replay.levelFile.rfind('.'));
    const std::string name = stem + "-" + std::to_string(replay.level);

    int32_t pushes = 0;
    replay.end = playReplay(game, replay, &pushes);
    replay.hasEnd = true;
    if (replay.end.outcome != OUTCOME_CLEARED) {
        // Replays play with the clock: a clear that took longer than the
        // clock allows, with the clock off, is no replay, and no fault.
        if (game.relaxedClock) return false;
        say("Your clear of " + name + " was not kept as a replay: played back, it ends " + describeEnd(replay.end));
        return false;
    }
    const std::string folder = besideProfile(REPLAYS_FOLDER);
    const std::string path = folder + "/" + name + ".replay";
    if (keptIsAsGood(game, path, replay, pushes, replay.end.score)) return false;

    const std::string text = "# " + name + " as you cleared it, " + std::to_string(pushes) +
                             (pushes == 1 ? " push" : " pushes") + (hinted ? ", after a hint" : "") + "\n" +
                             replayText(replay);
    // The folder is made on the first clear; a file in its place fails the save.
    if ((mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) || !replaceFile(path.c_str(), text, std::rename)) {
        say("Your replay of " + name + " could not be saved to " + path);
        return false;
    }
    return true;
}
