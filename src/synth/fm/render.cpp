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
//
// The division by pi sits on the feedback loop that every frame waits for.
// A product with pi's reciprocal is within two units in the last place of
// the rounded quotient, so where no whole number lies within about four
// units of it (nearly always) both truncate alike and the product's value
// is taken; otherwise the division decides, as it always did.
inline int64_t radianstoindex(double radians)
{
    // 32768 times the rounded reciprocal, exactly (a power of two): one
    // product where the scaling and the reciprocal would take two.
    constexpr double perradian = 32768 * (1 / std::numbers::pi);
    const double guess = radians * perradian;
    const double a = std::fabs(guess);
    if (a < 1e14 && static_cast<int64_t>(a * (1 - 0x1p-50)) == static_cast<int64_t>(a * (1 + 0x1p-50)))
        return static_cast<int64_t>(guess);
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

// A voice as plain values for the frames of one call: what the players set
// (they only do so between calls, at their ticks) and the renderer's own
// state, kept out of the shared record, whose every access is a load or
// store of its own. The mute flag, which the main thread flips at any time,
// is still read frame by frame from the record.
struct tlocal {
    uint32_t step, hz;
    uint8_t control, pulse, filter, level, syncsrc, ringsrc;
    bool noise, triangle, secondop;

    uint32_t phase, noisepos;
    int32_t lastphase;
    uint8_t wrapped, volume, morph;
    int32_t bright;
    double fb1, fb2;
    int32_t lastout, noiselp1, noiselp2;

    // The operator depths for the brightness they were worked out for (the
    // divisions cost more than the rest of the voice, and brightness only
    // moves while it glides).
    int32_t depthsfor;
    double x0, x2;
};

void takevoice(tlocal& l, const tvoice& v)
{
    l.step = v.step;
    l.hz = v.hz;
    l.control = v.control;
    l.pulse = v.pulse;
    l.filter = v.filter;
    l.level = v.level;
    l.syncsrc = v.syncsrc;
    l.ringsrc = v.ringsrc;
    l.noise = v.noise != 0;
    l.triangle = v.triangle != 0;
    l.secondop = v.secondop != 0;
    l.phase = v.phase;
    l.noisepos = v.noisepos;
    l.lastphase = v.lastphase;
    l.wrapped = v.wrapped;
    l.volume = v.volume;
    l.morph = v.morph;
    l.bright = v.bright;
    l.fb1 = v.fb1;
    l.fb2 = v.fb2;
    l.lastout = v.lastout;
    l.noiselp1 = v.noiselp1;
    l.noiselp2 = v.noiselp2;
    l.depthsfor = -1;
}

void givevoice(tvoice& v, const tlocal& l)
{
    v.phase = l.phase;
    v.noisepos = l.noisepos;
    v.lastphase = l.lastphase;
    v.wrapped = l.wrapped;
    v.volume = l.volume;
    v.morph = l.morph;
    v.bright = l.bright;
    v.fb1 = l.fb1;
    v.fb2 = l.fb2;
    v.lastout = l.lastout;
    v.noiselp1 = l.noiselp1;
    v.noiselp2 = l.noiselp2;
}

// Advances a voice by one frame and returns its contribution to the mix.
// A muted voice runs exactly like a sounding one and is silenced at the end.
int32_t rendervoice(tlocal& v, tlocal* all, bool muted, const tframeset& set)
{
    const uint32_t noisepos = v.noisepos + v.step / 256;
    v.noisepos = noisepos;
    const int64_t p = advancephase(v, all);
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
    const bool noise = v.noise;
    if (bright != v.depthsfor) {
        double x0 = v.triangle ? 0.0 : bright / 255.0 * 2.2;
        if (noise) x0 = 16;
        double x2 = (255 - bright) / 255.0;
        const double k = 1 - hz * 0.0001;
        v.x0 = std::max(0.0, x0 * k);
        v.x2 = std::max(0.0, x2 * k);
        v.depthsfor = bright;
    }
    const double x0 = v.x0;
    const double x2 = v.x2;

    const bool inverted = set.togglea || v.secondop;
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
        const double s = costabat(static_cast<int64_t>(all[syncsrc].lastphase) + 16384);
        const int64_t w = -static_cast<int64_t>(s * 32767);
        out = out * w / 32768;
    }

    const uint8_t ringsrc = v.ringsrc;
    if (validsource(ringsrc) && all[ringsrc].control != 0) out = out * all[ringsrc].lastout / 32768;

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

    if (muted) out = 0;
    out = std::clamp<int64_t>(out, -32768, 32767);
    return static_cast<int32_t>(out * volume / 1024);
}

}  // namespace

void renderframes(int16_t* out, uint16_t count)
{
    const uint8_t last = std::min<uint8_t>(lastvoice, voicecount - 1);
    for (uint8_t i = 0; i <= last; ++i) decodecontrol(voices[i], i);
    // Every voice, as a source may be one that is not rendered.
    tlocal local[voicecount];
    for (int i = 0; i < voicecount; ++i) takevoice(local[i], voices[i]);

    for (uint32_t j = 0; j < count; ++j) {
        // The test bit's hold on lastphase applies on every frame of a call,
        // as if the control bytes were decoded frame by frame.
        if (j != 0)
            for (uint8_t i = 0; i <= last; ++i)
                if (local[i].control & 0x08) local[i].lastphase = 0;
        const tframeset set{fmtogglea, fmtoggleb, resonance};
        int32_t l = 0;
        int32_t r = 0;
        for (uint8_t i = 0; i <= last; ++i) {
            const int32_t c = rendervoice(local[i], local, voices[i].muted != 0, set);
            l += c;
            r += c;
        }
        // The sum is not clipped: the low 16 bits are the sample.
        out[2 * j] = static_cast<int16_t>(static_cast<uint16_t>(l));
        out[2 * j + 1] = static_cast<int16_t>(static_cast<uint16_t>(r));
    }
    for (uint8_t i = 0; i <= last; ++i) givevoice(voices[i], local[i]);
}

}  // namespace synth
