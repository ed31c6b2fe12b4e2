#include "app/system.h"

#include <SDL.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/audiolife.h"
#include "app/continuous.h"
#include "app/helpscreen.h"
#include "core/playback.h"
#include "app/playscreen.h"
#include "app/program.h"
#include "app/settings.h"
#include "app/wavrecord.h"
#include "screen/console.h"
#include "screen/video.h"
#include "selector/dirlist.h"
#include "selector/selector.h"
#include "synth/synth.h"

namespace shell {

bool running = false;

namespace {

// Two full blocks, the program's text padded to 67 columns, and a block
// fading out to the right edge.
std::string maketitlebar()
{
    std::string t = "\xDB\xDB";
    t += program::titletext;
    t.resize(69, ' ');
    t += "\xDB\xDB\xDB\xDB\xDB\xB2\xB2\xB2\xB1\xB1\xB0";
    return t;
}

}  // namespace

const std::string titlebar = maketitlebar();

namespace {

// The view keys changed the view: the window's scale and full screen are
// remembered for the next start.
void rememberview(bool scalechosen)
{
    if (scalechosen) settings::current.scale = screen::windowscale;
    settings::current.fullscreen = screen::fullscreen;
    settings::savesettings();
}

}  // namespace

void startupexit()
{
    SDL_Quit();
    std::exit(254);
}

// Start-up failures happen before there is a window to show them in.
void startupfailure(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
    startupexit();
}

std::string sdlerror()
{
    const char* e = SDL_GetError();
    return e ? e : "";
}

bool openaudiodevice(void (*callback)(void*, uint8_t*, int))
{
    SDL_AudioSpec desired{};
    desired.freq = synth::samplerate;
    desired.format = AUDIO_S16LSB;
    desired.channels = 2;
    desired.samples = 2048;
    desired.callback = callback;
    desired.userdata = nullptr;
    return SDL_OpenAudio(&desired, nullptr) >= 0;
}

void initsystem()
{
    settings::loadsettings();
    synth::samplerate = synth::nativerate;
    synth::buildtables();
    selector::selectorinit();
    selector::titleline = titlebar;

    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_AUDIO) < 0)
        startupfailure("?SDL: " + sdlerror() + "  ERROR");
    // SDL turns an interrupt or termination signal into a window-close
    // event, which the screens ignore; Ctrl+C in a terminal and a plain kill
    // must still end the program.
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);

    screen::screenrows = 50;
    // SDL reports the desktop's size only before the first mode is set.
    screen::readdesktop();
    screen::windowscale = settings::current.scale ? settings::current.scale : screen::fittingscale();
    screen::fullscreen = settings::current.fullscreen;
    screen::viewchanged = rememberview;
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
        running = selector::fileselector(core::filename);
        screen::presentframe();
        if (running) {
            if (selector::recordrequest) {
                recordwav();
            } else {
                core::cursong = 0;
                playscreen();
                playonwards();
            }
        }
        screen::presentframe();
    }

    shutdownsystem();
    screen::curattr = 7;
    return 0;
}

}  // namespace shell
