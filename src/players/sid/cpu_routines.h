// The processor's addressing-mode and operation routines and the small
// helpers they share. Only the processor's own units and its tests use this.
#pragma once

#include "players/sid/cpu.h"

namespace cpu {

constexpr uint8_t flagc = 0x01;
constexpr uint8_t flagz = 0x02;
constexpr uint8_t flagi = 0x04;
constexpr uint8_t flagd = 0x08;
constexpr uint8_t flagb = 0x10;
constexpr uint8_t flagu = 0x20;
constexpr uint8_t flagv = 0x40;
constexpr uint8_t flagn = 0x80;

inline void setflag(uint8_t flag, bool on) {
    p = on ? static_cast<uint8_t>(p | flag) : static_cast<uint8_t>(p & ~flag);
}

inline void setzn(uint8_t v) {
    setflag(flagz, v == 0);
    setflag(flagn, (v & 0x80) != 0);
}

// Instruction writes go through the hook so that the player sees I/O.
inline void writemem(uint16_t address, uint8_t value) {
    if (memwritehook)
        memwritehook(address, value);
    else
        cpumem[address] = value;
}

inline uint16_t word(uint16_t address) {
    return static_cast<uint16_t>(cpumem[address] + 256 * cpumem[static_cast<uint16_t>(address + 1)]);
}

inline uint8_t operand() {
    modetab[cpuopcode]();
    return cpumem[cpuea];
}

// Addressing modes.
void modeimp();
void modeimm();
void modezp();
void modezpx();
void modezpy();
void modeabs();
void modeabsx();
void modeabsy();
void modeizx();
void modeizy();
void modeind();
void modeiax();
void moderel();

// Operations.
void opadc(); void opand(); void opanc(); void opasl(); void opasla();
void opbcc(); void opbcs(); void opbeq(); void opbmi(); void opbne();
void opbpl(); void opbra(); void opbvc(); void opbvs(); void opbit();
void opbrk(); void opclc(); void opcld(); void opcli(); void opclv();
void opcmp(); void opcpx(); void opcpy(); void opdec(); void opdea();
void opdex(); void opdey(); void opeor(); void opinc(); void opina();
void opinx(); void opiny(); void opjam(); void opjmp(); void opjsr();
void oplax(); void oplda(); void opldx(); void opldy(); void oplsr();
void oplsra(); void opnop(); void opora(); void oppha(); void opphp();
void opphx(); void opphy(); void oppla(); void opplp(); void opplx();
void opply(); void oprol(); void oprola(); void opror(); void oprora();
void oprti(); void oprts(); void opsbc(); void opsec(); void opsed();
void opsei(); void opsta(); void opstx(); void opsty(); void opstz();
void optax(); void optay(); void optrb(); void optsb(); void optsx();
void optxa(); void optxs(); void optya();

}  // namespace cpu
