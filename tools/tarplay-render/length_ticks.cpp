// tarplay_pd's time of a tune: 16-bit ticks at the tune's tick rate, so a
// length stops at 65535 ticks (21 minutes at 50 Hz).
#include <algorithm>
#include <cmath>

#include "app/playback.h"
#include "app/tarplay_pd/playclock.h"
#include "worker.h"

namespace render {

void settunelength(double seconds)
{
    const double ticks = std::round(seconds * shell::tickrate);
    shell::songticks = static_cast<uint16_t>(std::clamp(ticks, 0.0, 65535.0));
}

// The tick that reaches the length ends the tune, and it runs at the start
// of the frames of the tick before.
uint64_t tunelengthframes()
{
    const uint16_t ticks = shell::songticks;
    return uint64_t{ticks > 0 ? ticks - 1u : 0u} * shell::samplespertick;
}

}  // namespace render
