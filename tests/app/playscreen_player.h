// A small deterministic player for the play screen and recorder tests: its
// tick goes through the core's tick contract, it sounds three voices whose
// pitch depends on the subsong, and it notes what the shell did to it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/playback.h"

namespace testplayer {

struct config {
    bool loadok = true;
    uint8_t lastsong = 0;
    uint16_t rate = 50;
    uint64_t songframes = 0;
    uint8_t lastvoice = 2;
    std::string info = "TEST TUNE BY NOBODY";
    std::vector<std::string> refused;  // names whose load fails
    core::ttunenotes notes;             // what load hands the play screen
};

struct record {
    int loads = 0;
    std::string loadedname;
    int restarts = 0;
    uint32_t skippedticks = 0;
    int songchanges = 0;
    uint8_t song = 0;
    uint32_t count = 0;   // the player's own tick count
    int ticks = 0;        // sounding ticks run
    std::vector<uint64_t> tickframes;  // playedframes at each sounding tick
    std::vector<bool> recordingatticks;
    int stops = 0;
    bool silentatstop = false;
};

extern config cfg;
extern record rec;

// Clears cfg and rec and registers the player in the free slot that the
// table hands out; sets curplayer to it and returns the slot.
int install();

}  // namespace testplayer
