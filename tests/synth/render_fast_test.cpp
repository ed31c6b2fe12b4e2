// The renderer's runs against the plain per-frame renderer: from random voice
// states, with sync, ring, the test bit, noise, mutes and the number of
// voices changed between calls, both must give the same samples and leave
// every voice field the same.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "render_reference.h"
#include "synth/pd/wide.h"
#include "synth/pd/record.h"
#include "synth/pd/wave.h"
#include "synth/synth.h"

namespace {

using synth::voices;

struct tstate {
    std::array<synth::tvoice, synth::voicecount> v;
    std::array<uint8_t, synth::waveparamcount> wave;
    uint8_t lastvoice;
};

tstate save()
{
    tstate s{voices, {}, synth::lastvoice};
    for (int k = 0; k < synth::waveparamcount; ++k) s.wave[k] = synth::waveparams[k];
    return s;
}

void restore(const tstate& s)
{
    voices = s.v;
    for (int k = 0; k < synth::waveparamcount; ++k) synth::waveparams[k] = s.wave[k];
    synth::lastvoice = s.lastvoice;
}

// Every field, so that a difference names the field.
void expectsame(const tstate& a, const tstate& b, int round)
{
    for (int i = 0; i < synth::voicecount; ++i) {
        const synth::tvoice& x = a.v[i];
        const synth::tvoice& y = b.v[i];
#define SAME(f) EXPECT_EQ(x.f.load(), y.f.load()) << "round " << round << " voice " << i << " " #f
        SAME(hz); SAME(notefrac); SAME(octave); SAME(control); SAME(muted); SAME(shape);
        SAME(step); SAME(pulse); SAME(morph); SAME(filter); SAME(bright); SAME(volume);
        SAME(level); SAME(syncsrc); SAME(ringsrc); SAME(noise); SAME(feedback); SAME(noiselp1);
        SAME(noiselp2); SAME(lastout); SAME(lastphase); SAME(wrapped); SAME(noisepos); SAME(phase);
#undef SAME
    }
}

// Eight frames at a time and one by one: the renderer takes either path,
// depending on the processor.
class FastRenderer : public ::testing::TestWithParam<bool> {
protected:
    std::mt19937 rng{20260812};
    uint32_t syncodds = 8;  // one voice in syncodds has the sync bit

    uint32_t draw(uint32_t n) { return std::uniform_int_distribution<uint32_t>(0, n - 1)(rng); }

    // A control byte that exercises every nibble, the test bit, sync and
    // ring; sync and ring rarely enough that often no voice of a call uses
    // them (the renderer then takes another path).
    uint8_t control()
    {
        const uint32_t modulation = (draw(syncodds) == 0 ? 0x02 : 0) | (draw(8) == 0 ? 0x04 : 0);
        return static_cast<uint8_t>(draw(16) << 4 | (draw(16) & 0xF9) | modulation);
    }

    void randomvoice(int i)
    {
        synth::tvoice& v = voices[i];
        v.control = control();
        // Low, high and glide-free steps; a few far beyond any note.
        const uint32_t steps[] = {0,
                                  static_cast<uint32_t>(synth::hzstep[55]),
                                  static_cast<uint32_t>(synth::hzstep[440]),
                                  static_cast<uint32_t>(synth::hzstep[3000]),
                                  draw(1u << 24),
                                  0xFFFFFFFFu - draw(4096)};
        v.step = steps[draw(6)];
        v.phase = static_cast<uint32_t>(rng());
        v.noisepos = static_cast<uint32_t>(rng());
        v.pulse = static_cast<uint8_t>(draw(256));
        v.filter = static_cast<uint8_t>(draw(256));
        v.level = static_cast<uint8_t>(draw(256));
        // Half the voices start settled, half mid-glide.
        const bool settled = draw(2) != 0;
        v.morph = settled ? static_cast<uint8_t>(255 - v.pulse) : static_cast<uint8_t>(draw(256));
        v.bright = settled ? static_cast<uint8_t>(255 - v.filter) : static_cast<uint8_t>(draw(256));
        v.volume = settled ? v.level.load() : static_cast<uint8_t>(draw(256));
        v.shape = static_cast<int32_t>(draw(6)) - 1;  // includes values the renderer must clamp
        v.feedback = static_cast<int32_t>(draw(65536)) - 32768;
        v.noiselp1 = static_cast<int32_t>(draw(65536)) - 32768;
        v.noiselp2 = static_cast<int32_t>(draw(65536)) - 32768;
        v.lastout = static_cast<int32_t>(draw(65536)) - 32768;
        v.lastphase = static_cast<int32_t>(draw(65536));
        v.wrapped = static_cast<uint8_t>(draw(2));
        v.muted = draw(6) == 0 ? 1 : 0;
        // Stale sources, including ones that name no voice.
        v.syncsrc = static_cast<uint8_t>(draw(3) == 0 ? 200 : draw(9));
        v.ringsrc = static_cast<uint8_t>(draw(3) == 0 ? 255 : draw(9));
    }

    void randomstate()
    {
        for (int i = 0; i < synth::voicecount; ++i) randomvoice(i);
        for (auto& b : synth::waveparams) b = static_cast<uint8_t>(draw(256));
        const uint8_t counts[] = {2, 3, static_cast<uint8_t>(draw(9)), 8, 200};
        synth::lastvoice = counts[draw(5)];
    }

    // What a player or the play screen changes between two calls.
    void change()
    {
        const int i = static_cast<int>(draw(synth::voicecount));
        switch (draw(6)) {
        case 0: voices[i].muted = voices[i].muted ? 0 : 1; break;
        case 1: voices[i].control = control(); break;
        case 2: voices[i].step = static_cast<uint32_t>(synth::hzstep[draw(4096)]); break;
        case 3: voices[i].pulse = static_cast<uint8_t>(draw(256)); voices[i].filter = static_cast<uint8_t>(draw(256)); break;
        case 4: voices[i].level = static_cast<uint8_t>(draw(256)); break;
        default: synth::waveparams[draw(synth::waveparamcount)] = static_cast<uint8_t>(draw(256)); break;
        }
    }

    void SetUp() override
    {
        synth::samplerate = 44100;
        synth::synthinit();
        synth::seednoise(7);
        synth::setbendwide(GetParam());
    }
    void TearDown() override
    {
        synth::setbendwide(true);
        synth::synthinit();
        synth::wavereset();
        synth::lastvoice = 7;
    }

    // Runs random states through both renderers, rounds times.
    void compareruns(int rounds);
};

void FastRenderer::compareruns(int rounds)
{
    for (int round = 0; round < rounds; ++round) {
        randomstate();
        tstate fast = save();
        tstate plain = fast;
        for (int call = 0; call < 12; ++call) {
            // Lengths around the wave-reading period, single frames and none.
            const uint16_t lengths[] = {0, 1, 2, 255, 256, 257, 882, static_cast<uint16_t>(draw(2000))};
            const uint16_t count = lengths[draw(8)];
            std::vector<int16_t> a(2 * count + 2, 0x5A5A), b(2 * count + 2, 0x5A5A);

            restore(fast);
            synth::renderframes(a.data(), count);
            fast = save();

            restore(plain);
            if (count == 0) synth::reference::renderframes(b.data(), 0);
            for (uint16_t j = 0; j < count; ++j) synth::reference::renderframes(b.data() + 2 * j, 1);
            plain = save();

            ASSERT_EQ(a, b) << "round " << round << " call " << call << " count " << count;
            expectsame(fast, plain, round);
            if (HasFailure()) return;

            const int changes = static_cast<int>(draw(4));
            for (int k = 0; k < changes; ++k) change();
            fast = save();
            plain = save();
        }
    }
}

TEST_P(FastRenderer, RunsMatchThePerFrameRendererFieldForField)
{
    compareruns(80);
}

// Half the voices synced: voices that sync each other in a ring, chains of
// synced voices in either index order, and both side by side.
TEST_P(FastRenderer, SyncRingsAndChainsMatchThePerFrameRenderer)
{
    syncodds = 2;
    compareruns(60);
}

TEST_P(FastRenderer, HeldTestBitSilencesSyncFromAHigherVoiceOnEveryFrame)
{
    // Voice 1 is synced to voice 2, which holds the test bit: a higher
    // source is read before it moves, so its phase must read as cleared on
    // every frame of a run, not only the first.
    synth::lastvoice = 2;
    voices[1].level = 255;  // only the synced voice is heard
    voices[1].volume = 255;
    voices[1].control = 0x13;
    voices[1].step = synth::hzstep[440];
    voices[2].control = 0x19;
    voices[2].step = synth::hzstep[300];
    const tstate start = save();

    std::vector<int16_t> a(2 * 600), b(2 * 600);
    synth::renderframes(a.data(), 600);
    restore(start);
    for (int j = 0; j < 600; ++j) synth::reference::renderframes(b.data() + 2 * j, 1);
    EXPECT_EQ(a, b);
    // The window of a cleared source phase is sin(0): the synced voice
    // sounds nothing at all.
    for (int j = 0; j < 600; ++j) ASSERT_EQ(a[2 * j], 0) << j;
}

INSTANTIATE_TEST_SUITE_P(Paths, FastRenderer, ::testing::Bool());

}  // namespace
