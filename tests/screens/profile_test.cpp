// The saved progress: how the file is read, the order in which finishing
// worlds opens others, and a save that never loses what was there; the
// same for the best pushes beside it.
#include <fcntl.h>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "lib/watchdog.h"
#include "frontend/settings.h"
#include "screens/screen_fixture.h"

namespace {

class ProfileTest : public ScreenTest {
protected:
    std::string freshProfile() const {
        std::string text = "1\n0\n1\n0\n";
        for (int i = 4; i < 30; ++i) text += "0\n";
        return text;
    }
    // The last tick of the ninth level's count-down, as the screen runs it.
    void finish(int32_t world, int32_t score) {
        game.worldIndex = world;
        game.score = score - 1;
        game.levelIndex = PLAYED_LEVELS - 1;
        game.clock = 1;
        game.state = STATE_LEVEL_COMPLETE;
        frame();
    }
};

TEST_F(ProfileTest, ReadingRules) {
    struct Case {
        const char* text;
        int32_t status0, best0, status1;
    } cases[] = {
        {" 42abc\n7\n1\n", 42, 7, 1},
        {"\n\n2\n", 0, 0, 2},                    // empty lines read as 0
        {"abc\n-3\n0\n0\n1\n", 0, -3, 0},       // letters only read as 0
        {"2\n100", 2, 100, 0},                   // no final line break
        {"1\r\n250\r\n2\r\n", 1, 250, 2},        // carriage returns are harmless
        {"123456789012345678\n5\n1\n", 2147483647, 0, 0},  // too long: clamped, then zeros
        {"12345678901234\n5\n", 2147483647, 5, 0},        // exactly 14 characters is fine
    };
    for (const Case& c : cases) {
        writeProfile(c.text);
        loadProfile(game);
        EXPECT_EQ(game.worldStatus[0], c.status0) << '"' << c.text << '"';
        EXPECT_EQ(game.bestScore[0], c.best0) << '"' << c.text << '"';
        EXPECT_EQ(game.worldStatus[1], c.status1) << '"' << c.text << '"';
        EXPECT_EQ(game.worldStatus[14], 0);
    }
}

// A profile that opens no world can only be missing or damaged: the game
// starts from the fresh values, says why once, and leaves the file alone.
TEST_F(ProfileTest, AProfileThatOpensNoWorldStartsAsNew) {
    const struct Case {
        const char* text;  // nullptr: no file at all
        const char* why;
    } cases[] = {
        {nullptr, "it is missing"},
        {"", "it opens no world"},
        {"0\n0\n0\n900\n", "it opens no world"},
        {"\x7f" "ELF\x02\x01junk\n\xff\xfe\n", "it opens no world"},
        {"0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n2\n50\n", "it opens no world"},
    };
    for (const Case& c : cases) {
        std::remove(profile_.c_str());
        if (c.text) writeProfile(c.text);
        game.worldStatus[3] = WORLD_FINISHED;
        game.bestScore[3] = 77;
        testing::internal::CaptureStdout();
        loadProfile(game);
        const std::string said = testing::internal::GetCapturedStdout();
        for (int w = 0; w < WORLD_COUNT; ++w) {
            EXPECT_EQ(game.worldStatus[w], w < FRESH_OPEN_WORLDS ? WORLD_OPEN : WORLD_LOCKED) << w;
            EXPECT_EQ(game.bestScore[w], 0) << w;
        }
        EXPECT_NE(said.find(c.why), std::string::npos) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        if (c.text) {
            EXPECT_EQ(readProfile(), c.text) << "the damaged file is left as it is";
        }
    }
    // One that opens some world, even only a world past the menu's, is used as it stands.
    writeProfile("0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n2\n50\n");
    testing::internal::CaptureStdout();
    loadProfile(game);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(game.worldStatus[10], WORLD_FINISHED);
    EXPECT_EQ(game.worldStatus[0], WORLD_LOCKED);
}

TEST_F(ProfileTest, FinishingOpensTheLowestLockedWorld) {
    writeProfile(freshProfile());
    loadProfile(game);
    finish(1, 100);
    EXPECT_EQ(game.worldStatus[2], WORLD_OPEN);
    finish(2, 100);
    EXPECT_EQ(game.worldStatus[3], WORLD_OPEN);
    finish(3, 100);
    EXPECT_EQ(game.worldStatus[4], WORLD_OPEN);
    finish(0, 100);
    EXPECT_EQ(game.worldStatus[5], WORLD_OPEN) << "not world 1, which is already finished";
    for (int w = 0; w < 4; ++w) EXPECT_EQ(game.worldStatus[w], WORLD_FINISHED);
    EXPECT_EQ(game.worldStatus[6], WORLD_LOCKED);
}

TEST_F(ProfileTest, OnlyTheFirstThirteenWorldsEverOpen) {
    for (int w = 0; w < 13; ++w) game.worldStatus[w] = WORLD_OPEN;
    finish(0, 10);
    EXPECT_EQ(game.worldStatus[13], WORLD_LOCKED);
    EXPECT_EQ(game.worldStatus[14], WORLD_LOCKED);
}

TEST_F(ProfileTest, AnOddStatusFinishesWithoutOpeningAnother) {
    game.worldStatus[4] = 5;
    finish(4, 10);
    EXPECT_EQ(game.worldStatus[4], WORLD_FINISHED);
    for (int w = 0; w < WORLD_COUNT; ++w) {
        if (w == 4) continue;
        EXPECT_EQ(game.worldStatus[w], WORLD_LOCKED);
    }
}

TEST_F(ProfileTest, BestScoreRisesOnlyWhenBeaten) {
    game.worldStatus[0] = WORLD_FINISHED;
    game.bestScore[0] = 500;
    finish(0, 500);
    EXPECT_EQ(game.bestScore[0], 500);
    finish(0, 499);
    EXPECT_EQ(game.bestScore[0], 500);
    finish(0, 501);
    EXPECT_EQ(game.bestScore[0], 501);
    EXPECT_EQ(game.state, STATE_MENU);
}

TEST_F(ProfileTest, SaveWritesThirtyLinesStatusThenBest) {
    for (int w = 0; w < WORLD_COUNT; ++w) {
        game.worldStatus[w] = w % 3;
        game.bestScore[w] = w * 1000 - 7;
    }
    ASSERT_TRUE(saveProfile(game));
    std::string expected;
    for (int w = 0; w < WORLD_COUNT; ++w)
        expected += std::to_string(w % 3) + "\n" + std::to_string(w * 1000 - 7) + "\n";
    EXPECT_EQ(readProfile(), expected);
    // And it reads back as it was.
    game = GameContext{};
    loadProfile(game);
    EXPECT_EQ(game.bestScore[14], 13993);
    EXPECT_EQ(game.worldStatus[14], 2);
    struct stat info;
    EXPECT_NE(stat((profile_ + ".new").c_str(), &info), 0) << "no temporary file is left behind";
}

TEST_F(ProfileTest, AFailedSaveKeepsTheOldFileAndSaysSo) {
    writeProfile(freshProfile());
    game.worldStatus[0] = WORLD_FINISHED;
    game.bestScore[0] = 900;

    // The last step never happens, as when the game is killed just before it.
    profileCommit = [](const char*, const char*) { return -1; };
    testing::internal::CaptureStdout();
    EXPECT_FALSE(saveProfile(game));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(readProfile(), freshProfile());
    EXPECT_NE(out.find("could not be saved"), std::string::npos) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << "one line";
    EXPECT_EQ(game.bestScore[0], 900) << "the game goes on with what it has in memory";
    profileCommit = std::rename;

    // A full disk: every write past a few bytes fails.
    struct rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit tiny = {16, old.rlim_max};
    setrlimit(RLIMIT_FSIZE, &tiny);
    testing::internal::CaptureStdout();
    const bool saved = saveProfile(game);
    testing::internal::GetCapturedStdout();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, SIG_DFL);
    EXPECT_FALSE(saved);
    EXPECT_EQ(readProfile(), freshProfile());

    // A directory that cannot be written: the profile's folder is a file.
    const std::string blocked = dir_ + "/not-a-folder";
    FILE* f = std::fopen(blocked.c_str(), "w");
    std::fclose(f);
    setProfilePath((blocked + "/profile.txt").c_str());
    testing::internal::CaptureStdout();
    EXPECT_FALSE(saveProfile(game));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("could not be saved"), std::string::npos);
}

// Root writes wherever it likes: it overrides the permission bits. Without
// those privileges it is held to the owner's bits like any player.
bool dropPermissionOverrides() {
    __user_cap_header_struct header = {_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
    if (syscall(SYS_capget, &header, data) != 0) return false;
    for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) {
        data[cap / 32].effective &= ~(1u << (cap % 32));
        data[cap / 32].permitted &= ~(1u << (cap % 32));
    }
    return syscall(SYS_capset, &header, data) == 0;
}

// A save made as a player in a child process: its exit status 0 when
// saveProfile answered true, 1 when false, 2 when the folder took a new file
// after all, and 3 when the child could not give up root's overrides.
int saveAsAPlayer(const std::string& folder) {
    const pid_t child = fork();
    if (child == 0) {
        alarm(10);  // a save that hangs ends the child, and shows as -1
        if (geteuid() == 0 && !dropPermissionOverrides()) {
            std::fprintf(stderr, "capset: %s\n", std::strerror(errno));
            _exit(3);
        }
        if (FILE* probe = std::fopen((folder + "/probe").c_str(), "w")) {
            std::fclose(probe);
            _exit(2);
        }
        if (std::freopen("/dev/null", "w", stdout) == nullptr) _exit(3);
        _exit(saveProfile(game) ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(ProfileTest, AFolderThatTakesNoNewFileIsSavedInPlace) {
    writeProfile(freshProfile());
    game.worldStatus[0] = WORLD_FINISHED;
    game.bestScore[0] = 1234;
    // The player may write profile.txt but not add a file beside it.
    ASSERT_EQ(chmod(profile_.c_str(), 0666), 0);
    ASSERT_EQ(chmod(dir_.c_str(), 0555), 0);
    EXPECT_EQ(saveAsAPlayer(dir_), 0) << "saved in place";
    const std::string saved = readProfile();
    EXPECT_EQ(saved.substr(0, 7), "2\n1234\n");
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 30);

    // Neither the folder nor the file: nothing is written, and it says so.
    ASSERT_EQ(chmod(profile_.c_str(), 0444), 0);
    game.bestScore[0] = 5678;
    EXPECT_EQ(saveAsAPlayer(dir_), 1);
    EXPECT_EQ(readProfile(), saved) << "the last saved profile stays";
    ASSERT_EQ(chmod(dir_.c_str(), 0755), 0);
}

TEST_F(ProfileTest, AFifoInPlaceOfTheProfileFailsTheSaveAtOnce) {
    writeProfile(freshProfile());
    game.worldStatus[0] = WORLD_FINISHED;
    const std::string temporary = profile_ + ".new";
    ASSERT_EQ(mkfifo(temporary.c_str(), 0644), 0);

    // Nobody at the other end: the save would wait for a reader for good.
    testing::internal::CaptureStdout();
    {
        Watchdog watch("a save into a FIFO without a reader");
        EXPECT_FALSE(saveProfile(game));
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Your progress could not be saved to " + profile_ + "\n");
    EXPECT_EQ(readProfile(), freshProfile());

    // A reader waiting there gets nothing: the progress is not a stream.
    const int reader = open(temporary.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(saveProfile(game));
    testing::internal::GetCapturedStdout();
    char byte;
    EXPECT_EQ(read(reader, &byte, 1), 0) << "nothing was written into the FIFO";
    close(reader);
    struct stat info;
    ASSERT_EQ(lstat(temporary.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode)) << "what is not the game's own is left alone";
    EXPECT_EQ(readProfile(), freshProfile());

    // Saved in place, in a folder that takes no new file, profile.txt
    // itself may be the FIFO.
    ASSERT_EQ(unlink(temporary.c_str()), 0);
    ASSERT_EQ(unlink(profile_.c_str()), 0);
    ASSERT_EQ(mkfifo(profile_.c_str(), 0666), 0);
    ASSERT_EQ(chmod(dir_.c_str(), 0555), 0);
    EXPECT_EQ(saveAsAPlayer(dir_), 1) << "refused at once, not hung (-1)";
    ASSERT_EQ(chmod(dir_.c_str(), 0755), 0);
}

TEST_F(ProfileTest, AKillDuringTheSaveLeavesACompleteProfile) {
    writeProfile(freshProfile());
    game.worldStatus[0] = WORLD_FINISHED;
    // A child process dies at the last step of its save.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        profileCommit = [](const char*, const char*) -> int { _exit(3); };
        saveProfile(game);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3);
    EXPECT_EQ(readProfile(), freshProfile()) << "the old profile is whole";
    // The next save goes through and replaces it.
    ASSERT_TRUE(saveProfile(game));
    EXPECT_EQ(readProfile().substr(0, 4), "2\n0\n");
}

// The best pushes beside the profile, read forgivingly and saved the same way.
class BestPushesTest : public ScreenTest {
protected:
    std::string path() const { return dir_ + "/pushes.txt"; }
    // Loads the record; answers what it said on the console.
    std::string load() {
        testing::internal::CaptureStdout();
        Watchdog watch("reading " + path());
        loadBestPushes();
        return testing::internal::GetCapturedStdout();
    }
};

const std::string PUSHES_HEAD = "tolvane best pushes 1\n";

TEST_F(BestPushesTest, ReadsWhatItCanAndSaysOnceWhatItCannot) {
    struct Case {
        std::string text;  // "FIFO" and "FOLDER" put those there; "" nothing at all
        int32_t level4, level5;
        const char* said;  // what the console line holds, "" for silence
    } cases[] = {
        {"", -1, -1, ""},  // the first start
        {"# mine\n" + PUSHES_HEAD + "LevelSet3.txt 4 17\r\n\nLevelSet3.txt 5 0\nLevelSet3.txt 4 30\n", 17, 0, ""},
        {PUSHES_HEAD + "LevelSet3.txt 4 17\nLevelSet3.txt 5 -2\nLevelSet3.txt 10 3\n../x 5 1\nLevelSet3.txt 5 3 3\n", 17, -1,
         "4 lines of your best pushes"},
        {PUSHES_HEAD + "LevelSet3.txt 5 9\nLevelSet3.txt 4 1", -1, 9, "1 line of"},  // cut short: no line break
        {"\x89PNG\r\n\x1a\njunk", -1, -1, "not a record"},
        {PUSHES_HEAD + std::string(300 * 1024, '#') + "\n", -1, -1, "far too big"},
        {"FOLDER", -1, -1, "could not be read"},
        {"FIFO", -1, -1, "could not be read"},
    };
    for (const Case& c : cases) {
        std::system(("rm -rf " + path()).c_str());
        if (c.text == "FIFO") mkfifo(path().c_str(), 0644);
        else if (c.text == "FOLDER") mkdir(path().c_str(), 0755);
        else if (!c.text.empty()) writeFile(path(), c.text);
        const std::string said = load();
        EXPECT_EQ(bestPushes.of("LevelSet3.txt", 4), c.level4) << c.text;
        EXPECT_EQ(bestPushes.of("LevelSet3.txt", 5), c.level5) << c.text;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), c.said[0] == '\0' ? 0 : 1) << said;
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
    }
}

TEST_F(BestPushesTest, ASaveCutShortKeepsTheLastRecord) {
    writeFile(path(), PUSHES_HEAD + "Tutorial.txt 1 9\n");
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
    EXPECT_EQ(readFile(path()), PUSHES_HEAD + "Tutorial.txt 1 9\n") << "the old record is whole";
    // The next save goes through, leaves nothing beside it, and reads back.
    bestPushesCommit = std::rename;
    ASSERT_TRUE(saveBestPushes());
    EXPECT_EQ(readFile(path()), PUSHES_HEAD + "Tutorial.txt 1 6\n");
    EXPECT_NE(access((path() + ".new").c_str(), F_OK), 0);
    EXPECT_EQ(load(), "");
    EXPECT_EQ(bestPushes.of("Tutorial.txt", 1), 6);
}

}  // namespace

// The player's settings: where the file lives, how it reads, and a change
// kept for the next start.
class SettingsTest : public ScreenTest {};

TEST_F(SettingsTest, ReadsWhatItKnowsLeavesOutTheRestAndKeepsChanges) {
    struct Where {
        const char *named, *config, *home;
        bool profileHere;
        std::string path;
    } places[] = {
        {"/x/s", "/c", "/h", true, "/x/s"},
        {nullptr, "/c", "/h", true, besideProfile("settings")},
        {"", "/c", "/h", false, "/c/tolvane/settings"},
        {nullptr, "relative", "/h", false, "/h/.config/tolvane/settings"},
    };
    for (const Where& w : places) EXPECT_EQ(settingsPathFor(w.named, w.config, w.home, w.profileHere), w.path);

    const std::string path = dir_ + "/config/tolvane/settings";
    setSettingsPath(path);
    struct Case {
        std::string text;  // "FOLDER" puts one there; "" nothing at all
        bool relaxed, music;
        const char* said;  // what the console line holds, "" for silence
    } cases[] = {
        {"", false, true, ""},
        {"# mine\nrelaxed-clock on\r\n\n  music   off\n", true, false, ""},
        {"relaxed-clock yes\nmusic off on\nvolume 3\nmusic off\n", false, false, "(line 1, 2, 3)"},
        {std::string(3000, '\x01') + "\n" + std::string(2000, '\n') + "junk\njunk\njunk\njunk\njunk\njunk\n", false, true,
         "(line 1, 2002, 2003, 2004, 2005 and 2 more)"},
        {std::string(70 * 1024, 'x'), false, true, "far too big"},
        {"FOLDER", false, true, "could not be read"},
    };
    for (const Case& c : cases) {
        std::system(("rm -rf " + dir_ + "/config && mkdir -p " + dir_ + "/config/tolvane").c_str());
        if (c.text == "FOLDER") mkdir(path.c_str(), 0755);
        else if (!c.text.empty()) writeFile(path, c.text);
        testing::internal::CaptureStdout();
        loadSettings();
        const std::string said = testing::internal::GetCapturedStdout();
        EXPECT_EQ(playerSettings.relaxedClock, c.relaxed) << c.text.substr(0, 40);
        EXPECT_EQ(playerSettings.music, c.music) << c.text.substr(0, 40);
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), c.said[0] == '\0' ? 0 : 1) << said;
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
    }

    // A change is written whole, its folders made on the way, and read back.
    std::system(("rm -rf " + dir_ + "/config").c_str());
    playerSettings = Settings{true, true, false, false};
    ASSERT_TRUE(saveSettings());
    playerSettings = Settings{};
    loadSettings();
    EXPECT_TRUE(playerSettings.fullScreen && playerSettings.relaxedClock);
    EXPECT_FALSE(playerSettings.music || playerSettings.effects);
    EXPECT_NE(access((path + ".new").c_str(), F_OK), 0);
}
