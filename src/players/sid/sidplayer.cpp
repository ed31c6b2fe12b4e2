#include "players/sid/sidplayer.h"

#include "app/playback.h"
#include "players/sid/cpu.h"
#include "players/sid/psid.h"
#include "players/sid/sidmodel.h"
#include "players/sid/sidvariant.h"

namespace sid {

void sidmoduleinit()
{
    cpu::cpusetup();
    cpu::memwritehook = buswrite;
    sidtables();

    shell::playerrec& p = shell::players[shell::freeslot()];
    p.active = true;
    p.load = sidload;
    p.tick = sidupdate;
    p.stop = sidstop;
    p.ext = ".SID";
    p.info = "SID player v0.5 | based upon vemtok 1.4 and gruvex";

    sidvariantinit();
}

}  // namespace sid
