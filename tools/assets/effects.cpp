// The five effects, synthesised sample by sample. Each is short, starts at
// once and fades to true silence, and their levels sit a little under the
// music so a burst of vanishing blocks never drowns it.
#include "canvas.h"
#include "sounds.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr double TAU = 2 * M_PI;

Pcm silence(double seconds) {
    Pcm pcm;
    pcm.samples.assign(static_cast<size_t>(seconds * SAMPLE_RATE), 0.0f);
    return pcm;
}

// Attack then exponential decay, with a short fade at the very end so the
// sample stops without a click.
double envelope(double t, double attack, double decay, double length) {
    const double a = t < attack ? t / attack : std::exp(-(t - attack) / decay);
    const double fade = 0.015;
    const double tail = t > length - fade ? std::max(0.0, (length - t) / fade) : 1.0;
    return a * tail;
}

void normalisePeak(Pcm& pcm, double peak) {
    double most = 0;
    for (float s : pcm.samples) most = std::max(most, std::fabs(static_cast<double>(s)));
    if (most <= 0) return;
    for (float& s : pcm.samples) s = static_cast<float>(s * peak / most);
}

void put32(FILE* f, uint32_t v) {
    const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    std::fwrite(b, 1, 4, f);
}

void put16(FILE* f, uint16_t v) {
    const unsigned char b[2] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
    std::fwrite(b, 1, 2, f);
}

}  // namespace

bool writeWav(const std::string& path, const Pcm& pcm) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const uint32_t dataBytes = static_cast<uint32_t>(pcm.samples.size() * 2);
    std::fwrite("RIFF", 1, 4, f);
    put32(f, 36 + dataBytes);
    std::fwrite("WAVEfmt ", 1, 8, f);
    put32(f, 16);
    put16(f, 1);  // integer PCM
    put16(f, static_cast<uint16_t>(pcm.channels));
    put32(f, SAMPLE_RATE);
    put32(f, SAMPLE_RATE * pcm.channels * 2);
    put16(f, static_cast<uint16_t>(pcm.channels * 2));
    put16(f, 16);
    std::fwrite("data", 1, 4, f);
    put32(f, dataBytes);
    for (float s : pcm.samples) {
        const double v = std::round(std::max(-1.0, std::min(1.0, static_cast<double>(s))) * 32767.0);
        put16(f, static_cast<uint16_t>(static_cast<int16_t>(v)));
    }
    const bool ok = std::ferror(f) == 0;
    return std::fclose(f) == 0 && ok;
}

bool encodeMp3(const SoundTools& tools, const std::string& wavPath, const std::string& mp3Path, int kbps) {
    const std::string command = "'" + tools.lame + "' --quiet --noreplaygain -q 2 -b " + std::to_string(kbps) +
                                " '" + wavPath + "' '" + mp3Path + "'";
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "lame failed: %s\n", command.c_str());
        return false;
    }
    return true;
}

// A block vanishing: a bright two-note glint that flicks upward. Several may
// start in the same tick, so it is kept light.
Pcm synthBleep() {
    const double length = 0.26;
    const double second = 0.045;  // the upper note comes in this late
    Pcm pcm = silence(length);
    const double ratio[3] = {1.0, 1.5, 3.01};
    const double gain[3] = {1.0, 0.45, 0.12};
    for (size_t i = 0; i < pcm.samples.size(); ++i) {
        const double t = static_cast<double>(i) / SAMPLE_RATE;
        double v = 0;
        for (int p = 0; p < 3; ++p) {
            v += gain[p] * std::sin(TAU * 1318.5 * ratio[p] * t) * envelope(t, 0.002, 0.03, length);
            if (t >= second)
                v += gain[p] * std::sin(TAU * 1975.5 * ratio[p] * (t - second)) *
                     envelope(t - second, 0.002, 0.06, length - second);
        }
        pcm.samples[i] = static_cast<float>(v);
    }
    normalisePeak(pcm, 0.19);
    return pcm;
}

// A push: a soft wooden knock that drops in pitch.
Pcm synthPop() {
    const double length = 0.14;
    Pcm pcm = silence(length);
    Random rng(8);
    double phase = 0, noise = 0;
    for (size_t i = 0; i < pcm.samples.size(); ++i) {
        const double t = static_cast<double>(i) / SAMPLE_RATE;
        const double f = 170 + 480 * std::exp(-t / 0.018);
        phase += TAU * f / SAMPLE_RATE;
        noise = 0.6 * noise + 0.4 * rng.range(-1, 1);  // a little low-passed click
        const double body = std::sin(phase) + 0.25 * std::sin(2 * phase);
        const double click = noise * std::exp(-t / 0.004);
        pcm.samples[i] = static_cast<float>((body * envelope(t, 0.0015, 0.03, length) + 0.6 * click));
    }
    normalisePeak(pcm, 0.42);
    return pcm;
}

// The clock ran out: two falling notes with a sad droop on the second.
Pcm synthTimeUp() {
    const double length = 0.48;
    Pcm pcm = silence(length);
    double phase = 0;
    for (size_t i = 0; i < pcm.samples.size(); ++i) {
        const double t = static_cast<double>(i) / SAMPLE_RATE;
        const bool second = t >= 0.2;
        const double local = second ? t - 0.2 : t;
        double f = second ? 293.7 * (1 - 0.08 * local / 0.28) : 392.0;
        f *= 1 + 0.012 * std::sin(TAU * 6 * t);
        phase += TAU * f / SAMPLE_RATE;
        // A soft square: odd partials only.
        const double v = std::sin(phase) + std::sin(3 * phase) / 3 + std::sin(5 * phase) / 6 + std::sin(7 * phase) / 12;
        const double env = second ? envelope(local, 0.01, 0.16, 0.28) : envelope(local, 0.01, 0.12, 0.2);
        pcm.samples[i] = static_cast<float>(v * env);
    }
    normalisePeak(pcm, 0.38);
    return pcm;
}

// The dustbin restart: a rising whoosh of filtered air with a tone inside.
Pcm synthRestart() {
    const double length = 0.4;
    Pcm pcm = silence(length);
    Random rng(10);
    double low = 0, band = 0, phase = 0;
    for (size_t i = 0; i < pcm.samples.size(); ++i) {
        const double t = static_cast<double>(i) / SAMPLE_RATE;
        const double sweep = t / length;
        const double centre = 300 * std::pow(9.0, sweep);
        const double fc = 2 * std::sin(M_PI * centre / SAMPLE_RATE);
        const double q = 0.25;
        const double in = rng.range(-1, 1);
        low += fc * band;
        const double high = in - low - q * band;
        band += fc * high;
        phase += TAU * (220 * std::pow(3.0, sweep)) / SAMPLE_RATE;
        // Quick to sound, then easing away over the last part of the sweep.
        const double rise = std::min(1.0, t / 0.02);
        const double ease = t < 0.5 * length ? 1.0 : 0.5 + 0.5 * std::cos(M_PI * (t - 0.5 * length) / (0.5 * length));
        pcm.samples[i] = static_cast<float>((band * 0.9 + 0.35 * std::sin(phase)) * rise * ease);
    }
    normalisePeak(pcm, 0.36);
    return pcm;
}

// A level cleared: a quick bell arpeggio up the major chord.
Pcm synthFinish() {
    const double length = 0.48;
    Pcm pcm = silence(length);
    const double notes[4] = {1046.5, 1318.5, 1568.0, 2093.0};
    for (int n = 0; n < 4; ++n) {
        const double start = n * 0.07;
        for (size_t i = static_cast<size_t>(start * SAMPLE_RATE); i < pcm.samples.size(); ++i) {
            const double t = static_cast<double>(i) / SAMPLE_RATE - start;
            const double f = notes[n];
            const double v = std::sin(TAU * f * t) + 0.3 * std::sin(TAU * f * 2.76 * t) * std::exp(-t / 0.04) +
                             0.15 * std::sin(TAU * f * 2 * t);
            pcm.samples[i] += static_cast<float>(v * envelope(t, 0.002, n == 3 ? 0.14 : 0.09, length - start));
        }
    }
    normalisePeak(pcm, 0.4);
    return pcm;
}

bool writeEffects(const std::string& dataDir, const SoundTools& tools) {
    const std::string sound = dataDir + "/sound/";
    const std::string bleepWav = tools.workDir + "/bleep.wav";
    return writeWav(bleepWav, synthBleep()) && encodeMp3(tools, bleepWav, sound + "BLEEP.mp3", 128) &&
           writeWav(sound + "pop.wav", synthPop()) && writeWav(sound + "timeup.wav", synthTimeUp()) &&
           writeWav(sound + "restart.wav", synthRestart()) && writeWav(sound + "finish.wav", synthFinish());
}
