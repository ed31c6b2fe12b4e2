// Program start-up, the main loop and shutdown.
#pragma once

namespace shell {

// samplerate, tables, first listing, SDL, window, caption, key repeat, audio
// device (silent), wave parameters. Start-up failures print their line and
// exit with 254.
void initsystem();

// Back to a window, SDL_Quit, back to the start directory.
void shutdownsystem();

// The entry after the units have initialised: initsystem, help screen, first
// key, then selector -> play screen or WAV recording -> selector until the
// user leaves. Returns the exit code.
int programmain();

}  // namespace shell
