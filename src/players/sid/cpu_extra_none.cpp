// The plain processor of tarplay and tarplay_pd: 0xCB stays a NOP.
#include "players/sid/cpu_routines.h"

namespace cpu {

void cpuextraops() {}

}  // namespace cpu
