// The play screen's keys, in pieces that each program combines in its own
// key handler. Each returns true when it took the key.
#pragma once

#include <SDL.h>

#include <span>

namespace shell {

// Tab, h, c (continuous play), Return, Escape, Up, Down, Right, Left. The
// view's keys (Alt+Enter, Alt+digits) are taken before any of these.
bool commonplaykey(const SDL_keysym& key);

// Toggles the mute flag of voice i for the key keys[i].
bool mutekey(const SDL_keysym& key, std::span<const SDLKey> keys);

// Clears the lower display area, text and pixels, before another view
// takes it over.
void clearlowerarea();

}  // namespace shell
