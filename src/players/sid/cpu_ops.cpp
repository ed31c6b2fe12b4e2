// The operations. Each calls its addressing mode itself when it needs an
// operand, so implied instructions and untaken branches cost no mode call.
#include "players/sid/cpu_routines.h"

namespace cpu {

namespace {

uint8_t u8(int v) { return static_cast<uint8_t>(v & 0xFF); }
uint16_t u16(int v) { return static_cast<uint16_t>(v & 0xFFFF); }

void push(uint8_t v) { cpupush(v); }

uint8_t pull() {
    s = u8(s + 1);
    return cpumem[0x0100 + s];
}

void compare(uint8_t reg) {
    int t = reg + 256 - operand();
    setflag(flagc, t > 255);
    setzn(u8(t));
}

void branch(bool taken) {
    if (!taken) {
        pc = u16(pc + 1);
        return;
    }
    modetab[cpuopcode]();
    pc = u16(pc + cpuea);
    cpucycles += 1;
}

// Read-modify-write on memory: the result goes out through the hook.
template <class F>
void modify(F f) {
    uint8_t m = operand();
    uint8_t r = f(m);
    writemem(cpuea, r);
    setzn(r);
}

uint8_t asl(uint8_t v) {
    setflag(flagc, (v & 0x80) != 0);
    return u8(v << 1);
}

uint8_t lsr(uint8_t v) {
    setflag(flagc, (v & 0x01) != 0);
    return u8(v >> 1);
}

uint8_t rol(uint8_t v) {
    int carry = p & flagc;
    setflag(flagc, (v & 0x80) != 0);
    return u8((v << 1) | carry);
}

uint8_t ror(uint8_t v) {
    int carry = (p & flagc) ? 0x80 : 0;
    setflag(flagc, (v & 0x01) != 0);
    return u8((v >> 1) | carry);
}

}  // namespace

// Loads and stores.
void oplda() { a = operand(); setzn(a); }
void opldx() { x = operand(); setzn(x); }
void opldy() { y = operand(); setzn(y); }
void oplax() { a = operand(); x = a; setzn(a); }
void opsta() { modetab[cpuopcode](); writemem(cpuea, a); }
void opstx() { modetab[cpuopcode](); writemem(cpuea, x); }
void opsty() { modetab[cpuopcode](); writemem(cpuea, y); }
void opstz() { modetab[cpuopcode](); cpumem[cpuea] = 0; }

// Logic.
void opand() { a = a & operand(); setzn(a); }
void opora() { a = a | operand(); setzn(a); }
void opeor() { a = a ^ operand(); setzn(a); }

void opanc() {
    a = a & operand();
    setflag(flagc, (a & 0x80) != 0);
    setzn(a);
}

void opbit() {
    uint8_t m = operand();
    setflag(flagz, (a & m) == 0);
    setflag(flagn, (m & 0x80) != 0);
    setflag(flagv, (m & 0x40) != 0);
}

void optsb() {
    uint8_t m = operand();
    writemem(cpuea, m | a);
    setflag(flagz, cpumem[cpuea] == 0);
}

void optrb() {
    uint8_t m = operand();
    writemem(cpuea, m & u8(~a));
    setflag(flagz, cpumem[cpuea] == 0);
}

// Arithmetic. All intermediates are 16-bit, as the decimal correction
// depends on the bits above the low byte.
void opadc() {
    uint16_t m = operand();
    uint16_t c = p & flagc;
    uint16_t sum = u16(a + m + c);
    setflag(flagv, ((~(a ^ m)) & (a ^ sum) & 0x80) != 0);
    setflag(flagz, (sum & 0xFF) == 0);
    if (!(p & flagd)) {
        setflag(flagc, sum > 0xFF);
        setflag(flagn, (sum & 0x80) != 0);
    } else {
        uint16_t lo = u16((a & 0x0F) + (m & 0x0F) + c);
        if (lo > 9)
            lo = u16(lo + 6);
        sum = u16((lo & 0x0F) + (a & 0xF0) + (m & 0xF0) + (lo >= 16 ? 0x10 : 0));
        setflag(flagn, (sum & 0x80) != 0);
        if ((sum & 0x1F0) > 0x90)
            sum = u16(sum + 0x60);
        setflag(flagc, (sum & 0xFF0) > 0xF0);
    }
    a = u8(sum);
}

void opsbc() {
    uint16_t m = operand();
    uint16_t b = (p & flagc) ? 0 : 1;
    uint16_t diff = u16(a - m - b);
    setflag(flagv, ((a ^ diff) & (a ^ m) & 0x80) != 0);
    if (p & flagd) {
        uint16_t lo = u16((a & 0x0F) - (m & 0x0F) - b);
        uint16_t r;
        if (lo & 0x10)
            r = u16(((a & 0xF0) - (m & 0xF0) - 0x10) | ((lo - 6) & 0x0F));
        else
            r = u16(((a & 0xF0) - (m & 0xF0)) | (lo & 0x0F));
        if (r & 0x100)
            r = u16(r - 0x60);
        a = u8(r);
    } else {
        a = u8(diff);
    }
    setflag(flagn, (diff & 0x80) != 0);
    setflag(flagz, (diff & 0xFF) == 0);
    setflag(flagc, diff < 0x100);
}

void opcmp() { compare(a); }
void opcpx() { compare(x); }
void opcpy() { compare(y); }

// Increments and decrements. On memory the flags come from memory as it
// reads after the write, which differs when the hook keeps the byte.
void opinc() {
    uint8_t m = operand();
    writemem(cpuea, u8(m + 1));
    setzn(cpumem[cpuea]);
}

void opdec() {
    uint8_t m = operand();
    writemem(cpuea, u8(m - 1));
    setzn(cpumem[cpuea]);
}

void opinx() { x = u8(x + 1); setzn(x); }
void opiny() { y = u8(y + 1); setzn(y); }
void opdex() { x = u8(x - 1); setzn(x); }
void opdey() { y = u8(y - 1); setzn(y); }
void opina() { a = u8(a + 1); setzn(a); }
void opdea() { a = u8(a - 1); setzn(a); }

// Shifts and rotates, on the accumulator and on memory.
void opasla() { a = asl(a); setzn(a); }
void oplsra() { a = lsr(a); setzn(a); }
void oprola() { a = rol(a); setzn(a); }
void oprora() { a = ror(a); setzn(a); }
void opasl() { modify(asl); }
void oplsr() { modify(lsr); }
void oprol() { modify(rol); }
void opror() { modify(ror); }

// Transfers.
void optax() { x = a; setzn(x); }
void optay() { y = a; setzn(y); }
void optxa() { a = x; setzn(a); }
void optya() { a = y; setzn(a); }
void optsx() { x = s; setzn(x); }
void optxs() { s = x; }

// Stack.
void oppha() { push(a); }
void opphp() { push(p | flagb | flagu); }
void opphx() { push(x); }
void opphy() { push(y); }
void oppla() { a = pull(); setzn(a); }
void opplx() { x = pull(); setzn(x); }
void opply() { y = pull(); setzn(y); }
void opplp() { p = pull() | flagu; }

// Jumps and calls. JSR pushes through the hook, unlike the push operations.
void opjsr() {
    pc = u16(pc + 1);
    writemem(u16(0x0100 + s), u8(pc >> 8));
    s = u8(s - 1);
    writemem(u16(0x0100 + s), u8(pc));
    s = u8(s - 1);
    pc = u16(pc - 1);
    modeabs();
    pc = cpuea;
}

void oprts() {
    uint8_t lo = pull();
    uint8_t hi = pull();
    pc = u16(lo + 256 * hi + 1);
}

void oprti() {
    p = pull() | flagu;
    uint8_t lo = pull();
    uint8_t hi = pull();
    pc = u16(lo + 256 * hi);
}

void opjmp() {
    modetab[cpuopcode]();
    pc = cpuea;
}

// Branches.
void opbpl() { branch(!(p & flagn)); }
void opbmi() { branch(p & flagn); }
void opbvc() { branch(!(p & flagv)); }
void opbvs() { branch(p & flagv); }
void opbcc() { branch(!(p & flagc)); }
void opbcs() { branch(p & flagc); }
void opbne() { branch(!(p & flagz)); }
void opbeq() { branch(p & flagz); }
void opbra() { branch(true); }

// Flags.
void opclc() { setflag(flagc, false); }
void opsec() { setflag(flagc, true); }
void opcld() { setflag(flagd, false); }
void opsed() { setflag(flagd, true); }
void opcli() { setflag(flagi, false); }
void opsei() { setflag(flagi, true); }
void opclv() { setflag(flagv, false); }

// Halting: BRK ends the run as a return; JAM lets the budget end it.
void opbrk() { cpuhalted = true; }
void opjam() { cpubudget = 1; }
void opnop() {}

}  // namespace cpu
