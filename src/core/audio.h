// The frame loop: the player in use ticked at exact frame positions, and the
// renderer run from one tick to the next in one call. The same loop serves
// the always-open device, the per-tune device and the recorder; each adds
// only what it counts.
#pragma once

#include <cstdint>

namespace core {

// The always-open device's callback (SDL 1.2: len bytes of interleaved
// signed 16-bit stereo): zeros while silent, otherwise the frame loop,
// counting played frames and uptime and measuring the tick rate.
void devicecallback(void* userdata, uint8_t* stream, int len);

// The per-tune device's callback, which is also that program's recorder
// block: the frame loop alone, counting nothing.
void pertunecallback(void* userdata, uint8_t* stream, int len);

// The recorder's block beside an always-open device: the frame loop with a
// countdown of its own, so that a recording is the same every time whatever
// the silent callback does meanwhile, counting played frames.
void renderblock(void* userdata, uint8_t* buffer, int len);
// renderblock's countdown; the recorder sets it to 0 before its first block.
extern uint16_t renderblockcountdown;

// The audio state back to its start values (silent, counters zero).
void audioreset();

}  // namespace core
