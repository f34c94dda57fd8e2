// What one frame of each screen costs to draw with the real OpenGL backend,
// in an offscreen Mesa context (llvmpipe, no display), with the pictures,
// sounds and levels of the runtime directory: the splash's two phases, the
// menu with the pointer moving, play in the tutorial and in world 10, level
// complete and time over. Time stands still, so every frame shows the same
// moment of its screen. scripts/measure gives the same screens in the real
// program. With --plain after the runtime directory, the frames are drawn
// the plain way (glyph lists, every picture every frame, mipmaps always),
// as the game drew them before its quicker ways.
// Usage: frame_bench RUNTIME_DIR
#include <GL/osmesa.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>

#include "app/frame_timer.h"
#include "app/input_state.h"
#include "app/shell.h"
#include "game/game_context.h"
#include "frontend/menu.h"
#include "frontend/splash.h"
#include "render/bitmap_font.h"
#include "render/sprite_sheet.h"

namespace {

uint8_t screen[SCREEN_WIDTH * SCREEN_HEIGHT * 4];

// Process CPU time, which counts llvmpipe's rasteriser threads too.
double cpuSeconds() {
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

int64_t stillCounter() { return 0; }
void noSleep(int64_t) {}

// Frames of one screen; `before` puts the screen back where it was before
// each frame (the splash fades as it is drawn).
template <typename Before>
void runFrames(benchmark::State& state, Before before) {
    double cpu = 0;
    for (auto _ : state) {
        before();
        const double start = cpuSeconds();
        runScreenFrame();
        glFinish();
        input.pendingButton = BUTTON_NONE;
        cpu += cpuSeconds() - start;
    }
    state.counters["cpu_ms_per_frame"] = benchmark::Counter(cpu * 1000 / state.iterations());
}

void splash(int32_t phase) {
    game.state = STATE_SPLASH;
    splashPhase = phase;
    splashFade = 0.5f;
    splashTicks = 10;
}

void level(int32_t world) {
    game.worldStatus[world] = WORLD_OPEN;
    startWorld(game, world);
    input = {5, 700, BUTTON_NONE};
}

void BM_SplashMakersLine(benchmark::State& state) { runFrames(state, [] { splash(0); }); }
void BM_SplashPicture(benchmark::State& state) { runFrames(state, [] { splash(1); }); }

void BM_MenuPointerMoving(benchmark::State& state) {
    game.state = STATE_MENU;
    int32_t step = 0;
    runFrames(state, [&step] {
        ++step;
        input = {300 + (step * 7) % 600, 560 + (step / 20) % 150, BUTTON_NONE};
    });
}

void BM_PlayTutorial(benchmark::State& state) {
    level(0);
    runFrames(state, [] {});
}

void BM_PlayWorld10(benchmark::State& state) {
    level(10);
    runFrames(state, [] {});
}

void BM_LevelComplete(benchmark::State& state) {
    level(0);
    game.state = STATE_LEVEL_COMPLETE;
    runFrames(state, [] {});
}

void BM_TimeOver(benchmark::State& state) {
    level(10);
    game.clock = 0;
    game.state = STATE_TIME_OVER;
    runFrames(state, [] {});
}

}  // namespace

BENCHMARK(BM_SplashMakersLine)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_SplashPicture)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_MenuPointerMoving)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_PlayTutorial)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_PlayWorld10)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_LevelComplete)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_TimeOver)->Unit(benchmark::kMillisecond)->MinTime(1.0);

int main(int argc, char** argv) {
    if (argc < 2 || chdir(argv[1]) != 0) {
        std::fprintf(stderr, "usage: %s RUNTIME_DIR [benchmark options]\n", argv[0]);
        return 2;
    }
    OSMesaContext context = OSMesaCreateContextExt(OSMESA_BGRA, 16, 0, 0, nullptr);
    if (context == nullptr || !OSMesaMakeCurrent(context, screen, GL_UNSIGNED_BYTE, SCREEN_WIDTH, SCREEN_HEIGHT))
        return 1;
    glViewport(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
    loadResources();
    std::printf("\n");
    setPerformanceCounter({stillCounter, 1000000000, noSleep});
    resetTickClock(tickClock, TICK_INTERVAL);
    --argc;
    ++argv;
    if (argc > 1 && std::strcmp(argv[1], "--plain") == 0) {
        font.useAtlas = false;
        sprites.keepsLayers = false;
        sprites.minifiesByNeed = false;
        argv[1] = argv[0];
        --argc;
        ++argv;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
