// AHX player cost on the audio thread: one tick of a busy four-channel
// module, a one-second skip ahead inside a single tick call (the tick
// contract does it in one audio callback), and one second of playback
// through the frame loop including the synth.
//
// Budget: a 2048-frame callback lasts about 46 ms; a one-second skip at
// 200 ticks per second must fit well inside it, and a tick should cost a
// few microseconds at most.
#include <benchmark/benchmark.h>

#include <vector>

#include "core/audio.h"
#include "core/playback.h"
#include "players/ahx/ahxbuilder.h"
#include "players/ahx/ahxplayer.h"
#include "players/ahx/ahxsong.h"
#include "screen/console.h"
#include "synth/pd/record.h"

namespace {

// Every channel busy on every row: notes, instruments with vibrato, square
// and filter sweeps and a looping performance list.
ahxtest::module busymodule(int speedmul)
{
    ahxtest::module m;
    m.revision = 1;
    m.speedmul = speedmul;
    m.tracklen = 64;
    m.positions.resize(16);
    for (int p = 0; p < 16; ++p) {
        auto& pos = m.positions[static_cast<size_t>(p)];
        for (int c = 0; c < 4; ++c) pos.track[static_cast<size_t>(c)] = 1 + (p + c) % 8;
    }
    for (int t = 1; t <= 8; ++t)
        for (int r = 0; r < 64; ++r)
            m.at(t, r) = {1 + (t * 7 + r) % 48, 1 + r % 4, r % 3 == 0 ? 0x3 : 0x4, 8};
    for (int i = 0; i < 4; ++i) {
        ahxtest::instrument in;
        in.wavelen = 1 + i;
        in.vibdepth = 4, in.vibspeed = 7;
        in.squarelow = 16, in.squarehigh = 200, in.squarespeed = 1;
        in.filterlow = 5, in.filterhigh = 60, in.filterspeed = 1;
        in.plist = {{1, 0, 3, 4, 4, 0x01, 0x10}, {3, 0, 0, 1, 0, 4, 0}, {5, 0, 1, 2, 0, 4, 0},
                    {0, 0, 0, 5, 0, 1, 0}};
        m.instruments.push_back(in);
    }
    return m;
}

void setup(int speedmul)
{
    synth::samplerate = 44100;
    synth::synthinit();
    screen::messagesink = [](std::string_view, uint8_t, bool) {};
    core::playersinit();
    ahx::ahxmoduleinit();
    core::curplayer = 7;
    core::cursong = 0;
    core::recording = false;
    const std::vector<uint8_t> b = busymodule(speedmul).bytes();
    if (!ahx::ahxloadbytes(b.data(), b.size())) std::abort();
}

void BM_ahxtick(benchmark::State& state)
{
    setup(1);
    for (auto _ : state) {
        ahx::ahxtick();
        benchmark::DoNotOptimize(synth::voices[0].step.load());
    }
}
BENCHMARK(BM_ahxtick);

// One second skipped at 200 ticks per second, in one call.
void BM_ahxskipsecond(benchmark::State& state)
{
    setup(4);
    for (auto _ : state) {
        core::tickpos = core::tickpos + core::tickrate;
        ahx::ahxtick();
    }
}
BENCHMARK(BM_ahxskipsecond)->Unit(benchmark::kMicrosecond);

// One second of playback: ticks and the four-voice synth.
void BM_ahxplaysecond(benchmark::State& state)
{
    setup(1);
    std::vector<int16_t> buf(2048 * 2);
    for (auto _ : state) {
        for (int frames = 0; frames < 44100; frames += 2048)
            core::renderblock(nullptr, reinterpret_cast<uint8_t*>(buf.data()), 2048 * 4);
        benchmark::DoNotOptimize(buf.data());
    }
}
BENCHMARK(BM_ahxplaysecond)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
