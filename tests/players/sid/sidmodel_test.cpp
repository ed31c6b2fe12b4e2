#include "sid_fixture.h"

#include <random>

namespace {

using sidtest::SidTest;

// One write that changes nothing but lets the envelopes run for cycles.
void runcycles(uint32_t cycles)
{
    cpu::cpucycles = cycles;
    sid::sidwrite(0x1D, 0);
}

using SidModelTest = SidTest;

TEST_F(SidModelTest, ResetReleasesAndFreezesEveryVoice)
{
    sid::sidwrite(0x18, 0x1A);
    sid::sidwrite(0x17, 0xF7);
    sid::sidreset();
    for (uint8_t r : sid::sidregs) EXPECT_EQ(r, 0);
    for (const auto& e : sid::envstate) {
        EXPECT_EQ(e.envphase, sid::phaserelease);
        EXPECT_EQ(e.rateperiod, 9);
        EXPECT_EQ(e.expperiod, 1);
        EXPECT_TRUE(e.holdzero);
        EXPECT_EQ(e.envlevel, 0);
        EXPECT_FALSE(e.gatebit);
    }
    EXPECT_EQ(sid::mastervolume, 15);
    runcycles(100000);
    EXPECT_EQ(sid::envstate[0].envlevel, 0) << "a released voice at 0 stays frozen";
}

TEST_F(SidModelTest, FastestAttackRisesOneStepEveryNineCycles)
{
    sid::sidwrite(0x05, 0x00);
    sid::sidwrite(0x06, 0xF0);
    sid::sidwrite(0x04, 0x11);
    EXPECT_EQ(sid::envstate[0].envphase, sid::phaseattack);
    EXPECT_FALSE(sid::envstate[0].holdzero);
    runcycles(8);
    EXPECT_EQ(sid::envstate[0].envlevel, 0);
    runcycles(1);
    EXPECT_EQ(sid::envstate[0].envlevel, 1);
    for (int step = 2; step <= 255; ++step) {
        runcycles(9);
        ASSERT_EQ(sid::envstate[0].envlevel, step);
    }
    EXPECT_EQ(sid::envstate[0].envphase, sid::phasedecay);
    EXPECT_EQ(synth::voices[0].level.load(), 255);
    runcycles(100000);
    EXPECT_EQ(sid::envstate[0].envlevel, 255) << "sustain 15 holds the top level";
}

TEST_F(SidModelTest, DecaySlowsDownExponentiallyAndStopsAtSustain)
{
    sid::sidwrite(0x05, 0x00);
    sid::sidwrite(0x06, 0x00);
    sid::sidwrite(0x04, 0x11);
    runcycles(255 * 9);
    ASSERT_EQ(sid::envstate[0].envlevel, 255);
    // Levels 255 down to 94 step every period, 93 and below every second.
    runcycles(162 * 9);
    ASSERT_EQ(sid::envstate[0].envlevel, 93);
    runcycles(17);
    EXPECT_EQ(sid::envstate[0].envlevel, 93);
    runcycles(1);
    EXPECT_EQ(sid::envstate[0].envlevel, 92);
    runcycles(1000000);
    EXPECT_EQ(sid::envstate[0].envlevel, 0);
    EXPECT_TRUE(sid::envstate[0].holdzero);
}

TEST_F(SidModelTest, SustainLevelIsReadAtEveryDecayStep)
{
    sid::sidwrite(0x05, 0x00);
    sid::sidwrite(0x06, 0x80);
    sid::sidwrite(0x04, 0x11);
    runcycles(200000);
    EXPECT_EQ(sid::envstate[0].envlevel, 8 * 17);
    sid::sidwrite(0x06, 0x40);
    runcycles(200000);
    EXPECT_EQ(sid::envstate[0].envlevel, 4 * 17);
}

TEST_F(SidModelTest, GateOnAfterHoldZeroRestartsTheAttackFromZero)
{
    sid::sidwrite(0x05, 0x00);
    sid::sidwrite(0x04, 0x11);
    runcycles(100 * 9);
    sid::sidwrite(0x04, 0x10);
    runcycles(1000000);
    ASSERT_EQ(sid::envstate[0].envlevel, 0);
    ASSERT_TRUE(sid::envstate[0].holdzero);
    sid::sidwrite(0x04, 0x11);
    EXPECT_FALSE(sid::envstate[0].holdzero);
    runcycles(9 * 10);
    EXPECT_EQ(sid::envstate[0].envlevel, 10);
}

TEST_F(SidModelTest, GateShorterThanOneAttackPeriodWrapsToTheTop)
{
    sid::sidwrite(0x05, 0xA0);  // attack period 1954
    sid::sidwrite(0x06, 0x00);  // release period 9
    sid::sidwrite(0x04, 0x11);
    runcycles(100);
    sid::sidwrite(0x04, 0x10);
    const auto& e = sid::envstate[0];
    EXPECT_EQ(e.envlevel, 0);
    EXPECT_EQ(e.envphase, sid::phaserelease);
    EXPECT_FALSE(e.holdzero);
    // The release period lies below the counter, which runs on through
    // 0x7FFF and wraps before the first release step.
    const sid::tenvstate before = e;
    runcycles(0x7FFF + 9 - 100 - 1);
    EXPECT_EQ(e.envlevel, 0);
    runcycles(1);
    EXPECT_EQ(e.envlevel, 255);
    runcycles(9);
    EXPECT_EQ(e.envlevel, 254);

    // The same stretch in one batch.
    sid::envstate[0] = before;
    runcycles(0x7FFF + 9 - 100 - 1);
    EXPECT_EQ(e.envlevel, 0);
    sid::envstate[0] = before;
    runcycles(0x7FFF + 9 - 100);
    EXPECT_EQ(e.envlevel, 255);
}

TEST_F(SidModelTest, RateWritesApplyToTheRunningPhase)
{
    sid::sidwrite(0x04, 0x11);
    EXPECT_EQ(sid::envstate[0].rateperiod, 9);
    sid::sidwrite(0x05, 0x3C);
    EXPECT_EQ(sid::envstate[0].rateperiod, 95) << "attack nibble in attack";
    sid::sidwrite(0x06, 0x05);
    EXPECT_EQ(sid::envstate[0].rateperiod, 95) << "release nibble outside release";
    sid::sidwrite(0x04, 0x10);
    EXPECT_EQ(sid::envstate[0].rateperiod, 220);
    sid::sidwrite(0x06, 0x0F);
    EXPECT_EQ(sid::envstate[0].rateperiod, 31251);
    sid::sidwrite(0x0C, 0xF0);
    EXPECT_EQ(sid::envstate[1].rateperiod, 9) << "other voices keep their rates";
}

TEST_F(SidModelTest, EnvelopeCounterMovesBackOnNegativeCycles)
{
    sid::sidwrite(0x04, 0x11);
    sid::envadvance(0, 3);
    EXPECT_EQ(sid::envstate[0].ratecounter, 3);
    sid::envadvance(0, -5);
    EXPECT_EQ(sid::envstate[0].ratecounter, 0x7FFF);
    EXPECT_EQ(sid::envstate[0].envlevel, 0);
    sid::envadvance(0, 8);
    EXPECT_EQ(sid::envstate[0].envlevel, 0);
    sid::envadvance(0, 1);
    EXPECT_EQ(sid::envstate[0].envlevel, 1);
}

// A long stretch of cycles must leave an envelope exactly where the same
// cycles one at a time do, whatever its phase, counters and periods
// (including counters past their period and sustain levels of 0).
TEST_F(SidModelTest, EnvelopeRunsAlikeInOneStretchOrCycleByCycle)
{
    std::mt19937 rng(12081);
    auto draw = [&](uint32_t n) { return std::uniform_int_distribution<uint32_t>(0, n - 1)(rng); };
    for (int round = 0; round < 300; ++round) {
        sid::tenvstate e;
        e.envphase = static_cast<uint8_t>(draw(3));
        e.holdzero = draw(3) == 0;
        const uint8_t sustain = static_cast<uint8_t>(draw(16));
        e.envlevel = draw(2) ? static_cast<uint8_t>(sustain * 17) : static_cast<uint8_t>(draw(256));
        e.rateperiod = sid::adsrperiods[draw(16)];
        e.ratecounter = static_cast<uint16_t>(draw(e.rateperiod + 2));
        e.expperiod = static_cast<uint8_t>(1 + draw(30));
        e.expcounter = static_cast<uint8_t>(draw(40));
        sid::sidregs[6] = static_cast<uint8_t>(sustain << 4 | draw(16));
        sid::sidregs[5] = static_cast<uint8_t>(draw(256));
        const int32_t cycles = static_cast<int32_t>(draw(60000));

        sid::envstate[0] = e;
        sid::envadvance(0, cycles);
        const sid::tenvstate whole = sid::envstate[0];
        sid::envstate[0] = e;
        for (int32_t c = 0; c < cycles; ++c) sid::envadvance(0, 1);
        const sid::tenvstate& single = sid::envstate[0];
        ASSERT_EQ(whole.envlevel, single.envlevel) << "round " << round;
        ASSERT_EQ(whole.expcounter, single.expcounter) << "round " << round;
        ASSERT_EQ(whole.expperiod, single.expperiod) << "round " << round;
        ASSERT_EQ(whole.ratecounter, single.ratecounter) << "round " << round;
        ASSERT_EQ(whole.envphase, single.envphase) << "round " << round;
        ASSERT_EQ(whole.holdzero, single.holdzero) << "round " << round;
        ASSERT_EQ(whole.rateperiod, single.rateperiod) << "round " << round;
    }
}

TEST_F(SidModelTest, PulseWidthFoldsAroundTheMiddle)
{
    auto pulsefor = [](uint16_t w) {
        sid::sidwrite(0x02, static_cast<uint8_t>(w & 0xFF));
        sid::sidwrite(0x03, static_cast<uint8_t>(w >> 8));
        return synth::voices[0].pulse.load();
    };
    sid::sidwrite(0x04, 0x41);
    EXPECT_EQ(pulsefor(0x0400), 128);
    EXPECT_EQ(pulsefor(0x0C00), 127);
    EXPECT_EQ(pulsefor(0x0800), 255);
    EXPECT_EQ(pulsefor(0xF400), 128) << "the top nibble of the high byte is not used";
    EXPECT_EQ(pulsefor(0x0000), 0);
    EXPECT_EQ(pulsefor(0x0FFF), 0);

    sid::sidwrite(0x04, 0x21);
    pulsefor(0x0400);
    EXPECT_EQ(synth::voices[0].pulse.load(), 0) << "widths need the pulse bit";
    sid::sidwrite(0x04, 0x41);
    EXPECT_EQ(synth::voices[0].pulse.load(), 0) << "setting the pulse bit does not recompute";
}

TEST_F(SidModelTest, FrequencyRegistersSetHzStepAndNote)
{
    sid::sidwrite(0x0E, 0xFF);
    sid::sidwrite(0x0F, 0xFF);
    const auto& v = synth::voices[2];
    EXPECT_EQ(v.hz.load(), 3855);
    EXPECT_EQ(v.step.load(), static_cast<uint32_t>(synth::hzstep[3855]));
    EXPECT_EQ(v.octave.load(), synth::hzlog[3855] >> 8);
    EXPECT_EQ(v.notefrac.load(), synth::hzlog[3855] & 0xFF);
    sid::sidwrite(0x0E, 0x00);
    sid::sidwrite(0x0F, 0x10);
    EXPECT_EQ(v.hz.load(), 240);
    EXPECT_EQ(v.step.load(), static_cast<uint32_t>(synth::hzstep[240]));
    EXPECT_EQ(v.octave.load(), 3);
    EXPECT_EQ(v.notefrac.load(), 224);
    EXPECT_EQ(synth::voices[0].hz.load(), 0) << "voice 2's registers leave voice 0 alone";
}

TEST_F(SidModelTest, TablesFollowTheirRules)
{
    EXPECT_EQ(sid::cutofftab[0], 246);
    EXPECT_EQ(sid::cutofftab[128], 61);
    EXPECT_EQ(sid::cutofftab[255], 0);
    for (int c = 1; c < 256; ++c) ASSERT_LE(sid::cutofftab[c], sid::cutofftab[c - 1]);
}

TEST_F(SidModelTest, LowPassRoutesTheCutoffToSelectedVoices)
{
    sid::sidwrite(0x16, 0x40);
    sid::sidwrite(0x17, 0xF1);
    sid::sidwrite(0x18, 0x1F);
    EXPECT_EQ(synth::voices[0].filter.load(), sid::cutofftab[0x40]);
    EXPECT_EQ(synth::voices[1].filter.load(), 0);
    EXPECT_EQ(synth::voices[2].filter.load(), 0);
    sid::sidwrite(0x17, 0x26);
    EXPECT_EQ(synth::voices[0].filter.load(), 0);
    EXPECT_EQ(synth::voices[1].filter.load(), sid::cutofftab[0x40]);
    EXPECT_EQ(synth::voices[2].filter.load(), sid::cutofftab[0x40]);
    sid::sidwrite(0x18, 0x6F);  // band- and high-pass only
    for (int i = 0; i < 3; ++i) EXPECT_EQ(synth::voices[i].filter.load(), 0);
    EXPECT_EQ(sid::mastervolume, 15);
}

TEST_F(SidModelTest, TestBitOrNoWaveformSilencesTheVoice)
{
    sid::sidwrite(0x05, 0x00);
    sid::sidwrite(0x06, 0xF0);
    sid::sidwrite(0x04, 0x11);
    runcycles(255 * 9);
    ASSERT_EQ(synth::voices[0].level.load(), 255);
    sid::sidwrite(0x04, 0x09);
    EXPECT_EQ(synth::voices[0].level.load(), 0);
    EXPECT_TRUE(sid::voicesilent[0]);
    EXPECT_EQ(sid::envstate[0].envlevel, 255) << "the envelope itself goes on";
    sid::sidwrite(0x04, 0x01);
    EXPECT_EQ(synth::voices[0].level.load(), 0);
    sid::sidwrite(0x04, 0x81);
    EXPECT_EQ(synth::voices[0].level.load(), 255);
    EXPECT_EQ(synth::voices[0].control.load(), 0x81);
}

TEST_F(SidModelTest, MasterVolumeScalesTheLevel)
{
    sid::sidwrite(0x05, 0x00);
    sid::sidwrite(0x06, 0xF0);
    sid::sidwrite(0x04, 0x11);
    runcycles(255 * 9);
    sid::sidwrite(0x18, 0x00);
    EXPECT_EQ(sid::mastervolume, 0);
    EXPECT_EQ(synth::voices[0].level.load(), 255 / 16) << "volume 0 still lets envlevel / 16 through";
    sid::sidwrite(0x18, 0xF7);
    EXPECT_EQ(sid::mastervolume, 7);
    EXPECT_EQ(synth::voices[0].level.load(), 255 * 8 / 16);
}

TEST_F(SidModelTest, EveryWriteHandsTheCyclesOver)
{
    sid::cyclebudget = 1000;
    cpu::cpucycles = 300;
    sid::sidwrite(0x00, 0x12);
    EXPECT_EQ(sid::cyclebudget, 700);
    EXPECT_EQ(cpu::cpucycles, 0u);
    cpu::cpucycles = 900;
    sid::sidwrite(0x1F, 0x00);
    EXPECT_EQ(sid::cyclebudget, -200);
    EXPECT_EQ(sid::sidregs[0x1F], 0);
    EXPECT_EQ(sid::sidregs[0x00], 0x12);
}

}  // namespace
