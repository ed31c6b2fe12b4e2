// Guarded lookups shared by the loader and the replayer's units. A module can
// name positions, rows, notes and wave lengths that the stores do not hold;
// these helpers turn every such index into a defined, in-bounds value.
#pragma once

#include <algorithm>
#include <cstdint>

#include "players/ahx/ahxsong.h"

namespace ahx {

// Shift for values scaled by the wave length. Codes 6 and 7 fit the 3-bit
// field but would shift by a negative amount: they scale like code 5.
inline int32_t waveshift(int32_t wavelen)
{
    return std::max<int32_t>(0, 5 - wavelen);
}

// Period of a note; the 6-bit note fields reach 63, the table stops at 60.
inline int32_t periodof(int32_t note)
{
    return periodtable[static_cast<size_t>(std::clamp<int32_t>(note, 0, 60))];
}

// Position entry; numbers outside the stored list read as a zeroed entry,
// which is what any unused entry of the list holds.
inline const ahxposition& positionat(int32_t posnr)
{
    static const ahxposition zero{};
    const int32_t count = std::min<int32_t>(player.song.poscount, maxpositions);
    if (posnr < 0 || posnr >= count) return zero;
    return player.song.positions[static_cast<size_t>(posnr)];
}

// One step of a track; rows past the store read as an empty step.
inline const ahxstep& stepat(int32_t track, int32_t row)
{
    static const ahxstep empty{};
    if (track < 0 || track >= maxtracks || row < 0 || row >= maxtracklen) return empty;
    return player.song.tracks[static_cast<size_t>(track)][static_cast<size_t>(row)];
}

inline const tAHXInstrument& instrumentat(int32_t i)
{
    static const tAHXInstrument none{};
    if (i < 0 || i >= maxinstruments) return none;
    return player.song.instruments[static_cast<size_t>(i)];
}

// Accumulators that a module can drive without bound (slides, jump digits)
// wrap around instead of overflowing.
inline int32_t wrapadd(int32_t a, int64_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

// Voices 0 to 3 back to silence at a load and a subsong start.
void resetvoices();

}  // namespace ahx
