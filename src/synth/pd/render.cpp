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
//
// A call goes in stretches of up to 256 frames. The mute flags of a stretch
// are read first, frame by frame; then three passes: everything that does
// not depend on a frame's output (phase, sync, glides, the bent phase, the
// noise position), voice by voice, a synced voice after its source (only
// voices that sync each other in a ring go frame by frame); the feedback
// chains (cosine of the bent phase plus feedback, then the new feedback) and
// the noise smoothers, which bound the speed, side by side for all voices;
// then the mix, voice by voice. Every value the 64-bit arithmetic computes
// fits 32 bits, in which the passes work.
#include <algorithm>

#include "synth/pd/bend.h"
#include "synth/pd/record.h"
#include "synth/pd/wave.h"
#include "synth/pd/wide.h"
#include "synth/renderstep.h"

namespace synth {

namespace {

constexpr uint8_t nosource = 255;
constexpr uint32_t wavereadframes = 256;

inline int64_t costabat(int64_t index)
{
    return costab[static_cast<uint64_t>(index) & 0xFFFF];
}

using twave = std::array<uint8_t, waveparamcount>;

// What a voice's morph, brightness and the wave bytes derive: recomputed only
// when a glide moves or the wave bytes are read again.
struct tshape {
    int64_t t, m2, pdb;
    int64_t a0, a1;  // the distortion amount of the cycle's two halves, less 128
};

// A voice's fields for the length of one call.
struct tlocal {
    uint32_t step, phase, noisepos, noisestep;
    int32_t lastphase, feedback, noiselp1, noiselp2, lastout;
    uint8_t wrapped, volume, level, morph, bright;
    uint8_t morphtarget, brighttarget;  // 255 - pulse, 255 - filter
    uint8_t syncsrc, ringsrc;
    bool testbit, noise, wavebytes, synced, ring;
    int shape;
    tshape d;
};

tshape derive(const tlocal& v, const twave& w)
{
    const int64_t morph = v.morph;
    tshape d;
    d.t = (morph * v.bright) >> 8;
    d.pdb = static_cast<int64_t>(pddepth) * v.bright;
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

twave readwave()
{
    twave w;
    for (int k = 0; k < waveparamcount; ++k) w[k] = waveparams[k];
    return w;
}

// Copies voice i out of the record and decodes its control byte: sync, ring
// and noise follow the control byte alone, so that a player only ever has to
// write that.
tlocal load(uint8_t i)
{
    tvoice& r = voices[i];
    tlocal v;
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
    // hard-syncing the voice it drives; the frame loop clears lastphase at
    // the start of every frame, as a decode per frame would.
    v.testbit = (control & 0x08) != 0;
    if (v.testbit) r.lastphase = 0;

    v.step = r.step;
    v.noisestep = v.step / 256;
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
    v.synced = v.syncsrc != nosource;
    v.noise = r.noise != 0;
    v.wavebytes = (control >> 4) > 3;
    v.shape = std::clamp<int32_t>(r.shape, 0, 3);
    return v;
}

// A voice that is not rendered (past the last) is still read as a source.
tlocal loadsource(uint8_t i)
{
    const tvoice& r = voices[i];
    tlocal v{};
    v.lastphase = r.lastphase;
    v.wrapped = r.wrapped;
    v.lastout = r.lastout;
    return v;
}

void store(uint8_t i, const tlocal& v)
{
    tvoice& r = voices[i];
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

// Every voice's frames of one stretch, between the passes over it.
struct tstretch {
    int32_t base[voicecount][wavereadframes];    // bent phase: the cosine's index less the feedback term
    int32_t m2[voicecount][wavereadframes];      // the feedback's weight
    int32_t noisex[voicecount][wavereadframes];  // the noise table's value, for noise voices
    int32_t noise[voicecount][wavereadframes];   // the same smoothed, for noise voices
    int32_t window[voicecount][wavereadframes];  // the sync window, for synced voices
    // A linked voice's lastphase and wrapped before the stretch ([0]) and
    // after each of its frames, for the voices it syncs.
    int32_t lastphase[voicecount][wavereadframes + 1];
    uint8_t wrapped[voicecount][wavereadframes + 1];
    // The cosine: out[i][0] is voice i's lastout before the stretch,
    // out[i][1 + j] after its frame j, so that a voice ringing from a higher
    // one reads the frame before.
    int32_t out[voicecount][wavereadframes + 1];
    int32_t fixedring[voicecount][wavereadframes];  // a ring source that is not rendered
    int32_t sum[wavereadframes];
    uint8_t volume[voicecount][wavereadframes];  // 0 on frames the voice is muted
    uint8_t bright[voicecount][wavereadframes];  // for noise voices
    uint16_t muted[wavereadframes];              // bit i: voice i muted on that frame
};

tstretch stretch;

// The mute flags, read frame by frame and voice after voice as a renderer of
// one frame per call would read them: a mute takes effect at the next frame.
template <int Voices>
bool readmutes(uint32_t n)
{
    uint16_t any = 0;
    for (uint32_t j = 0; j < n; ++j) {
        uint16_t bits = 0;
#pragma GCC unroll 9
        for (int i = 0; i < Voices; ++i) bits = static_cast<uint16_t>(bits | (voices[i].muted.load() != 0) << i);
        stretch.muted[j] = bits;
        any |= bits;
    }
    if (any)
        for (int i = 0; i < Voices; ++i)
            for (uint32_t j = 0; j < n; ++j)
                if (stretch.muted[j] >> i & 1) stretch.volume[i][j] = 0;
    return any != 0;
}

inline tbend bendof(const tlocal& v)
{
    return {static_cast<int32_t>(v.d.t), static_cast<int32_t>(v.d.pdb), static_cast<int32_t>(v.d.a0),
            static_cast<int32_t>(v.d.a1)};
}

// One frame of the first pass for an unmuted voice whose 16-bit phase p is
// known: glides, the bent phase and the noise table's value; everything but
// the phase, the chains and the mix.
inline void shapeframe(tlocal& v, int i, uint32_t j, const twave& wave, int64_t p)
{
    v.noisepos += v.noisestep;
    v.volume = glide<uint8_t>(v.volume, v.level);
    if (v.morph != v.morphtarget || v.bright != v.brighttarget) [[unlikely]] {
        v.morph = glide<uint8_t>(v.morph, v.morphtarget);
        v.bright = glide<uint8_t>(v.bright, v.brighttarget);
        v.d = derive(v, wave);
    }
    const tshape& d = v.d;

    stretch.base[i][j] = bentphase(static_cast<int32_t>(p), bendof(v));
    stretch.m2[i][j] = static_cast<int32_t>(d.m2);
    stretch.volume[i][j] = v.volume;

    if (v.noise) {
        stretch.noisex[i][j] = noisetab[(v.noisepos >> 12) & 0xFFFF];
        stretch.bright[i][j] = v.bright;
    }
}

// The morph and brightness at their targets: what they derive stays fixed.
inline bool settled(const tlocal& v)
{
    return v.morph == v.morphtarget && v.bright == v.brighttarget;
}

// The rest of the first pass over unmuted frames [j, end) of a settled
// voice, once its bent phases are in: the feedback's weight, the level's
// glide and the noise position, frame by frame where they move.
void settledtail(tlocal& v, int i, uint32_t j, uint32_t end)
{
    const uint32_t count = end - j;
    if (v.noise) {
        uint32_t noisepos = v.noisepos;
        int32_t* x = stretch.noisex[i];
        for (uint32_t k = j; k < end; ++k) {
            noisepos += v.noisestep;
            x[k] = noisetab[(noisepos >> 12) & 0xFFFF];
        }
        v.noisepos = noisepos;
        std::fill(stretch.bright[i] + j, stretch.bright[i] + end, v.bright);
    } else {
        v.noisepos += count * v.noisestep;
    }
    std::fill(stretch.m2[i] + j, stretch.m2[i] + end, static_cast<int32_t>(v.d.m2));
    if (v.volume == v.level) {
        std::fill(stretch.volume[i] + j, stretch.volume[i] + end, v.volume);
    } else {
        for (uint32_t k = j; k < end; ++k) {
            v.volume = glide<uint8_t>(v.volume, v.level);
            stretch.volume[i][k] = v.volume;
        }
    }
}

// The frames [j, end) that a voice takes in one go from frame j: up to its
// next muted frame (bit: the voice's mute bit).
inline uint32_t unmutedto(uint32_t j, uint32_t n, bool anymuted, uint16_t bit)
{
    uint32_t end = anymuted ? j + 1 : n;
    while (end < n && !(stretch.muted[end] & bit)) ++end;
    return end;
}

// The window is the sine of the source's phase, zero where the source
// wraps, so the hard reset of a synced voice makes no click.
inline int32_t syncwindow(int32_t sourcephase)
{
    return -costab[static_cast<uint32_t>(sourcephase + 16384) & 0xFFFF];
}

// The order of the linked voices' phases for one call: each voice after its
// source, and the voices that sync each other in a ring, with those a ring
// syncs, frame by frame together after the rest (none of the rest reads
// them).
struct tsyncorder {
    uint8_t alone[voicecount];
    int count = 0;
    uint16_t together = 0;
};

// Plans the order, and fills the stretch's phase records of the sources
// that are not rendered, which keep their values all call.
template <int Voices>
tsyncorder syncorder(const tlocal* vs, uint16_t linked)
{
    tsyncorder order;
    for (int i = 0; i < Voices; ++i) {
        const uint8_t s = vs[i].syncsrc;
        if (!(linked >> i & 1) || !vs[i].synced || s < Voices || s >= voicecount) continue;
        std::fill_n(stretch.lastphase[s], wavereadframes + 1, vs[s].lastphase);
        std::fill_n(stretch.wrapped[s], wavereadframes + 1, vs[s].wrapped);
    }
    uint16_t done = 0;
    for (bool moved = true; moved;) {
        moved = false;
        for (int i = 0; i < Voices; ++i) {
            const uint16_t bit = static_cast<uint16_t>(1u << i);
            const uint8_t s = vs[i].syncsrc;
            if (!(linked & bit) || (done & bit)) continue;
            if (vs[i].synced && s < Voices && s != i && !(done >> s & 1)) continue;
            order.alone[order.count++] = static_cast<uint8_t>(i);
            done = static_cast<uint16_t>(done | bit);
            moved = true;
        }
    }
    order.together = static_cast<uint16_t>(linked & ~done);
    return order;
}

// The phases of the voices in together frame by frame, all of them at
// once, each reading the others' phases as they move.
template <int Voices>
void phasestogether(tlocal* vs, uint32_t n, uint16_t together)
{
    for (uint32_t j = 0; j < n; ++j) {
        for (int i = 0; i < Voices; ++i)
            if ((together >> i & 1) && vs[i].testbit) vs[i].lastphase = 0;
#pragma GCC unroll 9
        for (int i = 0; i < Voices; ++i) {
            if (!(together >> i & 1) || (stretch.muted[j] >> i & 1)) continue;
            tlocal& v = vs[i];
            stretch.base[i][j] = static_cast<int32_t>(advancephase(v, vs));
            if (v.synced) stretch.window[i][j] = syncwindow(vs[v.syncsrc].lastphase);
        }
    }
}

// The phases of linked voice i frame by frame on its own, once its source's
// are known (a source that syncs nothing, or is not rendered, or is the
// voice itself): a source with a lower index is read after its frame, a
// higher one before it, as the frame order has it. Every frame's lastphase
// and wrapped are kept for the voices that i syncs.
template <bool Synced>
void phasesalone(tlocal* vs, int i, uint32_t n)
{
    tlocal& v = vs[i];
    const uint16_t bit = static_cast<uint16_t>(1u << i);
    const int s = Synced ? v.syncsrc : i;
    const bool self = s == i;
    const uint32_t ahead = s < i ? 1 : 0;
    const bool sourcecleared = vs[s].testbit && s > i;
    const int32_t* sourcephase = stretch.lastphase[s];
    const uint8_t* sourcewrapped = stretch.wrapped[s];
    int32_t* lastphases = stretch.lastphase[i];
    uint8_t* wrappeds = stretch.wrapped[i];
    int32_t* base = stretch.base[i];
    int32_t* window = stretch.window[i];
    const uint32_t step = v.step;
    const bool testbit = v.testbit;
    uint32_t phase = v.phase;
    int32_t lastphase = v.lastphase;
    uint8_t wrapped = v.wrapped;
    lastphases[0] = lastphase;
    wrappeds[0] = wrapped;
    for (uint32_t j = 0; j < n; ++j) {
        if (testbit) lastphase = 0;
        if (!(stretch.muted[j] & bit)) [[likely]] {
            phase += step;
            int32_t p = static_cast<int32_t>((phase >> 8) & 0xFFFF);
            wrapped = (lastphase & 0x8000) != 0 && (p & 0x8000) == 0 ? 1 : 0;
            if (Synced && (self ? wrapped : sourcewrapped[j + ahead]) != 0) {
                phase = 0;
                p = 0;
            }
            lastphase = p;
            base[j] = p;
            if (Synced) window[j] = syncwindow(self ? p : sourcecleared ? 0 : sourcephase[j + ahead]);
        }
        lastphases[j + 1] = lastphase;
        wrappeds[j + 1] = wrapped;
    }
    v.phase = phase;
    v.lastphase = lastphase;
    v.wrapped = wrapped;
}

// The phases, resets and sync windows of the linked voices (which sync
// others or are synced, and so read each other's phase as it moves) over a
// stretch, into base.
template <int Voices>
void linkedphases(tlocal* vs, uint32_t n, const tsyncorder& order)
{
    for (int k = 0; k < order.count; ++k) {
        const int i = order.alone[k];
        if (vs[i].synced)
            phasesalone<true>(vs, i, n);
        else
            phasesalone<false>(vs, i, n);
    }
    if (order.together) phasestogether<Voices>(vs, n, order.together);
}

// The phases of a settled voice over unmuted frames [j, end) that no other
// voice reads, and their bent phases: what its glides derive is fixed, so
// they follow from the first phase, eight at a time where the processor
// can. All values fit 32 bits.
void advancesettled(tlocal& v, int i, uint32_t j, uint32_t end)
{
    const uint32_t count = end - j;
    const uint32_t before = v.testbit ? 0 : count > 1 ? ((v.phase + (count - 1) * v.step) >> 8) & 0xFFFF : v.lastphase;
    v.phase = bendphases(stretch.base[i] + j, count, v.phase, v.step, bendof(v));
    v.lastphase = static_cast<int32_t>((v.phase >> 8) & 0xFFFF);
    v.wrapped = (before & 0x8000) != 0 && (v.lastphase & 0x8000) == 0 ? 1 : 0;
}

// The first pass voice by voice but for the linked voices' phases, which
// are in base already (Linked); another voice's phases move here. A voice
// takes its frames one by one while it is muted or its morph or brightness
// glides, and the rest in one go.
template <bool Linked>
void preparevoice(tlocal* vs, int i, uint32_t n, bool anymuted, const twave& wave)
{
    tlocal& v = vs[i];
    const uint16_t bit = static_cast<uint16_t>(1u << i);
    for (uint32_t j = 0; j < n;) {
        if (stretch.muted[j] & bit) {
            if (!Linked && v.testbit) v.lastphase = 0;
            ++j;
        } else if (settled(v)) {
            const uint32_t end = unmutedto(j, n, anymuted, bit);
            if (Linked)
                bendinplace(stretch.base[i] + j, end - j, bendof(v));
            else
                advancesettled(v, i, j, end);
            settledtail(v, i, j, end);
            j = end;
        } else {
            if (!Linked && v.testbit) v.lastphase = 0;
            shapeframe(v, i, j, wave, Linked ? stretch.base[i][j] : advancephase(v, vs));
            ++j;
        }
    }
}

// The second pass: the feedback chains, the cosine of the bent phase plus
// the feedback, then the new feedback, and the noise smoothers. They bound
// the speed; the voices' chains are independent and run side by side. The
// index's low 16 bits are the same in 32 bits as in 64.
template <int Voices, bool Mutes>
void chains(tlocal* vs, uint32_t n)
{
    int32_t feedback[Voices], lastout[Voices], lp1[Voices], lp2[Voices];
    bool noise[Voices];
    for (int i = 0; i < Voices; ++i) {
        feedback[i] = vs[i].feedback;
        lastout[i] = vs[i].lastout;
        lp1[i] = vs[i].noiselp1;
        lp2[i] = vs[i].noiselp2;
        noise[i] = vs[i].noise;
        stretch.out[i][0] = lastout[i];
    }
    for (uint32_t j = 0; j < n; ++j) {
        const uint16_t muted = Mutes ? stretch.muted[j] : 0;
#pragma GCC unroll 9
        for (int i = 0; i < Voices; ++i) {
            if (!(muted >> i & 1)) [[likely]] {
                const int32_t fb = feedback[i];
                const uint32_t index = static_cast<uint32_t>(stretch.base[i][j] + fb * stretch.m2[i][j] / 512);
                const int32_t cosine = costab[index & 0xFFFF];
                feedback[i] = (fb + cosine) / 2;
                lastout[i] = cosine;
                // The noise smoothing is a chain of its own, which runs
                // alongside.
                if (noise[i]) {
                    const int32_t bright = stretch.bright[i][j];
                    lp1[i] += (stretch.noisex[i][j] - lp1[i]) * bright / 256;
                    lp2[i] += (lp1[i] - lp2[i]) * bright / 256;
                    stretch.noise[i][j] = lp2[i];
                }
            }
            stretch.out[i][j + 1] = lastout[i];
        }
    }
    for (int i = 0; i < Voices; ++i) {
        vs[i].feedback = feedback[i];
        vs[i].lastout = lastout[i];
        vs[i].noiselp1 = lp1[i];
        vs[i].noiselp2 = lp2[i];
    }
}

// The third pass, voice by voice: noise in place of the cosine, the sync
// window, ring modulation, the clip and the level, summed into frames. A
// ringing voice reads a lower voice (or itself) after its frame, a higher
// one before it, and one that is not rendered at its fixed value.
template <int Voices>
void mix(const tlocal* vs, int16_t* out, uint32_t n)
{
    std::fill_n(stretch.sum, n, 0);
    for (int i = 0; i < Voices; ++i) {
        const tlocal& v = vs[i];
        tmixvoice m{v.noise ? stretch.noise[i] : stretch.out[i] + 1, v.synced ? stretch.window[i] : nullptr,
                    nullptr, stretch.volume[i]};
        if (v.ring) {
            const uint8_t s = v.ringsrc;
            if (s < Voices) {
                m.ring = s <= i ? stretch.out[s] + 1 : stretch.out[s];
            } else {
                std::fill_n(stretch.fixedring[i], n, s < voicecount ? vs[s].lastout : 0);
                m.ring = stretch.fixedring[i];
            }
        }
        mixvoice(stretch.sum, n, m);
    }
    for (uint32_t j = 0; j < n; ++j) {
        // The sum is not clipped: the low 16 bits are the sample.
        const auto sample = static_cast<int16_t>(static_cast<uint16_t>(stretch.sum[j]));
        out[2 * j] = sample;
        out[2 * j + 1] = sample;
    }
}

// The frame loop for Voices rendered voices, a stretch of up to
// wavereadframes frames at a time.
template <int Voices>
void renderrun(int16_t* out, uint32_t count)
{
    tlocal vs[voicecount];
    for (uint8_t i = 0; i < Voices; ++i) vs[i] = load(i);
    // Synced voices and their rendered sources read each other's phase.
    uint16_t linked = 0;
    for (uint8_t i = 0; i < Voices; ++i) {
        if (!vs[i].synced) continue;
        linked = static_cast<uint16_t>(linked | 1u << i);
        if (vs[i].syncsrc < Voices) linked = static_cast<uint16_t>(linked | 1u << vs[i].syncsrc);
    }
    for (uint8_t i = Voices; i < voicecount; ++i) vs[i] = loadsource(i);
    const tsyncorder order = syncorder<Voices>(vs, linked);
    for (uint8_t i = 0; i < Voices; ++i) {
        tlocal& v = vs[i];
        // A noise or silent source does not ring-modulate.
        const int n = v.ringsrc != nosource ? voices[v.ringsrc].control >> 4 : 0;
        v.ring = n >= 1 && n <= 7;
    }

    for (uint32_t first = 0; first < count; first += wavereadframes) {
        const twave wave = readwave();
        for (int i = 0; i < Voices; ++i) vs[i].d = derive(vs[i], wave);
        const uint32_t n = std::min(count - first, wavereadframes);
        const bool anymuted = readmutes<Voices>(n);
        if (linked) linkedphases<Voices>(vs, n, order);
        for (int i = 0; i < Voices; ++i) {
            if (linked >> i & 1)
                preparevoice<true>(vs, i, n, anymuted, wave);
            else
                preparevoice<false>(vs, i, n, anymuted, wave);
        }
        if (anymuted)
            chains<Voices, true>(vs, n);
        else
            chains<Voices, false>(vs, n);
        mix<Voices>(vs, out + 2 * first, n);
    }

    for (uint8_t i = 0; i < Voices; ++i) store(i, vs[i]);
}

template <int... Voices>
void renderby(int voicesrendered, int16_t* out, uint32_t count, std::integer_sequence<int, Voices...>)
{
    ((voicesrendered == Voices + 1 ? renderrun<Voices + 1>(out, count) : void()), ...);
}

}  // namespace

void renderframes(int16_t* out, uint16_t count)
{
    const int rendered = std::min<int>(lastvoice, voicecount - 1) + 1;
    renderby(rendered, out, count, std::make_integer_sequence<int, voicecount>{});
}

}  // namespace synth
