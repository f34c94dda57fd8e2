// The opening splash: the maker's line fades in, then the picture under a
// thinning veil, each phase a little over 500 ticks; Space skips it.
#include "app/key_state.h"
#include "frontend/splash.h"
#include "screens/screen_fixture.h"

namespace {

class SplashTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        splashPhase = 0;
        splashTicks = 0;
        splashFade = 1.0f;
        game.state = STATE_SPLASH;
        keyState = KeyState{};
    }
    const DrawCall* makerLine() const { return drawLog.findText("Halvoren Games Presents...."); }
};

TEST_F(SplashTest, TheMakersLineRisesFromBlackToWhite) {
    frame();
    ASSERT_NE(makerLine(), nullptr);
    EXPECT_FLOAT_EQ(makerLine()->r, 0.0f) << "black on black on the very first frame";
    EXPECT_FALSE(makerLine()->afterSprite) << "the first drawing of its frame";
    for (int i = 0; i < 150; ++i) frame();
    drawLog.clear();
    frame();
    EXPECT_FLOAT_EQ(makerLine()->r, 1.0f);
    EXPECT_EQ(splashPhase, 0);
}

TEST_F(SplashTest, EachPhaseLasts501TicksAndTheSwitchFrameShowsAnOpaqueVeil) {
    int frames = 0;
    while (splashPhase == 0) {
        drawLog.clear();
        frame();
        ++frames;
        ASSERT_LT(frames, 1000);
    }
    EXPECT_EQ(frames, 502) << "501 ticks counted, the switch on the frame that sees more than 500";
    // The switching frame already shows the picture under a fully black veil.
    ASSERT_EQ(drawLog.spritesOf(FRAME_SPLASH).size(), 1u);
    const auto colours = drawLog.of(DrawOp::SetColour);
    ASSERT_EQ(colours.size(), 1u);
    EXPECT_FLOAT_EQ(colours[0].a, 1.0f);
    const auto veil = drawLog.of(DrawOp::FillRect);
    ASSERT_EQ(veil.size(), 1u);
    EXPECT_EQ(veil[0].y, 768);
    EXPECT_EQ(veil[0].w, 1024);
    EXPECT_EQ(veil[0].h, 768);

    frames = 0;
    while (game.state == STATE_SPLASH) {
        frame();
        ++frames;
        ASSERT_LT(frames, 1000);
    }
    EXPECT_EQ(game.state, STATE_MENU);
    EXPECT_EQ(frames, 501);
    EXPECT_FLOAT_EQ(splashFade, 0.0f);
}

TEST_F(SplashTest, WithoutTicksTheSplashWaits) {
    for (int i = 0; i < 2000; ++i) frame(false);
    EXPECT_EQ(splashPhase, 0);
    EXPECT_EQ(game.state, STATE_SPLASH);
    EXPECT_FLOAT_EQ(splashFade, 0.0f) << "the fade steps per frame, ticks or not";
}

TEST_F(SplashTest, SpaceGoesToTheMenuInEitherPhase) {
    keyState.press(' ');
    keyState.release(' ');  // a tap between frames still counts
    frame();
    EXPECT_EQ(game.state, STATE_MENU);

    game.state = STATE_SPLASH;
    splashPhase = 1;
    keyState.press(' ');
    frame();
    EXPECT_EQ(game.state, STATE_MENU);
    // Held on the menu, Space does nothing there.
    frame();
    EXPECT_EQ(game.state, STATE_MENU);
}

}  // namespace
