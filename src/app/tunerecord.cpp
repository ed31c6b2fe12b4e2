#include "app/tunerecord.h"

#include "app/audiolife.h"
#include "app/playscreen.h"
#include "core/shared.h"
#include "core/tuneclock.h"
#include "synth/synth.h"

namespace shell {

void recordbegin()
{
    // The renderer carries state from tune to tune (glides, feedback,
    // phases); starting every recording from the state of a fresh program
    // makes the same tune give the same file every time. The user's mute
    // choices stay.
    for (int v = 0; v < synth::voicecount; ++v) synth::voiceclear(v, true);
}

uint64_t recordstart()
{
    core::quitplay = false;
    core::recording = true;
    core::tickpos = 0;
    resetdisplaycounters();
    core::playedframes = 0;
    core::clockrestart();
    // A player that never ends its tune would otherwise record forever.
    return core::recordlimit();
}

bool recordnextblock(uint8_t* buffer, uint64_t& written, uint64_t limit)
{
    recordblock(buffer, recordblockbytes);
    written += recordblockbytes / 4;
    if (written >= limit) core::quitplay = true;
    return core::quitplay;
}

void recordend()
{
    core::recording = false;
}

}  // namespace shell
