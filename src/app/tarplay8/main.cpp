// tarplay8: the player with the two-operator FM renderer, mute keys for
// eight voices and no wave editor.
#include <SDL.h>

#include "app/playback.h"
#include "app/system.h"
#include "players/ahx/ahxplayer.h"
#include "players/sid/sidplayer.h"
#include "screen/video.h"
#include "synth/synth.h"

// SDL.h and this signature: on Windows SDL's own entry point calls this
// function, renamed SDL_main, with the command line.
int main(int, char**)
{
    // Unit initialisation, in the order the units depend on each other: the
    // synth first, then the player table that the players register in.
    synth::synthinit();
    shell::playersinit();
    screen::screeninit();
    sid::sidmoduleinit();
    ahx::ahxmoduleinit();
    return shell::programmain();
}
