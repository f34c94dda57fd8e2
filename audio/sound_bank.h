// Numbered sample slots over the mixer: the five effects and the music, all
// loaded whole at start-up and played by slot. The bank also counts every
// play request per slot, so the screens' sounds can be watched without a
// sound card.
#pragma once

#include <cstdint>

struct Mix_Chunk;

constexpr int SOUND_SLOT_COUNT = 12;
constexpr int SOUND_BLEEP = 6;
constexpr int SOUND_TIMEUP = 7;
constexpr int SOUND_POP = 8;
constexpr int SOUND_MUSIC = 9;
constexpr int SOUND_RESTART = 10;
constexpr int SOUND_FINISH = 11;

// The error codes the game reports, with their texts in audioErrorText.
constexpr int AUDIO_OK = 0;
constexpr int AUDIO_ERR_UNINITIALIZED = 2;
constexpr int AUDIO_ERR_INIT = 3;
constexpr int AUDIO_ERR_PLAY = 5;
constexpr int AUDIO_ERR_FILE_NOTFOUND = 9;
constexpr int AUDIO_ERR_FILE_FORMAT = 10;
constexpr int AUDIO_ERR_FILE_BAD = 11;
constexpr int AUDIO_ERR_MEMORY = 12;
constexpr int AUDIO_ERR_INVALID_PARAM = 14;
constexpr int AUDIO_ERR_CHANNEL_ALLOC = 17;

constexpr int AUDIO_MIX_RATE = 44100;
constexpr int AUDIO_CHANNELS = 32;
constexpr int MUSIC_CHANNEL = 1;  // the looped music has this channel to itself

// The version number the wrong-version message names; the game shows that
// message, and ends, on a mixer older than this build supports.
constexpr float REQUIRED_SOUND_VERSION = 3.33f;
// That message, with its line break.
const char* wrongVersionMessage();

class SoundBank {
public:
    SoundBank();
    ~SoundBank();  // runs shutdownAudio at normal exit

    void initAudio();
    bool loadSample(int slot, const char* path);
    void playSound(int slot);
    void playSoundLooped(int slot);
    void reportAudioError() const;
    static const char* audioErrorText(int code);
    void shutdownAudio();

    // The player's switches. Music off stops the looped music at once and
    // keeps it from starting; on again starts it from the top. Effects off
    // plays no effect. Play requests are counted either way.
    void setMusicOn(bool on);
    void setEffectsOn(bool on);
    bool musicOn() const { return musicOn_; }
    bool effectsOn() const { return effectsOn_; }

    // How often each slot was asked to play since the last clearPlayCounts.
    uint32_t playCount(int slot) const;
    void clearPlayCounts();

    Mix_Chunk* samples[SOUND_SLOT_COUNT];
    int lastChannel;
    int lastError;

private:
    bool opened_;
    bool musicOn_ = true;
    bool effectsOn_ = true;
    int musicSlot_ = -1;  // the looped slot asked for, kept while the music is off
    uint32_t playCounts_[SOUND_SLOT_COUNT];
};

extern SoundBank soundBank;
