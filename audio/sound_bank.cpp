#include "audio/sound_bank.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

// The oldest mixer this build is known to work with; an older one linked at
// run time ends the game at once with the wrong-version message.
constexpr int MIXER_MIN_MAJOR = 2;
constexpr int MIXER_MIN_MINOR = 0;
constexpr int MIXER_MIN_PATCH = 4;

SoundBank soundBank;

const char* wrongVersionMessage() {
    // The message's words and number are the game's own; the mixer version
    // this build checks for is the one above.
    static char message[96];
    std::snprintf(message, sizeof message, "Error : You are using the wrong DLL version!  You should be using FMOD %f\n",
                  static_cast<double>(REQUIRED_SOUND_VERSION));
    return message;
}

SoundBank::SoundBank() : samples{}, lastChannel(0), lastError(AUDIO_OK), opened_(false), playCounts_{} {}

SoundBank::~SoundBank() { shutdownAudio(); }

void SoundBank::initAudio() {
    const SDL_version* linked = Mix_Linked_Version();
    const int have = SDL_VERSIONNUM(linked->major, linked->minor, linked->patch);
    const int need = SDL_VERSIONNUM(MIXER_MIN_MAJOR, MIXER_MIN_MINOR, MIXER_MIN_PATCH);
    if (have < need) {
        std::fputs(wrongVersionMessage(), stdout);
        std::exit(0);
    }
    if (opened_) return;
    // The game ends through its own keys and the window; a terminal's Ctrl-C
    // or a kill must still end it at once, so SDL keeps its hands off signals.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        lastError = AUDIO_ERR_INIT;
        reportAudioError();
        return;
    }
    Mix_Init(MIX_INIT_MP3);
    if (Mix_OpenAudio(AUDIO_MIX_RATE, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        lastError = AUDIO_ERR_INIT;
        reportAudioError();
        return;
    }
    Mix_AllocateChannels(AUDIO_CHANNELS);
    // Channels 0 and 1 are kept out of the free-channel search, so an effect
    // never takes the music's channel.
    Mix_ReserveChannels(MUSIC_CHANNEL + 1);
    opened_ = true;
    lastError = AUDIO_OK;
}

bool SoundBank::loadSample(int slot, const char* path) {
    if (path == nullptr) return false;
    if (slot < 0 || slot >= SOUND_SLOT_COUNT) {
        lastError = AUDIO_ERR_INVALID_PARAM;
        reportAudioError();
        return false;
    }
    Mix_Chunk* chunk = nullptr;
    struct stat info;
    if (stat(path, &info) != 0 || !S_ISREG(info.st_mode)) {
        lastError = AUDIO_ERR_FILE_NOTFOUND;
    } else if (!opened_) {
        lastError = AUDIO_ERR_UNINITIALIZED;
    } else {
        chunk = Mix_LoadWAV(path);
        if (chunk == nullptr) {
            FILE* f = std::fopen(path, "rb");
            lastError = f ? AUDIO_ERR_FILE_FORMAT : AUDIO_ERR_FILE_BAD;
            if (f) std::fclose(f);
        }
    }
    if (chunk == nullptr) {
        reportAudioError();
        return false;
    }
    if (samples[slot] != nullptr) Mix_FreeChunk(samples[slot]);
    samples[slot] = chunk;
    lastError = AUDIO_OK;
    return true;
}

void SoundBank::playSound(int slot) {
    if (slot < 0 || slot >= SOUND_SLOT_COUNT) return;
    ++playCounts_[slot];
    // An empty slot plays nothing; the game goes on either way.
    if (!opened_ || samples[slot] == nullptr || !effectsOn_) {
        lastChannel = -1;
        return;
    }
    lastChannel = Mix_PlayChannel(-1, samples[slot], 0);
}

void SoundBank::playSoundLooped(int slot) {
    if (slot < 0 || slot >= SOUND_SLOT_COUNT) return;
    ++playCounts_[slot];
    musicSlot_ = slot;
    if (!opened_ || samples[slot] == nullptr || !musicOn_) {
        lastChannel = -1;
        return;
    }
    lastChannel = Mix_PlayChannel(MUSIC_CHANNEL, samples[slot], -1);
}

void SoundBank::setMusicOn(bool on) {
    if (on == musicOn_) return;
    musicOn_ = on;
    if (!opened_) return;
    if (!on) Mix_HaltChannel(MUSIC_CHANNEL);
    else if (musicSlot_ >= 0 && samples[musicSlot_] != nullptr) Mix_PlayChannel(MUSIC_CHANNEL, samples[musicSlot_], -1);
}

void SoundBank::setEffectsOn(bool on) { effectsOn_ = on; }

void SoundBank::reportAudioError() const {
    std::printf("%s\n", audioErrorText(lastError));
    std::fflush(stdout);
}

const char* SoundBank::audioErrorText(int code) {
    static const char* const texts[] = {
        "No errors",
        "Cannot call this command after FSOUND_Init.  Call FSOUND_Close first.",
        "This command failed because FSOUND_Init was not called",
        "Error initializing output device.",
        "The output device is already in use and cannot be reused.",
        "Playing the sound failed.",
        "Soundcard does not support the features needed for this soundsystem (16bit stereo output)",
        "Error setting cooperative level for hardware.",
        "Error creating hardware sound buffer.",
        "File not found",
        "Unknown file format",
        "Error loading file",
        "Not enough memory ",
        "The version number of this file format is not supported",
        "An invalid parameter was passed to this function",
        "Tried to use an EAX command on a non EAX enabled channel or output.",
        "Tried to use an advanced EAX2 command on a non EAX2 enabled channel or output.",
        "Failed to allocate a new channel",
        "Recording not supported on this device",
        "Required Mediaplayer codec is not installed",
    };
    if (code < 0 || code >= static_cast<int>(sizeof texts / sizeof texts[0])) return "Unknown error";
    return texts[code];
}

void SoundBank::shutdownAudio() {
    if (!opened_) return;
    if (lastChannel >= 0) Mix_HaltChannel(lastChannel);
    for (Mix_Chunk*& chunk : samples) {
        if (chunk != nullptr) Mix_FreeChunk(chunk);
        chunk = nullptr;
    }
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    opened_ = false;
}

uint32_t SoundBank::playCount(int slot) const {
    return (slot >= 0 && slot < SOUND_SLOT_COUNT) ? playCounts_[slot] : 0;
}

void SoundBank::clearPlayCounts() { std::memset(playCounts_, 0, sizeof playCounts_); }
