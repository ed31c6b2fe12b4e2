// tarplay_pd's audio life: no device until a tune is loaded; the play
// screen opens it for the tune and closes it after, and a device that
// cannot be opened sends the user back to the selector, where WAV output
// still works. Time is counted in 16-bit ticks.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "app/audio.h"
#include "app/audiolife.h"
#include "app/playback.h"
#include "app/playscreen.h"
#include "app/system.h"
#include "app/tarplay_pd/playclock.h"
#include "screen/console.h"

namespace shell {

relaxed<uint16_t> songticks{0};
relaxed<uint32_t> playclock{0};

void settuneticks()
{
    songticks = static_cast<uint16_t>(tickrate * 300u);
}

void advanceplayclock()
{
    const uint16_t rate = tickrate;
    const uint64_t next = uint64_t{playclock} + (rate ? 300000u / rate : 0);
    playclock = static_cast<uint32_t>(next > playclocklimit ? playclocklimit : next);
}

void sdlinitfailed(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
    std::exit(254);
}

void audiostartup() {}

// The program ends as it is: no SDL_Quit, no return to a window.
void shutdownsystem() {}

bool audioopen()
{
    if (openaudiodevice()) return true;
    screen::messagebox("?Audio: " + sdlerror() + "  ERROR", 0x4F, true);
    return false;
}

void audiorun()
{
    playclock = 0;
    SDL_PauseAudio(0);
}

void audioend()
{
    SDL_CloseAudio();
}

// The device is closed whenever the selector runs: nothing to keep away.
void recordprepare()
{
    playclock = 0;
    tickcountdown = 0;
}

void recordblock(uint8_t* buffer, int len)
{
    audiocallback(nullptr, buffer, len);
}

void recordprogress(int boxx, int)
{
    const uint16_t length = songticks;
    const uint8_t percent = static_cast<uint8_t>(length ? 100u * (tickpos & 0xFFFF) / length : 100);
    const uint16_t digits[3] = {static_cast<uint16_t>('0' + percent / 100),
                                static_cast<uint16_t>('0' + percent / 10 % 10),
                                static_cast<uint16_t>('0' + percent % 10)};
    for (int i = 0; i < 3; ++i)
        if (boxx + 1 + i >= 0) screen::conputchar(boxx + 1 + i, 25, digits[i]);
}

bool recordstopped()
{
    return false;
}

uint64_t recordlimit()
{
    // Every tick moves tickpos on by one, so within 65536 ticks it meets
    // the length; a tick is at most 65535 frames.
    return uint64_t{65536} * 65535;
}

bool tuneover()
{
    return !running && (tickpos & 0xFFFF) >= songticks;
}

uint32_t tickposof(uint64_t ticks)
{
    return static_cast<uint32_t>(ticks & 0xFFFF);
}

std::string ratetext()
{
    return screen::inttostr(tickrate, 3) + "hz";
}

std::string timetext()
{
    const uint16_t rate = tickrate;
    return minutesseconds(rate ? (tickpos & 0xFFFF) / rate : 0) + "/" + minutesseconds(rate ? songticks / rate : 0);
}

std::string uptimetext()
{
    return {};
}

}  // namespace shell
