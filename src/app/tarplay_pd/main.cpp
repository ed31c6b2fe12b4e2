// tarplay_pd: the older build at 48000 frames per second, with its own
// smaller renderer, the 32-point wave editor and no song-length database.
#include "app/playback.h"
#include "app/system.h"
#include "players/ahx/ahxplayer.h"
#include "players/sid/sidplayer.h"
#include "screen/video.h"
#include "synth/synth.h"

int main(int, char**)
{
    // Unit initialisation, in the order the units depend on each other; the
    // renderer's rate (48000) is in force before the synth builds its
    // tables.
    synth::synthinit();
    shell::playersinit();
    screen::screeninit();
    sid::sidmoduleinit();
    ahx::ahxmoduleinit();
    return shell::programmain();
}
