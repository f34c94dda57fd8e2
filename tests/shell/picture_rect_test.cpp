// The picture's rectangle in windows of several shapes, the pointer mapped
// through it onto the layout, presses on the bars, and when a lost focus
// pauses the game.
#include <gtest/gtest.h>

#include <vector>

#include "app/focus_watch.h"
#include "app/input_state.h"
#include "app/picture_rect.h"
#include "app/shell.h"
#include "game/game_context.h"
#include "render/sprite_sheet.h"

namespace {

TEST(PictureRectTest, WholeAsLargeAsFitsAndCentred) {
    struct Case {
        int32_t windowW, windowH;
        PictureRect picture;
    };
    const Case cases[] = {
        {1024, 768, {0, 0, 1024, 768}},      // the layout's own size: the whole window
        {2048, 1536, {0, 0, 2048, 1536}},    // 4:3, larger
        {800, 600, {0, 0, 800, 600}},        // 4:3, smaller
        {1920, 1080, {240, 0, 1440, 1080}},  // wide: bars left and right
        {1600, 700, {333, 0, 933, 700}},     // 933.3 wide, rounded; the odd pixel on the right bar
        {700, 900, {0, 187, 700, 525}},      // tall: bars above and below
        {1024, 769, {0, 0, 1024, 768}},      // one spare row, at the bottom
        {1, 1, {0, 0, 1, 1}},
        {0, -5, {0, 0, 1, 1}},               // no size at all counts as one pixel
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.windowW << "x" << c.windowH);
        const PictureRect r = pictureRect(c.windowW, c.windowH);
        EXPECT_EQ(r.x, c.picture.x);
        EXPECT_EQ(r.y, c.picture.y);
        EXPECT_EQ(r.width, c.picture.width);
        EXPECT_EQ(r.height, c.picture.height);
    }
}

TEST(PictureRectTest, TheViewportCountsRowsFromTheBottom) {
    const PictureRect tall = viewportOf(pictureRect(700, 900), 900);
    EXPECT_EQ(tall.x, 0);
    EXPECT_EQ(tall.y, 900 - 187 - 525);  // the bottom bar is 188 rows, the top one 187
    EXPECT_EQ(tall.width, 700);
    EXPECT_EQ(tall.height, 525);
    const PictureRect wide = viewportOf(pictureRect(1920, 1080), 1080);
    EXPECT_EQ(wide.x, 240);
    EXPECT_EQ(wide.y, 0);
}

class PointerThroughBarsTest : public ::testing::Test {
protected:
    void SetUp() override {
        game = GameContext{};
        input = {0, 0, BUTTON_NONE};
    }
    void TearDown() override { setWindowSize(SCREEN_WIDTH, SCREEN_HEIGHT); }
};

TEST_F(PointerThroughBarsTest, PressesOnThePictureReachTheLayoutAndOnABarNothing) {
    struct Case {
        int windowW, windowH;
        int x, y;  // window pixels
        bool onPicture;
        int32_t layoutX, layoutY;
    };
    const Case cases[] = {
        {1024, 768, 0, 0, true, 0, 0},
        {1024, 768, 1023, 767, true, 1023, 767},
        {1024, 768, 207, 232, true, 207, 232},  // one to one, as always
        // 1920x1080: the picture 1440x1080 from x 240, 1.40625 pixels a unit.
        {1920, 1080, 240, 0, true, 0, 0},          // its top-left corner
        {1920, 1080, 1679, 1079, true, 1023, 767},  // its bottom-right corner
        {1920, 1080, 531, 326, true, 207, 232},     // world 0's button
        {1920, 1080, 239, 500, false, -1, 355},     // the left bar's last column
        {1920, 1080, 1680, 500, false, 1024, 355},  // the right bar's first column
        {1920, 1080, 0, 0, false, -171, 0},
        // 700x900: the picture 700x525 from row 187.
        {700, 900, 0, 187, true, 0, 0},
        {700, 900, 699, 711, true, 1023, 767},
        {700, 900, 141, 346, true, 206, 233},
        {700, 900, 350, 186, false, 512, -1},   // the top bar's last row
        {700, 900, 350, 712, false, 512, 768},  // the bottom bar's first row
        {700, 900, 350, 899, false, 512, 1042},
        // 1600x700: the picture 933x700 from x 333.
        {1600, 700, 333, 0, true, 0, 0},
        {1600, 700, 1265, 699, true, 1023, 767},
        {1600, 700, 332, 350, false, -1, 384},
        {1600, 700, 1266, 350, false, 1024, 384},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.windowW << "x" << c.windowH << " at " << c.x << ", " << c.y);
        setWindowSize(c.windowW, c.windowH);
        input = {-7, -7, BUTTON_NONE};
        onMouse(BUTTON_LEFT, 0, c.x, c.y);
        EXPECT_EQ(input.mouseX, c.layoutX);
        EXPECT_EQ(input.mouseY, c.layoutY);
        EXPECT_EQ(input.pendingButton, c.onPicture ? BUTTON_LEFT : BUTTON_NONE);
        onPassiveMotion(c.x, c.y);
        EXPECT_EQ(input.mouseX, c.layoutX) << "moving the pointer maps it the same way";
        EXPECT_EQ(input.mouseY, c.layoutY);
    }
}

TEST(FocusWatchTest, OnlyFocusHeldAndThenLostCounts) {
    using F = FocusHolder;
    struct Case {
        const char* what;
        std::vector<F> looks;
        std::vector<bool> lost;
    };
    const Case cases[] = {
        {"never held, as under a bare X server", {F::UnderPointer, F::UnderPointer, F::OtherWindow, F::NoWindow},
         {false, false, false, false}},
        {"held, then another window takes it", {F::GameWindow, F::GameWindow, F::OtherWindow, F::OtherWindow},
         {false, false, true, false}},
        {"held, then back to the pointer", {F::GameWindow, F::UnderPointer}, {false, true}},
        {"held, then nobody", {F::GameWindow, F::NoWindow}, {false, true}},
        {"lost, held again, lost again",
         {F::GameWindow, F::OtherWindow, F::GameWindow, F::OtherWindow},
         {false, true, false, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FocusWatch watch;
        for (size_t i = 0; i < c.looks.size(); ++i) EXPECT_EQ(watch.lostOnLook(c.looks[i]), c.lost[i]) << "look " << i;
    }
}

}  // namespace
