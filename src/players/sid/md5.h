// The MD5 digest (RFC 1321) over one byte sequence: the identity of a tune
// in the song-length database.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace sid {

std::array<uint8_t, 16> md5digest(const uint8_t* data, size_t n);

}  // namespace sid
