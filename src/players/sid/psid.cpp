#include "players/sid/psid.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "common/hex.h"
#include "core/playback.h"
#include "core/tickcontract.h"
#include "common/files.h"
#include "players/sid/cpu.h"
#include "players/sid/machine.h"
#include "players/sid/sidmodel.h"
#include "players/sid/sidload.h"
#include "players/sid/stil.h"
#include "players/sid/sidregs.h"
#include "screen/console.h"
#include "synth/synth.h"
#include "synth/voice.h"

namespace sid {

std::array<uint8_t, 65536> sidimage{};
bool sidloaded = false;
std::string sidfile;

uint16_t loadaddr = 0, initaddr = 0, playaddr = 0, songs = 0, startsong = 0;
uint32_t sidspeed = 0;
bool vbiflag = true;
uint16_t sidsize = 0;
bool rsid = false;

std::array<char, 33> sidname{}, sidauthor{}, sidcopyright{};

uint8_t sidsong = 0;
uint32_t sidticks = 0;
uint16_t cialatch = 0;
uint8_t playcountdown = 0;
int32_t instructioncap = initbudget;

namespace {

constexpr uint8_t errorattr = 0x4F;
constexpr size_t headersize = 118;
// Version 2 and later: flags, relocation pages, the second and third SID.
constexpr size_t longheadersize = 124;
constexpr uint16_t basicflag = 0x0002;  // an RSID tune that is a BASIC program

const char* const readerror = "?FILE READ  ERROR";

void showerror(const std::string& msg)
{
    screen::messagebox(msg, errorattr, true);
}

uint16_t bigword(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] * 256 + p[1]);
}

// The header and the data are read from one open file; every read is
// checked, so a truncated file is refused instead of read past its end.
class tunefile {
public:
    explicit tunefile(const std::string& name) : f_(fopenregular(name, "rb"))
    {
        if (f_ && std::fseek(f_, 0, SEEK_END) == 0) size_ = std::ftell(f_);
        if (f_ && (size_ < 0 || std::fseek(f_, 0, SEEK_SET) != 0)) size_ = -1;
    }
    ~tunefile() { if (f_) std::fclose(f_); }
    tunefile(const tunefile&) = delete;
    tunefile& operator=(const tunefile&) = delete;

    bool ok() const { return f_ && size_ >= 0; }
    long size() const { return size_; }
    long pos() const { return std::ftell(f_); }
    bool seek(long pos) { return pos <= size_ && std::fseek(f_, pos, SEEK_SET) == 0; }
    bool read(void* buf, size_t n) { return n == 0 || std::fread(buf, 1, n, f_) == n; }

private:
    std::FILE* f_;
    long size_ = -1;
};

void copytext(std::array<char, 33>& field, const uint8_t* src)
{
    field.fill(0);
    std::memcpy(field.data(), src, 32);
}

// The chip address a header byte names (0xD000 + 16 x byte), or 0 for none
// or one the format does not allow.
uint16_t chipaddressof(uint8_t b)
{
    const bool allowed = (b & 1) == 0 && ((b >= 0x42 && b <= 0x7F) || b >= 0xE0);
    return allowed ? static_cast<uint16_t>(0xD000 + 16 * b) : 0;
}

void resetvoices()
{
    for (int v = 0; v < synth::voicecount; ++v) {
        synth::voicetunereset(v);
        synth::voicepulse(v, 255);
        synth::voicefilter(v, cutofftab[255]);
        synth::voicemodulation(v, 255, 255, 0);
        synth::voicecontrol(v, 0);
    }
}

}  // namespace

uint16_t latchrate(uint16_t latch)
{
    if (latch == 0) return 0;
    // The quotient is at most 985248, so it fits before being cut to 16 bits.
    return static_cast<uint16_t>(static_cast<uint32_t>(palclock / latch));
}

void setrate(uint16_t hz)
{
    core::settickrate(static_cast<uint16_t>(hz * ticksperplay));
}

std::string sidinfoline()
{
    return "Songtitle: " + std::string(sidname.data()) + "    Composer : " + std::string(sidauthor.data()) +
           "    Copyright: " + std::string(sidcopyright.data()) + " ";
}

bool sidreadfile()
{
    cpu::cpumem.fill(0);
    rsid = false;
    sidchips = 1;
    tunefile f(sidfile);
    if (!f.ok()) {
        showerror(readerror);
        return false;
    }

    uint8_t header[headersize];
    if (!f.read(header, 4)) {
        showerror(readerror);
        return false;
    }
    const std::string magic(reinterpret_cast<const char*>(header), 4);
    if (!magicaccepted(magic)) {
        showerror(badformatmessage(magic));
        return false;
    }
    rsid = magic == "RSID";
    if (!f.read(header + 4, 2)) {
        showerror(readerror);
        return false;
    }
    const uint16_t version = bigword(header + 4);
    if (!versionaccepted(version)) {
        showerror("Unsupported SID-Version " + hexword(version));
        return false;
    }
    if (!f.read(header + 6, headersize - 6)) {
        showerror(readerror);
        return false;
    }

    const uint16_t dataoffset = dataoffsetof(header);
    loadaddr = bigword(header + 8);
    initaddr = bigword(header + 10);
    playaddr = bigword(header + 12);
    songs = bigword(header + 14);
    startsong = bigword(header + 16);
    sidspeed = (uint32_t{header[18]} << 24) | (uint32_t{header[19]} << 16) | (uint32_t{header[20]} << 8) | header[21];
    vbiflag = (sidspeed & 1) == 0;
    copytext(sidname, header + 22);
    copytext(sidauthor, header + 54);
    copytext(sidcopyright, header + 86);

    uint8_t more[longheadersize - headersize] = {};
    if (version >= 2 && dataoffset >= longheadersize && !f.read(more, sizeof more)) {
        showerror(readerror);
        return false;
    }
    if (rsid && (bigword(more) & basicflag)) {
        showerror("BASIC tunes cannot be played");
        return false;
    }
    sidchips = 1;
    sidbase = {0xD400, 0, 0};
    if (extrachipsheard() && version >= 3) {
        // A third chip counts only beside a second, as the format lists them.
        for (int c = 1; c <= (version >= 4 ? 2 : 1) && sidchips == c; ++c) {
            const uint16_t at = chipaddressof(more[3 + c]);
            if (at == 0) break;
            sidbase[static_cast<size_t>(c)] = at;
            sidchips = c + 1;
        }
    }

    if (!f.seek(dataoffset)) {
        showerror(readerror);
        return false;
    }
    if (loadaddr == 0) {
        uint8_t addr[2];
        if (!f.read(addr, 2)) {
            showerror(readerror);
            return false;
        }
        loadaddr = static_cast<uint16_t>(addr[0] + 256 * addr[1]);
    }

    sidimage.fill(0);
    const long pos = f.pos();
    if (pos < 0) {
        showerror(readerror);
        return false;
    }
    const uint32_t n = static_cast<uint32_t>(f.size() - pos) % 65536;
    // Data running past the top of memory is cut there.
    sidsize = static_cast<uint16_t>(std::min<uint32_t>(n, 65536u - loadaddr));
    if (!f.read(sidimage.data() + loadaddr, sidsize)) {
        showerror(readerror);
        return false;
    }
    if (initaddr == 0) initaddr = loadaddr;

    looklengths();
    return true;
}

namespace {

// The unplayed tune in memory and every SID and voice at rest.
void restarttune()
{
    cpu::cpumem = sidimage;
    resetvoices();
    sidreset();
    cpu::cpumem[0] = 0;
}

int32_t callbudget(int32_t budget)
{
    return std::min(budget, instructioncap);
}

// The init call of a PSID. An init that waits for a raster line or a timer
// never sees them move in flat memory, so one that fails is run once more
// from the start with the raster and the timers running, and the tune then
// plays with them running.
bool psidinitcall(uint8_t song)
{
    machine.mode = machinemode::off;
    const int32_t budgetbefore = cyclebudget;
    if (cpu::cpucall(initaddr, song, callbudget(initbudget))) return true;
    cyclebudget = budgetbefore;
    cialatch = 0;
    restarttune();
    machinereset(machinemode::polled);
    if (machinecall(initaddr, song, callbudget(initbudget))) return true;
    machine.mode = machinemode::off;
    return false;
}

}  // namespace

bool sidinit(uint8_t song, bool fromtick)
{
    sidticks = 0;
    cialatch = 0;
    if (!sidloaded) {
        core::settickrate(core::tickrate);
        return false;
    }

    restarttune();
    core::lastsong = static_cast<uint8_t>(songs - 1);
    core::cursong = song;
    sidsong = song;

    // The play screen reads infotext on the main thread while an init runs on
    // the audio thread; for the same tune the text is unchanged and is left
    // untouched.
    const std::string info = sidinfoline();
    if (core::infotext != info) core::infotext = info;
    core::infolen = static_cast<uint16_t>(info.size());

    if (rsid) {
        // The init runs as the machine's main program, from the first tick.
        machinereset(machinemode::interrupts);
        machinestart(initaddr, song);
        setrate(interruptticks);
        setsonglength(song);
        core::settickrate(core::tickrate);
        return true;
    }

    if (!psidinitcall(song)) {
        if (fromtick)
            core::postmessage("SID-Init Error");
        else
            showerror("SID-Init Error");
        return false;
    }

    cpu::cpuhalted = false;
    if (vbiflag)
        setrate(50);
    else if (cialatch != 0)
        setrate(latchrate(cialatch));
    else
        setrate(60);
    if (playaddr == 0) playaddr = static_cast<uint16_t>(cpu::cpumem[0x0314] + 256 * cpu::cpumem[0x0315]);
    setsonglength(song);
    core::settickrate(core::tickrate);
    return true;
}

bool sidtick()
{
    ++sidticks;
    const int voices = 3 * sidchips;
    // The envelopes catch up with the cycles that the previous tick left
    // after its last register write.
    for (int v = 0; v < voices; ++v) envadvance(v, cyclebudget);
    const uint16_t rate = core::tickrate;
    cyclebudget = rate > 0 ? palcycles / rate : palcycles;
    bool played = true;
    if (machine.mode == machinemode::interrupts) {
        machinereadback();
        played = machinerun(callbudget(playbudget));
    } else if (playcountdown > 0) {
        --playcountdown;
    } else {
        beforeplay();
        if (machine.mode == machinemode::polled) {
            played = machinecall(playaddr, 0, callbudget(playbudget));
            // The raster and the timers run on through the rest of the tick.
            const int64_t rest = int64_t{cyclebudget} - cpu::cpucycles;
            if (rest > 0) machineadvance(static_cast<uint32_t>(rest));
        } else {
            played = cpu::cpucall(playaddr, 0, callbudget(playbudget));
        }
        playcountdown = ticksperplay - 1;
    }
    for (int v = 0; v < voices; ++v) synth::voicelevel(v, sidlevel(v));
    cyclebudget -= static_cast<int32_t>(cpu::cpucycles);
    return played;
}

namespace {

const core::tickhooks sidhooks = {
    [](uint8_t song) { sidinit(song, true); },
    sidtick,
    [] { return uint64_t{sidticks}; },
    [] { return sidsong; },
    false,  // a subsong change starts before the tick
    true,   // and starts its time again
};

}  // namespace

void sidupdate()
{
    core::playertick(sidhooks);
}

bool sidload(const std::string& filename)
{
    sidfile = filename;
    // A new tune starts from a clean cycle account, so that it plays (and
    // records) the same whatever tune ran before; subsong changes and rewinds
    // within the tune keep carrying it over.
    cyclebudget = 0;
    playcountdown = 0;
    sidloaded = sidreadfile();
    if (sidloaded) core::tunenotes = stilnotes(sidfile);
    core::tickcontractreset();
    sidsong = core::cursong;
    const bool result = sidinit(sidsong);
    synth::lastvoice = static_cast<uint8_t>(std::min(3 * sidchips, synth::voicelimit()) - 1);
    return result;
}

void sidstop() {}

void buswrite(uint16_t address, uint8_t value)
{
    if (machine.mode != machinemode::off && machinewrite(address, value)) return;
    if (sidchips > 1) {
        const int chip = sidchipat(address);
        if (chip > 0) {
            sidwritechip(chip, static_cast<uint8_t>(address & 0x1F), value);
            return;
        }
    }
    if ((address >> 8) == 0xD4) {
        // The SID's page never reaches memory.
        sidwrite(static_cast<uint8_t>(address & 0x1F), value);
        return;
    }
    if (address != 0x0000) cpu::cpumem[address] = value;
    if (address == 0xDC04 || address == 0xDC05) {
        if (address == 0xDC04)
            cialatch = static_cast<uint16_t>((cialatch & 0xFF00) + value);
        else
            cialatch = static_cast<uint16_t>((cialatch & 0x00FF) + 256 * value);
        if (cialatch > 0) {
            // Rates of 1000 Hz and above are taken for a timer being set up
            // halfway, not for the play rate.
            const uint16_t hz = latchrate(cialatch);
            if (hz < 1000) setrate(hz);
        }
    }
    core::settickrate(core::tickrate);
}

void psidreset()
{
    sidimage.fill(0);
    sidloaded = false;
    sidfile.clear();
    loadaddr = initaddr = playaddr = songs = startsong = 0;
    sidspeed = 0;
    vbiflag = true;
    sidsize = 0;
    rsid = false;
    sidchips = 1;
    sidbase = {0xD400, 0, 0};
    machine.mode = machinemode::off;
    sidname.fill(0);
    sidauthor.fill(0);
    sidcopyright.fill(0);
    sidsong = 0;
    sidticks = 0;
    cialatch = 0;
    playcountdown = 0;
    cyclebudget = 0;
}

}  // namespace sid
