// Turns a module description into the bytes of an AHX file (big-endian,
// "THX" header, positions, tracks, instruments, then the names).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ahxdesc.h"

namespace ahxmake {

// Header word bit 15: track 0 is not stored in the file.
constexpr uint16_t trackzeroabsent = 0x8000;

// Three bytes of one track step.
std::array<uint8_t, 3> packstep(const stepdesc& s);

// Four bytes of one performance-list entry.
std::array<uint8_t, 4> packplistentry(const plistentrydesc& e);

// The 22-byte instrument header.
std::array<uint8_t, 22> packinstrument(const instrumentdesc& i);

// Writes the module into out. False, with the reason in error, when the
// description cannot become a file the player reads whole (too big, too
// many positions or instruments).
bool writemodule(const moduledesc& m, std::vector<uint8_t>& out, std::string& error);

}  // namespace ahxmake
