// tarplay_pd's loader: PSID files only, no version check, the data offset
// from a single header byte, one SID whatever the header names, every
// subsong five minutes long in ticks, no song-length database.
#include "core/shared.h"
#include "core/tuneclock.h"
#include "players/sid/sidload.h"
#include "synth/synth.h"

namespace sid {

void sidloadinit() {}

bool magicaccepted(const std::string& magic)
{
    return magic == "PSID";
}

bool extrachipsheard()
{
    return false;
}

std::string badformatmessage(const std::string& magic)
{
    return "Unknown SID-Format \"" + magic + "\"";
}

bool versionaccepted(uint16_t)
{
    return true;
}

uint16_t dataoffsetof(const uint8_t* header)
{
    return header[7];
}

void looklengths() {}

void setsonglength(uint8_t)
{
    core::songframes = uint64_t{300} * synth::samplerate;
    core::clocklength();
}

}  // namespace sid
