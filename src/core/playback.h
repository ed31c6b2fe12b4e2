// The player plug-in table, and what the shell knows of the tune it plays:
// the file, its name and extension. What the players and the audio thread
// share with the shell while a tune plays is in core/shared.h.
#pragma once

#include <array>
#include <cstdint>
#include <string>

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

// Sets tickrate and the two values derived from it: frames per tick at
// the synth's rate, and scroll ticks.
void settickrate(uint16_t rate);

}  // namespace core
