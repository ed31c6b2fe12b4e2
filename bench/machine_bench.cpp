// The share of a core that playing takes (the player's ticks and the
// renderer, one second of sound per iteration): a PSID tune beside
// interrupt-driven tunes on the machine, one with a raster interrupt, one
// with a CIA timer, one playing samples through an 8 kHz NMI. An
// iteration's time in milliseconds, over 10, is the percent of one core.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/audio.h"
#include "generatedfile.h"
#include "core/playback.h"
#include "players/sid/sidplayer.h"
#include "synth/pd/wave.h"
#include "synth/synth.h"

namespace {

// A tune file's bytes: our assembled program (load address first) behind a
// version 2 header of the given magic.
std::string tunefile(const std::string& prg, const char* magic, uint16_t play, uint16_t songs)
{
    std::ifstream in(std::string(TARPLAY_BENCH_ASM) + "/" + prg + ".prg", std::ios::binary);
    const std::string code((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string file(0x7C, '\0');
    for (int i = 0; i < 4; ++i) file[static_cast<size_t>(i)] = magic[i];
    const uint16_t words[] = {2, 0x7C, 0, 0x1000, play, songs, 1};
    for (size_t i = 0; i < std::size(words); ++i) {
        file[4 + 2 * i] = static_cast<char>(words[i] >> 8);
        file[5 + 2 * i] = static_cast<char>(words[i] & 0xFF);
    }
    return file + code;
}

void playsecond(benchmark::State& state, const std::string& tune, uint8_t song)
{
    const generatedfile file("tarplay-machine-", "tune.sid", tune);
    synth::samplerate = 44100;
    synth::synthinit();
    core::playersinit();
    sid::sidmoduleinit();
    for (auto& w : synth::waveparams) w = 128;
    core::curplayer = 7;
    core::cursong = song;
    if (!file.ok || !core::players[7].load(file.file.string())) {
        state.SkipWithError("the tune did not load");
        return;
    }
    core::renderblockcountdown = 0;
    std::vector<int16_t> out(2 * 44100);
    for (auto _ : state) {
        core::renderblock(nullptr, reinterpret_cast<uint8_t*>(out.data()), static_cast<int>(out.size() * 2));
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["ticks"] = static_cast<double>(core::tickpos.load());
}

void psid(benchmark::State& state) { playsecond(state, tunefile("sid_tune", "PSID", 0x1003, 2), 0); }
void rsidraster(benchmark::State& state) { playsecond(state, tunefile("interrupt_tune", "RSID", 0, 4), 0); }
void rsidtimer(benchmark::State& state) { playsecond(state, tunefile("interrupt_tune", "RSID", 0, 4), 1); }
void rsidsamples(benchmark::State& state) { playsecond(state, tunefile("interrupt_tune", "RSID", 0, 4), 3); }
BENCHMARK(psid)->Unit(benchmark::kMillisecond);
BENCHMARK(rsidraster)->Unit(benchmark::kMillisecond);
BENCHMARK(rsidtimer)->Unit(benchmark::kMillisecond);
BENCHMARK(rsidsamples)->Unit(benchmark::kMillisecond);

}  // namespace
