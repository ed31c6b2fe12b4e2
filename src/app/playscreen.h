// The play screen: loads the chosen tune, plays it and shows the voices.
#pragma once

#include <cstdint>

namespace shell {

extern uint8_t displaymode;  // bit 0: 0 notes, 1 oscilloscope; +2 while help shows
extern uint16_t scopescale;

// Resets the scrolling and display counters that the recorder also clears.
void resetdisplaycounters();

// Runs until the user leaves or the player sets quitplay.
void playscreen();

}  // namespace shell
