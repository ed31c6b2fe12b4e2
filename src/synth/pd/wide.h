// The parts of the renderer that do not depend on one frame's result, the
// bent phase of a settled voice and a voice's share of the mix over a
// stretch of frames: on processors with AVX2 eight frames at a time,
// otherwise one by one, with the same result.
#pragma once

#include <cstdint>

#include "synth/pd/bend.h"

namespace synth {

// For frames k = 0 .. count - 1 the phase is phase + (k + 1) * step;
// base[k] gets the cosine's index without the feedback term. Returns the
// phase after the last frame.
uint32_t bendphases(int32_t* base, uint32_t count, uint32_t phase, uint32_t step, const tbend& b);

// The same for phases already known: base[k] holds frame k's 16-bit phase
// on entry and its cosine's index without the feedback term on return.
void bendinplace(int32_t* base, uint32_t count, const tbend& b);

// A voice's share of the mix over n frames, added into sum: its cosine or
// noise (source), through the sync window and the ring source when they are
// given, clipped to 16 bits, at its level (0 on frames it is muted).
struct tmixvoice {
    const int32_t* source;
    const int32_t* window;  // null: not synced
    const int32_t* ring;    // null: no ring modulation
    const uint8_t* volume;
};
void mixvoice(int32_t* sum, uint32_t n, const tmixvoice& v);

// Whether bendphases and mixvoice take eight frames at a time (false: the processor has
// no AVX2, or a test asked for the plain path).
bool bendwide();
void setbendwide(bool wide);

}  // namespace synth
