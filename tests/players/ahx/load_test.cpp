// The module loader: header checks, each section running past the data,
// field decoding, names, oversize counts and the playback set-up.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "fifoguard.h"
#include "players/ahx/ahxfixture.h"
#include "players/ahx/ahxplayer.h"

namespace {

using ahxtest::module;

// A module with something in every section.
module fullmodule()
{
    module m;
    m.title = "Title";
    m.tracklen = 4;
    m.subsongs = {1, 2};
    m.positions.resize(3);
    m.positions[1].track = {1, 2, 1, 2};
    m.at(1, 0) = {25, 1, 0, 0};
    m.at(2, 3) = {37, 2, 0xC, 0x20};
    ahxtest::instrument a;
    a.name = "Lead";
    a.plist = {{25, 0, 1, 0, 0, 0, 0}, {0, 0, 3, 4, 0, 0, 0}};
    ahxtest::instrument b;
    b.name = "Bass";
    b.plist = {{1, 1, 2, 1, 2, 3, 4}};
    m.instruments = {a, b};
    return m;
}

std::vector<uint8_t> cut(std::vector<uint8_t> b, size_t n)
{
    b.resize(n);
    return b;
}

class AhxLoad : public AhxTest {};

TEST_F(AhxLoad, ShortFileAndWrongHeaderAreRefused)
{
    std::vector<uint8_t> b(13, 0);
    b[0] = 'T', b[1] = 'H', b[2] = 'X';
    EXPECT_FALSE(loadbytes(b));
    EXPECT_EQ(message(), "?FILE READ  ERROR");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].attr, 0x4F);
    EXPECT_TRUE(messages[0].wait);

    messages.clear();
    b.push_back(0);  // 14 bytes: an empty module
    EXPECT_TRUE(loadbytes(b));
    EXPECT_TRUE(messages.empty());

    messages.clear();
    std::vector<uint8_t> thy = module{}.bytes();
    thy[2] = 'Y';
    EXPECT_FALSE(loadbytes(thy));
    EXPECT_EQ(message(), "?NO AHX FILE  ERROR");

    for (int rev : {0, 1}) {
        messages.clear();
        module m;
        m.revision = rev;
        EXPECT_TRUE(load(m)) << rev;
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(ahx::player.song.revision, rev);
    }
    messages.clear();
    module two;
    two.revision = 2;
    EXPECT_FALSE(load(two));
    EXPECT_EQ(message(), "?UNKNOWN AHX REVISION  ERROR");

    messages.clear();
    EXPECT_FALSE(loadbytes({}));
    EXPECT_EQ(message(), "?FILE READ  ERROR");
}

TEST_F(AhxLoad, EachSectionCutShortHasItsMessage)
{
    const module m = fullmodule();
    const std::vector<uint8_t> whole = m.bytes();
    const ahxtest::layout l = ahxtest::layoutof(m);
    ASSERT_EQ(l.names + 5 + 1 + 5 + 5, whole.size()) << "builder layout";
    ASSERT_TRUE(loadbytes(whole));

    const struct {
        size_t length;
        const char* msg;
    } cases[] = {
        {l.subsongs + 1, "?SUBSONG READ  ERROR"},
        {l.subsongs + 3, "?SUBSONG READ  ERROR"},
        {l.positions + 1, "?POSITION LIST READ  ERROR"},
        {l.tracks - 1, "?POSITION LIST READ  ERROR"},
        {l.tracks + 2, "?TRACK READ  ERROR"},
        {l.instruments - 1, "?TRACK READ  ERROR"},
        {l.instruments + 21, "?INSTRUMENT READ  ERROR"},
        {l.instruments + 22 + 3, "?MACRO READ  ERROR"},
        {l.instruments + 22 + 8 + 10, "?INSTRUMENT READ  ERROR"},
        {l.names - 1, "?MACRO READ  ERROR"},  // inside the last list entry
    };
    for (const auto& c : cases) {
        messages.clear();
        core::settickrate(50);
        core::lastsong = 9;
        core::songframes = 1234;
        EXPECT_FALSE(loadbytes(cut(whole, c.length))) << c.length;
        EXPECT_EQ(message(), c.msg) << c.length;
        // The set-up after reading does not run: the previous tune's values stay.
        EXPECT_EQ(core::tickrate.load(), 50);
        EXPECT_EQ(core::lastsong.load(), 9);
        EXPECT_EQ(core::songframes.load(), 1234u);
    }

    // Cut exactly at the end of the instrument data: everything is read,
    // only the names are missing.
    messages.clear();
    EXPECT_TRUE(loadbytes(cut(whole, l.names)));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(ahx::player.song.title, "");
    EXPECT_EQ(ahx::player.song.instruments[2].plist[0].param2, 4);
}

TEST_F(AhxLoad, FieldsAreDecodedBitForBit)
{
    module m;
    m.revision = 0;
    m.tracklen = 2;
    m.restartpos = 0x0102;
    m.positions.resize(2);
    m.positions[1].track = {255, 0, 7, 1};
    m.positions[1].transpose = {-1, 127, -128, 12};
    m.at(1, 1) = {63, 63, 15, 255};
    m.at(1, 0) = {1, 17, 0xE, 0xC3};
    ahxtest::instrument in;
    in.vol = 64;
    in.wavelen = 5;
    in.filterspeed = 0x2B;  // bits 4-0 in h1, bit 5 in h12
    in.attackframes = 3, in.attackvol = 40, in.decayframes = 5, in.decayvol = 30;
    in.sustainframes = 7, in.releaseframes = 9, in.releasevol = 11;
    in.filterlow = 0x55, in.filterhigh = 0x2A;
    in.vibdelay = 200, in.vibdepth = 15, in.vibspeed = 33;
    in.hardcutrelease = 1, in.hardcutframes = 6;
    in.squarelow = 16, in.squarehigh = 250, in.squarespeed = 4;
    in.plistspeed = 3;
    in.plist = {{63, 1, 7, 7, 5, 0xAB, 0xCD}, {0, 0, 4, 0, 7, 0, 0}};
    m.instruments = {in};
    m.subsongs = {0xBEEF};
    ASSERT_TRUE(load(m));

    const ahx::tAHXSong& s = ahx::player.song;
    EXPECT_EQ(s.revision, 0);
    EXPECT_EQ(s.restartpos, 0x0102);
    EXPECT_EQ(s.poscount, 2);
    EXPECT_EQ(s.tracklen, 2);
    EXPECT_EQ(s.lasttrack, 1);
    EXPECT_EQ(s.instrcount, 1);
    EXPECT_EQ(s.subsongcount, 1);
    EXPECT_EQ(s.subsongs[0], 0xBEEF);
    EXPECT_EQ(s.positions[1].track[0], 255);
    EXPECT_EQ(s.positions[1].track[2], 7);
    EXPECT_EQ(s.positions[1].transpose[0], -1);
    EXPECT_EQ(s.positions[1].transpose[1], 127);
    EXPECT_EQ(s.positions[1].transpose[2], -128);
    EXPECT_EQ(s.positions[1].transpose[3], 12);
    const ahx::ahxstep& a = s.tracks[1][1];
    EXPECT_EQ(a.note, 63);
    EXPECT_EQ(a.instr, 63);
    EXPECT_EQ(a.fx, 15);
    EXPECT_EQ(a.fxparam, 255);
    const ahx::ahxstep& b = s.tracks[1][0];
    EXPECT_EQ(b.note, 1);
    EXPECT_EQ(b.instr, 17);
    EXPECT_EQ(b.fx, 0xE);
    EXPECT_EQ(b.fxparam, 0xC3);

    const ahx::tAHXInstrument& i = s.instruments[1];
    EXPECT_EQ(i.instvol, 64);
    EXPECT_EQ(i.wavelen, 5);
    EXPECT_EQ(i.filterspeed, 0x2B);
    EXPECT_EQ(i.attackframes, 3);
    EXPECT_EQ(i.attackvol, 40);
    EXPECT_EQ(i.decayframes, 5);
    EXPECT_EQ(i.decayvol, 30);
    EXPECT_EQ(i.sustainframes, 7);
    EXPECT_EQ(i.releaseframes, 9);
    EXPECT_EQ(i.releasevol, 11);
    EXPECT_EQ(i.filterlow, 0x55);
    EXPECT_EQ(i.filterhigh, 0x2A);
    EXPECT_EQ(i.vibdelay, 200);
    EXPECT_EQ(i.vibdepth, 15);
    EXPECT_EQ(i.vibspeed, 33);
    EXPECT_EQ(i.hardcutrelease, 1);
    EXPECT_EQ(i.hardcutframes, 6);
    EXPECT_EQ(i.squarelow, 16);
    EXPECT_EQ(i.squarehigh, 250);
    EXPECT_EQ(i.squarespeed, 4);
    EXPECT_EQ(i.plistspeed, 3);
    EXPECT_EQ(i.plistlen, 2);
    const ahx::ahxplistentry& e = i.plist[0];
    EXPECT_EQ(e.note, 63);
    EXPECT_EQ(e.fixed, 1);
    EXPECT_EQ(e.wave, 7);
    EXPECT_EQ(e.fx1, 7);
    EXPECT_EQ(e.fx2, 5);
    EXPECT_EQ(e.param1, 0xAB);
    EXPECT_EQ(e.param2, 0xCD);
    const ahx::ahxplistentry& f = i.plist[1];
    EXPECT_EQ(f.wave, 4);
    EXPECT_EQ(f.fx1, 0);
    EXPECT_EQ(f.fx2, 7);
    EXPECT_EQ(f.fixed, 0);
    EXPECT_EQ(s.instruments[0].plistlen, 0) << "entry 0 is never filled";
}

TEST_F(AhxLoad, TrackZeroNotStoredStaysEmpty)
{
    module m;
    m.track0skipped = true;
    m.tracklen = 2;
    m.at(0, 0) = {30, 1, 0, 0};  // not written to the file
    m.at(1, 0) = {10, 0, 0, 0};
    m.at(2, 1) = {20, 0, 0, 0};
    m.at(3, 1) = {40, 0, 0, 0};
    m.positions[0].track = {0, 1, 2, 3};
    const std::vector<uint8_t> b = m.bytes();
    ASSERT_EQ(ahxtest::layoutof(m).instruments - ahxtest::layoutof(m).tracks, 3u * 2 * 3)
        << "three stored tracks";
    ASSERT_TRUE(loadbytes(b));
    const ahx::tAHXSong& s = ahx::player.song;
    EXPECT_EQ(s.lasttrack, 3);
    EXPECT_EQ(s.tracks[0][0].note, 0);
    EXPECT_EQ(s.tracks[1][0].note, 10);
    EXPECT_EQ(s.tracks[2][1].note, 20);
    EXPECT_EQ(s.tracks[3][1].note, 40);
    ticks(1);
    EXPECT_EQ(ch(0).tracknote, 0) << "track 0 plays as empty";
    EXPECT_EQ(ch(1).tracknote, 10);
}

TEST_F(AhxLoad, SpeedMultiplierSetsTheTickRate)
{
    for (int mul = 1; mul <= 4; ++mul) {
        module m;
        m.speedmul = mul;
        ASSERT_TRUE(load(m));
        EXPECT_EQ(ahx::player.song.speedmul, mul);
        EXPECT_EQ(core::tickrate.load(), 50 * mul);
        EXPECT_EQ(core::scrollticks.load(), mul);
    }
    std::vector<uint8_t> b = module{}.bytes();
    b[6] = 0x60;
    ASSERT_TRUE(loadbytes(b));
    EXPECT_EQ(ahx::player.song.speedmul, 4);
    EXPECT_EQ(core::tickrate.load(), 200);
    EXPECT_EQ(core::samplespertick.load(), 220u);
    EXPECT_EQ(ahx::player.song.poscount, 1);
    b[6] = 0x70;  // bit 12 is not part of the count
    ASSERT_TRUE(loadbytes(b));
    EXPECT_EQ(ahx::player.song.speedmul, 4);
    EXPECT_EQ(ahx::player.song.poscount, 1);
    b[6] = 0x8F, b[7] = 0xFF;  // the largest count with track 0 not stored
    const size_t before = b.size();
    b.resize(before + 8 * 4095);
    ASSERT_TRUE(loadbytes(b));
    EXPECT_EQ(ahx::player.song.speedmul, 1);
    EXPECT_EQ(ahx::player.song.poscount, 1000);
}

TEST_F(AhxLoad, InstrumentNamesBuildTheInformationLine)
{
    module m;
    m.title = "My song";
    for (const char* n : {"Hello  world", "", "   ", "a    b c"}) {
        ahxtest::instrument in;
        in.name = n;
        m.instruments.push_back(in);
    }
    ASSERT_TRUE(load(m));
    EXPECT_EQ(ahx::player.song.title, "My song");
    EXPECT_EQ(ahx::player.song.instruments[1].name, "Hello  world") << "the name itself is kept";
    EXPECT_EQ(ahx::player.song.instruments[3].name, "   ");
    EXPECT_EQ(core::infotext, "Hello world " "  " "a b c ");
    EXPECT_EQ(core::infolen.load(), core::infotext.size());

    // A new load starts the line afresh.
    ASSERT_TRUE(load(module{}));
    EXPECT_EQ(core::infotext, "");
    EXPECT_EQ(core::infolen.load(), 0);
}

TEST_F(AhxLoad, NamesEndAtTheEndOfTheData)
{
    module m;
    m.title = "T";
    ahxtest::instrument in;
    in.name = "unterminated";
    m.instruments = {in};
    std::vector<uint8_t> b = m.bytes();
    b.pop_back();  // the last name loses its zero
    ASSERT_TRUE(loadbytes(b));
    EXPECT_EQ(ahx::player.song.instruments[1].name, "unterminated");

    b = m.bytes();
    b[4] = 0xFF, b[5] = 0xFF;  // names offset past the data
    ASSERT_TRUE(loadbytes(b));
    EXPECT_EQ(ahx::player.song.title, "");
    EXPECT_EQ(ahx::player.song.instruments[1].name, "");
    EXPECT_EQ(core::infotext, "");

    b = m.bytes();
    const size_t names = static_cast<size_t>(b[4] << 8 | b[5]);
    b[4] = static_cast<uint8_t>((names + 2) >> 8), b[5] = static_cast<uint8_t>(names + 2);  // at the end
    ASSERT_TRUE(loadbytes(b));
    EXPECT_EQ(ahx::player.song.title, "unterminated");
    EXPECT_EQ(ahx::player.song.instruments[1].name, "");
}

TEST_F(AhxLoad, CountsBeyondTheStoresAreReadAndCut)
{
    module m;
    m.tracklen = 65;
    m.positions.resize(1001);
    m.positions[999].track = {1, 1, 1, 1};
    m.positions[1000].track = {2, 2, 2, 2};
    m.at(1, 63) = {5, 0, 0, 0};
    m.at(1, 64) = {6, 0, 0, 0};
    m.at(2, 0) = {7, 0, 0, 0};
    for (int i = 1; i <= 64; ++i) {
        ahxtest::instrument in;
        in.vol = i;
        in.name = i == 64 ? "last" : "";
        in.plist = {{i, 0, 0, 0, 0, 0, 0}};
        m.instruments.push_back(in);
    }
    m.title = "big";
    ASSERT_TRUE(load(m));
    EXPECT_TRUE(messages.empty());
    const ahx::tAHXSong& s = ahx::player.song;
    EXPECT_EQ(s.poscount, 1000);
    EXPECT_EQ(s.tracklen, 64);
    EXPECT_EQ(s.instrcount, 63);
    EXPECT_EQ(s.positions[999].track[3], 1);
    EXPECT_EQ(s.tracks[1][63].note, 5);
    EXPECT_EQ(s.tracks[2][0].note, 7) << "the extra steps are skipped, not taken for the next track";
    EXPECT_EQ(s.instruments[63].instvol, 63);
    EXPECT_EQ(s.instruments[63].plist[0].note, 63);
    EXPECT_EQ(s.title, "big") << "the names area is found after the dropped data";
    EXPECT_EQ(core::infotext, "last ");

    // The dropped data still has to be there.
    std::vector<uint8_t> b = m.bytes();
    messages.clear();
    EXPECT_FALSE(loadbytes(cut(b, ahxtest::layoutof(m).names - 1)));
    EXPECT_EQ(message(), "?MACRO READ  ERROR");

    // Playing a cut song stays inside the stores: rows past 64 and
    // positions past 1000 are never read.
    ASSERT_TRUE(load(m));
    ahx::player.posnr = 999;
    ticks(64 * 6 * 3);
}

class AhxLoadFile : public AhxTest {
protected:
    std::filesystem::path dir;
    void SetUp() override
    {
        AhxTest::SetUp();
        dir = std::filesystem::temp_directory_path() /
              ("ahxload_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
    }
    void TearDown() override
    {
        std::filesystem::remove_all(dir);
        AhxTest::TearDown();
    }
    std::string write(const std::string& name, const std::vector<uint8_t>& b)
    {
        const std::string path = (dir / name).string();
        std::ofstream f(path, std::ios::binary);
        f.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
        return path;
    }
};

TEST_F(AhxLoadFile, ReadsAFileAndReportsOneThatCannotBeRead)
{
    module m = fullmodule();
    EXPECT_TRUE(ahx::ahxload(write("song.ahx", m.bytes())));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(ahx::player.song.title, "Title");
    EXPECT_EQ(ahx::player.song.instruments[1].plist[1].wave, 3);

    EXPECT_FALSE(ahx::ahxload((dir / "missing.ahx").string()));
    EXPECT_EQ(message(), "?FILE READ  ERROR");

    messages.clear();
    std::filesystem::create_directory(dir / "folder.ahx");
    EXPECT_FALSE(ahx::ahxload((dir / "folder.ahx").string()));
    EXPECT_EQ(message(), "?FILE READ  ERROR");

    messages.clear();
    const std::string pipe = (dir / "pipe.ahx").string();
    EXPECT_FALSE(hungonfifos({pipe}, [&] { EXPECT_FALSE(ahx::ahxload(pipe)); }));
    EXPECT_EQ(message(), "?FILE READ  ERROR");
}

TEST_F(AhxLoadFile, OnlyTheFirst65535BytesAreUsed)
{
    // Sixty-three instruments with full lists put the last entries past
    // 65535 bytes.
    module m;
    m.tracklen = 64;
    for (int i = 1; i <= 63; ++i) {
        ahxtest::instrument in;
        in.plist.resize(255);
        m.instruments.push_back(in);
    }
    const std::vector<uint8_t> b = m.bytes();
    const ahxtest::layout l = ahxtest::layoutof(m);
    ASSERT_GT(l.names, 65535u);
    ASSERT_LT(l.names - 4 * 255, 65535u) << "the cut falls inside the last list";
    EXPECT_FALSE(ahx::ahxload(write("long.ahx", b)));
    EXPECT_EQ(message(), "?MACRO READ  ERROR");

    // Bytes after the names area past the limit are dropped silently.
    module small;
    small.title = "tail";
    std::vector<uint8_t> padded = small.bytes();
    padded.resize(70000, 0xEE);
    messages.clear();
    EXPECT_TRUE(ahx::ahxload(write("padded.ahx", padded)));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(ahx::player.song.title, "tail");
}

TEST_F(AhxLoad, SetsUpPlaybackOfTheChosenSubsong)
{
    module m;
    m.tracklen = 64;
    m.positions.resize(10);
    m.subsongs = {3, 7};
    m.speedmul = 2;
    for (int p = 0; p < 10; ++p) {
        m.positions[static_cast<size_t>(p)].track = {p, 0, 0, 0};
        m.at(p, 0) = {p + 1, 0, 0, 0};
    }
    synth::lastvoice = 7;
    core::tickpos = 99;
    core::cursong = 2;
    ASSERT_TRUE(load(m));
    EXPECT_EQ(synth::lastvoice.load(), 3);
    EXPECT_EQ(core::lastsong.load(), 2);
    EXPECT_EQ(core::tickpos.load(), 0u);
    EXPECT_EQ(ahx::tickcount, 0u);
    EXPECT_EQ(ahx::cursubsong, 2);
    EXPECT_EQ(ahx::player.posnr, 7);
    EXPECT_EQ(ahx::player.tempo, 6);
    EXPECT_EQ(ahx::player.mainvolume, 255);
    // (64 x 10 x 6) div (100 x 2) = 19 seconds.
    EXPECT_EQ(core::songframes.load(), 19u * 44100u);
    ticks(1);
    EXPECT_EQ(ch(0).tracknote, 8);

    module one;
    one.tracklen = 4;
    one.positions.resize(3);
    core::cursong = 0;
    ASSERT_TRUE(load(one));
    // (4 x 3 x 6) div 50 = 1.
    EXPECT_EQ(core::songframes.load(), 44100u);
    EXPECT_EQ(core::lastsong.load(), 0);

    // A subsong the module does not have: the start fails, so does the load.
    messages.clear();
    core::cursong = 1;
    EXPECT_FALSE(load(one));
}

TEST_F(AhxLoad, LoadResetsTheVoicesAndTheRecord)
{
    ASSERT_TRUE(load(fullmodule()));
    ticks(20);
    for (int c = 0; c < 4; ++c) voice(c).phase = 12345;
    voice(4).level = 77;
    std::vector<uint8_t> bad = module{}.bytes();
    bad[0] = 'X';
    EXPECT_FALSE(loadbytes(bad));
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(voice(c).phase.load(), 0u);
        EXPECT_EQ(voice(c).level.load(), 0);
        EXPECT_EQ(voice(c).step.load(), 0u);
        EXPECT_EQ(ch(c).trackmastervol, 64);
        EXPECT_EQ(ch(c).tracknote, 0);
    }
    EXPECT_EQ(voice(4).level.load(), 77) << "only the four AHX voices";
    EXPECT_EQ(ahx::player.song.instruments[1].plistlen, 0) << "the old song is gone";
    EXPECT_EQ(ahx::player.song.title, "");
}

TEST(AhxRegistration, TakesTheNextFreeSlotForAhxFiles)
{
    core::playersinit();
    core::players[7].active = true;  // the SID player registers first
    ahx::ahxmoduleinit();
    const core::playerrec& p = core::players[6];
    EXPECT_TRUE(p.active);
    EXPECT_EQ(p.ext, ".AHX");
    EXPECT_EQ(p.info, "AHX player v0.5 | build 20081019");
    EXPECT_EQ(p.load, &ahx::ahxload);
    EXPECT_EQ(p.tick, &ahx::ahxtick);
    ASSERT_NE(p.stop, nullptr);
    ahx::player.tempo = 5;
    p.stop();
    EXPECT_EQ(ahx::player.tempo, 5) << "stop leaves the song alone";
    core::playersinit();
}

}  // namespace
