// Editing the wave parameters: the source/destination pair, clearing,
// randomising, the mouse geometry of the play screen and the preview curve.
#pragma once

#include <array>
#include <cstdint>

#include "common/relaxed.h"

namespace synth {

// The four edited waves, three values each (the rest of the 96 are kept for
// the renderer's fixed waves); every value starts at 128. The play screen
// writes them, the renderer reads them on the audio thread.
constexpr int waveparamcount = 96;
extern std::array<relaxed<uint8_t>, waveparamcount> waveparams;

// The edited pair: source wave waveset, destination wave waveset + 1 (0 or 2).
extern uint8_t waveset;

// Start state: pair 0/1, every wave parameter 128.
void wavereset();

void wavepair();
void waveclearsrc();
void wavecleardst();
void waverandomsrc();
void waverandomdst();

enum class wavemousekind { motion, buttondown };

// One mouse event of the play screen. For motion, buttons is the SDL button
// state mask (1 = only the left button); for a press, button is the SDL button
// number (1 left, 2 middle, 3 right, 4 wheel up, 5 wheel down).
void wavemouse(wavemousekind kind, int x, int y, uint8_t button, uint8_t buttons);

struct wavecurve {
    std::array<int32_t, 256> distortion;  // d of each point
    std::array<int32_t, 256> output;      // out of each point
};

// The preview of wave w (0..31) with feedback byte f.
wavecurve wavepreview(int w, uint8_t f);

}  // namespace synth
