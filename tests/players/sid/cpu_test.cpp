// Processor behaviour: addressing modes and their cycle rules, the
// operations' flags, the hook rules, the run loop and the call sequence.
#include "players/sid/cpu_fixture.h"

namespace {

using cputest::CpuTest;
using cputest::buswrite;
using cputest::writes;
using namespace cpu;

constexpr uint8_t C = 0x01, Z = 0x02, D = 0x08, V = 0x40, N = 0x80;

// --- Reset, run loop and call sequence -----------------------------------

TEST_F(CpuTest, ResetLoadsVectorAndLeavesRunStateAlone) {
    a = x = y = 0x55;
    p = 0xFF;
    s = 0x10;
    cpumem[0xFFFC] = 0x34;
    cpumem[0xFFFD] = 0x12;
    cpuhalted = true;
    cpucycles = 77;
    cpumem[0x4000] = 0x99;
    cpureset();
    EXPECT_EQ(a, 0);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(p, 0x20);
    EXPECT_EQ(s, 0xFF);
    EXPECT_EQ(pc, 0x1234);
    EXPECT_TRUE(cpuhalted);
    EXPECT_EQ(cpucycles, 77u);
    EXPECT_EQ(cpumem[0x4000], 0x99);
}

TEST_F(CpuTest, CallPushesZeroReturnAndComesBackThroughBrkAtOne) {
    poke(0x1000, {0xA9, 0x05, 0x60});  // LDA #5; RTS
    cpumem[0x01FF] = 0xAA;
    cpumem[0x01FE] = 0xBB;
    EXPECT_TRUE(cpucall(0x1000, 0x42, 100));
    EXPECT_EQ(cpumem[0x01FF], 0x00);
    EXPECT_EQ(cpumem[0x01FE], 0x00);
    EXPECT_EQ(s, 0xFF);
    EXPECT_EQ(a, 0x05);
    // LDA, RTS and the BRK at 0x0001: exactly one instruction after RTS.
    EXPECT_EQ(cpubudget, 100 - 3);
    EXPECT_EQ(pc, 0x0002);
    EXPECT_TRUE(cpuhalted);
    // The pushes of the call sequence bypass the hook.
    EXPECT_TRUE(writes.empty());
}

TEST_F(CpuTest, CallSetsAccumulatorAndResetsOtherRegisters) {
    poke(0x2000, {0x8D, 0x00, 0x30, 0x8E, 0x01, 0x30, 0x60});  // STA $3000; STX $3001; RTS
    x = 9;
    EXPECT_TRUE(cpucall(0x2000, 0x07, 1000));
    EXPECT_EQ(cpumem[0x3000], 0x07);
    EXPECT_EQ(cpumem[0x3001], 0x00);
}

TEST_F(CpuTest, NonZeroByteAtOneRunsPageZeroAsCode) {
    // LDA #$E8 (INX); STA $01; RTS -> after RTS, INX at 0x0001, BRK at 0x0002.
    poke(0x1000, {0xA9, 0xE8, 0x85, 0x01, 0x60});
    EXPECT_TRUE(cpucall(0x1000, 0, 100));
    EXPECT_EQ(x, 1);
    EXPECT_EQ(pc, 0x0003);
    // With a JAM there instead the run fails.
    poke(0x1000, {0xA9, 0x02, 0x85, 0x01, 0x60});
    EXPECT_FALSE(cpucall(0x1000, 0, 100));
}

TEST_F(CpuTest, InfiniteLoopEndsWhenBudgetIsSpent) {
    poke(0x1000, {0x4C, 0x00, 0x10});  // JMP $1000
    EXPECT_FALSE(cpucall(0x1000, 0, 500));
    EXPECT_EQ(cpubudget, 0);
    EXPECT_TRUE(cpuhalted);
    EXPECT_EQ(cpucycles, 500u * 3);
}

TEST_F(CpuTest, JamEndsTheRunWithFailureWhateverTheBudget) {
    for (int op : {0x02, 0x12, 0x22, 0x32, 0x42, 0x52, 0x62, 0x72, 0x92, 0xB2, 0xD2, 0xF2}) {
        poke(0x1000, {0xE8, op, 0xE8, 0x00});  // INX; JAM; INX; BRK
        EXPECT_FALSE(cpucall(0x1000, 0, 1 << 20)) << std::hex << op;
        EXPECT_EQ(x, 1) << std::hex << op;
        EXPECT_EQ(pc, 0x1002) << std::hex << op;
    }
}

TEST_F(CpuTest, BrkHaltsWithoutPushingOrReadingVector) {
    cpumem[0xFFFE] = 0x00;
    cpumem[0xFFFF] = 0x20;
    poke(0x1000, {0x00});
    pc = 0x1000;
    s = 0xFF;
    EXPECT_TRUE(cpurun(10));
    EXPECT_EQ(pc, 0x1001);
    EXPECT_EQ(s, 0xFF);
    EXPECT_EQ(cpucycles, 7u);
    EXPECT_EQ(cpubudget, 9);
}

TEST_F(CpuTest, RunDoesNotClearHaltAndResetsCycleCount) {
    poke(0x1000, {0xE8, 0x00});
    pc = 0x1000;
    cpuhalted = true;
    cpucycles = 1234;
    EXPECT_TRUE(cpurun(10));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(cpucycles, 0u);
}

TEST_F(CpuTest, BudgetOfOneRunsOneInstruction) {
    poke(0x1000, {0xE8, 0xE8, 0x00});
    pc = 0x1000;
    EXPECT_FALSE(cpurun(1));
    EXPECT_EQ(x, 1);
}

TEST_F(CpuTest, NonPositiveBudgetStopsInsteadOfRunningAway) {
    poke(0x1000, {0x4C, 0x00, 0x10});
    for (int budget : {0, -5}) {
        pc = 0x1000;
        cpuhalted = false;
        EXPECT_FALSE(cpurun(budget));
        EXPECT_EQ(cpucycles, 3u);
    }
}

TEST_F(CpuTest, StatusHasBreakAndBitFiveWhileRunning) {
    poke(0x1000, {0x08, 0x68, 0x00});  // PHP; PLA; BRK
    pc = 0x1000;
    p = 0x00;
    EXPECT_TRUE(cpurun(10));
    EXPECT_EQ(a & 0x30, 0x30);
    // Set before each instruction, not only in what PHP pushes: a PLP of 0
    // leaves B clear until the next instruction starts.
    poke(0x1000, {0x28, 0xEA, 0x00});  // PLP; NOP; BRK
    s = 0xFE;
    cpumem[0x01FF] = 0x00;
    pc = 0x1000;
    cpuhalted = false;
    EXPECT_TRUE(cpurun(10));
    EXPECT_EQ(p, 0x30);
}

// --- Addressing modes ------------------------------------------------------

TEST_F(CpuTest, JumpIndirectWrapsWithinPage) {
    poke(0x1000, {0x6C, 0xFF, 0x12});
    cpumem[0x12FF] = 0x34;
    cpumem[0x1200] = 0x56;
    cpumem[0x1300] = 0x99;
    EXPECT_EQ(step(0x1000), 5u);
    EXPECT_EQ(pc, 0x5634);
    // A pointer inside a page reads its two bytes normally.
    poke(0x1000, {0x6C, 0x10, 0x12});
    cpumem[0x1210] = 0x78;
    cpumem[0x1211] = 0x9A;
    step(0x1000);
    EXPECT_EQ(pc, 0x9A78);
}

TEST_F(CpuTest, JumpIndexedIndirect) {
    poke(0x1000, {0x7C, 0xFE, 0x20});
    x = 2;
    cpumem[0x2100] = 0xCD;
    cpumem[0x2101] = 0xAB;
    EXPECT_EQ(step(0x1000), 6u);
    EXPECT_EQ(pc, 0xABCD);
    // Pointer and index wrap around the top of memory.
    poke(0x1000, {0x7C, 0xFF, 0xFF});
    x = 1;
    cpumem[0x0000] = 0x11;
    cpumem[0x0001] = 0x22;
    step(0x1000);
    EXPECT_EQ(pc, 0x2211);
}

TEST_F(CpuTest, IndirectIndexedTakesHighByteFromPageOne) {
    poke(0x1000, {0xB1, 0xFF});  // LDA ($FF),Y
    cpumem[0x00FF] = 0x00;
    cpumem[0x0100] = 0x30;
    cpumem[0x0000] = 0x40;  // would be the high byte if page zero wrapped
    cpumem[0x3002] = 0x77;
    cpumem[0x4002] = 0x11;
    y = 2;
    EXPECT_EQ(step(0x1000), 6u);
    EXPECT_EQ(a, 0x77);
}

TEST_F(CpuTest, IndexedIndirectWrapsTheIndexButNotThePointer) {
    poke(0x1000, {0xA1, 0xFE});  // LDA ($FE,X)
    x = 0x01;                    // t = 0xFF: high byte from 0x0100
    cpumem[0x00FF] = 0x10;
    cpumem[0x0100] = 0x50;
    cpumem[0x5010] = 0x3C;
    EXPECT_EQ(step(0x1000), 6u);
    EXPECT_EQ(a, 0x3C);
    x = 0x03;  // 0xFE + 3 wraps to 0x01
    cpumem[0x0001] = 0x20;
    cpumem[0x0002] = 0x60;
    cpumem[0x6020] = 0x4D;
    step(0x1000);
    EXPECT_EQ(a, 0x4D);
}

TEST_F(CpuTest, ZeroPageIndexWrapsInPageZero) {
    poke(0x1000, {0xB5, 0xF0});  // LDA $F0,X
    x = 0x20;
    cpumem[0x0010] = 0x81;
    cpumem[0x0110] = 0x01;
    step(0x1000);
    EXPECT_EQ(a, 0x81);
    EXPECT_EQ(p & (N | Z), N);
    poke(0x1000, {0xB6, 0xF0});  // LDX $F0,Y
    y = 0x21;
    cpumem[0x0011] = 0x00;
    step(0x1000);
    EXPECT_EQ(x, 0x00);
    EXPECT_EQ(p & (N | Z), Z);
}

TEST_F(CpuTest, AbsoluteIndexWrapsAroundMemory) {
    poke(0x1000, {0xBD, 0xFF, 0xFF});  // LDA $FFFF,X
    x = 2;
    cpumem[0x0001] = 0x66;
    step(0x1000);
    EXPECT_EQ(a, 0x66);
}

TEST_F(CpuTest, IndexedReadsPayForAnyNonZeroIndexNotForPageCrossing) {
    poke(0x1000, {0xBD, 0x00, 0x10});  // LDA $1000,X
    x = 0;
    EXPECT_EQ(step(0x1000), 4u);
    x = 1;  // same page
    EXPECT_EQ(step(0x1000), 5u);
    poke(0x1000, {0xBD, 0xF0, 0x10});
    x = 0x20;  // crosses into 0x11xx: no further cycle
    EXPECT_EQ(step(0x1000), 5u);
    poke(0x1000, {0xB9, 0x00, 0x10});  // LDA $1000,Y
    y = 0;
    EXPECT_EQ(step(0x1000), 4u);
    y = 7;
    EXPECT_EQ(step(0x1000), 5u);
    poke(0x1000, {0xBC, 0x00, 0x20});  // LDY $2000,X
    x = 3;
    EXPECT_EQ(step(0x1000), 5u);
    poke(0x1000, {0x3C, 0x00, 0x20});  // BIT $2000,X
    x = 3;
    EXPECT_EQ(step(0x1000), 5u);
    poke(0x1000, {0xB1, 0x20});  // LDA ($20),Y
    cpumem[0x20] = 0x00;
    cpumem[0x21] = 0x30;
    y = 0;
    EXPECT_EQ(step(0x1000), 5u);
    y = 1;
    EXPECT_EQ(step(0x1000), 6u);
}

TEST_F(CpuTest, IndexedStoresAndModifiesNeverPayExtra) {
    poke(0x1000, {0x9D, 0x00, 0x30});  // STA $3000,X
    x = 0;
    EXPECT_EQ(step(0x1000), 5u);
    x = 0x20;
    EXPECT_EQ(step(0x1000), 5u);
    poke(0x1000, {0x99, 0xF0, 0x30});  // STA $30F0,Y
    y = 0x20;
    EXPECT_EQ(step(0x1000), 5u);
    poke(0x1000, {0x91, 0x20});  // STA ($20),Y
    cpumem[0x21] = 0x30;
    y = 5;
    EXPECT_EQ(step(0x1000), 6u);
    poke(0x1000, {0xFE, 0x00, 0x30});  // INC $3000,X
    x = 5;
    EXPECT_EQ(step(0x1000), 7u);
    poke(0x1000, {0xBF, 0x00, 0x30});  // LAX $3000,Y: base 2, no extra
    y = 5;
    EXPECT_EQ(step(0x1000), 2u);
    poke(0x1000, {0xB3, 0x20});  // LAX ($20),Y
    EXPECT_EQ(step(0x1000), 2u);
}

TEST_F(CpuTest, ImmediateCostsThreeAndZeroPageStoresTwo) {
    poke(0x1000, {0xA9, 0x01});
    EXPECT_EQ(step(0x1000), 3u);
    EXPECT_EQ(a, 0x01);
    poke(0x1000, {0x85, 0x10});
    EXPECT_EQ(step(0x1000), 2u);
    EXPECT_EQ(cpumem[0x10], 0x01);
    poke(0x1000, {0x86, 0x11});
    EXPECT_EQ(step(0x1000), 2u);
    poke(0x1000, {0x84, 0x12});
    EXPECT_EQ(step(0x1000), 2u);
    poke(0x1000, {0x89, 0x00});  // BIT # keeps 2
    EXPECT_EQ(step(0x1000), 2u);
}

// --- Branches ----------------------------------------------------------------

TEST_F(CpuTest, BranchNotTakenSkipsOffset) {
    poke(0x1000, {0xD0, 0x10});  // BNE
    p = Z;
    EXPECT_EQ(step(0x1000), 2u);
    EXPECT_EQ(pc, 0x1002);
}

TEST_F(CpuTest, TakenBranchCyclesCompareOffsetHighByteWithPc) {
    poke(0x1000, {0xF0, 0x10});  // BEQ +16, forward: 0x00 vs 0x10
    p = Z;
    EXPECT_EQ(step(0x1000), 4u);
    EXPECT_EQ(pc, 0x1012);
    poke(0x1000, {0xF0, 0xFC});  // backward: 0xFF vs 0x10
    EXPECT_EQ(step(0x1000), 4u);
    EXPECT_EQ(pc, 0x0FFE);
    poke(0x0040, {0xF0, 0x10});  // forward in page zero: 0x00 = 0x00
    EXPECT_EQ(step(0x0040), 3u);
    EXPECT_EQ(pc, 0x0052);
    poke(0xFF40, {0xF0, 0xF0});  // backward in page 0xFF: 0xFF = 0xFF
    EXPECT_EQ(step(0xFF40), 3u);
    EXPECT_EQ(pc, 0xFF32);
}

TEST_F(CpuTest, BranchTargetWrapsAroundMemory) {
    poke(0xFFF0, {0x80, 0x7F});  // BRA +127
    step(0xFFF0);
    EXPECT_EQ(pc, 0x0071);
    poke(0x0010, {0x80, 0x80});  // BRA -128
    step(0x0010);
    EXPECT_EQ(pc, 0xFF92);
}

TEST_F(CpuTest, EachBranchFollowsItsFlag) {
    struct { int op; uint8_t flag; bool whenset; } cases[] = {
        {0x10, N, false}, {0x30, N, true}, {0x50, V, false}, {0x70, V, true},
        {0x90, C, false}, {0xB0, C, true}, {0xD0, Z, false}, {0xF0, Z, true},
    };
    for (auto c : cases) {
        poke(0x1000, {c.op, 0x20});
        p = c.flag;
        step(0x1000);
        EXPECT_EQ(pc, c.whenset ? 0x1022 : 0x1002) << std::hex << c.op;
        p = 0;
        step(0x1000);
        EXPECT_EQ(pc, c.whenset ? 0x1002 : 0x1022) << std::hex << c.op;
    }
    poke(0x1000, {0x80, 0x20});
    p = 0xFF;
    step(0x1000);
    EXPECT_EQ(pc, 0x1022);
}

// --- Stack, calls and returns ----------------------------------------------

TEST_F(CpuTest, JsrPushesAddressOfItsLastByteThroughHook) {
    poke(0x1000, {0x20, 0x00, 0x20, 0xE8, 0x00});  // JSR $2000; INX; BRK
    poke(0x2000, {0xC8, 0x60});                    // INY; RTS
    pc = 0x1000;
    s = 0xFF;
    EXPECT_TRUE(cpurun(100));
    EXPECT_EQ(cpumem[0x01FF], 0x10);
    EXPECT_EQ(cpumem[0x01FE], 0x02);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0], (buswrite{0x01FF, 0x10}));
    EXPECT_EQ(writes[1], (buswrite{0x01FE, 0x02}));
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 1);
    EXPECT_EQ(s, 0xFF);
    EXPECT_EQ(pc, 0x1005);
    EXPECT_EQ(cpucycles, 6u + 2 + 6 + 2 + 7);
}

TEST_F(CpuTest, PushesAreDirectAndWrapTheStackPointer) {
    poke(0x1000, {0x48, 0x08, 0xDA, 0x5A});  // PHA; PHP; PHX; PHY
    a = 1;
    x = 2;
    y = 3;
    s = 0x01;
    step(0x1000);
    step(0x1001);
    step(0x1002);
    step(0x1003);
    EXPECT_TRUE(writes.empty());
    EXPECT_EQ(cpumem[0x0101], 1);
    EXPECT_EQ(cpumem[0x0100], p | 0x30);
    EXPECT_EQ(cpumem[0x01FF], 2);
    EXPECT_EQ(cpumem[0x01FE], 3);
    EXPECT_EQ(s, 0xFD);
}

TEST_F(CpuTest, PullsSetFlagsAndWrap) {
    poke(0x1000, {0x68, 0xFA, 0x7A});  // PLA; PLX; PLY
    s = 0xFE;
    cpumem[0x01FF] = 0x80;
    cpumem[0x0100] = 0x00;
    cpumem[0x0101] = 0x05;
    step(0x1000);
    EXPECT_EQ(a, 0x80);
    EXPECT_EQ(p & (N | Z), N);
    step(0x1001);
    EXPECT_EQ(x, 0x00);
    EXPECT_EQ(p & (N | Z), Z);
    step(0x1002);
    EXPECT_EQ(y, 0x05);
    EXPECT_EQ(p & (N | Z), 0);
    EXPECT_EQ(s, 0x01);
}

TEST_F(CpuTest, PlpAndRtiKeepBitFive) {
    poke(0x1000, {0x28});  // PLP
    s = 0xF0;
    cpumem[0x01F1] = 0xC3;
    step(0x1000);
    EXPECT_EQ(p, 0xC3 | 0x20);
    // RTI: P, then PC low and high, no + 1.
    poke(0x1000, {0x40});
    s = 0xF0;
    cpumem[0x01F1] = 0x01;
    cpumem[0x01F2] = 0x34;
    cpumem[0x01F3] = 0x12;
    step(0x1000);
    EXPECT_EQ(p & 0xEF, 0x21);
    EXPECT_EQ(pc, 0x1234);
    EXPECT_EQ(s, 0xF3);
}

TEST_F(CpuTest, RtsAddsOneAndWraps) {
    poke(0x1000, {0x60});
    s = 0xFD;
    cpumem[0x01FE] = 0xFF;
    cpumem[0x01FF] = 0xFF;
    step(0x1000);
    EXPECT_EQ(pc, 0x0000);
    EXPECT_EQ(s, 0xFF);
}

TEST_F(CpuTest, TransfersAndStackPointer) {
    poke(0x1000, {0x9A, 0xBA});  // TXS; TSX
    x = 0x00;
    p = 0;
    step(0x1000);
    EXPECT_EQ(s, 0x00);
    EXPECT_EQ(p & Z, 0);  // TXS sets no flag
    x = 0x55;
    step(0x1001);
    EXPECT_EQ(x, 0x00);
    EXPECT_EQ(p & Z, Z);
    poke(0x1000, {0xAA, 0xA8, 0x8A, 0x98});
    a = 0x90;
    step(0x1000);
    EXPECT_EQ(x, 0x90);
    EXPECT_EQ(p & N, N);
    a = 0x00;
    step(0x1001);
    EXPECT_EQ(y, 0x00);
    EXPECT_EQ(p & Z, Z);
    x = 0x01;
    step(0x1002);
    EXPECT_EQ(a, 0x01);
    y = 0xFF;
    step(0x1003);
    EXPECT_EQ(a, 0xFF);
    EXPECT_EQ(p & (N | Z), N);
}

// --- Hook rules ----------------------------------------------------------------

TEST_F(CpuTest, StzBypassesHookStaUsesIt) {
    poke(0x1000, {0x9C, 0x04, 0xD4});  // STZ $D404
    cpumem[0xD404] = 0x41;
    step(0x1000);
    EXPECT_TRUE(writes.empty());
    EXPECT_EQ(cpumem[0xD404], 0x00);
    poke(0x1000, {0x8D, 0x04, 0xD4});  // STA $D404
    a = 0x41;
    step(0x1000);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0], (buswrite{0xD404, 0x41}));
    // The other STZ forms write direct too.
    writes.clear();
    x = 1;
    cpumem[0x0011] = cpumem[0x0010] = 5;
    cpumem[0x2001] = 5;
    poke(0x1000, {0x64, 0x10});
    step(0x1000);
    poke(0x1000, {0x74, 0x10});
    step(0x1000);
    poke(0x1000, {0x9E, 0x00, 0x20});
    EXPECT_EQ(step(0x1000), 5u);
    EXPECT_TRUE(writes.empty());
    EXPECT_EQ(cpumem[0x0010], 0);
    EXPECT_EQ(cpumem[0x0011], 0);
    EXPECT_EQ(cpumem[0x2001], 0);
}

TEST_F(CpuTest, StoresWriteMemoryDirectlyWithoutHook) {
    memwritehook = nullptr;
    poke(0x1000, {0x8D, 0x00, 0x30, 0xEE, 0x00, 0x30, 0x20, 0x00, 0x20});
    a = 0x10;
    step(0x1000);
    EXPECT_EQ(cpumem[0x3000], 0x10);
    step(0x1003);
    EXPECT_EQ(cpumem[0x3000], 0x11);
    s = 0xFF;
    step(0x1006);
    EXPECT_EQ(cpumem[0x01FF], 0x10);
    EXPECT_EQ(cpumem[0x01FE], 0x08);
}

TEST_F(CpuTest, IncDecFlagsComeFromMemoryAfterTheWrite) {
    cputest::storewrites = false;  // a hook that keeps the byte, like the SID page
    poke(0x1000, {0xEE, 0x00, 0xD4});  // INC $D400
    cpumem[0xD400] = 0xFF;
    step(0x1000);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0], (buswrite{0xD400, 0x00}));
    EXPECT_EQ(p & (N | Z), N);  // from the unchanged 0xFF
    poke(0x1000, {0xCE, 0x00, 0xD4});  // DEC
    cpumem[0xD400] = 0x01;
    step(0x1000);
    EXPECT_EQ(writes[1], (buswrite{0xD400, 0x00}));
    EXPECT_EQ(p & (N | Z), 0);
    cputest::storewrites = true;
    step(0x1000);
    EXPECT_EQ(cpumem[0xD400], 0x00);
    EXPECT_EQ(p & (N | Z), Z);
}

TEST_F(CpuTest, ShiftFlagsComeFromTheComputedResult) {
    cputest::storewrites = false;
    poke(0x1000, {0x0E, 0x00, 0xD4});  // ASL $D400
    cpumem[0xD400] = 0x80;
    step(0x1000);
    EXPECT_EQ(writes.back(), (buswrite{0xD400, 0x00}));
    EXPECT_EQ(p & (N | Z | C), Z | C);
}

TEST_F(CpuTest, TsbTrbSetZeroFromMemoryAfterWriteAndKeepNV) {
    poke(0x1000, {0x04, 0x10});  // TSB $10
    cpumem[0x10] = 0x00;
    a = 0x00;
    p = N | V;
    step(0x1000);
    EXPECT_EQ(cpumem[0x10], 0x00);
    EXPECT_EQ(p & (N | V | Z), N | V | Z);
    a = 0x81;
    cpumem[0x10] = 0x02;
    step(0x1000);
    EXPECT_EQ(cpumem[0x10], 0x83);
    EXPECT_EQ(p & (N | V | Z), N | V);
    poke(0x1000, {0x1C, 0x10, 0x00});  // TRB $0010
    a = 0x83;
    p = 0;
    step(0x1000);
    EXPECT_EQ(cpumem[0x10], 0x00);
    EXPECT_EQ(p & (N | V | Z), Z);
    ASSERT_EQ(writes.size(), 3u);
    // With a hook that keeps the byte, Z reflects the kept byte.
    cputest::storewrites = false;
    poke(0x1000, {0x0C, 0x00, 0xD4});  // TSB $D400
    cpumem[0xD400] = 0x00;
    a = 0x01;
    step(0x1000);
    EXPECT_EQ(writes.back(), (buswrite{0xD400, 0x01}));
    EXPECT_EQ(p & Z, Z);
}

// --- Operations ------------------------------------------------------------------

TEST_F(CpuTest, BitImmediateAndMemory) {
    poke(0x1000, {0x89, 0xC0});
    a = 0;
    p = 0;
    step(0x1000);
    EXPECT_EQ(p & (N | V | Z), N | V | Z);
    poke(0x1000, {0x24, 0x10});
    cpumem[0x10] = 0x41;
    a = 0x01;
    step(0x1000);
    EXPECT_EQ(p & (N | V | Z), V);
    EXPECT_EQ(a, 0x01);
    poke(0x1000, {0x34, 0x0F});  // BIT $0F,X
    x = 1;
    step(0x1000);
    EXPECT_EQ(p & (N | V | Z), V);
}

TEST_F(CpuTest, CompareSetsCarryZeroNegative) {
    struct { int op; uint8_t reg; int m; uint8_t flags; } cases[] = {
        {0xC9, 0x40, 0x40, Z | C},
        {0xC9, 0x40, 0x41, N},
        {0xC9, 0x41, 0x40, C},
        {0xC9, 0x00, 0xFF, 0},
        {0xC9, 0xFF, 0x00, N | C},
        {0xE0, 0x10, 0x10, Z | C},
        {0xC0, 0x10, 0x20, N},
    };
    for (auto c : cases) {
        poke(0x1000, {c.op, c.m});
        a = x = y = c.reg;
        p = 0;
        step(0x1000);
        EXPECT_EQ(p & (N | Z | C), c.flags) << std::hex << c.op << " " << int(c.reg) << " " << c.m;
    }
}

TEST_F(CpuTest, LogicAndAnc) {
    poke(0x1000, {0x29, 0x0F, 0x09, 0x80, 0x49, 0xFF, 0x0B, 0x80, 0x2B, 0x7F});
    a = 0xF0;
    step(0x1000);
    EXPECT_EQ(a, 0x00);
    EXPECT_EQ(p & Z, Z);
    step(0x1002);
    EXPECT_EQ(a, 0x80);
    EXPECT_EQ(p & (N | Z), N);
    step(0x1004);
    EXPECT_EQ(a, 0x7F);
    a = 0xC1;
    p = 0;
    step(0x1006);  // ANC #$80
    EXPECT_EQ(a, 0x80);
    EXPECT_EQ(p & (N | Z | C), N | C);
    a = 0xC1;
    step(0x1008);  // ANC #$7F
    EXPECT_EQ(a, 0x41);
    EXPECT_EQ(p & (N | Z | C), 0);
}

TEST_F(CpuTest, LaxLoadsBoth) {
    poke(0x1000, {0xA7, 0x10});
    cpumem[0x10] = 0x9C;
    step(0x1000);
    EXPECT_EQ(a, 0x9C);
    EXPECT_EQ(x, 0x9C);
    EXPECT_EQ(p & N, N);
    poke(0x1000, {0xB7, 0x10});  // LAX $10,Y
    y = 1;
    cpumem[0x11] = 0x00;
    step(0x1000);
    EXPECT_EQ(x, 0x00);
    EXPECT_EQ(p & Z, Z);
}

TEST_F(CpuTest, RegisterIncrementsWrap) {
    poke(0x1000, {0xE8, 0xC8, 0xCA, 0x88, 0x1A, 0x3A});
    x = 0xFF;
    step(0x1000);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(p & Z, Z);
    y = 0x7F;
    step(0x1001);
    EXPECT_EQ(y, 0x80);
    EXPECT_EQ(p & N, N);
    x = 0;
    step(0x1002);
    EXPECT_EQ(x, 0xFF);
    y = 1;
    step(0x1003);
    EXPECT_EQ(y, 0);
    a = 0xFF;
    step(0x1004);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(p & Z, Z);
    step(0x1005);
    EXPECT_EQ(a, 0xFF);
    EXPECT_EQ(p & N, N);
}

TEST_F(CpuTest, ShiftsAndRotates) {
    struct { int op; uint8_t in; bool carry; uint8_t out; uint8_t flags; } cases[] = {
        {0x0A, 0x81, false, 0x02, C},          // ASL A
        {0x4A, 0x01, false, 0x00, Z | C},      // LSR A
        {0x2A, 0x80, true, 0x01, C},           // ROL A
        {0x2A, 0x40, false, 0x80, N},          // ROL A
        {0x6A, 0x01, true, 0x80, N | C},       // ROR A
        {0x6A, 0x02, false, 0x01, 0},          // ROR A
    };
    for (auto c : cases) {
        poke(0x1000, {c.op});
        a = c.in;
        p = c.carry ? C : 0;
        step(0x1000);
        EXPECT_EQ(a, c.out) << std::hex << c.op;
        EXPECT_EQ(p & (N | Z | C), c.flags) << std::hex << c.op;
    }
    struct { int op; uint8_t in; bool carry; uint8_t out; uint8_t flags; } memcases[] = {
        {0x06, 0x81, false, 0x02, C},
        {0x46, 0x80, true, 0x40, 0},
        {0x26, 0x7F, true, 0xFF, N},
        {0x66, 0x00, true, 0x80, N},
    };
    for (auto c : memcases) {
        poke(0x1000, {c.op, 0x20});
        cpumem[0x20] = c.in;
        p = c.carry ? C : 0;
        writes.clear();
        EXPECT_EQ(step(0x1000), 5u);
        EXPECT_EQ(cpumem[0x20], c.out) << std::hex << c.op;
        EXPECT_EQ(p & (N | Z | C), c.flags) << std::hex << c.op;
        EXPECT_EQ(writes.size(), 1u);
    }
}

TEST_F(CpuTest, FlagInstructionsTouchOnlyTheirBit) {
    struct { int op; uint8_t before; uint8_t after; } cases[] = {
        {0x18, 0xFF, 0xFE}, {0x38, 0x30, 0x31}, {0xD8, 0xFF, 0xF7}, {0xF8, 0x30, 0x38},
        {0x58, 0xFF, 0xFB}, {0x78, 0x30, 0x34}, {0xB8, 0xFF, 0xBF},
    };
    for (auto c : cases) {
        poke(0x1000, {c.op});
        p = c.before;
        step(0x1000);
        EXPECT_EQ(p, c.after) << std::hex << c.op;
    }
}

TEST_F(CpuTest, UnlistedOpcodesAreOneByteNops) {
    std::vector<int> nops = {0xEA, 0x44, 0x54, 0x5C, 0xD4, 0xDC, 0xF4, 0xFC, 0x82, 0xC2, 0xE2};
    for (int lo : {0x3, 0x7, 0xB, 0xF})
        for (int hi = 0; hi < 16; ++hi)
            if (hi * 16 + lo != 0xA3 && hi * 16 + lo != 0xA7 && hi * 16 + lo != 0xAF &&
                hi * 16 + lo != 0xB3 && hi * 16 + lo != 0xB7 && hi * 16 + lo != 0xBF &&
                hi * 16 + lo != 0x0B && hi * 16 + lo != 0x2B)
                nops.push_back(hi * 16 + lo);
    for (int op : nops) {
        poke(0x1000, {op, 0xA9, 0x55});
        a = 0x11;
        x = 0x22;
        y = 0x33;
        s = 0x44;
        p = 0x30;
        cpumem[0x55] = 0x66;
        cpumem[0xA955] = 0x66;
        EXPECT_EQ(step(0x1000), 2u) << std::hex << op;
        EXPECT_EQ(pc, 0x1001) << std::hex << op;
        EXPECT_EQ(a, 0x11);
        EXPECT_EQ(x, 0x22);
        EXPECT_EQ(y, 0x33);
        EXPECT_EQ(s, 0x44);
        EXPECT_EQ(p, 0x30) << std::hex << op;
        EXPECT_TRUE(writes.empty());
    }
    EXPECT_EQ(nops.size(), 67u);  // 0xEA and the 66 unlisted ones, 0xCB among them
}

// --- Arithmetic -------------------------------------------------------------------

uint8_t adc(uint8_t acc, uint8_t m, uint8_t flags) {
    cpu::cpumem[0x1000] = 0x69;
    cpu::cpumem[0x1001] = m;
    cpu::a = acc;
    cpu::p = flags;
    cpu::pc = 0x1000;
    cpu::cpuhalted = false;
    cpu::cpurun(1);
    return cpu::a;
}

uint8_t sbc(uint8_t acc, uint8_t m, uint8_t flags) {
    cpu::cpumem[0x1000] = 0xE9;
    cpu::cpumem[0x1001] = m;
    cpu::a = acc;
    cpu::p = flags;
    cpu::pc = 0x1000;
    cpu::cpuhalted = false;
    cpu::cpurun(1);
    return cpu::a;
}

TEST_F(CpuTest, BinaryAddWithCarryAndOverflow) {
    EXPECT_EQ(adc(0x50, 0x50, 0), 0xA0);
    EXPECT_EQ(p & (N | V | Z | C), N | V);
    EXPECT_EQ(adc(0xD0, 0x90, 0), 0x60);
    EXPECT_EQ(p & (N | V | Z | C), V | C);
    EXPECT_EQ(adc(0xFF, 0x00, C), 0x00);
    EXPECT_EQ(p & (N | V | Z | C), Z | C);
    EXPECT_EQ(adc(0x01, 0x01, C), 0x03);
    EXPECT_EQ(p & (N | V | Z | C), 0);
}

TEST_F(CpuTest, BinarySubtractWithBorrowAndOverflow) {
    EXPECT_EQ(sbc(0x50, 0xF0, C), 0x60);
    EXPECT_EQ(p & (N | V | Z | C), 0);
    EXPECT_EQ(sbc(0x50, 0xB0, C), 0xA0);
    EXPECT_EQ(p & (N | V | Z | C), N | V);
    EXPECT_EQ(sbc(0x05, 0x05, C), 0x00);
    EXPECT_EQ(p & (N | V | Z | C), Z | C);
    EXPECT_EQ(sbc(0x05, 0x05, 0), 0xFF);
    EXPECT_EQ(p & (N | V | Z | C), N);
}

TEST_F(CpuTest, DecimalAddEdgeCases) {
    EXPECT_EQ(adc(0x09, 0x01, D), 0x10);
    EXPECT_EQ(p & C, 0);
    EXPECT_EQ(adc(0x99, 0x01, D), 0x00);
    EXPECT_EQ(p & C, C);
    EXPECT_EQ(p & Z, 0);  // Z from the binary sum 0x9A
    EXPECT_EQ(p & N, N);  // N from the decimal intermediate 0xA0
    EXPECT_EQ(adc(0x58, 0x46, D | C), 0x05);
    EXPECT_EQ(p & C, C);
    EXPECT_EQ(adc(0x12, 0x34, D), 0x46);
    EXPECT_EQ(p & (N | Z | C), 0);
    EXPECT_EQ(adc(0x00, 0x00, D), 0x00);
    EXPECT_EQ(p & Z, Z);
}

TEST_F(CpuTest, DecimalSubtractEdgeCases) {
    EXPECT_EQ(sbc(0x10, 0x01, D | C), 0x09);
    EXPECT_EQ(p & C, C);
    EXPECT_EQ(sbc(0x00, 0x01, D | C), 0x99);
    EXPECT_EQ(p & C, 0);
    EXPECT_EQ(p & N, N);  // from the binary difference 0xFF
    EXPECT_EQ(sbc(0x46, 0x12, D), 0x33);
    EXPECT_EQ(p & C, C);
    EXPECT_EQ(sbc(0x40, 0x40, D | C), 0x00);
    EXPECT_EQ(p & (Z | C), Z | C);
}

}  // namespace
