// The opcodes in which the programs' processors differ, chosen at link time:
// none beyond the documented set, 0xCB a NOP (tarplay, tarplay_pd:
// cpuextra_none.cpp), or SBX at 0xCB (tarplay8: cpuextra_sbx.cpp).
#pragma once

namespace cpu {

// Enters the unit's opcodes into the routine tables, after all others.
void cpuextraops();

}  // namespace cpu
