// What tarplay_pd adds to the shared shell: its caption, title and help
// text with the greetings, time kept in ticks by Return, Left and Right,
// the SID model's mute switches, and the 32-point wave editor with its
// sliders, multiplier, snap and link, drawn over the oscilloscope.
#include "app/program.h"

#include "core/playback.h"
#include "app/playkeys.h"
#include "app/playscreen.h"
#include "core/tuneclock_ticks.h"
#include "players/sid/sidregs_decoded.h"
#include "screen/video.h"
#include "synth/pd32/wave.h"

namespace program {

const char* const caption = "tarlin synth sound player b20091123";
const char* const icontitle = "tar/play_pd";
const char* const titletext = " TARLIN SNG-Player b20091123                              UNSTABLE ";
const char* const buildtag = "b20091123";

namespace {

const char* const keylines[] = {
    "Keyz: ",
    "          <H>: this help screen",
    "        <1-9>: load predef waves into src",
    "<SHIFT>+<1-9>: load predef waves into dst",
    "          <T>: swap src/dst wave",
    "        <TAB>: switch between note display/oscilloscope",
    "      <I/O/P>: mute channel 1/2/3 (only on SID)",
    "        <Q/W>: clear  source/dest waveform",
    "        <E/R>: random source/dest waveform",
    "          <L>: link wave-editor to all channels",
    "  <DOWN>/<UP>: next/prev subsong",
    "      <MOUSE>: modify waveform",
    "Keyz in Selector:",
    "          <S>: save song as .wav",
    "",
    "Greetz fly out to:",
    "  the SDL developers, the GNU toolchain, acme's makers,",
    "  the demoscene and every chip-music community",
    "  and all Chip-Music lovers",
};

// Time moves in whole seconds of ticks and never past either end: a step
// that would leave the tune goes back to its start.
bool timekey(const SDL_keysym& key)
{
    const uint32_t pos = core::tickpos;
    const uint32_t rate = core::tickrate;
    switch (key.sym) {
    case SDLK_RETURN:
        core::tickpos = 0;
        return true;
    case SDLK_RIGHT:
        core::tickpos = pos + rate < core::songticks ? pos + rate : 0;
        return true;
    case SDLK_LEFT:
        core::tickpos = pos > rate ? pos - rate : 0;
        return true;
    default:
        return false;
    }
}

bool editkey(const SDL_keysym& key)
{
    if (key.sym >= SDLK_1 && key.sym <= SDLK_9) {
        synth::mult = static_cast<uint8_t>(key.sym - SDLK_0);
        return true;
    }
    switch (key.sym) {
    case SDLK_SPACE:
        synth::snap = !synth::snap;
        return true;
    case SDLK_n:
        synth::link = true;
        return true;
    case SDLK_m:
        synth::link = false;
        return true;
    case SDLK_q:
        synth::waveclear(0);
        return true;
    case SDLK_w:
        synth::waveclear(1);
        return true;
    case SDLK_e:
        synth::waverandom(0);
        return true;
    case SDLK_r:
        synth::waverandom(1);
        return true;
    default:
        return false;
    }
}

bool sidmutekey(const SDL_keysym& key)
{
    const SDLKey keys[3] = {SDLK_i, SDLK_o, SDLK_p};
    for (size_t v = 0; v < 3; ++v) {
        if (key.sym != keys[v]) continue;
        sid::sidmutes[v] = !sid::sidmutes[v];
        return true;
    }
    return false;
}

// One wave in its half: each point a short line at its height, the two
// sliders as bars right of the points.
void drawwave(int w, uint8_t colour)
{
    const int left = 320 * w + 32;
    for (int i = 0; i < synth::wavepoints; ++i) {
        const int y = 391 - synth::waves[static_cast<size_t>(w)][static_cast<size_t>(i)];
        for (int x = 0; x < 7; ++x) shell::setpixel(left + 8 * i + x, y, colour);
    }
    const uint8_t sliders[2] = {synth::depth, synth::fbgain};
    for (int s = 0; s < 2; ++s)
        for (int y = 391 - sliders[s]; y <= 391; ++y)
            for (int x = 1; x < 15; ++x) shell::setpixel(left + 256 + 16 * s + x, y, screen::colourmap[12]);
}

}  // namespace

std::span<const char* const> helplines()
{
    return keylines;
}

void startup()
{
    synth::wavereset();
}

void playkey(const SDL_keysym& key)
{
    timekey(key) || editkey(key) || sidmutekey(key) || shell::commonplaykey(key);
}

void playmouse(const SDL_Event& ev)
{
    if (ev.type == SDL_MOUSEMOTION)
        synth::wavemouse(synth::wavemousekind::motion, ev.motion.x, ev.motion.y, 0, ev.motion.state);
    else if (ev.type == SDL_MOUSEBUTTONDOWN)
        synth::wavemouse(synth::wavemousekind::buttondown, ev.button.x, ev.button.y, ev.button.button, 0);
}

void scopeunder() {}

void scopeover()
{
    drawwave(0, 0x17);
    drawwave(1, 0xD7);
}

}  // namespace program
