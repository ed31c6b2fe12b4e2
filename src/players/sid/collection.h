// Where the lists of the High Voltage SID Collection are found: the start
// folder, its DOCUMENTS subfolder, or the nearest DOCUMENTS folder at or
// above a tune's folder. The same search serves every list the collection
// ships, so that they are all found where the others are.
#pragma once

#include <filesystem>

namespace sid {

inline constexpr const char* hvscdocsdir = "DOCUMENTS";

// Reads one candidate file; root is the folder that holds DOCUMENTS (the
// start folder for both of its candidates). true when it was read.
using collectionloader = bool (*)(const std::filesystem::path& file, const std::filesystem::path& root);

// name in start, then DOCUMENTS/name in start (start may be empty: the
// working directory, paths kept relative).
bool loadfromstart(const std::filesystem::path& start, const char* name, collectionloader load);

// DOCUMENTS/name in dir and in every folder above it, nearest first, until
// one is read.
bool loadabove(const std::filesystem::path& dir, const char* name, collectionloader load);

}  // namespace sid
