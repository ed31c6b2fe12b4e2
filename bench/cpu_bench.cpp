// Processor speed: instructions per second of the interpreter on a loop of
// ordinary tune code (indexed loads and stores, arithmetic, a branch), and
// of a play-sized call with its reset and return through the BRK.
#include <benchmark/benchmark.h>

#include "players/sid/cpu.h"

namespace {

void storemem(uint16_t address, uint8_t value) { cpu::cpumem[address] = value; }

void loadloop() {
    cpu::cpusetup();
    cpu::memwritehook = storemem;
    cpu::cpumem.fill(0);
    const uint8_t code[] = {
        0xA2, 0x00,        // LDX #0
        0xBD, 0x00, 0x20,  // LDA $2000,X
        0x69, 0x03,        // ADC #3
        0x9D, 0x00, 0x30,  // STA $3000,X
        0x4A,              // LSR A
        0x85, 0x10,        // STA $10
        0xE8,              // INX
        0xD0, 0xF2,        // BNE to the LDA
        0x4C, 0x00, 0x10,  // JMP $1000
    };
    for (size_t i = 0; i < sizeof code; ++i)
        cpu::cpumem[0x1000 + i] = code[i];
}

void BM_Instructions(benchmark::State& state) {
    loadloop();
    const int32_t budget = 1 << 20;
    for (auto _ : state) {
        cpu::cpuhalted = false;
        cpu::pc = 0x1000;
        benchmark::DoNotOptimize(cpu::cpurun(budget));
    }
    state.SetItemsProcessed(state.iterations() * budget);
}
BENCHMARK(BM_Instructions);

// A play call of about 500 instructions, the size of the demo tunes' play
// routines: 50 passes of a ten-instruction loop.
void BM_PlaySizedCall(benchmark::State& state) {
    loadloop();
    const uint8_t code[] = {
        0xA0, 0x32,        // LDY #50
        0xB9, 0x00, 0x20,  // LDA $2000,Y
        0x18,              // CLC
        0x69, 0x01,        // ADC #1
        0x99, 0x00, 0x30,  // STA $3000,Y
        0x8D, 0x04, 0xD4,  // STA $D404
        0x88,              // DEY
        0xD0, 0xF1,        // BNE to the LDA
        0x60,              // RTS
    };
    for (size_t i = 0; i < sizeof code; ++i)
        cpu::cpumem[0x1100 + i] = code[i];
    for (auto _ : state)
        benchmark::DoNotOptimize(cpu::cpucall(0x1100, 0, 0x8000));
    // LDY, fifty passes of seven, RTS, and the BRK at 0x0001.
    if (cpu::cpubudget != 0x8000 - (1 + 50 * 7 + 1 + 1))
        state.SkipWithError("the call did not run the loop it was meant to");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PlaySizedCall);

}  // namespace
