#include "frontend/settings.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "common/files.h"
#include "frontend/profile.h"

Settings playerSettings;

namespace {

// Four short lines; anything much bigger is not a settings file of ours.
constexpr std::size_t SETTINGS_MAX_BYTES = 64 * 1024;

std::string currentPath = "settings";

// Each choice by its name in the file.
struct Choice {
    const char* name;
    bool Settings::*value;
};
constexpr Choice CHOICES[] = {
    {"full-screen", &Settings::fullScreen},
    {"relaxed-clock", &Settings::relaxedClock},
    {"music", &Settings::music},
    {"effects", &Settings::effects},
};

void say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

bool set(const char* value) { return value != nullptr && value[0] != '\0'; }

// Makes each folder on the way to the file, as mkdir -p does.
void makeFolderOf(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        mkdir(path.substr(0, slash).c_str(), 0777);
}

}  // namespace

std::string settingsPathFor(const char* named, const char* configHome, const char* home, bool profileHere) {
    if (set(named)) return named;
    if (profileHere) return besideProfile("settings");
    // Only an absolute XDG_CONFIG_HOME counts; a relative one is to be ignored.
    if (set(configHome) && configHome[0] == '/') return std::string(configHome) + "/tolvane/settings";
    if (set(home)) return std::string(home) + "/.config/tolvane/settings";
    return besideProfile("settings");
}

void setSettingsPath(const std::string& path) { currentPath = path; }
const std::string& settingsPath() { return currentPath; }

void findSettingsPath() {
    struct stat st {};
    const bool profileHere = stat(profilePath(), &st) == 0 && S_ISREG(st.st_mode);
    currentPath = settingsPathFor(std::getenv("TOLVANE_SETTINGS"), std::getenv("XDG_CONFIG_HOME"),
                                  std::getenv("HOME"), profileHere);
}

std::string settingsText(const Settings& settings) {
    std::string text = "# Tolvane's settings: each line a name and on or off.\n";
    for (const Choice& choice : CHOICES)
        text += std::string(choice.name) + (settings.*choice.value ? " on\n" : " off\n");
    return text;
}

std::vector<int> readSettings(const std::string& text, Settings& settings) {
    std::vector<int> leftOut;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        std::istringstream words(line);
        std::string name, value, more;
        if (!(words >> name) || name[0] == '#') continue;  // blank lines and comments
        const Choice* known = nullptr;
        for (const Choice& choice : CHOICES)
            if (name == choice.name) known = &choice;
        words >> value;
        if (known == nullptr || (value != "on" && value != "off") || (words >> more)) {
            leftOut.push_back(number);
            continue;
        }
        settings.*known->value = value == "on";
    }
    return leftOut;
}

void loadSettings() {
    playerSettings = Settings{};
    std::string text;
    const int error = readSmallFile(currentPath.c_str(), SETTINGS_MAX_BYTES, text);
    if (error == ENOENT) return;
    if (error != 0) {
        say("Your settings in " + currentPath + " could not be read (" +
            (error == EFBIG ? std::string("it is far too big") : std::strerror(error)) + "): the defaults are used.");
        return;
    }
    const std::vector<int> leftOut = readSettings(text, playerSettings);
    if (leftOut.empty()) return;
    // A few line numbers, then only how many more: junk has thousands.
    constexpr size_t NAMED = 5;
    std::string numbers;
    for (size_t i = 0; i < leftOut.size() && i < NAMED; ++i) numbers += (i == 0 ? "" : ", ") + std::to_string(leftOut[i]);
    if (leftOut.size() > NAMED) numbers += " and " + std::to_string(leftOut.size() - NAMED) + " more";
    say("Some lines of your settings in " + currentPath + " were not understood and are left out (line " + numbers + ").");
}

bool saveSettings() {
    makeFolderOf(currentPath);
    const bool ok = replaceFile(currentPath.c_str(), settingsText(playerSettings), std::rename);
    if (!ok) say("Your settings could not be saved to " + currentPath);
    return ok;
}
