#include "ahxwrite.h"

#include <algorithm>

namespace ahxmake {

int moduledesc::lasttrack() const
{
    for (int t = maxtracks - 1; t > 0; t--)
        if (tracks[t].described)
            return t;
    return 0;
}

bool moduledesc::trackzeroempty() const
{
    const trackdesc& t = tracks[0];
    return std::all_of(t.steps.begin(), t.steps.end(), [](const stepdesc& s) {
        return s.note == 0 && s.instr == 0 && s.fx == 0 && s.param == 0;
    });
}

std::array<uint8_t, 3> packstep(const stepdesc& s)
{
    return {
        uint8_t(((s.note & 0x3F) << 2) | ((s.instr >> 4) & 0x03)),
        uint8_t(((s.instr & 0x0F) << 4) | (s.fx & 0x0F)),
        uint8_t(s.param & 0xFF),
    };
}

std::array<uint8_t, 4> packplistentry(const plistentrydesc& e)
{
    return {
        uint8_t(((e.fx2 & 7) << 5) | ((e.fx1 & 7) << 2) | ((e.wave >> 1) & 3)),
        uint8_t(((e.wave & 1) << 7) | (e.fixed ? 0x40 : 0) | (e.note & 0x3F)),
        uint8_t(e.param1 & 0xFF),
        uint8_t(e.param2 & 0xFF),
    };
}

std::array<uint8_t, 22> packinstrument(const instrumentdesc& i)
{
    std::array<uint8_t, 22> h{};
    h[0] = uint8_t(i.volume);
    h[1] = uint8_t(((i.filterspeed & 0x1F) << 3) | (i.wavelen & 7));
    h[2] = uint8_t(i.attackframes);
    h[3] = uint8_t(i.attackvol);
    h[4] = uint8_t(i.decayframes);
    h[5] = uint8_t(i.decayvol);
    h[6] = uint8_t(i.sustainframes);
    h[7] = uint8_t(i.releaseframes);
    h[8] = uint8_t(i.releasevol);
    h[12] = uint8_t(((i.filterspeed & 0x20) << 2) | (i.filterlow & 0x7F));
    h[13] = uint8_t(i.vibdelay);
    h[14] = uint8_t((i.hardcutrelease ? 0x80 : 0) | ((i.hardcutframes & 7) << 4) |
                    (i.vibdepth & 0x0F));
    h[15] = uint8_t(i.vibspeed);
    h[16] = uint8_t(i.squarelow);
    h[17] = uint8_t(i.squarehigh);
    h[18] = uint8_t(i.squarespeed);
    h[19] = uint8_t(i.filterhigh & 0x3F);
    h[20] = uint8_t(i.plistspeed);
    h[21] = uint8_t(i.plist.size());
    return h;
}

namespace {

void putword(std::vector<uint8_t>& out, int w)
{
    out.push_back(uint8_t((w >> 8) & 0xFF));
    out.push_back(uint8_t(w & 0xFF));
}

void putname(std::vector<uint8_t>& out, const std::string& s)
{
    // A zero inside a name would end it early and shift every later name.
    for (char c : s)
        if (c != 0)
            out.push_back(uint8_t(c));
    out.push_back(0);
}

}  // namespace

bool writemodule(const moduledesc& m, std::vector<uint8_t>& out, std::string& error)
{
    out.clear();
    if (m.positions.empty() || int(m.positions.size()) > maxpositions) {
        error = "the position list must hold 1 to " + std::to_string(maxpositions) +
                " positions, not " + std::to_string(m.positions.size());
        return false;
    }
    if (int(m.instruments.size()) > maxinstruments) {
        error = "at most " + std::to_string(maxinstruments) + " instruments fit a module";
        return false;
    }
    if (int(m.subsongs.size()) > maxsubsongs) {
        error = "at most " + std::to_string(maxsubsongs) + " subsongs fit a module";
        return false;
    }
    if (m.tracklen < 1 || m.tracklen > maxtracklen) {
        error = "track length must be 1 to " + std::to_string(maxtracklen);
        return false;
    }
    if (m.speedmul < 1 || m.speedmul > 4 || m.revision < 0 || m.revision > 1) {
        error = "speed multiplier must be 1 to 4 and revision 0 or 1";
        return false;
    }
    for (const instrumentdesc& i : m.instruments)
        if (int(i.plist.size()) > maxplistlen) {
            error = "instrument \"" + i.name + "\" has more than " +
                    std::to_string(maxplistlen) + " performance-list entries";
            return false;
        }

    const int lasttrack = m.lasttrack();
    const bool skipzero = m.trackzeroempty();

    for (uint8_t b : {uint8_t('T'), uint8_t('H'), uint8_t('X'), uint8_t(m.revision)}) out.push_back(b);
    putword(out, 0);  // names offset, known at the end
    putword(out, (skipzero ? trackzeroabsent : 0) | ((m.speedmul - 1) << 13) |
                     int(m.positions.size()));
    putword(out, m.restartpos);
    out.push_back(uint8_t(m.tracklen));
    out.push_back(uint8_t(lasttrack));
    out.push_back(uint8_t(m.instruments.size()));
    out.push_back(uint8_t(m.subsongs.size()));
    for (int s : m.subsongs)
        putword(out, s);

    for (const positiondesc& p : m.positions)
        for (int c = 0; c < 4; c++) {
            out.push_back(uint8_t(p.track[c]));
            out.push_back(uint8_t(int8_t(p.transpose[c])));
        }

    for (int t = skipzero ? 1 : 0; t <= lasttrack; t++) {
        const trackdesc& td = m.tracks[t];
        for (int r = 0; r < m.tracklen; r++) {
            stepdesc s = r < int(td.steps.size()) ? td.steps[r] : stepdesc{};
            auto b = packstep(s);
            out.insert(out.end(), b.begin(), b.end());
        }
    }

    for (const instrumentdesc& i : m.instruments) {
        auto h = packinstrument(i);
        out.insert(out.end(), h.begin(), h.end());
        for (const plistentrydesc& e : i.plist) {
            auto b = packplistentry(e);
            out.insert(out.end(), b.begin(), b.end());
        }
    }

    const size_t namesoffset = out.size();
    putname(out, m.title);
    for (const instrumentdesc& i : m.instruments)
        putname(out, i.name);

    if (namesoffset > 0xFFFF || out.size() > size_t(maxmodulesize)) {
        error = "the module would be " + std::to_string(out.size()) +
                " bytes; the player reads only the first " + std::to_string(maxmodulesize);
        out.clear();
        return false;
    }
    out[4] = uint8_t(namesoffset >> 8);
    out[5] = uint8_t(namesoffset & 0xFF);
    return true;
}

}  // namespace ahxmake
