// The waveform as a control byte: triangle, sawtooth, pulse or noise, with
// the square's shape and noise's full pulse.
#include "players/ahx/ahxwaveform.h"
#include "synth/voice.h"

namespace ahx {

void ahxwaveform(int c, int32_t wave, uint8_t square)
{
    switch (wave) {
    case 0:
        synth::voicecontrol(c, 0x10);
        break;
    case 1:
        synth::voicecontrol(c, 0x20);
        break;
    case 2:
        synth::voicecontrol(c, 0x40);
        synth::voicepulse(c, square);
        break;
    case 3:
        synth::voicecontrol(c, 0x80);
        synth::voicepulse(c, 255);
        break;
    default:
        break;  // other codes leave the waveform as it was
    }
}

}  // namespace ahx
