// tarplay8's per-frame renderer: every voice is a pair of cosine operators
// in 64-bit floating point. Operator 1 is bent by its own feedback and by a
// modulator at a multiple of the voice's phase whose ratio comes from the
// filter resonance; operator 2 runs a morph-dependent distance behind it,
// and the voice sounds their difference. Brightness sets the feedback depth
// and the cut-off of a two-stage smoother that every voice goes through.
//
// The floating-point expressions are written in the order the sound was
// defined in, without reassociation, so that a render is the same on every
// run. Everything after the operators is integer: 64-bit products, division
// truncating toward zero, table indices as the low 16 bits of the
// two's-complement value.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "synth/fm/record.h"
#include "synth/renderstep.h"
#include "synth/voice.h"

namespace synth {

namespace {

constexpr uint8_t nosource = 255;

inline double costabat(int64_t index)
{
    return costab[static_cast<uint64_t>(index) & 0xFFFF];
}

// A phase offset in radians as a table distance, truncated toward zero.
// The offsets stay within a few radians; a value that could not be
// converted (never produced by this renderer) counts as no offset.
inline int64_t radianstoindex(double radians)
{
    const double index = radians * 32768 / std::numbers::pi;
    if (!(std::fabs(index) < 1e15)) return 0;
    return static_cast<int64_t>(index);
}

// A floating-point sample truncated toward zero into the 16-bit range.
// Clamping first gives the same result and keeps the conversion defined.
inline int64_t tosample(double x)
{
    if (std::isnan(x)) return 0;
    return static_cast<int64_t>(std::clamp(x, -32768.0, 32767.0));
}

// Flags, sync and ring are decoded afresh from the control byte on every
// call, so that a player only ever has to write the control byte.
void decodecontrol(tvoice& v, uint8_t i)
{
    const uint8_t control = v.control;
    // With the test bit held the voice can never report a wrap, so it
    // stops hard-syncing the voice it drives.
    if (control & 0x08) v.lastphase = 0;
    const int n = control >> 4;
    if (n == 1) {
        v.pulse = 255;
        v.triangle = 1;
        v.secondop = 1;
    } else if (n == 2) {
        v.pulse = 255;
        v.secondop = 1;
        v.triangle = 0;
    } else if (n == 4) {
        v.triangle = 0;
        v.secondop = 0;
    } else if (n >= 5 && n <= 7) {
        v.secondop = 1;
        v.triangle = 0;
    } else if (n >= 8) {
        // Noise keeps whatever second-operator flag the voice had.
        v.triangle = 0;
    }
    v.noise = n >= 8 ? 1 : 0;
    v.syncsrc = (control & 0x02) ? modsource[i] : nosource;
    v.ringsrc = (control & 0x04) ? modsource[i] : nosource;
}

// What every voice of one frame shares, read once per frame so that a
// switch flipped by the main thread is heard from the next frame on.
struct tframeset {
    bool togglea;
    bool toggleb;
    uint8_t resonance;
};

// Advances a voice by one frame and returns its contribution to the mix.
// A muted voice runs exactly like a sounding one and is silenced at the end.
int32_t rendervoice(tvoice& v, const tframeset& set)
{
    const uint32_t noisepos = v.noisepos + v.step / 256;
    v.noisepos = noisepos;
    const int64_t p = advancephase(v, voices);
    const uint8_t syncsrc = v.syncsrc;
    const bool synced = validsource(syncsrc);

    const uint8_t volume = glide<uint8_t>(v.volume, v.level);
    const uint8_t morph = glide<uint8_t>(v.morph, v.pulse);
    const int32_t bright = glide<int32_t>(v.bright, 255 - v.filter);
    v.volume = volume;
    v.morph = morph;
    v.bright = bright;

    // Brightness trades the self-feedback (x0) against the resonance
    // modulator (x2); both fade out toward high frequencies. Noise drives
    // the feedback hard instead.
    const uint32_t hz = v.hz;
    const bool noise = v.noise != 0;
    double x0 = v.triangle != 0 ? 0.0 : bright / 255.0 * 2.2;
    if (noise) x0 = 16;
    double x2 = (255 - bright) / 255.0;
    const double k = 1 - hz * 0.0001;
    x0 = std::max(0.0, x0 * k);
    x2 = std::max(0.0, x2 * k);

    const bool inverted = set.togglea || v.secondop != 0;
    int64_t off2 = static_cast<int64_t>(morph) * 128 + 128;
    if (inverted) off2 *= 2;

    const int64_t ratio = set.resonance / 52;
    const double m = set.resonance != 0 ? costabat(p * ratio) : 0.0;

    const double fb1 = v.fb1;
    const double y1 = costabat(p + radianstoindex(m * x2 + x0 * fb1));
    v.fb1 = (y1 + fb1) * 0.5;

    const double fb2 = v.fb2;
    const double mod2 = set.toggleb ? x0 * fb2 + m * x2 * 3.0 : x0 * fb2;
    double y2 = costabat(p + radianstoindex(mod2) + off2);
    v.fb2 = (y2 + fb2) * 0.5;
    if (inverted) y2 = -y2;

    int64_t out = tosample((y1 - y2) * 16383);
    v.lastout = static_cast<int32_t>(out);

    // The window is the sine of the source's phase, zero where the source
    // wraps, so the hard reset above makes no click.
    if (synced) {
        const double s = costabat(static_cast<int64_t>(voices[syncsrc].lastphase) + 16384);
        const int64_t w = -static_cast<int64_t>(s * 32767);
        out = out * w / 32768;
    }

    const uint8_t ringsrc = v.ringsrc;
    if (validsource(ringsrc) && voices[ringsrc].control != 0)
        out = out * voices[ringsrc].lastout / 32768;

    // Only low noise reads the table; higher noise is the overdriven
    // feedback of the operators.
    if (noise && hz < 64) out = static_cast<int64_t>(noisetab[(noisepos >> 12) & 0xFFF]) - 32768;

    int64_t lp1 = v.noiselp1;
    int64_t lp2 = v.noiselp2;
    lp1 += (out - lp1) * bright / 256;
    lp2 += (lp1 - lp2) * bright / 256;
    v.noiselp1 = static_cast<int32_t>(lp1);
    v.noiselp2 = static_cast<int32_t>(lp2);
    out = lp2;

    if (v.muted != 0) out = 0;
    out = std::clamp<int64_t>(out, -32768, 32767);
    return static_cast<int32_t>(out * volume / 1024);
}

}  // namespace

void renderframes(int16_t* out, uint16_t count)
{
    const uint8_t last = std::min<uint8_t>(lastvoice, voicecount - 1);
    for (uint8_t i = 0; i <= last; ++i) decodecontrol(voices[i], i);

    for (uint32_t j = 0; j < count; ++j) {
        // The test bit's hold on lastphase applies on every frame of a call,
        // as if the control bytes were decoded frame by frame.
        if (j != 0)
            for (uint8_t i = 0; i <= last; ++i)
                if (voices[i].control & 0x08) voices[i].lastphase = 0;
        const tframeset set{fmtogglea, fmtoggleb, resonance};
        int32_t l = 0;
        int32_t r = 0;
        for (uint8_t i = 0; i <= last; ++i) {
            const int32_t c = rendervoice(voices[i], set);
            l += c;
            r += c;
        }
        // The sum is not clipped: the low 16 bits are the sample.
        out[2 * j] = static_cast<int16_t>(static_cast<uint16_t>(l));
        out[2 * j + 1] = static_cast<int16_t>(static_cast<uint16_t>(r));
    }
}

}  // namespace synth
