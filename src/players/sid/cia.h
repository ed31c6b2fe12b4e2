// A CIA's two interval timers and its interrupt control register, as far as
// tunes use them: timers counting processor cycles (timer B also counting
// timer A's underflows), one-shot and continuous mode, force load, the
// interrupt mask and the flags that a read of the control register
// acknowledges. No ports, no time-of-day clock, no serial register.
#pragma once

#include <array>
#include <cstdint>

namespace sid {

struct ciatimer {
    uint16_t latch = 0xFFFF;
    uint16_t counter = 0xFFFF;
    uint8_t control = 0;  // the control register as last written, strobe cleared
};

struct ciachip {
    std::array<ciatimer, 2> timer{};
    uint8_t icrmask = 0;   // sources allowed to raise the interrupt line
    uint8_t icrflags = 0;  // sources that have fired since the last read
};

// A write to register reg (0..15).
void ciawrite(ciachip& c, uint8_t reg, uint8_t value);

// Runs both timers for n cycles, raising the flags of those that underflow.
void ciaadvance(ciachip& c, uint32_t n);

// Cycles until the next underflow of a running timer, or UINT32_MAX.
uint32_t ciacyclestoevent(const ciachip& c);

// What a read of the interrupt control register sees: the flags, and bit 7
// when one of them is allowed through the mask. The read clears them.
uint8_t ciaicrvalue(const ciachip& c);
inline bool ciainterrupt(const ciachip& c) { return (c.icrflags & c.icrmask) != 0; }

}  // namespace sid
