#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/audio.h"
#include "app/playback.h"
#include "synth/pd/record.h"

namespace {

// A player whose tick notes the frame it falls on and sounds one voice.
std::vector<uint64_t> tickframes;

void countingtick()
{
    tickframes.push_back(shell::playedframes);
    synth::voices[0].step = synth::hzstep[440];
    synth::voices[0].control = 0x11;
    synth::voices[0].level = 255;
}

class AudioTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        synth::synthinit();
        synth::samplerate = 44100;
        synth::buildtables();
        synth::lastvoice = 2;
        shell::playersinit();
        shell::audioreset();
        shell::players[3].active = true;
        shell::players[3].tick = countingtick;
        shell::curplayer = 3;
        shell::settickrate(50);
        shell::playedframes = 0;
        tickframes.clear();
    }

    std::vector<uint8_t> block(int frames, uint8_t fill = 0xAA)
    {
        return std::vector<uint8_t>(static_cast<size_t>(frames) * 4, fill);
    }
};

TEST_F(AudioTest, TicksFallOnExactFramesAcrossBlocks)
{
    shell::silent = false;
    auto buf = block(2048);
    shell::audiocallback(nullptr, buf.data(), 2048 * 4);
    EXPECT_EQ(tickframes, (std::vector<uint64_t>{0, 882, 1764}));
    shell::audiocallback(nullptr, buf.data(), 2048 * 4);
    ASSERT_EQ(tickframes.size(), 5u);
    EXPECT_EQ(tickframes[3], 2048u + 598u);
    EXPECT_EQ(tickframes[4], 2048u + 598u + 882u);
    EXPECT_EQ(shell::blockframes.load(), 2048);
    EXPECT_EQ(shell::playedframes.load(), 4096u);
}

TEST_F(AudioTest, SilentBlockIsZeroAndTouchesNothing)
{
    shell::silent = false;
    auto buf = block(2048);
    shell::audiocallback(nullptr, buf.data(), 2048 * 4);  // leaves a countdown mid-tick
    const uint64_t played = shell::playedframes;
    const uint32_t uptime = shell::uptimeframes;
    const uint32_t phase = synth::voices[0].phase;
    const size_t ticks = tickframes.size();

    shell::silent = true;
    auto silentbuf = block(1000, 0x55);
    shell::audiocallback(nullptr, silentbuf.data(), 1000 * 4);
    for (uint8_t b : silentbuf) ASSERT_EQ(b, 0);
    EXPECT_EQ(shell::playedframes.load(), played);
    EXPECT_EQ(shell::uptimeframes.load(), uptime);
    EXPECT_EQ(synth::voices[0].phase.load(), phase);
    EXPECT_EQ(tickframes.size(), ticks);
    EXPECT_EQ(shell::blockframes.load(), 1000);

    // The first frame after the silence starts with a tick.
    shell::silent = false;
    shell::audiocallback(nullptr, buf.data(), 16);
    ASSERT_EQ(tickframes.size(), ticks + 1);
    EXPECT_EQ(tickframes.back(), played);
}

TEST_F(AudioTest, RenderedFramesReachTheBufferAndTheScope)
{
    shell::silent = false;
    auto buf = block(2048);
    shell::audiocallback(nullptr, buf.data(), 2048 * 4);
    bool sound = false;
    for (int i = 0; i < 2048; ++i) {
        int16_t left, right;
        std::memcpy(&left, &buf[4 * i], 2);
        std::memcpy(&right, &buf[4 * i + 2], 2);
        EXPECT_EQ(left, right);
        ASSERT_EQ(shell::scopebuf[i].load(), left) << "frame " << i;
        if (left != 0) sound = true;
    }
    EXPECT_TRUE(sound);
}

TEST_F(AudioTest, MeasuredRateChangesOnlyAfterAFullSecond)
{
    shell::silent = false;
    auto buf = block(2100);
    for (int i = 0; i < 21; ++i) shell::audiocallback(nullptr, buf.data(), 2100 * 4);  // 44100 - ...
    // 21 * 2100 = 44100 frames: the second completes on the last frame.
    EXPECT_EQ(shell::measuredrate.load(), 50u);
    EXPECT_EQ(shell::secondframes.load(), 0u);
    EXPECT_EQ(shell::secondticks.load(), 0u);

    shell::audioreset();
    shell::silent = false;
    tickframes.clear();
    for (int i = 0; i < 20; ++i) shell::audiocallback(nullptr, buf.data(), 2100 * 4);
    auto rest = block(2099);
    shell::audiocallback(nullptr, rest.data(), 2099 * 4);
    EXPECT_EQ(shell::measuredrate.load(), 0u) << "one frame short of a second";
    EXPECT_EQ(shell::secondticks.load(), 50u);
    auto one = block(1);
    shell::audiocallback(nullptr, one.data(), 4);
    EXPECT_EQ(shell::measuredrate.load(), 50u);
}

TEST_F(AudioTest, UptimeSaturatesInsteadOfWrapping)
{
    shell::silent = false;
    shell::uptimeframes = 4294967290u;
    auto buf = block(100);
    shell::audiocallback(nullptr, buf.data(), 100 * 4);
    EXPECT_EQ(shell::uptimeframes.load(), 4294967295u);
    shell::audiocallback(nullptr, buf.data(), 100 * 4);
    EXPECT_EQ(shell::uptimeframes.load(), 4294967295u);
}

TEST_F(AudioTest, RenderBlockUsesItsOwnCountdownAndCountsNothingElse)
{
    // The silent callback resets its countdown; renderblock must not notice.
    shell::silent = true;
    shell::renderblockcountdown = 0;
    auto buf = block(4096);
    shell::renderblock(nullptr, buf.data(), 4096 * 4);
    auto silentbuf = block(2048);
    shell::audiocallback(nullptr, silentbuf.data(), 2048 * 4);
    shell::renderblock(nullptr, buf.data(), 4096 * 4);

    std::vector<uint64_t> expected;
    for (uint64_t f = 0; f < 8192; f += 882) expected.push_back(f);
    EXPECT_EQ(tickframes, expected);
    EXPECT_EQ(shell::uptimeframes.load(), 0u);
    EXPECT_EQ(shell::secondticks.load(), 0u);
    EXPECT_EQ(shell::measuredrate.load(), 0u);
    EXPECT_EQ(shell::playedframes.load(), 8192u);
    EXPECT_EQ(shell::blockframes.load(), 4096);
}

TEST_F(AudioTest, TickCanChangeTheRateForTheNextCountdown)
{
    // A player that switches to 100 ticks per second at its first tick.
    shell::players[3].tick = [] {
        tickframes.push_back(shell::playedframes);
        shell::settickrate(100);
    };
    shell::silent = false;
    auto buf = block(2048);
    shell::audiocallback(nullptr, buf.data(), 2048 * 4);
    EXPECT_EQ(tickframes, (std::vector<uint64_t>{0, 441, 882, 1323, 1764}));
}

}  // namespace
