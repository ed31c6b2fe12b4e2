// tarplay_pd's wave editor: two 32-point waves (the source, wave 0, and the
// destination, wave 1, which the renderer reads as its modulator), the
// depth and feedback-gain sliders, the speed multiplier, snap and link.
#pragma once

#include <array>
#include <cstdint>

#include "common/relaxed.h"

namespace synth {

constexpr int wavepoints = 32;
using twave32 = std::array<relaxed<uint8_t>, wavepoints>;

extern std::array<twave32, 2> waves;  // [0] source, [1] destination
extern relaxed<uint8_t> depth;        // modulation depth, initially 8
extern relaxed<uint8_t> fbgain;       // feedback gain, initially 0
extern relaxed<uint8_t> mult;         // modulator speed multiplier, initially 1
extern relaxed<bool> snap;            // initially off
extern relaxed<bool> link;            // on: brightness follows filter, off: pulse

// The values both waves start from.
extern const std::array<uint8_t, wavepoints> initialwave;

// Start state: both waves the initial values, sliders, multiplier, snap
// and link at their initial values.
void wavereset();

void waveclear(int w);   // all 32 points 128
void waverandom(int w);  // all 32 points uniform 0..255

enum class wavemousekind { motion, buttondown };

// One mouse event of the play screen: for motion, buttons is the SDL button
// state mask (1 = only the left button); for a press, button is the SDL
// button number (1 left, 3 right, 4 wheel up, 5 wheel down).
void wavemouse(wavemousekind kind, int x, int y, uint8_t button, uint8_t buttons);

}  // namespace synth
