// The tick contract: how a player's tick answers what the shell asks for.
// The shell never calls into a player to restart, skip or change the
// subsong; it only stores tickpos and cursong (core/shared.h), and every
// player's tick hands its own routines to playertick, which turns those
// stores into a restart, a skip or a subsong change, runs one tick,
// reports the position and ends the tune when it is over.
#pragma once

#include <cstdint>

namespace core {

struct tickhooks {
    // Starts subsong song from its first tick (the player's init).
    void (*start)(uint8_t song);
    // One tick of the tune; false when the tune cannot go on (a play
    // routine that never returns), which ends playback.
    bool (*onetick)();
    // Ticks since the subsong started, and the subsong running.
    uint64_t (*ticks)();
    uint8_t (*song)();
    // Whether a subsong change takes effect after this tick, so that the
    // old subsong sounds once more (AHX), or before it (SID).
    bool songchangeafter;
    // Whether starting a subsong starts its time again (SID), or the time
    // runs on across a subsong change (AHX).
    bool startresetstime;
};

// The player's tick, on the audio thread (or the recorder's):
//  1. the tune clock's tick (tarplay_pd counts play time);
//  2. tickpos below the position last reported: the subsong starts again;
//     above it: the ticks in between run without being rendered;
//  3. cursong differs from the subsong running: that subsong starts,
//     before or after this tick as the player says;
//  4. one tick;
//  5. tickpos := the clock's report of the tick count; while recording,
//     a tune that is over sets quitplay; a tick that failed always does;
//     during playback, the tick on which the tune's time reaches its length
//     raises tuneended (once, until the time falls below the length again).
void playertick(const tickhooks& hooks);

// A tune was loaded: position and played time 0, and nothing reported yet,
// so that the first tick is not taken for a rewind.
void tickcontractreset();

}  // namespace core
