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

// Reads the progress into the game's worldStatus and bestScore; a missing
// or short file leaves zeros, every world locked.
void loadProfile(GameContext& game);
// Writes the progress, all or nothing; says so on the console when it
// cannot, and answers whether it could.
bool saveProfile(const GameContext& game);
