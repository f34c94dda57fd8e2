// The frame table and the headless backend's record of draws and prints:
// frames are cut in reading order, numbers outside the table touch nothing,
// and the recorded texts are the lines the screen would show.
#include <gtest/gtest.h>

#include <string>

#include "render/bitmap_font.h"
#include "render/null/draw_log.h"
#include "render/sprite_sheet.h"

namespace {

class FrameTable : public testing::Test {
protected:
    void SetUp() override { sheet = SpriteSheet{}; }
    SpriteSheet sheet;
};

TEST_F(FrameTable, TilesetAndButtonStripAreCutLeftToRight) {
    sheet.setupFrames(512, 32, 7, 32, 32, 1, 16);
    const SpriteFrame& f = sheet.frames[14];
    EXPECT_EQ(f.texture, 7u);
    EXPECT_DOUBLE_EQ(f.s0, 0.8125);
    EXPECT_DOUBLE_EQ(f.s1, 0.875);
    EXPECT_DOUBLE_EQ(f.t0, 0.0);
    EXPECT_DOUBLE_EQ(f.t1, 1.0);
    EXPECT_DOUBLE_EQ(f.width, 32.0);
    EXPECT_DOUBLE_EQ(f.height, 32.0);
    for (int n = 1; n <= 16; ++n) EXPECT_DOUBLE_EQ(sheet.frames[n].s0, (n - 1) / 16.0) << n;

    sheet.setupFrames(256, 64, 9, 64, 64, 20, 23);
    EXPECT_DOUBLE_EQ(sheet.frames[22].s0, 0.5);
    EXPECT_DOUBLE_EQ(sheet.frames[22].s1, 0.75);
    EXPECT_DOUBLE_EQ(sheet.frames[23].s1, 1.0);
    EXPECT_EQ(sheet.frames[19].texture, 0u) << "neighbours stay unregistered";
}

TEST_F(FrameTable, ARunWrapsWhenTheCursorReachesTheImageWidth) {
    sheet.setupFrames(64, 64, 3, 32, 32, 1, 4);
    const double s0[] = {0, 0.5, 0, 0.5};
    const double t0[] = {0, 0, 0.5, 0.5};
    for (int n = 1; n <= 4; ++n) {
        EXPECT_DOUBLE_EQ(sheet.frames[n].s0, s0[n - 1]) << n;
        EXPECT_DOUBLE_EQ(sheet.frames[n].t0, t0[n - 1]) << n;
        EXPECT_DOUBLE_EQ(sheet.frames[n].t1, t0[n - 1] + 0.5) << n;
    }
    // 96 wide: the fourth frame is the first of the second row.
    sheet.setupFrames(96, 64, 3, 32, 32, 5, 8);
    EXPECT_DOUBLE_EQ(sheet.frames[7].s0, 64.0 / 96.0);
    EXPECT_DOUBLE_EQ(sheet.frames[7].t0, 0.0);
    EXPECT_DOUBLE_EQ(sheet.frames[8].s0, 0.0);
    EXPECT_DOUBLE_EQ(sheet.frames[8].t0, 0.5);
    // A frame narrower than the rest of the row does not wrap early.
    sheet.setupFrames(100, 10, 3, 30, 10, 10, 13);
    EXPECT_DOUBLE_EQ(sheet.frames[13].s0, 0.9);
    EXPECT_DOUBLE_EQ(sheet.frames[13].t0, 0.0);
}

TEST_F(FrameTable, NumbersOutsideTheTableAreNeverRegistered) {
    void (*const present)() = +[] {};
    sheet.presentFrame = present;
    // A run that starts below 0 and ends past the table: the numbers inside
    // keep their place in the cut, the others write nowhere.
    sheet.setupFrames(64, 32, 5, 32, 32, -2, FRAME_TABLE_SIZE + 5);
    EXPECT_EQ(sheet.presentFrame, present) << "the field after the table is untouched";
    EXPECT_EQ(sheet.frames[0].texture, 5u);
    EXPECT_DOUBLE_EQ(sheet.frames[0].s0, 0.0) << "-2, -1 took the first row";
    EXPECT_DOUBLE_EQ(sheet.frames[0].t0, 1.0);
    EXPECT_EQ(sheet.frames[FRAME_TABLE_SIZE - 1].texture, 5u);

    SpriteSheet untouched{};
    untouched.setupFrames(64, 32, 5, 32, 32, 4, 3);
    for (const SpriteFrame& f : untouched.frames) EXPECT_EQ(f.texture, 0u) << "first > last registers nothing";
}

// [SECTION] The headless record

class Recording : public testing::Test {
protected:
    void SetUp() override {
        drawLog.clear();
        drawLog.recording = true;
        sprites.setupFrames(512, 32, 1, 32, 32, 1, 16);
    }
    void TearDown() override { drawLog.recording = false; }
};

TEST_F(Recording, FramesOutsideTheTableDrawNothingAndLeaveTheTextPlacement) {
    sprites.beginFrame();
    sprites.drawSprite(FRAME_TABLE_SIZE, 0, 0);
    sprites.drawSpriteScaled(-1, 0, 0, 10, 10);
    sprites.drawSpriteFaded(1000, 0, 0, 0.5f);
    sprites.drawSpriteTinted(-7, 0, 0, 1, 0, 0);
    sprites.printShadowed(400, 300, "first", 1, 1, 1);
    sprites.drawSprite(FRAME_POINTER, 100, 200);
    sprites.printShadowed(400, 300, "second", 1, 1, 1);
    sprites.endFrame();
    ASSERT_EQ(drawLog.of(DrawOp::Sprite).size(), 1u);
    EXPECT_EQ(drawLog.of(DrawOp::Sprite)[0].frame, FRAME_POINTER);
    EXPECT_TRUE(drawLog.of(DrawOp::SpriteScaled).empty());
    EXPECT_TRUE(drawLog.of(DrawOp::SpriteFaded).empty());
    EXPECT_TRUE(drawLog.of(DrawOp::SpriteTinted).empty());
    ASSERT_NE(drawLog.findText("first"), nullptr);
    EXPECT_FALSE(drawLog.findText("first")->afterSprite);
    EXPECT_TRUE(drawLog.findText("second")->afterSprite);
}

TEST_F(Recording, LinesAreFormattedAndCutAsOnTheScreen) {
    sprites.beginFrame();
    sprites.printShadowed(0, 0, "100%% done, 5% left", 1, 1, 1);
    sprites.printValue(0, 0, "Score : %d", 1234);
    sprites.printTwoValues(0, 0, "Problem : %d - %d", 3, 9);
    const std::string longest(255, 'a');
    sprites.printShadowed(0, 0, (longest + "bcdef").c_str(), 1, 1, 1);
    sprites.printValue(0, 0, (std::string(250, 'x') + "%d").c_str(), 1234567);
    sprites.endFrame();
    EXPECT_NE(drawLog.findText("100% done, 5% left"), nullptr);
    EXPECT_NE(drawLog.findText("Score : 1234"), nullptr);
    EXPECT_NE(drawLog.findText("Problem : 3 - 9"), nullptr);
    EXPECT_NE(drawLog.findText(longest), nullptr);
    EXPECT_NE(drawLog.findText(std::string(250, 'x') + "12345"), nullptr);
}

TEST(PercentSigns, OnlyDoubledSignsCollapse) {
    char line[FONT_LINE_BUFFER];
    const std::pair<const char*, const char*> cases[] = {
        {"%%", "%"}, {"%%%%", "%%"}, {"50%", "50%"}, {"%d %s", "%d %s"}, {"", ""}, {"a%%%b", "a%%b"},
    };
    for (const auto& [in, out] : cases) {
        expandPercentSigns(in, line, sizeof line);
        EXPECT_STREQ(line, out) << in;
    }
    char tiny[4];
    expandPercentSigns("abcdef", tiny, sizeof tiny);
    EXPECT_STREQ(tiny, "abc");
}

}  // namespace
