// The renderer: every voice is a phase-distortion oscillator (a cosine read
// through a phase bent by a raised-cosine term) with feedback, a smoothed
// noise path, windowed hard sync and ring modulation.
//
// Everything on this path is integer: 64-bit products, division truncating
// toward zero (C++ '/' on signed values), and table indices taken as the low
// 16 bits of the two's-complement value.
//
// A call renders a run of frames (the audio loop passes everything up to the
// next tick) on plain copies of the voice fields, which go back to the shared
// record at the end of the call. Only what another thread changes while the
// audio runs is read during the call: the mute flags on every frame, and the
// wave bytes the editor writes every 256 frames (under 6 ms). The result is
// the same, sample for sample, as rendering one frame per call.
#include <algorithm>

#include "synth/pd/record.h"
#include "synth/renderstep.h"

namespace synth {

namespace {

constexpr uint8_t nosource = 255;
constexpr uint32_t wavereadframes = 256;

inline int64_t costabat(int64_t index)
{
    return costab[static_cast<uint64_t>(index) & 0xFFFF];
}

// What a voice's morph, brightness and the wave bytes derive: recomputed only
// when a glide moves or the wave bytes are read again.
struct tshape {
    int64_t t, m2, pdb;
    int64_t a0, a1;  // the distortion amount of the cycle's two halves, less 128
};

// A voice's fields for the length of one call.
struct tlocal {
    uint32_t step, phase, noisepos;
    int32_t lastphase, feedback, noiselp1, noiselp2, lastout;
    uint8_t wrapped, volume, level, morph, bright;
    uint8_t morphtarget, brighttarget;  // 255 - pulse, 255 - filter
    uint8_t syncsrc, ringsrc;
    bool testbit, noise, wavebytes, ring;
    int shape;
    tshape d;
};

struct tcall {
    std::array<tlocal, voicecount> v;
    std::array<uint8_t, waveparamcount> wave;
};

tcall call;

inline tshape derive(const tlocal& v, uint8_t morphbyte, uint8_t bright)
{
    const std::array<uint8_t, waveparamcount>& w = call.wave;
    const int64_t morph = morphbyte;
    tshape d;
    d.t = (morph * bright) >> 8;
    d.pdb = static_cast<int64_t>(pddepth) * bright;
    const int64_t m0 = w[3] + (static_cast<int64_t>(w[0]) - w[3]) * morph / 255;
    const int64_t m1 = w[4] + (static_cast<int64_t>(w[1]) - w[4]) * morph / 255;
    d.m2 = w[5] + (static_cast<int64_t>(w[2]) - w[5]) * morph / 255;
    if (v.wavebytes) {
        d.a0 = m0 - 128;
        d.a1 = m1 - 128;
    } else {
        d.a0 = static_cast<int64_t>(w[v.shape * 3]) - 128;
        d.a1 = static_cast<int64_t>(w[v.shape * 3 + 1]) - 128;
    }
    return d;
}

void readwave()
{
    for (int k = 0; k < waveparamcount; ++k) call.wave[k] = waveparams[k];
}

void rederive(uint8_t last)
{
    for (uint8_t i = 0; i <= last; ++i) call.v[i].d = derive(call.v[i], call.v[i].morph, call.v[i].bright);
}

// Copies voice i out of the record and decodes its control byte: sync, ring
// and noise follow the control byte alone, so that a player only ever has to
// write that.
void load(uint8_t i)
{
    tvoice& r = voices[i];
    tlocal& v = call.v[i];
    const uint8_t control = r.control;
    switch (control >> 4) {
    case 1: r.shape = 2; r.pulse = 255; break;
    case 2: r.shape = 3; r.pulse = 0; break;
    case 4: r.shape = 0; break;
    case 5: r.shape = 1; break;
    case 6: r.shape = 2; break;
    case 7: r.shape = 3; break;
    default: break;
    }
    r.noise = (control >> 4) >= 8 ? 1 : 0;
    r.syncsrc = (control & 0x02) ? modsource[i] : nosource;
    r.ringsrc = (control & 0x04) ? modsource[i] : nosource;
    // With the test bit held the voice can never report a wrap, so it stops
    // hard-syncing the voice it drives; the frame loops clear lastphase at
    // the start of every frame, as a decode per frame would.
    v.testbit = (control & 0x08) != 0;
    if (v.testbit) r.lastphase = 0;

    v.step = r.step;
    v.phase = r.phase;
    v.noisepos = r.noisepos;
    v.lastphase = r.lastphase;
    v.feedback = r.feedback;
    v.noiselp1 = r.noiselp1;
    v.noiselp2 = r.noiselp2;
    v.lastout = r.lastout;
    v.wrapped = r.wrapped;
    v.volume = r.volume;
    v.level = r.level;
    v.morph = r.morph;
    v.bright = r.bright;
    v.morphtarget = static_cast<uint8_t>(255 - r.pulse);
    v.brighttarget = static_cast<uint8_t>(255 - r.filter);
    v.syncsrc = validsource(r.syncsrc) ? r.syncsrc.load() : nosource;
    v.ringsrc = validsource(r.ringsrc) ? r.ringsrc.load() : nosource;
    v.noise = r.noise != 0;
    v.wavebytes = (control >> 4) > 3;
    v.shape = std::clamp<int32_t>(r.shape, 0, 3);
}

// A voice that is not rendered (past the last) is still read as a source.
void loadsource(uint8_t i)
{
    const tvoice& r = voices[i];
    tlocal& v = call.v[i];
    v.lastphase = r.lastphase;
    v.wrapped = r.wrapped;
    v.lastout = r.lastout;
}

void store(uint8_t i)
{
    tvoice& r = voices[i];
    const tlocal& v = call.v[i];
    r.phase = v.phase;
    r.noisepos = v.noisepos;
    r.lastphase = v.lastphase;
    r.feedback = v.feedback;
    r.noiselp1 = v.noiselp1;
    r.noiselp2 = v.noiselp2;
    r.lastout = v.lastout;
    r.wrapped = v.wrapped;
    r.volume = v.volume;
    r.morph = v.morph;
    r.bright = v.bright;
}

// The oscillator at phase p (0..65535): squeezes the cycle into its first
// 256 / (256 + t) part (the rest reads phase 0), bends it, reads the cosine
// through it and moves the feedback.
inline int64_t oscillate(int64_t p, int32_t& feedback, const tshape& d)
{
    int64_t pp = p + ((p * d.t) >> 8);
    if (pp > 65535) pp = 0;
    const int64_t fb = feedback;
    const int64_t fo = fb * d.m2 / 512;
    const int64_t a = pp > 32767 ? d.a1 : d.a0;
    const int64_t s = costabat(2 * pp);
    const int64_t bend = (32767 - s) * a / 256 * d.pdb / 256;
    const int64_t out = costabat(bend + fo + pp);
    feedback = static_cast<int32_t>((fb + out) / 2);
    return out;
}

// The noise table through two one-pole smoothers at the voice's brightness.
inline int64_t smoothnoise(uint32_t noisepos, int32_t& noiselp1, int32_t& noiselp2, int64_t bright)
{
    const int64_t x = noisetab[(noisepos >> 12) & 0xFFFF];
    int64_t lp1 = noiselp1;
    int64_t lp2 = noiselp2;
    lp1 += (x - lp1) * bright / 256;
    lp2 += (lp1 - lp2) * bright / 256;
    noiselp1 = static_cast<int32_t>(lp1);
    noiselp2 = static_cast<int32_t>(lp2);
    return lp2;
}

inline int32_t tomix(int64_t out, uint8_t volume)
{
    return static_cast<int32_t>(std::clamp<int64_t>(out, -32768, 32767) * volume / 1024);
}

// Advances a voice by one frame, reading its sync and ring sources in vs,
// and returns its contribution to the mix.
inline int32_t rendervoice(const tlocal* vs, tlocal& v)
{
    const uint32_t phase = v.phase + v.step;
    v.phase = phase;
    v.noisepos += v.step / 256;

    int64_t p = (phase >> 8) & 0xFFFF;
    v.wrapped = ((v.lastphase & 0x8000) != 0 && (p & 0x8000) == 0) ? 1 : 0;

    v.volume = glide<uint8_t>(v.volume, v.level);
    if (v.morph != v.morphtarget || v.bright != v.brighttarget) {
        v.morph = glide<uint8_t>(v.morph, v.morphtarget);
        v.bright = glide<uint8_t>(v.bright, v.brighttarget);
        v.d = derive(v, v.morph, v.bright);
    }

    // A source with a lower index has already moved this frame; a higher
    // one still shows the previous frame.
    const uint8_t syncsrc = v.syncsrc;
    const bool synced = syncsrc != nosource;
    if (synced && vs[syncsrc].wrapped != 0) {
        v.phase = 0;
        p = 0;
    }
    v.lastphase = static_cast<int32_t>(p);

    int64_t out = oscillate(p, v.feedback, v.d);
    v.lastout = static_cast<int32_t>(out);
    if (v.noise) out = smoothnoise(v.noisepos, v.noiselp1, v.noiselp2, v.bright);

    // The window is the sine of the source's phase, zero where the source
    // wraps, so the hard reset above makes no click.
    if (synced) out = out * -costabat(static_cast<int64_t>(vs[syncsrc].lastphase) + 16384) / 32768;
    if (v.ring) out = out * vs[v.ringsrc].lastout / 32768;
    return tomix(out, v.volume);
}

// Frame by frame, voice after voice, for calls where voices sync or ring
// each other; Voices > 0 fixes their number so that the loop unrolls.
template <int Voices>
void rendermodulated(int16_t* out, uint32_t count, uint8_t last)
{
    const uint32_t n = Voices > 0 ? static_cast<uint32_t>(Voices) : last + 1u;
    tlocal* vs = call.v.data();
    bool anytest = false;
    for (uint32_t i = 0; i < n; ++i) anytest |= vs[i].testbit;

    for (uint32_t j = 0; j < count; ++j) {
        if (j != 0 && j % wavereadframes == 0) {
            readwave();
            rederive(last);
        }
        if (anytest)
            for (uint32_t i = 0; i < n; ++i)
                if (vs[i].testbit) vs[i].lastphase = 0;
        int32_t mix = 0;
        for (uint32_t i = 0; i < n; ++i) {
            // A muted voice is silent and frozen from the next frame on.
            if (voices[i].muted.load() != 0) continue;
            mix += rendervoice(vs, vs[i]);
        }
        // The sum is not clipped: the low 16 bits are the sample.
        const auto sample = static_cast<int16_t>(static_cast<uint16_t>(mix));
        out[2 * j] = sample;
        out[2 * j + 1] = sample;
    }
}

// One voice that reads no other, over up to wavereadframes frames added into
// mix, with its fields in registers for the whole stretch.
template <bool Noise>
void rendersolo(tlocal& v, const relaxed<uint8_t>& muted, int32_t* mix, uint32_t count)
{
    const uint32_t step = v.step;
    const uint8_t level = v.level, morphtarget = v.morphtarget, brighttarget = v.brighttarget;
    // A held test bit clears lastphase before every frame: no wrap is seen.
    const int32_t keepphase = v.testbit ? 0 : -1;
    uint32_t phase = v.phase, noisepos = v.noisepos;
    int32_t lastphase = v.lastphase, feedback = v.feedback, lp1 = v.noiselp1, lp2 = v.noiselp2;
    int32_t lastout = v.lastout;
    uint8_t wrapped = v.wrapped, volume = v.volume, morph = v.morph, bright = v.bright;
    tshape d = v.d;
    // Only the last frame's wrap and the noise position are seen without
    // noise or a voice reading this one: both are settled after the loop.
    int32_t phasebefore = 0;
    uint32_t rendered = 0;
    for (uint32_t j = 0; j < count; ++j) {
        lastphase &= keepphase;
        // A muted voice is silent and frozen from its next frame on.
        if (muted.load() != 0) continue;
        ++rendered;
        phase += step;
        if (Noise) noisepos += step / 256;
        const int64_t p = (phase >> 8) & 0xFFFF;
        phasebefore = lastphase;
        lastphase = static_cast<int32_t>(p);
        volume = glide<uint8_t>(volume, level);
        if (morph != morphtarget || bright != brighttarget) {
            morph = glide<uint8_t>(morph, morphtarget);
            bright = glide<uint8_t>(bright, brighttarget);
            d = derive(v, morph, bright);
        }
        int64_t out = oscillate(p, feedback, d);
        lastout = static_cast<int32_t>(out);
        if (Noise) out = smoothnoise(noisepos, lp1, lp2, bright);
        mix[j] += tomix(out, volume);
    }
    if (!Noise) noisepos += rendered * (step / 256);
    if (rendered != 0) wrapped = ((phasebefore & 0x8000) != 0 && (lastphase & 0x8000) == 0) ? 1 : 0;
    v.phase = phase;
    v.noisepos = noisepos;
    v.lastphase = lastphase;
    v.feedback = feedback;
    v.noiselp1 = lp1;
    v.noiselp2 = lp2;
    v.lastout = lastout;
    v.wrapped = wrapped;
    v.volume = volume;
    v.morph = morph;
    v.bright = bright;
    v.d = d;
}

// When no voice syncs or rings another, the voices are independent: each
// renders a stretch on its own and the stretches are summed.
void rendersolos(int16_t* out, uint32_t count, uint8_t last)
{
    int32_t mix[wavereadframes];
    for (uint32_t first = 0; first < count; first += wavereadframes) {
        const uint32_t n = std::min(count - first, wavereadframes);
        if (first != 0) {
            readwave();
            rederive(last);
        }
        std::fill_n(mix, n, 0);
        for (uint8_t i = 0; i <= last; ++i) {
            if (call.v[i].noise)
                rendersolo<true>(call.v[i], voices[i].muted, mix, n);
            else
                rendersolo<false>(call.v[i], voices[i].muted, mix, n);
        }
        for (uint32_t j = 0; j < n; ++j) {
            // The sum is not clipped: the low 16 bits are the sample.
            const auto sample = static_cast<int16_t>(static_cast<uint16_t>(mix[j]));
            out[2 * (first + j)] = sample;
            out[2 * (first + j) + 1] = sample;
        }
    }
}

}  // namespace

void renderframes(int16_t* out, uint16_t count)
{
    const uint8_t last = std::min<uint8_t>(lastvoice, voicecount - 1);
    readwave();
    for (uint8_t i = 0; i <= last; ++i) load(i);
    for (uint8_t i = last + 1; i < voicecount; ++i) loadsource(i);
    bool modulated = false;
    for (uint8_t i = 0; i <= last; ++i) {
        tlocal& v = call.v[i];
        // A noise or silent source does not ring-modulate.
        const int n = v.ringsrc != nosource ? voices[v.ringsrc].control >> 4 : 0;
        v.ring = n >= 1 && n <= 7;
        modulated |= v.ring || v.syncsrc != nosource;
    }
    rederive(last);

    if (!modulated) {
        rendersolos(out, count, last);
    } else if (last == 2) {
        rendermodulated<3>(out, count, last);
    } else if (last == 3) {
        rendermodulated<4>(out, count, last);
    } else {
        rendermodulated<0>(out, count, last);
    }

    for (uint8_t i = 0; i <= last; ++i) store(i);
}

}  // namespace synth
