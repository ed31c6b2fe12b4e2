// tarplay8's voice record and tables: a two-operator frequency-modulation
// voice in 64-bit floating point. Same roles as the phase-distortion record,
// in its own order and widths.
#pragma once

#include <array>
#include <cstdint>

#include "common/relaxed.h"
#include "synth/synth.h"

namespace synth {

struct tvoice {
    relaxed<uint16_t> notefrac;
    relaxed<uint8_t> octave;
    relaxed<uint8_t> control;
    relaxed<uint8_t> muted;      // computed like any other voice, heard as silence
    relaxed<uint32_t> hz;        // frequency in whole Hz; the renderer reads it
    relaxed<uint32_t> step;
    relaxed<uint8_t> pulse;      // morph glides toward pulse itself
    relaxed<uint8_t> morph;
    relaxed<uint8_t> filter;     // bright glides toward 255 - filter
    relaxed<uint8_t> volume;
    relaxed<uint8_t> level;
    relaxed<uint8_t> syncsrc;
    relaxed<uint8_t> ringsrc;
    relaxed<uint8_t> noise;
    double fb1 = 0;              // feedback of operator 1 (audio thread only)
    double fb2 = 0;              // feedback of operator 2 (audio thread only)
    relaxed<uint8_t> triangle;   // 1 for a pure triangle: no self-feedback
    relaxed<uint8_t> secondop;   // operator 2 sounds inverted and further off
    relaxed<int32_t> noiselp1;
    relaxed<int32_t> noiselp2;
    relaxed<int32_t> bright;
    relaxed<int32_t> lastout;
    relaxed<int32_t> lastphase;
    relaxed<uint8_t> wrapped;
    relaxed<uint32_t> noisepos;
    relaxed<uint32_t> phase;
};

extern std::array<tvoice, voicecount> voices;
extern std::array<double, 65536> costab;      // cos(2 pi i / 65536), unscaled
extern std::array<uint16_t, 65536> noisetab;  // 1, 32768 or 65535

// The play screen's tone switches, both initially off: A drives operator 2
// inverted and twice as far off for every voice, B lets the resonance
// modulator reach operator 2 as well.
// The SID filter's resonance (setresonance), 0 until a SID tune sets it.
extern relaxed<uint8_t> resonance;

extern relaxed<bool> fmtogglea;
extern relaxed<bool> fmtoggleb;

}  // namespace synth
