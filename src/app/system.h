// Program start-up, the main loop and shutdown.
#pragma once

#include <SDL.h>

#include <string>

namespace shell {

// The main loop's flag: true until the user leaves the selector.
extern bool running;

// The title line of the selector and the play screen: two full blocks, the
// program's title text padded to 67 columns, and a block fading out to the
// right edge (80 characters, console code page).
extern const std::string titlebar;

// samplerate, tables, first listing, SDL, window, caption, key repeat, the
// program's audio start-up step, its own last step. Start-up failures print their line and
// exit with 254.
void initsystem();

// A start-up failure before the window exists: the line on standard
// output, then startupexit.
[[noreturn]] void startupfailure(const std::string& line);
// The end of a start-up that failed: SDL shut down, exit code 254.
[[noreturn]] void startupexit();

// SDL's error text, empty when it has none.
std::string sdlerror();
// Opens the device at samplerate, 16-bit stereo, 2048 frames, with
// callback; false when SDL refuses.
bool openaudiodevice(void (*callback)(void*, uint8_t*, int));

// The entry after the units have initialised: initsystem, help screen, first
// key, then selector -> play screen or WAV recording -> selector until the
// user leaves. Returns the exit code.
int programmain();

}  // namespace shell
