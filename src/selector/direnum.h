// The platform's directory enumeration and working directory, kept apart so that the listing itself
// is plain C++.
#pragma once

#include <string>
#include <vector>

namespace selector {

struct direntry {
    std::string name;
    bool isdir = false;
};

// Every entry of the working directory, hidden ones included, in the order
// the platform delivers them. ".." is always among them once the directory
// yields anything at all, so the parent stays reachable even at a drive
// root. A directory that cannot be read yields nothing.
std::vector<direntry> enumeratedir();

// The working directory as a full path; false when it cannot be read.
bool getworkdir(std::string& path);
// Changes the working directory, relative to the current one; false on
// failure, which leaves the working directory as it was.
bool setworkdir(const std::string& path);

// Keeps a handle on the working directory, so that it can be returned to
// however long its path is (a full path past the system's limit cannot be
// changed into). False when no handle can be had here.
bool holdworkdir();
// Back into the held directory, or into path when none is held; false when
// it can no longer be entered (removed meanwhile).
bool returntoheldworkdir(const std::string& path);

}  // namespace selector
