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
// Changes the working directory, relative to the current one; false on failure.
bool setworkdir(const std::string& path);

}  // namespace selector
