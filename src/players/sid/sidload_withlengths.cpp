// The loader of tarplay and tarplay8: PSID and RSID files, header versions
// 1 to 4 with up to three SIDs, and each subsong's length from the
// song-length database or the collection's list (five minutes for a tune
// neither knows).
#include <cstdlib>

#include "core/shared.h"
#include "players/sid/hvscdb.h"
#include "players/sid/psid.h"
#include "players/sid/sidload.h"
#include "players/sid/songdb.h"
#include "synth/synth.h"

namespace sid {

void sidloadinit()
{
    songdbstartup();
    hvscstartup();
    std::atexit(freesongdb);
}

bool magicaccepted(const std::string& magic)
{
    return magic == "PSID" || magic == "RSID";
}

bool extrachipsheard()
{
    return true;
}

std::string badformatmessage(const std::string& magic)
{
    return "Unsupported SID-Format \"" + magic + "\"";
}

bool versionaccepted(uint16_t version)
{
    return version >= 1 && version <= 4;
}

uint16_t dataoffsetof(const uint8_t* header)
{
    return static_cast<uint16_t>(header[6] * 256 + header[7]);
}

void looklengths()
{
    // The list's tune identity is defined for PSID files; an RSID file is
    // found by its whole file in the collection's list alone.
    songfound = !rsid && findsonglengths(tunedigest(sidimage.data() + loadaddr, sidsize, initaddr, playaddr, songs, sidspeed));
    // The collection's own list serves only the tunes the database lacks.
    hvscdb.found = false;
    if (!songfound) hvsclookup(sidfile);
}

void setsonglength(uint8_t song)
{
    const uint64_t seconds = songfound ? songlengths[song] : 300;
    uint64_t frames = seconds * synth::samplerate;
    if (!songfound) hvscsongframes(song, synth::samplerate, frames);
    core::songframes = frames;
}

}  // namespace sid
