// The plug-in: the one player instance, its module state and the
// registration in the player table.
#include "players/ahx/ahxplayer.h"

#include "core/playback.h"
#include "players/ahx/ahxinternal.h"
#include "players/ahx/ahxsong.h"
#include "synth/synth.h"

namespace ahx {

tAHXPlayer player;
int32_t cursubsong = 0;
uint32_t tickcount = 0;

namespace {

// The song state stays until the next load; nothing to release.
void ahxstop() {}

void clearsong(tAHXSong& s)
{
    s.title.clear();
    s.restartpos = 0;
    s.poscount = 0;
    s.tracklen = 0;
    s.lasttrack = 0;
    s.instrcount = 0;
    s.subsongcount = 0;
    s.revision = 0;
    s.speedmul = 0;
    s.positions.fill(ahxposition{});
    for (auto& t : s.tracks) t.fill(ahxstep{});
    for (auto& in : s.instruments) in = tAHXInstrument{};
    s.subsongs.fill(0);
}

}  // namespace

void ahxreset()
{
    clearsong(player.song);
    player.channels.fill(ahxchannel{});
    player.stepwait = 0;
    player.newpos = false;
    player.patternbreak = false;
    player.mainvolume = 0;
    player.tempo = 0;
    player.posnr = 0;
    player.posjump = 0;
    player.rownr = 0;
    player.posjumprow = 0;
    cursubsong = 0;
    tickcount = 0;
}

void resetvoices()
{
    for (int c = 0; c < channelcount; ++c) {
        synth::voicetunereset(c);
        synth::voicepulse(c, 0);
        synth::voicephasereset(c);
    }
    // Only the SID player sets a filter resonance.
    synth::setresonance(0);
}

void ahxmoduleinit()
{
    core::playerrec& slot = core::players[core::freeslot()];
    slot.active = true;
    slot.load = ahxload;
    slot.tick = ahxtick;
    slot.stop = ahxstop;
    slot.ext = ".AHX";
    slot.info = "AHX player v0.5 | build 20081019";
}

}  // namespace ahx
