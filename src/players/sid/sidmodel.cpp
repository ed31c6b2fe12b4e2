#include "players/sid/sidmodel.h"

#include "players/sid/cpu.h"
#include "players/sid/sidregs.h"
#include "synth/synth.h"

namespace sid {

int sidchips = 1;
std::array<uint16_t, maxchips> sidbase{0xD400, 0, 0};
std::array<std::array<uint8_t, 32>, maxchips> chipregs{};
std::array<uint8_t, maxchips> chipvolume{15, 15, 15};
std::array<uint8_t, 32>& sidregs = chipregs[0];
uint8_t& mastervolume = chipvolume[0];
std::array<tenvstate, maxsidvoices> envstate{};
std::array<bool, maxsidvoices> voicesilent{};
int32_t cyclebudget = 0;
std::array<uint8_t, 256> cutofftab{};

namespace {

uint8_t expperiodfor(uint8_t level)
{
    if (level == 0) return 1;
    if (level <= 6) return 30;
    if (level <= 14) return 16;
    if (level <= 26) return 8;
    if (level <= 54) return 4;
    if (level <= 93) return 2;
    return 1;
}

// The register of a voice's own seven: rate nibbles, sustain, control.
uint8_t voicereg(int voice, int r)
{
    return chipregs[static_cast<size_t>(voice / 3)][static_cast<size_t>(7 * (voice % 3) + r)];
}

void frequencyupdate(const std::array<uint8_t, 32>& regs, int v, int base)
{
    if (!frequencyaccepted(base)) return;
    synth::voicefreq(v, (regs[base] + 256u * regs[base + 1]) / 17);
}

void pulseupdate(const std::array<uint8_t, 32>& regs, int v, int base)
{
    if (!(regs[base + 4] & 0x40)) return;
    const uint32_t w = (regs[base + 3] & 0x0Fu) * 256 + regs[base + 2];
    uint8_t p = static_cast<uint8_t>((w >> 3) & 0xFF);
    // The width folds around its middle: 50 % is the fullest pulse.
    if (regs[base + 3] & 0x08) p = static_cast<uint8_t>(255 - p);
    synth::voicepulse(v, p);
}

void controlupdate(const std::array<uint8_t, 32>& regs, int v, int base, uint8_t value)
{
    voicesilent[v] = (value & 0x08) != 0 || (value >> 4) == 0;
    controlwrite(v, value);
    tenvstate& e = envstate[v];
    const bool g = (value & 1) != 0;
    if (!e.gatebit && g) {
        e.envphase = phaseattack;
        e.rateperiod = adsrperiods[regs[base + 5] >> 4];
        e.holdzero = false;
    } else if (e.gatebit && !g) {
        e.envphase = phaserelease;
        e.rateperiod = adsrperiods[regs[base + 6] & 0x0F];
    }
    e.gatebit = g;
}

// The synth has one resonance for all voices: the chip that last set its
// low-pass filter decides it.
void filterupdate(const std::array<uint8_t, 32>& regs, int first)
{
    if (regs[0x18] & 0x10) {
        for (int i = 0; i < 3; ++i)
            synth::voicefilter(first + i, (regs[0x17] >> i) & 1 ? cutofftab[regs[0x16]] : cutofftab[255]);
        synth::setresonance(static_cast<uint8_t>((regs[0x17] >> 4) * 17));
    } else {
        for (int i = 0; i < 3; ++i) synth::voicefilter(first + i, cutofftab[255]);
    }
}

}  // namespace

int sidchipat(uint16_t address)
{
    for (int c = 1; c < sidchips; ++c)
        if ((address & 0xFFE0) == sidbase[static_cast<size_t>(c)]) return c;
    return (address >> 8) == 0xD4 ? 0 : -1;
}

void sidtables()
{
    for (int c = 0; c < 256; ++c) cutofftab[c] = cutoffentry(c);
}

uint8_t sidlevel(int voice)
{
    if (voiceswitchedoff(voice)) voicesilent[voice] = true;
    if (voicesilent[voice]) return 0;
    return static_cast<uint8_t>(envstate[voice].envlevel * (chipvolume[static_cast<size_t>(voice / 3)] + 1) / 16);
}

void sidwrite(uint8_t reg, uint8_t value)
{
    sidwritechip(0, reg, value);
}

void sidwritechip(int chip, uint8_t reg, uint8_t value)
{
    std::array<uint8_t, 32>& regs = chipregs[static_cast<size_t>(chip)];
    reg &= 0x1F;
    regs[reg] = value;
    if (reg < 0x15) {
        const int base = 7 * (reg / 7);
        const int v = 3 * chip + reg / 7;
        tenvstate& e = envstate[v];
        switch (reg % 7) {
        case 0:
        case 1: frequencyupdate(regs, v, base); break;
        case 2:
        case 3: pulseupdate(regs, v, base); break;
        case 4: controlupdate(regs, v, base, value); break;
        case 5:
            if (e.envphase == phaseattack) e.rateperiod = adsrperiods[value >> 4];
            if (e.envphase == phasedecay) e.rateperiod = adsrperiods[value & 0x0F];
            break;
        case 6:
            // A new sustain level is picked up by the next decay step.
            if (e.envphase == phaserelease) e.rateperiod = adsrperiods[value & 0x0F];
            break;
        }
    } else {
        if (reg == 0x18) chipvolume[static_cast<size_t>(chip)] = value & 0x0F;
        filterupdate(regs, 3 * chip);
    }

    const int32_t cycles = static_cast<int32_t>(cpu::cpucycles);
    for (int i = 0; i < 3 * sidchips; ++i) {
        envadvance(i, cycles);
        synth::voicelevel(i, sidlevel(i));
    }
    cyclebudget -= cycles;
    cpu::cpucycles = 0;
}

namespace {

// Whether a rate period's end moves nothing but the exponential counter:
// the level held at 0, or resting at a sustain level above 0 (at 0 the
// first step would still set holdzero).
bool envquiet(int voice, const tenvstate& e)
{
    if (e.holdzero) return e.envphase != phaseattack;
    return e.envphase == phasedecay && e.envlevel != 0 && e.envlevel == (voicereg(voice, 6) >> 4) * 17;
}

// The exponential counter after k rate periods of a quiet envelope, in one
// step instead of k: it counts up (through 255 to 0 when it has passed the
// period) and goes back to 0 on reaching the period.
void envquietperiods(tenvstate& e, uint32_t k)
{
    const uint32_t first = ((e.expperiod - e.expcounter - 1u) & 0xFFu) + 1;
    if (k < first) {
        e.expcounter = static_cast<uint8_t>(e.expcounter + k);
        return;
    }
    k -= first;
    e.expcounter = 0;
    if (!e.holdzero) e.expperiod = expperiodfor(e.envlevel);
    const uint32_t cycle = ((e.expperiod - 1u) & 0xFFu) + 1;
    e.expcounter = static_cast<uint8_t>(k % cycle);
}

}  // namespace

void envadvance(int voice, int32_t n)
{
    tenvstate& e = envstate[voice];
    // A period lowered below the counter lets it run on through 0x7FFF first.
    int32_t d = static_cast<int32_t>(e.rateperiod) - e.ratecounter;
    if (d <= 0) d += 0x7FFF;
    while (n != 0) {
        if (n < d) {
            e.ratecounter = static_cast<uint16_t>(e.ratecounter + n);
            if (e.ratecounter & 0x8000) e.ratecounter = static_cast<uint16_t>((e.ratecounter + 1) & 0x7FFF);
            return;
        }
        e.ratecounter = 0;
        // A sustained or silent voice would otherwise step through every
        // rate period of the tick one by one.
        if (e.rateperiod != 0 && envquiet(voice, e)) {
            const int32_t periods = 1 + (n - d) / e.rateperiod;
            n -= d + (periods - 1) * e.rateperiod;
            envquietperiods(e, static_cast<uint32_t>(periods));
            d = e.rateperiod;
            continue;
        }
        n -= d;
        ++e.expcounter;
        if (e.envphase == phaseattack || e.expcounter == e.expperiod) {
            e.expcounter = 0;
            if (!e.holdzero) {
                switch (e.envphase) {
                case phaseattack:
                    ++e.envlevel;
                    if (e.envlevel == 255) {
                        e.envphase = phasedecay;
                        e.rateperiod = adsrperiods[voicereg(voice, 5) & 0x0F];
                    }
                    break;
                case phasedecay:
                    if (e.envlevel != (voicereg(voice, 6) >> 4) * 17) --e.envlevel;
                    break;
                default:
                    --e.envlevel;  // from 0 this wraps to 255
                    break;
                }
                e.expperiod = expperiodfor(e.envlevel);
                if (e.envlevel == 0) e.holdzero = true;
            }
        }
        d = e.rateperiod;
    }
}

void sidreset()
{
    for (auto& regs : chipregs) regs.fill(0);
    for (tenvstate& e : envstate) {
        e = tenvstate{};
        e.expperiod = 1;
        e.envphase = phaserelease;
        e.rateperiod = adsrperiods[0];
        e.holdzero = true;
    }
    voicesilent.fill(false);
    chipvolume.fill(15);
    synth::setresonance(0);
}

}  // namespace sid
