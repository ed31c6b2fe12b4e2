// A channel becomes SID-style voice parameters: the period and wave length
// give the frequency, the waveform the control byte, the square position the
// pulse shape, the filter position the brightness.
#include <algorithm>

#include "players/ahx/ahxinternal.h"
#include "players/ahx/ahxsong.h"
#include "synth/synth.h"

namespace ahx {

namespace {

constexpr int32_t amigaclock = 3546895;  // PAL

uint8_t squareshape(int32_t squarepos, int32_t wavelen)
{
    uint32_t x = ((static_cast<uint32_t>(squarepos) << waveshift(wavelen)) * 4u) & 0xFF;
    if (x >= 128) x = 255 - x;
    return static_cast<uint8_t>((x * 2) & 0xFF);
}

}  // namespace

void ahxsetvoice(int c)
{
    const ahxchannel& ch = player.channels[static_cast<size_t>(c)];
    synth::tvoice& v = synth::voices[static_cast<size_t>(c)];

    int32_t f = ch.period > 0 ? (amigaclock / ch.period) >> 7 : 0;
    f = ch.wave == 3 ? f << 3 : f << waveshift(ch.wavelen);

    // The step table covers 0..4095 Hz; the highest notes of the short
    // waves reach 7840 Hz and get the same step computed directly.
    v.hz = static_cast<uint16_t>(f);
    if (f < static_cast<int32_t>(synth::hzstep.size()))
        v.step = static_cast<uint32_t>(synth::hzstep[static_cast<size_t>(f)]);
    else
        v.step = static_cast<uint32_t>((static_cast<uint64_t>(f) << 24) / synth::samplerate);
    const uint16_t code = synth::hzlog[static_cast<size_t>(std::min(f, 4095))];
    v.notefrac = code & 0xFF;
    v.octave = static_cast<uint8_t>(code >> 8);

    const uint16_t brightness = static_cast<uint16_t>(static_cast<uint32_t>(ch.filterpos) * 7u + 31u);
    v.filter = static_cast<uint8_t>(255 - std::min<uint16_t>(254, brightness));

    v.level = static_cast<uint8_t>(ch.voicevol & 0xFF);
    v.syncsrc = 255;
    v.ringsrc = 255;
    v.noise = 0;

    switch (ch.wave) {
    case 0:
        v.control = 0x10;
        break;
    case 1:
        v.control = 0x20;
        break;
    case 2:
        v.control = 0x40;
        v.pulse = squareshape(ch.squarepos, ch.wavelen);
        break;
    case 3:
        v.control = 0x80;
        v.pulse = 255;
        v.noise = 1;
        break;
    default:
        break;  // other codes leave the waveform as it was
    }
}

}  // namespace ahx
