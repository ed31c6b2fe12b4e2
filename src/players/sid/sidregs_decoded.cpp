// tarplay_pd's register model: the control byte decoded here into what its
// renderer reads; frequency writes ignored while no waveform is selected;
// the play screen's mute switches; a linear cutoff curve; the tune cannot
// read oscillator 3 or envelope 3.
#include "players/sid/sidregs_decoded.h"

#include "players/sid/sidmodel.h"
#include "players/sid/sidregs.h"
#include "synth/synth.h"

namespace sid {

std::array<relaxed<bool>, 3> sidmutes{};
std::array<bool, 3> holdflags{};

void controlwrite(int v, uint8_t value)
{
    synth::voicecontrol(v, value);
    // The test bit holds the voice: no wrap reported, silent (the level
    // rule sees the bit), and noise kept for the rest of the tick.
    if (value & 0x08) {
        holdflags[v] = true;
        synth::voicelastphaseclear(v);
    }
    uint8_t noise = synth::voiceview(v).noise;
    switch (value >> 4) {
    case 1:  // triangle: no phase compression
        synth::voicepulse(v, 255);
        break;
    case 2:  // sawtooth: full compression
        synth::voicepulse(v, 0);
        break;
    case 8:  // noise alone
        noise = 1;
        holdflags[v] = true;
        break;
    default:  // pulse keeps the shape its width gave it
        break;
    }
    if ((value >> 4) != 8 && !holdflags[v]) noise = 0;
    const uint8_t source = synth::modsource[static_cast<size_t>(v)];
    synth::voicemodulation(v, (value & 0x02) ? source : 255, (value & 0x04) ? source : 255, noise);
}

bool frequencyaccepted(int base)
{
    return sidregs[static_cast<size_t>(base + 4)] > 0x0F;
}

bool voiceswitchedoff(int v)
{
    return sidmutes[static_cast<size_t>(v)];
}

uint8_t cutoffentry(int c)
{
    return static_cast<uint8_t>(255 - ((c * 255 / 264 + 8) % 256));
}

void beforeplay()
{
    holdflags.fill(false);
}

}  // namespace sid
