// The tick clock's own state: a tune's length in 16-bit ticks, and the
// play-time counter that the tick contract advances on every tick.
#pragma once

#include <cstdint>

#include "common/relaxed.h"

namespace core {

// The tune's length in ticks: five minutes at the tune's tick rate, kept
// to 16 bits like the position (clocklength).
extern relaxed<uint16_t> songticks;

// Play time in 1/300000 s, added to on every tick before the player's work
// and kept at most 1799999999 (100 minutes); started again with every tune
// (clocktick, clockrestart). Nothing on screen reads it: the time line
// counts ticks.
extern relaxed<uint32_t> playclock;
constexpr uint32_t playclocklimit = 1799999999;

}  // namespace core
