// The banner, the key list and the list of registered players.
#pragma once

namespace shell {

// Prints from the current cursor position and presents the frame.
void helpscreen();

}  // namespace shell
