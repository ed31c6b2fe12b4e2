// tarplay_pd's SID register model keeps the play screen's mute switches
// for its three voices (its voices have no mute flag of their own), and a
// hold flag per voice that keeps a noise note's noise through the tick.
#pragma once

#include <array>

#include "common/relaxed.h"

namespace sid {

extern std::array<relaxed<bool>, 3> sidmutes;
extern std::array<bool, 3> holdflags;

}  // namespace sid
