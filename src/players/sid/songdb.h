// The song-length database: subsong lengths of known tunes, keyed by the
// MD5 identity of the tune. "Songlengths.db" is a compact binary form that
// is built once from the public text format "Songlengths.txt".
//
// Binary record: length word L (little-endian, 16 + 2 x count), 16 digest
// bytes, then count lengths in seconds, 16-bit little-endian.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sid {

extern std::vector<uint8_t> songdb;          // the whole binary file
extern uint32_t songdbsize;
extern bool songdbloaded;
extern std::array<uint16_t, 256> songlengths;  // seconds of subsongs 0..255 of the last tune found
extern bool songfound;

// The identity of a tune: MD5 over its loaded data, the init address (after
// the load-address substitution), the play address and the song count (each
// 2 bytes little-endian), and one byte per song: 60 when the song's bit of
// the speed field is set (song 1 is bit 0; songs past 32 count as clear).
std::array<uint8_t, 16> tunedigest(const uint8_t* data, size_t n, uint16_t initaddr,
                                   uint16_t playaddr, uint16_t songs, uint32_t speed);

// True if the file is a regular file that opens for reading and writing and
// closes again; anything else counts as missing.
bool dbfileexists(const std::string& name);

// Loads "Songlengths.db" whole when it exists; one that cannot be read
// completely counts as missing.
void loadsongdb();

// Builds the binary file from the text file. A malformed time entry
// abandons the conversion and nothing is written; a binary file that cannot
// be created or written leaves the database empty for this run.
void convertsongdb(const std::string& textname, const std::string& binname);

// Looks a digest up; the first matching record fills songlengths. Never
// reads past the loaded data.
bool findsonglengths(const std::array<uint8_t, 16>& digest);

void freesongdb();

// Value of a hexadecimal digit character (other characters give other
// values, without error).
uint8_t hexdigit(char c);

// Start-up: the binary file if it exists, else one conversion of the text
// file followed by a load of the result.
void songdbstartup();

// Back to the start state: no database, no lengths, nothing found.
void songdbreset();

}  // namespace sid
