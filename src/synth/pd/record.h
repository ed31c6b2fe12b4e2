// tarplay's voice record and tables: every voice a phase-distortion
// oscillator in integer arithmetic.
//
// The play screen writes muted and phase and reads the display fields from
// the main thread, so every field is a relaxed shared value.
#pragma once

#include <array>
#include <cstdint>

#include "common/relaxed.h"
#include "synth/synth.h"

namespace synth {

struct tvoice {
    relaxed<uint16_t> hz;        // frequency in whole Hz (informational here)
    relaxed<uint16_t> notefrac;  // low byte of hzlog: position within the octave
    relaxed<uint8_t> octave;     // high byte of hzlog
    relaxed<uint8_t> control;    // SID-style control byte
    relaxed<uint8_t> muted;      // non-zero: silent and frozen
    relaxed<int32_t> shape;      // 0..3 waveform selector, kept for nibbles 0 and 3
    relaxed<uint32_t> step;      // phase step per frame, 2^24 per cycle
    relaxed<uint8_t> pulse;      // shape target: morph glides toward 255 - pulse
    relaxed<uint8_t> morph;
    relaxed<uint8_t> filter;     // brightness target: bright glides toward 255 - filter
    relaxed<uint8_t> bright;
    relaxed<uint8_t> volume;     // current level, glides toward level
    relaxed<uint8_t> level;      // target level 0..255
    relaxed<uint8_t> syncsrc;    // 255 = none
    relaxed<uint8_t> ringsrc;    // 255 = none
    relaxed<uint8_t> noise;
    relaxed<int32_t> feedback;
    relaxed<int32_t> noiselp1;
    relaxed<int32_t> noiselp2;
    relaxed<int32_t> lastout;
    relaxed<int32_t> lastphase;
    relaxed<uint8_t> wrapped;
    relaxed<uint32_t> noisepos;
    relaxed<uint32_t> phase;
};

extern std::array<tvoice, voicecount> voices;
extern const uint8_t pddepth;               // 4
extern std::array<int16_t, 65536> costab;   // cos(2 pi i / 65536) * 32767, rounded
extern std::array<int16_t, 65536> noisetab;  // -32767, -32768 or +32767

}  // namespace synth
