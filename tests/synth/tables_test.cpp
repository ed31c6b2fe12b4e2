#include <gtest/gtest.h>

#include <map>

#include "synth/pd/record.h"

namespace {

class SynthTables : public ::testing::Test {
protected:
    void SetUp() override
    {
        synth::samplerate = 44100;
        synth::synthinit();
    }
};

TEST_F(SynthTables, GlobalsStartAsDocumented)
{
    EXPECT_EQ(synth::pddepth, 4);
    const std::array<uint8_t, 9> expected = {2, 0, 1, 5, 3, 4, 8, 6, 7};
    EXPECT_EQ(synth::modsource, expected);
    for (const auto& v : synth::voices) {
        EXPECT_EQ(v.phase.load(), 0u);
        EXPECT_EQ(v.step.load(), 0u);
        EXPECT_EQ(v.feedback.load(), 0);
        EXPECT_EQ(v.level.load(), 0);
    }
}

TEST_F(SynthTables, SynthinitClearsVoices)
{
    synth::voices[4].phase = 1234;
    synth::voices[4].feedback = -99;
    synth::voices[8].muted = 1;
    synth::synthinit();
    EXPECT_EQ(synth::voices[4].phase.load(), 0u);
    EXPECT_EQ(synth::voices[4].feedback.load(), 0);
    EXPECT_EQ(synth::voices[8].muted.load(), 0);
}

TEST_F(SynthTables, HzstepAt44100)
{
    EXPECT_EQ(synth::hzstep[0], 0);
    EXPECT_EQ(synth::hzstep[1], 380);  // 16777216 / 44100 = 380.43
    EXPECT_EQ(synth::hzstep[440], 167391);
    EXPECT_EQ(synth::hzstep[4095], 1557884);
    for (int f = 0; f < 4096; ++f) {
        const int64_t exact = static_cast<int64_t>(f) * 16777216 / 44100;
        ASSERT_EQ(synth::hzstep[f], exact) << "f=" << f;
    }
}

TEST_F(SynthTables, BuildtablesFollowsSamplerate)
{
    synth::samplerate = 48000;
    synth::buildtables();
    EXPECT_EQ(synth::hzstep[440], static_cast<int32_t>(440LL * 16777216 / 48000));
    EXPECT_EQ(synth::hztostep(1000), static_cast<int32_t>(1000LL * 16777216 / 48000));
    synth::samplerate = 44100;
    synth::buildtables();
    EXPECT_EQ(synth::hzstep[440], 167391);
}

TEST_F(SynthTables, HztostepSurvivesDegenerateRates)
{
    synth::samplerate = 0;
    EXPECT_EQ(synth::hztostep(440), 0);
    synth::samplerate = 1;
    EXPECT_GT(synth::hztostep(65535), 0);
    synth::samplerate = 44100;
}

TEST_F(SynthTables, HzlogOctaveEdges)
{
    EXPECT_EQ(synth::hzlog[0], 0);
    EXPECT_EQ(synth::hzlog[15], 15);
    EXPECT_EQ(synth::hzlog[16], 0);      // 0..31 share octave 0
    EXPECT_EQ(synth::hzlog[31], 240);
    EXPECT_EQ(synth::hzlog[32], 0x100);
    EXPECT_EQ(synth::hzlog[63], 0x1F8);
    EXPECT_EQ(synth::hzlog[64], 0x200);
    EXPECT_EQ(synth::hzlog[127], 0x2FC);
    EXPECT_EQ(synth::hzlog[128], 0x300);
    EXPECT_EQ(synth::hzlog[256], 0x400);
    EXPECT_EQ(synth::hzlog[511], 0x4FF);
    EXPECT_EQ(synth::hzlog[512], 0x500);
    EXPECT_EQ(synth::hzlog[1023], 0x5FF);
    EXPECT_EQ(synth::hzlog[1024], 0x600);
    EXPECT_EQ(synth::hzlog[2047], 0x6FF);
    EXPECT_EQ(synth::hzlog[2048], 0x700);
    EXPECT_EQ(synth::hzlog[4095], 0x7FF);
}

TEST_F(SynthTables, HzlogIsMonotonicAboveSixteen)
{
    for (int f = 17; f < 4096; ++f) ASSERT_GE(synth::hzlog[f], synth::hzlog[f - 1]) << "f=" << f;
    EXPECT_EQ(synth::hzlogvalue(440), synth::hzlog[440]);
    EXPECT_EQ(synth::hzlog[440], 0x400 + 440 - 256);
    EXPECT_EQ(synth::hzlogvalue(65535), synth::hzlog[4095]);
}

TEST_F(SynthTables, CostabIsAScaledCosine)
{
    EXPECT_EQ(synth::costab[0], 32767);
    EXPECT_EQ(synth::costab[16384], 0);
    EXPECT_EQ(synth::costab[32768], -32767);
    EXPECT_EQ(synth::costab[49152], 0);
    EXPECT_EQ(synth::costab[8192], 23170);  // 32767 / sqrt(2) rounded
    for (int i = 1; i < 65536; ++i) {
        ASSERT_EQ(synth::costab[i], synth::costab[65536 - i]) << "i=" << i;
        if (i < 32768) {
            ASSERT_EQ(synth::costab[i], -synth::costab[32768 - i]) << "i=" << i;
        }
    }
}

TEST_F(SynthTables, NoisetabHoldsThreeValuesInEqualShare)
{
    std::map<int, int> counts;
    for (int16_t x : synth::noisetab) ++counts[x];
    ASSERT_EQ(counts.size(), 3u);
    for (int v : {-32768, -32767, 32767}) {
        ASSERT_TRUE(counts.count(v)) << v;
        // 65536 / 3 = 21845; six standard deviations is about 720.
        EXPECT_NEAR(counts[v], 21845, 800) << v;
    }
}

TEST_F(SynthTables, SynthrandomStaysInRange)
{
    EXPECT_EQ(synth::synthrandom(0), 0u);
    EXPECT_EQ(synth::synthrandom(1), 0u);
    bool seen[256] = {};
    for (int i = 0; i < 20000; ++i) {
        const uint32_t r = synth::synthrandom(256);
        ASSERT_LT(r, 256u);
        seen[r] = true;
    }
    for (int i = 0; i < 256; ++i) EXPECT_TRUE(seen[i]) << i;
}

}  // namespace
