// One track row for one channel: commands, instrument set-up and the note.
#include <algorithm>

#include "players/ahx/ahxinternal.h"
#include "players/ahx/ahxsong.h"

namespace ahx {

namespace {

// The commands that act before the instrument is set up. False when a note
// delay holds the rest of the row back.
bool rowcommands(ahxchannel& ch, int32_t x, int32_t p)
{
    tAHXPlayer& pl = player;
    const int32_t lo = p & 15, hi = p >> 4;
    switch (x) {
    case 0x0:
        if (lo >= 1 && lo <= 9) pl.posjump = lo;
        break;
    case 0x5:
    case 0xA:
        ch.volslidedown = lo;
        ch.volslideup = hi;
        break;
    case 0xB:
        // Digits accumulate: 0x0 gives the hundreds. Repeated on a frozen
        // row the number grows without bound, so it wraps.
        pl.posjump = wrapadd(static_cast<int32_t>(static_cast<uint32_t>(pl.posjump) * 100u), hi * 10 + lo);
        pl.patternbreak = true;
        break;
    case 0xD:
        pl.posjump = wrapadd(pl.posnr, 1);
        pl.posjumprow = hi * 10 + lo;
        if (pl.posjumprow > pl.song.tracklen) pl.posjumprow = 0;
        pl.patternbreak = true;
        break;
    case 0xE:
        if (hi == 0xC) {
            if (lo < pl.tempo) {
                ch.notecutwait = lo;
                if (lo > 0) {
                    ch.notecuton = true;
                    ch.hardcutrelease = 0;
                }
            }
        } else if (hi == 0xD) {
            if (ch.notedelayon) {
                ch.notedelayon = false;
            } else if (lo < pl.tempo) {
                ch.notedelaywait = lo;
                if (lo > 0) {
                    ch.notedelayon = true;
                    return false;
                }
            }
        }
        break;
    case 0xF:
        pl.tempo = p;
        break;
    default:
        break;
    }
    return true;
}

void setupinstrument(int c, ahxchannel& ch, int32_t i)
{
    const tAHXInstrument& in = instrumentat(i);
    ch.perfsubvol = 64;
    ch.slidespeed = 0;
    ch.slideperiod = 0;
    ch.slidelimit = 0;
    ch.envvol = 0;
    ch.instr = i;
    ahxenvelope(c);
    ch.wavelen = in.wavelen;
    ch.notemaxvol = in.instvol;
    ch.vibpos = 0;
    ch.vibdelay = in.vibdelay;
    ch.vibdepth = in.vibdepth;
    ch.vibspeed = in.vibspeed;
    ch.vibperiod = 0;
    ch.hardcutrelease = in.hardcutrelease;
    ch.hardcut = in.hardcutframes;
    ch.ignoresquare = false;
    ch.squareslidein = false;
    ch.squarewait = 0;
    ch.squareon = false;
    const int32_t a = in.squarelow >> waveshift(ch.wavelen);
    const int32_t b = in.squarehigh >> waveshift(ch.wavelen);
    ch.squarelow = std::min(a, b);
    ch.squarehigh = std::max(a, b);
    ch.filterwait = 0;
    ch.filteron = false;
    ch.filterslidein = false;
    ch.filterspeed = in.filterspeed;
    ch.filterlow = std::min(in.filterlow, in.filterhigh);
    ch.filterhigh = std::max(in.filterlow, in.filterhigh);
    ch.filterpos = 32;
    ch.perfwait = 0;
    ch.perfpos = 0;
    ch.perfspeed = in.plistspeed;
}

}  // namespace

void ahxrow(int c)
{
    tAHXPlayer& pl = player;
    ahxchannel& ch = pl.channels[static_cast<size_t>(c)];
    const ahxstep& st = stepat(positionat(pl.posnr).track[c], pl.rownr);
    const int32_t n = st.note, i = st.instr, x = st.fx, p = st.fxparam;
    const int32_t lo = p & 15, hi = p >> 4;

    ch.volslideup = 0;
    ch.volslidedown = 0;
    if (!rowcommands(ch, x, p)) return;

    if (i > 0) setupinstrument(c, ch, i);

    ch.slideon = false;
    bool strike = true;
    switch (x) {
    case 0x9:
        ch.squarepos = p >> waveshift(ch.wavelen);
        ch.plantsquare = true;
        ch.ignoresquare = true;
        break;
    case 0x3:
    case 0x5:
        // Tone portamento glides to the note instead of striking it.
        if (p != 0) ch.slidespeed = p;
        if (n > 0) {
            const int32_t d = periodof(ch.tracknote) - periodof(n);
            if (static_cast<int64_t>(d) + ch.slideperiod != 0) ch.slidelimit = -d;
        }
        ch.slideon = true;
        ch.slidewithlimit = true;
        strike = false;
        break;
    default:
        break;
    }

    if (n > 0 && strike) ch.tracknote = n;

    switch (x) {
    case 0x1:
        ch.slidespeed = -p;
        ch.slideon = true;
        ch.slidewithlimit = false;
        break;
    case 0x2:
        ch.slidespeed = p;
        ch.slideon = true;
        ch.slidewithlimit = false;
        break;
    case 0xC:
        if (p <= 64) {
            ch.notemaxvol = p;
        } else if (p >= 80 && p <= 144) {
            for (auto& other : pl.channels) other.trackmastervol = p - 80;
        } else if (p >= 160 && p <= 224) {
            ch.trackmastervol = p - 160;
        }
        break;
    case 0xE:
        switch (hi) {
        case 0x1: ch.slideperiod = -lo; break;
        case 0x2: ch.slideperiod = lo; break;
        case 0x4: ch.vibdepth = lo; break;
        case 0xA: ch.notemaxvol = std::min(64, ch.notemaxvol + lo); break;
        case 0xB: ch.notemaxvol = std::max(0, ch.notemaxvol - lo); break;
        default: break;
        }
        break;
    default:
        break;
    }
}

}  // namespace ahx
