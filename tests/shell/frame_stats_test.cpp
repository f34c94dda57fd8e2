// The figures scripts/measure reads: steady frames only, each screen apart.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "app/frame_stats.h"

namespace {

double fakeWall = 0.0, fakeCpu = 0.0;
int64_t fakeResident = 1000;
double readWall() { return fakeWall; }
double readCpu() { return fakeCpu; }
int64_t readResident() { return fakeResident; }

class FrameStatsTest : public testing::Test {
protected:
    void SetUp() override {
        fakeWall = fakeCpu = 0.0;
        fakeResident = 1000;
        ticks_ = 0;
        stats_.start(path_.c_str(), StatsClocks{readWall, readCpu, readResident});
    }
    void TearDown() override { std::remove(path_.c_str()); }

    // One frame on a screen: it lasts `wall` seconds, costs `cpu`, carries a tick.
    void frame(const std::string& screen, double wall, double cpu, const std::string& after = "",
               bool idle = false) {
        stats_.frameStarts(screen, ticks_);
        ++ticks_;
        fakeWall += wall;
        fakeCpu += cpu;
        stats_.frameEnds(after.empty() ? screen : after, idle);
    }
    const ScreenCost* cost(const std::string& screen) const {
        for (const ScreenCost& c : stats_.table())
            if (c.screen == screen) return &c;
        return nullptr;
    }

    FrameStats stats_;
    int64_t ticks_ = 0;
    std::string path_ = "/tmp/frame_stats_test." + std::to_string(getpid());
};

TEST_F(FrameStatsTest, CountsOnlySteadyFramesOfEachScreen) {
    // A slow first frame (pictures, the renderer's first drawing) is left out
    // with the rest of the warm-up; then 100 frames of 1/120 s.
    frame("menu", 0.5, 0.5);
    for (int i = 1; i < FRAME_STATS_WARM_UP + 100; ++i) frame("menu", 1.0 / 120, 0.006);
    // The frame that starts a world reads files: it counts for no screen.
    frame("menu", 0.3, 0.3, "play tutorial");
    for (int i = 0; i < FRAME_STATS_WARM_UP + 50; ++i) frame("play tutorial", 1.0 / 100, 0.004);
    // The last of these intervals is closed by the frame after.
    frame("play tutorial", 0.0, 0.0);  // closes the last counted interval

    const ScreenCost* menu = cost("menu");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->frames, 100);
    EXPECT_NEAR(menu->ticksPerSecond(), 120.0, 0.01);
    EXPECT_NEAR(menu->cpuMsPerFrame(), 6.0, 0.01);
    const ScreenCost* play = cost("play tutorial");
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(play->frames, 50);
    EXPECT_NEAR(play->ticksPerSecond(), 100.0, 0.01);
    EXPECT_NEAR(play->cpuMsPerFrame(), 4.0, 0.01);
}

TEST_F(FrameStatsTest, LeavesOutTheWaitsOfAnIdleMenu) {
    for (int i = 0; i < FRAME_STATS_WARM_UP + 20; ++i) frame("menu", 1.0 / 120, 0.005);
    frame("menu", 0.5, 0.005, "", true);  // shown, then waits half a second for input
    for (int i = 0; i < 20; ++i) frame("menu", 1.0 / 120, 0.005);
    frame("menu", 0.0, 0.0);
    const ScreenCost* menu = cost("menu");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->frames, 40);
    EXPECT_NEAR(menu->ticksPerSecond(), 120.0, 0.01);
}

TEST_F(FrameStatsTest, WritesTheTableWhenTheScreenChangesAndKeepsTheMostMemory) {
    for (int i = 0; i < FRAME_STATS_RSS_EVERY * 2; ++i) {
        fakeResident = i == FRAME_STATS_RSS_EVERY - 1 ? 5000 : 1000;
        frame("splash 1", 1.0 / 120, 0.001);
    }
    frame("splash 1", 1.0 / 120, 0.001, "splash 2");
    std::ifstream in(path_);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str().rfind("screen\tframes\tticks", 0), 0u) << text.str();
    EXPECT_NE(text.str().find("\nsplash 1\t"), std::string::npos) << text.str();
    ASSERT_NE(cost("splash 1"), nullptr);
    EXPECT_EQ(cost("splash 1")->maxResidentKiB, 5000);
}

TEST(FrameStatsOff, RecordsNothingWithoutAFile) {
    FrameStats stats;
    stats.start(nullptr, systemStatsClocks());
    stats.frameStarts("menu", 0);
    stats.frameEnds("menu", false);
    EXPECT_FALSE(stats.active());
    EXPECT_TRUE(stats.table().empty());
    EXPECT_FALSE(stats.write());
}

}  // namespace
