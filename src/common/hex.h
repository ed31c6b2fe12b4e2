// Upper-case hexadecimal digits, as the screens and messages show values.
#pragma once

#include <cstdint>
#include <string>

inline std::string hexbyte(uint8_t b)
{
    static const char digits[] = "0123456789ABCDEF";
    return std::string{digits[b >> 4], digits[b & 0x0F]};
}

inline std::string hexword(uint16_t w)
{
    return hexbyte(static_cast<uint8_t>(w >> 8)) + hexbyte(static_cast<uint8_t>(w & 0xFF));
}
