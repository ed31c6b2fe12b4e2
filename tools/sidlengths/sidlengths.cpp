#include "sidlengths.h"

#include <cctype>
#include <sstream>

#include "players/sid/songdb.h"

namespace sidlengths {

namespace {

uint16_t be16(const std::vector<uint8_t>& f, size_t at) {
    return static_cast<uint16_t>(f[at] * 256 + f[at + 1]);
}

}  // namespace

std::optional<tuneinfo> readtune(const std::vector<uint8_t>& f) {
    constexpr size_t headerend = 118;
    if (f.size() < headerend || f[0] != 'P' || f[1] != 'S' || f[2] != 'I' || f[3] != 'D')
        return std::nullopt;
    uint16_t version = be16(f, 4);
    if (version < 1 || version > 3)
        return std::nullopt;
    size_t pos = be16(f, 6);
    uint16_t load = be16(f, 8);
    uint16_t init = be16(f, 10);
    uint16_t play = be16(f, 12);
    uint16_t songs = be16(f, 14);
    uint32_t speed = static_cast<uint32_t>(be16(f, 18)) << 16 | be16(f, 20);
    if (pos > f.size())
        return std::nullopt;
    if (load == 0) {
        if (f.size() - pos < 2)
            return std::nullopt;
        load = static_cast<uint16_t>(f[pos] + 256 * f[pos + 1]);
        pos += 2;
    }
    // As much as the player places in its image: the rest of the file,
    // taken modulo 64 KB, and never past the top of memory.
    size_t n = (f.size() - pos) % 65536;
    if (n > 65536u - load)
        n = 65536u - load;
    if (init == 0)
        init = load;
    tuneinfo info;
    info.digest = sid::tunedigest(f.data() + pos, n, init, play, songs, speed);
    info.songs = songs;
    return info;
}

std::vector<std::string> statedlengths(const std::string& source) {
    std::istringstream in(source);
    std::string line;
    const std::string tag = "; lengths:";
    while (std::getline(in, line)) {
        if (line.compare(0, tag.size(), tag) != 0)
            continue;
        std::istringstream words(line.substr(tag.size()));
        std::vector<std::string> out;
        std::string w;
        while (words >> w)
            out.push_back(w);
        return out;
    }
    return {};
}

bool validlength(const std::string& e) {
    auto colon = e.find(':');
    if (colon == std::string::npos || colon == 0 || e.size() != colon + 3)
        return false;
    for (size_t i = 0; i < e.size(); ++i)
        if (i != colon && !std::isdigit(static_cast<unsigned char>(e[i])))
            return false;
    return e[colon + 1] < '6';
}

std::string databaseline(const std::array<uint8_t, 16>& digest, const std::vector<std::string>& lengths) {
    static const char hex[] = "0123456789abcdef";
    std::string line;
    for (uint8_t b : digest) {
        line += hex[b >> 4];
        line += hex[b & 15];
    }
    line += '=';
    for (size_t i = 0; i < lengths.size(); ++i) {
        if (i)
            line += ' ';
        line += lengths[i];
    }
    return line;
}

}  // namespace sidlengths
