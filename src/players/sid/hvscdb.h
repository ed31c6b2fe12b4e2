// The High Voltage SID Collection's own song-length list, "Songlengths.md5":
// subsong lengths keyed by the MD5 of the whole tune file, with
// milliseconds. It serves the tunes that the classic database
// ("Songlengths.txt"/".db") does not know.
//
// Text format: a "[Database]" line, ";" comment lines (the collection puts
// each tune's path there), and lines
//   <32 hex digits>=<length> <length> ...
// one length per subsong, each m:ss or m:ss.mmm, optionally followed by an
// attribute in parentheses. A line that does not parse is skipped alone.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "players/sid/collection.h"

namespace sid {

inline constexpr const char* hvscfilename = "Songlengths.md5";

struct thvsctune {
    std::array<uint8_t, 16> digest;
    uint32_t first;   // index of its first length in thvscdb::lengths
    uint16_t count;   // lengths listed (at most 256 are kept)
};

struct thvscdb {
    bool loaded = false;            // a file was read: no further search this run
    std::filesystem::path file;     // the file that was read
    std::vector<thvsctune> tunes;   // sorted by digest; the file's first line wins
    std::vector<uint32_t> lengths;  // milliseconds, each tune's run in file order
    size_t skipped = 0;             // lines that looked like entries but did not parse

    bool found = false;             // the last tune looked up was listed
    size_t tune = 0;                // and its index in tunes
};

extern thvscdb hvscdb;

// Replaces the loaded list with the one in text.
void hvscparse(std::string_view text);

// Reads and parses a file; false (and nothing loaded) when it cannot be read.
bool hvscload(const std::filesystem::path& file);

// Start-up: "Songlengths.md5" in the working directory or in its DOCUMENTS
// subfolder.
void hvscstartup();

// While nothing is loaded: the nearest DOCUMENTS/Songlengths.md5 in dir or
// any folder above it.
void hvscsearch(const std::filesystem::path& dir);

// The lengths of the tune in file (searching above its folder first if
// nothing is loaded yet); sets and returns hvscdb.found.
bool hvsclookup(const std::string& file);

// Looks the MD5 of a whole tune file up; sets and returns hvscdb.found.
bool hvscfind(const std::array<uint8_t, 16>& digest);

// The length of subsong song of the tune last found, in frames at rate;
// false when there is none.
bool hvscsongframes(uint16_t song, uint32_t rate, uint64_t& frames);

// Back to the start state.
void hvscreset();

}  // namespace sid
