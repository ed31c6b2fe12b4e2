// The per-tick instrument machinery of one channel: note delay and cut,
// envelope, slides, vibrato, performance list, square and filter modulation,
// and the tick's period and volume.
#include <algorithm>
#include <limits>

#include "players/ahx/ahxinternal.h"
#include "players/ahx/ahxsong.h"

namespace ahx {

namespace {

int32_t dividedelta(int32_t numerator, int32_t frames)
{
    // A length of 0 takes the whole step at once.
    return frames != 0 ? numerator / frames : numerator;
}

// The envelope stage: add the delta, and land exactly on the stage's level
// when its last tick is done.
bool envelopestage(int32_t& frames, int32_t delta, int32_t vol, int32_t& envvol)
{
    if (frames <= 0) return false;
    envvol = wrapadd(envvol, delta);
    if (--frames == 0) envvol = vol * 256;
    return true;
}

// First step of a square or filter sweep: from outside the limits it slides
// in toward them before it starts to bounce.
void sweepinit(int32_t x, int32_t lo, int32_t hi, bool& slidein, int32_t& sign)
{
    if (x <= lo) {
        slidein = true;
        sign = 1;
    } else if (x >= hi) {
        slidein = true;
        sign = -1;
    }
}

void sweepbounce(int32_t x, int32_t lo, int32_t hi, bool& slidein, int32_t& sign)
{
    if (x == lo || x == hi) {
        if (slidein)
            slidein = false;
        else
            sign = -sign;
    }
}

void hardcutcheck(ahxchannel& ch)
{
    const tAHXPlayer& pl = player;
    const int32_t nextinstr = pl.rownr + 1 < pl.song.tracklen ? stepat(ch.track, pl.rownr + 1).instr
                                                               : stepat(ch.nexttrack, 0).instr;
    if (nextinstr <= 0) return;
    const int32_t d = std::max(0, pl.tempo - ch.hardcut);
    if (ch.notecuton) {
        ch.hardcut = 0;
    } else {
        ch.notecuton = true;
        ch.notecutwait = d;
        ch.releaselen = pl.tempo - d;
    }
}

void notecut(ahxchannel& ch, const tAHXInstrument& in)
{
    if (ch.notecutwait > 0) {
        --ch.notecutwait;
        return;
    }
    ch.notecuton = false;
    if (ch.hardcutrelease) {
        ch.rdelta = dividedelta(in.releasevol * 256 - ch.envvol, ch.releaselen);
        ch.rframes = ch.releaselen;
        ch.aframes = 0;
        ch.dframes = 0;
        ch.sframes = 0;
    } else {
        ch.notemaxvol = 0;
    }
}

void performancelist(int c, ahxchannel& ch)
{
    const tAHXInstrument& in = instrumentat(ch.instr);
    if (ch.instr > 0 && ch.perfpos >= 0 && ch.perfpos < std::min(in.plistlen, maxplist)) {
        if (--ch.perfwait > 0) return;
        const ahxplistentry& e = in.plist[static_cast<size_t>(ch.perfpos)];
        ++ch.perfpos;
        ch.perfwait = ch.perfspeed;
        if (e.wave > 0) {
            ch.wave = e.wave - 1;
            ch.perfslidespeed = 0;
            ch.perfslideperiod = 0;
        }
        ch.perfslideon = false;
        ahxplistcmd(c, e.fx1, e.param1);
        ahxplistcmd(c, e.fx2, e.param2);
        if (e.note > 0) {
            ch.plistnote = e.note;
            ch.fixednote = e.fixed != 0;
        }
    } else if (ch.perfwait <= 0) {
        ch.perfslidespeed = 0;
    } else {
        --ch.perfwait;
    }
}

void squaremodulation(ahxchannel& ch, const tAHXInstrument& in)
{
    if (ch.wave != 2 || !ch.squareon) return;
    if (--ch.squarewait > 0) return;
    const int32_t x = ch.squarepos;
    if (ch.squareinit) {
        ch.squareinit = false;
        sweepinit(x, ch.squarelow, ch.squarehigh, ch.squareslidein, ch.squaresign);
    }
    sweepbounce(x, ch.squarelow, ch.squarehigh, ch.squareslidein, ch.squaresign);
    ch.squarepos = wrapadd(x, ch.squaresign);
    ch.plantsquare = true;
    ch.squarewait = in.squarespeed;
}

void filtermodulation(ahxchannel& ch)
{
    // Counts down on every tick, also while the modulation is off; it stops
    // at the bottom of its range rather than overflow.
    if (ch.filterwait > std::numeric_limits<int32_t>::min()) --ch.filterwait;
    if (!ch.filteron || ch.filterwait > 0) return;
    int32_t x = ch.filterpos;
    if (ch.filterinit) {
        ch.filterinit = false;
        sweepinit(x, ch.filterlow, ch.filterhigh, ch.filterslidein, ch.filtersign);
    }
    const int count = ch.filterspeed < 3 ? 5 - ch.filterspeed : 1;
    for (int k = 0; k < count; ++k) {
        sweepbounce(x, ch.filterlow, ch.filterhigh, ch.filterslidein, ch.filtersign);
        x = wrapadd(x, ch.filtersign);
    }
    ch.filterpos = x;
    ch.filterwait = std::max(1, ch.filterspeed - 3);
}

}  // namespace

void ahxenvelope(int c)
{
    ahxchannel& ch = player.channels[static_cast<size_t>(c)];
    const tAHXInstrument& in = instrumentat(ch.instr);
    ch.aframes = in.attackframes;
    ch.adelta = dividedelta(in.attackvol * 256, ch.aframes);
    ch.dframes = in.decayframes;
    ch.ddelta = dividedelta((in.decayvol - in.attackvol) * 256, ch.dframes);
    ch.sframes = in.sustainframes;
    ch.rframes = in.releaseframes;
    ch.rdelta = dividedelta((in.releasevol - in.decayvol) * 256, ch.rframes);
}

void ahxplistcmd(int c, int cmd, int p)
{
    ahxchannel& ch = player.channels[static_cast<size_t>(c)];
    switch (cmd) {
    case 0:
        if (player.song.revision > 0 && p != 0) ch.filterpos = p;
        break;
    case 1:
        ch.perfslidespeed = p;
        ch.perfslideon = true;
        break;
    case 2:
        ch.perfslidespeed = -p;
        ch.perfslideon = true;
        break;
    case 3:
        // A square position set by the track this row wins over the list.
        if (ch.ignoresquare)
            ch.ignoresquare = false;
        else
            ch.squarepos = p >> waveshift(ch.wavelen);
        break;
    case 4:
        if (player.song.revision == 0 || p == 0) {
            ch.squareon = !ch.squareon;
            ch.squareinit = ch.squareon;
            ch.squaresign = 1;
        } else {
            if ((p & 0x0F) != 0) {
                ch.squareon = !ch.squareon;
                ch.squareinit = ch.squareon;
                ch.squaresign = (p & 0x0F) == 0x0F ? -1 : 1;
            }
            if ((p & 0xF0) != 0) {
                ch.filteron = !ch.filteron;
                ch.filterinit = ch.filteron;
                ch.filtersign = (p & 0xF0) == 0xF0 ? -1 : 1;
            }
        }
        break;
    case 5:
        ch.perfpos = p;
        break;
    case 6:
        if (p <= 64)
            ch.notemaxvol = p;
        else if (p >= 80 && p <= 144)
            ch.perfsubvol = p - 80;
        else if (p >= 160 && p <= 224)
            ch.trackmastervol = p - 160;
        break;
    case 7:
        ch.perfspeed = p;
        ch.perfwait = p;
        break;
    default:
        break;
    }
}

void ahxframe(int c)
{
    tAHXPlayer& pl = player;
    ahxchannel& ch = pl.channels[static_cast<size_t>(c)];

    if (ch.notedelayon) {
        if (ch.notedelaywait > 0)
            --ch.notedelaywait;
        else
            ahxrow(c);  // finds its delay command set, clears it, runs the rest
    }

    if (ch.hardcut > 0) hardcutcheck(ch);

    // The instrument may have changed in the delayed row above.
    const tAHXInstrument& in = instrumentat(ch.instr);
    if (ch.notecuton) notecut(ch, in);

    if (!envelopestage(ch.aframes, ch.adelta, in.attackvol, ch.envvol) &&
        !envelopestage(ch.dframes, ch.ddelta, in.decayvol, ch.envvol)) {
        if (ch.sframes > 0)
            --ch.sframes;
        else
            envelopestage(ch.rframes, ch.rdelta, in.releasevol, ch.envvol);
    }

    ch.notemaxvol = std::clamp(ch.notemaxvol + ch.volslideup - ch.volslidedown, 0, 64);

    if (ch.slideon) {
        if (ch.slidewithlimit) {
            const int64_t d = static_cast<int64_t>(ch.slideperiod) - ch.slidelimit;
            const int64_t s = d > 0 ? -static_cast<int64_t>(ch.slidespeed) : ch.slidespeed;
            if (d != 0) {
                if (((d + s) ^ d) >= 0)
                    ch.slideperiod = wrapadd(ch.slideperiod, s);
                else
                    ch.slideperiod = ch.slidelimit;
            }
        } else {
            ch.slideperiod = wrapadd(ch.slideperiod, ch.slidespeed);
        }
    }

    if (ch.vibdepth > 0) {
        if (ch.vibdelay > 0) {
            --ch.vibdelay;
        } else {
            ch.vibperiod = vibratotable[static_cast<size_t>(ch.vibpos & 63)] * ch.vibdepth / 128;
            ch.vibpos = (ch.vibpos + ch.vibspeed) & 63;
        }
    }

    performancelist(c, ch);

    if (ch.perfslideon) ch.perfslideperiod = wrapadd(ch.perfslideperiod, -static_cast<int64_t>(ch.perfslidespeed));

    squaremodulation(ch, instrumentat(ch.instr));
    filtermodulation(ch);

    // Setting a square position switches the channel to the square wave.
    if (ch.wave == 2 || ch.plantsquare) {
        ch.wave = 2;
        ch.plantsquare = false;
    }

    int64_t k = ch.plistnote;
    if (!ch.fixednote) k += static_cast<int64_t>(ch.transpose) + ch.tracknote - 1;
    int64_t q = periodtable[static_cast<size_t>(std::clamp<int64_t>(k, 0, 60))];
    if (!ch.fixednote) q += ch.slideperiod;
    q += static_cast<int64_t>(ch.perfslideperiod) + ch.vibperiod;
    ch.period = static_cast<int32_t>(std::clamp<int64_t>(q, 113, 3424));

    int64_t v = ch.envvol / 256;
    v = v * ch.notemaxvol / 64;
    v = v * ch.perfsubvol / 64;
    v = v * ch.trackmastervol / 64;
    v = v * pl.mainvolume / 64;
    ch.voicevol = static_cast<int32_t>(v);
}

}  // namespace ahx
