// tarplay's and tarplay8's window: a hardware, double-buffered surface, and
// a key or a mouse button ends a wait.
#include "screen/videoflavour.h"

namespace screen {

const uint32_t windowflags = SDL_HWSURFACE | SDL_HWACCEL | SDL_DOUBLEBUF;

bool endswait(const SDL_Event& event)
{
    return event.type == SDL_KEYDOWN || event.type == SDL_MOUSEBUTTONDOWN;
}

}  // namespace screen
