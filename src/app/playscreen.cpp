// The play screen's life: loading the tune, the loop with its redraw clock,
// the keys and mouse actions, and the orderly end.
#include "app/playscreen.h"

#include <SDL.h>

#include <algorithm>

#include "app/audiolife.h"
#include "app/continuous.h"
#include "core/playback.h"
#include "core/tuneclock.h"
#include "screen/console.h"
#include "screen/video.h"
#include "app/program.h"
#include "synth/synth.h"

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

int shownlastvoice()
{
    return std::min<int>(synth::lastvoice, synth::voicecount - 1);
}

void resetdisplaycounters()
{
    scrollstep = 0;
    scrollpos = 0;
    displaytick = 0;
    lastscrolltick = 0;
}

namespace {

uint32_t sincereading(uint32_t now)
{
    return now >= lastreading ? now - lastreading : lastreading - now;
}

}  // namespace

uint32_t msuntilredraw(uint32_t now)
{
    const uint32_t gathered = gatheredms + sincereading(now);
    return gathered > 20 ? 0 : 21 - gathered;
}

bool redrawdue(uint32_t now)
{
    gatheredms += sincereading(now);
    lastreading = now;
    if (gatheredms <= 20) return false;
    gatheredms = 0;
    return true;
}

bool playstart()
{
    const core::playerrec& player = core::currentplayer();
    core::tunenotes = core::ttunenotes{};
    forgetnotes();
    if (!player.load || !player.load(core::filename)) return false;
    if (!audioopen()) return false;

    core::quitplay = false;
    core::tuneended = false;
    core::recording = false;
    displaymode &= 1;
    core::filename = shortname(core::filename);
    core::tickpos = 0;
    core::playedframes = 0;
    core::clockrestart();
    resetdisplaycounters();

    layout = makelayout(shownlastvoice());
    for (int i = 0; i <= shownlastvoice(); ++i) synth::voicephasereset(i);
    drawplayframe();

    scopescale = 1;
    gatheredms = 0;
    lastreading = 0;
    audiorun();
    return true;
}

void checkrestart()
{
    if (displaytick >= lastscrolltick) return;
    lastscrolltick = core::tickpos;
    displaytick = lastscrolltick;
    screen::curattr = 0;
    screen::confillrows(17, 33, 0);
    scopescale = 1;
}

void playevent(const SDL_Event& ev)
{
    switch (ev.type) {
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
        program::playmouse(ev);
        break;
    case SDL_KEYDOWN:
        // The view's keys come first: with Alt held, no digit reaches a
        // program's mute or wave keys.
        if (!screen::viewkey(ev.key.keysym)) program::playkey(ev.key.keysym);
        break;
    default:
        break;
    }
}

void playpass()
{
    // Asleep until the next redraw is due, then every event that came
    // meanwhile: a key waits at most one redraw period.
    const uint32_t wait = msuntilredraw(SDL_GetTicks());
    if (wait > 0) SDL_Delay(wait);
    if (redrawdue(SDL_GetTicks())) playredraw();
    while (!core::quitplay && SDL_PollEvent(&screen::event))
        if (screen::mapmouse(screen::event)) playevent(screen::event);
    continuousstep();
    // A failure raised on the audio thread, which must not wait for a key.
    std::string msg;
    if (core::takemessage(msg)) {
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
    audioend();
}

void playrun()
{
    while (!core::quitplay) playpass();
    playend();
}

void playscreen()
{
    if (playstart()) playrun();
}

}  // namespace shell
