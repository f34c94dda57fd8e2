// The best pushes beside the profile: read forgivingly whatever is there,
// and saved so that a kill or a failure never loses the last record.
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>

#include "common/files.h"
#include "lib/watchdog.h"
#include "screens/screen_fixture.h"

namespace {

class BestPushesTest : public ScreenTest {
protected:
    std::string path() const { return dir_ + "/pushes.txt"; }
    void write(const std::string& text) const {
        FILE* f = std::fopen(path().c_str(), "w");
        std::fputs(text.c_str(), f);
        std::fclose(f);
    }
    std::string read() const {
        std::string text;
        return readSmallFile(path().c_str(), 1 << 20, text) == 0 ? text : "(unreadable)";
    }
    // Loads the record; answers what it said on the console.
    std::string load() {
        testing::internal::CaptureStdout();
        Watchdog watch("reading " + path());
        loadBestPushes();
        return testing::internal::GetCapturedStdout();
    }
};

const std::string HEAD = "tolvane best pushes 1\n";

TEST_F(BestPushesTest, ReadsWhatItCanAndSaysOnceWhatItCannot) {
    struct Case {
        std::string text;  // "FIFO" and "FOLDER" put those there; "" nothing at all
        int32_t level4, level5;
        const char* said;  // what the console line holds, "" for silence
    } cases[] = {
        {"", -1, -1, ""},  // the first start
        {"# mine\n" + HEAD + "LevelSet3.txt 4 17\r\n\nLevelSet3.txt 5 0\n", 17, 0, ""},
        {HEAD + "LevelSet3.txt 4 17\nLevelSet3.txt 4 12\nLevelSet3.txt 4 30\n", 12, -1, ""},  // the fewest
        {HEAD + "LevelSet3.txt 4 17\nLevelSet3.txt 5 -2\nLevelSet3.txt 10 3\n../x 5 1\nLevelSet3.txt 5 3 3\n", 17, -1,
         "4 lines of your best pushes"},
        {HEAD + "LevelSet3.txt 5 9\nLevelSet3.txt 4 1", -1, 9, "1 line of"},  // cut short: no line break
        {"LevelSet3.txt 4 17\n", -1, -1, "not a record"},                     // no first line
        {"\x89PNG\r\n\x1a\njunk", -1, -1, "not a record"},
        {HEAD + std::string(300 * 1024, '#') + "\n", -1, -1, "far too big"},
        {"FOLDER", -1, -1, "could not be read"},
        {"FIFO", -1, -1, "could not be read"},
    };
    for (const Case& c : cases) {
        std::system(("rm -rf " + path()).c_str());
        if (c.text == "FIFO") mkfifo(path().c_str(), 0644);
        else if (c.text == "FOLDER") mkdir(path().c_str(), 0755);
        else if (!c.text.empty()) write(c.text);
        const std::string said = load();
        EXPECT_EQ(bestPushes.of("LevelSet3.txt", 4), c.level4) << c.text;
        EXPECT_EQ(bestPushes.of("LevelSet3.txt", 5), c.level5) << c.text;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), c.said[0] == '\0' ? 0 : 1) << said;
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
    }
}

TEST_F(BestPushesTest, ASaveCutShortKeepsTheLastRecord) {
    write(HEAD + "Tutorial.txt 1 9\n");
    load();
    ASSERT_TRUE(bestPushes.offer("Tutorial.txt", 1, 6));
    EXPECT_FALSE(bestPushes.offer("Tutorial.txt", 1, 7)) << "more pushes are no best";
    // The last step fails, and then the game is killed at it.
    bestPushesCommit = [](const char*, const char*) { return -1; };
    testing::internal::CaptureStdout();
    EXPECT_FALSE(saveBestPushes());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Your best pushes could not be saved to " + path() + "\n");
    const pid_t child = fork();
    if (child == 0) {
        bestPushesCommit = [](const char*, const char*) -> int { _exit(3); };
        saveBestPushes();
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3);
    EXPECT_EQ(read(), HEAD + "Tutorial.txt 1 9\n") << "the old record is whole";
    // The next save goes through, leaves nothing beside it, and reads back.
    bestPushesCommit = std::rename;
    ASSERT_TRUE(saveBestPushes());
    EXPECT_EQ(read(), HEAD + "Tutorial.txt 1 6\n");
    struct stat info;
    EXPECT_NE(stat((path() + ".new").c_str(), &info), 0);
    EXPECT_EQ(load(), "");
    EXPECT_EQ(bestPushes.of("Tutorial.txt", 1), 6);
}

}  // namespace
