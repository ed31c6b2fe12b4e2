// Whole 6502 programs, assembled by the build, run through the call
// sequence: a decimal-mode sweep against an arithmetic reference, stack and
// subroutine use, cycle counting of copy loops, branches across pages.
#include "players/sid/cpu_fixture.h"

namespace {

using cputest::CpuTest;
using cputest::loadprogram;
using cputest::writes;
using namespace cpu;

// Decimal ADC and SBC of the NMOS chip as the player models them: 16-bit
// intermediates; the flags that the decimal correction does not set come
// from the binary result. Returns the result, stores NVZC in flags.
int refadc(int acc, int m, int carry, int& flags) {
    int binary = (acc + m + carry) & 0xFFFF;
    int v = (~(acc ^ m) & (acc ^ binary) & 0x80) ? 0x40 : 0;
    int z = (binary & 0xFF) == 0 ? 0x02 : 0;
    int low = (acc & 0x0F) + (m & 0x0F) + carry;
    if (low > 9)
        low += 6;
    int total = (low & 0x0F) + (acc & 0xF0) + (m & 0xF0) + (low >= 0x10 ? 0x10 : 0);
    int n = total & 0x80;
    if ((total & 0x1F0) > 0x90)
        total += 0x60;
    int c = (total & 0xFF0) > 0xF0 ? 0x01 : 0;
    flags = n | v | z | c;
    return total & 0xFF;
}

int refsbc(int acc, int m, int carry, int& flags) {
    int borrow = 1 - carry;
    int binary = (acc - m - borrow) & 0xFFFF;
    int v = ((acc ^ binary) & (acc ^ m) & 0x80) ? 0x40 : 0;
    int low = ((acc & 0x0F) - (m & 0x0F) - borrow) & 0xFFFF;
    int r;
    if (low & 0x10)
        r = (((acc & 0xF0) - (m & 0xF0) - 0x10) & 0xFFFF) | ((low - 6) & 0x0F);
    else
        r = (((acc & 0xF0) - (m & 0xF0)) & 0xFFFF) | (low & 0x0F);
    if (r & 0x100)
        r -= 0x60;
    flags = (binary & 0x80) | v | ((binary & 0xFF) == 0 ? 0x02 : 0) | (binary < 0x100 ? 0x01 : 0);
    return r & 0xFF;
}

int bcd(int n) { return (n / 10) * 16 + n % 10; }

TEST(DecimalReference, AgreesWithDecimalArithmeticOnValidDigits) {
    // The reference itself, checked on the inputs where decimal arithmetic
    // has an obvious answer.
    for (int i = 0; i < 100; ++i)
        for (int j = 0; j < 100; ++j)
            for (int c = 0; c < 2; ++c) {
                int flags;
                EXPECT_EQ(refadc(bcd(i), bcd(j), c, flags), bcd((i + j + c) % 100));
                EXPECT_EQ(flags & 1, i + j + c >= 100 ? 1 : 0);
                EXPECT_EQ(refsbc(bcd(i), bcd(j), c, flags), bcd((i - j - (1 - c) + 100) % 100));
                EXPECT_EQ(flags & 1, i - j - (1 - c) >= 0 ? 1 : 0);
            }
}

TEST_F(CpuTest, DecimalSweepMatchesReference) {
    uint16_t load = loadprogram("decimal");
    ASSERT_EQ(load, 0x1000);
    int mismatches = 0;
    for (int m = 0; m < 256; ++m) {
        cpumem[0x02] = static_cast<uint8_t>(m);
        ASSERT_TRUE(cpucall(0x1000, 0, 1 << 20)) << "operand " << m;
        for (int acc = 0; acc < 256; ++acc) {
            for (int k = 0; k < 4; ++k) {
                int carry = k & 1;
                int flags;
                int want = (k < 2) ? refadc(acc, m, carry, flags) : refsbc(acc, m, carry, flags);
                int at = 0x4000 + acc * 8 + k * 2;
                // PHP pushes B and bit 5 set; D is set throughout the sweep.
                int wantp = flags | 0x38;
                if (cpumem[at] != want || cpumem[at + 1] != wantp) {
                    if (++mismatches <= 10)
                        ADD_FAILURE() << (k < 2 ? "ADC " : "SBC ") << std::hex << acc << ", " << m
                                      << " carry " << carry << ": got " << int(cpumem[at]) << "/"
                                      << int(cpumem[at + 1]) << " want " << want << "/" << wantp;
                }
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST_F(CpuTest, SubroutinesAndStack) {
    ASSERT_EQ(loadprogram("stack"), 0x1000);
    ASSERT_TRUE(cpucall(0x1000, 0, 1 << 20));
    EXPECT_EQ(cpumem[0x10], 0xFD);  // after the two pushed return bytes
    EXPECT_EQ(cpumem[0x11], 0x77);
    EXPECT_EQ(cpumem[0x12], 0x55);
    EXPECT_EQ(cpumem[0x13], 0x66);
    for (int n = 0; n <= 20; ++n)
        EXPECT_EQ(cpumem[0x4000 + 2 * n] + 256 * cpumem[0x4001 + 2 * n], n * (n + 1) / 2) << n;
    for (int n = 1; n <= 60; ++n)
        EXPECT_EQ(cpumem[0x4100 + n], n) << n;
    EXPECT_EQ(cpumem[0x14], 0xFD);
    // JSR deep from the top level, then 60 levels of PHA + JSR.
    EXPECT_EQ(cpumem[0x15], 0xFD - 2 - 60 * 3);
    EXPECT_EQ(s, 0xFF);  // the final RTS took the call's return address
}

TEST_F(CpuTest, CopyLoopsCountCycles) {
    ASSERT_EQ(loadprogram("copy"), 0x1000);
    for (int i = 0; i < 0x200; ++i)
        cpumem[0x2000 + i] = static_cast<uint8_t>(i * 7 + 3);
    ASSERT_TRUE(cpucall(0x1000, 0, 1 << 20));
    for (int i = 0; i < 0x100; ++i) {
        EXPECT_EQ(cpumem[0x3000 + i], cpumem[0x2000 + i]) << i;
        EXPECT_EQ(cpumem[0x3180 + i], cpumem[0x2080 + i]) << i;
    }
    // 512 copied bytes and four pointer bytes, every one through the hook.
    EXPECT_EQ(writes.size(), 516u);

    // The backward branches compare 0xFF with PC's high byte 0x10: taken
    // branches cost 2 + 1 + 1.
    uint32_t expected = 3;  // LDX #0
    for (int i = 0; i < 256; ++i) {
        expected += (i != 0) ? 5 : 4;  // LDA abs,X
        expected += 5;                 // STA abs,X
        expected += 2;                 // INX
        expected += (i != 255) ? 4 : 2;
    }
    expected += 4 * (3 + 2);  // LDA #, STA zp
    expected += 3;            // LDY #0
    for (int i = 0; i < 256; ++i) {
        expected += (i != 0) ? 6 : 5;  // LDA (zp),Y
        expected += 6;                 // STA (zp),Y
        expected += 2;                 // INY
        expected += (i != 255) ? 4 : 2;
    }
    expected += 6 + 7;  // RTS, BRK
    EXPECT_EQ(cpucycles, expected);
}

TEST_F(CpuTest, BranchesAcrossPages) {
    ASSERT_EQ(loadprogram("branch"), 0x10C0);
    ASSERT_TRUE(cpucall(0x10C0, 0, 10000));
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(cpumem[0x0400 + i], i + 1) << i;
    EXPECT_EQ(cpumem[0x0408], 0);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(pc, 0x0002);
}

TEST_F(CpuTest, ProgramsSurviveAnyStartingPoint) {
    // Entering an assembled program at every byte must end by BRK, JAM or
    // budget, never outside memory; the run result is not the point here.
    ASSERT_EQ(loadprogram("branch"), 0x10C0);
    auto image = cpumem;
    for (int start = 0x10C0; start < 0x1140; ++start) {
        cpumem = image;
        cpucall(static_cast<uint16_t>(start), 0, 5000);
        EXPECT_TRUE(cpuhalted);
    }
}

}  // namespace
