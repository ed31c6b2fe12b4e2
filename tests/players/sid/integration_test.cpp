// The SID player as the shell drives it: through its slot in the player
// table and the audio path's frame loop.
#include "sid_fixture.h"

#include <algorithm>
#include <cstdlib>

#include "core/audio.h"
#include "synth/pd/wave.h"
#include "players/sid/sidplayer.h"

namespace {

using sidtest::bytes;
using sidtest::psidheader;

// The build directory, named by TARPLAY_BUILD, which the test program's main
// sets before any test runs (so it is read lazily, not at static start-up).
std::string buildpath(const std::string& rel)
{
    const char* build = std::getenv("TARPLAY_BUILD");
    return (std::filesystem::path(build ? build : ".") / rel).string();
}

class SidPlayerTest : public sidtest::SidTest {
protected:
    void SetUp() override
    {
        SidTest::SetUp();
        olddir = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());  // no song-length files here
        core::playersinit();
        sid::sidmoduleinit();
        for (auto& w : synth::waveparams) w = 128;
        core::curplayer = 7;
        core::renderblockcountdown = 0;
    }
    void TearDown() override
    {
        std::filesystem::current_path(olddir);
        SidTest::TearDown();
    }

    // The assembled test tune behind a header whose load address is taken
    // from the program's first two bytes.
    std::string writetune()
    {
        const bytes prg = sidtest::readfile(buildpath("asm/sid_tune.prg"));
        EXPECT_GT(prg.size(), 2u) << "the test tune is assembled into the build directory";
        psidheader h;
        h.loadaddr = 0;
        h.initaddr = 0x1000;
        h.playaddr = 0x1003;
        h.songs = 2;
        return dir.write("tune.sid", sidtest::makepsid(h, prg));
    }

    // Renders whole ticks and returns the left and right samples.
    std::vector<int16_t> render(uint32_t ticks)
    {
        std::vector<int16_t> out(2 * static_cast<size_t>(ticks) * core::samplespertick);
        core::renderblock(nullptr, reinterpret_cast<uint8_t*>(out.data()), static_cast<int>(out.size() * 2));
        return out;
    }

    static int peak(const std::vector<int16_t>& s)
    {
        int p = 0;
        for (int16_t v : s) p = std::max(p, std::abs(static_cast<int>(v)));
        return p;
    }

    // Every voice shows what the tune's last register writes ask for.
    static void expectvoicesfollowregisters()
    {
        for (int v = 0; v < 3; ++v) {
            const int base = 7 * v;
            const int f = (sid::sidregs[base] + 256 * sid::sidregs[base + 1]) / 17;
            const auto& voice = synth::voices[v];
            EXPECT_EQ(voice.hz.load(), f) << v;
            EXPECT_EQ(voice.step.load(), static_cast<uint32_t>(synth::hzstep[f])) << v;
            EXPECT_EQ(voice.octave.load(), synth::hzlog[f] >> 8) << v;
            EXPECT_EQ(voice.notefrac.load(), synth::hzlog[f] & 0xFF) << v;
            EXPECT_EQ(voice.control.load(), sid::sidregs[base + 4]) << v;
            EXPECT_EQ(voice.level.load(), sid::sidlevel(v)) << v;
        }
    }

    std::filesystem::path olddir;
};

TEST_F(SidPlayerTest, RegistersInTheHighestFreeSlot)
{
    const auto& p = core::players[7];
    EXPECT_TRUE(p.active);
    EXPECT_EQ(p.ext, ".SID");
    EXPECT_EQ(p.info, "SID player v0.5 | based upon vemtok 1.4 and gruvex");
    EXPECT_EQ(p.load, &sid::sidload);
    EXPECT_EQ(p.tick, &sid::sidupdate);
    ASSERT_NE(p.stop, nullptr);
    p.stop();
    EXPECT_EQ(core::freeslot(), 6);
    EXPECT_EQ(cpu::memwritehook, &sid::buswrite);
}

TEST_F(SidPlayerTest, PlaysTheTestTuneThroughTheFrameLoop)
{
    ASSERT_TRUE(core::players[7].load(writetune()));
    EXPECT_EQ(core::lastsong.load(), 1);
    EXPECT_EQ(synth::lastvoice.load(), 2);
    EXPECT_EQ(core::samplespertick.load(), 882u);

    const auto first = render(10);
    EXPECT_EQ(core::tickpos.load(), 10u);
    EXPECT_EQ(core::playedframes.load(), 8820u);
    EXPECT_GT(peak(first), 2000) << "three gated voices sound";
    expectvoicesfollowregisters();
    EXPECT_EQ(synth::voices[0].hz.load(), 7382 / 17);
    EXPECT_EQ(synth::voices[0].control.load(), 0x41);
    EXPECT_EQ(synth::voices[0].pulse.load(), 255);
    EXPECT_EQ(synth::voices[0].level.load(), 255);
    EXPECT_EQ(synth::voices[1].hz.load(), 1600 / 17);
    EXPECT_EQ(synth::voices[1].level.load(), 170) << "voice 1 sits at sustain 10";
    EXPECT_EQ(synth::voices[2].hz.load(), 800 / 17);

    render(15);
    EXPECT_EQ(synth::voices[0].hz.load(), 8286 / 17) << "the 25th play call moves to the next note";
    expectvoicesfollowregisters();
}

TEST_F(SidPlayerTest, SecondAndThirdChipAndInterruptTunesSound)
{
    psidheader h;
    h.version = 4;
    h.loadaddr = 0;
    h.initaddr = 0x1000;
    h.playaddr = 0x1003;
    h.sid2 = 0x42;
    h.sid3 = 0x44;
    ASSERT_TRUE(core::players[7].load(dir.write("chips.sid", sidtest::makepsid(h, sidtest::readfile(buildpath("asm/chips_tune.prg"))))));
    render(5);
    // The third chip's voice alone.
    for (int v = 0; v < 6; ++v) synth::voicemute(v, true);
    EXPECT_GT(peak(render(5)), 2000);
    for (int v = 0; v < 6; ++v) synth::voicemute(v, false);

    h.magic = "RSID";
    h.version = 2;
    h.playaddr = 0;
    h.songs = 4;
    core::cursong = 1;
    ASSERT_TRUE(core::players[7].load(dir.write("timer.sid", sidtest::makepsid(h, sidtest::readfile(buildpath("asm/interrupt_tune.prg"))))));
    EXPECT_EQ(synth::lastvoice.load(), 2);
    const auto out = render(50);
    EXPECT_GT(peak(out), 2000);
    EXPECT_GT(synth::voices[0].hz.load(), 0u);
}

TEST_F(SidPlayerTest, SubsongChangeAndRewindFollowTheTickContract)
{
    ASSERT_TRUE(core::players[7].load(writetune()));
    render(30);
    ASSERT_EQ(synth::voices[0].hz.load(), 8286 / 17);

    core::cursong = 1;
    render(1);
    EXPECT_EQ(sid::sidsong, 1);
    EXPECT_EQ(core::tickpos.load(), 1u);
    EXPECT_EQ(core::playedframes.load(), 882u) << "the restart counts the subsong's frames from 0";
    EXPECT_EQ(synth::voices[0].hz.load(), 14764 / 17);

    render(29);
    ASSERT_EQ(synth::voices[0].hz.load(), 16572 / 17);
    core::tickpos = 0;
    render(1);
    EXPECT_EQ(core::tickpos.load(), 1u);
    EXPECT_EQ(sid::sidsong, 1) << "a rewind restarts the running subsong";
    EXPECT_EQ(synth::voices[0].hz.load(), 14764 / 17);
    expectvoicesfollowregisters();
}

TEST_F(SidPlayerTest, SkippingOneSecondRunsItsTicksWithoutRendering)
{
    ASSERT_TRUE(core::players[7].load(writetune()));
    render(1);
    const uint64_t frames = core::playedframes;
    core::tickpos = core::tickpos + core::tickrate;
    render(1);
    EXPECT_EQ(core::tickpos.load(), 52u);
    EXPECT_EQ(core::playedframes.load() - frames, 882u) << "only the requested tick was rendered";
    EXPECT_EQ(synth::voices[0].hz.load(), 9301 / 17) << "52 play calls have run";
    expectvoicesfollowregisters();
}

TEST_F(SidPlayerTest, RecordingEndsAtTheSongLength)
{
    ASSERT_TRUE(core::players[7].load(writetune()));
    core::recording = true;
    core::songframes = 882 * 3;
    render(3);
    EXPECT_FALSE(core::quitplay.load());
    render(1);
    EXPECT_TRUE(core::quitplay.load());
}

TEST_F(SidPlayerTest, DemoTunesLoadAndSound)
{
    const std::filesystem::path demo = buildpath("demo");
    std::vector<std::filesystem::path> tunes;
    if (std::filesystem::is_directory(demo))
        for (const auto& e : std::filesystem::directory_iterator(demo))
            if (e.path().extension() == ".sid") tunes.push_back(e.path());
    if (tunes.empty()) GTEST_SKIP() << "no demo tunes built in " << demo;
    std::sort(tunes.begin(), tunes.end());

    // The demo's song-length list, converted and loaded as at start-up.
    const bool havelengths = std::filesystem::exists(demo / "Songlengths.txt");
    if (havelengths) {
        std::filesystem::copy_file(demo / "Songlengths.txt", "Songlengths.txt");
        sid::songdbstartup();
        ASSERT_TRUE(sid::songdbloaded) << "the demo's Songlengths.txt converts";
    }

    for (const auto& tune : tunes) {
        SCOPED_TRACE(tune.string());
        core::cursong = 0;
        ASSERT_TRUE(core::players[7].load(tune.string()));
        ASSERT_TRUE(shown.empty()) << shown.front().text;
        if (havelengths) {
            EXPECT_TRUE(sid::songfound) << "every demo tune is in the demo's list";
            EXPECT_EQ(core::songframes.load(), uint64_t{sid::songlengths[0]} * 44100);
            EXPECT_GT(sid::songlengths[0], 0);
        }
        const int last = std::min<int>(core::lastsong, 3);
        for (int song = 0; song <= last; ++song) {
            core::cursong = static_cast<uint8_t>(song);
            core::renderblockcountdown = 0;
            const auto out = render(3 * core::tickrate);
            EXPECT_EQ(sid::sidsong, song);
            if (havelengths) {
                EXPECT_EQ(core::songframes.load(), uint64_t{sid::songlengths[song]} * 44100);
            }
            EXPECT_FALSE(core::quitplay.load()) << "the play routine finishes every tick";
            EXPECT_GT(peak(out), 500) << "subsong " << song;
            expectvoicesfollowregisters();
        }
    }
}

}  // namespace
