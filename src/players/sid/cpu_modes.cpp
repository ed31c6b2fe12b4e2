// The addressing modes: each leaves the operand's address in cpuea and moves
// PC past the operand bytes.
#include "players/sid/cpu_routines.h"

namespace cpu {

namespace {

void advance(int n) { pc = static_cast<uint16_t>(pc + n); }

// The reading instructions pay one cycle more whenever the index is used;
// their base count is what tells them from stores and read-modify-writes.
void indexed(uint8_t index, uint8_t readcycles) {
    if (cycletab[cpuopcode] == readcycles && index != 0)
        cpucycles += 1;
    cpuea = static_cast<uint16_t>(cpuea + index);
}

}  // namespace

void modeimp() {}

void modeimm() {
    cpuea = pc;
    advance(1);
}

void modezp() {
    cpuea = cpumem[pc];
    advance(1);
}

void modezpx() {
    cpuea = static_cast<uint8_t>(cpumem[pc] + x);
    advance(1);
}

void modezpy() {
    cpuea = static_cast<uint8_t>(cpumem[pc] + y);
    advance(1);
}

void modeabs() {
    cpuea = word(pc);
    advance(2);
}

void modeabsx() {
    cpuea = word(pc);
    advance(2);
    indexed(x, 4);
}

void modeabsy() {
    cpuea = word(pc);
    advance(2);
    indexed(y, 4);
}

// The pointer's high byte comes from t + 1 in page one when t is 0xFF.
void modeizx() {
    uint16_t t = static_cast<uint8_t>(cpumem[pc] + x);
    advance(1);
    cpuea = static_cast<uint16_t>(cpumem[t] + 256 * cpumem[t + 1]);
}

void modeizy() {
    uint16_t t = cpumem[pc];
    advance(1);
    cpuea = static_cast<uint16_t>(cpumem[t] + 256 * cpumem[t + 1]);
    indexed(y, 5);
}

// The high byte of the target is read from the same page as the low byte.
void modeind() {
    uint16_t ptr = word(pc);
    advance(2);
    uint16_t hi = static_cast<uint16_t>((ptr & 0xFF00) | ((ptr + 1) & 0x00FF));
    cpuea = static_cast<uint16_t>(cpumem[ptr] + 256 * cpumem[hi]);
}

void modeiax() {
    uint16_t ptr = static_cast<uint16_t>(word(pc) + x);
    cpuea = word(ptr);
}

// cpuea holds the sign-extended offset; the comparison of its high byte
// with PC's adds the cycle on nearly every taken branch.
void moderel() {
    cpuea = cpumem[pc];
    advance(1);
    if (cpuea & 0x80)
        cpuea = static_cast<uint16_t>(cpuea - 256);
    if ((cpuea >> 8) != (pc >> 8))
        cpucycles += 1;
}

}  // namespace cpu
