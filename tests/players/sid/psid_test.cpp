#include "common/hex.h"
#include "sid_fixture.h"

#include "fifoguard.h"

#include "players/sid/md5.h"

namespace {

using sidtest::bytes;
using sidtest::place;
using sidtest::psidheader;
using sidtest::SidTest;

// init ($1000): stores the song number at $2000, volume 15.
// play ($1010): counts its calls at $2001.
bytes countertune()
{
    bytes d;
    place(d, 0x00, {0x8D, 0x00, 0x20, 0xA9, 0x0F, 0x8D, 0x18, 0xD4, 0x60});
    place(d, 0x10, {0xEE, 0x01, 0x20, 0x60});
    return d;
}

// init writes the timer latch to $DC04/$DC05, low byte first.
bytes latchtune(uint16_t latch)
{
    bytes d = countertune();
    place(d, 0x00, {0xA9, latch & 0xFF, 0x8D, 0x04, 0xDC, 0xA9, latch >> 8, 0x8D, 0x05, 0xDC, 0x60});
    return d;
}

psidheader ciaheader()
{
    psidheader h;
    h.speed = 1;
    return h;
}

using PsidLoadTest = SidTest;

TEST_F(PsidLoadTest, RefusesAWrongMagicShowingItsRawBytes)
{
    psidheader h;
    h.magic = "psid";
    EXPECT_FALSE(load(h, countertune()));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Unsupported SID-Format \"psid\"");
    EXPECT_EQ(shown[0].attr, 0x4F);
    EXPECT_TRUE(shown[0].wait);
    EXPECT_FALSE(sid::sidloaded);
}

TEST_F(PsidLoadTest, AcceptsVersionsOneToThreeOnly)
{
    for (uint16_t version : {1, 2, 3}) {
        psidheader h;
        h.version = version;
        EXPECT_TRUE(load(h, countertune())) << version;
    }
    EXPECT_TRUE(shown.empty());
    const std::pair<uint16_t, const char*> refused[] = {{5, "0005"}, {0, "0000"}, {0x4E2A, "4E2A"}};
    for (auto [version, text] : refused) {
        shown.clear();
        psidheader h;
        h.version = version;
        EXPECT_FALSE(load(h, countertune()));
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, std::string("Unsupported SID-Version ") + text);
        EXPECT_EQ(shown[0].attr, 0x4F);
    }
}

TEST_F(PsidLoadTest, RefusesFilesCutShortWithoutReadingPastThem)
{
    const bytes full = sidtest::makepsid(psidheader{}, countertune());
    bytes pastend = sidtest::makepsid(psidheader{}, {});
    sidtest::putbig(pastend, 6, 0x0400, 2);  // data offset beyond the end
    psidheader zero;
    zero.loadaddr = 0;
    const bytes oneaddressbyte = sidtest::makepsid(zero, {0x00});
    const std::vector<bytes> cases = {
        {},
        bytes(full.begin(), full.begin() + 3),
        bytes(full.begin(), full.begin() + 5),
        bytes(full.begin(), full.begin() + 117),
        pastend,
        oneaddressbyte,
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        shown.clear();
        core::songframes = 1234;
        EXPECT_FALSE(sid::sidload(dir.write("short.sid", cases[i]))) << i;
        ASSERT_EQ(shown.size(), 1u) << i;
        EXPECT_EQ(shown[0].text, "?FILE READ  ERROR");
        EXPECT_EQ(shown[0].attr, 0x4F);
        EXPECT_EQ(core::songframes.load(), 1234u) << "a refused file leaves the length alone";
    }
    shown.clear();
    EXPECT_FALSE(sid::sidload(dir.file("missing.sid")));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "?FILE READ  ERROR");
    shown.clear();
    EXPECT_FALSE(sid::sidinit(0)) << "after a failed read init fails quietly";
    EXPECT_TRUE(shown.empty());
}

TEST_F(PsidLoadTest, RefusesWhatIsNotARegularFileWithoutWaiting)
{
    std::filesystem::create_directory(dir.file("folder.sid"));
    EXPECT_FALSE(hungonfifos({dir.file("pipe.sid")}, [&] {
        EXPECT_FALSE(sid::sidload(dir.file("pipe.sid")));
        EXPECT_FALSE(sid::sidload(dir.file("folder.sid")));
    }));
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "?FILE READ  ERROR");
    EXPECT_EQ(shown[1].text, "?FILE READ  ERROR");
}

TEST_F(PsidLoadTest, LoadAddressZeroTakesItFromTheData)
{
    psidheader h;
    h.loadaddr = 0;
    h.initaddr = 0;
    bytes d = {0x00, 0x10};
    const bytes code = countertune();
    d.insert(d.end(), code.begin(), code.end());
    ASSERT_TRUE(load(h, d));
    EXPECT_EQ(sid::loadaddr, 0x1000);
    EXPECT_EQ(sid::initaddr, 0x1000) << "init address 0 means the load address";
    EXPECT_EQ(sid::sidsize, code.size());
    EXPECT_EQ(sid::sidimage[0x0FFE], 0);
    EXPECT_EQ(sid::sidimage[0x0FFF], 0);
    for (size_t i = 0; i < code.size(); ++i) ASSERT_EQ(sid::sidimage[0x1000 + i], code[i]);
    EXPECT_EQ(sid::sidimage[0x1000 + code.size()], 0);
}

TEST_F(PsidLoadTest, DataPastTheTopOfMemoryIsCut)
{
    psidheader h;
    h.loadaddr = 0xFF00;
    h.initaddr = 0xFF00;
    h.playaddr = 0xFF00;
    bytes d(0x300);
    for (size_t i = 0; i < d.size(); ++i) d[i] = static_cast<uint8_t>(i * 7 + 1);
    d[0] = 0x60;  // RTS
    ASSERT_TRUE(load(h, d));
    EXPECT_EQ(sid::sidsize, 0x100);
    EXPECT_EQ(sid::sidimage[0xFFFF], d[0xFF]);
    EXPECT_EQ(sid::sidimage[0x0000], 0) << "nothing wraps around to the bottom";

    // The data length is taken modulo 65536.
    psidheader low;
    bytes big = countertune();
    big.resize(65536 + 4, 0xEA);
    ASSERT_TRUE(load(low, big));
    EXPECT_EQ(sid::sidsize, 4);
    EXPECT_EQ(sid::sidimage[0x1003], 0xA9);
    EXPECT_EQ(sid::sidimage[0x1004], 0);
}

TEST_F(PsidLoadTest, InitThatNeverReturnsIsAnInitError)
{
    for (bytes init : {bytes{0x4C, 0x00, 0x10}, bytes{0x02}}) {
        shown.clear();
        core::tickrate = 77;
        EXPECT_FALSE(load(psidheader{}, init));
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, "SID-Init Error");
        EXPECT_EQ(shown[0].attr, 0x4F);
        EXPECT_TRUE(shown[0].wait);
        EXPECT_EQ(core::tickrate.load(), 77) << "the rate is not set";
    }
}

TEST_F(PsidLoadTest, LoadPreparesThePlaybackState)
{
    psidheader h;
    h.songs = 3;
    h.startsong = 3;
    h.name = std::string(32, 'N');
    h.author = "Composer Name";
    h.copyright = "1987 Someone";
    core::cursong = 1;
    core::tickpos = 99;
    core::playedframes = 5000;
    synth::voices[5].level = 200;
    synth::voices[5].control = 0x41;
    synth::lastvoice = 7;
    ASSERT_TRUE(load(h, countertune()));
    EXPECT_EQ(core::lastsong.load(), 2);
    EXPECT_EQ(core::cursong.load(), 1) << "the start song of the file is not used";
    EXPECT_EQ(cpu::cpumem[0x2000], 1) << "init gets the subsong in A";
    EXPECT_EQ(core::tickpos.load(), 0u);
    EXPECT_EQ(core::playedframes.load(), 0u);
    EXPECT_EQ(core::tickrate.load(), 50);
    EXPECT_EQ(core::samplespertick.load(), 882u);
    EXPECT_EQ(core::scrollticks.load(), 1);
    EXPECT_EQ(core::songframes.load(), 13230000u);
    EXPECT_EQ(synth::lastvoice.load(), 2);
    EXPECT_EQ(synth::voices[5].level.load(), 0);
    EXPECT_EQ(synth::voices[5].control.load(), 0);
    EXPECT_EQ(synth::voices[5].pulse.load(), 255);
    EXPECT_EQ(synth::voices[5].syncsrc.load(), 255);
    const std::string info = "Songtitle: " + std::string(32, 'N') +
                             "    Composer : Composer Name    Copyright: 1987 Someone ";
    EXPECT_EQ(core::infotext, info);
    EXPECT_EQ(core::infolen.load(), info.size());
}

TEST_F(PsidLoadTest, NoSongsGivesLastSong255)
{
    psidheader h;
    h.songs = 0;
    ASSERT_TRUE(load(h, countertune()));
    EXPECT_EQ(core::lastsong.load(), 255);
    core::cursong = 255;
    sid::sidupdate();
    EXPECT_EQ(cpu::cpumem[0x2000], 255);
    EXPECT_EQ(core::songframes.load(), 13230000u);
}

struct latchcase {
    uint16_t latch;
    uint16_t rate;
};

class LatchTest : public SidTest, public ::testing::WithParamInterface<latchcase> {};

TEST_P(LatchTest, InitLatchSetsTheTickRate)
{
    ASSERT_TRUE(load(ciaheader(), latchtune(GetParam().latch)));
    EXPECT_EQ(sid::cialatch, GetParam().latch);
    EXPECT_EQ(core::tickrate.load(), GetParam().rate);
    EXPECT_EQ(core::samplespertick.load(), 44100u / GetParam().rate);
    EXPECT_EQ(core::scrollticks.load(), GetParam().rate / 50);
}

INSTANTIATE_TEST_SUITE_P(Latches, LatchTest,
                         ::testing::Values(latchcase{0x4CC7, 50}, latchcase{0x4CF9, 49}, latchcase{16420, 60},
                                           latchcase{16421, 59}, latchcase{900, 1094}, latchcase{0xFFFF, 15}));

using PsidRateTest = SidTest;

TEST_F(PsidRateTest, VideoTimedTuneIgnoresTheLatchAfterInit)
{
    ASSERT_TRUE(load(psidheader{}, latchtune(16421)));
    EXPECT_EQ(core::tickrate.load(), 50);
}

TEST_F(PsidRateTest, TimerTuneWithoutLatchTicksSixtyTimes)
{
    ASSERT_TRUE(load(ciaheader(), countertune()));
    EXPECT_EQ(core::tickrate.load(), 60);
    EXPECT_EQ(core::samplespertick.load(), 735u);
}

TEST_F(PsidRateTest, BusLatchWritesBelow1000HzOnly)
{
    sid::setrate(50);
    sid::buswrite(0xDC05, 0x03);  // 768: 1282 Hz
    EXPECT_EQ(core::tickrate.load(), 50);
    sid::buswrite(0xDC04, 0xD9);  // 985: exactly 1000 Hz
    EXPECT_EQ(sid::cialatch, 985);
    EXPECT_EQ(core::tickrate.load(), 50);
    sid::buswrite(0xDC04, 0xDA);  // 986: 999 Hz
    EXPECT_EQ(core::tickrate.load(), 999);
    EXPECT_EQ(core::samplespertick.load(), 44u);
    EXPECT_EQ(core::scrollticks.load(), 19);
    EXPECT_EQ(cpu::cpumem[0xDC04], 0xDA) << "the timer registers are memory too";
}

TEST_F(PsidRateTest, LatchWrittenByPlayDoesNotReachTheRate)
{
    bytes d = countertune();
    place(d, 0x10, {0xA9, 0x84, 0x8D, 0x04, 0xDC, 0xA9, 0x03, 0x8D, 0x05, 0xDC, 0x60});  // 900
    ASSERT_TRUE(load(ciaheader(), d));
    ASSERT_EQ(core::tickrate.load(), 60);
    sid::sidupdate();
    EXPECT_EQ(sid::cialatch, 900);
    EXPECT_EQ(core::tickrate.load(), 60);
}

TEST_F(PsidRateTest, LatchRateTruncatesTheExactQuotient)
{
    EXPECT_EQ(sid::latchrate(16420), 60);
    EXPECT_EQ(sid::latchrate(16421), 59);
    EXPECT_EQ(sid::latchrate(985), 1000);
    EXPECT_EQ(sid::latchrate(986), 999);
    EXPECT_EQ(sid::latchrate(19705), 49);
}

using BusTest = SidTest;

TEST_F(BusTest, SidPageGoesToTheModelNotToMemory)
{
    cpu::cpumem[0xD418] = 0x55;
    sid::buswrite(0xD418, 0x03);
    EXPECT_EQ(cpu::cpumem[0xD418], 0x55);
    EXPECT_EQ(sid::sidregs[0x18], 0x03);
    EXPECT_EQ(sid::mastervolume, 3);
    sid::buswrite(0xD4FF, 0x42);  // the 32 registers repeat through the page
    EXPECT_EQ(sid::sidregs[0x1F], 0x42);
    EXPECT_EQ(cpu::cpumem[0xD4FF], 0);
    sid::buswrite(0xD500, 0x42);
    EXPECT_EQ(cpu::cpumem[0xD500], 0x42);
    sid::buswrite(0xD3FF, 0x43);
    EXPECT_EQ(cpu::cpumem[0xD3FF], 0x43);
    sid::buswrite(0x0000, 0x99);
    EXPECT_EQ(cpu::cpumem[0x0000], 0) << "address 0 is never written";
    sid::buswrite(0x0001, 0x99);
    EXPECT_EQ(cpu::cpumem[0x0001], 0x99);
}

TEST_F(BusTest, HexHelpers)
{
    EXPECT_EQ(hexbyte(0x00), "00");
    EXPECT_EQ(hexbyte(0xAF), "AF");
    EXPECT_EQ(hexword(0x0005), "0005");
    EXPECT_EQ(hexword(0xBEEF), "BEEF");
}

using PsidTickTest = SidTest;

TEST_F(PsidTickTest, PlayAddressZeroUsesTheVectorThatInitLeft)
{
    psidheader h;
    h.playaddr = 0;
    bytes d = countertune();
    place(d, 0x00, {0xA9, 0x10, 0x8D, 0x14, 0x03, 0x8D, 0x15, 0x03, 0x60});
    ASSERT_TRUE(load(h, d));
    EXPECT_EQ(sid::playaddr, 0x1010);
    sid::sidupdate();
    sid::sidupdate();
    EXPECT_EQ(cpu::cpumem[0x2001], 2);
}

TEST_F(PsidTickTest, TicksCountAndReportTheirPosition)
{
    ASSERT_TRUE(load(psidheader{}, countertune()));
    for (uint32_t i = 1; i <= 5; ++i) {
        sid::sidupdate();
        EXPECT_EQ(core::tickpos.load(), i);
    }
    EXPECT_EQ(cpu::cpumem[0x2001], 5);
    EXPECT_EQ(cpu::cpumem[0x2000], 0) << "a plain tick does not re-run init";
}

TEST_F(PsidTickTest, SubsongChangeRestartsFromTheUnplayedImage)
{
    psidheader h;
    h.songs = 3;
    ASSERT_TRUE(load(h, countertune()));
    for (int i = 0; i < 3; ++i) sid::sidupdate();
    ASSERT_EQ(cpu::cpumem[0x2001], 3);
    core::playedframes = 10000;
    core::cursong = 2;
    sid::sidupdate();
    EXPECT_EQ(sid::sidsong, 2);
    EXPECT_EQ(cpu::cpumem[0x2000], 2);
    EXPECT_EQ(cpu::cpumem[0x2001], 1) << "the old subsong's count is gone";
    EXPECT_EQ(core::tickpos.load(), 1u);
    EXPECT_EQ(core::playedframes.load(), 0u);
}

TEST_F(PsidTickTest, RaisingTickPosRunsTheSkippedTicks)
{
    ASSERT_TRUE(load(psidheader{}, countertune()));
    sid::sidupdate();
    core::tickpos = core::tickpos + 50;
    sid::sidupdate();
    EXPECT_EQ(cpu::cpumem[0x2001], 52);
    EXPECT_EQ(core::tickpos.load(), 52u);
}

TEST_F(PsidTickTest, LoweringTickPosReRunsInit)
{
    psidheader h;
    h.songs = 2;
    core::cursong = 1;
    ASSERT_TRUE(load(h, countertune()));
    for (int i = 0; i < 10; ++i) sid::sidupdate();
    ASSERT_EQ(cpu::cpumem[0x2001], 10);
    cpu::cpumem[0x2000] = 0xEE;
    core::tickpos = 0;
    sid::sidupdate();
    EXPECT_EQ(cpu::cpumem[0x2000], 1) << "init ran again for the same subsong";
    EXPECT_EQ(cpu::cpumem[0x2001], 1);
    EXPECT_EQ(core::tickpos.load(), 1u);
}

TEST_F(PsidTickTest, FirstTickAfterLoadDoesNotRestart)
{
    ASSERT_TRUE(load(psidheader{}, countertune()));
    for (int i = 0; i < 20; ++i) sid::sidupdate();
    ASSERT_TRUE(load(psidheader{}, countertune(), "second.sid"));
    cpu::cpumem[0x2000] = 0xEE;
    sid::sidupdate();
    EXPECT_EQ(cpu::cpumem[0x2000], 0xEE) << "a fresh load starts counting from tick 0";
    EXPECT_EQ(core::tickpos.load(), 1u);
}

TEST_F(PsidTickTest, ALoadStartsFromTheSameStateWhateverRanBefore)
{
    ASSERT_TRUE(load(psidheader{}, countertune()));
    const int32_t clean = sid::cyclebudget;
    // Leftovers of a previous tune: an overrun cycle account and a pending
    // play countdown.
    sid::cyclebudget = -123456;
    sid::playcountdown = 3;
    ASSERT_TRUE(load(psidheader{}, countertune(), "again.sid"));
    EXPECT_EQ(sid::cyclebudget, clean);
    EXPECT_EQ(sid::playcountdown, 0);
    sid::sidupdate();
    EXPECT_EQ(cpu::cpumem[0x2001], 1) << "the first tick plays";
}

TEST_F(PsidTickTest, PlayThatOverrunsEndsPlayback)
{
    bytes d = countertune();
    place(d, 0x10, {0x4C, 0x10, 0x10});
    ASSERT_TRUE(load(psidheader{}, d));
    sid::sidupdate();
    EXPECT_TRUE(core::quitplay.load());
    EXPECT_TRUE(shown.empty());
}

TEST_F(PsidTickTest, SongEndStopsOnlyARecording)
{
    ASSERT_TRUE(load(psidheader{}, countertune()));
    core::songframes = 1000;
    core::playedframes = 1000;
    sid::sidupdate();
    EXPECT_FALSE(core::quitplay.load()) << "playback goes on past the length";
    core::recording = true;
    core::playedframes = 999;
    sid::sidupdate();
    EXPECT_FALSE(core::quitplay.load());
    core::playedframes = 1000;
    sid::sidupdate();
    EXPECT_TRUE(core::quitplay.load());
}

TEST_F(PsidTickTest, FailedInitDuringPlaybackIsPostedNotShown)
{
    psidheader h;
    h.songs = 2;
    bytes d = countertune();
    // Subsong 1 hangs in init: CMP #1 / BEQ to itself.
    place(d, 0x00, {0xC9, 0x01, 0xF0, 0xFE, 0x8D, 0x00, 0x20, 0x60});
    ASSERT_TRUE(load(h, d));
    sid::sidupdate();
    core::cursong = 1;
    sid::sidupdate();
    EXPECT_TRUE(shown.empty()) << "the audio thread must not wait for a key";
    std::string msg;
    ASSERT_TRUE(core::takemessage(msg));
    EXPECT_EQ(msg, "SID-Init Error");
    EXPECT_EQ(core::tickrate.load(), 50);
    EXPECT_FALSE(core::quitplay.load());
}

TEST_F(PsidTickTest, PlayReadsOscillatorAndEnvelopeThree)
{
    bytes d = countertune();
    place(d, 0x10, {0xAD, 0x1B, 0xD4, 0x8D, 0x03, 0x20, 0xAD, 0x1C, 0xD4, 0x8D, 0x04, 0x20, 0x60});
    ASSERT_TRUE(load(psidheader{}, d));
    synth::voices[2].lastout = 0x1234;
    sid::envstate[2].envlevel = 77;
    sid::sidupdate();
    EXPECT_EQ(cpu::cpumem[0x2003], 0x12);
    EXPECT_EQ(cpu::cpumem[0x2004], 77);
    synth::voices[2].lastout = -0x100;
    sid::sidupdate();
    EXPECT_EQ(cpu::cpumem[0x2003], 0xFF);
}

TEST_F(PsidTickTest, EnvelopesCatchUpAtTheNextTick)
{
    bytes d = countertune();
    // init: attack 0, sustain 15, voice 0 triangle with gate on.
    place(d, 0x00, {0xA9, 0x00, 0x8D, 0x05, 0xD4, 0xA9, 0xF0, 0x8D, 0x06, 0xD4, 0xA9, 0x11, 0x8D, 0x04, 0xD4, 0x60});
    place(d, 0x10, {0x60});
    ASSERT_TRUE(load(psidheader{}, d));
    EXPECT_LT(sid::cyclebudget, 0) << "init's cycles up to its last write are spent";
    sid::sidupdate();
    EXPECT_LE(synth::voices[0].level.load(), 2) << "the play call wrote nothing";
    EXPECT_EQ(sid::cyclebudget, 985248 / 50 - static_cast<int32_t>(cpu::cpucycles));
    sid::sidupdate();
    EXPECT_EQ(synth::voices[0].level.load(), 255);
}

using PsidLengthTest = SidTest;

TEST_F(PsidLengthTest, KnownTuneTakesItsLengthsAndLoadAddressZeroIsHashedWithoutIt)
{
    psidheader h;
    h.loadaddr = 0;
    h.initaddr = 0;
    h.playaddr = 0x1010;
    h.songs = 3;
    h.speed = 2;  // subsong 2 timer-driven; the timing follows bit 0 only
    const bytes code = countertune();
    bytes d = {0x00, 0x10};
    d.insert(d.end(), code.begin(), code.end());

    bytes hashed = code;
    hashed.insert(hashed.end(), {0x00, 0x10, 0x10, 0x10, 0x03, 0x00, 0, 60, 0});
    const auto digest = sid::md5digest(hashed.data(), hashed.size());
    sid::songdb = {20, 0};
    sid::songdb.insert(sid::songdb.end(), digest.begin(), digest.end());
    sid::songdb.insert(sid::songdb.end(), {37, 0, 0x3E, 0x01});
    sid::songdbsize = static_cast<uint32_t>(sid::songdb.size());
    sid::songdbloaded = true;
    sid::songlengths[2] = 11;

    ASSERT_TRUE(load(h, d));
    EXPECT_TRUE(sid::songfound);
    EXPECT_EQ(core::songframes.load(), 37u * 44100);
    EXPECT_EQ(core::tickrate.load(), 50);
    core::cursong = 1;
    sid::sidupdate();
    EXPECT_EQ(core::songframes.load(), 318u * 44100);
    core::cursong = 2;
    sid::sidupdate();
    EXPECT_EQ(core::songframes.load(), 11u * 44100) << "a missing entry keeps an earlier tune's value";

    h.name = "Changed";  // the texts are not part of the identity
    ASSERT_TRUE(load(h, d));
    EXPECT_TRUE(sid::songfound);
    d.push_back(0);
    ASSERT_TRUE(load(h, d));
    EXPECT_FALSE(sid::songfound);
    EXPECT_EQ(core::songframes.load(), 13230000u);
}

}  // namespace
