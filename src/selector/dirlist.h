// The listing of the working directory: subdirectories and the files that a
// registered player claims, sorted, in a fixed array.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace selector {

struct dirrec {
    uint8_t isdir = 0;
    std::string name;   // as the enumeration returned it
    std::string label;  // what the selector shows, at most 78 characters
};

constexpr int dirarrsize = 1057;
constexpr int maxdirentries = 1023;
using tdirarr = std::array<dirrec, dirarrsize>;

extern tdirarr dirlist;
extern uint16_t dircount;
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

void builddirlist();
void readdirs();
void readfiles(const std::string& ext);
void sortdirlist(uint16_t n);
bool direntryafter(const dirrec& a, const dirrec& b);
splitparts splitpath(const std::string& path);

// The base name and extension that splitpath leaves: what a label shows.
std::string displayname(const std::string& name);
// Letters a-z turned to A-Z, every other byte kept.
uint8_t upcasebyte(uint8_t c);
std::string upcaseascii(std::string s);

}  // namespace selector
