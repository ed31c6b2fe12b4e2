// tarplay8's two-operator renderer against values worked out by hand from
// its formulas: offsets trunc(radians × 32768 / π), v = trunc((y1 − y2) ×
// 16383), then lp += (x − lp) × bright / 256 twice and lp2 × volume / 1024.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "synth/fm/record.h"
#include "synth/voice.h"

namespace {

using synth::voices;

class FmRender : public ::testing::Test {
protected:
    static void SetUpTestSuite() { synth::buildcostab(); }
    void SetUp() override { reset(0); }
    void TearDown() override { reset(7); }
    static void reset(uint8_t lastvoice)
    {
        voices.fill(synth::tvoice{});
        synth::fmtogglea = false;
        synth::fmtoggleb = false;
        synth::resonance = 0;
        synth::lastvoice = lastvoice;
    }
    // Full level; morph and brightness already at their targets.
    static synth::tvoice& setvoice(int i, uint8_t control, uint32_t step, uint8_t pulse, uint8_t bright)
    {
        auto& v = voices[i];
        v.control = control;
        v.step = step;
        v.pulse = v.morph = pulse;
        v.filter = static_cast<uint8_t>(255 - bright);
        v.bright = bright;
        v.level = v.volume = 255;
        return v;
    }
    static int frame()
    {
        int16_t out[2];
        synth::renderframes(out, 1);
        EXPECT_EQ(out[0], out[1]);
        return out[0];
    }
};

TEST_F(FmRender, OperatorsTogglesResonanceAndFade)
{
    struct {
        const char* what;
        uint8_t control, pulse, bright, resonance;
        uint32_t step, hz;
        bool a, b;
        std::vector<int> lastout, sample;
    } const cases[] = {
        // Pulse, phase 0, bright 255: x0 = 2.2, x2 = 0, off2 = 31 × 128 + 128 = 4096.
        // 1: 1 − cos(π/8) → 1247 → 1242, 1237 → 308. 2: fb1 = 0.5, fb2 = 0.46194:
        // y1 at trunc(1.1 × 32768 / π) = 11473, y2 at 4096 + 10600.
        {"A off", 0x41, 31, 255, 0, 0, 0, false, false, {1247, 4792, 415}, {308, 1186, 112}},
        // off2 8192, y2 inverted after its feedback: 1 + cos(π/4) → 27967;
        // 2: y2 at 8192 + trunc(0.77782 × 32768 / π) = 16304.
        {"A on", 0x41, 31, 255, 0, 0, 0, true, false, {27967, 7557, 14366}, {6909, 1921, 3564}},
        {"second operator", 0x51, 31, 255, 0, 0, 0, false, false, {27967, 7557, 14366}, {6909, 1921, 3564}},
        // Triangle: x0 = 0, off2 = 65536; bright 128: x2 = 127 / 255; p = 4096,
        // 8192, 12288; ratio 104 / 52 = 2: m = cos(π/4), ≈0, cos(3π/4).
        // 1: y1 at 4096 + 3673, y2 = −cos(π/8); smoothed by halves.
        {"B off", 0x11, 255, 128, 104, 4096 << 8, 0, false, false, {27180, 23169, 17374}, {1692, 3134, 3793}},
        // Operator 2 moves three times as far: 1: y2 at 4096 + 11019.
        {"B on", 0x11, 255, 128, 104, 4096 << 8, 0, false, true, {14032, 23169, 27367}, {873, 2315, 3801}},
        // Resonance 0: no modulator, 2 cos(π/8); 51: ratio 0, m = 1; 52: m = cos p.
        {"resonance 0", 0x11, 255, 128, 0, 4096 << 8, 0, false, true, {30271}, {1884}},
        {"resonance 51", 0x11, 255, 128, 51, 4096 << 8, 0, false, true, {5211}, {324}},
        {"resonance 52", 0x11, 255, 128, 52, 4096 << 8, 0, false, true, {7487}, {465}},
        // k = 1 − hz × 0.0001 floored at 0: 5000 Hz halves x2 (1836 and 5509).
        {"5000 Hz", 0x11, 255, 128, 104, 4096 << 8, 5000, false, true, {23717}, {1476}},
        {"20000 Hz", 0x11, 255, 128, 104, 4096 << 8, 20000, false, true, {30271}, {1884}},
        // Noise at 64 Hz sounds the operators: 1: 2 cos(π/8). 2: x0 = 16 ×
        // 0.9936, fb1 = −fb2 = 0.46194: offsets ±76597 around p = 8192 wrap
        // to 19253 (−0.27161) and 29899 (−0.96241).
        {"noise 64 Hz", 0x81, 255, 255, 0, 4096 << 8, 64, false, false, {30271, 11317}, {7479, 2854}},
    };
    for (const auto& c : cases) {
        reset(0);
        synth::fmtogglea = c.a;
        synth::fmtoggleb = c.b;
        synth::resonance = c.resonance;
        setvoice(0, c.control, c.step, c.pulse, c.bright).hz = c.hz;
        for (size_t f = 0; f < c.lastout.size(); ++f) {
            EXPECT_EQ(frame(), c.sample[f]) << c.what << " frame " << f;
            EXPECT_EQ(voices[0].lastout, c.lastout[f]) << c.what << " frame " << f;
        }
    }
}

TEST_F(FmRender, LowNoiseReadsTheFirst4096TableEntries)
{
    const auto saved = synth::noisetab;
    synth::noisetab.fill(32768);
    synth::noisetab[0] = 40000;
    synth::noisetab[1] = 1000;
    synth::noisetab[4096] = 65535;  // next after 4095 without the wrap
    // One entry per frame, from one step below entry 4096.
    auto& v = setvoice(0, 0x81, 4096 << 8, 255, 255);
    v.hz = 63;
    v.noisepos = 4095u << 12;
    // 7232 → 7203, 7174 → 1786; −31768 → −31615, −31463 → −7835.
    EXPECT_EQ(frame(), 1786);
    EXPECT_EQ(voices[0].lastout, 30271);  // the operators still run
    EXPECT_EQ(frame(), -7835);
    synth::noisetab = saved;

    synth::fillnoise();
    const auto count = [](uint16_t x) { return std::count(synth::noisetab.begin(), synth::noisetab.end(), x); };
    EXPECT_EQ(count(1) + count(32768) + count(65535), 65536);
    EXPECT_GT(std::min({count(1), count(32768), count(65535)}), 20000);
    synth::noisetab = saved;
}

TEST_F(FmRender, MutedVoiceKeepsRunningAndResumesFromTheAdvancedState)
{
    // Glides under way: volume 250 → 255, morph 0 → 63, bright 250 → 255.
    const auto start = [](uint8_t muted) {
        reset(0);
        auto& v = setvoice(0, 0x41, 0x123456, 63, 255);
        v.volume = 250;
        v.bright = 250;
        v.morph = 0;
        v.muted = muted;
        return &v;
    };
    start(0);
    frame();
    frame();
    const int heard = frame();
    const double fb1 = voices[0].fb1;
    ASSERT_NE(heard, 0);

    auto& v = *start(1);
    EXPECT_EQ(frame(), 0);
    EXPECT_EQ(frame(), 0);
    EXPECT_EQ(v.phase, 2u * 0x123456);
    EXPECT_EQ(int(v.volume), 252);
    EXPECT_EQ(int(v.morph), 2);
    EXPECT_EQ(v.bright, 252);
    v.muted = 0;
    EXPECT_EQ(frame(), heard);
    EXPECT_EQ(v.fb1, fb1);
}

TEST_F(FmRender, ControlNibblesAndTestBit)
{
    // 77 and 7 mark what a nibble leaves alone.
    const int cases[][4] = {{0, 77, 7, 7}, {1, 255, 1, 1}, {2, 255, 0, 1}, {3, 77, 7, 7}, {4, 77, 0, 0},
                            {5, 77, 0, 1}, {7, 77, 0, 1},  {8, 77, 0, 7},  {15, 77, 0, 7}};
    for (const auto& [nibble, pulse, triangle, secondop] : cases) {
        reset(1);
        auto& v = voices[1];
        v.control = static_cast<uint8_t>(nibble << 4 | 0x06);
        v.pulse = 77;
        v.triangle = v.secondop = 7;
        voices[2].syncsrc = 42;  // beyond lastvoice
        frame();
        EXPECT_EQ(int(v.pulse), pulse) << nibble;
        EXPECT_EQ(int(v.triangle), triangle) << nibble;
        EXPECT_EQ(int(v.secondop), secondop) << nibble;
        EXPECT_EQ(int(v.noise), nibble >= 8) << nibble;
        EXPECT_EQ(int(v.syncsrc) + int(v.ringsrc), 0);  // voice 0 drives voice 1
        EXPECT_EQ(int(voices[0].syncsrc), 255);
        EXPECT_EQ(int(voices[2].syncsrc), 42);
    }
    // Phase held at 0 after bit 15: a wrap, unless the test bit clears it.
    for (const uint8_t control : {0x40, 0x48}) {
        reset(1);
        voices[0].control = control;
        voices[0].lastphase = 0x8000;
        voices[1].control = 0x42;
        voices[1].phase = 0x123400;
        frame();
        EXPECT_EQ(voices[1].phase, control & 0x08 ? 0x123400u : 0u);
    }
}

TEST_F(FmRender, SyncWindowAndRingFromAnySoundingSource)
{
    // Voice 0 (off2 16384) at p0 rings voice 1 (phase 0, off2 32768: v =
    // 32766) when its control is non-zero; w = −trunc(cos(p0 + π/2) × 32767).
    // 8192: cos(π/4) − cos(3π/4) → 23169, w = 23169: 32766 × 23169 / 32768
    // = 23167, ringed × 23169 / 32768 = 16380; noiselp1 = × 255 / 256.
    // 40960: w = −23169: −23167.59 and −23076.5 truncate toward zero.
    const int cases[][4] = {{8192, 0x01, 23169, 16316}, {8192, 0x00, 23169, 23076}, {40960, 0x00, -23169, -23076}};
    for (const auto& [p0, control0, lastout0, lp1] : cases) {
        reset(1);
        setvoice(0, static_cast<uint8_t>(control0), p0 << 8, 127, 255).triangle = 1;
        setvoice(1, 0x06, 0, 255, 255).triangle = 1;
        frame();
        EXPECT_EQ(voices[0].lastout, lastout0) << p0;
        EXPECT_EQ(voices[1].lastout, 32766);  // before window and ring
        EXPECT_EQ(voices[1].noiselp1, lp1) << p0 << " " << control0;
    }
}

}  // namespace
