// The level measures on small boards whose answers can be counted by hand.
#include <gtest/gtest.h>

#include <initializer_list>

#include "game/game_context.h"
#include "tools/levels/level_map.h"
#include "tools/levels/measures.h"

namespace {

// Lays rows of map characters into board 0 of a level set of its own.
GameContext lay(std::initializer_list<const char*> rows) {
    GameContext set;
    int r = 0;
    for (const char* row : rows) {
        for (int c = 0; row[c] != '\0' && c < 16; ++c) set.levels[0][r][c] = levelmap::codeForChar(row[c]);
        ++r;
    }
    return set;
}

// The measures of such a board alone.
measures::Measures board(std::initializer_list<const char*> rows) {
    const GameContext set = lay(rows);
    measures::Measures m;
    measures::measureBoard(set.levels[0], m);
    return m;
}

measures::Options quick() {
    measures::Options o;
    o.players = 40;
    o.proofSeconds = 5.0;
    return o;
}

TEST(BoardMeasures, FindFloorNoBlockReachesAndAirAboveTheBlocks) {
    // Two rows of air over the blocks (16 cells, the top of the pocket on the
    // right among them), and one cell of the pocket below them that no block
    // gets into.
    measures::Measures m = board({
        "                ",
        "  ###########   ",
        "  #......#..#   ",
        "  #......#..#   ",
        "  #a.b..a#.##   ",
        "  #.b....####   ",
        "  ########      ",
    });
    EXPECT_EQ(m.openFloor, 29);
    EXPECT_EQ(m.headroom, 16);
    EXPECT_EQ(m.unreachableFloor, 1) << "the air rows count as headroom, not twice";
    EXPECT_EQ(m.openAboveBlock, 0);

    // The same pocket lower down is floor no block reaches.
    m = board({
        "                ",
        "  ###########   ",
        "  #a.b..a#..#   ",
        "  #.b....#.##   ",
        "  ###########   ",
    });
    EXPECT_EQ(m.headroom, 0);
    EXPECT_EQ(m.unreachableFloor, 3);

    // A block can fall into a pit but never climb out of one: the floor
    // under a ledge it can only reach from above counts, the cells beside a
    // lower block it can never climb to do not.
    m = board({
        "                ",
        "  #########     ",
        "  #..a....#     ",
        "  #.####..#     ",
        "  #.#  #a.#     ",
        "  ###  ####     ",
    });
    EXPECT_EQ(m.unreachableFloor, 0);
    EXPECT_EQ(m.headroom, 0);
}

TEST(BoardMeasures, TarCountsOnlyWhereABlockCanStandOnIt) {
    measures::Measures m = board({
        "                ",
        "  ##########    ",
        "  #a...a#..#    ",
        "  #T..T.#T.#    ",
        "  ##########    ",
    });
    EXPECT_EQ(m.tar, 3);
    EXPECT_EQ(m.inertTar, 1) << "the tar in the room no block gets into";

    // A lift carries blocks up its shaft: the tar on the high ledge can
    // hold what it brings.
    m = board({
        "                ",
        "  ######        ",
        "  #....#        ",
        "  #.#T##        ",
        "  #.###         ",
        "  #a#           ",
        "  #L#           ",
        "  ###           ",
    });
    EXPECT_EQ(m.lifts, 1);
    EXPECT_EQ(m.inertTar, 0);
    EXPECT_EQ(m.unreachableFloor, 0);
    EXPECT_EQ(m.headroom, 0) << "the top of the shaft is within the lift's reach";
}

TEST(BoardMeasures, WantAWallOverEveryBlock) {
    measures::Measures m = board({
        "                ",
        "  #  ####       ",
        "  #a.a..#       ",
        "  #######       ",
    });
    EXPECT_EQ(m.openAboveBlock, 1) << "the a under the gap in the roof";
}

TEST(BoardMeasures, LikenessIsTheBestOverlapWhereverTheRoomsSit) {
    int32_t a[16][16] = {}, b[16][16] = {};
    for (int c = 0; c < 10; ++c) a[2][c] = CELL_WALL, a[3][c] = CELL_EMPTY;
    for (int c = 5; c < 15; ++c) b[9][c] = CELL_WALL, b[10][c] = CELL_EMPTY;
    EXPECT_DOUBLE_EQ(measures::wallLikeness(a, b), 1.0) << "the same row of wall, moved";
    EXPECT_DOUBLE_EQ(measures::floorLikeness(a, b), 1.0);
    for (int c = 0; c < 5; ++c) b[10][c] = CELL_EMPTY;  // the floor runs on past the wall's left end
    EXPECT_DOUBLE_EQ(measures::wallLikeness(a, b), 1.0) << "only walls count for the walls";
    EXPECT_DOUBLE_EQ(measures::floorLikeness(a, b), 10.0 / 15.0);
    b[10][0] = KIND_FIRST;  // a block stands on open floor
    EXPECT_DOUBLE_EQ(measures::floorLikeness(a, b), 10.0 / 15.0);
    const int32_t none[16][16] = {};
    EXPECT_DOUBLE_EQ(measures::wallLikeness(none, none), 0.0);
}

TEST(BoardMeasures, SpanIsTheFloorsWidestExtentAndMediansTakeTheMiddle) {
    const struct {
        std::initializer_list<const char*> rows;
        int32_t span;
        const char* why;
    } cases[] = {
        {{"                ", "  ######        ", "  #a.a.#        ", "  ######        "}, 4, "one row of floor"},
        {{"                ", "  ###           ", "  #.#           ", "  #a#           ", "  #.#           ",
          "  #a#           ", "  #L#           ", "  ###           "},
         5, "a shaft: the rows count"},
        {{"                ", " ##########     ", " #a.#  #.a#     ", " ##.####.##     ", "  #......#      ",
          "  ########      "},
         8, "two ledges far apart over one floor"},
        {{"################", "################"}, 0, "no floor"},
    };
    for (const auto& c : cases) {
        const GameContext set = lay(c.rows);
        EXPECT_EQ(measures::span(set.levels[0]), c.span) << c.why;
    }
    EXPECT_DOUBLE_EQ(measures::median({16, 3, 20}), 16.0);
    EXPECT_DOUBLE_EQ(measures::median({0.9, 0.5, 0.6, 0.7}), 0.65) << "an even count takes the middle two's mean";
    EXPECT_DOUBLE_EQ(measures::median({}), 0.0);
}

TEST(PlayedMeasures, CountLosingFirstPushesAndRandomPlayers) {
    // Three of a kind: three of the six first pushes lose it. Joining the
    // floor pair either way strands the third block, and the top block
    // dropped off the left end can never fall between the other two.
    const GameContext three = lay({
        "                ",
        "  ##########    ",
        "  #.a......#    ",
        "  #.###....#    ",
        "  #...a.a..#    ",
        "  ##########    ",
    });
    const measures::Measures m = measures::measure(three, 0, quick());
    ASSERT_TRUE(m.solved) << m.why;
    EXPECT_EQ(m.pushes, 3);
    EXPECT_EQ(m.firstPushes, 6);
    EXPECT_EQ(m.losingFirstPushes, 3);
    EXPECT_EQ(m.unknownFirstPushes, 0);
    EXPECT_LT(m.randomWins, m.players / 4) << "a careless player rarely finds the three pushes";
    EXPECT_EQ(measures::randomWins(three, 0, 40, 7), measures::randomWins(three, 0, 40, 7))
        << "a seed plays the same games";

    // Any push clears a pair on a narrow ledge.
    const GameContext pair = lay({"                ", "  ######        ", "  #a.a.#        ", "  ######        "});
    EXPECT_EQ(measures::randomWins(pair, 0, 20, 1), 20) << "no push loses a lone pair";
}

TEST(PlayedMeasures, CountAFirstPushAsLosingOnlyWhenNoClicksWinAfterIt) {
    // Toppling the rock first and then pushing the top a right clears the
    // pile in two pushes, played through the rules: no first push loses.
    const GameContext pile = lay({
        "                ", "                ", "                ", "                ", "  #########     ",
        "  #.a.b...#     ", "  #.#bab..#     ", "  #..Rba..#     ", "  #..###..#     ", "  #.......#     ",
        "  #########     ",
    });
    const measures::Measures m = measures::measure(pile, 0, quick());
    ASSERT_TRUE(m.solved) << m.why;
    EXPECT_EQ(m.losingFirstPushes, 0);
}

TEST(PlayedMeasures, TellWhetherALevelNeedsItsLiftOrItsTar) {
    // The block on the ledge can only come down to its partner; the lift
    // carries the partner up. Walled up, the lift leaves no way.
    const GameContext lift = lay({
        "                ",
        "  #######       ",
        "  #..a..#       ",
        "  #.#####       ",
        "  #.#           ",
        "  #a#           ",
        "  #L#           ",
        "  ###           ",
    });
    measures::Measures m = measures::measure(lift, 0, quick());
    ASSERT_TRUE(m.solved) << m.why;
    EXPECT_EQ(m.needsLift, measures::Proof::YES);
    EXPECT_EQ(m.needsTar, measures::Proof::NO);

    // Tar that holds a block in place changes nothing when it is wall
    // instead, as long as nothing stands on it.
    const GameContext heldByTar = lay({
        "                ",
        "  #########     ",
        "  #a..a..T#     ",
        "  #########     ",
    });
    m = measures::measure(heldByTar, 0, quick());
    ASSERT_TRUE(m.solved) << m.why;
    EXPECT_EQ(m.needsTar, measures::Proof::NO);

    // Tar set in the floor is tar a block can be pushed onto.
    const GameContext tarInTheFloor = lay({
        "                ",
        "  #######       ",
        "  #a..a.#       ",
        "  ###T###       ",
        "     #          ",
    });
    m = measures::measure(tarInTheFloor, 0, quick());
    ASSERT_TRUE(m.solved) << m.why;
    EXPECT_EQ(m.tar, 1);
    EXPECT_EQ(m.inertTar, 0);
}

}  // namespace
