// What tarplay adds to the shared shell: its caption and help text, and the
// wave editor: the keys and mouse actions that reshape the four edited
// waves, and their values and previews over the oscilloscope.
#include "app/program.h"

#include <array>

#include "app/playkeys.h"
#include "app/playscreen.h"
#include "common/hex.h"
#include "screen/console.h"
#include "screen/video.h"
#include "synth/pd/wave.h"
#include "synth/synth.h"

namespace program {

const char* const caption = "tarlin synth sound player b20120708";
const char* const icontitle = "tar/play";
const char* const titletext = " orvane's SID+AHX-Player b20120708";
const char* const buildtag = "b20120708";

namespace {

const char* const keylines[] = {
    "Keyz: ",
    "          <H>: this help screen",
    "          <T>: swap src/dst wave",
    "        <TAB>: switch between note display/oscilloscope",
    "      <I/O/P>: mute channel 1/2/3 (only on SID)",
    "        <Q/W>: clear  source/dest waveform",
    "        <E/R>: random source/dest waveform",
    "  <DOWN>/<UP>: next/prev subsong",
    "      <MOUSE>: modify waveform",
    "Keyz in Selector:",
    "         <F2>: save song as .wav",
    "        <A-Z>: quick select",
};

constexpr std::array<SDLKey, 3> mutekeys = {SDLK_i, SDLK_o, SDLK_p};

bool waveeditkey(const SDL_keysym& key)
{
    switch (key.sym) {
    case SDLK_SPACE:
    case SDLK_t:  // the key the help screen names for it
        synth::wavepair();
        return true;
    case SDLK_e:
        synth::waverandomsrc();
        return true;
    case SDLK_r:
        synth::waverandomdst();
        return true;
    case SDLK_q:
        synth::waveclearsrc();
        return true;
    case SDLK_w:
        synth::wavecleardst();
        return true;
    default:
        return false;
    }
}

void drawwavevalues()
{
    screen::curattr = 4;
    const int src = synth::waveset;
    screen::conwriteat(3, 16, hexbyte(static_cast<uint8_t>(src)));
    for (int k = 0; k < 3; ++k) {
        const int s = 3 * src + k;
        const int d = 3 * (src + 1) + k;
        if (s < synth::waveparamcount) screen::conwriteat(11 + 10 * k, 16, hexbyte(synth::waveparams[s]));
        if (d < synth::waveparamcount) screen::conwriteat(51 + 10 * k, 16, hexbyte(synth::waveparams[d]));
    }
}

void drawpreview(int wave, int offset, uint8_t distortioncolour)
{
    if (3 * wave + 2 >= synth::waveparamcount) return;
    const synth::wavecurve curve = synth::wavepreview(wave, synth::waveparams[3 * wave + 2]);
    for (int x = 0; x < 256; ++x) {
        shell::setpixel(x + offset, 391 - (curve.distortion[x] + 32768) / 256, distortioncolour);
        shell::setpixel(x + offset, 263 - curve.output[x] / 256, screen::colourmap[12]);
    }
}

}  // namespace

std::span<const char* const> helplines()
{
    return keylines;
}

void startup()
{
    for (auto& b : synth::waveparams) b = 128;
}

void playkey(const SDL_keysym& key)
{
    shell::commonplaykey(key) || waveeditkey(key) || shell::mutekey(key, mutekeys);
}

void playmouse(const SDL_Event& ev)
{
    if (ev.type == SDL_MOUSEMOTION)
        synth::wavemouse(synth::wavemousekind::motion, ev.motion.x, ev.motion.y, 0, ev.motion.state);
    else if (ev.type == SDL_MOUSEBUTTONDOWN)
        synth::wavemouse(synth::wavemousekind::buttondown, ev.button.x, ev.button.y, ev.button.button, 0);
}

void scopeunder()
{
    drawwavevalues();
    for (int x : {96, 176, 256, 416, 496, 576})
        for (int y = 136; y <= 391; ++y) shell::setpixel(x, y, 64);
}

void scopeover()
{
    drawpreview(synth::waveset, 32, 0x17);
    drawpreview(synth::waveset + 1, 352, 0xD7);
}

}  // namespace program
