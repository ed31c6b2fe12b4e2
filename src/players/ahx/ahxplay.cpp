// The sequencer: the tick contract with the shell, subsong starts and one
// tick of the whole song.
#include "core/tickcontract.h"
#include "players/ahx/ahxinternal.h"
#include "players/ahx/ahxsong.h"

namespace ahx {

namespace {

const core::tickhooks ahxhooks = {
    [](uint8_t song) {
        ahxstartsub(song);
        cursubsong = song;
    },
    [] {
        ahxplay();
        return true;
    },
    [] { return uint64_t{tickcount}; },
    [] { return static_cast<uint8_t>(cursubsong); },
    true,   // the old subsong sounds once more, the new one starts with the next tick
    false,  // the time runs on across a subsong change
};

}  // namespace

void ahxtick()
{
    core::playertick(ahxhooks);
}

bool ahxstartsub(int n)
{
    tickcount = 0;
    if (n < 0 || n > player.song.subsongcount) return false;
    player.posnr = n == 0 ? 0 : player.song.subsongs[static_cast<size_t>(n - 1)];
    player.posjump = 0;
    player.patternbreak = false;
    player.mainvolume = 255;
    player.rownr = 0;
    player.posjumprow = 0;
    player.tempo = 6;
    player.stepwait = 0;
    player.newpos = true;
    for (auto& ch : player.channels) {
        ch = ahxchannel{};
        ch.trackmastervol = 64;
    }
    resetvoices();
    return true;
}

void ahxplay()
{
    tAHXPlayer& p = player;
    ++tickcount;
    if (p.stepwait <= 0) {
        if (p.newpos) {
            const int32_t next = wrapadd(p.posnr, 1) == p.song.poscount ? 0 : wrapadd(p.posnr, 1);
            const ahxposition& cur = positionat(p.posnr);
            const ahxposition& nxt = positionat(next);
            for (int c = 0; c < channelcount; ++c) {
                ahxchannel& ch = p.channels[static_cast<size_t>(c)];
                ch.track = cur.track[c];
                ch.transpose = cur.transpose[c];
                ch.nexttrack = nxt.track[c];
                ch.nexttranspose = nxt.transpose[c];
            }
            p.newpos = false;
        }
        for (int c = 0; c < channelcount; ++c) ahxrow(c);
        p.stepwait = p.tempo;
    }
    for (int c = 0; c < channelcount; ++c) ahxframe(c);
    // With tempo 0 the rows stand still while the per-tick effects go on.
    if (p.tempo > 0) {
        --p.stepwait;
        if (p.stepwait <= 0) {
            if (!p.patternbreak) {
                ++p.rownr;
                if (p.rownr >= p.song.tracklen) {
                    p.posjump = wrapadd(p.posnr, 1);
                    p.posjumprow = 0;
                    p.patternbreak = true;
                }
            }
            if (p.patternbreak) {
                p.patternbreak = false;
                p.rownr = p.posjumprow;
                p.posjumprow = 0;
                p.posnr = p.posjump;
                p.posjump = 0;
                if (p.posnr == p.song.poscount) p.posnr = p.song.restartpos;
                p.newpos = true;
            }
        }
    }
    for (int c = 0; c < channelcount; ++c) ahxsetvoice(c);
}

}  // namespace ahx
