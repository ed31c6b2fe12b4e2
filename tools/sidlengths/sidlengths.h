// Builds the song-length text for the demo tunes: each tune's identity
// digest, from the built PSID file, and the subsong lengths that its
// source states on a line "; lengths: m:ss m:ss ...".
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sidlengths {

struct tuneinfo {
    std::array<uint8_t, 16> digest{};
    uint16_t songs = 0;
};

// Reads the header and data of a PSID image held in memory the way the
// player loads it. Empty if the bytes are not a PSID of version 1 to 3 or
// end inside the header or before the data.
std::optional<tuneinfo> readtune(const std::vector<uint8_t>& file);

// The lengths listed on the source's "; lengths:" line, as written; empty
// if there is no such line.
std::vector<std::string> statedlengths(const std::string& source);

// True if every entry is minutes, a colon and two digits of seconds below 60.
bool validlength(const std::string& entry);

// One database line: 32 lower-case hex digits, '=', the lengths.
std::string databaseline(const std::array<uint8_t, 16>& digest, const std::vector<std::string>& lengths);

}  // namespace sidlengths
