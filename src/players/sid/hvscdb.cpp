#include "players/sid/hvscdb.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

#include "common/files.h"
#include "common/lines.h"
#include "players/sid/collection.h"
#include "players/sid/md5.h"

namespace sid {

thvscdb hvscdb;

namespace {

namespace fs = std::filesystem;

// A subsong index is one byte, so a tune never needs more lengths than this.
constexpr size_t maxlengths = 256;

// Larger files are neither a song-length list nor a PSID tune; they are not
// read whole into memory.
constexpr uintmax_t maxlistsize = uintmax_t{256} << 20;
constexpr uintmax_t maxtunesize = uintmax_t{16} << 20;

int hexvalue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool blank(char c) { return c == ' ' || c == '\t'; }
bool digit(char c) { return c >= '0' && c <= '9'; }

// One line's parse: a cursor over the line that fails without moving past
// its end.
class lineparser {
public:
    explicit lineparser(std::string_view line) : s_(line) {}

    bool done() const { return p_ >= s_.size(); }
    char peek() const { return done() ? '\0' : s_[p_]; }
    void skipblanks()
    {
        while (!done() && blank(s_[p_])) ++p_;
    }
    bool take(char c)
    {
        if (peek() != c) return false;
        ++p_;
        return true;
    }

    bool digest(std::array<uint8_t, 16>& d)
    {
        if (s_.size() - p_ < 32) return false;
        for (size_t i = 0; i < 16; ++i) {
            const int hi = hexvalue(s_[p_ + 2 * i]);
            const int lo = hexvalue(s_[p_ + 2 * i + 1]);
            if (hi < 0 || lo < 0) return false;
            d[i] = static_cast<uint8_t>(hi * 16 + lo);
        }
        p_ += 32;
        return true;
    }

    // Up to maxdigits decimal digits (at least one); width gets their count.
    bool number(size_t maxdigits, uint32_t& value, size_t& width)
    {
        value = 0;
        width = 0;
        while (!done() && digit(s_[p_])) {
            if (++width > maxdigits) return false;
            value = value * 10 + static_cast<uint32_t>(s_[p_++] - '0');
        }
        return width > 0;
    }

    // m:ss or m:ss.mmm (one to three fraction digits) in milliseconds.
    bool length(uint32_t& ms)
    {
        uint32_t minutes = 0, seconds = 0, fraction = 0;
        size_t width = 0;
        if (!number(4, minutes, width) || !take(':')) return false;
        if (!number(2, seconds, width) || width != 2 || seconds > 59) return false;
        if (take('.')) {
            if (!number(3, fraction, width)) return false;
            for (; width < 3; ++width) fraction *= 10;
        }
        ms = minutes * 60000 + seconds * 1000 + fraction;
        return true;
    }

    // An attribute such as "(G)" after a length carries nothing we use.
    bool attribute()
    {
        if (!take('(')) return true;
        while (!done() && s_[p_] != ')') ++p_;
        return take(')');
    }

private:
    std::string_view s_;
    size_t p_ = 0;
};

// Appends the line's lengths to out; false for a line that is not an entry.
bool parseentry(std::string_view line, thvsctune& tune, std::vector<uint32_t>& out)
{
    lineparser lp(line);
    lp.skipblanks();
    if (!lp.digest(tune.digest)) return false;
    lp.skipblanks();
    if (!lp.take('=')) return false;
    const size_t start = out.size();
    size_t count = 0;
    for (lp.skipblanks(); !lp.done(); lp.skipblanks()) {
        if (lp.peek() == '(') {
            // An attribute set apart from its length by a blank.
            if (count == 0 || !lp.attribute()) break;
        } else {
            uint32_t ms = 0;
            if (!lp.length(ms) || !lp.attribute()) break;
            if (++count <= maxlengths) out.push_back(ms);
        }
        // Each item runs up to a blank or the end of the line.
        if (!lp.done() && !blank(lp.peek())) break;
    }
    if (!lp.done() || count == 0) {
        out.resize(start);
        return false;
    }
    tune.first = static_cast<uint32_t>(start);
    tune.count = static_cast<uint16_t>(out.size() - start);
    return true;
}

bool digestless(const thvsctune& a, const thvsctune& b) { return a.digest < b.digest; }

}  // namespace

void hvscparse(std::string_view text)
{
    thvscdb& db = hvscdb;
    db.tunes.clear();
    db.lengths.clear();
    db.skipped = 0;
    db.found = false;
    // About 70 bytes per tune and a little over one subsong each in the
    // collection's file.
    db.tunes.reserve(text.size() / 64);
    db.lengths.reserve(text.size() / 48);

    std::string_view line;
    for (size_t pos = 0; nextline(text, pos, line);) {
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos || line[first] == ';' || line[first] == '[') continue;
        thvsctune tune{};
        if (parseentry(line, tune, db.lengths))
            db.tunes.push_back(tune);
        else
            ++db.skipped;
    }
    std::stable_sort(db.tunes.begin(), db.tunes.end(), digestless);
}

bool hvscload(const std::filesystem::path& file)
{
    std::string text;
    if (!readwholefile(file, maxlistsize, text)) return false;
    hvscparse(text);
    hvscdb.loaded = true;
    hvscdb.file = file;
    return true;
}

namespace {

bool loadlist(const fs::path& file, const fs::path&)
{
    return hvscload(file);
}

}  // namespace

void hvscstartup()
{
    loadfromstart(fs::path(), hvscfilename, loadlist);
}

void hvscsearch(const std::filesystem::path& dir)
{
    if (!hvscdb.loaded) loadabove(dir, hvscfilename, loadlist);
}

bool hvsclookup(const std::string& file)
{
    thvscdb& db = hvscdb;
    db.found = false;
    if (!db.loaded) {
        std::error_code ec;
        hvscsearch(fs::absolute(file, ec).parent_path());
    }
    std::string data;
    if (db.tunes.empty() || !readwholefile(file, maxtunesize, data)) return false;
    return hvscfind(md5digest(reinterpret_cast<const uint8_t*>(data.data()), data.size()));
}

bool hvscfind(const std::array<uint8_t, 16>& digest)
{
    thvscdb& db = hvscdb;
    thvsctune key{};
    key.digest = digest;
    const auto it = std::lower_bound(db.tunes.begin(), db.tunes.end(), key, digestless);
    db.found = it != db.tunes.end() && it->digest == digest;
    if (db.found) db.tune = static_cast<size_t>(it - db.tunes.begin());
    return db.found;
}

bool hvscsongframes(uint16_t song, uint32_t rate, uint64_t& frames)
{
    const thvscdb& db = hvscdb;
    if (!db.found || db.tune >= db.tunes.size()) return false;
    const thvsctune& t = db.tunes[db.tune];
    if (song >= t.count) return false;
    frames = uint64_t{db.lengths[t.first + song]} * rate / 1000;
    return true;
}

void hvscreset()
{
    hvscdb = thvscdb{};
}

}  // namespace sid
