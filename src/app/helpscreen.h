// The banner, the key list, the list of registered players and the keys
// that every program shares below it.
#pragma once

namespace shell {

// Prints from the current cursor position and presents the frame.
void helpscreen();

}  // namespace shell
