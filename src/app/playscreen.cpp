// The play screen's life: loading the tune, the loop with its redraw clock,
// the keys and mouse actions, and the orderly end.
#include "app/playscreen.h"

#include <SDL.h>

#include "app/audio.h"
#include "app/helpscreen.h"
#include "app/playback.h"
#include "screen/console.h"
#include "screen/video.h"
#include "synth/synth.h"
#include "synth/wave.h"

namespace shell {

uint8_t displaymode = 1;
uint16_t scopescale = 1;
playlayout layout;
uint32_t displaytick = 0;
uint32_t lastscrolltick = 0;
uint16_t scrollpos = 0;
uint16_t scrollstep = 0;

namespace {

uint32_t gatheredms = 0;
uint32_t lastreading = 0;

constexpr size_t namelimit = 28;

const playerrec* currentplayer()
{
    return &players[curplayer.load() & 7];
}

// Clears the lower display area, text and pixels, before another view
// takes it over.
void clearlowerarea()
{
    screen::confillrows(17, 33, 0);
    for (int y = 136; y <= 391; ++y)
        for (int x = 0; x < screen::framewidth; ++x) screen::framebuf[y * screen::framewidth + x] = 0;
}

void restart()
{
    tickpos = 0;
    playedframes = 0;
}

void handlekey(const SDL_keysym& key)
{
    switch (key.sym) {
    case SDLK_TAB:
        displaymode = static_cast<uint8_t>(1 - (displaymode & 1));
        clearlowerarea();
        break;
    case SDLK_RETURN:
        if (key.mod & KMOD_ALT)
            screen::setvideomode(true);
        else
            restart();
        break;
    case SDLK_ESCAPE:
        quitplay = true;
        break;
    case SDLK_SPACE:
    case SDLK_t:  // the key the help screen names for it
        synth::wavepair();
        break;
    case SDLK_e:
        synth::waverandomsrc();
        break;
    case SDLK_r:
        synth::waverandomdst();
        break;
    case SDLK_q:
        synth::waveclearsrc();
        break;
    case SDLK_w:
        synth::wavecleardst();
        break;
    case SDLK_h:
        clearlowerarea();
        if (displaymode < 2) {
            displaymode = static_cast<uint8_t>(displaymode + 2);
            screen::congotoxy(0, 17);
            screen::curattr = 7;
            helpscreen();
        } else {
            displaymode &= 1;
        }
        break;
    case SDLK_i:
        synth::voices[0].muted = synth::voices[0].muted ? 0 : 1;
        break;
    case SDLK_o:
        synth::voices[1].muted = synth::voices[1].muted ? 0 : 1;
        break;
    case SDLK_p:
        synth::voices[2].muted = synth::voices[2].muted ? 0 : 1;
        break;
    case SDLK_UP:
        if (lastsong > 0 && cursong > 0) cursong = static_cast<uint8_t>(cursong - 1);
        break;
    case SDLK_DOWN:
        if (lastsong > 0 && cursong < lastsong) cursong = static_cast<uint8_t>(cursong + 1);
        break;
    case SDLK_RIGHT: {
        const uint16_t rate = tickrate;
        tickpos = tickpos + rate;
        playedframes.add(static_cast<uint64_t>(rate) * samplespertick);
        break;
    }
    case SDLK_LEFT:
        restart();
        break;
    default:
        break;
    }
}

}  // namespace

std::string shortname(const std::string& name)
{
    if (name.size() <= namelimit) return name;
    return "..." + name.substr(name.size() - namelimit);
}

playlayout makelayout(int lastvoice)
{
    playlayout l;
    const int voices = lastvoice + 1;
    l.columnwidth = 80 / voices;
    l.wide = lastvoice < 4;
    l.baroffset = 3 * (l.wide ? 1 : 0) + 4;
    l.barspacing = (l.wide ? 1 : 0) + 2;
    l.leftmargin = (l.columnwidth - l.baroffset - 2 * l.barspacing) / 2;
    l.spacer = l.wide ? " " : "";
    l.gapa = l.wide ? "r" : "";
    l.gapb = l.wide ? "\xDC" : "";
    l.emptynote = l.wide ? "===" : "==";
    return l;
}

void resetdisplaycounters()
{
    scrollstep = 0;
    scrollpos = 0;
    displaytick = 0;
    lastscrolltick = 0;
}

bool redrawdue(uint32_t now)
{
    gatheredms += now >= lastreading ? now - lastreading : lastreading - now;
    lastreading = now;
    if (gatheredms <= 20) return false;
    gatheredms = 0;
    return true;
}

bool playstart()
{
    const playerrec* player = currentplayer();
    if (!player->load || !player->load(filename)) return false;

    quitplay = false;
    measuredrate = 0;
    secondticks = 0;
    secondframes = 0;
    displaymode &= 1;
    filename = shortname(filename);
    tickpos = 0;
    playedframes = 0;
    resetdisplaycounters();

    layout = makelayout(synth::lastvoice & 7);
    for (int i = 0; i <= (synth::lastvoice & 7); ++i) synth::voices[i].phase = 0;
    drawplayframe();

    scopescale = 1;
    gatheredms = 0;
    lastreading = 0;
    // Last: from here on the audio thread ticks the player.
    silent = false;
    return true;
}

void checkrestart()
{
    if (displaytick >= lastscrolltick) return;
    lastscrolltick = tickpos;
    displaytick = lastscrolltick;
    screen::curattr = 0;
    screen::confillrows(17, 33, 0);
    scopescale = 1;
}

void playevent(const SDL_Event& ev)
{
    switch (ev.type) {
    case SDL_MOUSEMOTION:
        synth::wavemouse(synth::wavemousekind::motion, ev.motion.x, ev.motion.y, 0, ev.motion.state);
        break;
    case SDL_MOUSEBUTTONDOWN:
        synth::wavemouse(synth::wavemousekind::buttondown, ev.button.x, ev.button.y, ev.button.button, 0);
        break;
    case SDL_KEYDOWN:
        handlekey(ev.key.keysym);
        break;
    default:
        break;
    }
}

void playpass()
{
    SDL_Delay(1);
    if (redrawdue(SDL_GetTicks())) playredraw();
    if (SDL_PollEvent(&screen::event)) playevent(screen::event);
    // A failure raised on the audio thread, which must not wait for a key.
    std::string msg;
    if (takemessage(msg)) {
        const uint8_t colour = screen::curattr;
        screen::messagebox(msg, 0x4F, true);
        screen::curattr = colour;
        restoreplayframe();
    }
    checkrestart();
}

void playend()
{
    screen::connewline();
    silent = true;
    // A callback already under way finishes its block before stop runs.
    SDL_LockAudio();
    SDL_UnlockAudio();
    const playerrec* player = currentplayer();
    if (player->stop) player->stop();
}

void playscreen()
{
    if (!playstart()) return;
    while (!quitplay) playpass();
    playend();
}

}  // namespace shell
