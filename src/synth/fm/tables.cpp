// tarplay8's voice records, its two tables and its tone switches.
#include <cmath>
#include <numbers>

#include "synth/fm/record.h"
#include "synth/voice.h"

namespace synth {

const uint16_t nativerate = 44100;
uint16_t samplerate = nativerate;
std::array<tvoice, voicecount> voices;
std::array<double, 65536> costab;
std::array<uint16_t, 65536> noisetab;
relaxed<uint8_t> resonance{0};
relaxed<bool> fmtogglea{false};
relaxed<bool> fmtoggleb{false};

// tarplay8 is the eight-voice program: its play screen and its mute keys
// cover eight voices, so a third SID's last voice is not sounded.
int voicelimit()
{
    return 8;
}

void setresonance(uint8_t r)
{
    resonance = r;
}

void buildcostab()
{
    for (int i = 0; i < 65536; ++i) costab[i] = std::cos(2.0 * std::numbers::pi * i / 65536.0);
}

void fillnoise()
{
    fillunsignednoise(noisetab);
}

}  // namespace synth
