// The demo modules as music: long enough, every channel busy, the player's
// features in use, and a mix that is neither silent nor clipped.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "ahxloaded.h"
#include "synth/pd/wave.h"
#include "core/audio.h"
#include "players/ahx/ahxplayer.h"
#include "synth/pd/record.h"

using namespace ahxmake;

namespace {

class AhxDemo : public ahxtest::loadedtest {
protected:
    bool loaddemo(const std::filesystem::path& src, int subsong = 0)
    {
        ahx::ahxreset();
        core::cursong = uint8_t(subsong);
        return ahx::ahxload(ahxtest::builddir() + "/demo/" + src.stem().string() + ".ahx");
    }
};

// What one run through the song shows about its channels.
struct survey {
    uint32_t loopticks = 0;  // ticks until the song is back at its restart position
    std::array<int, 4> loudest{};
    std::array<std::set<int>, 4> periods;
    std::array<std::set<int>, 4> waves;
    std::set<int> squarepositions, filterpositions;
    bool vibrato = false, hardcut = false, arpeggio = false;
};

survey runonce()
{
    survey s;
    const ahx::tAHXSong& song = ahx::player.song;
    bool reachedlast = false;
    for (uint32_t t = 0; t < 200000; t++) {
        ahx::ahxplay();
        for (int c = 0; c < 4; c++) {
            const ahx::ahxchannel& ch = ahx::player.channels[size_t(c)];
            s.loudest[size_t(c)] = std::max(s.loudest[size_t(c)], ch.voicevol);
            if (ch.voicevol > 0) {
                s.periods[size_t(c)].insert(ch.period);
                s.waves[size_t(c)].insert(ch.wave);
            }
            if (ch.squareon)
                s.squarepositions.insert(ch.squarepos);
            if (ch.filteron)
                s.filterpositions.insert(ch.filterpos);
            s.vibrato |= ch.vibperiod != 0;
            s.hardcut |= ch.notecuton;
            s.arpeggio |= !ch.fixednote && ch.plistnote > 1;
        }
        if (ahx::player.posnr == song.poscount - 1)
            reachedlast = true;
        if (reachedlast && ahx::player.posnr == song.restartpos && ahx::player.rownr == 0 &&
            ahx::player.newpos) {
            s.loopticks = t + 1;
            break;
        }
    }
    return s;
}

}  // namespace

TEST_F(AhxDemo, TheSetCoversBothRevisionsSpeedAndSubsongs)
{
    bool rev0 = false, rev1 = false, fastwithsubsongs = false;
    for (const auto& src : ahxtest::demosources()) {
        ASSERT_TRUE(loaddemo(src)) << src;
        const ahx::tAHXSong& s = ahx::player.song;
        rev0 |= s.revision == 0;
        rev1 |= s.revision == 1;
        fastwithsubsongs |= s.speedmul > 1 && s.subsongcount >= 1;
    }
    EXPECT_TRUE(rev0);
    EXPECT_TRUE(rev1);
    EXPECT_TRUE(fastwithsubsongs);
}

// The player stops after its estimate of the length; the music must last
// that long and loop exactly when the estimate says.
TEST_F(AhxDemo, EachPlaysHalfAMinuteAndLoopsWhereTheEstimateSays)
{
    for (const auto& src : ahxtest::demosources()) {
        SCOPED_TRACE(src.string());
        ASSERT_TRUE(loaddemo(src));
        const double estimate = double(core::songframes) / synth::samplerate;
        EXPECT_GE(estimate, 30.0);
        survey s = runonce();
        ASSERT_GT(s.loopticks, 0u) << "never came back to the restart position";
        const double real = double(s.loopticks) / core::tickrate;
        EXPECT_NEAR(real, estimate, 1.0);
    }
}

TEST_F(AhxDemo, EveryChannelPlaysAndTheInstrumentsMove)
{
    survey all;
    for (const auto& src : ahxtest::demosources()) {
        SCOPED_TRACE(src.string());
        ASSERT_TRUE(loaddemo(src));
        const int revision = ahx::player.song.revision;
        survey s = runonce();
        for (int c = 0; c < 4; c++) {
            EXPECT_GT(s.loudest[size_t(c)], 100) << "channel " << c;
            EXPECT_GE(s.periods[size_t(c)].size(), 5u) << "channel " << c;
        }
        // Drums: noise on channel 0; a lead with a real tune on channel 3.
        EXPECT_TRUE(s.waves[0].count(3));
        EXPECT_GE(s.periods[3].size(), 10u);
        EXPECT_GE(s.squarepositions.size(), 8u);
        if (revision > 0) {
            EXPECT_GE(s.filterpositions.size(), 8u);
        }
        EXPECT_TRUE(s.vibrato);
        EXPECT_TRUE(s.hardcut);
        EXPECT_TRUE(s.arpeggio);
        for (int c = 0; c < 4; c++)
            all.waves[size_t(c)].insert(s.waves[size_t(c)].begin(), s.waves[size_t(c)].end());
    }
    std::set<int> waves;
    for (const auto& w : all.waves)
        waves.insert(w.begin(), w.end());
    EXPECT_EQ(waves, (std::set<int>{0, 1, 2, 3}));
}

TEST_F(AhxDemo, SubsongsStartWhereTheyShould)
{
    for (const auto& src : ahxtest::demosources()) {
        ASSERT_TRUE(loaddemo(src));
        const int count = ahx::player.song.subsongcount;
        for (int n = 1; n <= count; n++) {
            SCOPED_TRACE(src.string() + " subsong " + std::to_string(n));
            ASSERT_TRUE(loaddemo(src, n));
            const int start = ahx::player.song.subsongs[size_t(n - 1)];
            EXPECT_EQ(ahx::player.posnr, start);
            // One row in, the tempo of the module is set and every channel
            // is on its track.
            for (int t = 0; t < 8; t++)
                ahx::ahxplay();
            EXPECT_EQ(ahx::player.tempo * ahx::player.song.speedmul, 6);
        }
    }
}

// The whole song through the real audio path: no stretch of two seconds is
// near silence, and no sample reaches full scale.
TEST_F(AhxDemo, RenderedMixIsNeitherSilentNorClipped)
{
    for (const auto& src : ahxtest::demosources()) {
        SCOPED_TRACE(src.string());
        core::playersinit();
        ahx::ahxmoduleinit();
        int slot = -1;
        for (int i = 0; i < core::playerslots; i++)
            if (core::players[size_t(i)].ext == ".AHX")
                slot = i;
        ASSERT_GE(slot, 0);
        core::curplayer = uint8_t(slot);
        for (auto& w : synth::waveparams)
            w = 128;
        for (auto& v : synth::voices)
            v.muted = 0;
        ASSERT_TRUE(loaddemo(src));
        core::audioreset();
        core::renderblockcountdown = 0;
        const uint64_t frames = core::songframes;
        const uint64_t window = 2 * synth::samplerate;
        std::vector<int16_t> block(2048 * 2);
        uint64_t done = 0;
        double windowsum = 0;
        uint64_t windowframes = 0;
        int peak = 0;
        double quietest = 1e9;
        while (done < frames) {
            const int n = int(std::min<uint64_t>(2048, frames - done));
            core::renderblock(nullptr, reinterpret_cast<uint8_t*>(block.data()), n * 4);
            for (int i = 0; i < n * 2; i++) {
                peak = std::max(peak, std::abs(int(block[size_t(i)])));
                windowsum += double(block[size_t(i)]) * block[size_t(i)];
            }
            windowframes += uint64_t(n);
            done += uint64_t(n);
            if (windowframes >= window) {
                quietest = std::min(quietest, std::sqrt(windowsum / double(windowframes * 2)));
                windowsum = 0;
                windowframes = 0;
            }
        }
        EXPECT_GT(quietest, 1500.0);
        EXPECT_LT(peak, 32000);
        EXPECT_GT(peak, 12000);
    }
}
