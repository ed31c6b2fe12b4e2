// How a channel's waveform reaches its voice, chosen at link time: as a
// SID-style control byte that the renderer decodes (ahxwaveform_control.cpp),
// or as the renderer's own inputs (ahxwaveform_direct.cpp, tarplay_pd).
#pragma once

#include <cstdint>

namespace ahx {

// wave: 0 triangle, 1 sawtooth, 2 square, 3 noise (other codes leave the
// voice as it was); square: the pulse shape of a square wave.
void ahxwaveform(int c, int32_t wave, uint8_t square);

}  // namespace ahx
