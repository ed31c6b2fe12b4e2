// The listing of the working directory: subdirectories and the files that a
// registered player claims, sorted, in a fixed array.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/ascii.h"
#include "selector/direnum.h"

namespace selector {

struct dirrec {
    uint8_t isdir = 0;
    std::string name;   // as the enumeration returned it
    std::string label;  // what the selector shows, at most 78 characters
};

// The list starts with room for this many entries and grows for a folder
// that holds more: every entry is listed, however many there are.
constexpr int dirarrsize = 1057;
using tdirarr = std::vector<dirrec>;

extern tdirarr dirlist;
extern int32_t dircount;
extern std::string startdir;

struct splitparts {
    std::string dir;
    std::string name;
    std::string ext;
};

// Remembers startdir, reads the first listing, sets the selector's start state.
void selectorinit();
// Changes back to startdir.
void selectordone();

// Enumerates the folder once and lists its directories, then the files of
// each active player slot in slot order, then sorts.
void builddirlist();
void readdirs(const std::vector<direntry>& entries);
void readfiles(const std::vector<direntry>& entries, const std::string& ext);
// A stable sort: the parent entry first, then directories, then files, each
// ascending by label without regard to letter case.
void sortdirlist(int32_t n);
bool direntryafter(const dirrec& a, const dirrec& b);
splitparts splitpath(const std::string& path);

// The base name and extension that splitpath leaves: what a label shows.
std::string displayname(const std::string& name);

}  // namespace selector
