// Something other than a regular file where the game reads a picture, a
// level file or the profile: a FIFO nobody writes to, a folder, a device.
// Each reads at once as a file that cannot be opened, with what the game
// says for that file, instead of holding the game on its open.
#include <sys/stat.h>
#include <unistd.h>

#include "lib/watchdog.h"
#include "render/tga_image.h"
#include "screens/screen_fixture.h"

namespace {

class NonRegularFilesTest : public ScreenTest {
protected:
    // One path of each kind that must not be read: a FIFO without a
    // writer, a folder, and a link to a device that never runs dry.
    std::vector<std::string> nonRegularFiles() {
        const std::string fifo = dir_ + "/fifo";
        const std::string folder = dir_ + "/folder";
        const std::string device = dir_ + "/device";
        EXPECT_EQ(mkfifo(fifo.c_str(), 0644), 0);
        EXPECT_EQ(mkdir(folder.c_str(), 0755), 0);
        EXPECT_EQ(symlink("/dev/zero", device.c_str()), 0);
        return {fifo, folder, device};
    }
};

TEST_F(NonRegularFilesTest, APictureSaysItCannotBeOpened) {
    for (const std::string& path : nonRegularFiles()) {
        TgaImage image;
        testing::internal::CaptureStdout();
        {
            Watchdog watch("the picture " + path);
            EXPECT_EQ(decodeTgaFile(path.c_str(), image), TGA_CANNOT_OPEN) << path;
        }
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "unable to open file " + path + "\n");
        EXPECT_TRUE(image.pixels.empty());
    }
}

TEST_F(NonRegularFilesTest, ALevelFileReadsAsEmptyBoards) {
    for (const std::string& path : nonRegularFiles()) {
        for (auto& level : game.levels)
            for (auto& row : level)
                for (int32_t& cell : row) cell = CELL_WALL;
        testing::internal::CaptureStdout();
        {
            Watchdog watch("the level file " + path);
            game.loadLevelSet(path.c_str());
        }
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "nothing is said for a level file";
        int32_t nonZero = 0;
        for (const auto& level : game.levels)
            for (const auto& row : level)
                for (int32_t cell : row) nonZero += cell != 0;
        EXPECT_EQ(nonZero, 0) << path;
    }
}

TEST_F(NonRegularFilesTest, AProfileStartsTheGameAsNew) {
    for (const std::string& path : nonRegularFiles()) {
        game.worldStatus[2] = WORLD_FINISHED;
        game.bestScore[0] = 77;
        setProfilePath(path.c_str());
        testing::internal::CaptureStdout();
        {
            Watchdog watch("the profile " + path);
            loadProfile(game);
        }
        const std::string said = testing::internal::GetCapturedStdout();
        EXPECT_EQ(game.worldStatus[0], WORLD_OPEN) << path;
        EXPECT_EQ(game.worldStatus[2], WORLD_LOCKED) << path;
        EXPECT_EQ(game.bestScore[0], 0) << path;
        EXPECT_NE(said.find("could not be used"), std::string::npos) << path << ": " << said;
    }
}

}  // namespace
