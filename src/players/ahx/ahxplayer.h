// The AHX player plug-in: registers for ".AHX" in the player table.
#pragma once

namespace ahx {

// Module initialisation: registration in the player table.
void ahxmoduleinit();

}  // namespace ahx
