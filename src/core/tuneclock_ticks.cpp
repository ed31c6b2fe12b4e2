// Time in 16-bit ticks: every tune lasts five minutes at its tick rate,
// the position wraps at 65536 ticks.
#include "core/tuneclock_ticks.h"

#include <algorithm>
#include <cmath>

#include "core/shared.h"
#include "core/tuneclock.h"

namespace core {

relaxed<uint16_t> songticks{0};
relaxed<uint32_t> playclock{0};

bool tuneover()
{
    return (tickpos & 0xFFFF) >= songticks;
}

uint32_t tickposof(uint64_t ticks)
{
    return static_cast<uint32_t>(ticks & 0xFFFF);
}

void clocklength()
{
    songticks = static_cast<uint16_t>(tickrate * 300u);
}

void clocktick()
{
    const uint16_t rate = tickrate;
    const uint64_t next = uint64_t{playclock} + (rate ? 300000u / rate : 0);
    playclock = static_cast<uint32_t>(next > playclocklimit ? playclocklimit : next);
}

void clockrestart()
{
    playclock = 0;
}

clockreading clockread()
{
    return {tickpos & 0xFFFF, songticks, tickrate};
}

uint64_t recordlimit()
{
    // Every tick moves the position on by one, so within 65536 ticks it
    // meets the length; a tick is at most 65535 frames.
    return uint64_t{65536} * 65535;
}

void clocksetlength(double seconds)
{
    // A length stops at 65535 ticks (21 minutes at 50 Hz).
    const double ticks = std::round(seconds * tickrate);
    songticks = static_cast<uint16_t>(std::clamp(ticks, 0.0, 65535.0));
}

uint64_t clocklengthframes()
{
    const uint16_t ticks = songticks;
    return uint64_t{ticks > 0 ? ticks - 1u : 0u} * samplespertick;
}

}  // namespace core
