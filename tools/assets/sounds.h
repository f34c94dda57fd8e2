// The game's sounds: five short effects synthesised here and the looping
// music composed as a score and played through a General MIDI soundfont.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int SAMPLE_RATE = 44100;

// The outside programs the sounds are made with.
struct SoundTools {
    std::string fluidsynth;
    std::string soundfont;
    std::string lame;
    std::string workDir;  // scratch space for the score and the raw renders
};

// Interleaved float samples, -1 to 1.
struct Pcm {
    int channels = 1;
    std::vector<float> samples;
    size_t frames() const { return samples.size() / static_cast<size_t>(channels); }
};

// 16-bit PCM WAV, rounded and clipped; no dither, so runs repeat exactly.
bool writeWav(const std::string& path, const Pcm& pcm);
// Encodes a WAV file to MP3 with the lame command.
bool encodeMp3(const SoundTools& tools, const std::string& wavPath, const std::string& mp3Path, int kbps);

Pcm synthBleep();
Pcm synthPop();
Pcm synthTimeUp();
Pcm synthRestart();
Pcm synthFinish();

// One clean period of `period` frames out of a render of the score played
// twice, its last `crossfade` frames blended into the frames before the cut.
// Empty when the render is too short.
Pcm cutLoop(const Pcm& twice, size_t period, size_t crossfade);
// Scales to the target RMS level unless that would push a peak past ceiling.
void levelMusic(Pcm& pcm, double targetRms, double ceiling);

bool writeEffects(const std::string& dataDir, const SoundTools& tools);
bool writeMusic(const std::string& dataDir, const SoundTools& tools);
