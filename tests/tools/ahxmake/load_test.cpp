// What ahxmake writes, loaded by the real AHX player.
#include <gtest/gtest.h>

#include "ahxcompare.h"
#include "ahxloaded.h"

using namespace ahxmake;

namespace {

moduledesc parsed(const std::string& text)
{
    moduledesc m;
    parseerror err;
    EXPECT_TRUE(parsedescription(text, m, err)) << err.line << ": " << err.message;
    return m;
}

class AhxMakeLoad : public ahxtest::loadedtest {};

}  // namespace

TEST_F(AhxMakeLoad, FullDescriptionLoadsAsDescribed)
{
    moduledesc m = parsed(ahxtest::fulldescription());
    ASSERT_TRUE(loadmodule(m)) << (messages.empty() ? "" : messages[0]);
    EXPECT_TRUE(messages.empty());
    const ahx::tAHXSong& s = ahx::player.song;
    EXPECT_EQ(s.poscount, 3);
    EXPECT_EQ(s.lasttrack, 3);
    EXPECT_EQ(s.instrcount, 2);
    EXPECT_EQ(s.subsongcount, 2);
    ahxtest::expectsamemodule(m, ahxtest::loadedsong());
    // The information line shows the first name with its double space
    // collapsed; the empty second name adds nothing.
    EXPECT_EQ(core::infotext, "Bass line ");
    EXPECT_EQ(core::tickrate, 150);
    EXPECT_EQ(core::lastsong, 2);
}

TEST_F(AhxMakeLoad, SubsongsAndSpeedReachThePlayer)
{
    moduledesc m = parsed("speedmul 2\ntracklen 4\nsubsong 1\nsubsong 2\n"
                          "track 1\nC-3\nend\ntrack 2\nD-3\nend\ntrack 3\nE-3\nend\n"
                          "positions\n1 0 0 0 0 0 0 0\n2 0 0 0 0 0 0 0\n3 0 0 0 0 0 0 0\nend\n");
    core::cursong = 2;
    ASSERT_TRUE(loadmodule(m));
    EXPECT_EQ(core::tickrate, 100);
    EXPECT_EQ(core::samplespertick, 441u);
    EXPECT_EQ(ahx::player.posnr, 2);
    ahx::ahxplay();
    EXPECT_EQ(ahx::player.channels[0].tracknote, notefromname("E-3"));
}

TEST_F(AhxMakeLoad, EmptyTrackZeroIsNotStoredAndPlaysEmpty)
{
    moduledesc m = parsed("tracklen 3\ntrack 2\nC-3 01 C20\n--- -- ---\nB-5 01\nend\n"
                          "instrument 1 \"x\"\nend\n"
                          "positions\n0 0 2 0 0 0 2 -3\nend\n");
    ASSERT_TRUE(loadmodule(m));
    const ahx::tAHXSong& s = ahx::player.song;
    EXPECT_EQ(s.lasttrack, 2);
    for (int r = 0; r < 3; r++) {
        EXPECT_EQ(s.tracks[0][size_t(r)].note, 0);
        EXPECT_EQ(s.tracks[1][size_t(r)].note, 0);
    }
    EXPECT_EQ(s.tracks[2][0].note, 25);
    EXPECT_EQ(s.tracks[2][0].fx, 0xC);
    EXPECT_EQ(s.tracks[2][0].fxparam, 0x20);
    EXPECT_EQ(s.tracks[2][2].note, 60);
    EXPECT_EQ(s.positions[0].transpose[3], -3);
    ahxtest::expectsamemodule(m, ahxtest::loadedsong());
}

TEST_F(AhxMakeLoad, LargestModuleLoadsWhole)
{
    std::string text = "tracklen 64\n";
    for (int t = 0; t < 256; t++)
        text += "track " + std::to_string(t) + "\n63: B-5 " + std::to_string(t % 64) +
                " " + "F" + "0" + "1" + "\nend\n";
    for (int i = 1; i <= 63; i++)
        text += "instrument " + std::to_string(i) + " \"i" + std::to_string(i) + "\"\nend\n";
    text += "positions\n";
    for (int p = 0; p < 1000; p++)
        text += std::to_string(p % 256) + " -128 255 127 0 0 1 1\n";
    text += "end\nrestart 999\n";
    moduledesc m = parsed(text);
    ASSERT_TRUE(loadmodule(m)) << (messages.empty() ? "" : messages[0]);
    EXPECT_EQ(ahx::player.song.poscount, 1000);
    EXPECT_EQ(ahx::player.song.instrcount, 63);
    ahxtest::expectsamemodule(m, ahxtest::loadedsong());
}

// Every demo module: the file the build made is what the description says,
// and the player loads it field for field.
TEST_F(AhxMakeLoad, DemoModulesLoadAsDescribed)
{
    const auto sources = ahxtest::demosources();
    ASSERT_GE(sources.size(), 2u);
    for (const auto& src : sources) {
        SCOPED_TRACE(src.string());
        moduledesc m = parsed(ahxtest::readfile(src.string()));
        std::vector<uint8_t> want;
        std::string why;
        ASSERT_TRUE(writemodule(m, want, why)) << why;
        const std::string built =
            ahxtest::builddir() + "/demo/" + src.stem().string() + ".ahx";
        const std::string got = ahxtest::readfile(built);
        EXPECT_EQ(got, std::string(want.begin(), want.end())) << built;

        ahx::ahxreset();
        core::cursong = 0;
        ASSERT_TRUE(ahx::ahxload(built));
        EXPECT_TRUE(messages.empty());
        ahxtest::expectsamemodule(m, ahxtest::loadedsong());
        EXPECT_EQ(ahx::player.song.instrcount, int(m.instruments.size()));
        EXPECT_EQ(ahx::player.song.subsongcount, int(m.subsongs.size()));
    }
}
