// File operations that must not let a hostile folder hurt the program: files
// are read only when they are regular files (a FIFO, a device or a folder
// carrying a tune's or a database's name would block the open or feed
// endless data), and a file is replaced only once its successor is complete.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

// fopen for mode "rb", "r+b" or "wb" that refuses (null, errno set) anything
// but a regular file, without waiting for the other end of a FIFO on the way.
// "wb" creates a missing file.
std::FILE* fopenregular(const std::string& name, const char* mode);

// Creates a new, empty file in the folder of name for writing ("wb"), under
// a name of its own that is handed back in tempname; null (errno set) when
// none can be created.
std::FILE* createbeside(const std::string& name, std::string& tempname);

// Puts the file from in the place of name, replacing whatever had that name;
// false (errno set) on failure, which leaves both as they were.
bool replacefile(const std::string& from, const std::string& name);

// Reads a regular file of at most limit bytes whole into out; false when it
// is missing, not a regular file, larger, or cannot be read.
bool readwholefile(const std::filesystem::path& file, uintmax_t limit, std::string& out);
