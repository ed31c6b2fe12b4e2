#include "app/audio.h"

#include <algorithm>
#include <cstring>

#include "app/playback.h"
#include "synth/synth.h"

namespace shell {

handover<bool> silent{true};
relaxed<uint16_t> tickcountdown{0};
relaxed<int32_t> blockframes{2048};
relaxed<uint32_t> secondticks{0};
relaxed<uint32_t> secondframes{0};
relaxed<uint32_t> measuredrate{0};
relaxed<uint32_t> uptimeframes{0};
std::array<relaxed<int16_t>, 65536> scopebuf;
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

void tickcurrentplayer()
{
    const playerrec& p = players[curplayer.load() & 7];
    if (p.tick) p.tick();
}

// Frames to render before the next tick when countdown frames are left: a
// countdown of 0 just reloaded from a rate of 0 runs 65536 frames.
uint32_t frameslefttotick(uint16_t countdown)
{
    return countdown == 0 ? 65536u : countdown;
}

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

constexpr uint32_t maxblock = 65536;

}  // namespace

void audiocallback(void*, uint8_t* stream, int len)
{
    const int frames = len / 4;
    blockframes = frames;
    if (silent) {
        std::memset(stream, 0, static_cast<size_t>(len));
        tickcountdown = 0;  // the first non-silent frame starts with a tick
        return;
    }
    const uint32_t total = std::min<uint32_t>(frames > 0 ? static_cast<uint32_t>(frames) : 0, maxblock);
    uint16_t countdown = tickcountdown;
    for (uint32_t i = 0; i < total;) {
        if (countdown == 0) {
            tickcurrentplayer();
            countdown = static_cast<uint16_t>(samplespertick.load());
            ++secondticks;
        }
        // The run ends at the next tick, the block's end, or the frame that
        // completes a second of the rate measurement.
        const uint32_t rate = synth::samplerate;
        const uint32_t second = secondframes;
        uint32_t run = std::min(frameslefttotick(countdown), total - i);
        run = std::min(run, rate > second + 1 ? rate - second : 1u);
        countdown = static_cast<uint16_t>(countdown - run);
        uptimeframes = static_cast<uint32_t>(std::min<uint64_t>(uint64_t{uptimeframes} + run, 4294967295u));
        // The play screen stores to playedframes at the same time (restart,
        // skip); an increment as load and store could undo such a store.
        playedframes.add(run);
        if (second + run >= rate) {
            measuredrate = secondticks.load();
            secondticks = 0;
            secondframes = 0;
        } else {
            secondframes = second + run;
        }
        renderrun(stream, i, run);
        i += run;
    }
    tickcountdown = countdown;
}

void renderblock(void*, uint8_t* buffer, int len)
{
    const int frames = len / 4;
    blockframes = frames;
    const uint32_t total = std::min<uint32_t>(frames > 0 ? static_cast<uint32_t>(frames) : 0, maxblock);
    for (uint32_t i = 0; i < total;) {
        if (renderblockcountdown == 0) {
            tickcurrentplayer();
            renderblockcountdown = static_cast<uint16_t>(samplespertick.load());
        }
        const uint32_t run = std::min(frameslefttotick(renderblockcountdown), total - i);
        renderblockcountdown = static_cast<uint16_t>(renderblockcountdown - run);
        playedframes = playedframes + run;
        renderrun(buffer, i, run);
        i += run;
    }
}

}  // namespace shell
