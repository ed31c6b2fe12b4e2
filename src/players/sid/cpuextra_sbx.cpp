// tarplay8's processor knows one more undocumented opcode: SBX (0xCB),
// subtract an immediate from A and X into X, setting carry like CMP.
#include "players/sid/cpu_routines.h"
#include "players/sid/cpuextra.h"

namespace cpu {

void opsbx()
{
    const uint8_t m = operand();
    const uint32_t t = static_cast<uint32_t>(a & x) + 256u - m;
    setflag(flagc, t > 255);
    x = static_cast<uint8_t>(t & 0xFF);
    setzn(x);
}

void cpuextraops()
{
    modetab[0xCB] = modeimm;
    optab[0xCB] = opsbx;
    cycletab[0xCB] = 2;
}

}  // namespace cpu
