// The 6502 processor that runs a tune's own init and play routines: one
// static instance with a flat 64 KB memory, table-driven dispatch, an
// instruction budget and the return-through-BRK rule.
#pragma once

#include <array>
#include <cstdint>

namespace cpu {

using moderoutine = void (*)();
using oproutine = void (*)();
using writehook = void (*)(uint16_t address, uint8_t value);

extern uint8_t a, x, y, p, s;
extern uint16_t pc;
extern std::array<uint8_t, 65536> cpumem;
extern bool cpuhalted;
extern int32_t cpubudget;
extern uint32_t cpucycles;
extern uint8_t cpuopcode;
extern uint16_t cpuea;
extern writehook memwritehook;

extern std::array<moderoutine, 256> modetab;
extern std::array<oproutine, 256> optab;
extern std::array<uint8_t, 256> cycletab;

// Fills the three tables; once, before anything else here is used.
void cpusetup();

// A, X, Y := 0, P := 0x20, S := 0xFF, PC := the reset vector at 0xFFFC.
void cpureset();

// Runs until BRK (true) or until the budget is spent or a JAM (false).
bool cpurun(int32_t budget);

// One instruction, its cycles added to cpucycles; for a caller that looks at
// the machine between instructions. A JAM shows as cpubudget set to 1.
void cpustep();

// The processor's interrupt entry: PC and P (with B clear) pushed, I set,
// PC from the vector (0xFFFE for IRQ, 0xFFFA for NMI) as memory holds it;
// seven cycles.
void cpuinterrupt(uint16_t vector);

// A byte onto the stack, direct (no write hook).
inline void cpupush(uint8_t v) {
    cpumem[0x0100 + s] = v;
    s = static_cast<uint8_t>(s - 1);
}

// The call sequence of a tune routine, up to its first instruction: clears
// cpuhalted, resets, sets A, pushes the return address back (the routine's
// RTS continues at back + 1) and sets PC to address.
void cpuprepare(uint16_t address, uint8_t acc, uint16_t back = 0x0000);

// cpuprepare with the return address 0x0000, then the run with the budget.
bool cpucall(uint16_t address, uint8_t acc, int32_t budget);

}  // namespace cpu
