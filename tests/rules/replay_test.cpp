// The replay file: what it takes, and how it refuses what it does not.
#include <gtest/gtest.h>

#include <string>

#include "game/replay.h"

namespace {

const std::string HEAD = "tolvane replay 1\nlevel LevelSet3.txt 4\n";

TEST(ReplayFile, RefusesWithTheLineAndWhatWasExpected) {
    struct Case {
        std::string text;
        std::string error;  // "" when the file is taken
    } cases[] = {
        {"# made by hand\n\n" + HEAD + "click 183 left 448 336\r\nclick 240 right 512 400\nend 911 220 91 cleared\n", ""},
        {HEAD, ""},
        {"", "r:1: expected \"tolvane replay 1\", got \"the end of the file\""},
        {"tolvane replay 2\n", "r:1: expected \"tolvane replay 1\", got \"tolvane replay 2\""},
        {"tolvane replay 1\n", "r:2: expected \"level FILE N\", got \"the end of the file\""},
        {"tolvane replay 1\nlevel ../profile.txt 1\n", "r:2: expected \"level FILE N\" with a file of levels/"},
        {"tolvane replay 1\nlevel .hidden 1\n", "r:2: expected \"level FILE N\""},
        {"tolvane replay 1\nlevel LevelSet3.txt 10\n", "r:2: expected \"level FILE N\""},
        {"tolvane replay 1\nlevel LevelSet3.txt 4x\n", "r:2: expected \"level FILE N\""},
        {HEAD + "click 0 left 1 1\n", "r:3: expected \"click TICK left|right X Y\" with a tick from 1"},
        {HEAD + "click 5 middle 1 1\n", "r:3: expected \"click TICK left|right X Y\""},
        {HEAD + "click 5 left 1024 1\n", "r:3: expected \"click TICK left|right X Y\""},
        {HEAD + "click 5 left 1 -1\n", "r:3: expected \"click TICK left|right X Y\""},
        {HEAD + "click 5 left 1 1 1\n", "r:3: expected \"click TICK left|right X Y\""},
        {HEAD + "click 5 left 1 1\nclick 5 left 1 1\n", "r:4: expected \"click TICK left|right X Y\" with a tick after the last one"},
        {HEAD + "click 99999999999 left 1 1\n", "r:3: expected \"click"},
        {HEAD + "end 10 0 99 won\n", "r:3: expected \"end TICK SCORE CLOCK cleared|time-over|unfinished\", got \"end 10 0 99 won\""},
        {HEAD + "end 10 0 99 cleared\nclick 20 left 1 1\n", "r:4: expected nothing after the end line"},
        {HEAD + "pause 20\n", "r:3: expected \"click TICK left|right X Y\""},
    };
    for (const Case& c : cases) {
        Replay replay;
        std::string error;
        const bool taken = parseReplay(c.text, "r", replay, error);
        EXPECT_EQ(taken, c.error.empty()) << c.text << error;
        if (!c.error.empty()) {
            EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
        }
    }
}

TEST(ReplayFile, ReadsTheLevelTheClicksAndTheEnd) {
    Replay replay;
    std::string error;
    ASSERT_TRUE(parseReplay(HEAD + "click 183 left 448 336\nclick 240 right 512 400\nend 911 -20 0 time-over\n", "r",
                            replay, error))
        << error;
    EXPECT_EQ(replay.levelFile, "LevelSet3.txt");
    EXPECT_EQ(replay.level, 4);
    ASSERT_EQ(replay.clicks.size(), 2u);
    EXPECT_EQ(replay.clicks[1].tick, 240);
    EXPECT_EQ(replay.clicks[1].x, 512);
    EXPECT_EQ(replay.clicks[1].y, 400);
    ASSERT_TRUE(replay.hasEnd);
    EXPECT_EQ(describeEnd(replay.end), "911 -20 0 time-over");
    // The end line is what decides how long it is played, if it is later.
    EXPECT_EQ(replayTickLimit(replay), 240 + REPLAY_RUN_ON);
    replay.end.tick = 9000;
    EXPECT_EQ(replayTickLimit(replay), 9000);
    // A new end line takes the old one's place, at the bottom.
    EXPECT_EQ(withEndLine(HEAD + "end 1 0 0 cleared\n# kept\n", replay.end), HEAD + "# kept\nend 9000 -20 0 time-over\n");
}

}  // namespace
