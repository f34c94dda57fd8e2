#include <climits>
#include <string>

#include "rules/board_picture.h"

namespace {

using picture::game;
using picture::TempFile;

constexpr int32_t VALUES_PER_SET = LEVEL_COUNT * BOARD_SIZE * BOARD_SIZE;

int32_t levelValue(int32_t index) {
    return game.levels[index / 256][(index / 16) % 16][index % 16];
}

void fillLevels(int32_t value) {
    for (int32_t i = 0; i < VALUES_PER_SET; ++i) game.levels[i / 256][(i / 16) % 16][i % 16] = value;
}

// A recognisable value for every position, negatives and large ones included.
int32_t patternValue(int32_t index) { return (index * 7919) % 40009 - 20000; }

TEST(LevelFile, ReadsAllValuesInLevelRowColumnOrder) {
    picture::fresh();
    std::string text;
    for (int32_t i = 0; i < VALUES_PER_SET; ++i) text += std::to_string(patternValue(i)) + "\n";
    text += "12345\n";  // anything past the tenth board is never read
    TempFile file(text);
    game.loadLevelSet(file.path());
    for (int32_t i = 0; i < VALUES_PER_SET; ++i) ASSERT_EQ(levelValue(i), patternValue(i)) << "value " << i;
    EXPECT_EQ(game.levels[0][0][1], patternValue(1)) << "the second line is row 0, column 1";
    EXPECT_EQ(game.levels[0][1][0], patternValue(16)) << "the seventeenth line starts row 1";
    EXPECT_EQ(game.levels[1][0][0], patternValue(256));
}

TEST(LevelFile, ConvertsEachLineAsTheGameAlwaysHas) {
    struct Case {
        const char* line;
        int32_t value;
    };
    const Case cases[] = {
        {"  7", 7},
        {"7 x", 7},
        {"", 0},
        {"-1", -1},
        {"+12", 12},
        {"x7", 0},
        {"13\r", 13},                  // a line end written with a carriage return
        {"00000000000009", 9},         // exactly fourteen characters still fit
        {"99999999999", INT32_MAX},    // too large for 32 bits: clamped, not wrapped
        {"-99999999999", INT32_MIN},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
    };
    std::string text;
    for (const Case& c : cases) text += std::string(c.line) + "\n";
    picture::fresh();
    fillLevels(55);
    TempFile file(text);
    game.loadLevelSet(file.path());
    for (int32_t i = 0; i < static_cast<int32_t>(std::size(cases)); ++i)
        EXPECT_EQ(levelValue(i), cases[i].value) << "line \"" << cases[i].line << "\"";
    for (int32_t i = static_cast<int32_t>(std::size(cases)); i < VALUES_PER_SET; ++i)
        ASSERT_EQ(levelValue(i), 0) << "a short file leaves zeros after its end, value " << i;
}

TEST(LevelFile, MissingFileGivesAllZeros) {
    picture::fresh();
    fillLevels(7);
    game.loadLevelSet("/nonexistent/tolvane/levels/LevelSet1.txt");
    for (int32_t i = 0; i < VALUES_PER_SET; ++i) ASSERT_EQ(levelValue(i), 0) << "value " << i;
    // Such a level has no block at all and is cleared on its first settled tick.
    game.installLevel(0);
    EXPECT_EQ(picture::tick().countOf(EVENT_LEVEL_CLEARED), 1);
}

TEST(LevelFile, OverlongLineEndsTheReading) {
    // Thirteen blanks and "42": only the first fourteen characters are taken.
    TempFile file("3\n2\n             42\n5\n6\n");
    picture::fresh();
    fillLevels(9);
    game.loadLevelSet(file.path());
    EXPECT_EQ(game.levels[0][0][0], 3);
    EXPECT_EQ(game.levels[0][0][1], 2);
    EXPECT_EQ(game.levels[0][0][2], 4);
    for (int32_t i = 3; i < VALUES_PER_SET; ++i) ASSERT_EQ(levelValue(i), 0) << "value " << i;
}

TEST(InstallLevel, TurnsBlockCellsIntoSlotsInReadingOrder) {
    picture::fresh();
    picture::drawLevel(3, {
        "################",
        "#..............#",
        "#...b....R.....#",
        "#..........IL..#",
        "#.P.g..a.......#",
        "################",
    });
    game.state = STATE_TIME_OVER;
    game.installLevel(3);
    EXPECT_EQ(game.state, STATE_TIME_OVER) << "installing a board leaves the screen as it was";

    struct Expected {
        int32_t kind, motion, x, y;
    };
    const Expected expected[] = {
        {5, MOTION_NORMAL, 512, 288},  {11, MOTION_ROCK, 672, 288},    {12, MOTION_ICKY, 736, 320},
        {13, MOTION_LIFT, 768, 320},   {14, MOTION_NORMAL, 448, 352},  {10, MOTION_NORMAL, 512, 352},
        {4, MOTION_NORMAL, 608, 352},
    };
    for (int32_t i = 0; i < static_cast<int32_t>(std::size(expected)); ++i) {
        const Block& b = game.blocks[i];
        EXPECT_EQ(b.alive, 1) << "slot " << i;
        EXPECT_EQ(b.slot, i);
        EXPECT_EQ(b.kind, expected[i].kind) << "slot " << i;
        EXPECT_EQ(b.motion, expected[i].motion) << "slot " << i;
        EXPECT_EQ(b.x, expected[i].x) << "slot " << i;
        EXPECT_EQ(b.y, expected[i].y) << "slot " << i;
        EXPECT_EQ(b.marked, 0);
    }
    EXPECT_EQ(game.blocks[1].goingUp, 1);
    EXPECT_EQ(game.blocks[3].goingUp, 1) << "every lift starts upwards";
    for (int32_t i = 7; i < MAX_BLOCKS; ++i) EXPECT_EQ(game.blocks[i].alive, 0) << "slot " << i;
    for (int32_t r = 0; r < BOARD_SIZE; ++r)
        for (int32_t c = 0; c < BOARD_SIZE; ++c) EXPECT_LE(game.board[r][c], CELL_EMPTY) << r << "," << c;
    EXPECT_EQ(game.board[2][4], CELL_EMPTY);
    EXPECT_EQ(game.board[2][9], CELL_EMPTY);
}

TEST(InstallLevel, EndsAnyBlinkAndStartsEverySlotFreshButLeavesTheRunAlone) {
    picture::fresh();
    picture::drawLevel(0, {"####", "#aa#", "####"});
    picture::drawLevel(1, {"####", "#.b#", "####"});
    game.installLevel(0);
    game.blocks[0].marked = 1;
    game.blocks[1].pauseTicks = 42;
    game.score = 310;
    game.clock = 57;
    game.settleTicks = 3;
    game.elimDelay = 7;
    game.clockSubTicks = 12;
    game.comboFlag = 0;
    game.levelIndex = 1;
    game.spawnTrail(500, 300, TRAIL_BEHIND_LEFT_PUSH, 5);

    game.installLevel(1);
    EXPECT_EQ(game.blocks[0].alive, 1);
    EXPECT_EQ(game.blocks[0].kind, 5);
    EXPECT_EQ(game.blocks[0].marked, 0) << "a new block starts unmarked";
    EXPECT_EQ(game.blocks[1].alive, 0) << "no slot past the last block made stays alive";
    EXPECT_EQ(game.blocks[1].marked, 0);
    EXPECT_EQ(game.blocks[1].pauseTicks, 0) << "no lift waits out a pause from the level before";
    EXPECT_EQ(game.elimDelay, 0) << "a blink of the level before does not go on over this one";
    EXPECT_EQ(game.score, 310);
    EXPECT_EQ(game.clock, 57);
    EXPECT_EQ(game.settleTicks, 3);
    EXPECT_EQ(game.clockSubTicks, 12);
    EXPECT_EQ(game.comboFlag, 0);
    EXPECT_EQ(game.levelIndex, 1);
    EXPECT_EQ(game.trails[0].active, 1) << "a fading trail goes on fading over the new level";
}

TEST(InstallLevel, KeepsOnlyFiftyBlocks) {
    picture::fresh();
    // Sixty block cells: four full rows of fifteen.
    picture::drawLevel(0, {
        "################",
        "#aaaaaaaaaaaaaaa",
        "#bbbbbbbbbbbbbbb",
        "#ccccccccccccccc",
        "#ddddddddddddddd",
        "################",
    });
    // Whatever lies beside the slot table must come through untouched.
    for (Trail& t : game.trails) t = Trail{-7, -7, 1, 0.5f, 9};
    game.installLevel(0);
    for (const Trail& t : game.trails) {
        EXPECT_EQ(t.x, -7);
        EXPECT_EQ(t.y, -7);
        EXPECT_EQ(t.kind, 9);
    }
    int32_t alive = 0;
    for (const Block& b : game.blocks) alive += b.alive;
    EXPECT_EQ(alive, MAX_BLOCKS);
    // The fiftieth block is row 4, column 5; the ten cells after it stay bare floor.
    EXPECT_EQ(game.blocks[49].kind, 7);
    EXPECT_EQ(game.blocks[49].x, picture::cellX(5));
    EXPECT_EQ(game.blocks[49].y, picture::cellY(4));
    for (int32_t c = 1; c < BOARD_SIZE; ++c) EXPECT_EQ(game.board[4][c], CELL_EMPTY) << "column " << c;
    EXPECT_EQ(game.blockAt(picture::cellX(10) + 16, picture::cellY(4) + 16), NO_BLOCK);
    // Play goes on safely with the surplus dropped.
    game.settleTicks = 0;
    picture::ticks(50);
}

TEST(InstallLevel, StrayCodesStayAsSolidCells) {
    picture::play({
        "################",
        "#..............#",
        "#..-a?.........#",
        "#...-..........#",
        "################",
    });
    EXPECT_EQ(game.board[2][3], -1);
    EXPECT_EQ(game.board[2][5], 99);
    const int32_t a = picture::slotAt(2, 4);
    ASSERT_NE(a, NO_BLOCK);
    // Neither pushed into nor fallen into.
    TickEvents events;
    game.pushLeft(game.blocks[a], events);
    game.pushRight(game.blocks[a], events);
    game.stepBoard();
    EXPECT_EQ(game.blocks[a].x, picture::cellX(4));
    EXPECT_EQ(game.blocks[a].y, picture::cellY(2));
    EXPECT_EQ(events.count, 0);
}

}  // namespace
