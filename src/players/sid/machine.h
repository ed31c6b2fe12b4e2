// The least machine that interrupt-driven tunes need around the processor:
// the two CIAs' timers, the video chip's raster counter and its raster
// interrupt (PAL: 312 lines of 63 cycles), the processor port that banks
// I/O and the system ROM in and out, and our own ROM-entry routines.
//
// Two ways to run it. Interrupts (RSID tunes): the tune's init starts as the
// main program and each tick runs the machine for the tick's cycles,
// dispatching IRQs and NMIs as they fall due; an init that returns leaves
// the processor idle between interrupts. Polled (a PSID whose init waits on
// the raster line or a timer): flat memory and routine calls as for any
// PSID, with the raster and the timers moving and readable.
#pragma once

#include <array>
#include <cstdint>

#include "players/sid/cia.h"
#include "players/sid/romentry.h"

namespace sid {

enum class machinemode : uint8_t { off, polled, interrupts };

inline constexpr uint32_t rasterlines = 312, linecycles = 63;
inline constexpr uint32_t framecycles = rasterlines * linecycles;
// RSID tunes tick at this rate, fine enough that each interrupt of a tune
// playing up to twice a frame lands in a tick of its own.
inline constexpr uint16_t interruptticks = 100;
// Volume-register writes in one tick beyond which a tune is playing samples
// through it; the volume the voices hear is then held.
inline constexpr int digiwrites = 16;

struct vicstate {
    uint16_t compare = 0;     // raster line of the raster interrupt
    uint8_t control = 0x1B;   // $D011 as written
    uint8_t irqflags = 0;     // $D019: bit 0 raster
    uint8_t irqenable = 0;    // $D01A
};

struct machinestate {
    machinemode mode = machinemode::off;
    uint64_t clock = 0;  // cycles since the machine started
    std::array<ciachip, 2> cia{};
    vicstate vic{};
    bool iovisible = true, kernalvisible = true;
    std::array<uint8_t, 0x3000> under{};  // RAM at $D000-$FFFF while I/O or ROM covers it
    std::array<uint8_t, 0x1000> io{};     // what reads of $D000-$DFFF see with I/O banked in
    bool nmiline = false;  // CIA 2's interrupt output as last seen
    bool nmipending = false;
    int8_t pollmask = -1;  // the I flag the next interrupt check sees, -1 for P's own
    int depth = 0;         // interrupts entered and not yet left
    std::array<uint8_t, 8> entrystack{};  // S at each entry
    int32_t handlersteps = 0;             // instructions since the outermost entry
    int volumewrites = 0, lastvolumewrites = 0;
    bool digiheld = false;
    std::array<uint8_t, 3> heldvolume{};
};

extern machinestate machine;

// The devices as the system leaves them after start-up (CIA 1's timer A
// running its 60 Hz interrupt), in the given mode. For interrupts, also the
// processor port, the RAM vectors, the PAL flag and the banking of the
// memory now in cpumem, which must hold the tune's image.
void machinereset(machinemode mode);

// A processor write, before the player's own bus rules: true when the
// machine has taken it whole.
bool machinewrite(uint16_t address, uint8_t value);

// Polled: a routine call (the call sequence of cpucall) with the devices
// moving with every instruction.
bool machinecall(uint16_t address, uint8_t acc, int32_t budget);
// Polled: the devices run on for n cycles of a tick that the processor
// spent elsewhere.
void machineadvance(uint32_t n);

// Interrupts: the main program starts at address with A = acc.
void machinestart(uint16_t address, uint8_t acc);
// Interrupts: runs until cpucycles reaches cyclebudget; false when an
// interrupt handler runs away (more than handlerbudget instructions, a JAM,
// a BRK, endless nesting).
bool machinerun(int32_t handlerbudget);
// Interrupts: each chip's oscillator 3 and envelope 3 into the I/O image,
// for the tune to read.
void machinereadback();

uint16_t rasterline(uint64_t clock);

}  // namespace sid
