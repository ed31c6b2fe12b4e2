// tarplay_pd's window: a plain surface, and only a key ends a wait (a mouse
// click does not dismiss a message box).
#include "screen/videoflavour.h"

namespace screen {

const uint32_t windowflags = 0;

bool endswait(const SDL_Event& event)
{
    return event.type == SDL_KEYDOWN;
}

}  // namespace screen
