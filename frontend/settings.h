// The player's choices that outlast a game: full screen, the relaxed clock,
// the music and the sound effects. Kept in a small text file, one choice a
// line, "name on" or "name off":
//
//   full-screen off
//   relaxed-clock on
//   music on
//   effects off
//
// Where it lives: the file TOLVANE_SETTINGS names when that is set (the
// installed launcher names $XDG_CONFIG_HOME/tolvane/settings); otherwise
// beside the profile when the game runs in a folder with its own profile
// (as scripts/play does); otherwise $XDG_CONFIG_HOME/tolvane/settings,
// ~/.config/tolvane/settings by default.
#pragma once

#include <string>
#include <vector>

struct Settings {
    bool fullScreen = false;
    bool relaxedClock = false;
    bool music = true;
    bool effects = true;
};

extern Settings playerSettings;

// The settings file's path by the rule above, from the environment's values
// (null where unset) and whether the profile file is there.
std::string settingsPathFor(const char* named, const char* configHome, const char* home, bool profileHere);
// The path the game uses, found once at start-up; tests set their own.
void setSettingsPath(const std::string& path);
const std::string& settingsPath();
// Finds the path from the environment and the profile.
void findSettingsPath();

// Reads the settings into playerSettings. A missing file gives the
// defaults; a line the game does not understand is left out, and a file
// that cannot be read at all gives the defaults: either way the console
// says so in one line.
void loadSettings();
// Writes playerSettings, all or nothing, making the settings folder where
// it is missing; says so on the console when it cannot.
bool saveSettings();

// The settings as the file holds them, and read back from such a text;
// readSettings answers the numbers of the lines it left out.
std::string settingsText(const Settings& settings);
std::vector<int> readSettings(const std::string& text, Settings& settings);
