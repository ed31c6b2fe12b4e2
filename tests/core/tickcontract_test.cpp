// The tick contract with a player that only notes what it is asked to do:
// the shell's stores to tickpos and cursong become restarts, skips and
// subsong changes in the order each player asks for, and the contract alone
// reports the position and ends the tune.
#include <gtest/gtest.h>

#include <string>

#include "core/shared.h"
#include "core/tickcontract.h"

namespace {

struct {
    std::string log;  // "s<song>" for a start, "t<song>" for a tick
    uint64_t ticks = 0;
    uint8_t song = 0;
    bool fails = false;
} player;

void start(uint8_t song)
{
    player.log += "s" + std::to_string(song);
    player.song = song;
    player.ticks = 0;
}

bool onetick()
{
    player.log += "t" + std::to_string(player.song);
    ++player.ticks;
    return !player.fails;
}

core::tickhooks hooks(bool after, bool resetstime)
{
    return {start, onetick, [] { return player.ticks; }, [] { return player.song; }, after, resetstime};
}

class TickContract : public ::testing::Test {
protected:
    void SetUp() override
    {
        player = {};
        core::cursong = 0;
        core::quitplay = false;
        core::recording = false;
        core::songframes = 1000;
        core::tickcontractreset();
    }
    // n ticks, the log of the last one.
    std::string tick(const core::tickhooks& h, int n = 1)
    {
        for (int i = 0; i < n; ++i) {
            player.log.clear();
            core::playertick(h);
        }
        return player.log;
    }
};

TEST_F(TickContract, RestartSkipAndPositionReport)
{
    const core::tickhooks h = hooks(false, false);
    EXPECT_EQ(tick(h, 3), "t0");
    EXPECT_EQ(core::tickpos.load(), 3u);

    core::tickpos = 8;  // five ticks ahead
    EXPECT_EQ(tick(h), "t0t0t0t0t0t0") << "the skipped ticks, then the tick itself";
    EXPECT_EQ(core::tickpos.load(), 9u);

    core::playedframes = 500;
    core::tickpos = 0;
    EXPECT_EQ(tick(h), "s0t0") << "a lower position starts the subsong again";
    EXPECT_EQ(core::tickpos.load(), 1u);
    EXPECT_EQ(core::playedframes.load(), 500u) << "time is the shell's to reset on a restart";

    core::tickcontractreset();
    EXPECT_EQ(tick(h), "t0") << "after a reset the first tick is no rewind";
}

TEST_F(TickContract, SubsongChangeBeforeOrAfterTheTick)
{
    core::playedframes = 700;
    core::cursong = 2;
    EXPECT_EQ(tick(hooks(false, true)), "s2t2");
    EXPECT_EQ(core::tickpos.load(), 1u) << "the tick counts in the new subsong";
    EXPECT_EQ(core::playedframes.load(), 0u) << "a player whose start resets the time";

    core::playedframes = 700;
    core::cursong = 1;
    EXPECT_EQ(tick(hooks(true, false)), "t2s1") << "the old subsong sounds once more";
    EXPECT_EQ(core::tickpos.load(), 0u);
    EXPECT_EQ(core::playedframes.load(), 700u) << "a player whose time runs on";
    EXPECT_EQ(tick(hooks(true, false)), "t1");
}

TEST_F(TickContract, TheTuneEndsOnlyWhenRecordingOrWhenATickFails)
{
    const core::tickhooks h = hooks(false, false);
    core::playedframes = 1000;
    tick(h);
    EXPECT_FALSE(core::quitplay.load()) << "playback goes on past the length";

    core::recording = true;
    core::playedframes = 999;
    tick(h);
    EXPECT_FALSE(core::quitplay.load());
    core::playedframes = 1000;
    tick(h);
    EXPECT_TRUE(core::quitplay.load()) << "a recording ends at the length";

    core::recording = false;
    core::quitplay = false;
    core::playedframes = 0;
    core::tickpos = core::tickpos + 3;
    player.fails = true;
    tick(h);
    EXPECT_TRUE(core::quitplay.load()) << "a tune that cannot go on ends playback";
}

}  // namespace
