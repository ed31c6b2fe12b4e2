// tarplay_pd's renderer: every voice a cosine whose phase is compressed by
// its pulse shape and bent by a 32-point modulator wave, with feedback,
// hard sync, unsmoothed noise and ring modulation. The players decode the
// control byte; nothing here reads it.
//
// Integer arithmetic only: 64-bit products, '/' truncating toward zero
// except where a floor is named, table indices the low 16 bits.
#include <algorithm>

#include "synth/pd32/record.h"
#include "synth/pd32/wave.h"
#include "synth/renderstep.h"

namespace synth {

namespace {

inline int32_t costabat(int64_t index)
{
    return costab[static_cast<uint64_t>(index) & 0xFFFF];
}

inline int64_t floordiv(int64_t a, int64_t b)
{
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// The modulator: the destination wave read at x (16 bits, 2048 steps per
// point) with linear interpolation toward the next point, centred on 0.
int64_t modulator(uint32_t x)
{
    const twave32& wave = waves[1];
    const uint32_t seg = (x >> 11) & 31;
    const int64_t frac = x & 2047;
    const int64_t here = wave[seg];
    const int64_t next = wave[(seg + 1) % wavepoints];
    const int64_t w = here * 256 + floordiv((next - here) * frac, 8);
    return static_cast<int16_t>(static_cast<uint16_t>((w & 0xFFFF) ^ 0x8000));
}

int32_t rendervoice(tvoice& v)
{
    // The noise reads the accumulator as it was before any sync reset.
    const uint32_t phase = v.phase + v.step;
    const int64_t p = advancephase(v, voices);
    const uint8_t volume = glide<uint8_t>(v.volume, v.level);
    v.volume = volume;

    const uint8_t pulse = v.pulse;
    v.morph = glide<uint8_t>(v.morph, static_cast<uint8_t>(255 - pulse));
    const uint8_t brighttarget = static_cast<uint8_t>(255 - (link ? v.filter.load() : pulse));
    const uint8_t bright = glide<uint8_t>(v.bright, brighttarget);
    v.bright = bright;

    int64_t pp = p + p * pulse / 256;
    if (pp > 65535) pp = 0;

    const int64_t feedback = v.feedback;
    const int64_t fo = feedback * fbgain / 255;
    const uint32_t x = static_cast<uint32_t>(pp * mult) & 0xFFFF;
    const int64_t bend = floordiv(modulator(x) * depth * bright, 4096);
    int64_t out = costabat(pp + fo + bend);
    v.feedback = static_cast<int32_t>((feedback + out) / 2);
    v.lastout = static_cast<int32_t>(out);

    if (v.noise != 0) out = noisetab[phase & 0xFFFF];

    // A ring source that names no voice is taken for none.
    const uint8_t ringsrc = v.ringsrc;
    if (validsource(ringsrc)) out = out * voices[ringsrc].lastout / 32768;

    out = std::clamp<int64_t>(out, -32768, 32767);
    return static_cast<int32_t>(out * volume / 1024);
}

}  // namespace

void renderframes(int16_t* out, uint16_t count)
{
    const uint8_t last = std::min<uint8_t>(lastvoice, voicecount - 1);
    for (uint32_t j = 0; j < count; ++j) {
        int32_t sum = 0;
        for (uint8_t i = 0; i <= last; ++i) sum += rendervoice(voices[i]);
        // The sum is not clipped: the low 16 bits are the sample.
        out[2 * j] = static_cast<int16_t>(static_cast<uint16_t>(sum));
        out[2 * j + 1] = out[2 * j];
    }
}

}  // namespace synth
