// The level files the build ships: eleven of them, each as the game reads
// it, with nine sound boards that differ from every other board shipped.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "game/game_context.h"

namespace {

std::vector<std::string> shippedFiles() {
    std::vector<std::string> files;
    std::istringstream list(TOLVANE_SHIPPED_LEVELS);
    std::string file;
    while (std::getline(list, file, ';'))
        if (!file.empty()) files.push_back(file);
    return files;
}

TEST(ShippedLevels, EveryWorldIsThereWithNineSoundLevels) {
    const std::vector<std::string> files = shippedFiles();
    std::set<std::string> names;
    for (const std::string& f : files) names.insert(f.substr(f.find_last_of('/') + 1));
    EXPECT_TRUE(names.count("Tutorial.txt"));
    for (int w = 1; w <= 10; ++w) EXPECT_TRUE(names.count("LevelSet" + std::to_string(w) + ".txt")) << w;

    std::set<std::string> boards;
    for (const std::string& file : files) {
        std::ifstream in(file);
        ASSERT_TRUE(in.good()) << file;
        size_t lines = 0;
        for (std::string line; std::getline(in, line);) ++lines;
        EXPECT_EQ(lines, 2570u) << file << ": ten boards and ten pars";

        GameContext set;
        set.loadLevelSet(file.c_str());
        for (int r = 0; r < BOARD_SIZE; ++r)
            for (int c = 0; c < BOARD_SIZE; ++c) EXPECT_EQ(set.levels[9][r][c], 0) << file << ": the tenth board";

        for (int n = 0; n < PLAYED_LEVELS; ++n) {
            int blocks = 0, ordinary = 0;
            std::string picture;
            for (int r = 0; r < BOARD_SIZE; ++r) {
                for (int c = 0; c < BOARD_SIZE; ++c) {
                    const int32_t v = set.levels[n][r][c];
                    picture += static_cast<char>('0' + v);
                    EXPECT_TRUE(v >= 0 && v <= KIND_LIFT) << file << " level " << n + 1;
                    if (v < KIND_FIRST) continue;
                    ++blocks;
                    ordinary += v <= KIND_LAST_ORDINARY;
                    const bool ring = r == 0 || c == 0 || r == BOARD_SIZE - 1 || c == BOARD_SIZE - 1;
                    EXPECT_FALSE(ring) << file << " level " << n + 1 << ": a block on the outer ring";
                }
            }
            EXPECT_GE(ordinary, 2) << file << " level " << n + 1;
            EXPECT_GT(set.par[n], 0) << file << " level " << n + 1 << ": no par";
            EXPECT_LE(blocks, MAX_BLOCKS) << file << " level " << n + 1;
            EXPECT_TRUE(boards.insert(picture).second) << file << " level " << n + 1 << " repeats another board";
        }
    }
    EXPECT_EQ(boards.size(), 99u);
}

}  // namespace
