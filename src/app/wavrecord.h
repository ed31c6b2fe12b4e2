// Rendering the chosen tune to <songname>.wav without the audio device.
#pragma once

#include <cstdio>

namespace shell {

void recordwav();

// The 44-byte header of a 16-bit stereo PCM file at samplerate, both sizes 0.
bool writewavheader(std::FILE* f);

// Fills in both size fields from the file's final length.
bool patchwavsizes(std::FILE* f);

}  // namespace shell
