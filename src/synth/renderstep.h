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

}  // namespace synth
