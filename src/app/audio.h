// The audio path: the SDL callback that ticks the current player at exact
// frame positions and renders from one tick to the next in one renderer
// call, and the same loop without the device for WAV recording.
#pragma once

#include <array>
#include <cstdint>

#include "common/relaxed.h"

namespace shell {

// true: the callback writes zeros only. Clearing it hands the player and
// voice state that load prepared to the audio thread; setting it takes them
// back once a callback in progress has finished (wait on SDL's audio lock).
extern handover<bool> silent;
extern relaxed<uint16_t> tickcountdown;    // the callback's frames to the next tick
// Frames of the most recent block, 2048. The silent callback goes on storing
// it while the recorder stores its own block size; either value is a whole
// block, and only the play screen's oscilloscope reads it.
extern relaxed<int32_t> blockframes;
extern relaxed<uint32_t> secondticks;
extern relaxed<uint32_t> secondframes;
extern relaxed<uint32_t> measuredrate;
extern relaxed<uint32_t> uptimeframes;     // saturates at 4294967295
extern std::array<relaxed<int16_t>, 65536> scopebuf;

// renderblock keeps a countdown of its own, so that a recording is the same
// every time whatever the silent callback does meanwhile. The recorder sets
// it to 0 before its first block.
extern uint16_t renderblockcountdown;

// Resets the audio state to its start values (silent, counters zero).
void audioreset();

// SDL 1.2 audio callback: len bytes of interleaved signed 16-bit stereo.
void audiocallback(void* userdata, uint8_t* stream, int len);

// The callback's frame loop for a caller-owned buffer, used by WAV recording:
// no silence branch, no uptime count, no rate measurement.
void renderblock(void* userdata, uint8_t* buffer, int len);

}  // namespace shell
