#include "app/system.h"

#include <SDL.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/audio.h"
#include "app/audiolife.h"
#include "app/helpscreen.h"
#include "app/playback.h"
#include "app/playscreen.h"
#include "app/program.h"
#include "app/wavrecord.h"
#include "screen/console.h"
#include "screen/video.h"
#include "selector/dirlist.h"
#include "selector/selector.h"
#include "synth/synth.h"

namespace shell {

namespace {

// Start-up failures happen before there is a window to show them in.
[[noreturn]] void startupfailure(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
    SDL_Quit();
    std::exit(254);
}

}  // namespace

std::string sdlerror()
{
    const char* e = SDL_GetError();
    return e ? e : "";
}

bool openaudiodevice()
{
    SDL_AudioSpec desired{};
    desired.freq = synth::samplerate;
    desired.format = AUDIO_S16LSB;
    desired.channels = 2;
    desired.samples = 2048;
    desired.callback = audiocallback;
    desired.userdata = nullptr;
    return SDL_OpenAudio(&desired, nullptr) >= 0;
}

void initsystem()
{
    synth::samplerate = synth::nativerate;
    synth::buildtables();
    selector::selectorinit();

    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_AUDIO) < 0)
        sdlinitfailed("?SDL: " + sdlerror() + "  ERROR");
    // SDL turns an interrupt or termination signal into a window-close
    // event, which the screens ignore; Ctrl+C in a terminal and a plain kill
    // must still end the program.
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);

    screen::screenrows = 50;
    screen::setvideomode(false);
    if (!screen::surface) startupfailure("Could not init video mode: " + sdlerror());

    SDL_WM_SetCaption(program::caption, program::icontitle);
    SDL_EnableKeyRepeat(300, 30);

    audiostartup();
    program::startup();
}

int programmain()
{
    initsystem();

    screen::conclear();
    helpscreen();
    while (!screen::pollkey()) SDL_Delay(20);

    running = true;
    while (running) {
        running = selector::fileselector(filename);
        screen::presentframe();
        if (running) {
            if (selector::recordrequest) {
                recordwav();
            } else {
                cursong = 0;
                playscreen();
            }
        }
        screen::presentframe();
    }

    shutdownsystem();
    screen::curattr = 7;
    return 0;
}

}  // namespace shell
