#include <random>

#include "rules/board_picture.h"

namespace {

using picture::cellX;
using picture::cellY;
using picture::game;
using picture::slotAt;

// [SECTION] Falling

TEST(Falling, TwoPixelsPerStepAndSettlesUpToTheLandingStep) {
    picture::play({
        "################",
        "#..............#",
        "#....a.........#",
        "#..............#",
        "#..............#",
        "################",
    });
    for (int32_t step = 1; step <= 32; ++step) {
        game.settleTicks = 0;
        game.stepBoard();
        ASSERT_EQ(game.blocks[0].y, cellY(2) + 2 * step) << "step " << step;
        EXPECT_EQ(game.settleTicks, 5) << "landing on terrain counts as free, step " << step;
    }
    game.settleTicks = 0;
    game.stepBoard();
    EXPECT_EQ(game.blocks[0].y, cellY(4));
    EXPECT_EQ(game.settleTicks, 0) << "resting sets nothing";
}

TEST(Falling, OnlyTheLowerBlockOfAFallingColumnSettles) {
    picture::play({
        "################",
        "#..............#",
        "#....b.........#",
        "#....a.........#",
        "#..............#",
        "#..............#",
        "################",
    });
    const int32_t upper = slotAt(2, 5);
    const int32_t lower = slotAt(3, 5);
    ASSERT_LT(upper, lower) << "the upper block moves first in slot order";
    // The upper block lags one step behind and then rides down touching.
    const int32_t upperY[] = {288, 290, 292, 294, 296, 298};
    const int32_t lowerY[] = {322, 324, 326, 328, 330, 332};
    for (int32_t step = 0; step < 6; ++step) {
        game.settleTicks = 0;
        game.updateBlock(game.blocks[upper]);
        EXPECT_EQ(game.settleTicks, 0) << "step " << step;
        game.updateBlock(game.blocks[lower]);
        EXPECT_EQ(game.settleTicks, 5) << "step " << step;
        EXPECT_EQ(game.blocks[upper].y, upperY[step]) << "step " << step;
        EXPECT_EQ(game.blocks[lower].y, lowerY[step]) << "step " << step;
    }
    // The board step moves them in the same slot order.
    picture::play({
        "################",
        "#..............#",
        "#....b.........#",
        "#....a.........#",
        "#..............#",
        "#..............#",
        "################",
    });
    for (int32_t step = 0; step < 6; ++step) {
        game.stepBoard();
        EXPECT_EQ(game.blocks[upper].y, upperY[step]) << "board step " << step;
        EXPECT_EQ(game.blocks[lower].y, lowerY[step]) << "board step " << step;
    }
}

TEST(Falling, BlockAboutToLandOnABlockIsNoLongerFree) {
    picture::play({
        "################",
        "#....b.........#",
        "#..............#",
        "#....a.........#",
        "################",
    });
    // Two pixels above touching: the probe under it already finds the block.
    game.blocks[0].y = cellY(2) - 4;
    game.settleTicks = 0;
    game.updateBlock(game.blocks[0]);
    EXPECT_EQ(game.blocks[0].y, cellY(2) - 2);
    EXPECT_EQ(game.settleTicks, 0);
    game.updateBlock(game.blocks[0]);
    EXPECT_EQ(game.blocks[0].y, cellY(2));
    game.updateBlock(game.blocks[0]);
    EXPECT_EQ(game.blocks[0].y, cellY(2)) << "pushed straight back out of the block below";
    EXPECT_EQ(game.settleTicks, 0);
}

TEST(Falling, RocksFallTarAndStrayCodesHold) {
    picture::play({
        "################",
        "#.R..I.........#",
        "#..............#",
        "#....ab........#",
        "#.....-........#",
        "#....#.........#",
        "################",
    });
    for (int32_t step = 0; step < 16; ++step) game.stepBoard();
    ASSERT_NE(slotAt(2, 2), NO_BLOCK);
    EXPECT_EQ(game.blocks[slotAt(2, 2)].kind, KIND_ROCK) << "the rock fell one cell";
    ASSERT_NE(slotAt(1, 5), NO_BLOCK);
    EXPECT_EQ(game.blocks[slotAt(1, 5)].kind, KIND_ICKY) << "tar hangs in the air";
    ASSERT_NE(slotAt(4, 5), NO_BLOCK);
    EXPECT_EQ(game.blocks[slotAt(4, 5)].kind, 4) << "onto the wall in column 5";
    ASSERT_NE(slotAt(3, 6), NO_BLOCK) << "a cell of code -1 holds like a wall";
}

TEST(Falling, ProbesOffTheBoardReadSolid) {
    // Blocks in the outer ring with open floor beside them: nothing leaves the board.
    picture::play({
        "a..............L",
        "...............b",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "c..............d",
    });
    const int32_t bottomLeft = slotAt(15, 0);
    const int32_t bottomRight = slotAt(15, 15);
    for (int32_t step = 0; step < 300; ++step) game.stepBoard();
    EXPECT_EQ(game.blocks[bottomLeft].y, cellY(15));
    EXPECT_EQ(game.blocks[bottomRight].y, cellY(15));
    EXPECT_EQ(game.blocks[0].y, cellY(14)) << "fell to the bottom row and stopped on the corner block";
    TickEvents events;
    game.pushLeft(game.blocks[bottomLeft], events);
    game.pushRight(game.blocks[bottomRight], events);
    EXPECT_EQ(game.blocks[bottomLeft].x, cellX(0));
    EXPECT_EQ(game.blocks[bottomRight].x, cellX(15));
    for (const Block& b : game.blocks) {
        if (!b.alive) continue;
        EXPECT_GE(b.y, BOARD_TOP) << "slot " << b.slot;
        EXPECT_LE(b.y, cellY(15)) << "slot " << b.slot;
    }
}

// The board step as the rules are written: every probe through the board
// queries, every slot scanned, the landing probe asked after each slot. The
// game's own step must agree with it tick for tick.
void referenceStep(GameContext& g) {
    for (Block& block : g.blocks) {
        if (!block.alive) continue;
        if (block.pauseTicks > 0) --block.pauseTicks;
        if (block.motion == MOTION_NORMAL || block.motion == MOTION_ROCK) {
            bool freeFall = false;
            if (g.cellAt(block.x, block.y + 32) == CELL_EMPTY) {
                block.y += 2;
                freeFall = true;
                for (int32_t j = 0; j < MAX_BLOCKS; ++j) {
                    const Block& other = g.blocks[j];
                    while (other.alive && j != block.slot && other.x == block.x && other.y > block.y &&
                           other.y < block.y + 32) {
                        block.y -= 2;
                        freeFall = false;
                    }
                    if (g.blockAt(block.x + 16, block.y + 35) != NO_BLOCK) freeFall = false;
                }
            }
            if (freeFall) g.settleTicks = 5;
        } else if (block.motion == MOTION_LIFT && block.pauseTicks == 0) {
            if (block.goingUp) {
                block.y -= 1;
                // Tar and lifts are never riders; they stop the stack like terrain.
                auto immovable = [&](int32_t j) {
                    return g.blocks[j].motion == MOTION_ICKY || g.blocks[j].motion == MOTION_LIFT;
                };
                int32_t k = 0;
                for (int32_t found; (found = g.blockAt(block.x + 16, block.y + 16 - 32 * k)) != NO_BLOCK; ++k)
                    if (k > 0 && immovable(found)) break;
                const int32_t n = k - 1 < 0 ? 0 : k - 1;
                const int32_t px = block.x + 15;
                const int32_t py = block.y - 32 * n;
                bool stuck = g.cellAt(px, py) != CELL_EMPTY;
                for (int32_t j = 0; j < MAX_BLOCKS; ++j) {
                    const Block& b = g.blocks[j];
                    if (b.alive && j != block.slot && immovable(j) && b.x <= px && px <= b.x + 31 && b.y <= py &&
                        py <= b.y + 31)
                        stuck = true;
                }
                if (stuck) {
                    block.y += 1;
                    block.goingUp = 0;
                    block.pauseTicks = 100;
                }
            }
            if (!block.goingUp) {
                block.y += 1;
                if (g.cellAt(block.x + 15, block.y + 31) != CELL_EMPTY) {
                    block.y -= 1;
                    block.goingUp = 1;
                    block.pauseTicks = 100;
                }
                const int32_t below = g.blockAt(block.x + 16, block.y + 33);
                if (below != NO_BLOCK && below != block.slot) {
                    block.y += 1;
                    block.goingUp = 1;
                    block.pauseTicks = 100;
                }
            }
        }
    }
}

TEST(Falling, BoardStepAgreesWithTheWrittenRulesOnRandomBoards) {
    std::mt19937 random(8122026);
    static GameContext expected;
    int32_t fallingSteps = 0;
    int32_t liftTurns = 0;
    for (int32_t round = 0; round < 60; ++round) {
        picture::fresh();
        for (int32_t r = 0; r < BOARD_SIZE; ++r)
            for (int32_t c = 0; c < BOARD_SIZE; ++c) {
                const uint32_t roll = random() % 20;
                int32_t code = CELL_EMPTY;
                if (r == 0 || r == 15 || roll < 2) code = CELL_WALL;
                else if (roll < 3) code = 0;
                else if (roll < 8) code = 4 + random() % 7;
                else if (roll == 8) code = 11 + random() % 3;
                else if (roll == 9) code = KIND_LIFT;
                game.levels[0][r][c] = code;
            }
        game.installLevel(0);
        // Some rounds knock a block out of its column, as nothing in play does,
        // so that the step's slow path is held to the rules as well.
        if (round % 10 == 9) game.blocks[random() % 20].x += 5;
        // And scatter blocks between rows, with gaps and overlaps of every size.
        for (Block& b : game.blocks)
            if (b.alive && random() % 3 == 0) b.y += static_cast<int32_t>(random() % 41) - 20;
        for (int32_t t = 0; t < 300; ++t) {
            if (t % 7 == 0) {
                Block& pushed = game.blocks[random() % MAX_BLOCKS];
                TickEvents events;
                if (pushed.alive) (random() % 2 ? game.pushLeft(pushed, events) : game.pushRight(pushed, events));
            }
            game.settleTicks = 0;
            expected = game;
            referenceStep(expected);
            game.stepBoard();
            fallingSteps += game.settleTicks;
            for (int32_t i = 0; i < MAX_BLOCKS; ++i) {
                const Block& mine = game.blocks[i];
                const Block& theirs = expected.blocks[i];
                ASSERT_EQ(mine.y, theirs.y) << "round " << round << " tick " << t << " slot " << i;
                ASSERT_EQ(mine.goingUp, theirs.goingUp) << "round " << round << " tick " << t << " slot " << i;
                ASSERT_EQ(mine.pauseTicks, theirs.pauseTicks) << "round " << round << " tick " << t << " slot " << i;
                liftTurns += mine.alive && mine.motion == MOTION_LIFT && mine.pauseTicks == 100;
            }
            ASSERT_EQ(game.settleTicks, expected.settleTicks) << "round " << round << " tick " << t;
        }
    }
    EXPECT_GT(fallingSteps, 1000) << "the boards must keep blocks falling";
    EXPECT_GT(liftTurns, 100) << "and lifts turning";
}

// [SECTION] Lifts

TEST(Lift, RisingWithTwoRidersTurnsUnderTheWall) {
    picture::play({
        "################",
        "#......#.......#",
        "#......#.......#",
        "#.....#.#......#",
        "#.....#.#......#",
        "#.....#b#......#",
        "#.....#a#......#",
        "#.....#L#......#",
        "#.....###......#",
        "################",
    });
    const int32_t top = slotAt(5, 7);
    const int32_t middle = slotAt(6, 7);
    const int32_t lift = slotAt(7, 7);
    ASSERT_EQ(game.blocks[lift].motion, MOTION_LIFT);
    // The wall's bottom edge is y 319: the lift turns when a stack of two
    // riders would reach it, at a lift top of 384.
    for (int32_t step = 1; step <= 64; ++step) {
        game.stepBoard();
        ASSERT_EQ(game.blocks[lift].y, 448 - step) << "step " << step;
        EXPECT_LE(game.blocks[middle].y + 32, game.blocks[lift].y + 1) << "step " << step;
    }
    game.stepBoard();
    EXPECT_EQ(game.blocks[lift].y, 385) << "turned and already one pixel down";
    EXPECT_EQ(game.blocks[lift].goingUp, 0);
    EXPECT_EQ(game.blocks[middle].y, 352);
    EXPECT_EQ(game.blocks[top].y, 320) << "the top rider stops just under the wall";
    for (int32_t step = 1; step <= 99; ++step) {
        game.stepBoard();
        ASSERT_EQ(game.blocks[lift].y, 385) << "pause step " << step;
        ASSERT_EQ(game.blocks[middle].y, 352) << "pause step " << step;
        ASSERT_EQ(game.blocks[top].y, 320) << "pause step " << step;
    }
    game.stepBoard();
    EXPECT_EQ(game.blocks[lift].y, 386) << "moves again in the hundredth step";
    game.stepBoard();
    EXPECT_EQ(game.blocks[middle].y, 354) << "the riders follow it down";
}

TEST(Lift, SinkingOntoABlockEndsOnePixelIntoIt) {
    picture::play({
        "################",
        "#.....###......#",
        "#.....#L#......#",
        "#.....#.#......#",
        "#.....#.#......#",
        "#.....#a#......#",
        "#.....###......#",
        "################",
    });
    const int32_t lift = slotAt(2, 7);
    const int32_t below = slotAt(5, 7);
    // Terrain directly above and nothing riding: it turns at once.
    game.stepBoard();
    EXPECT_EQ(game.blocks[lift].y, cellY(2) + 1);
    EXPECT_EQ(game.blocks[lift].goingUp, 0);
    for (int32_t step = 1; step <= 99; ++step) {
        game.stepBoard();
        ASSERT_EQ(game.blocks[lift].y, cellY(2) + 1) << "pause step " << step;
    }
    // Then one pixel a step down to the block at y 384, touching at 352.
    for (int32_t y = cellY(2) + 2; y <= 351; ++y) {
        game.stepBoard();
        ASSERT_EQ(game.blocks[lift].y, y);
    }
    game.stepBoard();
    EXPECT_EQ(game.blocks[lift].y, 353) << "one pixel lower than touching";
    EXPECT_EQ(game.blocks[lift].goingUp, 1);
    EXPECT_EQ(game.blocks[below].y, cellY(5)) << "the block below is not moved";
    for (int32_t step = 1; step <= 99; ++step) {
        game.stepBoard();
        ASSERT_EQ(game.blocks[lift].y, 353) << "pause step " << step;
    }
    game.stepBoard();
    EXPECT_EQ(game.blocks[lift].y, 352) << "rises in the hundredth step";
}

TEST(Lift, TarOrAnotherLiftAboveStopsItLikeTerrain) {
    // Tar never moves, so a lift rising under it turns when its top edge
    // reaches the tar's bottom edge at y 415, as under a wall.
    picture::play({
        "################",
        "#..............#",
        "#..............#",
        "#..............#",
        "#..............#",
        "#......I.......#",
        "#..............#",
        "#......L.......#",
        "#..............#",
        "################",
    });
    const int32_t tar = slotAt(5, 7);
    const int32_t lift = slotAt(7, 7);
    for (int32_t step = 1; step <= 32; ++step) {
        game.stepBoard();
        ASSERT_EQ(game.blocks[lift].y, 448 - step) << "step " << step;
    }
    game.stepBoard();
    EXPECT_EQ(game.blocks[lift].y, 417) << "turned touching the tar and already one pixel down";
    EXPECT_EQ(game.blocks[lift].goingUp, 0);
    for (int32_t step = 1; step <= 99; ++step) {
        game.stepBoard();
        ASSERT_EQ(game.blocks[lift].y, 417) << "pause step " << step;
    }
    game.stepBoard();
    EXPECT_EQ(game.blocks[lift].y, 418) << "sinks again in the hundredth step";
    EXPECT_EQ(game.blocks[tar].y, cellY(5)) << "the tar never moved";

    // A rider between them: the stack stops when the rider reaches the tar.
    picture::play({
        "################",
        "#..............#",
        "#......I.......#",
        "#..............#",
        "#......a.......#",
        "#......L.......#",
        "#..............#",
        "################",
    });
    const int32_t rider = slotAt(4, 7);
    const int32_t carrier = slotAt(5, 7);
    for (int32_t step = 1; step <= 200; ++step) {
        game.stepBoard();
        ASSERT_GE(game.blocks[rider].y, cellY(3)) << "step " << step << ": the rider is never pushed into the tar";
        ASSERT_GE(game.blocks[carrier].y, game.blocks[rider].y + 30) << "step " << step;
    }

    // Two lifts in one column: the upper one turns under the wall and
    // pauses; the lower one rises to it and turns there, never through it.
    picture::play({
        "################",
        "#......L.......#",
        "#..............#",
        "#......L.......#",
        "#..............#",
        "################",
    });
    const int32_t upper = slotAt(1, 7);
    const int32_t lower = slotAt(3, 7);
    game.stepBoard();
    EXPECT_EQ(game.blocks[upper].y, cellY(1) + 1);
    for (int32_t step = 2; step <= 31; ++step) {
        game.stepBoard();
        ASSERT_EQ(game.blocks[lower].y, 320 - step) << "step " << step;
    }
    game.stepBoard();
    EXPECT_EQ(game.blocks[lower].y, 290) << "turned touching the paused lift and one pixel down";
    EXPECT_EQ(game.blocks[lower].goingUp, 0);
    // Over a long run they meet again and again, overlapping by a pixel or
    // two at the most.
    for (int32_t step = 1; step <= 2000; ++step) {
        game.stepBoard();
        ASSERT_GE(game.blocks[lower].y - game.blocks[upper].y, 30) << "step " << step;
    }
}

TEST(Lift, SinkingOntoTerrainStopsTouchingIt) {
    picture::play({
        "################",
        "#.....###......#",
        "#.....#L#......#",
        "#.....#.#......#",
        "#.....###......#",
        "################",
    });
    game.blocks[0].goingUp = 0;
    for (int32_t step = 1; step <= 32; ++step) game.stepBoard();
    EXPECT_EQ(game.blocks[0].y, cellY(3));
    EXPECT_EQ(game.blocks[0].goingUp, 0);
    game.stepBoard();
    EXPECT_EQ(game.blocks[0].y, cellY(3)) << "its bottom row would enter the wall";
    EXPECT_EQ(game.blocks[0].goingUp, 1);
    EXPECT_EQ(game.blocks[0].pauseTicks, 100);
    EXPECT_EQ(game.settleTicks, 0) << "a lift never makes the board wait";
}

// [SECTION] Matching and scoring

// Matching outside a tick, as the settled board is judged.
TickEvents match() {
    TickEvents events;
    game.matchBlocks(events);
    return events;
}

TEST(Matching, ScoresTheMarkedBlocks) {
    struct Case {
        const char* name;
        std::initializer_list<const char*> rows;
        uint8_t combo;
        int32_t points;
        int32_t marked;
    };
    const Case cases[] = {
        {"pair on the ground", {"################", "#..............#", "#....aa........#", "################"}, 0, 20, 2},
        {"pair as a chain", {"################", "#..............#", "#....aa........#", "################"}, 1, 220, 2},
        {"L-shaped three",
         {"################", "#..............#", "#....a.........#", "#....aa........#", "################"},
         0, 180, 3},
        {"three in a row as a chain", {"################", "#..............#", "#...aaa........#", "################"}, 1,
         480, 3},
        {"pair standing one on the other",
         {"################", "#..............#", "#....g.........#", "#....g.........#", "################"},
         0, 20, 2},
        {"pointer-faced blocks are ordinary", {"################", "#..............#", "#....PP........#", "################"},
         0, 20, 2},
        {"unlike kinds", {"################", "#..............#", "#....ab........#", "################"}, 1, 0, 0},
        {"rocks never match", {"################", "#..............#", "#....RR........#", "#....RR........#", "################"},
         1, 0, 0},
        {"a gap between", {"################", "#..............#", "#....a.a.......#", "################"}, 1, 0, 0},
        {"diagonal", {"################", "#..............#", "#....a.........#", "#....ba........#", "################"},
         1, 0, 0},
        {"two pairs at once",
         {"################", "#..............#", "#.........c....#", "#.aa......c....#", "################"},
         0, 40 + 200, 4},
    };
    for (const Case& c : cases) {
        picture::play(c.rows);
        game.comboFlag = c.combo;
        const TickEvents events = match();
        int32_t marked = 0;
        for (const Block& b : game.blocks) marked += b.alive && b.marked;
        EXPECT_EQ(marked, c.marked) << c.name;
        EXPECT_EQ(game.score, c.points) << c.name;
        EXPECT_EQ(events.countOf(EVENT_BLOCK_MATCHED), c.marked) << c.name;
        EXPECT_EQ(events.count, c.marked) << c.name << ": nothing else is reported";
        EXPECT_EQ(game.elimDelay, c.marked > 0 ? 20 : 0) << c.name;
        EXPECT_EQ(game.comboFlag, c.marked > 0 ? 1 : c.combo) << c.name;
    }
}

TEST(Matching, SideBySidePairNeedsSupport) {
    struct Case {
        const char* name;
        std::initializer_list<const char*> rows;
        bool matched;
    };
    const Case cases[] = {
        {"one over an open cell", {"################", "#....aa........#", "#....#.........#", "#..............#", "################"},
         false},
        {"the hanging one stands on a block",
         {"################", "#....aa........#", "#....#b........#", "#..............#", "################"}, true},
        {"the grounded one stands on a block, the other hangs",
         {"################", "#....aa........#", "#....b.........#", "#..............#", "################"}, true},
        {"both over open cells", {"################", "#....aa........#", "#..............#", "################"}, false},
        {"both over nothing at all", {"################", "#....aa........#", "#....  ........#", "################"}, true},
        {"one on tar", {"################", "#....aa........#", "#.....I........#", "#..............#", "################"},
         true},
    };
    for (const Case& c : cases) {
        picture::play(c.rows);
        match();  // matched on the spot, before anything can fall
        const int32_t left = slotAt(1, 5);
        const int32_t right = slotAt(1, 6);
        EXPECT_EQ(game.blocks[left].marked, c.matched) << c.name;
        EXPECT_EQ(game.blocks[right].marked, c.matched) << c.name;
    }
}

TEST(Matching, OnlyBlocksExactlyOnTheGridPair) {
    picture::play({"################", "#..............#", "#....aa........#", "#....a.........#", "################"});
    // Lifted off the grid by two pixels: no pair with either neighbour.
    game.blocks[slotAt(2, 5)].y -= 2;
    match();
    for (const Block& b : game.blocks) EXPECT_EQ(b.marked, 0) << "slot " << b.slot;
    EXPECT_EQ(game.score, 0);
}

TEST(Matching, BlockFallingPastALikeBlockIsNeverMatched) {
    picture::play({
        "################",
        "#.....a........#",
        "#..............#",
        "#....a.........#",
        "#....#.........#",
        "#..............#",
        "#..............#",
        "################",
    });
    const int32_t falling = slotAt(1, 6);
    int32_t aligned = 0;
    for (int32_t t = 0; t < 80; ++t) {
        game.stepBoard();
        game.elimDelay = 0;
        match();  // asked on every step, settled or not
        if (game.blocks[falling].y % CELL_PIXELS == 0) ++aligned;
        for (const Block& b : game.blocks) ASSERT_EQ(b.marked, 0) << "step " << t << " slot " << b.slot;
    }
    EXPECT_EQ(game.blocks[falling].y, cellY(6)) << "it fell all the way past the ledge";
    EXPECT_EQ(aligned, 5) << "passing through grid rows on the way, beside the ledge at row 3 too";
    EXPECT_EQ(game.score, 0);
}

TEST(Matching, BlocksOnTheRemovedOnesAreJudgedBeforeTheyFall) {
    // Blocks that arrive on an elimination unmatched are judged in the
    // removal tick, after the removal and before they can drop: one on the
    // other they still pair, side by side they have lost their support.
    struct Case {
        const char* name;
        std::initializer_list<const char*> rows;
        int32_t points;
    };
    const Case cases[] = {
        {"one on the other",
         {"################", "#..............#", "#.....c........#", "#.....c........#", "#.....aa.......#",
          "#.....##.......#", "################"},
         220},
        {"side by side",
         {"################", "#..............#", "#..............#", "#.....cc.......#", "#.....aa.......#",
          "#.....##.......#", "################"},
         0},
    };
    for (const Case& c : cases) {
        picture::play(c.rows);
        // The a pair is blinking its last tick.
        game.blocks[slotAt(4, 6)].marked = 1;
        game.blocks[slotAt(4, 7)].marked = 1;
        game.elimDelay = 1;
        game.comboFlag = 1;
        picture::tick();
        EXPECT_EQ(slotAt(4, 6), NO_BLOCK) << c.name;
        EXPECT_EQ(slotAt(4, 7), NO_BLOCK) << c.name;
        EXPECT_EQ(game.score, c.points) << c.name << ": a chain, as no block was clicked";
        int32_t cMarked = 0;
        for (const Block& b : game.blocks) cMarked += b.alive && b.kind == 6 && b.marked;
        EXPECT_EQ(cMarked, c.points > 0 ? 2 : 0) << c.name;
    }
}

// The matching rule as written, pair by pair with its probe pixels, to hold
// the fast version to on many crowded boards.
bool strictlyInside(const Block& b, int32_t px, int32_t py) {
    return b.x < px && px < b.x + 32 && b.y < py && py < b.y + 32;
}

void referenceMarks(uint8_t marks[MAX_BLOCKS]) {
    for (int32_t i = 0; i < MAX_BLOCKS; ++i) marks[i] = game.blocks[i].marked;
    const int32_t probe[4][4] = {{1, -5, 31, -5}, {1, 34, 31, 34}, {-5, 1, -5, 31}, {34, 1, 34, 31}};
    for (int32_t i = 0; i < MAX_BLOCKS; ++i) {
        for (int32_t pass = 0; pass < 4; ++pass) {
            for (int32_t j = 0; j < MAX_BLOCKS; ++j) {
                const Block& a = game.blocks[i];
                const Block& b = game.blocks[j];
                if (a.motion != MOTION_NORMAL || b.motion != MOTION_NORMAL || !a.alive || !b.alive || a.kind != b.kind)
                    continue;
                if (!strictlyInside(b, a.x + probe[pass][0], a.y + probe[pass][1]) ||
                    !strictlyInside(b, a.x + probe[pass][2], a.y + probe[pass][3]))
                    continue;
                if (a.x % 32 != 0 || a.y % 32 != 0 || b.x % 32 != 0 || b.y % 32 != 0) continue;
                if (pass >= 2) {
                    const bool groundA = game.cellAt(a.x + 16, a.y + 40) != CELL_EMPTY;
                    const bool groundB = game.cellAt(b.x + 16, b.y + 40) != CELL_EMPTY;
                    const bool blockA = game.blockAt(a.x + 16, a.y + 40) != NO_BLOCK;
                    const bool blockB = game.blockAt(b.x + 16, b.y + 40) != NO_BLOCK;
                    if (!((groundA && groundB) || blockA || blockB)) continue;
                }
                marks[i] = 1;
                marks[j] = 1;
            }
        }
    }
}

TEST(Matching, AgreesWithThePairByPairRuleOnRandomBoards) {
    std::mt19937 random(20261208);
    int32_t boardsWithMarks = 0;
    for (int32_t round = 0; round < 400; ++round) {
        picture::fresh();
        for (int32_t r = 0; r < BOARD_SIZE; ++r)
            for (int32_t c = 0; c < BOARD_SIZE; ++c) {
                const uint32_t roll = random() % 10;
                game.levels[0][r][c] = roll < 4 ? CELL_EMPTY : roll < 5 ? CELL_WALL : roll < 6 ? 0 : 4 + random() % 3;
            }
        // Sprinkle rocks, tar and lifts, and knock some blocks off the grid as
        // falling and riding blocks are.
        for (int32_t n = 0; n < 8; ++n) game.levels[0][random() % 16][random() % 16] = 11 + random() % 3;
        game.installLevel(0);
        for (Block& b : game.blocks) {
            if (!b.alive) continue;
            if (random() % 6 == 0) b.y += 2 * (1 + random() % 15);
            if (random() % 10 == 0) b.alive = 0;
        }
        uint8_t expected[MAX_BLOCKS];
        referenceMarks(expected);
        game.elimDelay = 5;  // marks only, so the comparison is not disturbed by scoring
        match();
        bool any = false;
        for (int32_t i = 0; i < MAX_BLOCKS; ++i) {
            ASSERT_EQ(game.blocks[i].marked, expected[i]) << "round " << round << " slot " << i;
            any = any || expected[i];
        }
        boardsWithMarks += any;
    }
    EXPECT_GT(boardsWithMarks, 100) << "the random boards must actually exercise matching";
}

TEST(Matching, MarksWaitWhileABlinkIsRunning) {
    picture::play({"################", "#..............#", "#....aa........#", "################"});
    game.elimDelay = 4;
    EXPECT_EQ(match().count, 0);
    EXPECT_EQ(game.blocks[0].marked, 1);
    EXPECT_EQ(game.score, 0);
    EXPECT_EQ(game.elimDelay, 4);
}

TEST(Matching, EliminationClearsTheTrail) {
    picture::play({"################", "#..............#", "#....aa.b......#", "################"});
    TickEvents events;
    game.pushLeft(game.blocks[2], events);
    ASSERT_EQ(game.trails[0].active, 1);
    match();
    for (const Trail& t : game.trails) EXPECT_EQ(t.active, 0);
}

// [SECTION] Removal, level end and trails

TEST(LevelEnd, OnlyOrdinaryBlocksKeepALevelGoing) {
    picture::play({"################", "#.L..I..R......#", "#..............#", "################"});
    TickEvents events;
    game.checkLevelCleared(events);
    EXPECT_EQ(events.countOf(EVENT_LEVEL_CLEARED), 1);
    EXPECT_EQ(stateAfter(STATE_PLAY, events), STATE_LEVEL_COMPLETE);

    picture::play({"################", "#.a............#", "################"});
    game.blocks[0].marked = 1;  // still blinking: it counts
    events = TickEvents{};
    game.checkLevelCleared(events);
    EXPECT_EQ(events.count, 0);
    game.removeEliminated();
    EXPECT_EQ(game.blocks[0].alive, 0);
    game.checkLevelCleared(events);
    EXPECT_EQ(stateAfter(STATE_PLAY, events), STATE_LEVEL_COMPLETE);
}

TEST(Trail, FadesOutWithinTenBoardSteps) {
    picture::play({"################", "#..............#", "################"});
    game.spawnTrail(600, 300, TRAIL_BEHIND_RIGHT_PUSH, 4);
    EXPECT_NEAR(game.trails[14].alpha, 0.44, 1e-5);
    EXPECT_EQ(game.trails[14].x, 586);
    for (int32_t step = 1; step <= 10; ++step) {
        game.stepBoard();
        EXPECT_EQ(game.trails[0].active, step < 10 ? 1 : 0) << "step " << step;
        EXPECT_EQ(game.trails[14].active, step < 5 ? 1 : 0) << "step " << step;
    }
    for (const Trail& t : game.trails) EXPECT_EQ(t.active, 0);
}

}  // namespace
