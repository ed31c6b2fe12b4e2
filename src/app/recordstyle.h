// How a recording shows its progress and whether a key ends it early,
// chosen at link time: a bar under the percentage, any key or mouse click
// stops (tarplay, tarplay8: recordstyle_bar.cpp), or the percentage alone,
// running to the tune's end (tarplay_pd: recordstyle_digits.cpp).
#pragma once

#include "core/tuneclock.h"

namespace shell {

// Draws what the style adds to the percentage in the box of length len
// whose text starts at column boxx + 1.
void recordbar(int boxx, int len, const core::clockreading& at);

// Whether the user ended the recording (takes the waiting event).
bool recordstopped();

}  // namespace shell
