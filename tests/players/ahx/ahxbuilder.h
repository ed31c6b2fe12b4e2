// A small byte-level writer of AHX modules, so that every test states the
// module it plays. Header fields that a test wants to get wrong can be
// overridden after the layout is written.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace ahxtest {

struct step {
    int note = 0, instr = 0, fx = 0, param = 0;
};

struct plistentry {
    int note = 0, fixed = 0, wave = 0, fx1 = 0, fx2 = 0, param1 = 0, param2 = 0;
};

struct position {
    std::array<int, 4> track{};
    std::array<int, 4> transpose{};
};

struct instrument {
    std::string name;
    int vol = 64, wavelen = 2, filterspeed = 0;
    int attackframes = 1, attackvol = 64, decayframes = 1, decayvol = 64;
    int sustainframes = 255, releaseframes = 1, releasevol = 0;
    int filterlow = 0, filterhigh = 0;
    int vibdelay = 0, vibdepth = 0, vibspeed = 0;
    int hardcutrelease = 0, hardcutframes = 0;
    int squarelow = 0, squarehigh = 0, squarespeed = 0;
    int plistspeed = 1;
    std::vector<plistentry> plist;
};

struct module {
    int revision = 1;
    int speedmul = 1;
    bool track0skipped = false;
    int restartpos = 0;
    int tracklen = 4;
    std::string title = "test";
    std::vector<int> subsongs;
    std::vector<position> positions{position{}};
    std::vector<std::vector<step>> tracks{{}};  // track 0..n-1; short tracks are padded
    std::vector<instrument> instruments;        // numbered from 1

    step& at(int track, int row)
    {
        if (tracks.size() <= static_cast<size_t>(track)) tracks.resize(static_cast<size_t>(track) + 1);
        auto& t = tracks[static_cast<size_t>(track)];
        if (t.size() <= static_cast<size_t>(row)) t.resize(static_cast<size_t>(row) + 1);
        return t[static_cast<size_t>(row)];
    }

    std::vector<uint8_t> bytes() const
    {
        std::vector<uint8_t> b{'T', 'H', 'X', static_cast<uint8_t>(revision), 0, 0};
        auto word = [&b](int v) {
            b.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
            b.push_back(static_cast<uint8_t>(v & 0xFF));
        };
        const int lasttrack = static_cast<int>(tracks.size()) - 1;
        word((track0skipped ? 0x8000 : 0) | ((speedmul - 1) & 3) << 13 |
             (static_cast<int>(positions.size()) & 0xFFF));
        word(restartpos);
        b.push_back(static_cast<uint8_t>(tracklen));
        b.push_back(static_cast<uint8_t>(lasttrack < 0 ? 0 : lasttrack));
        b.push_back(static_cast<uint8_t>(instruments.size()));
        b.push_back(static_cast<uint8_t>(subsongs.size()));
        for (int s : subsongs) word(s);
        for (const auto& p : positions)
            for (int c = 0; c < 4; ++c) {
                b.push_back(static_cast<uint8_t>(p.track[static_cast<size_t>(c)]));
                b.push_back(static_cast<uint8_t>(p.transpose[static_cast<size_t>(c)]));
            }
        for (int t = 0; t <= lasttrack; ++t) {
            if (t == 0 && track0skipped) continue;
            const auto& tr = tracks[static_cast<size_t>(t)];
            for (int r = 0; r < tracklen; ++r) {
                const step s = static_cast<size_t>(r) < tr.size() ? tr[static_cast<size_t>(r)] : step{};
                b.push_back(static_cast<uint8_t>((s.note & 63) << 2 | ((s.instr >> 4) & 3)));
                b.push_back(static_cast<uint8_t>((s.instr & 15) << 4 | (s.fx & 15)));
                b.push_back(static_cast<uint8_t>(s.param));
            }
        }
        for (const auto& in : instruments) {
            b.push_back(static_cast<uint8_t>(in.vol));
            b.push_back(static_cast<uint8_t>((in.filterspeed & 31) << 3 | (in.wavelen & 7)));
            for (int v : {in.attackframes, in.attackvol, in.decayframes, in.decayvol, in.sustainframes,
                          in.releaseframes, in.releasevol, 0, 0, 0})
                b.push_back(static_cast<uint8_t>(v));
            b.push_back(static_cast<uint8_t>(((in.filterspeed >> 5) & 1) << 7 | (in.filterlow & 127)));
            b.push_back(static_cast<uint8_t>(in.vibdelay));
            b.push_back(static_cast<uint8_t>((in.hardcutrelease & 1) << 7 | (in.hardcutframes & 7) << 4 |
                                             (in.vibdepth & 15)));
            b.push_back(static_cast<uint8_t>(in.vibspeed));
            b.push_back(static_cast<uint8_t>(in.squarelow));
            b.push_back(static_cast<uint8_t>(in.squarehigh));
            b.push_back(static_cast<uint8_t>(in.squarespeed));
            b.push_back(static_cast<uint8_t>(in.filterhigh & 63));
            b.push_back(static_cast<uint8_t>(in.plistspeed));
            b.push_back(static_cast<uint8_t>(in.plist.size()));
            for (const auto& e : in.plist) {
                b.push_back(static_cast<uint8_t>((e.fx2 & 7) << 5 | (e.fx1 & 7) << 2 | ((e.wave >> 1) & 3)));
                b.push_back(static_cast<uint8_t>((e.wave & 1) << 7 | (e.fixed & 1) << 6 | (e.note & 63)));
                b.push_back(static_cast<uint8_t>(e.param1));
                b.push_back(static_cast<uint8_t>(e.param2));
            }
        }
        const size_t names = b.size();
        b[4] = static_cast<uint8_t>(names >> 8);
        b[5] = static_cast<uint8_t>(names & 0xFF);
        auto text = [&b](const std::string& s) {
            b.insert(b.end(), s.begin(), s.end());
            b.push_back(0);
        };
        text(title);
        for (const auto& in : instruments) text(in.name);
        return b;
    }
};

// Offsets of the sections in a module's bytes, for cutting a file inside
// one of them.
struct layout {
    size_t subsongs, positions, tracks, instruments, names;
};

inline layout layoutof(const module& m)
{
    layout l{};
    l.subsongs = 14;
    l.positions = l.subsongs + 2 * m.subsongs.size();
    l.tracks = l.positions + 8 * m.positions.size();
    const size_t stored = m.tracks.size() - (m.track0skipped && !m.tracks.empty() ? 1 : 0);
    l.instruments = l.tracks + 3 * static_cast<size_t>(m.tracklen) * stored;
    size_t n = l.instruments;
    for (const auto& in : m.instruments) n += 22 + 4 * in.plist.size();
    l.names = n;
    return l;
}

}  // namespace ahxtest
