// The tarlin synth: nine voice records that the players program like the
// registers of a sound chip, the tables built at start-up, and the per-frame
// renderer that turns the voices into signed 16-bit stereo.
//
// Players write a voice's hz, notefrac, octave, step, control, pulse, filter
// and level; the renderer owns the rest. The play screen writes muted and
// phase and reads the display fields from the main thread, so every field is
// a relaxed shared value.
#pragma once

#include <array>
#include <cstdint>

#include "common/relaxed.h"

namespace synth {

constexpr int voicecount = 9;
constexpr int waveparamcount = 96;

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
extern relaxed<uint8_t> lastvoice;                // highest rendered voice, initially 7
extern uint16_t samplerate;                       // 44100; set before audio starts
extern const std::array<uint8_t, voicecount> modsource;
extern const uint8_t pddepth;                     // 4
extern std::array<relaxed<uint8_t>, waveparamcount> waveparams;  // all 128
extern relaxed<uint8_t> resonance;                // written by the SID model; no reader here

extern std::array<int16_t, 65536> costab;
extern std::array<int16_t, 65536> noisetab;
extern std::array<int32_t, 4096> hzstep;
extern std::array<uint16_t, 4096> hzlog;

// Unit initialisation: voices and tables cleared, generator seeded from the
// clock, hzstep and hzlog built, then costab and noisetab.
void synthinit();

// Refills the noise table from the generator's next draws.
void fillnoise();

// For tests only: the noise table from a fixed seed, so that renders that
// use noise can be compared across runs.
void seednoise(uint32_t seed);

// Rebuilds hzstep and hzlog for the current samplerate.
void buildtables();

// Phase step for hz Hz: hz * 65536 / (samplerate / 256.0), truncated.
int32_t hztostep(uint16_t hz);

// Display code of f Hz (0..4095): octave in the high byte, position in the low.
uint16_t hzlogvalue(uint16_t f);

// Renders count frames (left, right) into out[2j], out[2j + 1]; count 0
// writes nothing.
void renderframes(int16_t* out, uint16_t count);

// Every field of a voice back to zero.
void clearvoice(tvoice& v);

// Uniform random integer 0..n-1 from the generator seeded by synthinit.
uint32_t synthrandom(uint32_t n);

}  // namespace synth
