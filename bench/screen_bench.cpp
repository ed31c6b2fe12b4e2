// Presentation runs once per pass of every screen loop (about every 20 ms on
// the play screen). A full redraw of all 4000 shown cells and the common
// case of a few changed cells both have to fit well inside that.
#include <benchmark/benchmark.h>

#include "screen/console.h"
#include "screen/video.h"

namespace {

void fillscreen(uint8_t attr)
{
    for (int i = 0; i < 80 * 50; ++i) screen::textscreen[i] = {static_cast<uint16_t>(i & 0xFF), attr};
}

// Every shown cell changes between frames: the worst case.
void BM_PresentFullRedraw(benchmark::State& state)
{
    screen::screenreset();
    uint8_t attr = 0x1F;
    for (auto _ : state) {
        attr ^= 0x01;
        fillscreen(attr);
        screen::presentframe();
        benchmark::DoNotOptimize(screen::framebuf.data());
    }
    state.SetItemsProcessed(state.iterations() * 4000);
}
BENCHMARK(BM_PresentFullRedraw);

// A play-screen-like frame: one status line of text changes.
void BM_PresentOneLine(benchmark::State& state)
{
    screen::screenreset();
    fillscreen(0x07);
    screen::presentframe();
    int n = 0;
    for (auto _ : state) {
        screen::conwriteat(0, 1, screen::inttostr(n++, 80));
        screen::presentframe();
        benchmark::DoNotOptimize(screen::framebuf.data());
    }
}
BENCHMARK(BM_PresentOneLine);

// Nothing changed: only the comparison of the two text buffers.
void BM_PresentUnchanged(benchmark::State& state)
{
    screen::screenreset();
    fillscreen(0x07);
    screen::presentframe();
    for (auto _ : state) {
        screen::presentframe();
        benchmark::DoNotOptimize(screen::framebuf.data());
    }
}
BENCHMARK(BM_PresentUnchanged);

void BM_ScreenInit(benchmark::State& state)
{
    for (auto _ : state) screen::screeninit();
}
BENCHMARK(BM_ScreenInit);

}  // namespace
