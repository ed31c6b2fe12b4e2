#include "playscreen_player.h"

#include "core/audio.h"
#include "core/playback.h"
#include "core/tickcontract.h"
#include "synth/pd/record.h"

namespace testplayer {

config cfg;
record rec;

namespace {

void setvoices()
{
    for (int i = 0; i < 3; ++i) {
        auto& v = synth::voices[i];
        const uint16_t hz = static_cast<uint16_t>(220 * (i + 1) + 10 * rec.song + (rec.count % 8));
        v.hz = hz;
        v.step = static_cast<uint32_t>(synth::hzstep[hz]);
        v.notefrac = synth::hzlog[hz] & 0xFF;
        v.octave = static_cast<uint8_t>(synth::hzlog[hz] >> 8);
        static const uint8_t controls[3] = {0x21, 0x41, 0x11};
        v.control = controls[i];
        v.level = 0xC0;
        v.pulse = 0x80;
        v.filter = 0x40;
    }
}

bool load(const std::string& name)
{
    ++rec.loads;
    rec.loadedname = name;
    if (!cfg.loadok) return false;
    for (const std::string& r : cfg.refused)
        if (r == name) return false;
    core::lastsong = cfg.lastsong;
    core::settickrate(cfg.rate);
    core::songframes = cfg.songframes;
    core::infotext = cfg.info;
    core::infolen = static_cast<uint16_t>(cfg.info.size());
    core::tunenotes = cfg.notes;
    synth::lastvoice = cfg.lastvoice;
    for (auto& v : synth::voices) {
        v.step = 0;
        v.level = 0;
        v.notefrac = 0;
        v.octave = 0;
        v.control = 0;
        v.pulse = 0;
        v.filter = 0;
    }
    rec.song = core::cursong;
    rec.count = 0;
    core::tickcontractreset();
    return true;
}

// A start of the subsong running is a restart, of another a change.
void start(uint8_t song)
{
    if (song == rec.song)
        ++rec.restarts;
    else
        ++rec.songchanges;
    rec.song = song;
    rec.count = 0;
}

// Ticks run in the current call of the player's tick.
uint32_t calls = 0;

bool onetick()
{
    ++rec.count;
    ++calls;
    return true;
}

const core::tickhooks hooks = {
    start, onetick, [] { return uint64_t{rec.count}; }, [] { return rec.song; }, false, false,
};

void tick()
{
    rec.tickframes.push_back(core::playedframes);
    rec.recordingatticks.push_back(core::recording);
    calls = 0;
    core::playertick(hooks);
    // All but the last tick of the call were skipped.
    rec.skippedticks += calls - 1;
    ++rec.ticks;
    setvoices();
}

void stop()
{
    ++rec.stops;
    rec.silentatstop = core::silent;
}

}  // namespace

int install()
{
    cfg = config{};
    rec = record{};
    const int slot = core::freeslot();
    auto& p = core::players[slot];
    p.active = true;
    p.load = load;
    p.tick = tick;
    p.stop = stop;
    p.ext = ".TST";
    p.info = "test player";
    core::curplayer = static_cast<uint8_t>(slot);
    return slot;
}

}  // namespace testplayer
