// How a program runs its audio device and counts a tune's time, chosen at
// link time. tarplay and tarplay8 open the device once at start-up and keep
// it running, silent between tunes, and count time in frames; tarplay_pd
// opens the device for each tune and closes it after, and counts time in
// 16-bit ticks.
#pragma once

#include <cstdint>
#include <string>

namespace shell {

// Start-up and shutdown. sdlinitfailed prints the line and ends the
// program with 254; audiostartup is initsystem's device step.
[[noreturn]] void sdlinitfailed(const std::string& line);
void audiostartup();

// The play screen: audioopen right after a successful load (false: the
// device could not be opened, the user has been told, back to the
// selector); audiorun as the last step of the set-up, when the tune starts
// to sound; audioend when the loop is over.
bool audioopen();
void audiorun();
void audioend();

// WAV recording: the audio thread kept away from the player that the main
// thread is about to drive, one block rendered, the progress shown, and
// whether a key ends the recording early.
void recordprepare();
void recordblock(uint8_t* buffer, int len);
void recordprogress(int boxx, int len);
bool recordstopped();
// Frames past which a player that never ends its tune is stopped.
uint64_t recordlimit();

// tuneover and tickposof (playback.h) come with this unit too.

// What the play screen shows: the rate after "at " in the status line, the
// elapsed and total time, and the program's uptime (empty: none).
std::string ratetext();
std::string timetext();
std::string uptimetext();

}  // namespace shell
