// The player plug-in table, and what the shell knows of the tune it plays:
// the file, its name and extension. What the players and the audio thread
// share with the shell while a tune plays is in core/shared.h.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/shared.h"

namespace core {

struct playerrec {
    bool active = false;
    bool (*load)(const std::string& filename) = nullptr;  // main thread, audio thread kept away
    void (*tick)() = nullptr;                              // audio thread (or recorder)
    void (*stop)() = nullptr;                              // once, when the play screen ends
    std::string ext;                                       // ".SID": dot, upper case
    std::string info;                                      // plug-in list line
};

constexpr int playerslots = 8;
using tplayers = std::array<playerrec, playerslots>;
extern tplayers players;

// Table initialisation: every slot inactive (and emptied).
void playersinit();

// The slot a registering player takes: the highest free one (0 when full).
uint8_t freeslot();

// Sets curplayer to the highest slot whose ext equals songext exactly;
// keeps it when none matches.
void chooseplayer();

// The entry of the player in use (curplayer, taken modulo the table).
const playerrec& currentplayer();

extern std::string filename;  // as passed to load
extern std::string songname;  // file name without its extension
extern std::string songext;   // extension with its dot, upper case

// A collection's notes on the tune: on the whole tune, and on each subsong
// (index: the subsong, from 0). The play screen empties them before load,
// a player that knows notes fills them during load (main thread), and only
// the main thread reads them.
struct ttunenotes {
    std::string whole;
    std::vector<std::string> subsongs;
};
extern ttunenotes tunenotes;

// The notes on subsong song as the information line shows them after the
// tune's own text; empty when there are none.
std::string notesline(uint8_t song);

// Sets tickrate and the two values derived from it: frames per tick at
// the synth's rate, and scroll ticks.
void settickrate(uint16_t rate);

}  // namespace core
