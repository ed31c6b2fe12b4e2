// The PSID loader and the SID player's tick: the tune's data in a 64 KB
// image, its init routine run for a subsong, its play routine once per tick,
// and the shell's tick contract for restarts, skips and subsong changes.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace sid {

extern std::array<uint8_t, 65536> sidimage;  // the unplayed tune, zero around its data
extern bool sidloaded;
extern std::string sidfile;

extern uint16_t loadaddr, initaddr, playaddr, songs, startsong;
extern uint32_t sidspeed;  // the header's speed bits
extern bool vbiflag;       // speed bit 0 clear: video-interrupt timing
extern uint16_t sidsize;   // data bytes placed in the image
extern bool rsid;          // an RSID file: played on the interrupt machine

// Header texts, zero-filled so that a field without a NUL ends after 32.
extern std::array<char, 33> sidname, sidauthor, sidcopyright;

extern uint8_t sidsong;    // the subsong running
extern uint32_t sidticks;  // ticks since the last init
extern uint16_t cialatch;  // the first CIA's timer latch, from $DC04/$DC05
inline constexpr uint8_t ticksperplay = 1;
extern uint8_t playcountdown;

inline constexpr long double palclock = 985248.4444L;
inline constexpr int32_t palcycles = 985248;
inline constexpr int32_t initbudget = 0x100000;
inline constexpr int32_t playbudget = 0x8000;
// The most instructions any one init or play call may run, below the budgets
// above: lowered only by the fuzzing harness, which must keep a run of a
// tune that never returns cheap.
extern int32_t instructioncap;

// The player's load: reads the file, starts subsong cursong.
bool sidload(const std::string& filename);

// Reads sidfile into sidimage and the header values; shows a message and
// returns false for a file that is not a playable PSID.
bool sidreadfile();

// Restarts the machine from the image and runs the init routine of song.
// fromtick: called on the audio thread, where a failure is posted for the
// play screen instead of shown in a message box that waits for a key.
bool sidinit(uint8_t song, bool fromtick = false);

// One tick: one play call and the envelope bookkeeping; false when the
// play routine did not return within its budget.
bool sidtick();

// The player's tick, through the shell's tick contract.
void sidupdate();

void sidstop();

// The processor's memory-write routine: the SID's page goes to the register
// model, the CIA timer latch sets the tick rate, address 0 is never written.
void buswrite(uint16_t address, uint8_t value);


void setrate(uint16_t hz);

// Ticks per second for a timer latch: the PAL clock over the latch,
// truncated, as a 16-bit value.
uint16_t latchrate(uint16_t latch);

// The information line of the loaded tune.
std::string sidinfoline();

// Back to the start state of the module (for a clean test).
void psidreset();

}  // namespace sid
