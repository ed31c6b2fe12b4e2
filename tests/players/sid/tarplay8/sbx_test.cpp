// tarplay8's processor: 0xCB is SBX, X := (A and X) - immediate, with the
// carry set as by CMP (no borrow) and N, Z from the result; two bytes, two
// cycles. Only the tarplay8 test program links this unit.
#include "../cpu_fixture.h"

namespace {

class SbxTest : public cputest::CpuTest {};

struct sbxcase {
    uint8_t a, x, m;
    uint8_t result;
    bool carry, zero, negative;
};

TEST_F(SbxTest, SubtractsFromAAndXWithCompareFlags)
{
    const sbxcase cases[] = {
        {0xFF, 0x0F, 0x05, 0x0A, true, false, false},   // 0x0F - 5
        {0xF0, 0x3C, 0x30, 0x00, true, true, false},    // equal: zero, no borrow
        {0x0F, 0xFF, 0x10, 0xFF, false, false, true},   // borrow wraps to 0xFF
        {0x00, 0xFF, 0x00, 0x00, true, true, false},    // A and X is 0, minus 0
        {0xAA, 0x55, 0x01, 0xFF, false, false, true},   // disjoint bits: 0 - 1
        {0xC0, 0xC0, 0x40, 0x80, true, false, true},
    };
    for (const sbxcase& c : cases) {
        poke(0x1000, {0xCB, c.m, 0xEA});
        cpu::a = c.a;
        cpu::x = c.x;
        cpu::y = 0x77;
        cpu::p = 0x20 | 0x40 | 0x08;  // V and D must stay as they are
        const uint32_t cycles = step(0x1000);
        EXPECT_EQ(cpu::x, c.result) << int(c.a) << " " << int(c.x) << " " << int(c.m);
        EXPECT_EQ(cpu::a, c.a);
        EXPECT_EQ(cpu::y, 0x77);
        EXPECT_EQ((cpu::p & 0x01) != 0, c.carry);
        EXPECT_EQ((cpu::p & 0x02) != 0, c.zero);
        EXPECT_EQ((cpu::p & 0x80) != 0, c.negative);
        EXPECT_EQ(cpu::p & 0x48, 0x48);
        EXPECT_EQ(cpu::pc, 0x1002) << "the immediate byte is taken";
        EXPECT_EQ(cycles, 2u);
    }
}

}  // namespace
