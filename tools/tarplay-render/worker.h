// What a worker needs from the program it renders for, beyond the units
// that program links: how its player counts a tune's length.
#pragma once

#include <cstdint>

namespace render {

// Sets the loaded tune's length to seconds, as its player sets the length it
// finds (called after the load, before the recording starts).
void settunelength(double seconds);

// The loaded tune's length in frames, as far as the player counts it.
uint64_t tunelengthframes();

}  // namespace render
