// The device opened once at start-up and running to the end, silent while
// no tune plays; its callback measures the tick rate and keeps the uptime.
#include <SDL.h>

#include "app/audiolife.h"
#include "app/playscreen.h"
#include "app/system.h"
#include "core/audio.h"
#include "core/playback.h"
#include "screen/console.h"
#include "screen/video.h"
#include "selector/dirlist.h"
#include "synth/synth.h"

namespace shell {

void audiostartup()
{
    if (!openaudiodevice(core::devicecallback)) {
        screen::messagebox("?Audio: " + sdlerror() + "  ERROR", 0x4F, true);
        startupexit();
    }
    SDL_PauseAudio(0);
}

void shutdownsystem()
{
    if (screen::fullscreen) screen::setvideomode(true);
    SDL_Quit();
    selector::selectordone();
}

bool audioopen()
{
    return true;
}

void audiorun()
{
    core::measuredrate = 0;
    core::secondticks = 0;
    core::secondframes = 0;
    // Last: from here on the audio thread ticks the player.
    core::silent = false;
}

namespace {

// The callback stays away from the player from here on: a callback already
// under way finishes its block before this returns.
void keepaudioaway()
{
    core::silent = true;
    SDL_LockAudio();
    SDL_UnlockAudio();
}

}  // namespace

void audioend()
{
    keepaudioaway();
    const core::playerrec& player = core::currentplayer();
    if (player.stop) player.stop();
}

void recordprepare()
{
    keepaudioaway();
    // The first frame starts with a tick, so every recording is the same.
    core::renderblockcountdown = 0;
}

void recordblock(uint8_t* buffer, int len)
{
    core::renderblock(nullptr, buffer, len);
}

std::string ratetext()
{
    const uint32_t rate = core::measuredrate ? core::measuredrate.load() : core::secondticks.load();
    return screen::inttostr(static_cast<int32_t>(rate), 3) + "hz   ";
}

std::string uptimetext()
{
    const uint32_t seconds = synth::samplerate ? core::uptimeframes / synth::samplerate : 0;
    const uint32_t minutes = seconds / 60 % 1000;
    std::string text = " ";
    text += static_cast<char>('0' + minutes / 100);
    text += twodigits(minutes);
    text += ":" + twodigits(seconds % 60);
    return text;
}

}  // namespace shell
