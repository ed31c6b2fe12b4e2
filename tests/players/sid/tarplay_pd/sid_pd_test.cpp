// tarplay_pd's SID player: the linear cutoff curve, the control byte
// decoded in the register model, frequency writes that wait for a
// waveform, the mute switches, and the loader's header rules with lengths
// in 16-bit ticks that wrap without restarting the tune.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "portable.h"
#include "app/playback.h"
#include "app/tarplay_pd/playclock.h"
#include "players/sid/cpu.h"
#include "players/sid/psid.h"
#include "players/sid/sidmodel.h"
#include "players/sid/sidmute.h"
#include "players/sid/sidvariant.h"
#include "screen/console.h"
#include "synth/pd32/record.h"

namespace {

using bytes = std::vector<uint8_t>;

class SidPdTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        synth::synthinit();
        for (int v = 0; v < synth::voicecount; ++v) synth::voiceclear(v, false);
        cpu::cpusetup();
        cpu::memwritehook = sid::buswrite;
        cpu::cpucycles = 0;
        sid::sidtables();
        sid::psidreset();
        sid::sidreset();
        sid::sidmutes.fill(false);
        sid::beforeplay();
        shell::settickrate(50);
        shell::cursong = 0;
        shell::tickpos = 0;
        shell::running = true;
        shell::quitplay = false;
        screen::messagesink = [this](std::string_view msg, uint8_t, bool) { shown.emplace_back(msg); };
        dir = portable::makescratchdir("tarplay_pd_").string();
    }
    void TearDown() override
    {
        screen::messagesink = nullptr;
        std::filesystem::remove_all(dir);
    }

    // A PSID whose init and play routines return at once (RTS at $1000).
    static bytes psid(const std::string& magic, uint16_t version, uint8_t offsethigh, uint8_t offset, uint8_t speed)
    {
        bytes b(offset, 0);
        for (size_t i = 0; i < 4; ++i) b[i] = static_cast<uint8_t>(magic[i]);
        b[5] = static_cast<uint8_t>(version);
        b[4] = static_cast<uint8_t>(version >> 8);
        b[6] = offsethigh;
        b[7] = offset;
        b[8] = 0x10;  // load, init and play at $1000
        b[10] = 0x10;
        b[12] = 0x10;
        b[15] = 2;  // two songs
        b[21] = speed;
        b.push_back(0x60);
        return b;
    }
    bool load(const bytes& file)
    {
        const std::string path = (dir / "tune.sid").string();
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                     static_cast<std::streamsize>(file.size()));
        return sid::sidload(path);
    }
    static const synth::tvoice& voice(int v) { return synth::voices[static_cast<size_t>(v)]; }

    std::filesystem::path dir;
    std::vector<std::string> shown;
};

TEST_F(SidPdTest, CutoffCurveIsLinear)
{
    EXPECT_EQ(sid::cutofftab[0], 247);
    EXPECT_EQ(sid::cutofftab[128], 124);
    EXPECT_EQ(sid::cutofftab[255], 1);
    for (int c = 1; c < 256; ++c) EXPECT_LE(sid::cutofftab[c], sid::cutofftab[c - 1]) << c;
}

TEST_F(SidPdTest, FrequencyWaitsForAWaveform)
{
    sid::sidwrite(0x00, 0x00);
    sid::sidwrite(0x01, 0x10);  // 0x1000 / 17 = 240 Hz
    EXPECT_EQ(voice(0).hz.load(), 0u) << "control 0: ignored";
    sid::sidwrite(0x04, 0x0F);
    sid::sidwrite(0x01, 0x10);
    EXPECT_EQ(voice(0).hz.load(), 0u) << "control 0x0F: still no waveform";
    sid::sidwrite(0x04, 0x10);
    sid::sidwrite(0x01, 0x10);
    EXPECT_EQ(voice(0).hz.load(), 240u);
    EXPECT_EQ(voice(0).step.load(), static_cast<uint32_t>(synth::hzstep[240]));
}

TEST_F(SidPdTest, ControlByteDecodedInTheModel)
{
    sid::sidwrite(0x0B, 0x21);  // voice 1 sawtooth
    EXPECT_EQ(voice(1).pulse.load(), 0);
    sid::sidwrite(0x0B, 0x11);  // triangle
    EXPECT_EQ(voice(1).pulse.load(), 255);
    sid::sidwrite(0x0B, 0x17);  // triangle with sync and ring from voice 0
    EXPECT_EQ(voice(1).syncsrc.load(), 0);
    EXPECT_EQ(voice(1).ringsrc.load(), 0);
    EXPECT_EQ(voice(1).control.load(), 0x17);
    sid::sidwrite(0x04, 0x13);  // voice 0 syncs to voice 2
    EXPECT_EQ(voice(0).syncsrc.load(), 2);
    EXPECT_EQ(voice(0).ringsrc.load(), 255);

    // Noise alone holds the noise flag until the next play tick.
    sid::sidwrite(0x12, 0x81);
    EXPECT_EQ(voice(2).noise.load(), 1);
    sid::sidwrite(0x12, 0x41);
    EXPECT_EQ(voice(2).noise.load(), 1) << "held within the tick";
    sid::beforeplay();
    sid::sidwrite(0x12, 0x41);
    EXPECT_EQ(voice(2).noise.load(), 0);
    sid::sidwrite(0x12, 0x91);  // noise with triangle is not noise alone
    EXPECT_EQ(voice(2).noise.load(), 0);

    // The test bit clears the reported phase, holds and silences.
    synth::voices[2].lastphase = 40000;
    sid::sidwrite(0x12, 0x08);
    EXPECT_EQ(voice(2).lastphase.load(), 0);
    EXPECT_EQ(voice(2).level.load(), 0);
}

TEST_F(SidPdTest, MuteSwitchSilencesTheVoice)
{
    sid::sidwrite(0x05, 0x00);
    sid::sidwrite(0x06, 0xF0);
    sid::sidwrite(0x04, 0x11);
    cpu::cpucycles = 5000;
    sid::sidwrite(0x18, 0x0F);
    ASSERT_GT(voice(0).level.load(), 0);
    sid::sidmutes[0] = true;
    sid::sidwrite(0x18, 0x0F);
    EXPECT_EQ(voice(0).level.load(), 0);
}

TEST_F(SidPdTest, LoaderReadsItsOwnHeaderRules)
{
    EXPECT_FALSE(load(psid("psid", 2, 0, 0x7C, 0)));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Unknown SID-Format \"psid\"");

    // Any version; the offset from byte 7 alone (byte 6 is not read).
    shown.clear();
    ASSERT_TRUE(load(psid("PSID", 9, 0x40, 0x7C, 0)));
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(sid::sidimage[0x1000], 0x60);
    EXPECT_EQ(shell::tickrate.load(), 50);
    EXPECT_EQ(shell::samplespertick.load(), 960u) << "48000 frames per second";
    EXPECT_EQ(shell::songticks.load(), 15000) << "five minutes in ticks";
    EXPECT_EQ(shell::lastsong.load(), 1);

    // Speed bit 0 of byte 21: CIA timing, 60 ticks when the timer is not set.
    ASSERT_TRUE(load(psid("PSID", 2, 0, 0x7C, 1)));
    EXPECT_EQ(shell::tickrate.load(), 60);
    EXPECT_EQ(shell::songticks.load(), 18000);
}

TEST_F(SidPdTest, TickPositionWrapsAtSixteenBitsWithoutARestart)
{
    ASSERT_TRUE(load(psid("PSID", 2, 0, 0x7C, 0)));
    sid::sidticks = 65534;
    sid::sidpos = 65534;
    shell::tickpos = 65534;
    const uint32_t expected[] = {65535, 0, 1};
    for (uint32_t e : expected) {
        sid::sidupdate();
        EXPECT_EQ(shell::tickpos.load(), e);
    }
    EXPECT_EQ(sid::sidticks, 65537u) << "no init ran on the way";
}

TEST_F(SidPdTest, EveryTickAdvancesThePlayClockUpToItsLimit)
{
    ASSERT_TRUE(load(psid("PSID", 2, 0, 0x7C, 0)));
    shell::playclock = 0;
    sid::sidupdate();
    sid::sidupdate();
    EXPECT_EQ(shell::playclock.load(), 12000u) << "300000 / 50 per tick";
    shell::playclock = shell::playclocklimit - 100;
    sid::sidupdate();
    EXPECT_EQ(shell::playclock.load(), shell::playclocklimit);
}

}  // namespace
