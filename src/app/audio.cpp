#include "app/audio.h"

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

static void tickcurrentplayer()
{
    const playerrec& p = players[curplayer.load() & 7];
    if (p.tick) p.tick();
}

void audiocallback(void*, uint8_t* stream, int len)
{
    const int frames = len / 4;
    blockframes = frames;
    if (silent) {
        std::memset(stream, 0, static_cast<size_t>(len));
        tickcountdown = 0;  // the first non-silent frame starts with a tick
        return;
    }
    int16_t frame[2];
    uint16_t countdown = tickcountdown;
    for (int i = 0; i < frames && i < 65536; ++i) {
        if (countdown == 0) {
            tickcurrentplayer();
            countdown = static_cast<uint16_t>(samplespertick.load());
            ++secondticks;
        }
        --countdown;
        uint32_t up = uptimeframes + 1;
        if (up == 0) up = 4294967295u;
        uptimeframes = up;
        // The play screen stores to playedframes at the same time (restart,
        // skip); an increment as load and store could undo such a store.
        playedframes.add(1);
        if (++secondframes >= synth::samplerate) {
            measuredrate = secondticks.load();
            secondticks = 0;
            secondframes = 0;
        }
        synth::renderframes(frame, 1);
        std::memcpy(stream + 4 * i, frame, 4);
        scopebuf[i] = frame[0];
    }
    tickcountdown = countdown;
}

void renderblock(void*, uint8_t* buffer, int len)
{
    const int frames = len / 4;
    blockframes = frames;
    int16_t frame[2];
    for (int i = 0; i < frames && i < 65536; ++i) {
        if (renderblockcountdown == 0) {
            tickcurrentplayer();
            renderblockcountdown = static_cast<uint16_t>(samplespertick.load());
        }
        --renderblockcountdown;
        ++playedframes;
        synth::renderframes(frame, 1);
        std::memcpy(buffer + 4 * i, frame, 4);
        scopebuf[i] = frame[0];
    }
}

}  // namespace shell
