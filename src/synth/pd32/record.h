// tarplay_pd's voice record and tables: the older, smaller integer renderer.
// Its voices have no mute flag, and the renderer decodes no waveform: the
// players decode it themselves and write sync, ring, noise and the pulse
// shape directly; control is kept for the play screen only.
#pragma once

#include <array>
#include <cstdint>

#include "common/relaxed.h"
#include "synth/synth.h"

namespace synth {

struct tvoice {
    relaxed<uint32_t> hz;        // frequency in whole Hz (informational)
    relaxed<uint16_t> notefrac;
    relaxed<uint8_t> octave;
    // The waveform selector byte: the SID's control byte, or the AHX
    // player's own code (35 or 1). Shown by the play screen; the renderer
    // does not read it.
    relaxed<uint8_t> control;
    relaxed<uint32_t> step;
    relaxed<uint8_t> pulse;      // phase compression; also a glide target
    relaxed<uint8_t> morph;
    relaxed<uint8_t> filter;
    relaxed<uint8_t> bright;     // depth of the wave modulation
    relaxed<uint8_t> volume;
    relaxed<uint8_t> level;
    relaxed<uint8_t> syncsrc;    // 255 = none
    relaxed<uint8_t> ringsrc;    // 255 = none
    relaxed<uint8_t> noise;
    relaxed<int32_t> feedback;
    relaxed<int32_t> lastout;
    relaxed<int32_t> lastphase;
    relaxed<uint8_t> wrapped;
    relaxed<uint32_t> phase;
};

extern std::array<tvoice, voicecount> voices;
extern std::array<int16_t, 65536> costab;     // cos(2 pi i / 65536) * 32767, rounded
extern std::array<uint16_t, 65536> noisetab;  // 1, 32768 or 65535

}  // namespace synth
