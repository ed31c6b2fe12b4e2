// What tarplay8 adds to the shared shell: its help text, mute keys for eight
// voices, the FM renderer's two tone switches, the right mouse button as a
// way out, and an oscilloscope that shows the trace alone.
#include "app/program.h"

#include <array>

#include "core/playback.h"
#include "app/playkeys.h"
#include "synth/fm/record.h"

namespace program {

const char* const caption = "tarlin synth sound player b20120708";
const char* const icontitle = "tar/play";
const char* const titletext = " orvane's SID+AHX-Player b20120708";
const char* const buildtag = "b20120708";

namespace {

const char* const keylines[] = {
    "Keyz: ",
    "          <H>: this help screen",
    "        <TAB>: switch between note display/oscilloscope",
    "        <1-8>: mute channel 1-8",
    "Keyz in Selector:",
    "         <F2>: save song as .wav",
    "        <A-Z>: quick select",
};

constexpr std::array<SDLKey, 8> mutekeys = {SDLK_1, SDLK_2, SDLK_3, SDLK_4, SDLK_5, SDLK_6, SDLK_7, SDLK_8};

bool togglekey(const SDL_keysym& key)
{
    if (key.sym == SDLK_a) {
        synth::fmtogglea = !synth::fmtogglea;
        return true;
    }
    if (key.sym == SDLK_s) {
        synth::fmtoggleb = !synth::fmtoggleb;
        return true;
    }
    return false;
}

}  // namespace

std::span<const char* const> helplines()
{
    return keylines;
}

// The FM renderer has no wave parameters to fill.
void startup() {}

void playkey(const SDL_keysym& key)
{
    shell::commonplaykey(key) || shell::mutekey(key, mutekeys) || togglekey(key);
}

void playmouse(const SDL_Event& ev)
{
    if (ev.type == SDL_MOUSEBUTTONDOWN && ev.button.button == SDL_BUTTON_RIGHT) core::quitplay = true;
}

void scopeunder() {}
void scopeover() {}

}  // namespace program
