// The two ways the programs meet the window, chosen at link time: the
// surface flags the window is opened with (besides SDL_FULLSCREEN), and
// which event ends a wait for a key.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace screen {

extern const uint32_t windowflags;

// Whether the event taken by pollkey ends a wait.
bool endswait(const SDL_Event& event);

}  // namespace screen
