// A reader of AHX module bytes written straight from the file layout, so that
// the writer's output can be checked field by field without the player.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ahxdesc.h"

namespace ahxtest {

struct decoded {
    bool ok = false;
    std::string why;
    int revision = 0, namesoffset = 0, speedmul = 0, restartpos = 0;
    bool trackzeroabsent = false;
    int tracklen = 0, lasttrack = 0;
    std::size_t end = 0;  // where the data before the names ends
    ahxmake::moduledesc m;  // tracks 0..lasttrack marked described
};

inline decoded decode(const std::vector<uint8_t>& b)
{
    decoded d;
    size_t pos = 0;
    auto need = [&](size_t n) {
        if (pos + n > b.size())
            throw std::string("data ends at ") + std::to_string(pos);
    };
    auto byte = [&]() {
        need(1);
        return int(b[pos++]);
    };
    auto word = [&]() {
        int hi = byte();
        return hi * 256 + byte();
    };
    try {
        if (b.size() < 14 || b[0] != 'T' || b[1] != 'H' || b[2] != 'X')
            throw std::string("no THX header");
        pos = 3;
        d.revision = byte();
        d.namesoffset = word();
        int w = word();
        d.trackzeroabsent = (w & 0x8000) != 0;
        d.speedmul = ((w >> 13) & 3) + 1;
        int poscount = w & 0x0FFF;
        d.restartpos = word();
        d.tracklen = byte();
        d.lasttrack = byte();
        int instrcount = byte();
        int subsongcount = byte();
        auto& m = d.m;
        m.revision = d.revision;
        m.speedmul = d.speedmul;
        m.restartpos = d.restartpos;
        m.tracklen = d.tracklen;
        for (int i = 0; i < subsongcount; i++)
            m.subsongs.push_back(word());
        for (int p = 0; p < poscount; p++) {
            ahxmake::positiondesc pd;
            for (int c = 0; c < 4; c++) {
                pd.track[c] = byte();
                pd.transpose[c] = int8_t(byte());
            }
            m.positions.push_back(pd);
        }
        for (int t = 0; t <= d.lasttrack; t++) {
            auto& td = m.tracks[t];
            td.described = true;
            td.steps.assign(d.tracklen, {});
            if (t == 0 && d.trackzeroabsent)
                continue;
            for (int r = 0; r < d.tracklen; r++) {
                int b0 = byte(), b1 = byte(), b2 = byte();
                td.steps[r] = {b0 >> 2, (b0 & 3) * 16 + (b1 >> 4), b1 & 15, b2};
            }
        }
        for (int i = 0; i < instrcount; i++) {
            ahxmake::instrumentdesc in;
            int h[22];
            for (int& x : h)
                x = byte();
            in.volume = h[0];
            in.filterspeed = (h[1] >> 3) | ((h[12] >> 7) << 5);
            in.wavelen = h[1] & 7;
            in.attackframes = h[2];
            in.attackvol = h[3];
            in.decayframes = h[4];
            in.decayvol = h[5];
            in.sustainframes = h[6];
            in.releaseframes = h[7];
            in.releasevol = h[8];
            in.filterlow = h[12] & 0x7F;
            in.vibdelay = h[13];
            in.hardcutrelease = (h[14] & 0x80) != 0;
            in.hardcutframes = (h[14] >> 4) & 7;
            in.vibdepth = h[14] & 15;
            in.vibspeed = h[15];
            in.squarelow = h[16];
            in.squarehigh = h[17];
            in.squarespeed = h[18];
            in.filterhigh = h[19] & 0x3F;
            in.plistspeed = h[20];
            int len = h[21];
            for (int e = 0; e < len; e++) {
                int p0 = byte(), p1 = byte(), p2 = byte(), p3 = byte();
                ahxmake::plistentrydesc pe;
                pe.fx2 = p0 >> 5;
                pe.fx1 = (p0 >> 2) & 7;
                pe.wave = (p0 & 3) * 2 + (p1 >> 7);
                pe.fixed = (p1 & 0x40) != 0;
                pe.note = p1 & 0x3F;
                pe.param1 = p2;
                pe.param2 = p3;
                in.plist.push_back(pe);
            }
            m.instruments.push_back(in);
        }
        d.end = pos;
        pos = size_t(d.namesoffset);
        auto name = [&]() {
            std::string s;
            for (;;) {
                int c = byte();
                if (c == 0)
                    return s;
                s += char(c);
            }
        };
        m.title = name();
        for (auto& in : m.instruments)
            in.name = name();
        d.ok = true;
    } catch (const std::string& why) {
        d.why = why;
    }
    return d;
}

}  // namespace ahxtest
