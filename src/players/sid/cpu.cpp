// Processor state, reset, the run loop and the call sequence of a tune
// routine.
#include "players/sid/cpu.h"

namespace cpu {

uint8_t a, x, y, p = 0x20, s = 0xFF;
uint16_t pc;
std::array<uint8_t, 65536> cpumem;
bool cpuhalted;
int32_t cpubudget;
uint32_t cpucycles;
uint8_t cpuopcode;
uint16_t cpuea;
writehook memwritehook;

std::array<moderoutine, 256> modetab;
std::array<oproutine, 256> optab;
std::array<uint8_t, 256> cycletab;

void cpureset() {
    a = 0;
    x = 0;
    y = 0;
    p = 0x20;
    s = 0xFF;
    pc = static_cast<uint16_t>(cpumem[0xFFFC] + 256 * cpumem[0xFFFD]);
}

void cpustep() {
    cpuopcode = cpumem[pc];
    cpucycles += cycletab[cpuopcode];
    pc = static_cast<uint16_t>(pc + 1);
    p |= 0x30;
    optab[cpuopcode]();
}

bool cpurun(int32_t budget) {
    cpucycles = 0;
    cpubudget = budget;
    bool result = true;
    while (!cpuhalted) {
        cpustep();
        cpubudget -= 1;
        // A budget of 0 or below would otherwise count down past zero
        // forever; it ends the run after one instruction like a budget of 1.
        if (cpubudget <= 0) {
            cpuhalted = true;
            result = false;
        }
    }
    return result;
}

void cpuinterrupt(uint16_t vector) {
    cpupush(static_cast<uint8_t>(pc >> 8));
    cpupush(static_cast<uint8_t>(pc & 0xFF));
    cpupush(static_cast<uint8_t>((p & ~0x10) | 0x20));
    p |= 0x04;
    pc = static_cast<uint16_t>(cpumem[vector] + 256 * cpumem[static_cast<uint16_t>(vector + 1)]);
    cpucycles += 7;
}

void cpuprepare(uint16_t address, uint8_t acc, uint16_t back) {
    cpuhalted = false;
    cpureset();
    a = acc;
    cpupush(static_cast<uint8_t>(back >> 8));
    cpupush(static_cast<uint8_t>(back & 0xFF));
    pc = address;
}

bool cpucall(uint16_t address, uint8_t acc, int32_t budget) {
    // The return address 0x0000: the routine's RTS continues at 0x0001,
    // where a zero byte halts the run.
    cpuprepare(address, acc);
    return cpurun(budget);
}

}  // namespace cpu
