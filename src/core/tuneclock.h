// How a program counts a tune's time, chosen at link time: in frames, the
// length from the song-length files (tarplay, tarplay8:
// tuneclock_frames.cpp), or in 16-bit ticks, every tune five minutes long
// (tarplay_pd: tuneclock_ticks.cpp).
#pragma once

#include <cstdint>

namespace core {

// Whether the tune's length has been played (the tick contract ends a
// recording there).
bool tuneover();

// The tickpos a player reports for its tick count: all 32 bits, or the low
// 16.
uint32_t tickposof(uint64_t ticks);

// Once a loader knows the tick rate: the length in ticks, where time is
// counted in ticks.
void clocklength();
// On every tick, before the player's work, and at the start of a tune:
// the play-time counter, where there is one.
void clocktick();
void clockrestart();

// Where a tune is and how long it lasts, in the clock's own units, and how
// many of them make a second (0: none known yet).
struct clockreading {
    uint64_t elapsed;
    uint64_t length;
    uint32_t persecond;
};
clockreading clockread();

// Frames past which the recorder stops a player that never ends its tune.
uint64_t recordlimit();

// A length the user gives in seconds (the command-line renderer), set after
// the load in place of the one the player found; and the loaded tune's
// length in frames as far as the clock counts it (the tick that reaches a
// length in ticks runs at the start of the tick before's frames).
void clocksetlength(double seconds);
uint64_t clocklengthframes();

}  // namespace core
