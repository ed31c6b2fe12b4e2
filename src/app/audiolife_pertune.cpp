// No device until a tune is loaded: the play screen opens it for the tune
// and closes it after, and a device that cannot be opened sends the user
// back to the selector, where WAV output still works.
#include <SDL.h>

#include "app/audiolife.h"
#include "app/system.h"
#include "core/audio.h"
#include "core/shared.h"
#include "screen/console.h"

namespace shell {

void audiostartup() {}

// The program ends as it is: no SDL_Quit, no return to a window.
void shutdownsystem() {}

bool audioopen()
{
    if (openaudiodevice(core::pertunecallback)) return true;
    screen::messagebox("?Audio: " + sdlerror() + "  ERROR", 0x4F, true);
    return false;
}

void audiorun()
{
    SDL_PauseAudio(0);
}

// Closing the device waits for a callback under way; the player is not
// stopped.
void audioend()
{
    SDL_CloseAudio();
}

// The device is closed whenever the selector runs: nothing to keep away.
// The recording shares the device's countdown, so the tune played next
// starts where the recording left it, as after a tune played.
void recordprepare()
{
    core::tickcountdown = 0;
}

void recordblock(uint8_t* buffer, int len)
{
    core::pertunecallback(nullptr, buffer, len);
}

std::string ratetext()
{
    return screen::inttostr(core::tickrate, 3) + "hz";
}

std::string uptimetext()
{
    return {};
}

}  // namespace shell
