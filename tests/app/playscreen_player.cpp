#include "playscreen_player.h"

#include "app/audio.h"
#include "app/playback.h"
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
    shell::lastsong = cfg.lastsong;
    shell::settickrate(cfg.rate);
    shell::songframes = cfg.songframes;
    shell::infotext = cfg.info;
    shell::infolen = static_cast<uint16_t>(cfg.info.size());
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
    rec.song = shell::cursong;
    rec.count = 0;
    rec.copy = 0;
    shell::tickpos = 0;
    return true;
}

void tick()
{
    const uint32_t pos = shell::tickpos;
    if (pos < rec.copy) {
        ++rec.restarts;
        rec.count = 0;
    } else if (pos > rec.copy) {
        rec.skippedticks += pos - rec.copy;
        rec.count = pos;
    }
    if (shell::cursong != rec.song) {
        rec.song = shell::cursong;
        rec.count = 0;
        ++rec.songchanges;
    }
    ++rec.count;
    ++rec.ticks;
    rec.tickframes.push_back(shell::playedframes);
    rec.runningatticks.push_back(shell::running);
    setvoices();
    shell::tickpos = rec.count;
    if (shell::playedframes >= shell::songframes && !shell::running) shell::quitplay = true;
    rec.copy = shell::tickpos;
}

void stop()
{
    ++rec.stops;
    rec.silentatstop = shell::silent;
}

}  // namespace

int install()
{
    cfg = config{};
    rec = record{};
    const int slot = shell::freeslot();
    auto& p = shell::players[slot];
    p.active = true;
    p.load = load;
    p.tick = tick;
    p.stop = stop;
    p.ext = ".TST";
    p.info = "test player";
    shell::curplayer = static_cast<uint8_t>(slot);
    return slot;
}

}  // namespace testplayer
