// A channel becomes SID-style voice parameters: the period and wave length
// give the frequency, the waveform the control byte, the square position the
// pulse shape, the filter position the brightness.
#include <algorithm>

#include "players/ahx/ahxinternal.h"
#include "players/ahx/ahxsong.h"
#include "players/ahx/ahxwaveform.h"
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

    int32_t f = ch.period > 0 ? (amigaclock / ch.period) >> 7 : 0;
    f = ch.wave == 3 ? f << 3 : f << waveshift(ch.wavelen);
    synth::voicefreq(c, static_cast<uint32_t>(std::max(f, 0)));

    const uint16_t brightness = static_cast<uint16_t>(static_cast<uint32_t>(ch.filterpos) * 7u + 31u);
    synth::voicefilter(c, static_cast<uint8_t>(255 - std::min<uint16_t>(254, brightness)));
    synth::voicelevel(c, static_cast<uint8_t>(ch.voicevol & 0xFF));

    synth::voicemodulation(c, 255, 255, ch.wave == 3 ? 1 : 0);
    ahxwaveform(c, ch.wave, ch.wave == 2 ? squareshape(ch.squarepos, ch.wavelen) : 0);
}

}  // namespace ahx
