// What one frame of the menu and of the play screen costs to draw with the
// real OpenGL backend, in an offscreen Mesa context (llvmpipe, no display),
// with the pictures, sounds and levels of the runtime directory.
// Usage: frame_bench RUNTIME_DIR
#include <GL/osmesa.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

#include "app/input_state.h"
#include "app/shell.h"
#include "game/game_context.h"
#include "render/sprite_sheet.h"

namespace {

uint8_t screen[SCREEN_WIDTH * SCREEN_HEIGHT * 4];

// Process CPU time, which counts llvmpipe's rasteriser threads too.
double cpuSeconds() {
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec * 1e-9;
}

void runFrames(benchmark::State& state) {
    double cpu = 0;
    for (auto _ : state) {
        const double before = cpuSeconds();
        runScreenFrame();
        glFinish();
        input.pendingButton = BUTTON_NONE;
        cpu += cpuSeconds() - before;
    }
    state.counters["cpu_ms_per_frame"] = benchmark::Counter(cpu * 1000 / state.iterations());
}

void BM_MenuFrame(benchmark::State& state) {
    game.state = STATE_MENU;
    input = {600, 100, BUTTON_NONE};
    runFrames(state);
}

void BM_PlayFrame(benchmark::State& state) {
    game.worldStatus[0] = WORLD_OPEN;
    game.startWorld(0);
    input = {600, 100, BUTTON_NONE};
    runFrames(state);
}

}  // namespace

BENCHMARK(BM_MenuFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_PlayFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv) {
    if (argc < 2 || chdir(argv[1]) != 0) {
        std::fprintf(stderr, "usage: %s RUNTIME_DIR [benchmark options]\n", argv[0]);
        return 2;
    }
    OSMesaContext context = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
    if (context == nullptr || !OSMesaMakeCurrent(context, screen, GL_UNSIGNED_BYTE, SCREEN_WIDTH, SCREEN_HEIGHT))
        return 1;
    glViewport(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);
    loadResources();
    std::printf("\n");
    --argc;
    ++argv;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
