// The fewest pushes each level was cleared with, per player, in
// "pushes.txt" beside the profile. A level cleared after a hint counts as
// cleared, but not here. The file is plain text:
//
//   tolvane best pushes 1
//   LevelSet3.txt 4 17
//   Tutorial.txt 1 2
//
// after the first line, one line a level: its level file as it stands in
// levels/, the level 1 to 9, and the fewest pushes. Lines starting with '#'
// are comments.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "game/game_context.h"

constexpr const char* BEST_PUSHES_FILE = "pushes.txt";
constexpr const char* BEST_PUSHES_HEADER = "tolvane best pushes 1";

class BestPushes {
public:
    // The level's fewest pushes, or -1 while it has none.
    int32_t of(const std::string& levelFile, int32_t level) const;
    // Keeps `pushes` when the level has none yet or more; answers whether it did.
    bool offer(const std::string& levelFile, int32_t level, int32_t pushes);
    void clear() { fewest_.clear(); }

    // The file's text, and the record read back from one: answers the
    // number of lines left out as unreadable, or -1 when the text is not a
    // record of best pushes at all (which leaves the record empty).
    std::string text() const;
    int32_t read(const std::string& text);

private:
    std::map<std::pair<std::string, int32_t>, int32_t> fewest_;
};

// The player's record, read at start-up with the profile.
extern BestPushes bestPushes;

// The last step of a save, as for the profile: a test may put a failing one here.
extern int (*bestPushesCommit)(const char* from, const char* to);

std::string bestPushesPath();
// Reads the record. A missing file, as on the first start, is an empty
// record and says nothing. A file that cannot be read (a folder, a FIFO, one
// far too big) or is no record is an empty record too, and says so on the
// console; lines that do not read are left out, and that is said once.
// Never waits on a FIFO.
void loadBestPushes();
// Writes the record all or nothing; says so on the console when it cannot.
bool saveBestPushes();
// The level in play was just cleared, without a hint, with these pushes:
// kept and saved at once when they are its fewest.
void keepBestPushes(const GameContext& game, int32_t pushes);

// How many levels of world `world` the player cleared in par or fewer
// pushes, of the `withPar` levels that have a par. Each world's pars are
// read from its level file the first time they are asked for, then kept.
int32_t levelsClearedAtPar(const GameContext& game, int32_t world, int32_t& withPar);
