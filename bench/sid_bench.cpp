// SID player cost: one second of play calls of a register-heavy play routine
// (all of it runs on the audio thread), and the envelope generator across a
// second of processor cycles.
#include <benchmark/benchmark.h>

#include "core/playback.h"
#include "players/sid/cpu.h"
#include "players/sid/psid.h"
#include "players/sid/sidmodel.h"
#include "synth/pd/record.h"

namespace {

void setupplayer()
{
    synth::samplerate = 44100;
    synth::synthinit();
    cpu::cpusetup();
    cpu::memwritehook = sid::buswrite;
    sid::sidtables();
    sid::psidreset();
    sid::sidreset();
    core::settickrate(50);
    cpu::cpumem.fill(0);
    // play ($1000): 8 rounds of writing all 25 SID registers from a table,
    // each round a different table offset, as a busy tune's driver might.
    const uint8_t play[] = {
        0xA0, 0x08,        //       LDY #8
        0xA2, 0x18,        // next: LDX #24
        0xBD, 0x00, 0x20,  // loop: LDA $2000,X
        0x9D, 0x00, 0xD4,  //       STA $D400,X
        0xCA,              //       DEX
        0x10, 0xF7,        //       BPL loop
        0x88,              //       DEY
        0xD0, 0xF2,        //       BNE next
        0x60,              //       RTS
    };
    for (size_t i = 0; i < sizeof play; ++i) cpu::cpumem[0x1000 + i] = play[i];
    for (int i = 0; i < 25; ++i) cpu::cpumem[0x2000 + i] = static_cast<uint8_t>(0x11 * i + 1);
    cpu::cpumem[0x2000 + 0x04] = 0x41;
    cpu::cpumem[0x2000 + 0x0B] = 0x11;
    cpu::cpumem[0x2000 + 0x12] = 0x21;
    cpu::cpumem[0x2000 + 0x18] = 0x1F;
    sid::playaddr = 0x1000;
}

void playsecond(benchmark::State& state)
{
    setupplayer();
    for (auto _ : state) {
        for (int t = 0; t < 50; ++t) sid::sidtick();
        benchmark::DoNotOptimize(synth::voices[0].level.load());
    }
    state.SetItemsProcessed(state.iterations() * 50);
}
BENCHMARK(playsecond)->Unit(benchmark::kMicrosecond);

void envelopesecond(benchmark::State& state)
{
    setupplayer();
    sid::sidwrite(0x05, 0x00);
    sid::sidwrite(0x06, 0x00);
    for (auto _ : state) {
        // Gate on at the fastest attack, then decay: one second of cycles in
        // 50 tick-sized batches.
        sid::sidwrite(0x04, 0x10);
        sid::sidwrite(0x04, 0x11);
        for (int t = 0; t < 50; ++t) sid::envadvance(0, 985248 / 50);
        benchmark::DoNotOptimize(sid::envstate[0].envlevel);
    }
}
BENCHMARK(envelopesecond)->Unit(benchmark::kMicrosecond);

}  // namespace
