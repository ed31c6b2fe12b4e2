// The module loader: reads a whole AHX file into the song record and
// prepares playback of subsong cursong.
#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/playback.h"
#include "core/tickcontract.h"
#include "core/tuneclock.h"
#include "common/files.h"
#include "players/ahx/ahxinternal.h"
#include "players/ahx/ahxsong.h"
#include "screen/console.h"
#include "synth/synth.h"

namespace ahx {

namespace {

constexpr size_t maxfilebytes = 65535;
std::array<uint8_t, 65536> buffer;
size_t datalen = 0;

bool fail(const char* msg)
{
    screen::messagebox(msg, 0x4F, true);
    return false;
}

struct reader {
    size_t pos = 0;
    bool has(size_t n) const { return pos + n <= datalen; }
    uint8_t byte() { return buffer[pos++]; }
};

// Zero-terminated text of the names area. A name without its zero, or a
// cursor already past the data, ends at the end of the data.
std::string nametext(size_t& cursor)
{
    std::string s;
    while (cursor < datalen && buffer[cursor] != 0) s += static_cast<char>(buffer[cursor++]);
    if (cursor < datalen) ++cursor;
    return s;
}

// Every run of spaces becomes one space.
std::string collapsespaces(const std::string& name)
{
    std::string s;
    for (char ch : name)
        if (!(ch == ' ' && !s.empty() && s.back() == ' ')) s += ch;
    return s;
}

void readstep(reader& r, ahxstep& st)
{
    const uint8_t b0 = r.byte(), b1 = r.byte(), b2 = r.byte();
    st.note = b0 >> 2;
    st.instr = (b0 & 3) * 16 + (b1 >> 4);
    st.fx = b1 & 15;
    st.fxparam = b2;
}

void readinstrheader(reader& r, tAHXInstrument& in)
{
    uint8_t h[22];
    for (auto& b : h) b = r.byte();
    in.instvol = h[0];
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
    in.hardcutrelease = h[14] >> 7;
    in.hardcutframes = (h[14] >> 4) & 7;
    in.vibdepth = h[14] & 15;
    in.vibspeed = h[15];
    in.squarelow = h[16];
    in.squarehigh = h[17];
    in.squarespeed = h[18];
    in.filterhigh = h[19] & 0x3F;
    in.plistspeed = h[20];
    in.plistlen = h[21];
}

void readplistentry(reader& r, ahxplistentry& e)
{
    const uint8_t p0 = r.byte(), p1 = r.byte(), p2 = r.byte(), p3 = r.byte();
    e.fx2 = p0 >> 5;
    e.fx1 = (p0 >> 2) & 7;
    e.wave = (p0 & 3) * 2 + (p1 >> 7);
    e.fixed = (p1 >> 6) & 1;
    e.note = p1 & 0x3F;
    e.param1 = p2;
    e.param2 = p3;
}

void clearloadstate()
{
    core::infotext.clear();
    core::infolen = 0;
    ahxreset();
}

// Everything after the bytes are in the buffer.
bool loadbuffer()
{
    tAHXSong& song = player.song;
    for (auto& ch : player.channels) ch.trackmastervol = 64;
    resetvoices();

    if (datalen < 14) return fail("?FILE READ  ERROR");
    if (std::memcmp(buffer.data(), "THX", 3) != 0) return fail("?NO AHX FILE  ERROR");
    song.revision = buffer[3];
    if (song.revision > 1) return fail("?UNKNOWN AHX REVISION  ERROR");

    size_t names = static_cast<size_t>(buffer[4] << 8 | buffer[5]);
    song.title = nametext(names);

    const uint16_t word6 = static_cast<uint16_t>(buffer[6] << 8 | buffer[7]);
    const bool track0stored = (word6 & 0x8000) == 0;
    song.speedmul = ((word6 >> 13) & 3) + 1;
    const int32_t poscount = word6 & 0x0FFF;
    song.restartpos = buffer[8] << 8 | buffer[9];
    const int32_t tracklen = buffer[10];
    song.lasttrack = buffer[11];
    const int32_t instrcount = buffer[12];
    song.subsongcount = buffer[13];
    // Lists longer than the stores are read in full and cut to the store.
    song.poscount = std::min(poscount, maxpositions);
    song.tracklen = std::min(tracklen, maxtracklen);
    song.instrcount = std::min(instrcount, maxinstruments - 1);

    reader r{14};
    for (int32_t i = 0; i < song.subsongcount; ++i) {
        if (!r.has(2)) return fail("?SUBSONG READ  ERROR");
        const uint8_t hi = r.byte();
        song.subsongs[static_cast<size_t>(i)] = hi << 8 | r.byte();
    }

    for (int32_t i = 0; i < poscount; ++i) {
        ahxposition dropped;
        ahxposition& pos = i < maxpositions ? song.positions[static_cast<size_t>(i)] : dropped;
        for (int c = 0; c < channelcount; ++c) {
            if (!r.has(2)) return fail("?POSITION LIST READ  ERROR");
            pos.track[c] = r.byte();
            pos.transpose[c] = static_cast<int8_t>(r.byte());
        }
    }

    for (int32_t t = 0; t <= song.lasttrack; ++t) {
        if (t == 0 && !track0stored) continue;
        for (int32_t s = 0; s < tracklen; ++s) {
            if (!r.has(3)) return fail("?TRACK READ  ERROR");
            ahxstep dropped;
            readstep(r, s < maxtracklen ? song.tracks[static_cast<size_t>(t)][static_cast<size_t>(s)]
                                        : dropped);
        }
    }

    // Instruments beyond the store are read and dropped; their names still
    // belong to the information line.
    static tAHXInstrument dropped;
    for (int32_t i = 1; i <= instrcount; ++i) {
        tAHXInstrument& in = i < maxinstruments ? song.instruments[static_cast<size_t>(i)] : dropped;
        in.name = nametext(names);
        const std::string shown = collapsespaces(in.name);
        if (!shown.empty()) core::infotext += shown + " ";
        if (!r.has(22)) return fail("?INSTRUMENT READ  ERROR");
        readinstrheader(r, in);
        for (int32_t e = 0; e < in.plistlen; ++e) {
            if (!r.has(4)) return fail("?MACRO READ  ERROR");
            readplistentry(r, in.plist[static_cast<size_t>(e)]);
        }
    }
    core::infolen = static_cast<uint16_t>(std::min<size_t>(core::infotext.size(), 65535));

    cursubsong = core::cursong;
    core::settickrate(static_cast<uint16_t>(50 * song.speedmul));
    core::clocklength();
    core::tickcontractreset();
    tickcount = 0;
    synth::lastvoice = 3;
    core::lastsong = static_cast<uint8_t>(song.subsongcount);

    const bool started = ahxstartsub(core::cursong);

    const uint64_t ticks = static_cast<uint64_t>(song.tracklen) *
                           static_cast<uint64_t>(song.poscount) *
                           static_cast<uint64_t>(std::max(player.tempo, 0));
    const uint64_t divisor = static_cast<uint64_t>(core::tickrate) *
                             static_cast<uint64_t>(song.speedmul);
    core::songframes = ticks / divisor * synth::samplerate;
    return started;
}

}  // namespace

bool ahxload(const std::string& filename)
{
    clearloadstate();
    std::FILE* f = fopenregular(filename, "rb");
    if (f == nullptr) return fail("?FILE READ  ERROR");
    datalen = std::fread(buffer.data(), 1, maxfilebytes, f);
    const bool readerror = std::ferror(f) != 0;
    std::fclose(f);
    if (readerror) {
        datalen = 0;
        return fail("?FILE READ  ERROR");
    }
    return loadbuffer();
}

bool ahxloadbytes(const uint8_t* data, size_t size)
{
    clearloadstate();
    datalen = std::min(size, maxfilebytes);
    if (datalen > 0) std::memcpy(buffer.data(), data, datalen);
    return loadbuffer();
}

}  // namespace ahx
