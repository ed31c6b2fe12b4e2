// tarplay's and tarplay8's audio life: the device opened once at start-up
// and running to the end, silent while no tune plays; the time of a tune
// counted in frames; the measured tick rate and the uptime on show.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "app/audio.h"
#include "app/audiolife.h"
#include "app/playback.h"
#include "app/playscreen.h"
#include "app/system.h"
#include "screen/console.h"
#include "screen/video.h"
#include "selector/dirlist.h"
#include "synth/synth.h"

namespace shell {

void sdlinitfailed(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
    SDL_Quit();
    std::exit(254);
}

void audiostartup()
{
    if (!openaudiodevice()) {
        screen::messagebox("?Audio: " + sdlerror() + "  ERROR", 0x4F, true);
        SDL_Quit();
        std::exit(254);
    }
    SDL_PauseAudio(0);
}

void shutdownsystem()
{
    if (screen::fullscreen) screen::setvideomode(true);
    SDL_Quit();
    selector::selectordone();
}

bool audioopen()
{
    return true;
}

void audiorun()
{
    measuredrate = 0;
    secondticks = 0;
    secondframes = 0;
    // Last: from here on the audio thread ticks the player.
    silent = false;
}

void audioend()
{
    silent = true;
    // A callback already under way finishes its block before stop runs.
    SDL_LockAudio();
    SDL_UnlockAudio();
    const playerrec& player = players[curplayer.load() & 7];
    if (player.stop) player.stop();
}

void recordprepare()
{
    // The callback must stay away from the player that this thread drives.
    silent = true;
    SDL_LockAudio();
    SDL_UnlockAudio();
    // The first frame starts with a tick, so every recording is the same.
    renderblockcountdown = 0;
}

void recordblock(uint8_t* buffer, int len)
{
    renderblock(nullptr, buffer, len);
}

namespace {

void putcell(int x, int y, uint16_t code)
{
    if (x >= 0 && x < screen::consolecols && y >= 0 && y < screen::screenrows) screen::conputchar(x, y, code);
}

}  // namespace

void recordprogress(int boxx, int len)
{
    const uint64_t played = playedframes;
    const uint64_t length = songframes;
    // With no known length the first block is the whole recording.
    const uint8_t percent = static_cast<uint8_t>(length ? 100 * played / length : 100);
    // The ends of the bar on the box's lower edge.
    putcell(40 - len / 2, 26, 0xB6);
    putcell(40 + len / 2, 26, 0xC7);
    putcell(boxx + 1, 25, static_cast<uint16_t>('0' + percent / 100));
    putcell(boxx + 2, 25, static_cast<uint16_t>('0' + percent / 10 % 10));
    putcell(boxx + 3, 25, static_cast<uint16_t>('0' + percent % 10));
    if (length) {
        const uint8_t pos = static_cast<uint8_t>(static_cast<uint64_t>(len - 2) * played / length);
        putcell(40 - len / 2 + 1 + pos, 26, 0xCD);
    } else {
        for (int pos = 0; pos <= len - 2; ++pos) putcell(40 - len / 2 + 1 + pos, 26, 0xCD);
    }
}

bool recordstopped()
{
    return screen::pollkey();
}

uint64_t recordlimit()
{
    // By this many frames past the length a player must have ticked past it.
    return songframes + 65536 + 4096;
}

bool tuneover()
{
    return !running && playedframes >= songframes;
}

uint32_t tickposof(uint64_t ticks)
{
    return static_cast<uint32_t>(ticks);
}

// Time is counted in frames by the callback: no length in ticks, no
// play-time counter.
void settuneticks() {}
void advanceplayclock() {}

std::string ratetext()
{
    const uint32_t rate = measuredrate ? measuredrate.load() : secondticks.load();
    return screen::inttostr(static_cast<int32_t>(rate), 3) + "hz   ";
}

std::string timetext()
{
    const uint16_t rate = synth::samplerate;
    return minutesseconds(rate ? playedframes / rate : 0) + "/" + minutesseconds(rate ? songframes / rate : 0);
}

std::string uptimetext()
{
    const uint32_t seconds = synth::samplerate ? uptimeframes / synth::samplerate : 0;
    const uint32_t minutes = seconds / 60 % 1000;
    std::string text = " ";
    text += static_cast<char>('0' + minutes / 100);
    text += twodigits(minutes);
    text += ":" + twodigits(seconds % 60);
    return text;
}

}  // namespace shell
