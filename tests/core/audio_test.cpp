#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/audio.h"
#include "core/playback.h"
#include "synth/pd/record.h"

namespace {

// A player whose tick notes the frame it falls on and sounds one voice.
std::vector<uint64_t> tickframes;

void countingtick()
{
    tickframes.push_back(core::playedframes);
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
        core::playersinit();
        core::audioreset();
        core::players[3].active = true;
        core::players[3].tick = countingtick;
        core::curplayer = 3;
        core::settickrate(50);
        core::playedframes = 0;
        tickframes.clear();
    }

    std::vector<uint8_t> block(int frames, uint8_t fill = 0xAA)
    {
        return std::vector<uint8_t>(static_cast<size_t>(frames) * 4, fill);
    }
};

TEST_F(AudioTest, TicksFallOnExactFramesAcrossBlocks)
{
    core::silent = false;
    auto buf = block(2048);
    core::devicecallback(nullptr, buf.data(), 2048 * 4);
    EXPECT_EQ(tickframes, (std::vector<uint64_t>{0, 882, 1764}));
    core::devicecallback(nullptr, buf.data(), 2048 * 4);
    ASSERT_EQ(tickframes.size(), 5u);
    EXPECT_EQ(tickframes[3], 2048u + 598u);
    EXPECT_EQ(tickframes[4], 2048u + 598u + 882u);
    EXPECT_EQ(core::blockframes.load(), 2048);
    EXPECT_EQ(core::playedframes.load(), 4096u);
}

// The one frame loop behind the three callers: from the same start, the
// device's callback, the per-tune callback and the recorder's block render
// the same frames with the ticks on the same frames; only what they count
// differs.
TEST_F(AudioTest, TheDevicePerTuneAndRecorderLoopsRenderAlike)
{
    struct run {
        std::vector<uint8_t> pcm;
        std::vector<uint64_t> ticks;
        uint64_t played;
    };
    auto render = [&](void (*loop)(void*, uint8_t*, int)) {
        SetUp();
        core::silent = false;
        run r;
        // Blocks that end mid-tick, and one of a single frame.
        for (int frames : {2048, 1, 1000, 3000}) {
            auto buf = block(frames);
            loop(nullptr, buf.data(), frames * 4);
            r.pcm.insert(r.pcm.end(), buf.begin(), buf.end());
        }
        r.ticks = tickframes;
        r.played = core::playedframes;
        return r;
    };
    const run device = render(core::devicecallback);
    const run pertune = render(core::pertunecallback);
    const run recorder = render(core::renderblock);
    EXPECT_EQ(pertune.pcm, device.pcm);
    EXPECT_EQ(recorder.pcm, device.pcm);
    EXPECT_EQ(recorder.ticks, device.ticks);
    EXPECT_EQ(device.ticks.size(), 7u) << "6049 frames at 882 a tick";
    EXPECT_EQ(device.played, 6049u);
    EXPECT_EQ(recorder.played, 6049u);
    EXPECT_EQ(pertune.played, 0u) << "the per-tune loop counts no frames";
}

TEST_F(AudioTest, SilentBlockIsZeroAndTouchesNothing)
{
    core::silent = false;
    auto buf = block(2048);
    core::devicecallback(nullptr, buf.data(), 2048 * 4);  // leaves a countdown mid-tick
    const uint64_t played = core::playedframes;
    const uint32_t uptime = core::uptimeframes;
    const uint32_t phase = synth::voices[0].phase;
    const size_t ticks = tickframes.size();

    core::silent = true;
    auto silentbuf = block(1000, 0x55);
    core::devicecallback(nullptr, silentbuf.data(), 1000 * 4);
    for (uint8_t b : silentbuf) ASSERT_EQ(b, 0);
    EXPECT_EQ(core::playedframes.load(), played);
    EXPECT_EQ(core::uptimeframes.load(), uptime);
    EXPECT_EQ(synth::voices[0].phase.load(), phase);
    EXPECT_EQ(tickframes.size(), ticks);
    EXPECT_EQ(core::blockframes.load(), 1000);

    // The first frame after the silence starts with a tick.
    core::silent = false;
    core::devicecallback(nullptr, buf.data(), 16);
    ASSERT_EQ(tickframes.size(), ticks + 1);
    EXPECT_EQ(tickframes.back(), played);
}

TEST_F(AudioTest, RenderedFramesReachTheBufferAndTheScope)
{
    core::silent = false;
    auto buf = block(2048);
    core::devicecallback(nullptr, buf.data(), 2048 * 4);
    bool sound = false;
    for (int i = 0; i < 2048; ++i) {
        int16_t left, right;
        std::memcpy(&left, &buf[4 * i], 2);
        std::memcpy(&right, &buf[4 * i + 2], 2);
        EXPECT_EQ(left, right);
        ASSERT_EQ(core::scopebuf[i].load(), left) << "frame " << i;
        if (left != 0) sound = true;
    }
    EXPECT_TRUE(sound);
}

TEST_F(AudioTest, MeasuredRateChangesOnlyAfterAFullSecond)
{
    core::silent = false;
    auto buf = block(2100);
    for (int i = 0; i < 21; ++i) core::devicecallback(nullptr, buf.data(), 2100 * 4);  // 44100 - ...
    // 21 * 2100 = 44100 frames: the second completes on the last frame.
    EXPECT_EQ(core::measuredrate.load(), 50u);
    EXPECT_EQ(core::secondframes.load(), 0u);
    EXPECT_EQ(core::secondticks.load(), 0u);

    core::audioreset();
    core::silent = false;
    tickframes.clear();
    for (int i = 0; i < 20; ++i) core::devicecallback(nullptr, buf.data(), 2100 * 4);
    auto rest = block(2099);
    core::devicecallback(nullptr, rest.data(), 2099 * 4);
    EXPECT_EQ(core::measuredrate.load(), 0u) << "one frame short of a second";
    EXPECT_EQ(core::secondticks.load(), 50u);
    auto one = block(1);
    core::devicecallback(nullptr, one.data(), 4);
    EXPECT_EQ(core::measuredrate.load(), 50u);
}

TEST_F(AudioTest, UptimeSaturatesInsteadOfWrapping)
{
    core::silent = false;
    core::uptimeframes = 4294967290u;
    auto buf = block(100);
    core::devicecallback(nullptr, buf.data(), 100 * 4);
    EXPECT_EQ(core::uptimeframes.load(), 4294967295u);
    core::devicecallback(nullptr, buf.data(), 100 * 4);
    EXPECT_EQ(core::uptimeframes.load(), 4294967295u);
}

TEST_F(AudioTest, RenderBlockUsesItsOwnCountdownAndCountsNothingElse)
{
    // The silent callback resets its countdown; renderblock must not notice.
    core::silent = true;
    core::renderblockcountdown = 0;
    auto buf = block(4096);
    core::renderblock(nullptr, buf.data(), 4096 * 4);
    auto silentbuf = block(2048);
    core::devicecallback(nullptr, silentbuf.data(), 2048 * 4);
    core::renderblock(nullptr, buf.data(), 4096 * 4);

    std::vector<uint64_t> expected;
    for (uint64_t f = 0; f < 8192; f += 882) expected.push_back(f);
    EXPECT_EQ(tickframes, expected);
    EXPECT_EQ(core::uptimeframes.load(), 0u);
    EXPECT_EQ(core::secondticks.load(), 0u);
    EXPECT_EQ(core::measuredrate.load(), 0u);
    EXPECT_EQ(core::playedframes.load(), 8192u);
    EXPECT_EQ(core::blockframes.load(), 4096);
}

TEST_F(AudioTest, TickCanChangeTheRateForTheNextCountdown)
{
    // A player that switches to 100 ticks per second at its first tick.
    core::players[3].tick = [] {
        tickframes.push_back(core::playedframes);
        core::settickrate(100);
    };
    core::silent = false;
    auto buf = block(2048);
    core::devicecallback(nullptr, buf.data(), 2048 * 4);
    EXPECT_EQ(tickframes, (std::vector<uint64_t>{0, 441, 882, 1323, 1764}));
}

}  // namespace
