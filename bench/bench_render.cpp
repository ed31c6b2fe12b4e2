// Renderer throughput: one second of audio at 44100 frames, one 50 Hz tick
// (882 frames) per call as the audio loop does it.
#include <benchmark/benchmark.h>

#include "synth/pd/record.h"
#include "synth/pd/wave.h"

namespace {

void setupvoices(int active, uint8_t control)
{
    synth::samplerate = 44100;
    synth::synthinit();
    synth::lastvoice = static_cast<uint8_t>(active - 1);
    const uint16_t hz[] = {110, 220, 330, 440, 550, 660, 770, 880, 990};
    const uint8_t bytes[12] = {200, 60, 150, 90, 170, 110, 230, 20, 128, 40, 210, 128};
    for (int k = 0; k < 12; ++k) synth::waveparams[k] = bytes[k];
    for (int i = 0; i < active; ++i) {
        auto& v = synth::voices[i];
        v.step = static_cast<uint32_t>(synth::hzstep[hz[i]]);
        v.control = control;
        v.level = 200;
        v.pulse = static_cast<uint8_t>(40 * i);
        v.filter = static_cast<uint8_t>(30 * i);
    }
}

void runsecond(benchmark::State& state)
{
    static int16_t tick[2 * 882];
    for (auto _ : state) {
        for (int j = 0; j < 44100; j += 882) {
            synth::renderframes(tick, 882);
            benchmark::DoNotOptimize(tick);
        }
    }
    state.SetItemsProcessed(state.iterations() * 44100);
}

// Four pulse voices, the first ring-modulated and synced (the AHX case).
void BM_RenderSecondFourVoices(benchmark::State& state)
{
    setupvoices(4, 0x41);
    synth::voices[0].control = 0x47;
    runsecond(state);
}
BENCHMARK(BM_RenderSecondFourVoices)->Unit(benchmark::kMillisecond);

// Three voices: triangle, sawtooth and noise (the SID case).
void BM_RenderSecondThreeMixedVoices(benchmark::State& state)
{
    setupvoices(3, 0x11);
    synth::voices[1].control = 0x21;
    synth::voices[2].control = 0x81;
    runsecond(state);
}
BENCHMARK(BM_RenderSecondThreeMixedVoices)->Unit(benchmark::kMillisecond);

// All nine voices in one block call, the upper bound of the renderer.
void BM_RenderSecondNineVoicesBlock(benchmark::State& state)
{
    setupvoices(9, 0x41);
    static int16_t block[2 * 44100];
    for (auto _ : state) {
        synth::renderframes(block, 44100);
        benchmark::DoNotOptimize(block);
    }
    state.SetItemsProcessed(state.iterations() * 44100);
}
BENCHMARK(BM_RenderSecondNineVoicesBlock)->Unit(benchmark::kMillisecond);

}  // namespace
