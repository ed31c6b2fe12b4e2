// The AHX song and player records, the loader and the replayer's interface.
//
// One player instance holds one loaded song. Numeric fields are 32-bit signed
// integers; the arrays have the fixed sizes of the format's stores, and the
// loader cuts whatever a file declares beyond them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace ahx {

constexpr int maxpositions = 1000;
constexpr int maxtracks = 256;
constexpr int maxtracklen = 64;
constexpr int maxinstruments = 64;  // entry 0 is never filled
constexpr int maxplist = 256;
constexpr int maxsubsongs = 256;
constexpr int channelcount = 4;

struct ahxposition {
    int32_t track[channelcount] = {};
    int32_t transpose[channelcount] = {};
};

struct ahxstep {
    int32_t note = 0;  // 0 = no note
    int32_t instr = 0;  // 0 = no instrument
    int32_t fx = 0;
    int32_t fxparam = 0;
};

struct ahxplistentry {
    int32_t note = 0;
    int32_t fixed = 0;
    int32_t wave = 0;  // 0 keep, 1 triangle, 2 sawtooth, 3 square, 4 noise
    int32_t fx1 = 0;
    int32_t fx2 = 0;
    int32_t param1 = 0;
    int32_t param2 = 0;
};

struct tAHXInstrument {
    std::string name;
    int32_t instvol = 0;
    int32_t wavelen = 0;
    int32_t attackframes = 0;
    int32_t attackvol = 0;
    int32_t decayframes = 0;
    int32_t decayvol = 0;
    int32_t sustainframes = 0;
    int32_t releaseframes = 0;
    int32_t releasevol = 0;
    int32_t filterlow = 0;
    int32_t filterhigh = 0;
    int32_t filterspeed = 0;
    int32_t squarelow = 0;
    int32_t squarehigh = 0;
    int32_t squarespeed = 0;
    int32_t vibdelay = 0;
    int32_t vibdepth = 0;
    int32_t vibspeed = 0;
    int32_t hardcutrelease = 0;
    int32_t hardcutframes = 0;
    int32_t plistspeed = 0;
    int32_t plistlen = 0;
    std::array<ahxplistentry, maxplist> plist{};
};

struct tAHXSong {
    std::string title;
    int32_t restartpos = 0;
    int32_t poscount = 0;
    int32_t tracklen = 0;
    int32_t lasttrack = 0;
    int32_t instrcount = 0;
    int32_t subsongcount = 0;
    int32_t revision = 0;
    int32_t speedmul = 0;
    std::array<ahxposition, maxpositions> positions{};
    std::array<std::array<ahxstep, maxtracklen>, maxtracks> tracks{};
    std::array<tAHXInstrument, maxinstruments> instruments{};
    std::array<int32_t, maxsubsongs> subsongs{};
};

struct ahxchannel {
    int32_t track = 0;
    int32_t transpose = 0;
    int32_t nexttrack = 0;
    int32_t nexttranspose = 0;
    int32_t envvol = 0;  // level x 256
    int32_t aframes = 0;
    int32_t adelta = 0;
    int32_t dframes = 0;
    int32_t ddelta = 0;
    int32_t sframes = 0;
    int32_t rframes = 0;
    int32_t rdelta = 0;
    int32_t instr = 0;
    int32_t plistnote = 0;
    int32_t tracknote = 0;
    int32_t vibperiod = 0;
    int32_t notemaxvol = 0;
    int32_t perfsubvol = 0;
    int32_t trackmastervol = 0;
    int32_t wave = 0;  // 0 triangle, 1 sawtooth, 2 square, 3 noise
    bool plantsquare = false;
    bool ignoresquare = false;
    bool fixednote = false;
    int32_t volslideup = 0;
    int32_t volslidedown = 0;
    int32_t hardcut = 0;
    int32_t hardcutrelease = 0;
    int32_t releaselen = 0;
    int32_t slidespeed = 0;
    int32_t slideperiod = 0;
    int32_t slidelimit = 0;
    bool slideon = false;
    bool slidewithlimit = false;
    int32_t perfslidespeed = 0;
    int32_t perfslideperiod = 0;
    bool perfslideon = false;
    int32_t vibdelay = 0;
    int32_t vibpos = 0;
    int32_t vibdepth = 0;
    int32_t vibspeed = 0;
    bool squareon = false;
    bool squareinit = false;
    int32_t squarewait = 0;
    int32_t squarelow = 0;
    int32_t squarehigh = 0;
    int32_t squarepos = 0;
    int32_t squaresign = 0;
    bool squareslidein = false;
    bool filteron = false;
    bool filterinit = false;
    int32_t filterwait = 0;
    int32_t filterlow = 0;
    int32_t filterhigh = 0;
    int32_t filterpos = 0;
    int32_t filtersign = 0;
    int32_t filterspeed = 0;
    bool filterslidein = false;
    int32_t perfpos = 0;
    int32_t perfspeed = 0;
    int32_t perfwait = 0;
    int32_t wavelen = 0;
    int32_t notedelaywait = 0;
    bool notedelayon = false;
    int32_t notecutwait = 0;
    bool notecuton = false;
    int32_t period = 0;    // Amiga period of this tick, 113..3424
    int32_t voicevol = 0;  // volume of this tick, 0..255
};

struct tAHXPlayer {
    tAHXSong song;
    std::array<ahxchannel, channelcount> channels{};
    int32_t stepwait = 0;
    bool newpos = false;
    bool patternbreak = false;
    int32_t mainvolume = 0;
    int32_t tempo = 0;
    int32_t posnr = 0;
    int32_t posjump = 0;
    int32_t rownr = 0;
    int32_t posjumprow = 0;
};

// The one player instance; player.song is the loaded module.
extern tAHXPlayer player;

// Module state besides the record.
extern int32_t cursubsong;  // the subsong running
extern uint32_t tickcount;  // ticks since the subsong started

// Period table (index 0 is 0, then five falling octaves) and vibrato table.
extern const std::array<int32_t, 61> periodtable;
extern const std::array<int32_t, 64> vibratotable;

// Loads a module file and starts subsong cursong; false after a message box.
// The registered load operation.
bool ahxload(const std::string& filename);

// Loads from a byte image instead of a file (the image is cut at 65535 bytes).
bool ahxloadbytes(const uint8_t* data, size_t size);

// The registered tick: restart, skip ahead, one tick, subsong change.
void ahxtick();

// Starts subsong n (0 = the main song); false when n > subsongcount.
bool ahxstartsub(int n);

// One tick of the whole song.
void ahxplay();

void ahxrow(int c);                    // the current row for channel c
void ahxframe(int c);                  // the per-tick update of channel c
void ahxplistcmd(int c, int cmd, int p);  // one performance-list command
void ahxenvelope(int c);               // running envelope from the instrument
void ahxsetvoice(int c);               // channel c into synth voice c

// Clears the player record and the module state (tests start from here).
void ahxreset();

}  // namespace ahx
