// The level compiler: what it refuses, and that what it writes is what the
// game reads back.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "game/game_context.h"
#include "tools/levels/level_map.h"

namespace {

const char* const EMPTY_ROW = "|                |";

// A level of sixteen rows: the given ones at the top, blank rows after.
std::string level(int number, const std::vector<std::string>& rows) {
    std::string out = "level " + std::to_string(number) + ": test\n";
    for (size_t r = 0; r < 16; ++r) out += (r < rows.size() ? rows[r] : std::string(EMPTY_ROW)) + "\n";
    return out;
}

const std::vector<std::string> PAIR = {
    EMPTY_ROW,
    "|  ######        |",
    "|  #a..a#        |",
    "|  ######        |",
};

// Nine levels, the one numbered `odd` replaced by `rows`.
std::string world(int odd = 0, const std::vector<std::string>& rows = {}) {
    std::string out = "; a test world\n\n";
    for (int n = 1; n <= 9; ++n) out += level(n, n == odd ? rows : PAIR) + "\n";
    return out;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct TempDir {
    TempDir() {
        char name[] = "/tmp/tolvane_levels_XXXXXX";
        path = mkdtemp(name);
    }
    ~TempDir() { std::system(("rm -rf '" + path + "'").c_str()); }
    std::string path;
};

TEST(LevelMap, RefusesBrokenMapsWithTheReason) {
    std::vector<std::string> crowded = {EMPTY_ROW};
    for (int r = 0; r < 4; ++r) crowded.push_back("|.aaaaaaaaaaaaaa.|");  // 56 blocks
    struct Case {
        const char* name;
        std::string text;
        const char* reason;
    } cases[] = {
        {"unknown character", world(3, {EMPTY_ROW, "|  #a..x#        |"}), "unknown map character 'x' at row 1, column 6"},
        {"more than fifty blocks", world(5, crowded), "56 blocks"},
        {"block on the top row", world(1, {"|    a           |"}), "outer ring"},
        {"block on the left edge", world(2, {EMPTY_ROW, "|a...            |"}), "outer ring"},
        {"block on the bottom row",
         world(9, {EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, EMPTY_ROW,
                   EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, EMPTY_ROW, "|       R        |"}),
         "outer ring"},
        {"lift on the right edge", world(4, {EMPTY_ROW, "|              .L|"}), "a lift may not stand on the outer ring"},
        {"row too short", world(6, {EMPTY_ROW, "|  #a..a#       |"}), "16 cells between two bars"},
        {"row without bars", world(6, {EMPTY_ROW, "   #a..a#         "}), "16 cells between two bars"},
        {"eight levels", [] {
             std::string t;
             for (int n = 1; n <= 8; ++n) t += level(n, PAIR);
             return t;
         }(),
         "a world has 9 levels, this one 8"},
        {"levels out of order", level(1, PAIR) + level(3, PAIR), "expected level 2"},
        {"stray text", "levels are below\n" + world(), "expected a line \"level N: title\""},
        {"file ends inside a level", "level 1: cut short\n|                |\n", "the file ends after 1"},
        {"par that is not a number", [] {
             std::string t = world();
             return t.insert(t.find("level 1: test\n") + 14, "par 7 pushes\n");
         }(),
         "a par is a number of pushes from 1 to 999, found \"7 pushes\""},
    };
    for (const Case& c : cases) {
        const levelmap::World w = levelmap::parseWorld(c.text, "test.map");
        ASSERT_FALSE(w.errors.empty()) << c.name;
        bool found = false;
        for (const std::string& e : w.errors) found = found || e.find(c.reason) != std::string::npos;
        EXPECT_TRUE(found) << c.name << ": first error was " << w.errors.front();
        EXPECT_EQ(w.errors.front().rfind("test.map:", 0), 0u) << c.name << " names the file";
    }
}

TEST(LevelMap, FiftyBlocksAndEveryLegendCharacterAreAccepted) {
    std::vector<std::string> full = {EMPTY_ROW};
    for (int r = 0; r < 3; ++r) full.push_back("|.aaaaaaaaaaaaa..|");  // 39
    full.push_back("|.bcdefgRT..aa...|");                                // 11 more, and the lift: 50
    full.push_back("|#L..............|");
    const levelmap::World w = levelmap::parseWorld(world(7, full), "full.map");
    EXPECT_TRUE(w.errors.empty()) << (w.errors.empty() ? "" : w.errors.front());
    ASSERT_EQ(w.levels.size(), 9u);
    const levelmap::Level& l = w.levels[6];
    EXPECT_EQ(l.cells[4][1], 5);   // b
    EXPECT_EQ(l.cells[4][6], 10);  // g
    EXPECT_EQ(l.cells[4][7], KIND_ROCK);
    EXPECT_EQ(l.cells[4][8], KIND_ICKY);
    EXPECT_EQ(l.cells[5][1], KIND_LIFT);
    EXPECT_EQ(l.cells[5][0], CELL_WALL);
    EXPECT_EQ(l.cells[0][0], 0);
    EXPECT_EQ(l.cells[4][9], CELL_EMPTY);
    EXPECT_EQ(w.levels[0].title, "test");
}

// The pars travel from the map's "par N" lines (written there by the
// solver) into the level file and the game; older level files, without
// pars, still load, with none.
TEST(LevelMap, LevelFileReadsBackThroughTheGameWithTheTenthBoardEmpty) {
    const std::vector<int32_t> pars = {3, 0, 0, 0, 0, 0, 0, 12, 7};
    const std::string mapText = levelmap::withPars(levelmap::withPars(world(), {9, 0, 0, 0, 0, 0, 0, 0, 1}), pars);
    levelmap::World w = levelmap::parseWorld(mapText, "pairs.map");
    ASSERT_TRUE(w.errors.empty()) << w.errors[0];
    w.levels[8].cells[2][4] = 9;  // tell the last played level apart
    const std::string text = levelmap::levelFileText(w);

    size_t lines = 0;
    for (char c : text) lines += c == '\n';
    EXPECT_EQ(lines, 2570u);

    TempDir dir;
    const std::string path = dir.path + "/set.txt";
    std::ofstream(path, std::ios::binary) << text;
    GameContext set;
    set.loadLevelSet(path.c_str());
    for (int n = 0; n < 9; ++n)
        for (int r = 0; r < 16; ++r)
            for (int c = 0; c < 16; ++c) ASSERT_EQ(set.levels[n][r][c], w.levels[n].cells[r][c]) << n << r << c;
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c) EXPECT_EQ(set.levels[9][r][c], 0) << "the tenth board is never played";
    const int32_t expected[10] = {3, 0, 0, 0, 0, 0, 0, 12, 7, 0};  // level 1's par of 9 replaced, level 9's too
    for (int n = 0; n < 10; ++n) EXPECT_EQ(set.par[n], expected[n]) << "level " << n + 1;
    size_t boards = 0;
    for (int k = 0; k < 2560; ++k) boards = text.find('\n', boards) + 1;
    std::ofstream(path, std::ios::binary) << text.substr(0, boards);
    set.loadLevelSet(path.c_str());
    EXPECT_EQ(set.par[0], 0) << "a file that ends after its boards has no pars";

    set.installLevel(8);
    EXPECT_EQ(set.blocks[0].kind, 4);
    EXPECT_EQ(set.blocks[1].kind, 9);
    EXPECT_EQ(set.board[2][4], CELL_EMPTY);
}

// The program the build runs: a refused map leaves no level file behind,
// not even an old one, so the game never plays a stale world.
TEST(LevelCompiler, WritesOnlySoundWorlds) {
    TempDir dir;
    const std::string map = dir.path + "/w.map";
    const std::string out = dir.path + "/w.txt";
    const std::string err = dir.path + "/err.txt";
    const std::string run = std::string(TOLVANE_LEVELC) + " '" + map + "' '" + out + "' 2>'" + err + "'";

    std::ofstream(map) << world();
    ASSERT_EQ(std::system(run.c_str()), 0);
    EXPECT_EQ(slurp(out), levelmap::levelFileText(levelmap::parseWorld(world(), "w.map")));

    std::ofstream(map) << world(2, {EMPTY_ROW, "|  #a..?#        |"});
    EXPECT_NE(std::system(run.c_str()), 0);
    EXPECT_NE(slurp(err).find("unknown map character '?'"), std::string::npos) << slurp(err);
    EXPECT_FALSE(std::ifstream(out).good()) << "the old level file is gone";
    EXPECT_FALSE(std::ifstream(out + ".part").good());

    const std::string missing = std::string(TOLVANE_LEVELC) + " '" + dir.path + "/none.map' '" + out + "' 2>/dev/null";
    EXPECT_NE(std::system(missing.c_str()), 0);
}

}  // namespace
