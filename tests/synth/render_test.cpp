#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "synth/pd/record.h"
#include "synth/pd/wave.h"

namespace {

using synth::voices;

// One voice without noise, sync or ring, written straight from the
// per-frame recipe with plain 64-bit integers, to check the renderer
// against.
struct refvoice {
    uint32_t phase = 0;
    uint32_t step = 0;
    int64_t feedback = 0;
    int morph = 0, bright = 0, volume = 0;
    int pulse = 0, filter = 0, level = 0;
    int control = 0;
    int shape = 0;

    static int toward(int v, int target) { return v < target ? v + 1 : v > target ? v - 1 : v; }
    static int64_t cosat(int64_t i) { return synth::costab[static_cast<uint16_t>(i)]; }
    static int64_t wp(int i) { return synth::waveparams[i]; }

    // Returns the voice's contribution; out is the oscillator output.
    int64_t frame(int64_t* outp = nullptr)
    {
        phase += step;
        const int64_t p = (phase >> 8) & 0xFFFF;
        volume = toward(volume, level);
        morph = toward(morph, 255 - pulse);
        bright = toward(bright, 255 - filter);
        const int64_t t = (morph * bright) >> 8;
        int64_t pp = p + ((p * t) >> 8);
        if (pp > 65535) pp = 0;
        const int64_t m0 = wp(3) + (wp(0) - wp(3)) * morph / 255;
        const int64_t m1 = wp(4) + (wp(1) - wp(4)) * morph / 255;
        const int64_t m2 = wp(5) + (wp(2) - wp(5)) * morph / 255;
        const int64_t fo = feedback * m2 / 512;
        int64_t a;
        if ((control >> 4) > 3)
            a = (pp > 32767 ? m1 : m0) - 128;
        else
            a = wp(shape * 3 + static_cast<int>(pp >> 15)) - 128;
        const int64_t d = (32767 - cosat(2 * pp)) * a / 256;
        const int64_t d2 = d * 4 * bright / 256;
        const int64_t out = cosat(d2 + fo + pp);
        feedback = (feedback + out) / 2;
        if (outp) *outp = out;
        return out * volume / 1024;
    }
};

class Renderer : public ::testing::Test {
protected:
    void SetUp() override
    {
        synth::samplerate = 44100;
        synth::synthinit();
        synth::wavereset();
        synth::lastvoice = 2;
        for (auto& v : voices) {
            v.syncsrc = 255;
            v.ringsrc = 255;
        }
    }
    void TearDown() override
    {
        synth::wavereset();
        synth::lastvoice = 7;
    }

    // Renders one frame and returns the left sample, checking that both
    // channels carry the same mix.
    static int16_t frame()
    {
        int16_t out[2] = {0, 0};
        synth::renderframes(out, 1);
        EXPECT_EQ(out[0], out[1]);
        return out[0];
    }

    static void loud(int i, uint8_t control, uint32_t step)
    {
        voices[i].control = control;
        voices[i].step = step;
        voices[i].level = 255;
        voices[i].volume = 255;
    }
};

TEST_F(Renderer, CountZeroWritesNothing)
{
    loud(0, 0x11, synth::hzstep[440]);
    std::vector<int16_t> buf(8, 0x5A5A);
    synth::renderframes(buf.data(), 0);
    for (int16_t s : buf) EXPECT_EQ(s, 0x5A5A);
    EXPECT_EQ(voices[0].phase.load(), 0u);
}

TEST_F(Renderer, CountOneWritesExactlyOneFrame)
{
    loud(0, 0x11, 0);  // phase 0: cosine peak, 32767 * 255 / 1024
    std::vector<int16_t> buf(8, 0x5A5A);
    synth::renderframes(buf.data(), 1);
    EXPECT_EQ(buf[0], 8159);
    EXPECT_EQ(buf[1], 8159);
    for (size_t k = 2; k < buf.size(); ++k) EXPECT_EQ(buf[k], 0x5A5A) << k;
}

TEST_F(Renderer, SeveralFramesInOneCallMatchSingleCalls)
{
    loud(0, 0x41, synth::hzstep[300]);
    voices[0].pulse = 40;
    synth::waveparams[0] = 200;
    synth::waveparams[4] = 30;
    std::vector<int16_t> block(2 * 500);
    synth::renderframes(block.data(), 500);
    const uint32_t phase = voices[0].phase;

    SetUp();
    loud(0, 0x41, synth::hzstep[300]);
    voices[0].pulse = 40;
    synth::waveparams[0] = 200;
    synth::waveparams[4] = 30;
    for (int j = 0; j < 500; ++j) {
        const int16_t s = frame();
        ASSERT_EQ(s, block[2 * j]) << j;
        ASSERT_EQ(s, block[2 * j + 1]) << j;
    }
    EXPECT_EQ(voices[0].phase.load(), phase);
}

TEST_F(Renderer, ControlNibbleDecoding)
{
    struct expect { int shape; int pulse; int noise; };
    // Before each call: shape 1, pulse 77.
    const expect table[16] = {
        {1, 77, 0}, {2, 255, 0}, {3, 0, 0}, {1, 77, 0},
        {0, 77, 0}, {1, 77, 0}, {2, 77, 0}, {3, 77, 0},
        {1, 77, 1}, {1, 77, 1}, {1, 77, 1}, {1, 77, 1},
        {1, 77, 1}, {1, 77, 1}, {1, 77, 1}, {1, 77, 1},
    };
    for (int n = 0; n < 16; ++n) {
        voices[0].shape = 1;
        voices[0].pulse = 77;
        voices[0].noise = n >= 8 ? 0 : 1;  // must be overwritten either way
        voices[0].control = static_cast<uint8_t>(n << 4);
        frame();
        EXPECT_EQ(voices[0].shape.load(), table[n].shape) << "nibble " << n;
        EXPECT_EQ(voices[0].pulse.load(), table[n].pulse) << "nibble " << n;
        EXPECT_EQ(voices[0].noise.load(), table[n].noise) << "nibble " << n;
    }
}

TEST_F(Renderer, NibblesZeroAndThreeKeepEveryShape)
{
    for (int shape = 0; shape < 4; ++shape) {
        for (uint8_t control : {0x00, 0x30, 0x31}) {
            voices[1].shape = shape;
            voices[1].control = control;
            frame();
            EXPECT_EQ(voices[1].shape.load(), shape) << int(control);
        }
    }
}

TEST_F(Renderer, SyncAndRingSourcesFromControlBits)
{
    synth::lastvoice = 8;
    for (int i = 0; i < 9; ++i) {
        voices[i].muted = 1;  // decoding happens for muted voices too
        voices[i].control = static_cast<uint8_t>(i % 2 ? 0x02 : 0x04);
    }
    frame();
    for (int i = 0; i < 9; ++i) {
        const uint8_t src = synth::modsource[i];
        EXPECT_EQ(voices[i].syncsrc.load(), i % 2 ? src : 255) << i;
        EXPECT_EQ(voices[i].ringsrc.load(), i % 2 ? 255 : src) << i;
    }
    for (int i = 0; i < 9; ++i) voices[i].control = 0x06;
    frame();
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(voices[i].syncsrc.load(), synth::modsource[i]) << i;
        EXPECT_EQ(voices[i].ringsrc.load(), synth::modsource[i]) << i;
    }
    for (int i = 0; i < 9; ++i) voices[i].control = 0xF9;
    frame();
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(voices[i].syncsrc.load(), 255) << i;
        EXPECT_EQ(voices[i].ringsrc.load(), 255) << i;
    }
}

TEST_F(Renderer, VoicesAboveLastvoiceAreLeftAlone)
{
    synth::lastvoice = 2;
    loud(3, 0x16, 1000);
    voices[3].syncsrc = 77;
    frame();
    EXPECT_EQ(voices[3].phase.load(), 0u);
    EXPECT_EQ(voices[3].syncsrc.load(), 77);
    EXPECT_EQ(voices[3].volume.load(), 255);
}

TEST_F(Renderer, OversizedLastvoiceRendersNineVoices)
{
    synth::lastvoice = 200;
    for (int i = 0; i < 9; ++i) loud(i, 0x16, 1000 + i);
    frame();
    for (int i = 0; i < 9; ++i) EXPECT_NE(voices[i].phase.load(), 0u) << i;
}

TEST_F(Renderer, SumWrapsInsteadOfClipping)
{
    synth::lastvoice = 8;
    for (int i = 0; i < 9; ++i) loud(i, 0x10, 0);
    // Nine cosine peaks: 9 * 8159 = 73431, whose low 16 bits are 7895.
    EXPECT_EQ(frame(), 7895);
}

TEST_F(Renderer, AllWavesAt128GiveCosinePlusFeedback)
{
    for (uint8_t control : {0x11, 0x21, 0x41, 0x51}) {
        SetUp();
        loud(0, control, synth::hzstep[523]);
        voices[0].volume = 0;
        voices[0].pulse = 90;
        voices[0].filter = 20;
        // With every byte at 128 there is no distortion: the voice is
        // cos(p' + feedback / 4), p' the squeezed phase.
        const uint32_t step = synth::hzstep[523];
        const int pulse = control == 0x11 ? 255 : control == 0x21 ? 0 : 90;
        uint32_t phase = 0;
        int64_t feedback = 0;
        int morph = 0, bright = 0, volume = 0;
        for (int j = 0; j < 3000; ++j) {
            phase += step;
            const int64_t p = (phase >> 8) & 0xFFFF;
            volume = std::min(volume + 1, 255);
            morph += morph < 255 - pulse ? 1 : morph > 255 - pulse ? -1 : 0;
            bright = std::min(bright + 1, 235);
            const int64_t t = (morph * bright) >> 8;
            int64_t pp = p + ((p * t) >> 8);
            if (pp > 65535) pp = 0;
            const int64_t out = synth::costab[static_cast<uint16_t>(pp + feedback / 4)];
            feedback = (feedback + out) / 2;
            ASSERT_EQ(frame(), out * volume / 1024) << "control " << int(control) << " frame " << j;
            ASSERT_EQ(voices[0].lastout.load(), out);
            ASSERT_EQ(voices[0].feedback.load(), feedback);
        }
    }
}

TEST_F(Renderer, DistortedVoiceMatchesTheRecipe)
{
    const uint8_t bytes[12] = {255, 0, 200, 10, 240, 60, 30, 220, 1, 180, 70, 99};
    for (int k = 0; k < 12; ++k) synth::waveparams[k] = bytes[k];
    for (uint8_t control : {0x11, 0x21, 0x41, 0x61, 0x71}) {
        SetUp();
        for (int k = 0; k < 12; ++k) synth::waveparams[k] = bytes[k];
        loud(0, control, synth::hzstep[200]);
        voices[0].pulse = 100;
        voices[0].filter = 60;
        refvoice r;
        r.step = synth::hzstep[200];
        r.level = 255;
        r.volume = 255;
        r.control = control;
        r.filter = 60;
        const int n = control >> 4;
        r.pulse = n == 1 ? 255 : n == 2 ? 0 : 100;
        r.shape = n == 1 ? 2 : n == 2 ? 3 : n == 4 ? 0 : n == 6 ? 2 : 3;
        for (int j = 0; j < 3000; ++j) {
            const int64_t c = r.frame();
            ASSERT_EQ(frame(), c) << "control " << int(control) << " frame " << j;
        }
    }
}

TEST_F(Renderer, TriangleUsesBytesSixAndSeven)
{
    // Full brightness, phase 0.25 of a cycle: first half reads byte 6.
    synth::waveparams[6] = 255;
    synth::waveparams[7] = 0;
    loud(0, 0x11, 0);
    voices[0].phase = 16384u << 8;
    voices[0].bright = 255;
    voices[0].filter = 0;
    frame();
    // d = (32767 - cos(2p)) * 127 / 256 with cos(2p) = -32767.
    const int64_t d = (32767LL + 32767) * 127 / 256;
    const int64_t d2 = d * 4 * 255 / 256;
    EXPECT_EQ(voices[0].lastout.load(), synth::costab[static_cast<uint16_t>(d2 + 16384)]);

    // Three quarters: second half reads byte 7 (a = -128).
    synth::synthinit();
    synth::waveparams[6] = 255;
    synth::waveparams[7] = 0;
    loud(0, 0x11, 0);
    voices[0].phase = 49152u << 8;
    voices[0].bright = 255;
    frame();
    const int64_t e = (32767LL + 32767) * -128 / 256;
    const int64_t e2 = e * 4 * 255 / 256;
    EXPECT_EQ(voices[0].lastout.load(), synth::costab[static_cast<uint16_t>(e2 + 49152)]);
}

TEST_F(Renderer, GlidesMoveOneUnitPerFrame)
{
    loud(0, 0x41, 0);
    voices[0].volume = 10;
    voices[0].level = 14;
    voices[0].morph = 100;
    voices[0].pulse = 255 - 97;  // morph target 97
    voices[0].bright = 5;
    voices[0].filter = 255 - 9;  // bright target 9
    const int volume[] = {11, 12, 13, 14, 14, 14};
    const int morph[] = {99, 98, 97, 97, 97, 97};
    const int bright[] = {6, 7, 8, 9, 9, 9};
    for (int j = 0; j < 6; ++j) {
        frame();
        EXPECT_EQ(voices[0].volume.load(), volume[j]) << j;
        EXPECT_EQ(voices[0].morph.load(), morph[j]) << j;
        EXPECT_EQ(voices[0].bright.load(), bright[j]) << j;
    }
    voices[0].level = 0;
    for (int j = 0; j < 14; ++j) frame();
    EXPECT_EQ(voices[0].volume.load(), 0);
    frame();
    EXPECT_EQ(voices[0].volume.load(), 0);
}

TEST_F(Renderer, SilentVoiceKeepsRunning)
{
    voices[0].control = 0x81;
    voices[0].step = synth::hzstep[1000];
    voices[0].filter = 0;
    int64_t sum = 0;
    for (int j = 0; j < 100; ++j) sum += frame() != 0;
    EXPECT_EQ(sum, 0);
    EXPECT_EQ(voices[0].phase.load(), 100u * static_cast<uint32_t>(synth::hzstep[1000]));
    EXPECT_EQ(voices[0].noisepos.load(), 100u * (static_cast<uint32_t>(synth::hzstep[1000]) / 256));
    EXPECT_NE(voices[0].feedback.load(), 0);
    EXPECT_NE(voices[0].noiselp1.load(), 0);
    EXPECT_NE(voices[0].noiselp2.load(), 0);
    EXPECT_EQ(voices[0].bright.load(), 100);
}

TEST_F(Renderer, NoiseReplacesTheOscillatorOutput)
{
    loud(0, 0x81, synth::hzstep[2000]);
    voices[0].bright = 255;
    voices[0].filter = 0;
    int64_t lp1 = 0, lp2 = 0;
    uint32_t pos = 0;
    for (int j = 0; j < 200; ++j) {
        pos += static_cast<uint32_t>(synth::hzstep[2000]) / 256;
        const int64_t x = synth::noisetab[(pos >> 12) & 0xFFFF];
        lp1 += (x - lp1) * 255 / 256;
        lp2 += (lp1 - lp2) * 255 / 256;
        ASSERT_EQ(frame(), lp2 * 255 / 1024) << j;
        ASSERT_EQ(voices[0].noiselp2.load(), lp2);
    }
    // Only the three table values (smoothed) ever reach the output.
    EXPECT_LE(std::abs(voices[0].noiselp2.load()), 32768);
}

TEST_F(Renderer, FrozenNoiseAtZeroBrightness)
{
    loud(0, 0x81, synth::hzstep[2000]);
    voices[0].filter = 255;  // bright target 0
    for (int j = 0; j < 50; ++j) EXPECT_EQ(frame(), 0);
    EXPECT_EQ(voices[0].noiselp1.load(), 0);
}

TEST_F(Renderer, OutputIsClampedBeforeTheLevel)
{
    // Frozen noise stages beyond the 16-bit range (bright 0 keeps them).
    loud(0, 0x81, 0);
    voices[0].filter = 255;
    voices[0].noiselp1 = -40000;
    voices[0].noiselp2 = -40000;
    EXPECT_EQ(frame(), -32768 * 255 / 1024);
    voices[0].noiselp1 = 40000;
    voices[0].noiselp2 = 40000;
    EXPECT_EQ(frame(), 32767 * 255 / 1024);
}

TEST_F(Renderer, MutingFreezesTheVoice)
{
    loud(0, 0x41, synth::hzstep[700]);
    voices[0].volume = 0;
    voices[0].pulse = 10;
    voices[0].filter = 30;
    for (int j = 0; j < 40; ++j) frame();
    voices[0].muted = 1;
    const uint32_t phase = voices[0].phase;
    const int32_t feedback = voices[0].feedback;
    const uint8_t morph = voices[0].morph, bright = voices[0].bright, volume = voices[0].volume;
    const int32_t lastphase = voices[0].lastphase, lastout = voices[0].lastout;
    const uint32_t noisepos = voices[0].noisepos;
    for (int j = 0; j < 100; ++j) EXPECT_EQ(frame(), 0);
    EXPECT_EQ(voices[0].phase.load(), phase);
    EXPECT_EQ(voices[0].feedback.load(), feedback);
    EXPECT_EQ(voices[0].morph.load(), morph);
    EXPECT_EQ(voices[0].bright.load(), bright);
    EXPECT_EQ(voices[0].volume.load(), volume);
    EXPECT_EQ(voices[0].lastphase.load(), lastphase);
    EXPECT_EQ(voices[0].lastout.load(), lastout);
    EXPECT_EQ(voices[0].noisepos.load(), noisepos);

    voices[0].muted = 0;
    frame();
    EXPECT_EQ(voices[0].phase.load(), phase + static_cast<uint32_t>(synth::hzstep[700]));
    EXPECT_EQ(voices[0].volume.load(), volume + 1);
}

TEST_F(Renderer, MutedWrappedSourceKeepsResettingItsTarget)
{
    // Voice 0 is frozen with its wrap flag up; voice 1 syncs to it.
    voices[0].muted = 1;
    voices[0].wrapped = 1;
    voices[0].control = 0x10;
    loud(1, 0x12, 50000);
    for (int j = 0; j < 20; ++j) {
        frame();
        ASSERT_EQ(voices[1].phase.load(), 0u) << j;
        ASSERT_EQ(voices[1].lastphase.load(), 0) << j;
    }
    voices[0].muted = 0;
    frame();  // voice 0 moves with step 0 from lastphase 0: no wrap now
    EXPECT_EQ(voices[0].wrapped.load(), 0);
    EXPECT_EQ(voices[1].phase.load(), 50000u);
}

TEST_F(Renderer, TestBitStopsWrapsAndSync)
{
    const uint32_t step = 1u << 22;  // a quarter cycle per frame
    loud(0, 0x18, step);
    loud(1, 0x12, 1000);
    for (int j = 0; j < 41; ++j) {
        frame();
        ASSERT_EQ(voices[0].wrapped.load(), 0) << j;
        ASSERT_EQ(voices[1].phase.load(), 1000u * (j + 1)) << j;
    }
    EXPECT_EQ(voices[0].phase.load(), 41u * step);  // the oscillator still runs
    EXPECT_NE(voices[0].lastphase.load(), 0);       // cleared only at the start of a call

    // Without the test bit the same voice wraps every fourth frame and
    // resets voice 1 in that same frame.
    voices[0].control = 0x10;
    int wraps = 0;
    for (int j = 0; j < 40; ++j) {
        frame();
        if (voices[0].wrapped) {
            ++wraps;
            EXPECT_EQ(voices[1].phase.load(), 0u);
        }
    }
    EXPECT_EQ(wraps, 10);
}

TEST_F(Renderer, TestBitAloneDoesNotSilence)
{
    loud(0, 0x18, synth::hzstep[440]);
    int nonzero = 0;
    for (int j = 0; j < 100; ++j) nonzero += frame() != 0;
    EXPECT_GT(nonzero, 90);
}

TEST_F(Renderer, WrapDetection)
{
    loud(0, 0x10, 0x100);
    voices[0].phase = 0x00FFFF00;
    voices[0].lastphase = 0xFFFF;
    frame();
    EXPECT_EQ(voices[0].wrapped.load(), 1);
    EXPECT_EQ(voices[0].lastphase.load(), 0);
    frame();
    EXPECT_EQ(voices[0].wrapped.load(), 0);
    // Bit 15 of the old phase clear: no wrap even when the phase drops.
    voices[0].phase = 0x00400000;
    voices[0].lastphase = 0x7FFF;
    voices[0].step = 0;
    frame();
    EXPECT_EQ(voices[0].wrapped.load(), 0);
}

TEST_F(Renderer, VoiceZeroSeesVoiceTwoOfThePreviousFrame)
{
    // Voice 2 wraps in the first frame; voice 0, synced by voice 2, is
    // reset only in the second.
    loud(0, 0x12, 0x1000);
    voices[0].volume = 0;
    voices[0].level = 0;
    voices[2].control = 0x10;
    voices[2].step = 0x200;
    voices[2].phase = 0x00FFFF00;
    voices[2].lastphase = 0xFFFF;
    frame();
    EXPECT_EQ(voices[2].wrapped.load(), 1);
    EXPECT_EQ(voices[0].phase.load(), 0x1000u);
    frame();
    EXPECT_EQ(voices[2].wrapped.load(), 0);
    EXPECT_EQ(voices[0].phase.load(), 0u);
}

TEST_F(Renderer, VoiceOneSeesVoiceZeroOfTheSameFrame)
{
    voices[0].control = 0x10;
    voices[0].step = 0x200;
    voices[0].phase = 0x00FFFF00;
    voices[0].lastphase = 0xFFFF;
    loud(1, 0x12, 0x1000);
    loud(2, 0x12, 0x1000);
    frame();
    EXPECT_EQ(voices[0].wrapped.load(), 1);
    EXPECT_EQ(voices[1].phase.load(), 0u);
    EXPECT_EQ(voices[1].wrapped.load(), 0);
    EXPECT_EQ(voices[2].phase.load(), 0x1000u);  // voice 1 did not wrap
}

TEST_F(Renderer, SyncWindowIsTheSineOfTheSourcePhase)
{
    // Source voice 0 parked at phase 0: window zero, voice 1 silent.
    voices[0].control = 0x10;
    loud(1, 0x12, 0);
    EXPECT_EQ(frame(), 0);

    // Source at a quarter cycle: window -cos(half) = +32767.
    SetUp();
    voices[0].control = 0x10;
    voices[0].phase = 16384u << 8;
    loud(1, 0x12, 0);
    EXPECT_EQ(frame(), (32767LL * 32767 / 32768) * 255 / 1024);
    EXPECT_EQ(voices[1].lastout.load(), 32767);  // taken before the window

    // Three quarters: window -32767, the output flips sign.
    SetUp();
    voices[0].control = 0x10;
    voices[0].phase = 49152u << 8;
    loud(1, 0x12, 0);
    EXPECT_EQ(frame(), (32767LL * -32767 / 32768) * 255 / 1024);
}

TEST_F(Renderer, RingUsesTheSourceOutputInVoiceOrder)
{
    // Voice 0 is ring-modulated by voice 2, which has not yet run this
    // frame: the product uses voice 2's output of the previous frame.
    loud(0, 0x14, 0);
    voices[2].control = 0x10;
    voices[2].lastout = 16384;
    voices[2].phase = 32768u << 8;  // this frame voice 2 outputs -32767
    EXPECT_EQ(frame(), (32767LL * 16384 / 32768) * 255 / 1024);
    EXPECT_EQ(voices[2].lastout.load(), -32767);

    // Voice 1 ring-modulated by voice 0 uses voice 0's output of the same
    // frame (lastout before the ring product).
    SetUp();
    voices[0].control = 0x10;
    voices[0].lastout = 5;
    voices[0].phase = 32768u << 8;
    loud(1, 0x14, 0);
    EXPECT_EQ(frame(), (32767LL * -32767 / 32768) * 255 / 1024);
}

TEST_F(Renderer, NoiseOrSilentSourceDoesNotRing)
{
    // Voice 0 is ring-modulated by voice 2, whose output of the previous
    // frame (16384) would halve it.
    for (uint8_t srccontrol : {0x00, 0x01, 0x08, 0x80, 0x81, 0xF0}) {
        SetUp();
        loud(0, 0x14, 0);
        voices[2].control = srccontrol;
        voices[2].lastout = 16384;
        EXPECT_EQ(frame(), 8159) << int(srccontrol);
    }
    SetUp();
    loud(0, 0x14, 0);
    voices[2].control = 0x40;
    voices[2].lastout = 16384;
    EXPECT_EQ(frame(), (32767LL * 16384 / 32768) * 255 / 1024);
    for (uint8_t srccontrol : {0x10, 0x20, 0x40, 0x70}) {
        SetUp();
        loud(1, 0x14, 0);
        voices[0].control = srccontrol;
        voices[0].step = 0;
        voices[0].phase = 16384u << 8;  // source output 0 this frame
        EXPECT_EQ(frame(), 0) << int(srccontrol);
    }
}

TEST_F(Renderer, NoCompressionUsesWaveOne)
{
    // pulse 255 and filter 0: morph glides to 0, bright to 255, t = 0.
    const uint8_t bytes[6] = {250, 240, 128, 20, 30, 128};
    for (int k = 0; k < 6; ++k) synth::waveparams[k] = bytes[k];
    loud(0, 0x41, 0);
    voices[0].pulse = 255;
    voices[0].filter = 0;
    voices[0].morph = 3;
    voices[0].bright = 250;
    for (int j = 0; j < 10; ++j) frame();
    ASSERT_EQ(voices[0].morph.load(), 0);
    ASSERT_EQ(voices[0].bright.load(), 255);
    voices[0].feedback = 0;
    // Quarter cycle, first half: a = wave1[0] - 128 = -108, no squeeze.
    voices[0].phase = 8000u << 8;
    frame();
    const int64_t d = (32767 - int64_t{synth::costab[16000]}) * -108 / 256;
    EXPECT_EQ(voices[0].lastout.load(), synth::costab[static_cast<uint16_t>(d * 4 * 255 / 256 + 8000)]);
    // Second half: a = wave1[1] - 128 = -98.
    voices[0].feedback = 0;
    voices[0].phase = 40000u << 8;
    frame();
    const int64_t e = (32767 - int64_t{synth::costab[static_cast<uint16_t>(80000)]}) * -98 / 256;
    EXPECT_EQ(voices[0].lastout.load(), synth::costab[static_cast<uint16_t>(e * 4 * 255 / 256 + 40000)]);
}

TEST_F(Renderer, FullCompressionHoldsPhaseZero)
{
    // pulse 0 and filter 0: morph and bright glide to 255, t = 254.
    loud(0, 0x41, 0);
    voices[0].pulse = 0;
    voices[0].filter = 0;
    for (int j = 0; j < 256; ++j) frame();
    ASSERT_EQ(voices[0].morph.load(), 255);
    ASSERT_EQ(voices[0].bright.load(), 255);

    const auto outat = [](uint32_t p) {
        voices[0].feedback = 0;
        voices[0].phase = p << 8;
        frame();
        return voices[0].lastout.load();
    };
    // p = 16000 reads p' = 16000 + 15875.
    EXPECT_EQ(outat(16000), synth::costab[31875]);
    // The last phase still on the squeezed cycle, and the first past it.
    EXPECT_EQ(outat(32896), synth::costab[65535]);
    EXPECT_EQ(outat(32897), synth::costab[0]);
    EXPECT_EQ(outat(60000), synth::costab[0]);
}

}  // namespace
