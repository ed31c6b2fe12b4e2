// Rendering the chosen tune to <songname>.wav without the audio device.
#pragma once

namespace shell {

void recordwav();

}  // namespace shell
