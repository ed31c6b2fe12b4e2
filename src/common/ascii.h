// Upper case for file names and keys: letters a-z turned to A-Z, every
// other byte kept, whatever the locale.
#pragma once

#include <cstdint>
#include <string>

inline uint8_t upcasebyte(uint8_t c)
{
    return c >= 'a' && c <= 'z' ? static_cast<uint8_t>(c - 'a' + 'A') : c;
}

inline std::string upcaseascii(std::string s)
{
    for (char& c : s) c = static_cast<char>(upcasebyte(static_cast<uint8_t>(c)));
    return s;
}

// A file name's last four characters (the whole name when shorter), upper
// case: what a tune's extension (".SID", ".AHX") is matched against.
inline std::string upcasedtail(const std::string& name)
{
    return upcaseascii(name.size() < 4 ? name : name.substr(name.size() - 4));
}
