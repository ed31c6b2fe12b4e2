// The play screen's key pieces.
#include "app/playkeys.h"

#include "app/continuous.h"
#include "app/helpscreen.h"
#include "core/playback.h"
#include "app/playscreen.h"
#include "screen/console.h"
#include "screen/video.h"
#include "synth/voice.h"

namespace shell {

namespace {

void restart()
{
    core::tickpos = 0;
    core::playedframes = 0;
}

void togglehelp()
{
    clearlowerarea();
    if (displaymode < 2) {
        displaymode = static_cast<uint8_t>(displaymode + 2);
        screen::congotoxy(0, 17);
        screen::curattr = 7;
        helpscreen();
    } else {
        displaymode &= 1;
    }
}

}  // namespace

void clearlowerarea()
{
    screen::confillrows(17, 33, 0);
    for (int y = 136; y <= 391; ++y)
        for (int x = 0; x < screen::framewidth; ++x) screen::framebuf[y * screen::framewidth + x] = 0;
}

bool commonplaykey(const SDL_keysym& key)
{
    switch (key.sym) {
    case SDLK_TAB:
        displaymode = static_cast<uint8_t>(1 - (displaymode & 1));
        clearlowerarea();
        return true;
    case SDLK_RETURN:
        // Alt+Enter never gets here: the play screen hands it to the view.
        restart();
        return true;
    case SDLK_ESCAPE:
        core::quitplay = true;
        return true;
    case SDLK_h:
        togglehelp();
        return true;
    case SDLK_c:
        togglecontinuous();
        return true;
    case SDLK_UP:
        if (core::lastsong > 0 && core::cursong > 0) core::cursong = static_cast<uint8_t>(core::cursong - 1);
        return true;
    case SDLK_DOWN:
        if (core::lastsong > 0 && core::cursong < core::lastsong) core::cursong = static_cast<uint8_t>(core::cursong + 1);
        return true;
    case SDLK_RIGHT: {
        const uint16_t rate = core::tickrate;
        core::tickpos = core::tickpos + rate;
        core::playedframes.add(static_cast<uint64_t>(rate) * core::samplespertick);
        return true;
    }
    case SDLK_LEFT:
        restart();
        return true;
    default:
        return false;
    }
}

bool mutekey(const SDL_keysym& key, std::span<const SDLKey> keys)
{
    for (size_t v = 0; v < keys.size(); ++v) {
        if (key.sym != keys[v]) continue;
        synth::voicemute(static_cast<int>(v), !synth::voicemuted(static_cast<int>(v)));
        return true;
    }
    return false;
}

}  // namespace shell
