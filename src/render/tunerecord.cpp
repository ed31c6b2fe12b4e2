#include "render/tunerecord.h"

#include "app/audiolife.h"
#include "app/playback.h"
#include "app/playscreen.h"
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
    quitplay = false;
    running = false;
    tickpos = 0;
    resetdisplaycounters();
    playedframes = 0;
    // A player that never ends its tune would otherwise record forever.
    return recordlimit();
}

bool recordnextblock(uint8_t* buffer, uint64_t& written, uint64_t limit)
{
    recordblock(buffer, recordblockbytes);
    written += recordblockbytes / 4;
    if (written >= limit) quitplay = true;
    return quitplay;
}

}  // namespace shell
