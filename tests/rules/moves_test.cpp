#include "rules/board_picture.h"

namespace {

using picture::cellX;
using picture::cellY;
using picture::clickBlock;
using picture::game;
using picture::slotAt;

struct Position {
    int32_t x, y;
};

Position where(int32_t slot) { return {game.blocks[slot].x, game.blocks[slot].y}; }

TEST(Push, LeftIntoOpenFloorMovesLaysTrailAndSettles) {
    picture::play({
        "################",
        "#..............#",
        "#.....a........#",
        "################",
    });
    game.comboFlag = 1;
    clickBlock(BUTTON_LEFT, 0);
    EXPECT_EQ(game.blocks[0].x, cellX(5));
    EXPECT_EQ(game.blocks[0].y, cellY(2));
    EXPECT_EQ(picture::heard(EVENT_PUSHED), 1);
    EXPECT_EQ(game.settleTicks, 5);
    EXPECT_EQ(game.comboFlag, 0);
    for (int32_t i = 0; i < TRAIL_LENGTH; ++i) {
        EXPECT_EQ(game.trails[i].x, cellX(5) + i) << "the smear runs back towards the old cell";
        EXPECT_EQ(game.trails[i].y, cellY(2));
        EXPECT_EQ(game.trails[i].active, 1);
        EXPECT_EQ(game.trails[i].kind, 4);
        EXPECT_NEAR(game.trails[i].alpha, 1.0 - 0.04 * i, 1e-5);
    }
    EXPECT_EQ(game.trails[0].alpha, 1.0f);

    // The trail of a right push runs the other way.
    clickBlock(BUTTON_RIGHT, 0);
    EXPECT_EQ(game.blocks[0].x, cellX(6));
    EXPECT_EQ(game.trails[14].x, cellX(6) - 14);
}

TEST(Push, RefusedByTerrainOrBlockStillSettles) {
    struct Case {
        const char* name;
        const char* row;
        int32_t button;
    };
    // The pushed block is always the one in column 5.
    const Case cases[] = {
        {"block to the right", "#....ab........#", BUTTON_RIGHT},
        {"wall to the right", "#....a#........#", BUTTON_RIGHT},
        {"block to the left", "#...ba.........#", BUTTON_LEFT},
        {"wall to the left", "#...#a.........#", BUTTON_LEFT},
        {"nothing to the left", "#... a.........#", BUTTON_LEFT},
        {"rock to the right", "#....aR........#", BUTTON_RIGHT},
    };
    for (const Case& c : cases) {
        picture::play({"################", "#..............#", c.row, "################"});
        game.comboFlag = 1;
        const int32_t slot = slotAt(2, 5);
        ASSERT_NE(slot, NO_BLOCK) << c.name;
        clickBlock(c.button, slot);
        EXPECT_EQ(game.blocks[slot].x, cellX(5)) << c.name;
        EXPECT_EQ(picture::heard(EVENT_PUSHED), 0) << c.name;
        EXPECT_EQ(game.trails[0].active, 0) << c.name;
        EXPECT_EQ(game.settleTicks, 5) << c.name;
        EXPECT_EQ(game.comboFlag, 0) << c.name;
    }
}

TEST(Push, BlockThatCannotBeMovedKeepsTheBoardAsItIs) {
    // A lift, tar, and a block stuck on tar: no sound, no settle, but the
    // chain bonus is spent all the same.
    picture::play({
        "################",
        "#..............#",
        "#..L..I...a....#",
        "#.........I....#",
        "################",
    });
    const int32_t targets[] = {slotAt(2, 3), slotAt(2, 6), slotAt(2, 10)};
    for (int32_t slot : targets) {
        ASSERT_NE(slot, NO_BLOCK);
        for (int32_t button : {BUTTON_LEFT, BUTTON_RIGHT}) {
            game.comboFlag = 1;
            game.settleTicks = 0;
            const Position before = where(slot);
            clickBlock(button, slot);
            EXPECT_EQ(where(slot).x, before.x) << "slot " << slot;
            EXPECT_EQ(where(slot).y, before.y) << "slot " << slot;
            EXPECT_EQ(game.settleTicks, 0) << "slot " << slot;
            EXPECT_EQ(game.comboFlag, 0) << "slot " << slot;
        }
    }
    EXPECT_EQ(picture::heard(EVENT_PUSHED), 0);
}

TEST(Push, BlockOnRockOrLiftCanBeMoved) {
    picture::play({
        "################",
        "#..............#",
        "#...a....b.....#",
        "#...R....L.....#",
        "################",
    });
    const int32_t onRock = slotAt(2, 4);
    const int32_t onLift = slotAt(2, 9);
    clickBlock(BUTTON_RIGHT, onRock);
    clickBlock(BUTTON_LEFT, onLift);
    EXPECT_EQ(game.blocks[onRock].x, cellX(5));
    EXPECT_EQ(game.blocks[onLift].x, cellX(8));
    EXPECT_EQ(picture::heard(EVENT_PUSHED), 2);
}

TEST(Push, MiddleButtonAndNoButtonDoNothing) {
    picture::play({
        "################",
        "#..............#",
        "#.....a........#",
        "################",
    });
    game.comboFlag = 1;
    clickBlock(BUTTON_MIDDLE, 0);
    clickBlock(BUTTON_NONE, 0);
    EXPECT_EQ(game.blocks[0].x, cellX(6));
    EXPECT_EQ(game.comboFlag, 1);
    EXPECT_EQ(game.settleTicks, 0);
}

TEST(Push, HitNeedsThePointerStrictlyInsideTheBlock) {
    struct Case {
        int32_t dx, dy;
        bool hit;
    };
    const Case cases[] = {
        {0, 16, false}, {16, 0, false}, {32, 16, false}, {16, 32, false},
        {1, 1, true},   {31, 31, true}, {1, 16, true},   {16, 31, true},
    };
    for (const Case& c : cases) {
        picture::play({"################", "#..............#", "#.....a........#", "################"});
        picture::click(BUTTON_LEFT, cellX(6) + c.dx, cellY(2) + c.dy);
        EXPECT_EQ(game.blocks[0].x, c.hit ? cellX(5) : cellX(6)) << c.dx << "," << c.dy;
    }
}

TEST(Push, TargetTestLooksAtTopEdgeAndMiddleOfAFallingBlock) {
    // A block in mid-fall is pushed by the rows of its top edge and middle;
    // an ordinary block is then lifted to the top of its row, a rock is not.
    picture::play({
        "################",
        "#..............#",
        "#.....a...R....#",
        "#......#.......#",
        "#..............#",
        "#..............#",
        "################",
    });
    for (int32_t slot : {0, 1}) game.blocks[slot].y += 20;  // middles now in row 3
    clickBlock(BUTTON_RIGHT, 0);  // column 7 is open at its top edge, wall at its middle
    EXPECT_EQ(game.blocks[0].x, cellX(6));
    EXPECT_EQ(game.blocks[0].y, cellY(2) + 20);
    clickBlock(BUTTON_LEFT, 0);
    EXPECT_EQ(game.blocks[0].x, cellX(5));
    EXPECT_EQ(game.blocks[0].y, cellY(2)) << "snapped up to the row of its top edge";

    clickBlock(BUTTON_RIGHT, 1);
    EXPECT_EQ(game.blocks[1].x, cellX(11));
    EXPECT_EQ(game.blocks[1].y, cellY(2) + 20) << "a rock keeps its height";
    EXPECT_EQ(game.trails[0].y, cellY(2) + 20);

    // Ten pixels down, its middle is still in row 2: the wall under the
    // target cell does not count.
    game.blocks[0].x = cellX(6);
    game.blocks[0].y = cellY(2) + 10;
    clickBlock(BUTTON_RIGHT, 0);
    EXPECT_EQ(game.blocks[0].x, cellX(7));
    EXPECT_EQ(game.blocks[0].y, cellY(2));

    // A block half a cell lower in the target column refuses the move; so
    // does one whose top is sixteen pixels away, which the block would still
    // overlap. A whole cell lower, it is out of the way.
    picture::play({"################", "#..............#", "#....ab........#", "#....#.........#", "################"});
    for (const int32_t lower : {15, 16, 31}) {
        game.blocks[1].y = cellY(2) + lower;
        clickBlock(BUTTON_RIGHT, 0);
        EXPECT_EQ(game.blocks[0].x, cellX(5)) << lower;
        EXPECT_EQ(game.settleTicks, 5) << lower;
    }
    game.blocks[1].y = cellY(3);
    clickBlock(BUTTON_RIGHT, 0);
    EXPECT_EQ(game.blocks[0].x, cellX(6));
}

// A 14-wide room: a falls from row 3 in column 5; b rests on c in column 6.
const std::initializer_list<const char*> SHARED_CELL_ROOM = {
    "################", "#..............#", "#..............#", "#....a.........#",
    "#..............#", "#..............#", "#..............#", "#..............#",
    "#..............#", "#.....b........#", "#.....c........#", "################",
};

TEST(Push, NeverIntoTheCellAFallingBlockWouldBeLiftedInto) {
    picture::play(SHARED_CELL_ROOM);
    const int32_t a = slotAt(3, 5);
    const int32_t b = slotAt(9, 6);
    const int32_t c = slotAt(10, 6);
    // Its centre clears b by a pixel, but it would be lifted to the top of
    // row 9, where b stands: refused, as a push into a block is.
    while (game.blocks[a].y < cellY(9) + 14) picture::tick();
    picture::pressBlock(BUTTON_RIGHT, a);
    picture::tick();
    ASSERT_EQ(game.blocks[a].y, cellY(9) + 16) << "pressed with its top edge half-way down row 9";
    EXPECT_EQ(game.blocks[a].x, cellX(5));
    EXPECT_EQ(picture::heard(EVENT_PUSHED), 0);
    // It falls on down its own column, tick by tick, and lands in row 10.
    const int32_t expectedY[] = {530, 532, 534, 536, 538, 540, 542, 544, 544, 544};
    for (int32_t y : expectedY) {
        picture::tick();
        EXPECT_EQ(game.blocks[a].x, cellX(5));
        EXPECT_EQ(game.blocks[a].y, y);
        EXPECT_EQ(game.blocks[b].y, cellY(9)) << "b never moves";
        EXPECT_EQ(game.blocks[c].y, cellY(10));
    }

    // The refusal makes the board wait, as every refused push does.
    game.blocks[a].y = cellY(9) + 16;
    game.settleTicks = 0;
    clickBlock(BUTTON_RIGHT, a);
    EXPECT_EQ(game.blocks[a].x, cellX(5));
    EXPECT_EQ(game.settleTicks, 5);

    // Higher up the same push lands it in a free cell of column 6, on b.
    picture::play(SHARED_CELL_ROOM);
    while (game.blocks[a].y < cellY(5) + 14) picture::tick();
    picture::pressBlock(BUTTON_RIGHT, a);
    picture::tick();
    EXPECT_EQ(game.blocks[a].x, cellX(6));
    EXPECT_EQ(game.blocks[a].y, cellY(5)) << "lifted to the top of its row";
    picture::ticks(60);
    EXPECT_EQ(game.blocks[a].y, cellY(8)) << "came to rest on b";
}

TEST(Push, ARefusedPushGoesBackOnceAndOneClickMovesOneBlock) {
    // a shares its cell with d, as the board should never hold, and is
    // pushed into c: refused, it goes back once, not a cell on into the wall.
    picture::play({"################", "#..............#", "#..#ac...d.....#", "################"});
    const int32_t a = slotAt(2, 4);
    const int32_t d = slotAt(2, 9);
    game.blocks[d].x = cellX(4);
    clickBlock(BUTTON_RIGHT, a);
    EXPECT_EQ(game.blocks[a].x, cellX(4));

    // Two blocks overlapping by two pixels, the pointer on the row they
    // share: the first to move takes the click, the other stays.
    picture::play({"################", "#..............#", "#..............#", "#.....b........#", "#.....c........#",
                   "################"});
    const int32_t upper = slotAt(3, 6);
    const int32_t lower = slotAt(4, 6);
    game.blocks[lower].y -= 2;
    picture::click(BUTTON_RIGHT, cellX(6) + 16, cellY(4) - 1);
    EXPECT_EQ(game.blocks[upper].x, cellX(7));
    EXPECT_EQ(game.blocks[lower].x, cellX(6));
    EXPECT_EQ(picture::heard(EVENT_PUSHED), 1);
}

TEST(Push, CarriedBlockIsLeftBehindAndDrops) {
    picture::play({
        "################",
        "#..............#",
        "#.....b........#",
        "#.....a........#",
        "#.....#........#",
        "################",
    });
    const int32_t upper = slotAt(2, 6);
    const int32_t lower = slotAt(3, 6);
    clickBlock(BUTTON_LEFT, lower);
    EXPECT_EQ(game.blocks[lower].x, cellX(5));
    EXPECT_EQ(game.blocks[upper].x, cellX(6));
    for (int32_t step = 1; step <= 16; ++step) {
        game.stepBoard();
        EXPECT_EQ(game.blocks[upper].y, cellY(2) + 2 * step) << "step " << step;
    }
    game.stepBoard();
    EXPECT_EQ(game.blocks[upper].y, cellY(3)) << "rests on the pillar";
    EXPECT_EQ(game.blocks[lower].y, cellY(4)) << "the pushed block dropped into the open floor";
}

TEST(Dustbin, LeftClickInsideRestartsTheLevel) {
    picture::play({"################", "#..............#", "#.....a........#", "################"});
    game.score = 120;
    game.clock = 41;
    game.settleTicks = 2;
    game.elimDelay = 0;
    game.comboFlag = 1;
    clickBlock(BUTTON_LEFT, 0);
    ASSERT_EQ(game.blocks[0].x, cellX(5));
    game.comboFlag = 1;
    game.settleTicks = 2;

    const struct {
        int32_t button, x, y;
    } misses[] = {
        {BUTTON_LEFT, 260, 550}, {BUTTON_LEFT, 324, 550}, {BUTTON_LEFT, 290, 520},
        {BUTTON_LEFT, 290, 584}, {BUTTON_RIGHT, 290, 550}, {BUTTON_MIDDLE, 290, 550},
    };
    for (const auto& m : misses) {
        picture::click(m.button, m.x, m.y);
        EXPECT_EQ(game.blocks[0].x, cellX(5)) << m.x << "," << m.y;
    }
    EXPECT_EQ(picture::heard(EVENT_RESTARTED), 0);

    for (const auto& hit : {std::pair<int32_t, int32_t>{290, 550}, {261, 521}, {323, 583}}) {
        game.blocks[0].x = cellX(5);
        picture::click(BUTTON_LEFT, hit.first, hit.second);
        EXPECT_EQ(game.blocks[0].x, cellX(6)) << hit.first << "," << hit.second;
    }
    EXPECT_EQ(picture::heard(EVENT_RESTARTED), 3);
    EXPECT_EQ(game.score, 120);
    EXPECT_EQ(game.clock, 41);
    EXPECT_EQ(game.settleTicks, 2);
    EXPECT_EQ(game.comboFlag, 1);
    EXPECT_EQ(game.trails[0].active, 1);
}

TEST(Dustbin, ARestartedLiftSetsOffAtOnce) {
    // The lift rises two cells, turns under the wall and pauses for 100
    // ticks; a restart puts it back where it began, rising from the first tick.
    picture::play({
        "################",
        "#..............#",
        "#..............#",
        "#......L.......#",
        "################",
    });
    picture::ticks(70);
    ASSERT_EQ(game.blocks[0].y, cellY(1) + 1) << "turned under the wall and paused";
    ASSERT_GT(game.blocks[0].pauseTicks, 90);
    picture::press(BUTTON_LEFT, 290, 550);
    picture::tick();
    EXPECT_EQ(picture::heard(EVENT_RESTARTED), 1);
    ASSERT_EQ(slotAt(3, 7), 0) << "the level is back as it began";
    picture::tick();
    EXPECT_EQ(game.blocks[0].y, cellY(3) - 1) << "no pause carried over from before the restart";
}

}  // namespace
