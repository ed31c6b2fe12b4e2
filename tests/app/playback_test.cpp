#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "app/playback.h"
#include "synth/synth.h"

namespace {

TEST(PlayerTable, RegistrationTakesTheHighestFreeSlot)
{
    shell::playersinit();
    EXPECT_EQ(shell::freeslot(), 7);
    shell::players[7].active = true;
    EXPECT_EQ(shell::freeslot(), 6);
    shell::players[6].active = true;
    shell::players[2].active = true;
    EXPECT_EQ(shell::freeslot(), 5);
    for (auto& p : shell::players) p.active = true;
    EXPECT_EQ(shell::freeslot(), 0) << "a full table hands out slot 0";
    shell::playersinit();
    for (const auto& p : shell::players) {
        EXPECT_FALSE(p.active);
        EXPECT_TRUE(p.ext.empty());
    }
}

TEST(PlayerTable, ChoiceByExtensionPrefersTheHighestSlot)
{
    shell::playersinit();
    shell::players[2].ext = ".SID";
    shell::players[5].ext = ".SID";
    shell::players[6].ext = ".AHX";
    shell::curplayer = 1;
    shell::songext = ".SID";
    shell::chooseplayer();
    EXPECT_EQ(shell::curplayer.load(), 5);
    shell::songext = ".AHX";
    shell::chooseplayer();
    EXPECT_EQ(shell::curplayer.load(), 6);
    shell::songext = ".MOD";
    shell::chooseplayer();
    EXPECT_EQ(shell::curplayer.load(), 6) << "an unclaimed extension keeps the previous player";
    shell::songext = ".sid";
    shell::chooseplayer();
    EXPECT_EQ(shell::curplayer.load(), 6) << "the comparison is exact";
}

TEST(PlaybackState, TitleBarIsEightyConsoleCharacters)
{
    ASSERT_EQ(shell::titlebar.size(), 80u);
    EXPECT_EQ(shell::titlebar.substr(0, 2), "\xDB\xDB");
    EXPECT_EQ(shell::titlebar.substr(2, 34), " orvane's SID+AHX-Player b20120708");
    EXPECT_EQ(shell::titlebar.substr(36, 33), std::string(33, ' '));
    EXPECT_EQ(shell::titlebar.substr(69), "\xDB\xDB\xDB\xDB\xDB\xB2\xB2\xB2\xB1\xB1\xB0");
}

TEST(PlaybackState, TickRateSetsFramesPerTickAndScrollTicks)
{
    synth::samplerate = 44100;
    shell::settickrate(50);
    EXPECT_EQ(shell::samplespertick.load(), 882u);
    EXPECT_EQ(shell::scrollticks.load(), 1);
    shell::settickrate(200);
    EXPECT_EQ(shell::samplespertick.load(), 220u);
    EXPECT_EQ(shell::scrollticks.load(), 4);
    shell::settickrate(60);
    EXPECT_EQ(shell::samplespertick.load(), 735u);
    EXPECT_EQ(shell::scrollticks.load(), 1);
    shell::settickrate(49);
    EXPECT_EQ(shell::samplespertick.load(), 900u);
    EXPECT_EQ(shell::scrollticks.load(), 0);
    shell::settickrate(50);
}

TEST(PostedMessages, OneMessageCrossesFromAnotherThread)
{
    std::string msg;
    EXPECT_FALSE(shell::takemessage(msg));
    std::thread audio([] { shell::postmessage("SID-Init Error"); });
    audio.join();
    ASSERT_TRUE(shell::takemessage(msg));
    EXPECT_EQ(msg, "SID-Init Error");
    EXPECT_FALSE(shell::takemessage(msg)) << "a message is shown once";

    shell::postmessage("first");
    shell::postmessage("second");
    ASSERT_TRUE(shell::takemessage(msg));
    EXPECT_EQ(msg, "first") << "a message waiting to be shown is not overwritten";
    EXPECT_FALSE(shell::takemessage(msg));

    shell::postmessage(std::string(1000, 'x'));
    ASSERT_TRUE(shell::takemessage(msg));
    EXPECT_EQ(msg.size(), 255u) << "a long message is cut to the buffer";
}

}  // namespace
