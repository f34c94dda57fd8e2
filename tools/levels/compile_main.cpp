// tolvane_levelc MAP LEVELFILE: turns one world's readable map into the level
// file the game reads. A map with any fault writes nothing and fails, so a
// broken world never reaches the game.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/levels/level_map.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s MAP LEVELFILE\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "%s: cannot read the map\n", argv[1]);
        return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();

    const levelmap::World world = levelmap::parseWorld(text.str(), argv[1]);
    if (!world.errors.empty()) {
        for (const std::string& e : world.errors) std::fprintf(stderr, "%s\n", e.c_str());
        std::remove(argv[2]);
        return 1;
    }

    // Written beside the target and moved into place, so the game never
    // finds half a level file.
    const std::string temp = std::string(argv[2]) + ".part";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << levelmap::levelFileText(world);
        if (!out.flush()) {
            std::fprintf(stderr, "%s: cannot write the level file\n", temp.c_str());
            std::remove(temp.c_str());
            return 1;
        }
    }
    if (std::rename(temp.c_str(), argv[2]) != 0) {
        std::fprintf(stderr, "%s: cannot move the level file into place\n", argv[2]);
        std::remove(temp.c_str());
        return 1;
    }
    return 0;
}
