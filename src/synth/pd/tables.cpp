// tarplay's voices and the tables of its phase-distortion renderer.
#include "synth/pd/record.h"

namespace synth {

const uint16_t nativerate = 44100;
uint16_t samplerate = nativerate;
std::array<tvoice, voicecount> voices;
const uint8_t pddepth = 4;
std::array<int16_t, 65536> costab;
std::array<int16_t, 65536> noisetab;

void buildcostab()
{
    fillcosine(costab);
}

void fillnoise()
{
    for (int i = 0; i < 65536; ++i) {
        const int32_t r = static_cast<int32_t>(synthrandom(3));
        // Low 16 bits of (r - 1) * 65535 - 32768: -32767, -32768 or +32767.
        noisetab[i] = static_cast<int16_t>(static_cast<uint16_t>((r - 1) * 65535 - 32768));
    }
}

// The phase-distortion voices have no resonance modulator.
int voicelimit()
{
    return voicecount;
}

void setresonance(uint8_t) {}

}  // namespace synth
