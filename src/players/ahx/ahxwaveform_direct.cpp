// tarplay_pd: its renderer decodes no control byte, so the waveform is
// written as the renderer's inputs: the pulse shape (255 no compression,
// 0 full, or the square's shape) and the waveform selector byte, which
// the voice keeps where the others keep the control byte (35 for the
// waves the pulse shape alone makes, 1 for the square).
#include "players/ahx/ahxwaveform.h"
#include "synth/voice.h"

namespace ahx {

namespace {

constexpr uint8_t selectplain = 35;
constexpr uint8_t selectsquare = 1;

}  // namespace

void ahxwaveform(int c, int32_t wave, uint8_t square)
{
    switch (wave) {
    case 0:  // triangle
    case 3:  // noise
        synth::voicecontrol(c, selectplain);
        synth::voicepulse(c, 255);
        break;
    case 1:  // sawtooth
        synth::voicecontrol(c, selectplain);
        synth::voicepulse(c, 0);
        break;
    case 2:
        synth::voicecontrol(c, selectsquare);
        synth::voicepulse(c, square);
        break;
    default:
        break;
    }
}

}  // namespace ahx
