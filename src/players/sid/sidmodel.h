// The SID register model: turns a tune's writes to the SID chips' registers
// into parameters of synth voices (chip c drives voices 3c to 3c + 2), and
// runs each chip's envelope generator counted against the processor's cycles.
// A tune has one chip unless its header names a second or a third.
#pragma once

#include <array>
#include <cstdint>

namespace sid {

struct tenvstate {
    uint16_t ratecounter = 0;  // 15-bit rate counter
    uint16_t rateperiod = 0;   // current rate period in cycles
    uint8_t expcounter = 0;    // rate periods since the last step outside attack
    uint8_t expperiod = 0;     // rate periods per step outside attack
    uint8_t envlevel = 0;
    uint8_t envphase = 0;      // 0 attack, 1 decay and sustain, 2 release
    bool holdzero = false;     // level frozen at 0 until the next gate-on
    bool gatebit = false;
};

constexpr uint8_t phaseattack = 0;
constexpr uint8_t phasedecay = 1;
constexpr uint8_t phaserelease = 2;

inline constexpr int maxchips = 3;
inline constexpr int maxsidvoices = 3 * maxchips;

// Chips the loaded tune plays (1 to maxchips) and where each answers: the
// first in the page at $D400, the others where the header names them; set
// by the loader.
extern int sidchips;
extern std::array<uint16_t, maxchips> sidbase;
extern std::array<std::array<uint8_t, 32>, maxchips> chipregs;
extern std::array<uint8_t, maxchips> chipvolume;
// The first chip, under the names every single-SID tune uses.
extern std::array<uint8_t, 32>& sidregs;
extern uint8_t& mastervolume;
extern std::array<tenvstate, maxsidvoices> envstate;
extern std::array<bool, maxsidvoices> voicesilent;
// Processor cycles still to be accounted in the current tick; every register
// write takes the cycles run since the previous one off it.
extern int32_t cyclebudget;

inline constexpr std::array<uint16_t, 16> adsrperiods = {
    9, 32, 63, 95, 149, 220, 267, 313, 392, 977, 1954, 3126, 3907, 11720, 19532, 31251};

extern std::array<uint8_t, 256> cutofftab;  // 0 = unfiltered

// The chip (0 to sidchips - 1) whose registers address is, or -1: a named
// chip's 32 bytes first, then anywhere in the first chip's page.
int sidchipat(uint16_t address);

// Builds cutofftab; once at start-up.
void sidtables();

// One register write (reg 0..31) to the first chip, or to chip: voice
// parameters, envelope gate and rates, filter and volume; then the envelopes
// of every chip catch up with the processor's cycles, which are handed over
// from cpucycles to cyclebudget.
void sidwrite(uint8_t reg, uint8_t value);
void sidwritechip(int chip, uint8_t reg, uint8_t value);

// Runs one voice's envelope generator for n processor cycles; a negative n
// moves the rate counter backwards.
void envadvance(int voice, int32_t n);

// The target level of a voice from its envelope and the master volume.
uint8_t sidlevel(int voice);

// The state every init call starts from: registers 0, all voices released
// and frozen at level 0, volume 15, resonance 0. cyclebudget and sidchips
// are kept.
void sidreset();

}  // namespace sid
