// Rendering the chosen tune to <songname>.wav without the audio device.
#pragma once

#include <cstdint>
#include <cstdio>

namespace shell {

// Records the chosen tune; false when it was not recorded (the player
// refused the file, or the file could not be written, which the user has
// been told).
bool recordwav();

// A cell of the recorder's box, where it falls on the screen.
void putboxcell(int x, int y, uint16_t code);

// The 44-byte header of a 16-bit stereo PCM file at samplerate, both sizes 0.
bool writewavheader(std::FILE* f);

// Fills in both size fields from the file's final length.
bool patchwavsizes(std::FILE* f);

}  // namespace shell
