// tarplay8's two-operator renderer against frames worked out by hand from
// its formulas: offsets trunc(radians × 32768 / π), v = trunc((y1 − y2) ×
// 16383), then lp += (x − lp) × bright / 256 twice and lp2 × volume / 1024.
#include <gtest/gtest.h>

#include <vector>

#include "synth/fm/record.h"
#include "synth/voice.h"

namespace {

using synth::voices;

class FmRender : public ::testing::Test {
protected:
    static void SetUpTestSuite() { synth::buildcostab(); }
    void TearDown() override { reset(7); }
    static void reset(uint8_t lastvoice)
    {
        voices.fill(synth::tvoice{});
        synth::fmtogglea = false;
        synth::fmtoggleb = false;
        synth::resonance = 0;
        synth::lastvoice = lastvoice;
    }
};

TEST_F(FmRender, HandWorkedFrames)
{
    struct {
        const char* what;
        uint8_t control, pulse, bright, resonance, volume;
        unsigned mutedframes;
        uint32_t step, hz;
        bool a, b;
        std::vector<int> lastout, sample;
    } const cases[] = {
        // Pulse, phase 0, bright 255: x0 = 2.2, x2 = 0, off2 = 31 × 128 + 128 = 4096.
        // 1: 1 − cos(π/8) → 1247 → 1242, 1237 → 308. 2: fb1 = 0.5, fb2 = 0.46194:
        // y1 at trunc(1.1 × 32768 / π) = 11473, y2 at 4096 + 10600.
        {"A off", 0x41, 31, 255, 0, 255, 0, 0, 0, false, false, {1247, 4792, 415}, {308, 1186, 112}},
        // off2 8192, y2 inverted after its feedback: 1 + cos(π/4) → 27967;
        // 2: y2 at 8192 + trunc(0.77782 × 32768 / π) = 16304.
        {"A on", 0x41, 31, 255, 0, 255, 0, 0, 0, true, false, {27967, 7557, 14366}, {6909, 1921, 3564}},
        {"second operator", 0x51, 31, 255, 0, 255, 0, 0, 0, false, false, {27967, 7557, 14366}, {6909, 1921, 3564}},
        // Triangle: x0 = 0, off2 = 65536; bright 128: x2 = 127 / 255; p = 4096,
        // 8192, 12288; ratio 104 / 52 = 2: m = cos(π/4), ≈0, cos(3π/4).
        // Operator 2 moves three times as far as operator 1: y2 at 4096 + 11019.
        {"B on", 0x11, 255, 128, 104, 255, 0, 4096 << 8, 0, false, true, {14032, 23169, 27367}, {873, 2315, 3801}},
        // Muted for two frames, the voice still moves on: same operators, and
        // the volume glides 252 → 255 and the smoothers settle as unmuted.
        {"B on, muted", 0x11, 255, 128, 104, 252, 2, 4096 << 8, 0, false, true, {14032, 23169, 27367}, {0, 0, 3801}},
        // Noise at 64 Hz sounds the operators: 1: 2 cos(π/8). 2: x0 = 16 ×
        // 0.9936, fb1 = −fb2 = 0.46194: offsets ±76597 around p = 8192 wrap
        // to 19253 (−0.27161) and 29899 (−0.96241).
        {"noise 64 Hz", 0x81, 255, 255, 0, 255, 0, 4096 << 8, 64, false, false, {30271, 11317}, {7479, 2854}},
        // Below 64 Hz the table, one entry per frame from entry 4096 wrapped
        // to 0: 7232 → 7203, 7174 → 1786; −31768 → −31615, −31463 → −7835.
        // The operators still run (x0 = 16 × 0.9937).
        {"noise 63 Hz", 0x81, 255, 255, 0, 255, 0, 4096 << 8, 63, false, false, {30271, 11301}, {1786, -7835}},
    };
    const auto saved = synth::noisetab;
    synth::noisetab.fill(32768);
    synth::noisetab[0] = 40000;
    synth::noisetab[1] = 1000;
    synth::noisetab[4096] = 65535;  // next after 4095 without the wrap
    for (const auto& c : cases) {
        reset(0);
        synth::fmtogglea = c.a;
        synth::fmtoggleb = c.b;
        synth::resonance = c.resonance;
        auto& v = voices[0];
        v.control = c.control;
        v.step = c.step;
        v.hz = c.hz;
        v.pulse = v.morph = c.pulse;
        v.filter = static_cast<uint8_t>(255 - c.bright);
        v.bright = c.bright;
        v.level = 255;
        v.volume = c.volume;
        v.noisepos = 4095u << 12;
        for (size_t f = 0; f < c.sample.size(); ++f) {
            v.muted = f < c.mutedframes ? 1 : 0;
            int16_t out[2];
            synth::renderframes(out, 1);
            EXPECT_EQ(out[0], out[1]);
            EXPECT_EQ(out[0], c.sample[f]) << c.what << " frame " << f;
            EXPECT_EQ(v.lastout, c.lastout[f]) << c.what << " frame " << f;
        }
    }
    synth::noisetab = saved;
}

}  // namespace

namespace {

// The audio loop hands the renderer everything up to the next tick in one
// call: a run must sound as the same frames one call at a time, including a
// held test bit that keeps a higher voice's phase from syncing the one below
// on every frame.
TEST_F(FmRender, ARunSoundsAsSingleFrames)
{
    auto setup = [] {
        reset(2);
        const uint8_t controls[3] = {0x43, 0x13, 0x29};
        for (int i = 0; i < 3; ++i) {
            synth::voicecontrol(i, controls[i]);
            synth::voicefreq(i, 220u * (i + 1));
            voices[i].step = 90000u * static_cast<uint32_t>(i + 2);  // a cycle in 93, 62 and 46 frames
            synth::voicelevel(i, 200);
            synth::voicepulse(i, static_cast<uint8_t>(60 * i));
            synth::voicefilter(i, static_cast<uint8_t>(40 * i));
        }
    };
    std::vector<int16_t> run(2 * 700), single(2 * 700);
    setup();
    synth::renderframes(run.data(), 700);
    setup();
    for (int j = 0; j < 700; ++j) synth::renderframes(single.data() + 2 * j, 1);
    EXPECT_EQ(run, single);
}

}  // namespace
