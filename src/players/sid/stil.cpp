#include "players/sid/stil.h"

#include <cstdio>
#include <iterator>
#include <system_error>

#include "common/files.h"
#include "common/lines.h"
#include "players/sid/collection.h"

namespace sid {

tstil stil;

namespace {

namespace fs = std::filesystem;

// The collection's file is about 3.5 MB; one many times larger is not it
// and is not read into memory.
constexpr uintmax_t maxstilsize = uintmax_t{64} << 20;
// No entry's notes grow past this: the information line shows at most
// 65535 characters, and a tune's notes never come near.
constexpr size_t maxnotes = 16384;
constexpr size_t maxsubsongs = 256;

const char* const fieldgap = "    ";

// ISO-8859-1 from 0xA0 on, as the console's font (code page 437) has it or,
// where it has no such glyph, its nearest letter or sign.
constexpr unsigned char latin1glyphs[96] = {
    ' ',  0xAD, 0x9B, 0x9C, '*',  0x9D, '|',  0x15, '"',  'c',  0xA6, 0xAE, 0xAA, '-',  'R',  '-',
    0xF8, 0xF1, 0xFD, '3',  '\'', 0xE6, 0x14, 0xFA, ',',  '1',  0xA7, 0xAF, 0xAC, 0xAB, '?',  0xA8,
    'A',  'A',  'A',  'A',  0x8E, 0x8F, 0x92, 0x80, 'E',  0x90, 'E',  'E',  'I',  'I',  'I',  'I',
    'D',  0xA5, 'O',  'O',  'O',  'O',  0x99, 'x',  'O',  'U',  'U',  'U',  0x9A, 'Y',  'P',  0xE1,
    0x85, 0xA0, 0x83, 'a',  0x84, 0x86, 0x91, 0x87, 0x8A, 0x82, 0x88, 0x89, 0x8D, 0xA1, 0x8C, 0x8B,
    'd',  0xA4, 0x95, 0xA2, 0x93, 'o',  0x94, 0xF6, 'o',  0x97, 0xA3, 0x96, 0x81, 'y',  'p',  0x98,
};

char glyphof(unsigned char c)
{
    if (c >= 0xA0) return static_cast<char>(latin1glyphs[c - 0xA0]);
    if (c < 0x20 || c >= 0x7F) return ' ';  // control codes, and 0x80-0x9F name none
    return static_cast<char>(c);
}

std::string_view trimright(std::string_view s)
{
    const size_t last = s.find_last_not_of(" \t");
    return last == std::string_view::npos ? std::string_view{} : s.substr(0, last + 1);
}

void appendtext(std::string& to, std::string_view text)
{
    for (const char c : text) {
        if (to.size() >= maxnotes) return;
        to += glyphof(static_cast<unsigned char>(c));
    }
}

// "(#N)" with N from 1 to 256; 0 for any other line.
size_t subsongmark(std::string_view line)
{
    if (line.size() < 4 || line.size() > 6 || line.substr(0, 2) != "(#" || line.back() != ')') return 0;
    size_t n = 0;
    for (const char c : line.substr(2, line.size() - 3)) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + static_cast<size_t>(c - '0');
    }
    return n <= maxsubsongs ? n : 0;
}

// A field line: up to six blanks and a name of capitals filling seven
// columns, ':', then a blank and the text (or nothing). name and text get
// its parts.
bool fieldline(std::string_view line, std::string_view& name, std::string_view& text)
{
    if (line.size() < 8 || line[7] != ':' || (line.size() > 8 && line[8] != ' ')) return false;
    size_t i = 0;
    while (i < 7 && line[i] == ' ') ++i;
    if (i == 7) return false;
    for (size_t k = i; k < 7; ++k)
        if (line[k] < 'A' || line[k] > 'Z') return false;
    name = line.substr(i, 7 - i);
    text = line.size() > 9 ? trimmed(line.substr(9)) : std::string_view{};
    return true;
}

// The parse's place: the entry being read and which of its parts (0: the
// whole tune, N: subsong N) the last field went to.
struct tparse {
    tstilentry* entry = nullptr;
    size_t part = 0;
    bool field = false;  // a field was read into part: continuations go on with it

    std::string& target()
    {
        if (part == 0) return entry->whole;
        if (entry->subsongs.size() < part) entry->subsongs.resize(part);
        return entry->subsongs[part - 1];
    }
};

bool parseline(std::string_view line, tparse& at)
{
    if (line[0] == '/') {
        // A key listed twice: the later entry stands.
        at = tparse{};
        at.entry = &stil.entries[std::string(trimright(line))];
        *at.entry = tstilentry{};
        return true;
    }
    if (!at.entry) return false;
    if (const size_t n = subsongmark(trimright(line))) {
        at.part = n;
        at.field = false;
        return true;
    }
    std::string_view name, text;
    if (line.size() > 9 && line.substr(0, 9) == "         ") {
        if (!at.field) return false;
        text = trimmed(line);
        if (text.empty()) return true;
        std::string& to = at.target();
        appendtext(to, " ");
        appendtext(to, text);
        return true;
    }
    if (!fieldline(line, name, text)) return false;
    std::string& to = at.target();
    if (!to.empty()) appendtext(to, fieldgap);
    appendtext(to, name);
    appendtext(to, ": ");
    appendtext(to, text);
    at.field = true;
    return true;
}

bool loadnotes(const fs::path& file, const fs::path& root)
{
    return stilload(file, root);
}

// Joins two parts of the notes with the gap between fields.
void join(std::string& to, const std::string& part)
{
    if (part.empty()) return;
    if (!to.empty()) to += fieldgap;
    to += part;
}

}  // namespace

void stilparse(std::string_view text)
{
    stil.entries.clear();
    stil.skipped = 0;
    // About 200 bytes an entry in the collection's file.
    stil.entries.reserve(text.size() / 200);
    tparse at;
    std::string_view line;
    for (size_t pos = 0; nextline(text, pos, line);) {
        if (trimmed(line).empty()) {
            at = tparse{};  // a blank line ends the entry
            continue;
        }
        if (line[0] == '#') continue;
        if (!parseline(line, at)) ++stil.skipped;
    }
}

bool stilload(const fs::path& file, const fs::path& root)
{
    std::string text;
    if (!readwholefile(file, maxstilsize, text)) return false;
    stilparse(text);
    stil.loaded = true;
    std::error_code ec;
    stil.root = fs::absolute(root, ec);
    if (ec) stil.root = root;
    return true;
}

void stilstartup()
{
    std::error_code ec;
    stil.start = fs::current_path(ec);
}

std::string stilkey(const fs::path& file, const fs::path& root)
{
    std::error_code ec;
    const fs::path f = fs::absolute(file, ec).lexically_normal();
    if (ec) return {};
    const fs::path r = root.lexically_normal();
    auto fi = f.begin();
    for (auto ri = r.begin(); ri != r.end(); ++ri, ++fi) {
        // A trailing separator leaves an empty last part.
        if (ri->empty() && std::next(ri) == r.end()) break;
        if (fi == f.end() || *fi != *ri) return {};
    }
    std::string key;
    for (; fi != f.end(); ++fi) key += "/" + fi->string();
    return key;
}

core::ttunenotes stilnotes(const std::string& file)
{
    core::ttunenotes notes;
    if (!stil.loaded && !stil.start.empty()) loadfromstart(stil.start, stilfilename, loadnotes);
    if (!stil.loaded) {
        std::error_code ec;
        loadabove(fs::absolute(file, ec).parent_path(), stilfilename, loadnotes);
    }
    if (!stil.loaded) return notes;
    const std::string key = stilkey(file, stil.root);
    if (key.empty()) return notes;
    const auto folder = stil.entries.find(key.substr(0, key.rfind('/') + 1));
    if (folder != stil.entries.end()) join(notes.whole, folder->second.whole);
    const auto tune = stil.entries.find(key);
    if (tune != stil.entries.end()) {
        join(notes.whole, tune->second.whole);
        notes.subsongs = tune->second.subsongs;
    }
    return notes;
}

void stilreset()
{
    stil = tstil{};
}

}  // namespace sid
