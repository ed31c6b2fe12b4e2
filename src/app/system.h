// Program start-up, the main loop and shutdown.
#pragma once

#include <string>

namespace shell {

// samplerate, tables, first listing, SDL, window, caption, key repeat, the
// program's audio start-up step, its own last step. Start-up failures print their line and
// exit with 254.
void initsystem();

// The program's shutdown (its audio life unit defines it): for tarplay and
// tarplay8 back to a window, SDL_Quit, back to the start directory.
void shutdownsystem();

// SDL's error text, empty when it has none.
std::string sdlerror();
// Opens the device at samplerate, 16-bit stereo, 2048 frames, with
// audiocallback; false when SDL refuses.
bool openaudiodevice();

// The entry after the units have initialised: initsystem, help screen, first
// key, then selector -> play screen or WAV recording -> selector until the
// user leaves. Returns the exit code.
int programmain();

}  // namespace shell
