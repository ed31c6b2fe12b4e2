// tarplay_pd's SID player: no version check, the data offset and speed
// from single header bytes, every subsong five minutes in ticks, no song-
// length database; the control byte decoded here into what its renderer
// reads; frequency writes ignored while no waveform is selected; a linear
// cutoff curve; the tune cannot read oscillator 3 or envelope 3.
#include "app/playback.h"
#include "players/sid/sidmodel.h"
#include "players/sid/sidmute.h"
#include "players/sid/sidvariant.h"
#include "synth/synth.h"

namespace sid {

std::array<relaxed<bool>, 3> sidmutes{};
std::array<bool, 3> holdflags{};

void sidvariantinit() {}

std::string badformatmessage(const std::string& magic)
{
    return "Unknown SID-Format \"" + magic + "\"";
}

bool versionaccepted(uint16_t)
{
    return true;
}

uint16_t dataoffsetof(const uint8_t* header)
{
    return header[7];
}

void looklengths() {}

void setsonglength(uint8_t)
{
    shell::songframes = uint64_t{300} * synth::samplerate;
    shell::settuneticks();
}

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
