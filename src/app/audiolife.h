// When a program's sound device runs, chosen at link time: opened once at
// start-up and kept running, silent between tunes (tarplay, tarplay8:
// audiolife_always.cpp), or opened for each tune and closed after
// (tarplay_pd: audiolife_pertune.cpp).
#pragma once

#include <cstdint>
#include <string>

namespace shell {

// Start-up's device step (initsystem), and the program's end: for the
// always-open device back to a window and SDL_Quit, for the per-tune device
// nothing.
void audiostartup();
void shutdownsystem();

// The play screen: audioopen right after a successful load (false: the
// device could not be opened, the user has been told, back to the
// selector); audiorun as the last step of the set-up, when the tune starts
// to sound; audioend when the loop is over (the player's stop included).
bool audioopen();
void audiorun();
void audioend();

// WAV recording: the audio thread kept away from the player that the main
// thread is about to drive, and one block rendered.
void recordprepare();
void recordblock(uint8_t* buffer, int len);

// What the play screen shows: the rate after "at " in the status line, and
// the program's uptime (empty: none).
std::string ratetext();
std::string uptimetext();

}  // namespace shell
