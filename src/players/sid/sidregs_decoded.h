// The decoding register model's own state: the play screen's mute
// switches for the three SID voices (this program's voices have no mute
// flag of their own), and a hold flag per voice that keeps a noise note's
// noise through the tick.
#pragma once

#include <array>

#include "common/relaxed.h"

namespace sid {

extern std::array<relaxed<bool>, 3> sidmutes;
extern std::array<bool, 3> holdflags;

}  // namespace sid
