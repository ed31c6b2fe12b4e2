// What a module description says, before it becomes AHX bytes: the song
// settings, the instruments with their performance lists, the tracks and the
// position list. The parser fills it, the writer turns it into a file.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace ahxmake {

constexpr int maxpositions = 1000;   // what the player keeps
constexpr int maxtracklen = 64;
constexpr int maxtracks = 256;
constexpr int maxinstruments = 63;
constexpr int maxsubsongs = 255;
constexpr int maxplistlen = 255;
constexpr int maxmodulesize = 65535; // the player reads no more of a file

struct stepdesc {
    int note = 0;    // 0 none, 1 = C-1 .. 60 = B-5
    int instr = 0;   // 0 none
    int fx = 0;      // 0..15
    int param = 0;   // 0..255
};

struct plistentrydesc {
    int note = 0;        // 0 none; otherwise 1 + semitones, or absolute when fixed
    bool fixed = false;
    int wave = 0;        // 0 keep, 1 triangle, 2 sawtooth, 3 square, 4 noise
    int fx1 = 0, param1 = 0;
    int fx2 = 0, param2 = 0;
};

struct instrumentdesc {
    std::string name;
    int volume = 64;
    int wavelen = 3;
    int attackframes = 1, attackvol = 64;
    int decayframes = 1, decayvol = 64;
    int sustainframes = 0;
    int releaseframes = 1, releasevol = 64;
    int filterlow = 0, filterhigh = 0, filterspeed = 0;
    int squarelow = 0, squarehigh = 0, squarespeed = 0;
    int vibdelay = 0, vibdepth = 0, vibspeed = 0;
    int hardcutframes = 0;
    bool hardcutrelease = false;
    int plistspeed = 1;
    std::vector<plistentrydesc> plist;
};

struct positiondesc {
    std::array<int, 4> track{};
    std::array<int, 4> transpose{};
};

struct trackdesc {
    bool described = false;
    std::vector<stepdesc> steps;  // tracklen entries once described
};

struct moduledesc {
    std::string title;
    int revision = 1;
    int speedmul = 1;
    int restartpos = 0;
    int tracklen = 64;
    std::vector<int> subsongs;            // start positions of subsongs 1, 2, ...
    std::vector<positiondesc> positions;
    std::array<trackdesc, maxtracks> tracks;
    std::vector<instrumentdesc> instruments;  // entry 0 is instrument 1

    // Highest described track (0 when none is).
    int lasttrack() const;
    // Track 0 stored as all zero steps can be left out of the file.
    bool trackzeroempty() const;
};

}  // namespace ahxmake
