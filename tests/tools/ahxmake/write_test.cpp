#include <gtest/gtest.h>

#include "ahxcompare.h"
#include "ahxparse.h"
#include "ahxwrite.h"

using namespace ahxmake;

namespace {

moduledesc parsed(const std::string& text)
{
    moduledesc m;
    parseerror err;
    EXPECT_TRUE(parsedescription(text, m, err)) << err.line << ": " << err.message;
    return m;
}

std::vector<uint8_t> written(const moduledesc& m)
{
    std::vector<uint8_t> out;
    std::string why;
    EXPECT_TRUE(writemodule(m, out, why)) << why;
    return out;
}

}  // namespace

TEST(AhxWrite, StepBitsAreSplitAsTheFileWantsThem)
{
    // Instrument 0x2B straddles two bytes: its top two bits end byte 0.
    EXPECT_EQ(packstep({60, 0x2B, 0xE, 0xC5}), (std::array<uint8_t, 3>{0xF2, 0xBE, 0xC5}));
    EXPECT_EQ(packstep({1, 63, 15, 255}), (std::array<uint8_t, 3>{0x07, 0xFF, 0xFF}));
    EXPECT_EQ(packstep({0, 0, 0, 0}), (std::array<uint8_t, 3>{0, 0, 0}));
}

TEST(AhxWrite, PlistEntryBitsAreSplitAsTheFileWantsThem)
{
    plistentrydesc e;
    e.fx2 = 7;
    e.fx1 = 1;
    e.wave = 3;  // square: its low bit goes to the second byte
    e.fixed = true;
    e.note = 37;
    e.param1 = 0x12;
    e.param2 = 0x34;
    EXPECT_EQ(packplistentry(e), (std::array<uint8_t, 4>{0xE5, 0xE5, 0x12, 0x34}));
    e = {};
    e.wave = 4;  // noise: both bits in the first byte
    e.note = 63;
    EXPECT_EQ(packplistentry(e), (std::array<uint8_t, 4>{0x02, 0x3F, 0, 0}));
}

TEST(AhxWrite, InstrumentHeaderSplitsFilterSpeedAndPacksHardCut)
{
    instrumentdesc i;
    i.volume = 64;
    i.wavelen = 5;
    i.filterspeed = 0x2B;  // bit 5 lives in byte 12
    i.filterlow = 63;
    i.filterhigh = 20;
    i.attackframes = 1;
    i.attackvol = 2;
    i.decayframes = 3;
    i.decayvol = 4;
    i.sustainframes = 5;
    i.releaseframes = 6;
    i.releasevol = 7;
    i.vibdelay = 8;
    i.vibdepth = 15;
    i.vibspeed = 9;
    i.hardcutframes = 7;
    i.hardcutrelease = true;
    i.squarelow = 10;
    i.squarehigh = 11;
    i.squarespeed = 12;
    i.plistspeed = 13;
    i.plist.resize(3);
    auto h = packinstrument(i);
    std::array<uint8_t, 22> want = {64, 0x5D, 1, 2, 3, 4, 5, 6, 7, 0, 0, 0,
                                    0xBF, 8, 0xFF, 9, 10, 11, 12, 20, 13, 3};
    EXPECT_EQ(h, want);
    i.filterspeed = 0x1F;
    i.hardcutrelease = false;
    i.hardcutframes = 2;
    i.vibdepth = 0;
    h = packinstrument(i);
    EXPECT_EQ(h[1], 0xFD);
    EXPECT_EQ(h[12], 63);
    EXPECT_EQ(h[14], 0x20);
}

TEST(AhxWrite, HeaderCarriesCountsFlagsAndNamesOffset)
{
    moduledesc m = parsed(ahxtest::fulldescription());
    std::vector<uint8_t> b = written(m);
    ASSERT_GE(b.size(), 14u);
    EXPECT_EQ(b[0], 'T');
    EXPECT_EQ(b[1], 'H');
    EXPECT_EQ(b[2], 'X');
    EXPECT_EQ(b[3], 0);  // revision
    // Track 0 has a step, so it is stored: bit 15 clear; speed 3 -> 2 << 13.
    EXPECT_EQ(b[6], 0x40);
    EXPECT_EQ(b[7], 3);   // positions
    EXPECT_EQ(b[8], 0);
    EXPECT_EQ(b[9], 1);   // restart
    EXPECT_EQ(b[10], 8);  // track length
    EXPECT_EQ(b[11], 3);  // last track
    EXPECT_EQ(b[12], 2);  // instruments
    EXPECT_EQ(b[13], 2);  // subsongs
    EXPECT_EQ(b[14] * 256 + b[15], 1);
    EXPECT_EQ(b[16] * 256 + b[17], 2);

    const size_t tracksize = 8 * 3;
    const size_t body = 14 + 2 * 2 + 3 * 8 + 4 * tracksize + (22 + 4 * 4) + 22;
    const size_t names = b[4] * 256 + b[5];
    EXPECT_EQ(names, body);
    const std::string tail(b.begin() + long(names), b.end());
    EXPECT_EQ(tail, std::string("Full \"test\" song\0Bass  line\0\0", 29));
}

TEST(AhxWrite, EmptyTrackZeroIsLeftOut)
{
    moduledesc m = parsed("speedmul 4\ntracklen 2\ntrack 0\nend\ntrack 2\nC-3\nend\n"
                          "positions\n0 0 2 0 0 0 0 0\nend\n");
    std::vector<uint8_t> b = written(m);
    EXPECT_EQ(b[6], 0xE0);  // bit 15 and speed multiplier 4
    EXPECT_EQ(b[11], 2);
    // Tracks 1 (not described: empty) and 2 follow the one position.
    const size_t tracks = 14 + 8;
    EXPECT_EQ(b[4] * 256 + b[5], int(tracks + 2 * 2 * 3));
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + tracks, b.begin() + tracks + 6),
              std::vector<uint8_t>(6, 0));
    EXPECT_EQ(b[tracks + 6], 25 << 2);
}

TEST(AhxWrite, SongWithoutTracksStoresNone)
{
    moduledesc m = parsed("positions\n0 0 0 0 0 0 0 0\nend\n");
    std::vector<uint8_t> b = written(m);
    EXPECT_EQ(b[6] & 0x80, 0x80);
    EXPECT_EQ(b[11], 0);
    EXPECT_EQ(b[4] * 256 + b[5], 14 + 8);
    EXPECT_EQ(b.size(), size_t(14 + 8 + 1));
}

TEST(AhxWrite, ModulesTheLoaderCannotTakeWholeAreRefused)
{
    // 256 full tracks of 64 rows and 1000 positions: 49152 + 8000 bytes fit.
    std::string text = "tracklen 64\n";
    for (int t = 0; t < 256; t++)
        text += "track " + std::to_string(t) + "\n63: C-3\nend\n";
    std::string positions = "positions\n";
    for (int p = 0; p < 1000; p++)
        positions += "1 0 2 0 3 0 4 0\n";
    positions += "end\n";
    moduledesc m = parsed(text + positions);
    std::vector<uint8_t> b = written(m);
    EXPECT_EQ(b.size(), size_t(14 + 8000 + 256 * 64 * 3 + 1));

    // Long performance lists push it past 65535 bytes.
    std::string instruments;
    for (int i = 1; i <= 10; i++) {
        instruments += "instrument " + std::to_string(i) + " \"\"\nplist 1\n";
        for (int e = 0; e < 255; e++)
            instruments += "+0 saw 000 ---\n";
        instruments += "end\nend\n";
    }
    m = parsed(text + instruments + positions);
    std::string why;
    EXPECT_FALSE(writemodule(m, b, why));
    EXPECT_NE(why.find("65535"), std::string::npos) << why;
    EXPECT_TRUE(b.empty());

    moduledesc empty;
    EXPECT_FALSE(writemodule(empty, b, why));
    EXPECT_NE(why.find("position"), std::string::npos);
}

TEST(AhxWrite, ZeroInsideANameDoesNotShiftTheOthers)
{
    moduledesc m = parsed("instrument 1 \"a\"\nend\ninstrument 2 \"b\"\nend\n"
                          "positions\n0 0 0 0 0 0 0 0\nend\n");
    m.title = std::string("x\0y", 3);
    std::vector<uint8_t> b = written(m);
    const size_t names = b[4] * 256 + b[5];
    EXPECT_EQ(std::string(b.begin() + long(names), b.end()), std::string("xy\0a\0b\0", 7));
}
