// The program's own 8x8 font in code page 437 layout: one byte per pixel
// row, top to bottom, bit 7 the leftmost pixel.
#pragma once

#include <array>
#include <cstdint>

namespace screen {

using tfontdata = std::array<std::array<uint8_t, 8>, 256>;

extern const tfontdata fontdata;  // initialised data
extern tfontdata font;            // working copy that drawing reads

}  // namespace screen
