// The plain processor of tarplay and tarplay_pd: 0xCB stays a NOP.
#include "players/sid/cpu_routines.h"
#include "players/sid/cpuextra.h"

namespace cpu {

void cpuextraops() {}

}  // namespace cpu
