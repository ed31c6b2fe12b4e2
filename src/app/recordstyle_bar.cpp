// A bar on the box's lower edge that fills as the tune is recorded; any key
// or mouse click ends the recording early.
#include "app/recordstyle.h"

#include "app/wavrecord.h"
#include "screen/video.h"

namespace shell {

void recordbar(int boxx, int len, const core::clockreading& at)
{
    (void)boxx;
    // The ends of the bar on the box's lower edge.
    putboxcell(40 - len / 2, 26, 0xB6);
    putboxcell(40 + len / 2, 26, 0xC7);
    if (at.length) {
        const uint8_t pos = static_cast<uint8_t>(static_cast<uint64_t>(len - 2) * at.elapsed / at.length);
        putboxcell(40 - len / 2 + 1 + pos, 26, 0xCD);
    } else {
        // With no known length the first block is the whole recording.
        for (int pos = 0; pos <= len - 2; ++pos) putboxcell(40 - len / 2 + 1 + pos, 26, 0xCD);
    }
}

bool recordstopped()
{
    return screen::pollkey();
}

}  // namespace shell
