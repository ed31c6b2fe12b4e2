// The interrupt machine around the processor: CIA timers, interrupt entry,
// banking, and tunes written here that play through every interrupt
// source, on more than one SID, or with an init that waits on the raster.
#include "cpu_fixture.h"
#include "sid_fixture.h"

#include "players/sid/cia.h"
#include "players/sid/machine.h"

namespace {

using sidtest::bytes;
using sidtest::psidheader;

bytes prgbytes(const std::string& name)
{
    return sidtest::readfile(cputest::builddir() + "/asm/" + name + ".prg");
}

TEST(Cia, TimersUnderflowReloadStopAndCascade)
{
    sid::ciachip c;
    sid::ciawrite(c, 0x04, 10);
    sid::ciawrite(c, 0x05, 0);  // stopped: the counter takes the latch
    EXPECT_EQ(c.timer[0].counter, 10);
    sid::ciawrite(c, 0x0E, 0x01);
    sid::ciaadvance(c, 10);
    EXPECT_EQ(c.timer[0].counter, 0);
    EXPECT_EQ(c.icrflags, 0);
    EXPECT_EQ(sid::ciacyclestoevent(c), 1u);
    sid::ciaadvance(c, 1 + 11 * 3 + 4);  // the underflow, three more periods, four steps
    EXPECT_EQ(c.timer[0].counter, 6);
    EXPECT_EQ(sid::ciaicrvalue(c), 0x01);  // masked: no bit 7
    sid::ciawrite(c, 0x0D, 0x83);
    EXPECT_EQ(sid::ciaicrvalue(c), 0x81);
    sid::ciawrite(c, 0x0D, 0x01);
    EXPECT_FALSE(sid::ciainterrupt(c));

    // Timer B one-shot counting timer A's underflows: stops at its first.
    c.icrflags = 0;
    sid::ciawrite(c, 0x06, 2);
    sid::ciawrite(c, 0x07, 0);
    sid::ciawrite(c, 0x0F, 0x49);
    sid::ciaadvance(c, 6 + 1 + 11 + 11);  // three underflows of A
    EXPECT_EQ(c.icrflags & 0x02, 0x02);
    EXPECT_EQ(c.timer[1].counter, 2);
    EXPECT_EQ(c.timer[1].control & 0x01, 0);
    sid::ciawrite(c, 0x0E, 0x10);  // force load, stopped
    EXPECT_EQ(c.timer[0].counter, 10);
    EXPECT_EQ(sid::ciacyclestoevent(c), UINT32_MAX);
}

class MachineTest : public sidtest::SidTest {
protected:
    // Loads an assembled tune as RSID (or PSID) and starts subsong song.
    bool loadprg(const std::string& name, psidheader h, uint8_t song = 0)
    {
        h.loadaddr = 0;
        h.initaddr = 0x1000;
        core::cursong = song;
        return load(h, prgbytes(name), name + ".sid");
    }
    psidheader rsidheader(uint16_t songs = 4)
    {
        psidheader h;
        h.magic = "RSID";
        h.playaddr = 0;
        h.songs = songs;
        return h;
    }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i) ASSERT_TRUE(sid::sidtick()) << "tick " << i;
    }
    uint8_t at(uint16_t address) { return cpu::cpumem[address]; }
};

TEST_F(MachineTest, InterruptEntryPushesWithBreakClearAndRtiReturns)
{
    cpu::cpumem[0xFFFE] = 0x00;
    cpu::cpumem[0xFFFF] = 0x20;
    cpu::cpumem[0x2000] = 0x40;  // RTI
    cpu::pc = 0x1234;
    cpu::s = 0xF0;
    cpu::p = 0x21 | 0x10;
    cpu::cpucycles = 0;
    cpu::cpuinterrupt(0xFFFE);
    EXPECT_EQ(cpu::pc, 0x2000);
    EXPECT_EQ(cpu::cpucycles, 7u);
    EXPECT_EQ(cpu::p & 0x04, 0x04);
    EXPECT_EQ(at(0x01F0), 0x12);
    EXPECT_EQ(at(0x01EF), 0x34);
    EXPECT_EQ(at(0x01EE), 0x21);  // B clear, bit 5 set
    cpu::cpustep();
    EXPECT_EQ(cpu::pc, 0x1234);
    EXPECT_EQ(cpu::s, 0xF0);
    EXPECT_EQ(cpu::p & 0x05, 0x01);
}

TEST_F(MachineTest, PortBanksRomAndIoOverRam)
{
    cpu::cpumem.fill(0);
    sid::machinereset(sid::machinemode::interrupts);
    EXPECT_EQ(at(0xFFFE), 0x48);  // the ROM's IRQ entry at $FF48
    sid::buswrite(0xE000, 0xAA);  // under the ROM
    sid::buswrite(0xD020, 0x05);  // the I/O page
    EXPECT_EQ(at(0xE000), 0x60);
    EXPECT_EQ(at(0xD020), 0x05);
    sid::buswrite(0x0001, 0x35);  // ROM out, I/O in
    EXPECT_EQ(at(0xE000), 0xAA);
    EXPECT_EQ(at(0xD020), 0x05);
    sid::buswrite(0x0001, 0x34);  // all RAM
    EXPECT_EQ(at(0xD020), 0x00);
    sid::buswrite(0xD020, 0x77);
    sid::buswrite(0x0001, 0x37);
    EXPECT_EQ(at(0xD020), 0x05);
    EXPECT_EQ(at(0xE000), 0x60);
    sid::buswrite(0x0001, 0x34);
    EXPECT_EQ(at(0xD020), 0x77);
}

TEST_F(MachineTest, RasterFlagRisesAtTheFirstCycleOfItsLine)
{
    cpu::cpumem.fill(0);
    sid::machinereset(sid::machinemode::interrupts);
    sid::buswrite(0xD012, 10);
    sid::machineadvance(10 * sid::linecycles - 1);
    EXPECT_EQ(at(0xD012), 9);
    EXPECT_EQ(at(0xD019) & 0x01, 0);
    sid::machineadvance(1);
    EXPECT_EQ(at(0xD012), 10);
    EXPECT_EQ(at(0xD019) & 0x01, 0x01);
    sid::buswrite(0xD019, 0x01);
    EXPECT_EQ(at(0xD019) & 0x01, 0);
}

TEST_F(MachineTest, AnInterruptWaitingAtCliComesOneInstructionLater)
{
    cpu::cpumem.fill(0);
    sid::machinereset(sid::machinemode::interrupts);
    sid::buswrite(0x0001, 0x35);  // our own IRQ vector in RAM
    sid::buswrite(0xFFFE, 0x00);
    sid::buswrite(0xFFFF, 0x20);
    // $1000: SEI, wait out one underflow of CIA 1's timer, CLI, INX, INX,
    // RTS. $2000: the handler stores X and stops the timer's interrupt.
    const uint8_t main[] = {0x78, 0xA9, 0x00, 0x8D, 0x04, 0xDC, 0x8D, 0x05, 0xDC, 0xA9, 0x11, 0x8D, 0x0E, 0xDC,
                            0xEA, 0x58, 0xE8, 0xE8, 0x60};
    const uint8_t handler[] = {0x8E, 0x00, 0x30, 0xA9, 0x7F, 0x8D, 0x0D, 0xDC, 0x40};
    std::copy(std::begin(main), std::end(main), cpu::cpumem.begin() + 0x1000);
    std::copy(std::begin(handler), std::end(handler), cpu::cpumem.begin() + 0x2000);
    sid::machinestart(0x1000, 0);
    sid::cyclebudget = 200;
    ASSERT_TRUE(sid::machinerun(sid::playbudget));
    EXPECT_EQ(at(0x3000), 1);
    EXPECT_EQ(cpu::x, 2);
    EXPECT_EQ(cpu::pc, sid::idleaddress);
}

TEST_F(MachineTest, RasterInterruptComesAtItsLineAndIsAcknowledged)
{
    ASSERT_TRUE(loadprg("interrupt_tune", rsidheader(), 0));
    EXPECT_EQ(core::tickrate, sid::interruptticks);
    ticks(sid::interruptticks);  // one second
    EXPECT_NEAR(at(0x1003), 50, 1);
    EXPECT_EQ(at(0x1004), 100);  // the raster line the handler saw
    EXPECT_EQ(synth::voices[0].hz, at(0x1003) * 256u / 17);
}

TEST_F(MachineTest, TimerInterruptGoesThroughTheRomEntryAndExit)
{
    ASSERT_TRUE(loadprg("interrupt_tune", rsidheader(), 1));
    ticks(2 * sid::interruptticks);
    // 50.1 a second; an unacknowledged timer would call the handler
    // again at once and run away.
    EXPECT_NEAR(at(0x1003), 100, 1);
    EXPECT_EQ(cpu::pc, sid::idleaddress);
}

TEST_F(MachineTest, NmiPlaysBesideAMainProgramThatNeverReturns)
{
    ASSERT_TRUE(loadprg("interrupt_tune", rsidheader(), 2));
    ticks(sid::interruptticks);
    EXPECT_NEAR(at(0x1003), 100, 1);
    const int loops = at(0x1005) + 256 * at(0x1006);
    EXPECT_GT(loops, 1000);
    // A subsong change restarts the machine from the unplayed tune.
    core::cursong = 0;
    sid::sidupdate();
    EXPECT_LE(at(0x1003), 1);
}

TEST_F(MachineTest, SamplesThroughTheVolumeRegisterDoNotMoveTheVoices)
{
    ASSERT_TRUE(loadprg("interrupt_tune", rsidheader(), 3));
    for (int i = 0; i < 20; ++i) {
        ticks(1);
        EXPECT_EQ(sid::mastervolume, 15) << i;
    }
    EXPECT_GT(sid::machine.lastvolumewrites, 4 * sid::digiwrites);  // the samples did play
}

TEST_F(MachineTest, RsidBasicTunesAreRefused)
{
    psidheader h = rsidheader();
    h.flags = 0x02;
    EXPECT_FALSE(loadprg("interrupt_tune", h));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "BASIC tunes cannot be played");
}

TEST_F(MachineTest, ChipsAnswerOnlyWhereTheHeaderNamesThem)
{
    struct namedchips {
        uint16_t version;
        uint8_t sid2, sid3;
        std::array<uint32_t, 3> hz;  // voices 2, 5, 8
        int lastvoice;
    };
    const uint32_t a = 0x1100 / 17, b = 0x2200 / 17, c = 0x3300 / 17;
    const namedchips cases[] = {
        {2, 0x42, 0x44, {c, 0, 0}, 2},  // version 2 names none
        {3, 0x42, 0x44, {c, b, 0}, 5},  // version 3 names a second only
        {4, 0x42, 0x44, {a, b, c}, 8},
        {4, 0x43, 0x44, {c, 0, 0}, 2},  // odd: not an address; the third needs the second
        {4, 0x40, 0x00, {c, 0, 0}, 2},  // below the allowed range
    };
    for (const namedchips& k : cases) {
        SetUp();
        psidheader h;
        h.version = k.version;
        h.playaddr = 0x1003;
        h.sid2 = k.sid2;
        h.sid3 = k.sid3;
        ASSERT_TRUE(loadprg("chips_tune", h));
        for (int i = 0; i < 3; ++i) EXPECT_EQ(synth::voices[static_cast<size_t>(3 * i + 2)].hz, k.hz[static_cast<size_t>(i)]) << k.version << " " << i;
        EXPECT_EQ(synth::lastvoice, k.lastvoice) << k.version;
        ticks(3);
        const int last = sid::sidchips - 1;
        EXPECT_EQ(synth::voices[static_cast<size_t>(3 * last + 2)].level, 255);
        // Each chip's envelope 3 is readable at its own address.
        EXPECT_EQ(at(static_cast<uint16_t>(sid::sidbase[static_cast<size_t>(last)] + 0x1C)), 255);
    }
}

TEST_F(MachineTest, InitWaitingOnRasterAndTimerPlaysWithThemRunning)
{
    psidheader h;
    h.playaddr = 0x1003;
    ASSERT_TRUE(loadprg("waiting_tune", h));
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(sid::machine.mode, sid::machinemode::polled);
    EXPECT_EQ(synth::voices[0].hz, 0x4400u / 17);
    ticks(5);
    EXPECT_EQ(at(0x1006), 5);
    // A tune whose init returns at once never sees the machine.
    h.playaddr = 0x1003;
    ASSERT_TRUE(loadprg("chips_tune", h));
    EXPECT_EQ(sid::machine.mode, sid::machinemode::off);
}

}  // namespace
