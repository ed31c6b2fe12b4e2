// The register model of tarplay and tarplay8: the control byte handed to the
// renderer as it is, the squared cutoff curve, and each chip's oscillator 3
// and envelope 3 readable by the tune.
#include "players/sid/cpu.h"
#include "players/sid/sidmodel.h"
#include "players/sid/sidregs.h"
#include "synth/synth.h"

namespace sid {

void controlwrite(int v, uint8_t value)
{
    synth::voicecontrol(v, value);
}

bool frequencyaccepted(int)
{
    return true;
}

bool voiceswitchedoff(int)
{
    return false;
}

uint8_t cutoffentry(int c)
{
    const int i = 255 - c;
    return static_cast<uint8_t>(i * i / 264.0);
}

void beforeplay()
{
    for (int c = 0; c < sidchips; ++c) {
        const uint16_t base = sidbase[static_cast<size_t>(c)];
        cpu::cpumem[base + 0x1B] = static_cast<uint8_t>((synth::voicelastout(3 * c + 2) >> 8) & 0xFF);
        cpu::cpumem[base + 0x1C] = envstate[static_cast<size_t>(3 * c + 2)].envlevel;
    }
}

}  // namespace sid
