#include "players/sid/songdb.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "common/ioerror.h"
#include "common/files.h"
#include "common/lines.h"
#include "players/sid/md5.h"

namespace sid {

std::vector<uint8_t> songdb;
uint32_t songdbsize = 0;
bool songdbloaded = false;
std::array<uint16_t, 256> songlengths{};
bool songfound = false;

namespace {

const char* const dbname = "Songlengths.db";
const char* const textname = "Songlengths.txt";

// A record holds at most as many lengths as songlengths has entries.
constexpr size_t maxentries = 256;

void putword(std::vector<uint8_t>& out, uint16_t w)
{
    out.push_back(static_cast<uint8_t>(w & 0xFF));
    out.push_back(static_cast<uint8_t>(w >> 8));
}

// A non-empty run of decimal digits that fits 32 bits.
bool parseunsigned(std::string_view s, uint32_t& value)
{
    if (s.empty()) return false;
    uint64_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + static_cast<uint64_t>(c - '0');
        if (v > 0xFFFFFFFFull) return false;
    }
    value = static_cast<uint32_t>(v);
    return true;
}

// Parses one digest line into a record; false abandons the conversion. One
// pass over the line, however long: nothing is erased from its front.
bool convertline(const std::string& line, std::vector<uint8_t>& out)
{
    // Markers such as "(G)" are dropped: the "(" and the two characters after it.
    std::string rest;
    rest.reserve(line.size() - 33);
    for (size_t i = 33; i < line.size();) {
        if (line[i] == '(') {
            i += 3;
        } else {
            rest += line[i];
            ++i;
        }
    }

    const std::string_view text = rest;
    std::vector<uint16_t> entries;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t p = text.find(':', pos);
        if (p == std::string_view::npos) return false;
        uint32_t minutes = 0;
        if (!parseunsigned(text.substr(pos, p - pos), minutes)) return false;
        pos = p + 1;
        uint32_t seconds = 0;
        if (!parseunsigned(text.substr(pos, 2), seconds)) return false;
        pos = std::min(pos + 3, text.size());  // two digits and the separator
        // Lines with more entries than a record may hold keep the first ones;
        // the rest are still checked, so that a malformed line abandons.
        if (entries.size() < maxentries)
            entries.push_back(static_cast<uint16_t>((minutes % 256) * 60 + (seconds % 256)));
    }

    putword(out, static_cast<uint16_t>(2 * entries.size() + 16));
    for (int i = 0; i < 16; ++i)
        out.push_back(static_cast<uint8_t>(hexdigit(line[2 * i]) * 16 + hexdigit(line[2 * i + 1])));
    for (uint16_t e : entries) putword(out, e);
    return true;
}

}  // namespace

std::array<uint8_t, 16> tunedigest(const uint8_t* data, size_t n, uint16_t initaddr,
                                   uint16_t playaddr, uint16_t songs, uint32_t speed)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(n + 6 + songs);
    if (n > 0) bytes.insert(bytes.end(), data, data + n);
    putword(bytes, initaddr);
    putword(bytes, playaddr);
    putword(bytes, songs);
    for (uint32_t song = 0; song < songs; ++song) {
        const bool cia = song < 32 && ((speed >> song) & 1) != 0;
        bytes.push_back(cia ? 60 : 0);
    }
    return md5digest(bytes.data(), bytes.size());
}

bool dbfileexists(const std::string& name)
{
    std::FILE* f = fopenregular(name, "r+b");
    if (!f) return false;
    return std::fclose(f) == 0;
}

void loadsongdb()
{
    if (!dbfileexists(dbname)) return;
    std::FILE* f = fopenregular(dbname, "rb");
    if (!f) return;
    bool ok = std::fseek(f, 0, SEEK_END) == 0;
    const long size = ok ? std::ftell(f) : -1;
    ok = ok && size >= 0 && static_cast<unsigned long>(size) <= 0xFFFFFFFFul &&
         std::fseek(f, 0, SEEK_SET) == 0;
    std::vector<uint8_t> data;
    if (ok) {
        data.resize(static_cast<size_t>(size));
        ok = data.empty() || std::fread(data.data(), 1, data.size(), f) == data.size();
    }
    std::fclose(f);
    if (!ok) return;  // a database that cannot be read whole counts as missing
    songdb = std::move(data);
    songdbsize = static_cast<uint32_t>(songdb.size());
    songdbloaded = true;
}

void convertsongdb(const std::string& textfile, const std::string& binfile)
{
    std::FILE* f = fopenregular(textfile, "rb");
    if (!f) ioerror(textfile);
    std::string text;
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) text.append(chunk, got);
    if (std::ferror(f)) ioerror(textfile);
    if (std::fclose(f) != 0) ioerror(textfile);

    std::vector<uint8_t> out;
    out.reserve(text.size());
    std::string_view line;
    for (size_t pos = 0; nextline(text, pos, line);) {
        if (line.size() < 33 || line[0] == ';' || line[0] == '[') continue;
        if (!convertline(std::string(line), out)) return;
    }

    // A database that cannot be written stays missing: the tunes play with
    // the default length, and the next start tries again.
    std::FILE* b = fopenregular(binfile, "wb");
    if (!b) return;
    const bool ok = out.empty() || std::fwrite(out.data(), 1, out.size(), b) == out.size();
    if (std::fclose(b) != 0 || !ok) std::remove(binfile.c_str());
}

bool findsonglengths(const std::array<uint8_t, 16>& digest)
{
    const uint8_t* db = songdb.data();
    const size_t size = std::min<size_t>(songdbsize, songdb.size());
    size_t pos = 0;
    // A record whose digest would run past the end stops the scan.
    while (pos + 18 <= size) {
        const size_t len = db[pos] + 256u * db[pos + 1];
        if (std::memcmp(db + pos + 2, digest.data(), 16) == 0) {
            // The lengths are copied byte by byte into the little-endian
            // words, cut at the end of the data and at 256 entries.
            size_t count = len > 16 ? len - 16 : 0;
            count = std::min(count, size - (pos + 18));
            count = std::min(count, 2 * songlengths.size());
            for (size_t i = 0; i < count; ++i) {
                uint16_t& w = songlengths[i / 2];
                const uint8_t b = db[pos + 18 + i];
                w = (i & 1) ? static_cast<uint16_t>((w & 0x00FF) | (b << 8))
                            : static_cast<uint16_t>((w & 0xFF00) | b);
            }
            return true;
        }
        // Even a record shorter than its digest is stepped over by its own
        // length; the scan always moves on by at least the length word.
        pos += len + 2;
    }
    return false;
}

void freesongdb()
{
    if (songdbloaded) {
        std::vector<uint8_t>().swap(songdb);
        songdbsize = 0;
        songdbloaded = false;
    }
}

uint8_t hexdigit(char c)
{
    const uint8_t b = static_cast<uint8_t>(c);
    return (b & 0x10) ? (b & 0x0F) : static_cast<uint8_t>((b & 0x1F) + 9);
}

void songdbstartup()
{
    loadsongdb();
    if (!songdbloaded && dbfileexists(textname)) {
        convertsongdb(textname, dbname);
        loadsongdb();
    }
}

void songdbreset()
{
    std::vector<uint8_t>().swap(songdb);
    songdbsize = 0;
    songdbloaded = false;
    songlengths.fill(0);
    songfound = false;
}

}  // namespace sid
