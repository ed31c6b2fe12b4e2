// The synth's shared state and the tables built at start-up.
#include "synth/synth.h"

#include <chrono>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>

namespace synth {

relaxed<uint8_t> lastvoice{7};
// Grouped in threes like the SID's voices: each voice is modulated by the
// previous one of its group, the first by the last.
const std::array<uint8_t, voicecount> modsource = {2, 0, 1, 5, 3, 4, 8, 6, 7};

std::array<int32_t, 4096> hzstep;
std::array<uint16_t, 4096> hzlog;

namespace {

std::mt19937 generator;

}  // namespace

uint32_t synthrandom(uint32_t n)
{
    if (n == 0) return 0;
    return std::uniform_int_distribution<uint32_t>(0, n - 1)(generator);
}

void fillcosine(std::array<int16_t, 65536>& table)
{
    for (int i = 0; i < 65536; ++i)
        table[i] = static_cast<int16_t>(std::lround(std::cos(2.0 * std::numbers::pi * i / 65536.0) * 32767.0));
}

void fillunsignednoise(std::array<uint16_t, 65536>& table)
{
    for (auto& entry : table) {
        const int32_t r = static_cast<int32_t>(synthrandom(3));
        entry = static_cast<uint16_t>((r - 1) * 32767 + 32768);
    }
}

int32_t hztostep(uint16_t hz)
{
    if (samplerate == 0) return 0;
    const double step = hz * 65536.0 / (samplerate / 256.0);
    // Only absurdly low rates get here; keep the conversion defined.
    if (step >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(step);
}

uint16_t hzlogvalue(uint16_t f)
{
    if (f > 4095) f = 4095;
    if (f < 16) return f;
    // Octave k covers [2^(k+4), 2^(k+5)); the position within it is scaled
    // to 0..255 by shifting the frequency to the 256..511 range.
    int octave = 0;
    while ((f >> (octave + 5)) != 0) ++octave;
    const int scaled = octave <= 4 ? f << (4 - octave) : f >> (octave - 4);
    return static_cast<uint16_t>((octave << 8) | ((scaled - 256) & 0xFF));
}

void buildtables()
{
    for (int f = 0; f < 4096; ++f) hzstep[f] = hztostep(static_cast<uint16_t>(f));
    for (int f = 0; f < 4096; ++f) hzlog[f] = hzlogvalue(static_cast<uint16_t>(f));
}

void synthinit()
{
    for (int v = 0; v < voicecount; ++v) voiceclear(v, false);
    hzstep.fill(0);
    hzlog.fill(0);

    generator.seed(static_cast<std::mt19937::result_type>(
        std::chrono::system_clock::now().time_since_epoch().count()));

    buildtables();
    buildcostab();
    fillnoise();
}

void seednoise(uint32_t seed)
{
    generator.seed(seed);
    fillnoise();
}

}  // namespace synth
