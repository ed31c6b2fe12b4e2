// tarplay's and tarplay8's SID player: the version check, lengths from the
// song-length database or the collection's list, the control byte handed
// to the renderer as it is, the squared cutoff curve, and oscillator 3 and
// envelope 3 readable by the tune.
#include <cstdlib>

#include "app/playback.h"
#include "players/sid/cpu.h"
#include "players/sid/hvscdb.h"
#include "players/sid/psid.h"
#include "players/sid/sidmodel.h"
#include "players/sid/sidvariant.h"
#include "players/sid/songdb.h"
#include "synth/synth.h"

namespace sid {

void sidvariantinit()
{
    songdbstartup();
    hvscstartup();
    std::atexit(freesongdb);
}

std::string badformatmessage(const std::string& magic)
{
    return "Unsupported SID-Format \"" + magic + "\"";
}

bool versionaccepted(uint16_t version)
{
    return version >= 1 && version <= 3;
}

uint16_t dataoffsetof(const uint8_t* header)
{
    return static_cast<uint16_t>(header[6] * 256 + header[7]);
}

void looklengths()
{
    songfound = findsonglengths(tunedigest(sidimage.data() + loadaddr, sidsize, initaddr, playaddr, songs, sidspeed));
    // The collection's own list serves only the tunes the database lacks.
    hvscdb.found = false;
    if (!songfound) hvsclookup(sidfile);
}

void setsonglength(uint8_t song)
{
    const uint64_t seconds = songfound ? songlengths[song] : 300;
    uint64_t frames = seconds * synth::samplerate;
    if (!songfound) hvscsongframes(song, synth::samplerate, frames);
    shell::songframes = frames;
}

void controlwrite(int v, uint8_t value)
{
    synth::voicecontrol(v, value);
}

bool frequencyaccepted(int)
{
    return true;
}

bool voiceswitchedoff(int)
{
    return false;
}

uint8_t cutoffentry(int c)
{
    const int i = 255 - c;
    return static_cast<uint8_t>(i * i / 264.0);
}

void beforeplay()
{
    cpu::cpumem[0xD41B] = static_cast<uint8_t>((synth::voicelastout(2) >> 8) & 0xFF);
    cpu::cpumem[0xD41C] = envstate[2].envlevel;
}

}  // namespace sid
