// The SID player plug-in: registers for ".SID" in the player table.
#pragma once

namespace sid {

// Module initialisation: processor tables, memory-write hook, SID tables,
// song-length database start-up, registration, database release at exit.
void sidmoduleinit();

}  // namespace sid
