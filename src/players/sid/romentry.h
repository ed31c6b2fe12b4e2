// The few system-ROM routines that interrupt-driven tunes jump into, written
// here from what the machine's documented memory map says they do, at the
// addresses tunes use. Every other ROM address holds RTS, so a tune's call
// of a system routine that is not here returns at once.
#pragma once

#include <array>
#include <cstdint>

namespace sid {

inline constexpr uint16_t romstart = 0xE000;
using romimage = std::array<uint8_t, 0x2000>;

// Where the main program idles once the tune's init routine has returned:
// the machine never executes it, it waits there for the next interrupt.
inline constexpr uint16_t idleaddress = 0xE5CD;

// The RAM vectors the ROM's handlers go through, as the system sets them.
inline constexpr uint16_t irqvector = 0x0314, brkvector = 0x0316, nmivector = 0x0318;
inline constexpr uint16_t romirqhandler = 0xEA31;  // the system's own IRQ work, then out
inline constexpr uint16_t rombrkhandler = 0xFE66;
inline constexpr uint16_t romnmihandler = 0xFE47;

// The ROM's bytes from 0xE000 to 0xFFFF.
romimage buildrom();

}  // namespace sid
