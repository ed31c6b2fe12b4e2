// The bent phase, the heart of the phase-distortion voice: the phase is
// squeezed into the first 256 / (256 + t) part of the cycle (the rest of the
// cycle reads phase 0), then bent by a raised-cosine term whose amount
// differs between the cycle's two halves (a0, a1: a wave value less 128)
// and is scaled by pdb (the depth times the brightness). The renderer reads
// its cosine at the bent phase; the wave editor's preview draws the same
// curve. Every value fits 32 bits; division truncates toward zero.
// (wide.cpp computes the same eight frames at a time with AVX2.)
#pragma once

#include <cstdint>

#include "synth/pd/record.h"

namespace synth {

// What a voice's morph, brightness and wave values derive for the bend.
struct tbend {
    int32_t t, pdb, a0, a1;
};

// The 16-bit phase p squeezed by t.
inline int32_t squeezedphase(int32_t p, int32_t t)
{
    const int32_t pp = p + ((p * t) >> 8);
    return pp > 65535 ? 0 : pp;
}

// The raised-cosine term at squeezed phase pp for amount a.
inline int32_t distortion(int32_t pp, int32_t a)
{
    return (32767 - costab[static_cast<uint32_t>(2 * pp) & 0xFFFF]) * a / 256;
}

// The cosine's index for phase p, without the feedback term.
inline int32_t bentphase(int32_t p, const tbend& b)
{
    const int32_t pp = squeezedphase(p, b.t);
    return distortion(pp, pp > 32767 ? b.a1 : b.a0) * b.pdb / 256 + pp;
}

}  // namespace synth
