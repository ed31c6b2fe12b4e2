// Walking a text file held in memory line by line.
#pragma once

#include <cstddef>
#include <string_view>

// The next line of text from pos on, without its '\n' and a '\r' before it;
// pos moves past it. False when the text is used up.
//   std::string_view line;
//   for (size_t pos = 0; nextline(text, pos, line);) ...
inline bool nextline(std::string_view text, size_t& pos, std::string_view& line)
{
    if (pos >= text.size()) return false;
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return true;
}

// s without the blanks at either end.
inline std::string_view trimmed(std::string_view s, std::string_view blanks = " \t")
{
    const size_t first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}
