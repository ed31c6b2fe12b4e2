// The opcode tables: addressing mode, operation and base cycle count of all
// 256 opcodes. Anything not listed is a one-byte NOP of 2 cycles.
#include "players/sid/cpu_routines.h"
#include "players/sid/cpuextra.h"

namespace cpu {

namespace {

struct opcodeentry {
    uint8_t opcode;
    oproutine op;
    moderoutine mode;
    uint8_t cycles;
};

// Immediate forms count 3 cycles and zero-page stores 2, not the chip's 2
// and 3: the envelope model counts these cycles, so they are kept exactly.
constexpr opcodeentry entries[] = {
    // ADC
    {0x69, opadc, modeimm, 3}, {0x65, opadc, modezp, 3}, {0x75, opadc, modezpx, 4},
    {0x6D, opadc, modeabs, 4}, {0x7D, opadc, modeabsx, 4}, {0x79, opadc, modeabsy, 4},
    {0x61, opadc, modeizx, 6}, {0x71, opadc, modeizy, 5},
    // AND
    {0x29, opand, modeimm, 3}, {0x25, opand, modezp, 3}, {0x35, opand, modezpx, 4},
    {0x2D, opand, modeabs, 4}, {0x3D, opand, modeabsx, 4}, {0x39, opand, modeabsy, 4},
    {0x21, opand, modeizx, 6}, {0x31, opand, modeizy, 5},
    // CMP
    {0xC9, opcmp, modeimm, 3}, {0xC5, opcmp, modezp, 3}, {0xD5, opcmp, modezpx, 4},
    {0xCD, opcmp, modeabs, 4}, {0xDD, opcmp, modeabsx, 4}, {0xD9, opcmp, modeabsy, 4},
    {0xC1, opcmp, modeizx, 6}, {0xD1, opcmp, modeizy, 5},
    // EOR
    {0x49, opeor, modeimm, 3}, {0x45, opeor, modezp, 3}, {0x55, opeor, modezpx, 4},
    {0x4D, opeor, modeabs, 4}, {0x5D, opeor, modeabsx, 4}, {0x59, opeor, modeabsy, 4},
    {0x41, opeor, modeizx, 6}, {0x51, opeor, modeizy, 5},
    // LDA
    {0xA9, oplda, modeimm, 3}, {0xA5, oplda, modezp, 3}, {0xB5, oplda, modezpx, 4},
    {0xAD, oplda, modeabs, 4}, {0xBD, oplda, modeabsx, 4}, {0xB9, oplda, modeabsy, 4},
    {0xA1, oplda, modeizx, 6}, {0xB1, oplda, modeizy, 5},
    // ORA
    {0x09, opora, modeimm, 3}, {0x05, opora, modezp, 3}, {0x15, opora, modezpx, 4},
    {0x0D, opora, modeabs, 4}, {0x1D, opora, modeabsx, 4}, {0x19, opora, modeabsy, 4},
    {0x01, opora, modeizx, 6}, {0x11, opora, modeizy, 5},
    // SBC
    {0xE9, opsbc, modeimm, 3}, {0xE5, opsbc, modezp, 3}, {0xF5, opsbc, modezpx, 4},
    {0xED, opsbc, modeabs, 4}, {0xFD, opsbc, modeabsx, 4}, {0xF9, opsbc, modeabsy, 4},
    {0xE1, opsbc, modeizx, 6}, {0xF1, opsbc, modeizy, 5},
    // STA
    {0x85, opsta, modezp, 2}, {0x95, opsta, modezpx, 4}, {0x8D, opsta, modeabs, 4},
    {0x9D, opsta, modeabsx, 5}, {0x99, opsta, modeabsy, 5}, {0x81, opsta, modeizx, 6},
    {0x91, opsta, modeizy, 6},
    // LDX, LDY
    {0xA2, opldx, modeimm, 3}, {0xA6, opldx, modezp, 3}, {0xB6, opldx, modezpy, 4},
    {0xAE, opldx, modeabs, 4}, {0xBE, opldx, modeabsy, 4},
    {0xA0, opldy, modeimm, 3}, {0xA4, opldy, modezp, 3}, {0xB4, opldy, modezpx, 4},
    {0xAC, opldy, modeabs, 4}, {0xBC, opldy, modeabsx, 4},
    // STX, STY
    {0x86, opstx, modezp, 2}, {0x96, opstx, modezpy, 4}, {0x8E, opstx, modeabs, 4},
    {0x84, opsty, modezp, 2}, {0x94, opsty, modezpx, 4}, {0x8C, opsty, modeabs, 4},
    // CPX, CPY
    {0xE0, opcpx, modeimm, 3}, {0xE4, opcpx, modezp, 3}, {0xEC, opcpx, modeabs, 4},
    {0xC0, opcpy, modeimm, 3}, {0xC4, opcpy, modezp, 3}, {0xCC, opcpy, modeabs, 4},
    // BIT
    {0x24, opbit, modezp, 3}, {0x2C, opbit, modeabs, 4},
    {0x89, opbit, modeimm, 2}, {0x34, opbit, modezpx, 4}, {0x3C, opbit, modeabsx, 4},
    // Shifts and rotates
    {0x0A, opasla, modeimp, 2}, {0x06, opasl, modezp, 5}, {0x16, opasl, modezpx, 6},
    {0x0E, opasl, modeabs, 6}, {0x1E, opasl, modeabsx, 7},
    {0x4A, oplsra, modeimp, 2}, {0x46, oplsr, modezp, 5}, {0x56, oplsr, modezpx, 6},
    {0x4E, oplsr, modeabs, 6}, {0x5E, oplsr, modeabsx, 7},
    {0x2A, oprola, modeimp, 2}, {0x26, oprol, modezp, 5}, {0x36, oprol, modezpx, 6},
    {0x2E, oprol, modeabs, 6}, {0x3E, oprol, modeabsx, 7},
    {0x6A, oprora, modeimp, 2}, {0x66, opror, modezp, 5}, {0x76, opror, modezpx, 6},
    {0x6E, opror, modeabs, 6}, {0x7E, opror, modeabsx, 7},
    // INC, DEC
    {0xE6, opinc, modezp, 5}, {0xF6, opinc, modezpx, 6}, {0xEE, opinc, modeabs, 6},
    {0xFE, opinc, modeabsx, 7},
    {0xC6, opdec, modezp, 5}, {0xD6, opdec, modezpx, 6}, {0xCE, opdec, modeabs, 6},
    {0xDE, opdec, modeabsx, 7},
    {0x1A, opina, modeimp, 2}, {0x3A, opdea, modeimp, 2},
    {0xE8, opinx, modeimp, 2}, {0xC8, opiny, modeimp, 2},
    {0xCA, opdex, modeimp, 2}, {0x88, opdey, modeimp, 2},
    // Transfers
    {0xAA, optax, modeimp, 2}, {0xA8, optay, modeimp, 2}, {0x8A, optxa, modeimp, 2},
    {0x98, optya, modeimp, 2}, {0xBA, optsx, modeimp, 2}, {0x9A, optxs, modeimp, 2},
    // Stack
    {0x48, oppha, modeimp, 3}, {0x08, opphp, modeimp, 3},
    {0x68, oppla, modeimp, 4}, {0x28, opplp, modeimp, 4},
    {0xDA, opphx, modeimp, 3}, {0x5A, opphy, modeimp, 3},
    {0xFA, opplx, modeimp, 4}, {0x7A, opply, modeimp, 4},
    // Jumps, calls, returns
    {0x4C, opjmp, modeabs, 3}, {0x6C, opjmp, modeind, 5}, {0x7C, opjmp, modeiax, 6},
    {0x20, opjsr, modeabs, 6}, {0x60, oprts, modeimp, 6}, {0x40, oprti, modeimp, 6},
    // Branches
    {0x10, opbpl, moderel, 2}, {0x30, opbmi, moderel, 2}, {0x50, opbvc, moderel, 2},
    {0x70, opbvs, moderel, 2}, {0x90, opbcc, moderel, 2}, {0xB0, opbcs, moderel, 2},
    {0xD0, opbne, moderel, 2}, {0xF0, opbeq, moderel, 2}, {0x80, opbra, moderel, 2},
    // Flags
    {0x18, opclc, modeimp, 2}, {0x38, opsec, modeimp, 2}, {0xD8, opcld, modeimp, 2},
    {0xF8, opsed, modeimp, 2}, {0x58, opcli, modeimp, 2}, {0x78, opsei, modeimp, 2},
    {0xB8, opclv, modeimp, 2},
    // STZ, TSB, TRB
    {0x64, opstz, modezp, 3}, {0x74, opstz, modezpx, 4}, {0x9C, opstz, modeabs, 4},
    {0x9E, opstz, modeabsx, 5},
    {0x04, optsb, modezp, 3}, {0x0C, optsb, modeabs, 4},
    {0x14, optrb, modezp, 3}, {0x1C, optrb, modeabs, 4},
    // LAX, ANC
    {0xA3, oplax, modeizx, 2}, {0xA7, oplax, modezp, 2}, {0xAF, oplax, modeabs, 2},
    {0xB3, oplax, modeizy, 2}, {0xB7, oplax, modezpy, 2}, {0xBF, oplax, modeabsy, 2},
    {0x0B, opanc, modeimm, 2}, {0x2B, opanc, modeimm, 2},
    // Halts
    {0x00, opbrk, modeimp, 7},
    {0x02, opjam, modeimp, 2}, {0x12, opjam, modeimp, 2}, {0x22, opjam, modeimp, 2},
    {0x32, opjam, modeimp, 2}, {0x42, opjam, modeimp, 2}, {0x52, opjam, modeimp, 2},
    {0x62, opjam, modeimp, 2}, {0x72, opjam, modeimp, 2}, {0x92, opjam, modeimp, 2},
    {0xB2, opjam, modeimp, 2}, {0xD2, opjam, modeimp, 2}, {0xF2, opjam, modeimp, 2},
    // The documented NOP; every other opcode falls back to the same.
    {0xEA, opnop, modeimp, 2},
};

}  // namespace

void cpusetup() {
    for (int op = 0; op < 256; ++op) {
        modetab[op] = modeimp;
        optab[op] = opnop;
        cycletab[op] = 2;
    }
    for (const opcodeentry& e : entries) {
        modetab[e.opcode] = e.mode;
        optab[e.opcode] = e.op;
        cycletab[e.opcode] = e.cycles;
    }
    cpuextraops();
}

}  // namespace cpu
