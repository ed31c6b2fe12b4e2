#include "players/sid/sidplayer.h"

#include <cstdlib>

#include "app/playback.h"
#include "players/sid/cpu.h"
#include "players/sid/hvscdb.h"
#include "players/sid/psid.h"
#include "players/sid/sidmodel.h"
#include "players/sid/songdb.h"

namespace sid {

void sidmoduleinit()
{
    cpu::cpusetup();
    cpu::memwritehook = buswrite;
    sidtables();
    songdbstartup();
    hvscstartup();

    shell::playerrec& p = shell::players[shell::freeslot()];
    p.active = true;
    p.load = sidload;
    p.tick = sidupdate;
    p.stop = sidstop;
    p.ext = ".SID";
    p.info = "SID player v0.5 | based upon vemtok 1.4 and gruvex";

    std::atexit(freesongdb);
}

}  // namespace sid
