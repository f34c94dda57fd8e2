#include "frontend/best_pushes.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "common/files.h"
#include "frontend/profile.h"
#include "frontend/worlds.h"
#include "game/level_file.h"
#include "game/replay.h"

BestPushes bestPushes;
int (*bestPushesCommit)(const char* from, const char* to) = std::rename;

namespace {

// Some thousand times what the eleven worlds need: anything bigger is not ours.
constexpr std::size_t BEST_PUSHES_MAX_BYTES = 256 * 1024;
constexpr int32_t MOST_PUSHES = 999999;

// A whole decimal number in [low, high], digits only.
bool number(const std::string& word, int32_t low, int32_t high, int32_t& out) {
    if (word.empty() || word.size() > 9) return false;
    for (char c : word)
        if (c < '0' || c > '9') return false;
    const long value = std::strtol(word.c_str(), nullptr, 10);
    if (value < low || value > high) return false;
    out = static_cast<int32_t>(value);
    return true;
}

void say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

}  // namespace

int32_t BestPushes::of(const std::string& levelFile, int32_t level) const {
    const auto found = fewest_.find({levelFile, level});
    return found == fewest_.end() ? -1 : found->second;
}

bool BestPushes::offer(const std::string& levelFile, int32_t level, int32_t pushes) {
    if (!plainFileName(levelFile) || level < 1 || level > PLAYED_LEVELS || pushes < 0 || pushes > MOST_PUSHES)
        return false;
    const int32_t kept = of(levelFile, level);
    if (kept >= 0 && kept <= pushes) return false;
    fewest_[{levelFile, level}] = pushes;
    return true;
}

std::string BestPushes::text() const {
    std::string out = std::string(BEST_PUSHES_HEADER) + "\n";
    for (const auto& entry : fewest_)
        out += entry.first.first + " " + std::to_string(entry.first.second) + " " + std::to_string(entry.second) + "\n";
    return out;
}

int32_t BestPushes::read(const std::string& text) {
    clear();
    bool headed = false;
    int32_t leftOut = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        // A last line without its line break may have been cut short: a
        // count cut from 17 to 1 must not pass for a best.
        const bool whole = end != std::string::npos;
        std::string line = text.substr(start, whole ? end - start : std::string::npos);
        start = whole ? end + 1 : text.size();
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (!headed) {
            if (line != BEST_PUSHES_HEADER) return -1;
            headed = true;
            continue;
        }
        std::istringstream words(line);
        std::string name, levelWord, pushesWord, extra;
        words >> name >> levelWord >> pushesWord >> extra;
        int32_t level = 0;
        int32_t pushes = 0;
        if (!whole || !extra.empty() || !plainFileName(name) || !number(levelWord, 1, PLAYED_LEVELS, level) ||
            !number(pushesWord, 0, MOST_PUSHES, pushes)) {
            ++leftOut;
            continue;
        }
        offer(name, level, pushes);  // a level named twice keeps its fewest
    }
    return headed ? leftOut : -1;
}

std::string bestPushesPath() { return besideProfile(BEST_PUSHES_FILE); }

void loadBestPushes() {
    bestPushes.clear();
    const std::string path = bestPushesPath();
    std::string text;
    const int failure = readSmallFile(path.c_str(), BEST_PUSHES_MAX_BYTES, text);
    if (failure == ENOENT) return;
    if (failure != 0) {
        const char* why = failure == EFBIG ? "far too big" : failure == EINVAL ? "not a file" : std::strerror(failure);
        say("Your best pushes in " + path + " could not be read (" + why + "); they start afresh");
        return;
    }
    const int32_t leftOut = bestPushes.read(text);
    if (leftOut < 0) {
        say("Your best pushes in " + path + " could not be read (not a record of best pushes); they start afresh");
    } else if (leftOut > 0) {
        say(std::to_string(leftOut) + (leftOut == 1 ? " line" : " lines") + " of your best pushes in " + path +
            " could not be read and " + (leftOut == 1 ? "was" : "were") + " left out");
    }
}

bool saveBestPushes() {
    const std::string path = bestPushesPath();
    const bool ok = replaceFile(path.c_str(), bestPushes.text(), bestPushesCommit);
    if (!ok) say("Your best pushes could not be saved to " + path);
    return ok;
}

void keepBestPushes(const GameContext& game, int32_t pushes) {
    if (game.worldIndex < 0 || game.worldIndex >= WORLD_COUNT || !levelHasBlocks(game, game.levelIndex)) return;
    const char* levelFile = levelFileName(game.worlds[game.worldIndex]);
    if (levelFile == nullptr) return;
    if (bestPushes.offer(levelFile, game.levelIndex + 1, pushes)) saveBestPushes();
}

namespace {

// Each world's pars as last read, with the level file they came from.
struct WorldPars {
    std::string levelFile;
    int32_t par[LEVEL_COUNT] = {};
};
WorldPars worldPars[PLAYED_WORLDS];

}  // namespace

int32_t levelsClearedAtPar(const GameContext& game, int32_t world, int32_t& withPar) {
    withPar = 0;
    if (world < 0 || world >= PLAYED_WORLDS || game.worlds[world].levelFile == nullptr) return 0;
    WorldPars& pars = worldPars[world];
    if (pars.levelFile != game.worlds[world].levelFile) {
        pars.levelFile = game.worlds[world].levelFile;
        readLevelPars(pars.levelFile.c_str(), pars.par);
    }
    const char* levelFile = levelFileName(game.worlds[world]);
    int32_t atPar = 0;
    for (int32_t level = 0; level < PLAYED_LEVELS; ++level) {
        if (pars.par[level] <= 0) continue;
        ++withPar;
        const int32_t best = levelFile == nullptr ? -1 : bestPushes.of(levelFile, level + 1);
        atPar += best >= 0 && best <= pars.par[level];
    }
    return atPar;
}
