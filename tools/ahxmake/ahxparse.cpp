#include "ahxparse.h"

#include <optional>

namespace ahxmake {

namespace {

const char* const notenames[12] = {"C-", "C#", "D-", "D#", "E-", "F-",
                                   "F#", "G-", "G#", "A-", "A#", "B-"};

struct token {
    std::string text;
    bool quoted = false;
};

// A problem found while reading; carries the message up to parsedescription.
struct failure {
    std::string message;
};

std::string quote(const std::string& s)
{
    return "'" + s + "'";
}

// Splits a line into words and quoted strings. A '#' that begins a word
// starts a comment; inside a word it is a sharp (C#3).
std::vector<token> tokenize(const std::string& line)
{
    std::vector<token> out;
    size_t i = 0;
    while (i < line.size()) {
        unsigned char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            i++;
            continue;
        }
        if (c == '#')
            break;
        if (c == '"') {
            token t;
            t.quoted = true;
            i++;
            for (;;) {
                if (i >= line.size())
                    throw failure{"a quoted text has no closing '\"'"};
                unsigned char d = line[i];
                if (d == '"') {
                    i++;
                    break;
                }
                if (d == '\\' && i + 1 < line.size() &&
                    (line[i + 1] == '"' || line[i + 1] == '\\')) {
                    t.text += line[i + 1];
                    i += 2;
                    continue;
                }
                if (d < 32 || d == 127)
                    throw failure{"a quoted text holds a control character"};
                t.text += char(d);
                i++;
            }
            out.push_back(t);
            continue;
        }
        if (c < 32 || c == 127)
            throw failure{"unexpected control character (code " + std::to_string(c) + ")"};
        token t;
        while (i < line.size()) {
            unsigned char d = line[i];
            if (d == ' ' || d == '\t' || d == '\r' || d == '"')
                break;
            if (d < 32 || d == 127)
                throw failure{"unexpected control character (code " + std::to_string(d) +
                              ")"};
            t.text += char(d);
            i++;
        }
        out.push_back(t);
    }
    return out;
}

bool isdigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexvalue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A decimal number with an optional sign, lo..hi; 'what' names it in errors.
int number(const token& t, int lo, int hi, const std::string& what)
{
    const std::string& s = t.text;
    size_t i = 0;
    bool negative = false;
    if (!t.quoted && i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        i++;
    }
    long long v = 0;
    bool any = false;
    for (; i < s.size(); i++) {
        if (t.quoted || !isdigit(s[i]))
            throw failure{what + " must be a number, not " + quote(s)};
        v = v * 10 + (s[i] - '0');
        if (v > 1000000)
            v = 1000000;  // far outside every range; keeps the sum from overflowing
        any = true;
    }
    if (!any)
        throw failure{what + " must be a number, not " + quote(s)};
    if (negative)
        v = -v;
    if (v < lo || v > hi)
        throw failure{what + " must be " + std::to_string(lo) + " to " + std::to_string(hi) +
                      ", not " + s};
    return int(v);
}

int hexnumber(const std::string& s, size_t from, size_t count)
{
    int v = 0;
    for (size_t i = from; i < from + count; i++) {
        int h = hexvalue(s[i]);
        if (h < 0)
            return -1;
        v = v * 16 + h;
    }
    return v;
}

// A track note: "---" or a name.
int tracknote(const token& t)
{
    if (!t.quoted && t.text == "---")
        return 0;
    int n = t.quoted ? -1 : notefromname(t.text);
    if (n < 0)
        throw failure{"expected a note C-1 to B-5 or ---, not " + quote(t.text)};
    return n;
}

int instrnumber(const token& t)
{
    if (!t.quoted && t.text == "--")
        return 0;
    return number(t, 0, maxinstruments, "instrument number");
}

// "---" or three hex digits: command and parameter; the command at most
// maxfx.
void command(const token& t, int maxfx, int& fx, int& param)
{
    const std::string& s = t.text;
    if (!t.quoted && s == "---") {
        fx = 0;
        param = 0;
        return;
    }
    int v = t.quoted || s.size() != 3 ? -1 : hexnumber(s, 0, 3);
    if (v < 0)
        throw failure{"expected a command as three hex digits (like C40) or ---, not " +
                      quote(s)};
    fx = v >> 8;
    param = v & 0xFF;
    if (fx > maxfx)
        throw failure{"command " + s.substr(0, 1) + " does not exist here (0 to " +
                      std::to_string(maxfx) + ")"};
}

int wavecode(const token& t)
{
    static const struct {
        const char* name;
        int code;
    } names[] = {{"-", 0},   {"--", 0},  {"---", 0},   {"keep", 0},     {"tri", 1},
                 {"triangle", 1},        {"saw", 2},   {"sawtooth", 2}, {"sqr", 3},
                 {"square", 3},          {"noise", 4}};
    if (!t.quoted) {
        for (const auto& n : names)
            if (t.text == n.name)
                return n.code;
        if (t.text.size() == 1 && t.text[0] >= '0' && t.text[0] <= '7')
            return t.text[0] - '0';
    }
    throw failure{"expected a wave (keep, tri, saw, sqr, noise or 0 to 7), not " +
                  quote(t.text)};
}

// A performance-list note: "---", "+N" (semitones above the played note),
// a note name, or "=NAME" for a fixed note.
void plistnote(const token& t, plistentrydesc& e)
{
    const std::string& s = t.text;
    e.fixed = false;
    if (!t.quoted && s == "---") {
        e.note = 0;
        return;
    }
    if (!t.quoted && !s.empty() && s[0] == '+') {
        e.note = 1 + number(token{s.substr(1), false}, 0, 62, "note offset");
        return;
    }
    if (!t.quoted && !s.empty() && s[0] == '=') {
        int n = notefromname(s.substr(1));
        if (n < 0)
            throw failure{"expected a fixed note like =C-3, not " + quote(s)};
        e.note = n;
        e.fixed = true;
        return;
    }
    int n = t.quoted ? -1 : notefromname(s);
    if (n < 0)
        throw failure{"expected a note (C-3, +7, =C-3 or ---), not " + quote(s)};
    e.note = n;
}

enum class block { top, instrument, plist, track, positions };

struct reference {
    int line;
    int value;
    int where;  // track number for instrument references
};

class parser {
public:
    explicit parser(moduledesc& m) : m(m) {}

    void line(int nr, const std::vector<token>& w)
    {
        if (w.empty())
            return;
        if (w[0].quoted)
            throw failure{"a line must start with a keyword or a value, not a quoted text"};
        switch (cur) {
        case block::top: topline(nr, w); break;
        case block::instrument: instrumentline(w); break;
        case block::plist: plistline(w); break;
        case block::track: trackline(nr, w); break;
        case block::positions: positionline(nr, w); break;
        }
    }

    // Checks that need the whole text; the error names the offending line.
    void finish(parseerror& err)
    {
        auto fail = [&](int line, const std::string& msg) {
            err.line = line;
            throw failure{msg};
        };
        if (cur != block::top)
            fail(blockline, openname + " has no 'end'");
        if (m.positions.empty())
            fail(0, "the song has no positions");
        const int poscount = int(m.positions.size());
        if (poscount > maxpositions)
            fail(0, "the song has " + std::to_string(poscount) + " positions; at most " +
                        std::to_string(maxpositions) + " are played");
        if (m.restartpos >= poscount)
            fail(restartline, "restart position " + std::to_string(m.restartpos) +
                                  " is beyond the last position (" +
                                  std::to_string(poscount - 1) + ")");
        for (const reference& r : subsongrefs)
            if (r.value >= poscount)
                fail(r.line, "subsong start " + std::to_string(r.value) +
                                 " is beyond the last position (" +
                                 std::to_string(poscount - 1) + ")");
        int count = 0;
        for (int i = maxinstruments; i >= 1; i--)
            if (instruments[i]) {
                count = i;
                break;
            }
        for (int i = 1; i < count; i++)
            if (!instruments[i])
                fail(instrlines[count], "instrument " + std::to_string(count) +
                                            " is described but instrument " +
                                            std::to_string(i) + " is not");
        m.instruments.clear();
        for (int i = 1; i <= count; i++)
            m.instruments.push_back(*instruments[i]);
        for (const reference& r : instrrefs)
            if (r.value > count)
                fail(r.line, "track " + std::to_string(r.where) + " uses instrument " +
                                 std::to_string(r.value) + ", which is not described");
        for (const reference& r : trackrefs)
            if (r.value != 0 && !m.tracks[r.value].described)
                fail(r.line, "position uses track " + std::to_string(r.value) +
                                 ", which is not described");
    }

private:
    moduledesc& m;
    block cur = block::top;
    int blockline = 0;
    std::string openname;
    std::array<std::optional<instrumentdesc>, maxinstruments + 1> instruments;
    std::array<int, maxinstruments + 1> instrlines{};
    int instr = 0;
    bool plistdone = false;
    int track = 0;
    int row = 0;
    bool anytrack = false;
    int restartline = 0;
    std::vector<reference> subsongrefs, instrrefs, trackrefs;

    static void count(const std::vector<token>& w, size_t n, const std::string& usage)
    {
        if (w.size() != n)
            throw failure{"expected: " + usage};
    }

    void open(block b, int nr, const std::string& name)
    {
        cur = b;
        blockline = nr;
        openname = name;
    }

    void topline(int nr, const std::vector<token>& w)
    {
        const std::string& k = w[0].text;
        if (k == "title") {
            count(w, 2, "title \"text\"");
            if (!w[1].quoted)
                throw failure{"the title must be in double quotes"};
            m.title = w[1].text;
        } else if (k == "revision") {
            count(w, 2, "revision 0|1");
            m.revision = number(w[1], 0, 1, "revision");
        } else if (k == "speedmul") {
            count(w, 2, "speedmul 1..4");
            m.speedmul = number(w[1], 1, 4, "speed multiplier");
        } else if (k == "restart") {
            count(w, 2, "restart POSITION");
            m.restartpos = number(w[1], 0, 65535, "restart position");
            restartline = nr;
        } else if (k == "tracklen") {
            count(w, 2, "tracklen 1..64");
            if (anytrack)
                throw failure{"tracklen must come before the first track"};
            m.tracklen = number(w[1], 1, maxtracklen, "track length");
        } else if (k == "subsong") {
            count(w, 2, "subsong POSITION");
            if (int(m.subsongs.size()) >= maxsubsongs)
                throw failure{"more than " + std::to_string(maxsubsongs) + " subsongs"};
            m.subsongs.push_back(number(w[1], 0, 65535, "subsong start position"));
            subsongrefs.push_back({nr, m.subsongs.back(), 0});
        } else if (k == "instrument") {
            if (w.size() != 3 || !w[2].quoted)
                throw failure{"expected: instrument NUMBER \"name\""};
            instr = number(w[1], 1, maxinstruments, "instrument number");
            if (instruments[instr])
                throw failure{"instrument " + std::to_string(instr) +
                              " is already described (line " +
                              std::to_string(instrlines[instr]) + ")"};
            instruments[instr] = instrumentdesc{};
            instruments[instr]->name = w[2].text;
            instrlines[instr] = nr;
            plistdone = false;
            open(block::instrument, nr, "instrument " + std::to_string(instr));
        } else if (k == "track") {
            count(w, 2, "track NUMBER");
            track = number(w[1], 0, maxtracks - 1, "track number");
            if (m.tracks[track].described)
                throw failure{"track " + std::to_string(track) + " is already described"};
            m.tracks[track].described = true;
            m.tracks[track].steps.assign(m.tracklen, stepdesc{});
            anytrack = true;
            row = 0;
            open(block::track, nr, "track " + std::to_string(track));
        } else if (k == "positions") {
            count(w, 1, "positions");
            open(block::positions, nr, "the position list");
        } else if (k == "end") {
            throw failure{"'end' without a block to close"};
        } else {
            throw failure{"unknown keyword " + quote(k)};
        }
    }

    void instrumentline(const std::vector<token>& w)
    {
        instrumentdesc& i = *instruments[instr];
        const std::string& k = w[0].text;
        if (k == "end") {
            count(w, 1, "end");
            cur = block::top;
        } else if (k == "volume") {
            count(w, 2, "volume 0..64");
            i.volume = number(w[1], 0, 64, "volume");
        } else if (k == "wavelen") {
            count(w, 2, "wavelen 0..5");
            i.wavelen = number(w[1], 0, 5, "wave length");
        } else if (k == "attack" || k == "decay" || k == "release") {
            count(w, 3, k + " FRAMES VOLUME");
            int f = number(w[1], 0, 255, k + " frames");
            int v = number(w[2], 0, 64, k + " volume");
            if (k == "attack") {
                i.attackframes = f;
                i.attackvol = v;
            } else if (k == "decay") {
                i.decayframes = f;
                i.decayvol = v;
            } else {
                i.releaseframes = f;
                i.releasevol = v;
            }
        } else if (k == "sustain") {
            count(w, 2, "sustain FRAMES");
            i.sustainframes = number(w[1], 0, 255, "sustain frames");
        } else if (k == "filter") {
            count(w, 4, "filter LOW HIGH SPEED");
            i.filterlow = number(w[1], 0, 63, "filter low");
            i.filterhigh = number(w[2], 0, 63, "filter high");
            i.filterspeed = number(w[3], 0, 63, "filter speed");
        } else if (k == "square") {
            count(w, 4, "square LOW HIGH SPEED");
            i.squarelow = number(w[1], 0, 255, "square low");
            i.squarehigh = number(w[2], 0, 255, "square high");
            i.squarespeed = number(w[3], 0, 255, "square speed");
        } else if (k == "vibrato") {
            count(w, 4, "vibrato DELAY DEPTH SPEED");
            i.vibdelay = number(w[1], 0, 255, "vibrato delay");
            i.vibdepth = number(w[2], 0, 15, "vibrato depth");
            i.vibspeed = number(w[3], 0, 255, "vibrato speed");
        } else if (k == "hardcut") {
            if (w.size() != 2 && !(w.size() == 3 && !w[2].quoted && w[2].text == "release"))
                throw failure{"expected: hardcut FRAMES [release]"};
            i.hardcutframes = number(w[1], 0, 7, "hard cut frames");
            i.hardcutrelease = w.size() == 3;
        } else if (k == "plist") {
            count(w, 2, "plist SPEED");
            if (plistdone)
                throw failure{"instrument " + std::to_string(instr) +
                              " already has a performance list"};
            i.plistspeed = number(w[1], 0, 255, "performance-list speed");
            i.plist.clear();
            plistdone = true;
            cur = block::plist;
        } else {
            throw failure{"unknown instrument setting " + quote(k)};
        }
    }

    void plistline(const std::vector<token>& w)
    {
        instrumentdesc& i = *instruments[instr];
        if (!w[0].quoted && w[0].text == "end") {
            count(w, 1, "end");
            cur = block::instrument;
            return;
        }
        count(w, 4, "NOTE WAVE CMD1 CMD2 (like: +0 saw 000 ---)");
        if (int(i.plist.size()) >= maxplistlen)
            throw failure{"a performance list holds at most " + std::to_string(maxplistlen) +
                          " entries"};
        plistentrydesc e;
        plistnote(w[0], e);
        e.wave = wavecode(w[1]);
        command(w[2], 7, e.fx1, e.param1);
        command(w[3], 7, e.fx2, e.param2);
        i.plist.push_back(e);
    }

    void trackline(int nr, const std::vector<token>& w)
    {
        if (!w[0].quoted && w[0].text == "end") {
            count(w, 1, "end");
            cur = block::top;
            return;
        }
        size_t first = 0;
        const std::string& t0 = w[0].text;
        if (!t0.empty() && t0.back() == ':') {
            int r = number(token{t0.substr(0, t0.size() - 1), false}, 0, maxtracklen - 1,
                           "row number");
            if (r >= m.tracklen)
                throw failure{"row " + std::to_string(r) + " is beyond the track length (" +
                              std::to_string(m.tracklen) + ")"};
            if (r < row)
                throw failure{"row " + std::to_string(r) + " comes after row " +
                              std::to_string(row - 1) + " has been written"};
            row = r;
            first = 1;
        }
        const size_t n = w.size() - first;
        if (n < 1 || n > 4)
            throw failure{"expected a row: [ROW:] NOTE [INSTRUMENT [COMMAND]]"};
        if (row >= m.tracklen)
            throw failure{"track " + std::to_string(track) + " has more than " +
                          std::to_string(m.tracklen) + " rows"};
        stepdesc s;
        s.note = tracknote(w[first]);
        if (n >= 2)
            s.instr = instrnumber(w[first + 1]);
        if (n == 3)
            command(w[first + 2], 15, s.fx, s.param);
        if (n == 4) {
            const token& c = w[first + 2];
            const token& p = w[first + 3];
            if (!c.quoted && c.text == "-")
                s.fx = 0;
            else if (!c.quoted && c.text.size() == 1 && hexvalue(c.text[0]) >= 0)
                s.fx = hexvalue(c.text[0]);
            else
                throw failure{"expected a command as one hex digit, not " + quote(c.text)};
            if (!p.quoted && p.text == "--")
                s.param = 0;
            else if (!p.quoted && (p.text.size() == 1 || p.text.size() == 2) &&
                     hexnumber(p.text, 0, p.text.size()) >= 0)
                s.param = hexnumber(p.text, 0, p.text.size());
            else
                throw failure{"expected a parameter as two hex digits, not " + quote(p.text)};
        }
        if (s.instr > 0)
            instrrefs.push_back({nr, s.instr, track});
        m.tracks[track].steps[row] = s;
        row++;
    }

    void positionline(int nr, const std::vector<token>& w)
    {
        if (!w[0].quoted && w[0].text == "end") {
            count(w, 1, "end");
            cur = block::top;
            return;
        }
        count(w, 8, "TRACK TRANSPOSE for each of the 4 channels");
        if (int(m.positions.size()) >= maxpositions)
            throw failure{"more than " + std::to_string(maxpositions) + " positions"};
        positiondesc p;
        for (int c = 0; c < 4; c++) {
            p.track[c] = number(w[2 * c], 0, maxtracks - 1, "track number");
            p.transpose[c] = number(w[2 * c + 1], -128, 127, "transpose");
            trackrefs.push_back({nr, p.track[c], 0});
        }
        m.positions.push_back(p);
    }
};

}  // namespace

int notefromname(const std::string& name)
{
    if (name.size() != 3)
        return -1;
    char letter = name[0];
    if (letter >= 'a' && letter <= 'z')
        letter = char(letter - 'a' + 'A');
    std::string head{letter, name[1]};
    if (name[2] < '1' || name[2] > '5')
        return -1;
    for (int i = 0; i < 12; i++)
        if (head == notenames[i])
            return (name[2] - '1') * 12 + i + 1;
    return -1;
}

std::string notename(int note)
{
    if (note < 1 || note > 60)
        return "---";
    return std::string(notenames[(note - 1) % 12]) + char('1' + (note - 1) / 12);
}

bool parsedescription(const std::string& text, moduledesc& m, parseerror& err)
{
    m = moduledesc{};
    parser p(m);
    err = parseerror{};
    int nr = 0;
    size_t start = 0;
    try {
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            nr++;
            err.line = nr;
            p.line(nr, tokenize(text.substr(start, end - start)));
            start = end + 1;
        }
        err.line = 0;
        p.finish(err);
    } catch (const failure& f) {
        err.message = f.message;
        return false;
    }
    err.line = 0;
    return true;
}

}  // namespace ahxmake
