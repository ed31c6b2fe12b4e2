// The High Voltage SID Collection's notes on its tunes, "STIL.txt": who made
// a tune, for which game, what its subsongs are. Plain text in ISO-8859-1:
//   # a comment
//   /MUSICIANS/H/Hubbard_Rob/Commando.sid     a tune's entry (its key)
//     TITLE: Commando                         a field: the name right-aligned
//    ARTIST: ...                              in seven columns, then ": "
//   COMMENT: first part                       and the text; nine blanks go on
//            and the rest                     with the field above
//   (#2)                                      the fields of subsong 2 follow
// A key that ends in "/" is a folder's entry, for every tune in the folder.
// Entries are separated by blank lines. A line that cannot be read is passed
// over alone.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/playback.h"

namespace sid {

inline constexpr const char* stilfilename = "STIL.txt";

struct tstilentry {
    std::string whole;                  // the fields before the first (#N)
    std::vector<std::string> subsongs;  // [N - 1]: the fields of (#N)
};

struct tstil {
    bool loaded = false;           // a file was read: no further search this run
    std::filesystem::path root;    // the folder the keys start from
    std::filesystem::path start;   // the start folder, looked in first
    std::unordered_map<std::string, tstilentry> entries;
    size_t skipped = 0;            // lines passed over
};

extern tstil stil;

// Replaces the entries with those in text; fields read "NAME: text", fields
// of one part separated by four blanks, characters outside ASCII turned
// into the nearest glyph of the console's font.
void stilparse(std::string_view text);

// Reads and indexes file, whose keys start at root; false (nothing loaded)
// when it cannot be read or is far larger than the collection's.
bool stilload(const std::filesystem::path& file, const std::filesystem::path& root);

// Start-up: remembers the start folder. The file is read only when the first
// PSID tune loads: from the start folder or its DOCUMENTS subfolder, or else
// from the nearest DOCUMENTS folder above the tune.
void stilstartup();

// A file's key: its path below root with "/" separators and a leading "/";
// empty when the file is not below root.
std::string stilkey(const std::filesystem::path& file, const std::filesystem::path& root);

// The notes on the tune in file (its folder's, its own and its subsongs'),
// searching for the notes file first if none is loaded; empty when there
// are none.
core::ttunenotes stilnotes(const std::string& file);

// Back to the start state.
void stilreset();

}  // namespace sid
