#include "players/sid/machine.h"

#include <algorithm>
#include <cstring>

#include "players/sid/cpu.h"
#include "players/sid/sidmodel.h"
#include "players/sid/sidregs.h"

namespace sid {

machinestate machine;

namespace {

constexpr uint16_t iostart = 0xD000;
constexpr uint8_t flagi = 0x04;

// Processor cycles consumed so far in this tick: every register write moves
// cycles from cpucycles to cyclebudget, so the difference only grows.
int64_t spent()
{
    return int64_t{cpu::cpucycles} - cyclebudget;
}

void ioset(uint16_t address, uint8_t value)
{
    machine.io[address - iostart] = value;
    if (machine.iovisible) cpu::cpumem[address] = value;
}

// The registers whose reads change with time, as a read would see them now.
void refresh()
{
    const uint16_t line = rasterline(machine.clock);
    const vicstate& v = machine.vic;
    ioset(0xD011, static_cast<uint8_t>((v.control & 0x7F) | ((line >> 1) & 0x80)));
    ioset(0xD012, static_cast<uint8_t>(line & 0xFF));
    const bool vicirq = (v.irqflags & v.irqenable & 0x0F) != 0;
    ioset(0xD019, static_cast<uint8_t>(0x70 | v.irqflags | (vicirq ? 0x80 : 0)));
    ioset(0xD01A, static_cast<uint8_t>(0xF0 | v.irqenable));
    for (int c = 0; c < 2; ++c) {
        const ciachip& cia = machine.cia[static_cast<size_t>(c)];
        const uint16_t base = static_cast<uint16_t>(0xDC00 + 0x100 * c);
        for (int t = 0; t < 2; ++t) {
            ioset(static_cast<uint16_t>(base + 4 + 2 * t), static_cast<uint8_t>(cia.timer[static_cast<size_t>(t)].counter & 0xFF));
            ioset(static_cast<uint16_t>(base + 5 + 2 * t), static_cast<uint8_t>(cia.timer[static_cast<size_t>(t)].counter >> 8));
        }
        ioset(static_cast<uint16_t>(base + 0x0D), ciaicrvalue(cia));
    }
}

void updatenmi()
{
    const bool line = ciainterrupt(machine.cia[1]);
    if (line && !machine.nmiline) machine.nmipending = true;
    machine.nmiline = line;
}

bool irqline()
{
    const vicstate& v = machine.vic;
    return (v.irqflags & v.irqenable & 0x0F) != 0 || ciainterrupt(machine.cia[0]);
}

// Cycles from now to the next start of the raster interrupt's line.
uint64_t rastercyclestoevent()
{
    const uint64_t now = machine.clock;
    if (machine.vic.compare >= rasterlines) return UINT64_MAX;
    uint64_t at = now - now % framecycles + uint64_t{machine.vic.compare} * linecycles;
    if (at <= now) at += framecycles;
    return at - now;
}

// The devices run for n cycles.
void advance(int64_t n)
{
    while (n > 0) {
        // Counted in pieces that a 32-bit timer step and one raster line
        // start per piece can take.
        const uint64_t piece = std::min<uint64_t>(static_cast<uint64_t>(n), framecycles);
        if (rastercyclestoevent() <= piece) machine.vic.irqflags |= 0x01;
        for (ciachip& c : machine.cia) ciaadvance(c, static_cast<uint32_t>(piece));
        machine.clock += piece;
        n -= static_cast<int64_t>(piece);
    }
    updatenmi();
    refresh();
}

uint64_t cyclestoevent()
{
    uint64_t soonest = rastercyclestoevent();
    for (const ciachip& c : machine.cia) soonest = std::min<uint64_t>(soonest, ciacyclestoevent(c));
    return std::max<uint64_t>(soonest, 1);
}

bool isstore(uint8_t op)
{
    switch (op) {
    case 0x81: case 0x84: case 0x85: case 0x86: case 0x8C: case 0x8D: case 0x8E:
    case 0x91: case 0x94: case 0x95: case 0x96: case 0x99: case 0x9D:
    case 0x64: case 0x74: case 0x9C: case 0x9E:
        return true;
    default:
        return false;
    }
}

bool isreadmodifywrite(uint8_t op)
{
    switch (op) {
    case 0x0E: case 0x1E: case 0x2E: case 0x3E: case 0x4E: case 0x5E: case 0x6E: case 0x7E:
    case 0xCE: case 0xDE: case 0xEE: case 0xFE:
        return true;
    default:
        return false;
    }
}

// A read of a CIA's interrupt control register acknowledges its flags.
void acknowledgereads()
{
    if (isstore(cpu::cpuopcode) || !machine.iovisible) return;
    for (int c = 0; c < 2; ++c) {
        if ((cpu::cpuea & 0xFF0F) == 0xDC0D + 0x100 * c) {
            machine.cia[static_cast<size_t>(c)].icrflags = 0;
            if (c == 1) updatenmi();
        }
    }
}

void vicwrite(uint8_t reg, uint8_t value)
{
    vicstate& v = machine.vic;
    switch (reg) {
    case 0x11:
        v.control = value;
        v.compare = static_cast<uint16_t>((v.compare & 0xFF) | ((value & 0x80) << 1));
        break;
    case 0x12: v.compare = static_cast<uint16_t>((v.compare & 0x100) | value); break;
    case 0x19: {
        // A read-modify-write instruction writes the flags it read first,
        // which is what acknowledges them on the chip.
        const uint8_t acknowledged = static_cast<uint8_t>(value | (isreadmodifywrite(cpu::cpuopcode) ? v.irqflags : 0));
        v.irqflags = static_cast<uint8_t>(v.irqflags & ~acknowledged & 0x0F);
        break;
    }
    case 0x1A: v.irqenable = value & 0x0F; break;
    default: break;
    }
}

// A write to a SID's registers. Samples played through the volume register
// cannot be re-voiced: past digiwrites such writes in a tick, the volume
// nibble is held at its value before the samples started (the filter mode
// bits still change).
void chipwrite(int chip, uint8_t reg, uint8_t value)
{
    if (reg == 0x18) {
        ++machine.volumewrites;
        if (!machine.digiheld && machine.volumewrites > digiwrites) {
            machine.digiheld = true;
            for (int c = 0; c < sidchips; ++c)
                sidwritechip(c, 0x18, static_cast<uint8_t>((chipregs[static_cast<size_t>(c)][0x18] & 0xF0) | machine.heldvolume[static_cast<size_t>(c)]));
        }
        if (machine.digiheld) value = static_cast<uint8_t>((value & 0xF0) | machine.heldvolume[static_cast<size_t>(chip)]);
    }
    sidwritechip(chip, reg, value);
}

void iowrite(uint16_t address, uint8_t value)
{
    const int chip = sidchipat(address);
    if (chip >= 0) {
        chipwrite(chip, address & 0x1F, value);
        return;
    }
    const uint8_t page = static_cast<uint8_t>(address >> 8);
    if (page >= 0xD0 && page <= 0xD3) {
        vicwrite(address & 0x3F, value);
    } else if (page == 0xDC || page == 0xDD) {
        ciawrite(machine.cia[page - 0xDC], address & 0x0F, value);
        updatenmi();
    } else if (page >= 0xD4 && page <= 0xD7) {
        return;  // a SID's page, not a chip of this tune: nothing to hold
    }
    ioset(address, value);
    refresh();
}

// Our ROM never changes: built once, at the first RSID tune.
const romimage& systemrom()
{
    static const romimage rom = buildrom();
    return rom;
}

void copyout(uint16_t address, uint8_t* to, size_t n) { std::memcpy(to, cpu::cpumem.data() + address, n); }
void copyin(uint16_t address, const uint8_t* from, size_t n) { std::memcpy(cpu::cpumem.data() + address, from, n); }

// The processor port: lines set as inputs read high. I/O shows when either
// ROM line is high and CHAREN is; the system ROM when HIRAM is. The BASIC
// and character ROMs are not there: RAM shows instead.
void rebank()
{
    const uint8_t port = static_cast<uint8_t>(cpu::cpumem[1] | ~cpu::cpumem[0]);
    const bool io = (port & 0x03) != 0 && (port & 0x04) != 0;
    const bool kernal = (port & 0x02) != 0;
    if (io != machine.iovisible) {
        if (io) {
            copyout(0xD000, machine.under.data(), 0x1000);
            copyin(0xD000, machine.io.data(), 0x1000);
        } else {
            copyin(0xD000, machine.under.data(), 0x1000);
        }
        machine.iovisible = io;
    }
    if (kernal != machine.kernalvisible) {
        if (kernal) {
            copyout(romstart, machine.under.data() + 0x1000, 0x2000);
            copyin(romstart, systemrom().data(), 0x2000);
        } else {
            copyin(romstart, machine.under.data() + 0x1000, 0x2000);
        }
        machine.kernalvisible = kernal;
    }
}

void enterinterrupt(uint16_t vector)
{
    machine.entrystack[static_cast<size_t>(machine.depth)] = cpu::s;
    ++machine.depth;
    const int64_t before = spent();
    cpu::cpuinterrupt(vector);
    advance(spent() - before);
}

}  // namespace

uint16_t rasterline(uint64_t clock)
{
    return static_cast<uint16_t>(clock / linecycles % rasterlines);
}

void machinereset(machinemode mode)
{
    machine = machinestate{};
    machine.mode = mode;
    // The system's 60 Hz interrupt on a PAL machine.
    ciachip& c = machine.cia[0];
    c.timer[0].latch = c.timer[0].counter = 0x4025;
    c.timer[0].control = 0x01;
    c.icrmask = 0x01;
    if (mode == machinemode::interrupts) {
        // Everything shows RAM until the port is set below.
        machine.iovisible = machine.kernalvisible = false;
        auto setword = [](uint16_t at, uint16_t value) {
            cpu::cpumem[at] = static_cast<uint8_t>(value & 0xFF);
            cpu::cpumem[at + 1] = static_cast<uint8_t>(value >> 8);
        };
        setword(irqvector, romirqhandler);
        setword(brkvector, rombrkhandler);
        setword(nmivector, romnmihandler);
        cpu::cpumem[0x02A6] = 1;  // PAL
        cpu::cpumem[0] = 0x2F;
        cpu::cpumem[1] = 0x37;
        rebank();
    }
    refresh();
}

bool machinewrite(uint16_t address, uint8_t value)
{
    if (machine.mode == machinemode::polled) {
        // Flat memory: the devices see their writes, the player's bus does
        // the rest as for any PSID.
        const uint8_t page = static_cast<uint8_t>(address >> 8);
        if (page >= 0xD0 && page <= 0xD3) vicwrite(address & 0x3F, value);
        if (page == 0xDC || page == 0xDD) {
            ciawrite(machine.cia[page - 0xDC], address & 0x0F, value);
            updatenmi();
        }
        return false;
    }
    if (address <= 1) {
        cpu::cpumem[address] = value;
        rebank();
    } else if (address >= 0xD000 && address < romstart && machine.iovisible) {
        iowrite(address, value);
    } else if (address >= romstart && machine.kernalvisible) {
        machine.under[address - 0xD000u] = value;
    } else {
        cpu::cpumem[address] = value;
    }
    return true;
}

bool machinecall(uint16_t address, uint8_t acc, int32_t budget)
{
    cpu::cpuprepare(address, acc);
    cpu::cpucycles = 0;
    cpu::cpubudget = budget;
    bool result = true;
    while (!cpu::cpuhalted) {
        const int64_t before = spent();
        cpu::cpuea = 0;
        cpu::cpustep();
        if (--cpu::cpubudget <= 0) {
            cpu::cpuhalted = true;
            result = false;
        }
        acknowledgereads();
        advance(spent() - before);
    }
    return result;
}

void machineadvance(uint32_t n)
{
    advance(n);
}

void machinestart(uint16_t address, uint8_t acc)
{
    // The init routine's RTS lands on the idle loop.
    cpu::cpuprepare(address, acc, static_cast<uint16_t>(idleaddress - 1));
}

void machinereadback()
{
    // The bytes go to the I/O image; RAM keeps its own while I/O is out.
    std::array<std::array<uint8_t, 2>, maxchips> saved{};
    for (int c = 0; c < sidchips; ++c)
        for (int i = 0; i < 2; ++i) saved[static_cast<size_t>(c)][static_cast<size_t>(i)] = cpu::cpumem[sidbase[static_cast<size_t>(c)] + 0x1B + i];
    beforeplay();
    for (int c = 0; c < sidchips; ++c) {
        for (int i = 0; i < 2; ++i) {
            const uint16_t address = static_cast<uint16_t>(sidbase[static_cast<size_t>(c)] + 0x1B + i);
            machine.io[address - iostart] = cpu::cpumem[address];
            if (!machine.iovisible) cpu::cpumem[address] = saved[static_cast<size_t>(c)][static_cast<size_t>(i)];
        }
    }
}

bool machinerun(int32_t handlerbudget)
{
    machine.digiheld = machine.lastvolumewrites > digiwrites;
    if (!machine.digiheld)
        for (int c = 0; c < maxchips; ++c) machine.heldvolume[static_cast<size_t>(c)] = chipvolume[static_cast<size_t>(c)];
    machine.volumewrites = 0;
    cpu::cpuhalted = false;
    cpu::cpucycles = 0;
    bool result = true;
    while (int64_t{cpu::cpucycles} < cyclebudget) {
        if (machine.nmipending || (irqline() && !(machine.pollmask >= 0 ? machine.pollmask : (cpu::p & flagi)))) {
            if (machine.depth == static_cast<int>(machine.entrystack.size())) {
                result = false;
                break;
            }
            const bool nmi = machine.nmipending;
            machine.nmipending = false;
            machine.pollmask = -1;
            enterinterrupt(nmi ? 0xFFFA : 0xFFFE);
            continue;
        }
        machine.pollmask = -1;
        // Idle, or a jump to itself: nothing moves until the next event.
        const uint16_t pc = cpu::pc;
        const bool waiting = (machine.depth == 0 && pc == idleaddress) ||
                             (cpu::cpumem[pc] == 0x4C && cpu::cpumem[static_cast<uint16_t>(pc + 1)] == (pc & 0xFF) &&
                              cpu::cpumem[static_cast<uint16_t>(pc + 2)] == (pc >> 8));
        if (waiting) {
            const uint64_t left = static_cast<uint64_t>(cyclebudget - int64_t{cpu::cpucycles});
            const uint64_t n = std::min(left, cyclestoevent());
            cpu::cpucycles += static_cast<uint32_t>(n);
            advance(static_cast<int64_t>(n));
            continue;
        }
        const int64_t before = spent();
        const uint8_t ibefore = cpu::p & flagi;
        cpu::cpuea = 0;
        cpu::cpubudget = 2;
        cpu::cpustep();
        const uint8_t op = cpu::cpuopcode;
        if (cpu::cpubudget == 1) {  // JAM
            result = false;
            break;
        }
        if (cpu::cpuhalted) {
            // A BRK ends the main program; inside a handler it is a crash.
            if (machine.depth > 0) {
                result = false;
                break;
            }
            cpu::cpuhalted = false;
            cpu::pc = idleaddress;
        }
        if (machine.depth > 0 && ++machine.handlersteps > handlerbudget) {
            result = false;
            break;
        }
        if (op == 0x40 && machine.depth > 0 && cpu::s == machine.entrystack[static_cast<size_t>(machine.depth - 1)]) {
            if (--machine.depth == 0) machine.handlersteps = 0;
        }
        // CLI, SEI and PLP change I after the chip has polled for this
        // instruction: the next check still sees the old flag.
        if (op == 0x58 || op == 0x78 || op == 0x28) machine.pollmask = static_cast<int8_t>(ibefore);
        acknowledgereads();
        advance(spent() - before);
    }
    machine.lastvolumewrites = machine.volumewrites;
    return result;
}

}  // namespace sid
