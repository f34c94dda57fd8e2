// The sound bank over the real mixer, with SDL's dummy driver standing in
// for a sound card. The test makes its own WAV and MP3 files with sox and lame.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

#include "audio/sound_bank.h"

namespace {

std::string workDir;

class SoundBankTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        char dir[] = "/tmp/tolvane-sound-XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        workDir = dir;
        const std::string cmd = "cd " + workDir +
                                " && sox -n -r 44100 -c 2 -b 16 tone.wav synth 0.2 sine 440 2>/dev/null"
                                " && lame --quiet -r -s 44.1 --bitwidth 16 --signed --little-endian"
                                " /dev/null empty.mp3 2>/dev/null; sox tone.wav -t raw - | lame --quiet -r -s 44.1"
                                " --bitwidth 16 --signed --little-endian - tone.mp3"
                                " && printf 'not a sound at all' > junk.wav";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << "sox and lame are needed to make the test sounds";
    }
    static void TearDownTestSuite() { std::system(("rm -rf " + workDir).c_str()); }

    std::string path(const char* name) const { return workDir + "/" + name; }
};

TEST_F(SoundBankTest, ErrorTextsAreTheGamesOwn) {
    EXPECT_STREQ(SoundBank::audioErrorText(0), "No errors");
    EXPECT_STREQ(SoundBank::audioErrorText(1),
                 "Cannot call this command after FSOUND_Init.  Call FSOUND_Close first.");
    EXPECT_STREQ(SoundBank::audioErrorText(3), "Error initializing output device.");
    EXPECT_STREQ(SoundBank::audioErrorText(9), "File not found");
    EXPECT_STREQ(SoundBank::audioErrorText(10), "Unknown file format");
    EXPECT_STREQ(SoundBank::audioErrorText(12), "Not enough memory ");
    EXPECT_STREQ(SoundBank::audioErrorText(19), "Required Mediaplayer codec is not installed");
    EXPECT_STREQ(SoundBank::audioErrorText(20), "Unknown error");
    EXPECT_STREQ(SoundBank::audioErrorText(-1), "Unknown error");
    // Whatever mixer version the build checks for, the player reads the
    // version the game was written for.
    EXPECT_STREQ(wrongVersionMessage(),
                 "Error : You are using the wrong DLL version!  You should be using FMOD 3.330000\n");
}

TEST_F(SoundBankTest, LoadsWavAndMp3WholeAndReportsMissingAndBadFiles) {
    SoundBank bank;
    bank.initAudio();
    EXPECT_EQ(bank.lastError, AUDIO_OK);
    EXPECT_TRUE(bank.loadSample(SOUND_POP, path("tone.wav").c_str()));
    EXPECT_TRUE(bank.loadSample(SOUND_BLEEP, path("tone.mp3").c_str()));
    ASSERT_NE(bank.samples[SOUND_POP], nullptr);
    ASSERT_NE(bank.samples[SOUND_BLEEP], nullptr);
    // 0.2 s of 16-bit stereo at 44100 Hz, decoded whole.
    EXPECT_EQ(bank.samples[SOUND_POP]->alen, 44100u * 4u / 5u);
    EXPECT_GE(bank.samples[SOUND_BLEEP]->alen, 44100u * 4u / 5u);

    testing::internal::CaptureStdout();
    EXPECT_FALSE(bank.loadSample(SOUND_FINISH, path("missing.wav").c_str()));
    EXPECT_FALSE(bank.loadSample(SOUND_RESTART, path("junk.wav").c_str()));
    EXPECT_FALSE(bank.loadSample(SOUND_TIMEUP, nullptr));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "File not found\nUnknown file format\n");
    EXPECT_EQ(bank.samples[SOUND_FINISH], nullptr);
    EXPECT_EQ(bank.samples[SOUND_RESTART], nullptr);

    // Playing an empty slot is harmless and still counted as asked for.
    bank.playSound(SOUND_FINISH);
    EXPECT_EQ(bank.playCount(SOUND_FINISH), 1u);
    bank.playSound(-3);
    bank.playSound(99);
    bank.shutdownAudio();
}

TEST_F(SoundBankTest, MusicLoopsOnItsOwnChannelAndEffectsNeverTakeIt) {
    SoundBank bank;
    bank.initAudio();
    ASSERT_TRUE(bank.loadSample(SOUND_MUSIC, path("tone.wav").c_str()));
    ASSERT_TRUE(bank.loadSample(SOUND_POP, path("tone.wav").c_str()));
    bank.playSoundLooped(SOUND_MUSIC);
    EXPECT_EQ(bank.lastChannel, MUSIC_CHANNEL);
    EXPECT_TRUE(Mix_Playing(MUSIC_CHANNEL));
    // Many effects at once: each on a free channel, never the music's.
    for (int i = 0; i < 20; ++i) {
        bank.playSound(SOUND_POP);
        EXPECT_GT(bank.lastChannel, MUSIC_CHANNEL);
    }
    EXPECT_EQ(bank.playCount(SOUND_POP), 20u);
    EXPECT_EQ(Mix_GetChunk(MUSIC_CHANNEL), bank.samples[SOUND_MUSIC]);
    SDL_Delay(300);  // longer than the tone: only a looped sample still plays
    EXPECT_TRUE(Mix_Playing(MUSIC_CHANNEL));
    bank.shutdownAudio();
    EXPECT_EQ(bank.samples[SOUND_MUSIC], nullptr);
    bank.shutdownAudio();  // a second close is harmless
}

// The player's switches: music off stops it at once and keeps it off,
// on again starts it; effects off play nothing. Requests are counted alike.
TEST_F(SoundBankTest, TheSwitchesSilenceTheMusicAndTheEffects) {
    SoundBank bank;
    bank.initAudio();
    ASSERT_TRUE(bank.loadSample(SOUND_MUSIC, path("tone.wav").c_str()));
    ASSERT_TRUE(bank.loadSample(SOUND_POP, path("tone.wav").c_str()));
    bank.setMusicOn(false);
    bank.playSoundLooped(SOUND_MUSIC);
    EXPECT_FALSE(Mix_Playing(MUSIC_CHANNEL)) << "the game starts with the music off";
    bank.setMusicOn(true);
    EXPECT_TRUE(Mix_Playing(MUSIC_CHANNEL));
    bank.setMusicOn(false);
    EXPECT_FALSE(Mix_Playing(MUSIC_CHANNEL));
    bank.setEffectsOn(false);
    bank.playSound(SOUND_POP);
    EXPECT_EQ(Mix_Playing(-1), 0) << "no effect plays";
    EXPECT_EQ(bank.playCount(SOUND_POP), 1u);
    bank.setEffectsOn(true);
    bank.playSound(SOUND_POP);
    EXPECT_EQ(Mix_Playing(-1), 1);
    bank.shutdownAudio();
}

TEST_F(SoundBankTest, LoadingBeforeTheMixerStartsIsReported) {
    SoundBank bank;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(bank.loadSample(SOUND_POP, path("tone.wav").c_str()));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "This command failed because FSOUND_Init was not called\n");
}

TEST_F(SoundBankTest, NoOutputDeviceIsReportedAndTheGameGoesOnSilently) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SoundBank bank;
    testing::internal::CaptureStdout();
    bank.initAudio();
    const std::string out = testing::internal::GetCapturedStdout();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_EQ(out, "Error initializing output device.\n");
    EXPECT_EQ(bank.lastError, AUDIO_ERR_INIT);
    bank.playSound(SOUND_POP);
    bank.playSoundLooped(SOUND_MUSIC);
    EXPECT_EQ(bank.playCount(SOUND_MUSIC), 1u);
    bank.shutdownAudio();
}

}  // namespace
