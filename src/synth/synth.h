// The tarlin synth: what every renderer shares. The rate and frequency
// tables, the voice grouping for sync and ring, the generator behind the
// noise tables and the wave editor, and the few globals that players and
// renderers meet in. The voices themselves are reached through voice.h; each
// renderer keeps its own record behind it.
#pragma once

#include <array>
#include <cstdint>

#include "common/relaxed.h"
#include "synth/voice.h"

namespace synth {

constexpr int voicecount = 9;

extern relaxed<uint8_t> lastvoice;                // highest rendered voice, initially 7
extern uint16_t samplerate;                       // set before audio starts
// The output rate the linked renderer is made for (44100, or 48000 in
// tarplay_pd); samplerate starts there.
extern const uint16_t nativerate;
extern const std::array<uint8_t, voicecount> modsource;

extern std::array<int32_t, 4096> hzstep;
extern std::array<uint16_t, 4096> hzlog;

// Unit initialisation: voices and tables cleared, generator seeded from the
// clock, hzstep and hzlog built, then the renderer's cosine and noise tables.
void synthinit();

// For tests only: the noise table from a fixed seed, so that renders that
// use noise can be compared across runs.
void seednoise(uint32_t seed);

// Rebuilds hzstep and hzlog for the current samplerate.
void buildtables();

// Phase step for hz Hz: hz * 65536 / (samplerate / 256.0), truncated.
int32_t hztostep(uint16_t hz);

// Display code of f Hz (0..4095): octave in the high byte, position in the low.
uint16_t hzlogvalue(uint16_t f);

// The tables two renderers share the rule of: the cosine scaled to
// +-32767 and rounded, and the unsigned noise of 1, 32768 or 65535 with one
// draw of the generator per entry in index order.
void fillcosine(std::array<int16_t, 65536>& table);
void fillunsignednoise(std::array<uint16_t, 65536>& table);

// Uniform random integer 0..n-1 from the generator seeded by synthinit.
uint32_t synthrandom(uint32_t n);

}  // namespace synth
