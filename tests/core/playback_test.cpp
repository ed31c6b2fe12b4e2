#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "core/playback.h"
#include "synth/synth.h"

namespace {

TEST(PlayerTable, RegistrationTakesTheHighestFreeSlot)
{
    core::playersinit();
    EXPECT_EQ(core::freeslot(), 7);
    core::players[7].active = true;
    EXPECT_EQ(core::freeslot(), 6);
    core::players[6].active = true;
    core::players[2].active = true;
    EXPECT_EQ(core::freeslot(), 5);
    for (auto& p : core::players) p.active = true;
    EXPECT_EQ(core::freeslot(), 0) << "a full table hands out slot 0";
    core::playersinit();
    for (const auto& p : core::players) {
        EXPECT_FALSE(p.active);
        EXPECT_TRUE(p.ext.empty());
    }
}

TEST(PlayerTable, ChoiceByExtensionPrefersTheHighestSlot)
{
    core::playersinit();
    core::players[2].ext = ".SID";
    core::players[5].ext = ".SID";
    core::players[6].ext = ".AHX";
    core::curplayer = 1;
    core::songext = ".SID";
    core::chooseplayer();
    EXPECT_EQ(core::curplayer.load(), 5);
    core::songext = ".AHX";
    core::chooseplayer();
    EXPECT_EQ(core::curplayer.load(), 6);
    core::songext = ".MOD";
    core::chooseplayer();
    EXPECT_EQ(core::curplayer.load(), 6) << "an unclaimed extension keeps the previous player";
    core::songext = ".sid";
    core::chooseplayer();
    EXPECT_EQ(core::curplayer.load(), 6) << "the comparison is exact";
}

TEST(PlaybackState, TickRateSetsFramesPerTickAndScrollTicks)
{
    synth::samplerate = 44100;
    core::settickrate(50);
    EXPECT_EQ(core::samplespertick.load(), 882u);
    EXPECT_EQ(core::scrollticks.load(), 1);
    core::settickrate(200);
    EXPECT_EQ(core::samplespertick.load(), 220u);
    EXPECT_EQ(core::scrollticks.load(), 4);
    core::settickrate(60);
    EXPECT_EQ(core::samplespertick.load(), 735u);
    EXPECT_EQ(core::scrollticks.load(), 1);
    core::settickrate(49);
    EXPECT_EQ(core::samplespertick.load(), 900u);
    EXPECT_EQ(core::scrollticks.load(), 0);
    core::settickrate(50);
}

TEST(PostedMessages, OneMessageCrossesFromAnotherThread)
{
    std::string msg;
    EXPECT_FALSE(core::takemessage(msg));
    std::thread audio([] { core::postmessage("SID-Init Error"); });
    audio.join();
    ASSERT_TRUE(core::takemessage(msg));
    EXPECT_EQ(msg, "SID-Init Error");
    EXPECT_FALSE(core::takemessage(msg)) << "a message is shown once";

    core::postmessage("first");
    core::postmessage("second");
    ASSERT_TRUE(core::takemessage(msg));
    EXPECT_EQ(msg, "first") << "a message waiting to be shown is not overwritten";
    EXPECT_FALSE(core::takemessage(msg));

    core::postmessage(std::string(1000, 'x'));
    ASSERT_TRUE(core::takemessage(msg));
    EXPECT_EQ(msg.size(), 255u) << "a long message is cut to the buffer";
}

}  // namespace
