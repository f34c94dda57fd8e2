#include "frontend/worlds.h"

#include <cstring>

namespace {

// The worlds past the played ones exist only so the table matches the
// profile; the menu never offers them.
const World PLACEHOLDER_WORLD = {"Classic World", "A tutorial set in the classic Tolvane world", "Learn to play!",
                                 "levels/Tutorial.txt", "not used"};

const World WORLDS[PLAYED_WORLDS] = {
    {"Tutorial Level", "A Tolvane tutorial", "Learn to play!", "levels/Tutorial.txt", "gfx/bkgs/1.tga"},
    {"World 1", "A nice easy set of levels", "Test what you have learned!", "levels/LevelSet1.txt", "gfx/bkgs/2.tga"},
    {"World 2", "You're well on the way!", "And some fun levels too", "levels/LevelSet2.txt", "gfx/bkgs/3.tga"},
    {"World 3", "Getting Slightly tricky now.....", "", "levels/LevelSet3.txt", "gfx/bkgs/4.tga"},
    {"World 4", "", "", "levels/LevelSet4.txt", "gfx/bkgs/5.tga"},
    {"World 5", "", "", "levels/LevelSet5.txt", "gfx/bkgs/1.tga"},
    {"World 6", "", "", "levels/LevelSet6.txt", "gfx/bkgs/2.tga"},
    {"World 7", "", "", "levels/LevelSet7.txt", "gfx/bkgs/3.tga"},
    {"World 8", "", "", "levels/LevelSet8.txt", "gfx/bkgs/4.tga"},
    {"World 9", "", "", "levels/LevelSet9.txt", "gfx/bkgs/5.tga"},
    {"World 10", "", "", "levels/LevelSet10.txt", "gfx/bkgs/6.tga"},
};

}  // namespace

void fillWorldTable(GameContext& game) {
    for (World& w : game.worlds) w = PLACEHOLDER_WORLD;
    for (int i = 0; i < PLAYED_WORLDS; ++i) game.worlds[i] = WORLDS[i];
}

const char* levelFileName(const World& world) {
    constexpr const char* FOLDER = "levels/";
    const char* path = world.levelFile;
    if (path == nullptr || std::strncmp(path, FOLDER, std::strlen(FOLDER)) != 0) return nullptr;
    const char* name = path + std::strlen(FOLDER);
    return name[0] != '\0' && std::strchr(name, '/') == nullptr ? name : nullptr;
}
