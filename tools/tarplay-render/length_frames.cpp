// tarplay's and tarplay8's time of a tune: frames at the sample rate.
#include <cmath>

#include "core/playback.h"
#include "synth/synth.h"
#include "worker.h"

namespace render {

void settunelength(double seconds)
{
    core::songframes = static_cast<uint64_t>(std::llround(seconds * synth::samplerate));
}

uint64_t tunelengthframes()
{
    return core::songframes;
}

}  // namespace render
