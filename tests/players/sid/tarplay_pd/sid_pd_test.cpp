// tarplay_pd's SID player: frequency writes that wait for a waveform, the
// control byte decoded in the register model, the mute switches, and the
// loader's header rules with lengths in 16-bit ticks that wrap.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "portable.h"
#include "core/playback.h"
#include "core/tuneclock_ticks.h"
#include "players/sid/cpu.h"
#include "players/sid/psid.h"
#include "players/sid/sidmodel.h"
#include "players/sid/sidregs_decoded.h"
#include "players/sid/sidregs.h"
#include "screen/console.h"
#include "synth/pd32/record.h"

namespace {

class SidPdTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        synth::synthinit();
        cpu::cpusetup();
        cpu::memwritehook = sid::buswrite;
        sid::sidtables();
        sid::psidreset();
        sid::sidreset();
        sid::sidmutes.fill(false);
        sid::beforeplay();
        core::settickrate(50);
        screen::messagesink = [this](std::string_view msg, uint8_t, bool) { shown.emplace_back(msg); };
        dir = portable::makescratchdir("tarplay_pd_").string();
    }
    void TearDown() override { screen::messagesink = nullptr, std::filesystem::remove_all(dir); }

    // A two-song PSID whose init and play routines are an RTS at $1000, of a
    // version no loader knows and with a high offset byte that is not read.
    bool load(const std::string& magic, uint8_t speed)
    {
        std::vector<uint8_t> b(0x7C, 0);
        for (size_t i = 0; i < 4; ++i) b[i] = static_cast<uint8_t>(magic[i]);
        b[5] = 9;
        b[6] = 0x40;
        b[7] = 0x7C;
        b[8] = b[10] = b[12] = 0x10;
        b[15] = 2;
        b[21] = speed;
        b.push_back(0x60);
        std::ofstream(dir / "tune.sid", std::ios::binary).write(reinterpret_cast<const char*>(b.data()), std::ssize(b));
        return sid::sidload((dir / "tune.sid").string());
    }
    static const synth::tvoice& voice(int v) { return synth::voices[static_cast<size_t>(v)]; }

    std::filesystem::path dir;
    std::vector<std::string> shown;
};

TEST_F(SidPdTest, FrequencyWaitsForAWaveform)
{
    for (uint8_t control : {0x00, 0x0F}) {
        sid::sidwrite(0x04, control);
        sid::sidwrite(0x01, 0x10);  // 0x1000 / 17 = 240 Hz
        EXPECT_EQ(voice(0).hz.load(), 0u) << "ignored at control " << int{control};
    }
    sid::sidwrite(0x04, 0x10);
    sid::sidwrite(0x01, 0x10);
    EXPECT_EQ(voice(0).hz.load(), 240u);
}

TEST_F(SidPdTest, ControlByteDecodedInTheModel)
{
    sid::sidwrite(0x0B, 0x21);  // voice 1 sawtooth
    EXPECT_EQ(voice(1).pulse.load(), 0);
    sid::sidwrite(0x0B, 0x17);  // triangle with sync and ring from voice 0
    EXPECT_EQ(voice(1).pulse.load(), 255);
    EXPECT_EQ(voice(1).syncsrc.load(), 0);
    EXPECT_EQ(voice(1).ringsrc.load(), 0);
    sid::sidwrite(0x04, 0x13);  // voice 0 syncs to voice 2, no ring
    EXPECT_EQ(voice(0).syncsrc.load(), 2);
    EXPECT_EQ(voice(0).ringsrc.load(), 255);

    // Noise alone holds the noise flag until the next play tick.
    sid::sidwrite(0x12, 0x81);
    sid::sidwrite(0x12, 0x41);
    EXPECT_EQ(voice(2).noise.load(), 1) << "held within the tick";
    sid::beforeplay();
    sid::sidwrite(0x12, 0x91);  // noise with triangle is not noise alone
    EXPECT_EQ(voice(2).noise.load(), 0);

    // The test bit clears the reported phase and silences.
    synth::voices[2].lastphase = 40000;
    sid::sidwrite(0x12, 0x08);
    EXPECT_EQ(voice(2).lastphase.load(), 0);
    EXPECT_EQ(voice(2).level.load(), 0);
}

TEST_F(SidPdTest, MuteSwitchSilencesTheVoice)
{
    sid::sidwrite(0x06, 0xF0);
    sid::sidwrite(0x04, 0x11);
    cpu::cpucycles = 5000;
    sid::sidwrite(0x18, 0x0F);
    ASSERT_GT(voice(0).level.load(), 0);
    sid::sidmutes[0] = true;
    sid::sidwrite(0x18, 0x0F);
    EXPECT_EQ(voice(0).level.load(), 0);
}

TEST_F(SidPdTest, LoaderHeaderRulesAndLengthInTicks)
{
    EXPECT_FALSE(load("psid", 0));
    EXPECT_EQ(shown, std::vector<std::string>{"Unknown SID-Format \"psid\""});

    ASSERT_TRUE(load("PSID", 0));
    EXPECT_EQ(sid::sidimage[0x1000], 0x60);
    EXPECT_EQ(core::songticks.load(), 15000) << "five minutes at 50 ticks";
    // Speed bit 0 of byte 21: CIA timing, 60 ticks when the timer is not set.
    ASSERT_TRUE(load("PSID", 1));
    EXPECT_EQ(core::tickrate.load(), 60);
    EXPECT_EQ(core::songticks.load(), 18000);
    EXPECT_EQ(shown.size(), 1u);
}

TEST_F(SidPdTest, TickPositionWrapsAtSixteenBitsWithoutARestart)
{
    ASSERT_TRUE(load("PSID", 0));
    sid::sidticks = 65533;
    sid::sidupdate();
    ASSERT_EQ(core::tickpos.load(), 65534u);
    for (uint32_t e : {65535u, 0u, 1u}) {
        sid::sidupdate();
        EXPECT_EQ(core::tickpos.load(), e);
    }
    EXPECT_EQ(sid::sidticks, 65537u) << "no init ran on the way";
}

}  // namespace
