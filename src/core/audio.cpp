#include "core/audio.h"

#include <algorithm>
#include <cstring>

#include "core/playback.h"
#include "core/shared.h"
#include "synth/synth.h"

namespace core {

uint16_t renderblockcountdown = 0;

void audioreset()
{
    silent = true;
    tickcountdown = 0;
    blockframes = 2048;
    secondticks = 0;
    secondframes = 0;
    measuredrate = 0;
    uptimeframes = 0;
    renderblockcountdown = 0;
    for (auto& s : scopebuf) s = 0;
}

namespace {

constexpr uint32_t maxblock = 65536;

// The renderer takes a run of frames (up to the next tick) in calls of up to
// chunkframes, whose split does not change what it renders; every frame also
// reaches the oscilloscope buffer at its place in the block.
constexpr uint32_t chunkframes = 4096;

void renderrun(uint8_t* stream, uint32_t first, uint32_t count)
{
    int16_t frames[2 * chunkframes];
    for (uint32_t done = 0; done < count;) {
        const uint32_t n = std::min(count - done, chunkframes);
        synth::renderframes(frames, static_cast<uint16_t>(n));
        std::memcpy(stream + 4 * (first + done), frames, 4 * static_cast<size_t>(n));
        for (uint32_t k = 0; k < n; ++k) scopebuf[first + done + k] = frames[2 * k];
        done += n;
    }
}

// The frames of one block: a tick whenever the countdown reaches 0 (then
// reloaded from samplespertick; a rate of 0 gives 65536 frames a tick), and
// the frames up to the next tick rendered in one run. What a caller counts
// comes in through Counting: ticked() after each tick, cut(run) to end a run
// early, counted(run) before a run is rendered.
template <class Counting>
void frameloop(uint8_t* stream, int len, uint16_t& countdown, Counting& counting)
{
    const int frames = len / 4;
    blockframes = frames;
    const uint32_t total = std::min<uint32_t>(frames > 0 ? static_cast<uint32_t>(frames) : 0, maxblock);
    for (uint32_t i = 0; i < total;) {
        if (countdown == 0) {
            const playerrec& p = currentplayer();
            if (p.tick) p.tick();
            countdown = static_cast<uint16_t>(samplespertick.load());
            counting.ticked();
        }
        const uint32_t run = counting.cut(std::min(countdown == 0 ? 65536u : countdown, total - i));
        countdown = static_cast<uint16_t>(countdown - run);
        counting.counted(run);
        renderrun(stream, i, run);
        i += run;
    }
}

struct countnothing {
    void ticked() {}
    uint32_t cut(uint32_t run) { return run; }
    void counted(uint32_t) {}
};

struct countplayed : countnothing {
    void counted(uint32_t run) { playedframes.add(run); }
};

// The always-open device measures the tick rate over each second of frames
// and keeps the program's uptime.
struct countdevice {
    void ticked() { ++secondticks; }
    // A run also ends at the frame that completes a second.
    uint32_t cut(uint32_t run)
    {
        const uint32_t rate = synth::samplerate;
        const uint32_t second = secondframes;
        return std::min(run, rate > second + 1 ? rate - second : 1u);
    }
    void counted(uint32_t run)
    {
        uptimeframes = static_cast<uint32_t>(std::min<uint64_t>(uint64_t{uptimeframes} + run, 4294967295u));
        // The play screen stores to playedframes at the same time (restart,
        // skip); an increment as load and store could undo such a store.
        playedframes.add(run);
        const uint32_t rate = synth::samplerate;
        const uint32_t second = secondframes;
        if (second + run >= rate) {
            measuredrate = secondticks.load();
            secondticks = 0;
            secondframes = 0;
        } else {
            secondframes = second + run;
        }
    }
};

}  // namespace

void devicecallback(void*, uint8_t* stream, int len)
{
    if (silent) {
        blockframes = len / 4;
        std::memset(stream, 0, static_cast<size_t>(len));
        tickcountdown = 0;  // the first non-silent frame starts with a tick
        return;
    }
    uint16_t countdown = tickcountdown;
    countdevice counting;
    frameloop(stream, len, countdown, counting);
    tickcountdown = countdown;
}

void pertunecallback(void*, uint8_t* stream, int len)
{
    uint16_t countdown = tickcountdown;
    countnothing counting;
    frameloop(stream, len, countdown, counting);
    tickcountdown = countdown;
}

void renderblock(void*, uint8_t* buffer, int len)
{
    countplayed counting;
    frameloop(buffer, len, renderblockcountdown, counting);
}

}  // namespace core
