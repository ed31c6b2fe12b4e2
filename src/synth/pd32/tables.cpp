// tarplay_pd's voices and tables: 48000 frames per second, the cosine of
// tarplay's renderer and an unsigned noise table read by the phase itself.
#include "synth/pd32/record.h"

namespace synth {

const uint16_t nativerate = 48000;
uint16_t samplerate = nativerate;
std::array<tvoice, voicecount> voices;
std::array<int16_t, 65536> costab;
std::array<uint16_t, 65536> noisetab;

void buildcostab()
{
    fillcosine(costab);
}

void fillnoise()
{
    fillunsignednoise(noisetab);
}

// The voices carry no mute flag: tarplay_pd mutes in its SID register
// model, so here every voice sounds.
void voicemute(int, bool) {}
bool voicemuted(int) { return false; }

// The phase-distortion voices have no resonance modulator.
int voicelimit()
{
    return voicecount;
}

void setresonance(uint8_t) {}

}  // namespace synth
