// The player plug-in table and the playback state through which the shell,
// the audio loop and the active player cooperate.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/relaxed.h"

namespace shell {

struct playerrec {
    bool active = false;
    bool (*load)(const std::string& filename) = nullptr;  // main thread, callback silent
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

extern relaxed<uint8_t> curplayer;
extern std::string filename;   // as passed to load
extern std::string songname;   // file name without its extension
extern std::string songext;    // extension with its dot, upper case
extern relaxed<uint8_t> lastsong;
// The play screen stores a subsong change; a player's init on the audio
// thread stores the subsong it starts. A change stored while such an init
// runs can be overwritten and lost, accepted for the same reason as tickpos.
extern relaxed<uint8_t> cursong;
extern relaxed<uint16_t> tickrate;        // 50
extern relaxed<uint32_t> samplespertick;  // samplerate div tickrate
extern relaxed<uint8_t> scrollticks;      // tickrate div 50
// Both threads store tickpos: the play screen a restart (0) or a skip, the
// player's tick its position at the end of every tick. A key's store that
// lands while a tick runs is overwritten by the tick's own and is lost; that
// is accepted, as it only means a key press without effect, which the user
// repeats, and the tick contract has no other channel for the request.
extern relaxed<uint32_t> tickpos;
// Counted by the callback with a read-modify-write (see audio.cpp), so the
// play screen's stores are never undone by a frame counted meanwhile.
extern relaxed<uint64_t> playedframes;
extern relaxed<uint64_t> songframes;
extern std::string infotext;              // written by load; an init on the audio
                                          // thread only writes it when it changes
extern relaxed<uint16_t> infolen;
extern relaxed<bool> quitplay;
extern relaxed<bool> running;
extern const std::string titlebar;        // 80 characters, console code page,
                                          // from the program's title text

// Whether the tune is over, so that its player sets quitplay: only while
// recording (the main loop's running flag is then false), once its length
// has been played (songframes, or in tarplay_pd its length in ticks);
// during playback a tune goes on until the user leaves. Defined by the
// program's audio life unit (audiolife.h), like tickposof.
bool tuneover();
// The tickpos a player reports for its tick count: all 32 bits, or in
// tarplay_pd the low 16.
uint32_t tickposof(uint64_t ticks);
// For a program that counts a tune's time in ticks (tarplay_pd): its
// length, five minutes at tickrate, set by the player once the rate is
// known; and the play-time counter, advanced by the player on every tick.
// Nothing in the others.
void settuneticks();
void advanceplayclock();

// Sets tickrate and the two values derived from it.
void settickrate(uint16_t rate);

// A message raised on the audio thread (which must never wait for a key) is
// posted here and shown by the main thread. Lock-free, one pending message;
// while one waits, a newer one is dropped.
void postmessage(const std::string& msg);
bool takemessage(std::string& msg);

}  // namespace shell
