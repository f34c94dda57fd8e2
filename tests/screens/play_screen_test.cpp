// What the play screen draws: board, blinking blocks, trails, the list of
// blocks still to clear, the problem line and the lessons.
#include <cmath>

#include "frontend/play_screen.h"
#include "frontend/screen.h"
#include "screens/screen_fixture.h"

namespace {

class HudTest : public ScreenTest {
protected:
    Block& place(int slot, int32_t kind, int32_t motion, int32_t x, int32_t y) {
        Block& b = game.blocks[slot];
        b = Block{};
        b.alive = 1;
        b.slot = slot;
        b.kind = kind;
        b.motion = motion;
        b.x = x;
        b.y = y;
        return b;
    }
    void draw() {
        drawLog.clear();
        drawPlayScreen(game, Click{input.pendingButton, input.mouseX, input.mouseY});
    }
};

TEST_F(HudTest, BoardCellsAboveOneAreDrawnWithTheirOwnFrame) {
    game.board[0][0] = 0;
    game.board[0][1] = 1;
    game.board[0][2] = CELL_WALL;
    game.board[0][3] = CELL_EMPTY;
    game.board[5][7] = 2147483647;  // drawn as nothing rather than past the frame table
    draw();
    const auto walls = drawLog.spritesOf(CELL_WALL);
    ASSERT_EQ(walls.size(), 1u);
    EXPECT_EQ(walls[0].x, 384 + 64);
    EXPECT_EQ(walls[0].y, 224);
    ASSERT_EQ(drawLog.spritesOf(CELL_EMPTY).size(), 1u);
    EXPECT_EQ(drawLog.spritesOf(CELL_EMPTY)[0].x, 384 + 96);
    // The background, stretched over the whole screen, comes first.
    ASSERT_GE(drawLog.calls.size(), 1u);
    EXPECT_EQ(drawLog.calls[0].frame, FRAME_BACKGROUND);
    EXPECT_EQ(drawLog.calls[0].w, 1024);
    EXPECT_EQ(drawLog.calls[0].h, 768);
}

TEST_F(HudTest, MarkedBlocksBlinkWithTheEliminationAndTrailsWaitForIt) {
    place(0, 5, MOTION_NORMAL, 416, 256).marked = 1;
    place(1, 6, MOTION_NORMAL, 448, 256);
    for (Trail& t : game.trails) t = Trail{448, 256, 1, 0.5f, 6};
    for (int32_t delay : {20, 19, 18, 1, 0}) {
        game.elimDelay = delay;
        draw();
        bool shown = false;
        for (const DrawCall& c : drawLog.spritesOf(5)) shown |= c.x == 416 && c.y == 256;
        EXPECT_EQ(shown, delay % 2 == 1) << "game.elimDelay " << delay;
        EXPECT_EQ(drawLog.of(DrawOp::SpriteFaded).size(), delay == 0 ? 15u : 0u) << "game.elimDelay " << delay;
    }
    // Trails go from the last entry to the first.
    const auto faded = drawLog.of(DrawOp::SpriteFaded);
    EXPECT_FLOAT_EQ(faded[0].a, 0.5f);
}

TEST_F(HudTest, BlocksLeftAreListedByKindWithoutGaps) {
    place(0, 9, MOTION_NORMAL, 416, 256);
    place(1, 4, MOTION_NORMAL, 448, 256);
    place(2, 9, MOTION_NORMAL, 480, 256);
    place(3, KIND_ROCK, MOTION_ROCK, 512, 256);
    place(4, KIND_ICKY, MOTION_ICKY, 544, 256);
    place(5, KIND_LIFT, MOTION_LIFT, 576, 256);
    place(6, KIND_POINTER, MOTION_NORMAL, 608, 256);  // not tallied
    place(7, 6, MOTION_NORMAL, 640, 256).alive = 0;
    draw();
    std::vector<DrawCall> counts;
    for (const DrawCall& c : drawLog.of(DrawOp::PrintValue))
        if (c.text.rfind("X ", 0) == 0) counts.push_back(c);
    ASSERT_EQ(counts.size(), 2u);
    EXPECT_EQ(counts[0].text, "X 1");
    EXPECT_FLOAT_EQ(counts[0].fy, 250.0f);
    EXPECT_EQ(counts[1].text, "X 2");
    EXPECT_FLOAT_EQ(counts[1].fy, static_cast<float>(250 + 1.29 * 37));
    EXPECT_NEAR(counts[1].fy, 297.73f, 0.001f);
    // The icons beside them, 37 pixels apart.
    bool kind4 = false, kind9 = false;
    for (const DrawCall& c : drawLog.calls) {
        if (c.op != DrawOp::Sprite || c.x != 75) continue;
        if (c.frame == 4 && c.y == 275) kind4 = true;
        if (c.frame == 9 && c.y == 312) kind9 = true;
    }
    EXPECT_TRUE(kind4);
    EXPECT_TRUE(kind9);
}

TEST_F(HudTest, ProblemLineScoreAndDustbin) {
    game.worldIndex = 10;
    game.levelIndex = 8;
    game.score = 4321;
    draw();
    const DrawCall* problem = drawLog.findText("Problem : 10 - 9");
    ASSERT_NE(problem, nullptr);
    EXPECT_EQ(problem->op, DrawOp::PrintTwoValues);
    ASSERT_NE(drawLog.findText("Score : 4321"), nullptr);
    EXPECT_EQ(drawLog.findText("Score : 4321")->fx, -50);
    ASSERT_EQ(drawLog.spritesOf(FRAME_DUSTBIN).size(), 1u);
    EXPECT_EQ(drawLog.spritesOf(FRAME_DUSTBIN)[0].x, 260);
    EXPECT_TRUE(drawLog.spritesOf(FRAME_MASCOT).empty()) << "no lesson outside the tutorial world";
    EXPECT_EQ(drawLog.of(DrawOp::PrintShadowed).size(), 0u);
}

TEST_F(HudTest, TutorialLessonsAreShownVerbatim) {
    game.worldIndex = 0;
    game.levelIndex = 0;
    draw();
    ASSERT_NE(drawLog.findText("Problem : 0 - 1"), nullptr);
    const DrawCall* title = drawLog.findText("Welcome to Tolvane!");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->fx, 350);
    EXPECT_EQ(title->fy, 610);
    EXPECT_FLOAT_EQ(title->g, 0.0f);
    const DrawCall* line = drawLog.findText("it left, or right mouse button to move it right. Join similar blocks ");
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->fy, 650);
    const auto mascot = drawLog.spritesOf(FRAME_MASCOT);
    ASSERT_EQ(mascot.size(), 1u);
    EXPECT_EQ(mascot[0].x, 1064);
    EXPECT_EQ(mascot[0].w, -256) << "mirrored";
    EXPECT_EQ(mascot[0].h, 433);

    game.levelIndex = 5;
    draw();
    EXPECT_NE(drawLog.findText("Sometimes Rock-Blocks can be useful to build bridges over Icky-Blocks "), nullptr);
    EXPECT_EQ(drawLog.of(DrawOp::PrintShadowed).size(), 2u) << "empty lesson lines draw nothing";

    game.levelIndex = 9;
    draw();
    EXPECT_EQ(drawLog.of(DrawOp::PrintShadowed).size(), 0u);
    EXPECT_EQ(drawLog.spritesOf(FRAME_MASCOT).size(), 1u);
}

TEST_F(HudTest, ThePointerIsDrawnLastAtThePointer) {
    input = {123, 456, BUTTON_NONE};
    draw();
    ASSERT_FALSE(drawLog.calls.empty());
    EXPECT_EQ(drawLog.calls.back().frame, FRAME_POINTER);
    EXPECT_EQ(drawLog.calls.back().x, 123);
    EXPECT_EQ(drawLog.calls.back().y, 456);
}

// The level-complete screen compares the pushes made with the par.
TEST_F(HudTest, LevelCompleteSaysWhetherTheParWasMatchedOrBeaten) {
    struct Case {
        int made, par;
        const char* panel;
        const char* verdict;
    } cases[] = {
        {5, 6, "Pushes : 5   Par : 6", "Fewer pushes than par!"},
        {6, 6, "Pushes : 6   Par : 6", "Par matched!"},
        {7, 6, "Pushes : 7   Par : 6", nullptr},
        {3, 0, "Pushes : 3", nullptr},  // a level file without pars
    };
    TickEvents pushed;
    pushed.add(EVENT_PUSHED);
    for (const Case& c : cases) {
        game.levelIndex = 4;
        game.par[4] = c.par;
        playHistory.clear();
        for (int i = 0; i < c.made; ++i) playHistory.afterTick(momentOf(game), pushed);
        drawLog.clear();
        LEVEL_COMPLETE_SCREEN.draw(game, Click{});
        EXPECT_NE(drawLog.findText(c.panel), nullptr) << c.panel;
        for (const char* v : {"Fewer pushes than par!", "Par matched!"})
            EXPECT_EQ(drawLog.findText(v) != nullptr, c.verdict && std::string(v) == c.verdict) << c.panel << ": " << v;
    }
    playHistory.clear();
}

}  // namespace
