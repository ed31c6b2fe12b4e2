// How the SID register model hands the tune's writes to the voices, chosen
// at link time: the control byte passed to the renderer as it is, oscillator
// 3 and envelope 3 readable (tarplay, tarplay8: sidregs_passthrough.cpp),
// or the control byte decoded here into what its renderer reads, with the
// play screen's mute switches (tarplay_pd: sidregs_decoded.cpp).
#pragma once

#include <cstdint>

namespace sid {

// A control-register write of voice v, whether a frequency write of the
// voice whose registers start at base counts, whether voice v is switched
// off by the play screen, the cutoff table's entry for cutoff c, and what
// happens just before a play call.
void controlwrite(int v, uint8_t value);
bool frequencyaccepted(int base);
bool voiceswitchedoff(int v);
uint8_t cutoffentry(int c);
void beforeplay();

}  // namespace sid
