// Small steps that every renderer takes the same way.
#pragma once

#include <cstdint>

#include "synth/synth.h"

namespace synth {

// One unit per frame toward target; no change when already there.
template <class T>
inline T glide(T value, T target)
{
    if (value < target) return static_cast<T>(value + 1);
    if (value > target) return static_cast<T>(value - 1);
    return value;
}

// A source index that no longer names a voice is read as no source.
inline bool validsource(uint8_t src)
{
    return src < voicecount;
}

// Moves a voice's phase on by its step, flags a completed cycle in wrapped
// and resets the phase when its sync source completed one. A source with a
// lower index has already moved this frame; a higher one still shows the
// previous frame. Returns the 16-bit phase, which lastphase then holds.
template <class Voice, class Voices>
inline int64_t advancephase(Voice& v, const Voices& voices)
{
    const uint32_t phase = v.phase + v.step;
    v.phase = phase;
    int64_t p = (phase >> 8) & 0xFFFF;
    v.wrapped = ((v.lastphase & 0x8000) != 0 && (p & 0x8000) == 0) ? 1 : 0;
    const uint8_t syncsrc = v.syncsrc;
    if (validsource(syncsrc) && voices[syncsrc].wrapped != 0) {
        v.phase = 0;
        p = 0;
    }
    v.lastphase = static_cast<int32_t>(p);
    return p;
}

}  // namespace synth
