// The replayer, driven through small modules: sequencing, track commands,
// the per-tick instrument machinery and the guards against indices the
// stores do not hold.
#include "players/ahx/ahxfixture.h"

namespace {

using ahxtest::module;

class AhxReplay : public AhxTest {
protected:
    // Four positions of four-row tracks; channel 0 plays track 1 at
    // position 0, the other channels track 0 (empty) unless a test says so.
    module base()
    {
        module m;
        m.tracklen = 4;
        m.positions.resize(4);
        m.positions[0].track = {1, 0, 0, 0};
        m.at(1, 0);
        m.instruments = {fullinstrument()};
        return m;
    }
};

TEST_F(AhxReplay, FullVolumeGivesLevel255AndHalfGives127)
{
    module m = base();
    m.at(1, 0) = {25, 1, 0, 0};
    ASSERT_TRUE(load(m));
    ticks(1);
    EXPECT_EQ(ch(0).envvol, 64 * 256);
    EXPECT_EQ(ch(0).voicevol, 255);
    EXPECT_EQ(voice(0).level.load(), 255);
    // The sounding note is one below the track's: table entry 24.
    EXPECT_EQ(ch(0).period, 906);
    EXPECT_EQ(voice(0).hz.load(), 240);

    m.at(1, 0) = {25, 1, 0xC, 32};
    ASSERT_TRUE(load(m));
    ticks(1);
    EXPECT_EQ(ch(0).notemaxvol, 32);
    EXPECT_EQ(voice(0).level.load(), 127);
}

TEST_F(AhxReplay, EnvelopeRunsThroughItsStages)
{
    module m = base();
    ahxtest::instrument& in = m.instruments[0];
    in.attackframes = 4, in.attackvol = 64;  // 4096 per tick
    in.decayframes = 3, in.decayvol = 32;    // (32 - 64) x 256 / 3 = -2730
    in.sustainframes = 2;
    in.releaseframes = 0, in.releasevol = 10;  // a length of 0 takes the whole step
    m.at(1, 0) = {25, 1, 0, 0};
    ASSERT_TRUE(load(m));
    const int expected[] = {4096, 8192, 12288, 16384, 16384 - 2730, 16384 - 5460, 8192, 8192, 8192, 8192};
    for (int t = 0; t < 10; ++t) {
        ticks(1);
        EXPECT_EQ(ch(0).envvol, expected[t]) << "tick " << t + 1;
    }
    EXPECT_EQ(ch(0).rdelta, (10 - 32) * 256);
    EXPECT_EQ(ch(0).rframes, 0) << "a release of length 0 never runs";
}

TEST_F(AhxReplay, VibratoOffsetsTruncateTowardZero)
{
    module m = base();
    m.instruments[0].vibdepth = 8;
    m.instruments[0].vibspeed = 4;
    m.at(1, 0) = {25, 1, 0, 0};
    m.at(1, 0).fx = 0xF, m.at(1, 0).param = 0x40;  // long rows: only the vibrato moves
    ASSERT_TRUE(load(m));
    ticks(1);
    EXPECT_EQ(ch(0).vibperiod, 0);
    ticks(1);  // table position 4: 97 x 8 / 128
    EXPECT_EQ(ch(0).vibperiod, 6);
    EXPECT_EQ(ch(0).period, 906 + 6);
    ticks(8);  // position 36: -97 x 8 / 128
    EXPECT_EQ(ch(0).vibpos, 40);
    EXPECT_EQ(ch(0).vibperiod, -6);
    EXPECT_EQ(ch(0).period, 906 - 6);
    ticks(6);  // wraps at 64
    EXPECT_EQ(ch(0).vibpos, 0);

    // A delay holds the vibrato back for its ticks.
    m.instruments[0].vibdelay = 3;
    ASSERT_TRUE(load(m));
    ticks(4);
    EXPECT_EQ(ch(0).vibperiod, 0);
    EXPECT_EQ(ch(0).vibpos, 4);
}

TEST_F(AhxReplay, TonePortamentoStopsExactlyAtTheTarget)
{
    for (int dir : {-1, 1}) {
        module m = base();
        const int from = dir < 0 ? 25 : 37, to = dir < 0 ? 37 : 25;
        m.at(1, 0) = {from, 1, 0xF, 40};
        m.at(1, 1) = {to, 0, 0x3, 16};
        ASSERT_TRUE(load(m));
        ticks(40);
        EXPECT_EQ(ch(0).slideperiod, 0);
        for (int t = 1; t <= 30; ++t) {
            ticks(1);
            const int expect = dir * std::min(16 * t, 428);
            ASSERT_EQ(ch(0).slideperiod, expect) << "tick " << t;
        }
        EXPECT_EQ(ch(0).tracknote, from) << "the target note is not struck";
        EXPECT_EQ(ch(0).period, ahx::periodtable[static_cast<size_t>(from - 1)] + dir * 428);
    }
}

TEST_F(AhxReplay, PortamentoUpDownAndFineSlides)
{
    module m = base();
    m.at(1, 0) = {25, 1, 0x1, 4};
    m.at(1, 1) = {0, 0, 0x2, 3};
    m.at(1, 2) = {0, 0, 0xE, 0x15};
    m.at(1, 3) = {0, 0, 0xE, 0x27};
    ASSERT_TRUE(load(m));
    ticks(6);
    EXPECT_EQ(ch(0).slideperiod, -24);
    ticks(6);
    EXPECT_EQ(ch(0).slideperiod, -24 + 18);
    ticks(1);
    EXPECT_EQ(ch(0).slideperiod, -5) << "a fine slide sets the offset";
    ticks(6);
    EXPECT_EQ(ch(0).slideperiod, 7);
}

TEST_F(AhxReplay, VolumeCommandsChannelAndAllChannels)
{
    module m = base();
    m.positions[0].track = {1, 2, 2, 2};
    m.at(2, 0) = {25, 1, 0, 0};
    m.at(1, 0) = {25, 1, 0xC, 0x50};
    ASSERT_TRUE(load(m));
    ticks(1);
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(ch(c).trackmastervol, 0) << c;
        EXPECT_EQ(voice(c).level.load(), 0) << c;
    }

    m.at(1, 0) = {25, 1, 0xC, 0x45};
    ASSERT_TRUE(load(m));
    ticks(1);
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(ch(c).trackmastervol, 64) << c;
        EXPECT_EQ(ch(c).notemaxvol, 64) << c;
        EXPECT_EQ(voice(c).level.load(), 255) << c;
    }

    m.at(1, 0) = {25, 1, 0xC, 0xA0 + 16};
    ASSERT_TRUE(load(m));
    ticks(1);
    EXPECT_EQ(ch(0).trackmastervol, 16);
    EXPECT_EQ(ch(1).trackmastervol, 64);
    EXPECT_EQ(ch(0).voicevol, 63);

    m.at(1, 0) = {25, 1, 0xC, 144};
    ASSERT_TRUE(load(m));
    ticks(1);
    EXPECT_EQ(ch(3).trackmastervol, 64);

    // Slides and fine steps stay within 0 to 64.
    m.at(1, 0) = {25, 1, 0xA, 0x0F};
    m.at(1, 1) = {0, 0, 0xA, 0xF0};
    m.at(1, 2) = {0, 0, 0xE, 0xB5};
    m.at(1, 3) = {0, 0, 0xE, 0xA9};
    ASSERT_TRUE(load(m));
    ticks(1);
    EXPECT_EQ(ch(0).notemaxvol, 49);
    ticks(4);
    EXPECT_EQ(ch(0).notemaxvol, 0);
    ticks(2);
    EXPECT_EQ(ch(0).notemaxvol, 15);
    ticks(5);
    EXPECT_EQ(ch(0).notemaxvol, 64);
    ticks(1);
    EXPECT_EQ(ch(0).notemaxvol, 59);
    ticks(6);
    EXPECT_EQ(ch(0).notemaxvol, 64);
}

TEST_F(AhxReplay, PatternBreakChoosesTheRowOfTheNextPosition)
{
    module m = base();
    m.tracklen = 64;
    m.at(1, 0) = {0, 0, 0xD, 0x12};
    ASSERT_TRUE(load(m));
    ticks(6);
    EXPECT_EQ(ahx::player.posnr, 1);
    EXPECT_EQ(ahx::player.rownr, 12);

    m.at(1, 0) = {0, 0, 0xD, 0x99};
    ASSERT_TRUE(load(m));
    ticks(6);
    EXPECT_EQ(ahx::player.posnr, 1);
    EXPECT_EQ(ahx::player.rownr, 0);

    // Row 64 does not exceed 64 rows: the row past the store is read as
    // empty and the position ends after it.
    m.at(1, 0) = {0, 0, 0xD, 0x64};
    m.positions[1].track = {1, 1, 1, 1};
    ASSERT_TRUE(load(m));
    ticks(6);
    EXPECT_EQ(ahx::player.rownr, 64);
    ticks(6);
    EXPECT_EQ(ahx::player.posnr, 2);
    EXPECT_EQ(ahx::player.rownr, 0);
}

TEST_F(AhxReplay, PositionJumpDigitsCombineAcrossChannels)
{
    module m = base();
    m.positions.resize(300);
    m.positions[0].track = {1, 2, 0, 0};
    m.positions[210].track = {3, 3, 3, 3};
    m.at(1, 0) = {0, 0, 0x0, 0x02};
    m.at(2, 0) = {0, 0, 0xB, 0x10};
    m.at(3, 0) = {37, 1, 0, 0};
    ASSERT_TRUE(load(m));
    ticks(6);
    EXPECT_EQ(ahx::player.posnr, 210);
    EXPECT_EQ(ahx::player.rownr, 0);
    ticks(1);
    EXPECT_EQ(ch(2).tracknote, 37);

    // Only 1 to 9 set the hundreds.
    m.at(1, 0) = {0, 0, 0x0, 0x0A};
    m.at(2, 0) = {0, 0, 0xB, 0x03};
    ASSERT_TRUE(load(m));
    ticks(6);
    EXPECT_EQ(ahx::player.posnr, 3);
}

TEST_F(AhxReplay, SongWrapsToTheRestartPosition)
{
    module m = base();
    m.positions.resize(3);
    m.restartpos = 1;
    for (int p = 0; p < 3; ++p) {
        m.positions[static_cast<size_t>(p)].track = {p + 1, 0, 0, 0};
        m.at(p + 1, 0) = {10 + p, 1, 0, 0};
    }
    ASSERT_TRUE(load(m));
    const int notes[] = {10, 11, 12, 11, 12, 11};
    for (int n : notes) {
        ticks(1);
        EXPECT_EQ(ch(0).tracknote, n);
        ticks(23);
    }
    // The following position's tracks are known one position ahead.
    ASSERT_TRUE(load(m));
    ticks(1 + 24 * 2);
    EXPECT_EQ(ahx::player.posnr, 2);
    EXPECT_EQ(ch(0).nexttrack, 1) << "after the last position comes position 0's track";
}

TEST_F(AhxReplay, TempoZeroFreezesRowsButNotEffects)
{
    module m = base();
    m.instruments[0].vibdepth = 8;
    m.instruments[0].vibspeed = 1;
    // The frozen row is read again on every tick; it sets no instrument, so
    // nothing restarts the vibrato.
    m.at(1, 0) = {25, 1, 0, 0};
    m.at(1, 1) = {0, 0, 0xF, 0};
    m.at(1, 2) = {37, 1, 0, 0};
    ASSERT_TRUE(load(m));
    ticks(7);
    ASSERT_EQ(ahx::player.tempo, 0);
    int lastvib = ch(0).vibperiod;
    int changes = 0;
    for (int t = 0; t < 200; ++t) {
        ticks(1);
        EXPECT_EQ(ahx::player.rownr, 1);
        EXPECT_EQ(ahx::player.posnr, 0);
        if (ch(0).vibperiod != lastvib) ++changes;
        lastvib = ch(0).vibperiod;
    }
    EXPECT_EQ(ch(0).tracknote, 25);
    EXPECT_GT(changes, 50);
}

TEST_F(AhxReplay, FrozenRowWithPositionJumpStaysDefined)
{
    // The row is read again on every tick, so its jump digits pile up.
    module m = base();
    m.positions[0].track = {1, 2, 0, 0};
    m.at(1, 0) = {25, 1, 0xF, 0};
    m.at(2, 0) = {0, 0, 0xB, 0x99};
    ASSERT_TRUE(load(m));
    ticks(100);
    EXPECT_EQ(ahx::player.posnr, 0);
    EXPECT_TRUE(ahx::player.patternbreak);
}

TEST_F(AhxReplay, NoteDelayAndNoteCut)
{
    module m = base();
    m.at(1, 0) = {25, 1, 0xE, 0xD2};
    ASSERT_TRUE(load(m));
    ticks(2);
    EXPECT_EQ(ch(0).tracknote, 0);
    EXPECT_EQ(ch(0).instr, 0);
    EXPECT_EQ(voice(0).level.load(), 0);
    ticks(1);
    EXPECT_EQ(ch(0).tracknote, 25);
    EXPECT_EQ(ch(0).instr, 1);
    EXPECT_FALSE(ch(0).notedelayon);
    EXPECT_EQ(voice(0).level.load(), 255);

    // A delay as long as the row does nothing.
    m.at(1, 0) = {25, 1, 0xE, 0xD6};
    ASSERT_TRUE(load(m));
    ticks(1);
    EXPECT_EQ(ch(0).tracknote, 25);

    m.at(1, 0) = {25, 1, 0xE, 0xC3};
    ASSERT_TRUE(load(m));
    ticks(3);
    EXPECT_EQ(voice(0).level.load(), 255);
    ticks(1);
    EXPECT_EQ(ch(0).notemaxvol, 0);
    EXPECT_EQ(voice(0).level.load(), 0);
    ticks(2);
    EXPECT_EQ(voice(0).level.load(), 0);
}

TEST_F(AhxReplay, HardCutSilencesOrReleasesBeforeTheNextInstrument)
{
    module m = base();
    m.instruments[0].hardcutframes = 2;
    m.at(1, 0) = {25, 1, 0, 0};
    m.at(1, 1) = {25, 1, 0, 0};
    ASSERT_TRUE(load(m));
    for (int t = 1; t <= 4; ++t) {
        ticks(1);
        EXPECT_EQ(voice(0).level.load(), 255) << t;
    }
    ticks(1);
    EXPECT_EQ(voice(0).level.load(), 0);
    ticks(2);
    EXPECT_EQ(voice(0).level.load(), 255) << "the next row sets the instrument up again";

    m.instruments[0].hardcutrelease = 1;
    m.instruments[0].releasevol = 0;
    ASSERT_TRUE(load(m));
    ticks(4);
    EXPECT_EQ(ch(0).envvol, 64 * 256);
    ticks(1);
    EXPECT_EQ(ch(0).envvol, 32 * 256);
    ticks(1);
    EXPECT_EQ(ch(0).envvol, 0);
    EXPECT_EQ(voice(0).level.load(), 0);

    // No instrument on the next row: no cut.
    m.at(1, 1) = {30, 0, 0, 0};
    ASSERT_TRUE(load(m));
    ticks(6);
    EXPECT_EQ(voice(0).level.load(), 255);
}

TEST_F(AhxReplay, HardCutReleaseOfLengthZeroIsDefined)
{
    // A note cut on the row that sets an instrument with hard-cut release:
    // the release length is still 0 when the cut falls.
    module m = base();
    m.instruments[0].hardcutrelease = 1;
    m.at(1, 0) = {25, 1, 0xE, 0xC1};
    ASSERT_TRUE(load(m));
    ticks(2);
    EXPECT_EQ(ch(0).releaselen, 0);
    EXPECT_EQ(ch(0).rframes, 0);
    EXPECT_EQ(ch(0).rdelta, -64 * 256);
    EXPECT_EQ(ch(0).envvol, 64 * 256);
    ticks(10);
    EXPECT_EQ(voice(0).level.load(), 255);
}

TEST_F(AhxReplay, TrackCommand9SwitchesToThePulseWave)
{
    module m = base();
    m.instruments[0].wavelen = 3;
    m.at(1, 0) = {25, 1, 0x9, 0x20};
    ASSERT_TRUE(load(m));
    ticks(1);
    EXPECT_EQ(ch(0).wave, 2);
    EXPECT_EQ(ch(0).squarepos, 0x20 >> 2);
    EXPECT_EQ(voice(0).control.load(), 0x40);

    // The list's square position does not switch the wave, and a row's 0x9
    // wins over the list's position on the same tick.
    m.instruments[0].plist = {{0, 0, 0, 3, 0, 0x40, 0}};
    m.at(1, 0) = {25, 1, 0, 0};
    ASSERT_TRUE(load(m));
    ticks(1);
    EXPECT_EQ(ch(0).squarepos, 0x40 >> 2);
    EXPECT_EQ(ch(0).wave, 0);
    EXPECT_EQ(voice(0).control.load(), 0x10);

    m.at(1, 0) = {25, 1, 0x9, 0x20};
    ASSERT_TRUE(load(m));
    ticks(1);
    EXPECT_EQ(ch(0).squarepos, 0x20 >> 2);
    EXPECT_FALSE(ch(0).ignoresquare);
}

TEST_F(AhxReplay, PlistCommand4DependsOnTheRevision)
{
    module m = base();
    m.instruments[0].plist = {{0, 0, 0, 4, 0, 0xF0, 0}};
    m.at(1, 0) = {25, 1, 0, 0};
    m.revision = 1;
    ASSERT_TRUE(load(m));
    ticks(1);
    EXPECT_TRUE(ch(0).filteron);
    EXPECT_EQ(ch(0).filtersign, -1);
    EXPECT_FALSE(ch(0).squareon);

    m.revision = 0;
    ASSERT_TRUE(load(m));
    ticks(1);
    EXPECT_FALSE(ch(0).filteron);
    EXPECT_TRUE(ch(0).squareon);
    EXPECT_EQ(ch(0).squaresign, 1);

    // Inside its limits the filter sweep keeps the sign the command chose
    // (speed 0: five steps per tick).
    m.revision = 1;
    m.instruments[0].filterlow = 10;
    m.instruments[0].filterhigh = 40;
    m.instruments[0].plist = {{0, 0, 0, 4, 4, 0x0F, 0x31}};
    ASSERT_TRUE(load(m));
    ticks(1);
    EXPECT_FALSE(ch(0).squareon) << "toggled on and off again";
    EXPECT_EQ(ch(0).squaresign, 1);
    EXPECT_TRUE(ch(0).filteron);
    EXPECT_EQ(ch(0).filtersign, 1);
    EXPECT_EQ(ch(0).filterpos, 37);

    m.instruments[0].plist = {{0, 0, 0, 4, 0, 0xF0, 0}};
    ASSERT_TRUE(load(m));
    ticks(1);
    EXPECT_EQ(ch(0).filtersign, -1);
    EXPECT_EQ(ch(0).filterpos, 27);
}

TEST_F(AhxReplay, PlistCommandsSetSlidesVolumesAndFlow)
{
    module m = base();
    m.revision = 1;
    ahxtest::instrument& in = m.instruments[0];
    in.plistspeed = 2;
    in.plist = {
        {0, 0, 2, 1, 0, 5, 0},         // sawtooth, slide at 5
        {0, 0, 0, 0, 6, 40, 100},      // filter position 40, perfsubvol 20
        {49, 1, 0, 2, 7, 3, 3},        // fixed note 49, slide the other way, speed 3
        {0, 0, 0, 6, 5, 170, 0},       // trackmastervol 10, jump to entry 0
    };
    m.at(1, 0) = {25, 1, 0xF, 40};
    ASSERT_TRUE(load(m));
    ticks(1);
    EXPECT_EQ(ch(0).wave, 1);
    EXPECT_EQ(ch(0).perfslideperiod, -5);
    ticks(1);
    EXPECT_EQ(ch(0).perfslideperiod, -10);
    ticks(1);
    EXPECT_EQ(ch(0).filterpos, 40);
    EXPECT_EQ(ch(0).perfsubvol, 20);
    EXPECT_FALSE(ch(0).perfslideon);
    EXPECT_EQ(ch(0).perfslideperiod, -10) << "the slide stops, its offset stays";
    ticks(2);
    EXPECT_EQ(ch(0).plistnote, 49);
    EXPECT_TRUE(ch(0).fixednote);
    EXPECT_EQ(ch(0).perfslideperiod, -7);
    EXPECT_EQ(ch(0).period, 214 - 7) << "a fixed note ignores track note and transpose";
    EXPECT_EQ(ch(0).perfspeed, 3);
    ticks(3);
    EXPECT_EQ(ch(0).trackmastervol, 10);
    EXPECT_EQ(ch(0).perfpos, 0);
    ticks(3);
    EXPECT_EQ(ch(0).perfpos, 1);
    EXPECT_EQ(ch(0).perfslideperiod, -5) << "a new wave resets the list's slide, which starts again";

    // Revision 0 ignores the filter position command.
    m.revision = 0;
    ASSERT_TRUE(load(m));
    ticks(3);
    EXPECT_EQ(ch(0).filterpos, 32);
}

TEST_F(AhxReplay, SquareModulationBouncesBetweenItsLimits)
{
    module m = base();
    ahxtest::instrument& in = m.instruments[0];
    in.wavelen = 5;
    in.squarelow = 40, in.squarehigh = 20;  // the limits are ordered
    in.squarespeed = 1;
    in.plist = {{0, 0, 3, 3, 4, 10, 0}};  // square wave at position 10, modulation on
    m.at(1, 0) = {25, 1, 0xF, 0xFF};
    ASSERT_TRUE(load(m));
    ticks(1);
    EXPECT_EQ(ch(0).squarelow, 20);
    EXPECT_EQ(ch(0).squarehigh, 40);
    EXPECT_EQ(ch(0).squarepos, 11);
    // Slides in from below, then bounces between 20 and 40.
    for (int p = 12; p <= 40; ++p) {
        ticks(1);
        ASSERT_EQ(ch(0).squarepos, p);
    }
    ticks(1);
    EXPECT_EQ(ch(0).squarepos, 39);
    ticks(19);
    EXPECT_EQ(ch(0).squarepos, 20);
    ticks(1);
    EXPECT_EQ(ch(0).squarepos, 21);
    EXPECT_EQ(voice(0).control.load(), 0x40);
}

TEST_F(AhxReplay, FilterModulationMovesByItsSpeed)
{
    module m = base();
    m.revision = 1;
    ahxtest::instrument& in = m.instruments[0];
    in.filterlow = 10, in.filterhigh = 30;
    in.plist = {{0, 0, 0, 4, 0, 0x10, 0}};  // filter modulation on, upward
    for (int speed : {0, 2, 3, 5}) {
        in.filterspeed = speed;
        m.at(1, 0) = {25, 1, 0xF, 0xFF};
        ASSERT_TRUE(load(m));
        ticks(1);
        // From 32, above the top: slides in downward.
        const int step = speed < 3 ? 5 - speed : 1;
        EXPECT_EQ(ch(0).filterpos, 32 - step) << speed;
        ticks(20);
        int lo = 99, hi = -99;
        for (int t = 0; t < 400; ++t) {
            ticks(1);
            lo = std::min(lo, ch(0).filterpos);
            hi = std::max(hi, ch(0).filterpos);
        }
        // Several steps per tick bounce inside the limits; one step per
        // tick shows both ends.
        EXPECT_GE(lo, 10) << speed;
        EXPECT_LE(hi, 30) << speed;
        if (step == 1) {
            EXPECT_EQ(lo, 10) << speed;
            EXPECT_EQ(hi, 30) << speed;
        } else {
            EXPECT_LE(lo, 10 + step) << speed;
            EXPECT_GE(hi, 30 - step) << speed;
        }
    }
    // Wait between moves: filterspeed - 3 ticks.
    in.filterspeed = 7;
    ASSERT_TRUE(load(m));
    ticks(1);
    EXPECT_EQ(ch(0).filterpos, 31);
    ticks(3);
    EXPECT_EQ(ch(0).filterpos, 31);
    ticks(1);
    EXPECT_EQ(ch(0).filterpos, 30);
}

TEST_F(AhxReplay, TransposeAndPeriodLimits)
{
    module m = base();
    m.positions[0].transpose = {12, 0, 0, 0};
    m.at(1, 0) = {25, 1, 0, 0};
    ASSERT_TRUE(load(m));
    ticks(1);
    EXPECT_EQ(ch(0).period, 453);

    m.positions[0].transpose = {60, 0, 0, 0};
    ASSERT_TRUE(load(m));
    ticks(1);
    EXPECT_EQ(ch(0).period, 113);

    m.positions[0].transpose = {-100, 0, 0, 0};
    ASSERT_TRUE(load(m));
    ticks(1);
    EXPECT_EQ(ch(0).period, 113) << "note index 0 has period 0, held at the lower limit";

    m.positions[0].transpose = {0, 0, 0, 0};
    m.at(1, 0) = {2, 1, 0x2, 255};
    ASSERT_TRUE(load(m));
    ticks(6);
    EXPECT_EQ(ch(0).slideperiod, 6 * 255);
    EXPECT_EQ(ch(0).period, 3424);
}

TEST_F(AhxReplay, OutOfRangeNumbersStayInsideTheStores)
{
    // Notes 61 to 63 in a tone portamento, wave length 7, an instrument
    // beyond the count, a track beyond the last one.
    module m = base();
    m.instruments[0].wavelen = 7;
    m.instruments[0].squarelow = 63, m.instruments[0].squarehigh = 200;
    m.positions[0].track = {1, 2, 200, 0};
    m.at(1, 0) = {25, 1, 0x9, 0x30};
    m.at(1, 1) = {63, 0, 0x3, 8};
    m.at(2, 0) = {40, 50, 0, 0};
    ASSERT_TRUE(load(m));
    ticks(7);
    EXPECT_EQ(ch(0).squarelow, 63) << "wave length 7 scales like 5";
    EXPECT_EQ(ch(0).squarehigh, 200);
    EXPECT_EQ(ch(0).squarepos, 0x30);
    EXPECT_EQ(ch(0).slidelimit, -(856 - 113));
    EXPECT_EQ(ch(1).instr, 50);
    EXPECT_EQ(voice(1).level.load(), 0) << "an instrument beyond the count is silent";
    EXPECT_EQ(ch(2).tracknote, 0);

    // Positions beyond the list: a restart position past the end, a jump
    // past it, a subsong starting past it, and an empty list.
    module far = base();
    far.restartpos = 5000;
    far.subsongs = {60000};
    far.at(1, 3) = {0, 0, 0xB, 0x99};
    ASSERT_TRUE(load(far));
    ticks(24 * 10);
    EXPECT_GE(ahx::player.posnr, 99);
    core::cursong = 1;
    ticks(2);
    EXPECT_EQ(ahx::player.posnr, 60000);
    ticks(24 * 5);

    module none = base();
    none.positions.clear();
    core::cursong = 0;
    ASSERT_TRUE(load(none));
    ticks(24 * 5);
    EXPECT_EQ(ahx::player.posnr, 5);
}

}  // namespace
