// tarplay_pd's time of a tune: 16-bit ticks at the tune's tick rate, so a
// length stops at 65535 ticks (21 minutes at 50 Hz).
#include <algorithm>
#include <cmath>

#include "core/playback.h"
#include "core/tuneclock_ticks.h"
#include "worker.h"

namespace render {

void settunelength(double seconds)
{
    const double ticks = std::round(seconds * core::tickrate);
    core::songticks = static_cast<uint16_t>(std::clamp(ticks, 0.0, 65535.0));
}

// The tick that reaches the length ends the tune, and it runs at the start
// of the frames of the tick before.
uint64_t tunelengthframes()
{
    const uint16_t ticks = core::songticks;
    return uint64_t{ticks > 0 ? ticks - 1u : 0u} * core::samplespertick;
}

}  // namespace render
