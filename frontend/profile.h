// The saved progress: "profile.txt", 30 lines, the status and then the best
// score of each of the 15 worlds.
#pragma once

#include <string>

#include "game/game_context.h"

constexpr const char* PROFILE_PATH = "profile.txt";
constexpr int PROFILE_LINES = 30;

// Where the profile is read from and written to; tests point it elsewhere.
void setProfilePath(const char* path);
const char* profilePath();
// A path in the profile's folder, where the player's other files are kept.
std::string besideProfile(const std::string& name);

// The last step of a save: the new file takes the old one's place. A test
// may put a failing step here to see that a save cut short loses nothing.
extern int (*profileCommit)(const char* from, const char* to);

// The worlds a fresh profile opens: the tutorial and world 1.
constexpr int FRESH_OPEN_WORLDS = 2;

// Reads the progress into the game's worldStatus and bestScore. Lines
// missing at the end read as zeros; but a profile that opens no world at
// all (missing, not a file, zeros, junk) gives the fresh profile's values
// instead, and says so on the console.
void loadProfile(GameContext& game);
// Writes the progress, all or nothing; says so on the console when it
// cannot, and answers whether it could.
bool saveProfile(const GameContext& game);
