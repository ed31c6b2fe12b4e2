// Every program's entry: the units it was linked with (app/program.h says
// which) initialise in the order they depend on each other, then the shell
// runs.
#include <SDL.h>

#include "app/system.h"
#include "core/playback.h"
#include "players/ahx/ahxplayer.h"
#include "players/sid/sidplayer.h"
#include "screen/video.h"
#include "synth/synth.h"

// SDL.h and this signature: on Windows SDL's own entry point calls this
// function, renamed SDL_main, with the command line.
int main(int, char**)
{
    // The synth first (its tables at the linked renderer's own rate), then
    // the player table that the players register in.
    synth::synthinit();
    core::playersinit();
    screen::screeninit();
    sid::sidmoduleinit();
    ahx::ahxmoduleinit();
    return shell::programmain();
}
