// The renderer as it was first written: one frame at a time, every voice
// field read and written in the shared record. The fast renderer must match
// it sample for sample and field for field; it is kept here, beside the test
// that compares the two, as the plain statement of what a frame computes.
#include "render_reference.h"

#include <algorithm>

#include "synth/pd/record.h"
#include "synth/pd/wave.h"
#include "synth/renderstep.h"

namespace synth::reference {

namespace {

constexpr uint8_t nosource = 255;

inline int32_t costabat(int64_t index)
{
    return synth::costab[static_cast<uint64_t>(index) & 0xFFFF];
}

// Sync, ring and noise are decoded afresh from the control byte on every
// call, so that a player only ever has to write the control byte.
void decodecontrol(tvoice& v, uint8_t i)
{
    const uint8_t control = v.control;
    // With the test bit held the voice can never report a wrap, so it
    // stops hard-syncing the voice it drives.
    if (control & 0x08) v.lastphase = 0;
    switch (control >> 4) {
    case 1: v.shape = 2; v.pulse = 255; break;
    case 2: v.shape = 3; v.pulse = 0; break;
    case 4: v.shape = 0; break;
    case 5: v.shape = 1; break;
    case 6: v.shape = 2; break;
    case 7: v.shape = 3; break;
    default: break;
    }
    v.noise = (control >> 4) >= 8 ? 1 : 0;
    v.syncsrc = (control & 0x02) ? modsource[i] : nosource;
    v.ringsrc = (control & 0x04) ? modsource[i] : nosource;
}

// Advances voice i by one frame and returns its contribution to the mix.
int32_t rendervoice(tvoice& v)
{
    if (v.muted != 0) return 0;

    const uint32_t step = v.step;
    const uint32_t phase = v.phase + step;
    v.phase = phase;
    v.noisepos = v.noisepos + step / 256;

    int64_t p = (phase >> 8) & 0xFFFF;
    v.wrapped = ((v.lastphase & 0x8000) != 0 && (p & 0x8000) == 0) ? 1 : 0;

    const uint8_t volume = glide<uint8_t>(v.volume, v.level);
    const uint8_t morph = glide<uint8_t>(v.morph, static_cast<uint8_t>(255 - v.pulse));
    const uint8_t bright = glide<uint8_t>(v.bright, static_cast<uint8_t>(255 - v.filter));
    v.volume = volume;
    v.morph = morph;
    v.bright = bright;

    // A source with a lower index has already moved this frame; a higher
    // one still shows the previous frame.
    const uint8_t syncsrc = v.syncsrc;
    const bool synced = validsource(syncsrc);
    if (synced && synth::voices[syncsrc].wrapped != 0) {
        v.phase = 0;
        p = 0;
    }
    v.lastphase = static_cast<int32_t>(p);

    // Squeeze the cycle into its first 256 / (256 + t) part; the rest of the
    // cycle reads phase 0.
    const int64_t t = (static_cast<int64_t>(morph) * bright) >> 8;
    int64_t pp = p + ((p * t) >> 8);
    if (pp > 65535) pp = 0;

    const int64_t w00 = waveparams[0], w01 = waveparams[1], w02 = waveparams[2];
    const int64_t w10 = waveparams[3], w11 = waveparams[4], w12 = waveparams[5];
    const int64_t m0 = w10 + (w00 - w10) * morph / 255;
    const int64_t m1 = w11 + (w01 - w11) * morph / 255;
    const int64_t m2 = w12 + (w02 - w12) * morph / 255;

    const int64_t feedback = v.feedback;
    const int64_t fo = feedback * m2 / 512;

    const uint8_t control = v.control;
    int64_t a;
    if ((control >> 4) > 3) {
        a = (pp > 32767 ? m1 : m0) - 128;
    } else {
        const int shape = std::clamp<int32_t>(v.shape, 0, 3);
        a = static_cast<int64_t>(waveparams[shape * 3 + (pp >> 15)]) - 128;
    }

    const int64_t s = costabat(2 * pp);
    const int64_t d = (32767 - s) * a / 256;
    const int64_t d2 = d * pddepth * bright / 256;

    int64_t out = costabat(d2 + fo + pp);
    v.feedback = static_cast<int32_t>((feedback + out) / 2);
    v.lastout = static_cast<int32_t>(out);

    if (v.noise != 0) {
        const int64_t x = synth::noisetab[(v.noisepos >> 12) & 0xFFFF];
        int64_t lp1 = v.noiselp1;
        int64_t lp2 = v.noiselp2;
        lp1 += (x - lp1) * bright / 256;
        lp2 += (lp1 - lp2) * bright / 256;
        v.noiselp1 = static_cast<int32_t>(lp1);
        v.noiselp2 = static_cast<int32_t>(lp2);
        out = lp2;
    }

    // The window is the sine of the source's phase, zero where the source
    // wraps, so the hard reset above makes no click.
    if (synced) {
        const int64_t w = -static_cast<int64_t>(costabat(static_cast<int64_t>(synth::voices[syncsrc].lastphase) + 16384));
        out = out * w / 32768;
    }

    const uint8_t ringsrc = v.ringsrc;
    if (validsource(ringsrc)) {
        const tvoice& src = synth::voices[ringsrc];
        const int n = src.control >> 4;
        // A noise or silent source does not ring-modulate.
        if (n >= 1 && n <= 7) out = out * src.lastout / 32768;
    }

    out = std::clamp<int64_t>(out, -32768, 32767);
    return static_cast<int32_t>(out * volume / 1024);
}

}  // namespace

void renderframes(int16_t* out, uint16_t count)
{
    const uint8_t last = std::min<uint8_t>(lastvoice, voicecount - 1);
    for (uint8_t i = 0; i <= last; ++i) decodecontrol(synth::voices[i], i);

    for (uint32_t j = 0; j < count; ++j) {
        int32_t l = 0;
        int32_t r = 0;
        for (uint8_t i = 0; i <= last; ++i) {
            const int32_t c = rendervoice(synth::voices[i]);
            l += c;
            r += c;
        }
        // The sum is not clipped: the low 16 bits are the sample.
        out[2 * j] = static_cast<int16_t>(static_cast<uint16_t>(l));
        out[2 * j + 1] = static_cast<int16_t>(static_cast<uint16_t>(r));
    }
}

}  // namespace synth::reference
