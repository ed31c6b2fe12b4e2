// Time in frames, counted by the frame loop: a tune is over once its
// length in frames (songframes) has been played.
#include <cmath>

#include "core/shared.h"
#include "core/tuneclock.h"
#include "synth/synth.h"

namespace core {

bool tuneover()
{
    return playedframes >= songframes;
}

uint32_t tickposof(uint64_t ticks)
{
    return static_cast<uint32_t>(ticks);
}

// No length in ticks and no play-time counter: the frame loop counts.
void clocklength() {}
void clocktick() {}
void clockrestart() {}

clockreading clockread()
{
    return {playedframes, songframes, synth::samplerate};
}

uint64_t recordlimit()
{
    // By this many frames past the length a player must have ticked past it.
    return songframes + 65536 + 4096;
}

void clocksetlength(double seconds)
{
    songframes = static_cast<uint64_t>(std::llround(seconds * synth::samplerate));
}

uint64_t clocklengthframes()
{
    return songframes;
}

}  // namespace core
