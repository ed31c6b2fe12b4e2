#include "core/tickcontract.h"

#include "core/shared.h"
#include "core/tuneclock.h"

namespace core {

namespace {

// The position reported at the end of the last tick: a tickpos below it is
// a restart, above it a skip.
uint32_t reportedpos = 0;

// Whether the tune was over after the last tick: the tune reaches its length
// on the tick where this turns from false to true.
bool wasover = false;

void startsong(const tickhooks& h, uint8_t song)
{
    tickpos = 0;
    if (h.startresetstime) playedframes = 0;
    h.start(song);
}

// The subsong the play screen asks for, read once.
void changesong(const tickhooks& h)
{
    const uint8_t wanted = cursong;
    if (wanted != h.song()) startsong(h, wanted);
}

}  // namespace

void tickcontractreset()
{
    tickpos = 0;
    playedframes = 0;
    reportedpos = 0;
    wasover = false;
}

void playertick(const tickhooks& h)
{
    clocktick();
    bool goeson = true;
    const uint32_t requested = tickpos;
    if (requested < reportedpos) {
        startsong(h, h.song());
    } else if (requested > reportedpos) {
        // A skip ahead: the ticks in between run without being rendered;
        // the voices simply end up where the tune is.
        for (uint32_t pos = reportedpos; pos < requested; ++pos) goeson = h.onetick() && goeson;
        tickpos = requested;
    }
    if (!h.songchangeafter) changesong(h);
    goeson = h.onetick() && goeson;
    if (h.songchangeafter) changesong(h);
    tickpos = tickposof(h.ticks());
    const bool over = tuneover();
    if (!goeson || (recording && over)) quitplay = true;
    if (over && !wasover && !recording) tuneended = true;
    wasover = over;
    reportedpos = tickpos;
}

}  // namespace core
