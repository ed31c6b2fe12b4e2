// The tick contract with the shell (restart, skip ahead, subsong change,
// end of song) and whole modules played through the player table and the
// frame loop, among them the demo modules the build writes.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "core/audio.h"
#include "synth/pd/wave.h"
#include "players/ahx/ahxfixture.h"
#include "players/ahx/ahxplayer.h"

namespace {

using ahxtest::module;

// Two positions for the main song and one for subsong 1, each with a note
// of its own on every channel; instrument 1 has vibrato and a square
// sweep, so that the song state keeps changing from tick to tick.
module songwithsubsong()
{
    module m;
    m.tracklen = 8;
    m.positions.resize(3);
    m.subsongs = {2};
    for (int p = 0; p < 3; ++p) {
        m.positions[static_cast<size_t>(p)].track = {p + 1, p + 1, p + 1, p + 1};
        m.positions[static_cast<size_t>(p)].transpose = {0, 5, 7, 12};
        for (int r = 0; r < 8; r += 2) m.at(p + 1, r) = {13 + 12 * p + r, 1, 0, 0};
    }
    ahxtest::instrument in;
    in.name = "sweep";
    in.wavelen = 3;
    in.vibdepth = 3;
    in.vibspeed = 9;
    in.squarelow = 8, in.squarehigh = 56, in.squarespeed = 1;
    in.plist = {{0, 0, 3, 4, 0, 0, 0}};
    m.instruments = {in};
    return m;
}

struct snapshot {
    int posnr, rownr, stepwait, tempo;
    std::vector<int> fields;
    bool operator==(const snapshot&) const = default;
};

snapshot take()
{
    snapshot s{ahx::player.posnr, ahx::player.rownr, ahx::player.stepwait, ahx::player.tempo, {}};
    for (int c = 0; c < 4; ++c) {
        const ahx::ahxchannel& h = ahx::player.channels[static_cast<size_t>(c)];
        for (int v : {h.tracknote, h.period, h.voicevol, h.envvol, h.vibpos, h.vibperiod, h.squarepos,
                      h.squaresign, h.perfpos, h.wave})
            s.fields.push_back(v);
        const synth::tvoice& v = synth::voices[static_cast<size_t>(c)];
        s.fields.push_back(v.hz);
        s.fields.push_back(v.level);
        s.fields.push_back(v.pulse);
    }
    return s;
}

class AhxTick : public AhxTest {};

TEST_F(AhxTick, LowerTickPositionRestartsTheSubsong)
{
    ASSERT_TRUE(load(songwithsubsong()));
    ticks(1);
    const snapshot first = take();
    EXPECT_EQ(core::tickpos.load(), 1u);
    ticks(30);
    EXPECT_EQ(core::tickpos.load(), 31u);
    EXPECT_NE(take(), first);

    core::tickpos = 0;
    ticks(1);
    EXPECT_EQ(core::tickpos.load(), 1u);
    EXPECT_EQ(take(), first);
}

TEST_F(AhxTick, HigherTickPositionRunsTheSkippedTicks)
{
    ASSERT_TRUE(load(songwithsubsong()));
    ticks(100);
    const snapshot straight = take();

    ASSERT_TRUE(load(songwithsubsong()));
    ticks(9);
    core::tickpos = 9 + core::tickrate;  // one second ahead
    ticks(1);
    EXPECT_EQ(core::tickpos.load(), 60u) << "the skipped ticks and the tick itself";
    ticks(40);
    EXPECT_EQ(core::tickpos.load(), 100u);
    EXPECT_EQ(take(), straight);
}

TEST_F(AhxTick, SubsongChangeComesAfterOneMoreTickOfTheOldOne)
{
    module m = songwithsubsong();
    ASSERT_TRUE(load(m));
    ticks(1);
    const uint16_t oldhz = voice(0).hz;
    const int oldnote = ch(0).tracknote;
    EXPECT_EQ(oldnote, 13);

    ticks(2);
    core::cursong = 1;
    ticks(1);
    // This tick still played the main song; the subsong starts afresh.
    EXPECT_EQ(voice(0).hz.load(), oldhz);
    EXPECT_EQ(ahx::cursubsong, 1);
    EXPECT_EQ(core::tickpos.load(), 0u);
    EXPECT_EQ(ahx::player.posnr, 2);
    EXPECT_EQ(ch(0).tracknote, 0);
    EXPECT_EQ(voice(0).level.load(), 0);

    ticks(1);
    EXPECT_EQ(core::tickpos.load(), 1u);
    EXPECT_EQ(ch(0).tracknote, 13 + 24);
    EXPECT_NE(voice(0).hz.load(), oldhz);

    // A restart now restarts the subsong, not the main song.
    ticks(20);
    core::tickpos = 0;
    ticks(1);
    EXPECT_EQ(ahx::player.posnr, 2);
    EXPECT_EQ(ch(0).tracknote, 13 + 24);
}

TEST_F(AhxTick, QuitsAtTheSongLengthOnlyWhenRecording)
{
    ASSERT_TRUE(load(songwithsubsong()));
    ASSERT_GT(core::songframes.load(), 0u);
    core::playedframes = core::songframes.load();
    core::recording = false;
    ticks(1);
    EXPECT_FALSE(core::quitplay.load()) << "playback goes on past the length";

    core::recording = true;
    core::playedframes = core::songframes - 1;
    ticks(1);
    EXPECT_FALSE(core::quitplay.load());
    core::playedframes = core::songframes.load();
    ticks(1);
    EXPECT_TRUE(core::quitplay.load());
}

// Whole modules through the player table and the frame loop.
class AhxPlayback : public AhxTest {
protected:
    uint8_t slot = 0;
    std::filesystem::path dir;

    void SetUp() override
    {
        AhxTest::SetUp();
        core::playersinit();
        ahx::ahxmoduleinit();
        slot = 7;  // the only player in the table
        core::curplayer = slot;
        for (auto& w : synth::waveparams) w = 128;
        for (auto& v : synth::voices) v.muted = 0;
        core::renderblockcountdown = 0;
        dir = std::filesystem::temp_directory_path() /
              ("ahxplay_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override
    {
        std::filesystem::remove_all(dir);
        core::playersinit();
        AhxTest::TearDown();
    }

    std::string write(const module& m)
    {
        const std::string path = (dir / "song.ahx").string();
        const std::vector<uint8_t> b = m.bytes();
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()),
                                                    static_cast<std::streamsize>(b.size()));
        return path;
    }

    // Renders frames through the frame loop; returns the largest sample.
    static int render(int frames)
    {
        std::vector<int16_t> buf(2048 * 2);
        int peak = 0;
        while (frames > 0) {
            const int n = std::min(frames, 2048);
            core::renderblock(nullptr, reinterpret_cast<uint8_t*>(buf.data()), n * 4);
            for (int i = 0; i < 2 * n; ++i) peak = std::max(peak, std::abs(static_cast<int>(buf[static_cast<size_t>(i)])));
            frames -= n;
        }
        return peak;
    }

    static uint64_t lengthestimate()
    {
        const ahx::tAHXSong& s = ahx::player.song;
        return static_cast<uint64_t>(s.tracklen * s.poscount * 6) / static_cast<uint64_t>(50 * s.speedmul * s.speedmul) *
               44100u;
    }
};

TEST_F(AhxPlayback, BuiltModulePlaysThroughThePlayerTable)
{
    ASSERT_EQ(core::players[slot].ext, ".AHX");
    ASSERT_TRUE(core::players[slot].load(write(songwithsubsong())));
    EXPECT_EQ(core::songframes.load(), lengthestimate());
    EXPECT_GT(render(44100), 1000) << "one second of the song is not silent";
    EXPECT_EQ(core::tickpos.load(), 50u) << "44100 frames at 882 frames per tick";

    // Rewind through tickpos.
    core::tickpos = 0;
    render(882);
    EXPECT_EQ(core::tickpos.load(), 1u);

    // Subsong change through cursong.
    core::cursong = 1;
    render(882);
    EXPECT_EQ(core::tickpos.load(), 0u);
    EXPECT_GT(render(44100), 1000);
    EXPECT_EQ(ahx::cursubsong, 1);
    EXPECT_EQ(core::tickpos.load(), 50u);
}

TEST_F(AhxPlayback, RecordingEndsAtTheSongLength)
{
    ASSERT_TRUE(core::players[slot].load(write(songwithsubsong())));
    core::recording = true;
    const uint64_t length = core::songframes;
    ASSERT_GT(length, 0u);
    uint64_t frames = 0;
    while (!core::quitplay && frames < 4 * length) {
        render(882);
        frames += 882;
    }
    EXPECT_TRUE(core::quitplay.load());
    EXPECT_GE(frames, length);
    EXPECT_LE(frames, length + 2 * 882);
}

TEST_F(AhxPlayback, DemoModulesLoadAndSound)
{
    // The tests run in the build directory; TARPLAY_BUILD names it too.
    const char* build = std::getenv("TARPLAY_BUILD");
    const std::filesystem::path demodir =
        (build != nullptr && *build != 0 ? std::filesystem::path(build) : std::filesystem::current_path()) / "demo";
    std::vector<std::filesystem::path> demos;
    if (std::filesystem::is_directory(demodir))
        for (const auto& e : std::filesystem::directory_iterator(demodir))
            if (e.path().extension() == ".ahx") demos.push_back(e.path());
    std::sort(demos.begin(), demos.end());
    if (demos.empty()) GTEST_SKIP() << "no demo modules built";
    for (const auto& path : demos) {
        SCOPED_TRACE(path.string());
        core::cursong = 0;
        core::renderblockcountdown = 0;
        messages.clear();
        ASSERT_TRUE(core::players[slot].load(path.string()));
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(synth::lastvoice.load(), 3);
        EXPECT_EQ(core::songframes.load(), lengthestimate());
        EXPECT_GT(core::songframes.load(), 0u);
        EXPECT_GT(render(5 * 44100), 1000);
        for (int s = 1; s <= core::lastsong; ++s) {
            core::cursong = static_cast<uint8_t>(s);
            render(3 * 44100);
            EXPECT_EQ(ahx::cursubsong, s);
        }
    }
}

}  // namespace
