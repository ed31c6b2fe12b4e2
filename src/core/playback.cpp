#include "core/playback.h"

#include "synth/synth.h"

namespace core {

tplayers players;
std::string filename;
std::string songname;
std::string songext;
ttunenotes tunenotes;

void playersinit()
{
    for (auto& p : players) p = playerrec{};
}

uint8_t freeslot()
{
    uint8_t result = 0;
    for (int i = 0; i < playerslots; ++i)
        if (!players[i].active) result = static_cast<uint8_t>(i);
    return result;
}

void chooseplayer()
{
    for (int i = 0; i < playerslots; ++i)
        if (players[i].ext == songext) curplayer = static_cast<uint8_t>(i);
}

const playerrec& currentplayer()
{
    return players[curplayer.load() % playerslots];
}

void settickrate(uint16_t rate)
{
    tickrate = rate;
    if (rate > 0) samplespertick = synth::samplerate / rate;
    scrollticks = static_cast<uint8_t>(rate / 50);
}

std::string notesline(uint8_t song)
{
    std::string line = tunenotes.whole;
    if (song < tunenotes.subsongs.size() && !tunenotes.subsongs[song].empty()) {
        if (!line.empty()) line += "    ";
        line += tunenotes.subsongs[song];
    }
    // Set apart from the tune's own text as its fields are from each other.
    if (!line.empty()) line = "   " + line + " ";
    return line;
}

}  // namespace core
