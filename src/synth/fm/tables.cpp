// tarplay8's voice records, its two tables and its tone switches.
#include <cmath>
#include <numbers>

#include "synth/fm/record.h"
#include "synth/voice.h"

namespace synth {

std::array<tvoice, voicecount> voices;
std::array<double, 65536> costab;
std::array<uint16_t, 65536> noisetab;
relaxed<bool> fmtogglea{false};
relaxed<bool> fmtoggleb{false};

void buildcostab()
{
    for (int i = 0; i < 65536; ++i) costab[i] = std::cos(2.0 * std::numbers::pi * i / 65536.0);
}

void fillnoise()
{
    // One draw per entry in index order, so a seeded generator always
    // gives the same table.
    for (auto& entry : noisetab) {
        const int32_t r = static_cast<int32_t>(synthrandom(3));
        entry = static_cast<uint16_t>((r - 1) * 32767 + 32768);  // 1, 32768 or 65535
    }
}

}  // namespace synth
