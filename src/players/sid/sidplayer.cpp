#include "players/sid/sidplayer.h"

#include "core/playback.h"
#include "players/sid/cpu.h"
#include "players/sid/psid.h"
#include "players/sid/sidmodel.h"
#include "players/sid/sidload.h"
#include "players/sid/stil.h"

namespace sid {

void sidmoduleinit()
{
    cpu::cpusetup();
    cpu::memwritehook = buswrite;
    sidtables();

    core::playerrec& p = core::players[core::freeslot()];
    p.active = true;
    p.load = sidload;
    p.tick = sidupdate;
    p.stop = sidstop;
    p.ext = ".SID";
    p.info = "SID player v0.5 | based upon vemtok 1.4 and gruvex";

    sidloadinit();
    stilstartup();
}

}  // namespace sid
